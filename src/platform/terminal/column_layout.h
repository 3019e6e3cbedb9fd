#pragma once
// The game's pictures and the spell menu are drawn for a console 80 columns
// wide: they count on it to wrap their long lines. In a wider terminal the
// same text is laid out here as an 80-column terminal shows it, with a line
// break written wherever that terminal would wrap. Pure: no terminal is
// touched here, so every case can be tested with plain bytes.

#include <string>

namespace platform {

constexpr int kConsoleColumns = 80;

// Where the cursor of the 80-column terminal stands between two pieces of
// text, and an escape sequence cut off at the end of the last piece.
struct ColumnState {
  int column = 0;      // 0 to 80; 80: the last column is written, the wrap still pending
  int escape = 0;      // 1 right after ESC, 2 inside a control sequence (ESC [)
  std::string params;  // the control sequence's parameters so far
};

// `text` for a wider terminal, looking as the 80-column terminal shows it:
// - a line break where that terminal wraps: a character written while the
//   wrap is pending, after the 80th column;
// - tab stops every 8 columns, the last one at the 80th column: a tab that
//   would go further there stops at the 80th column, written as blanks;
// - escape sequences take no columns; one that places the cursor moves it.
std::string lay_out_80_columns(const std::string& text, ColumnState& state);

}  // namespace platform
