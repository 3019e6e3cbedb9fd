#include "platform/terminal/column_layout.h"

#include <cstdlib>

namespace platform {

namespace {

constexpr char kEsc = '\033';
constexpr int kTabWidth = 8;
constexpr int kLastColumn = kConsoleColumns - 1;
constexpr std::size_t kLongestParams = 32;  // more is no sequence the game writes

// The column of a cursor position sequence, "ESC [ row ; column H", from 0.
int placed_column(const std::string& params) {
  std::size_t semi = params.find(';');
  long column = semi == std::string::npos ? 1 : std::strtol(params.c_str() + semi + 1, nullptr, 10);
  if (column < 1) column = 1;
  return column > kConsoleColumns ? kLastColumn : static_cast<int>(column - 1);
}

// One byte of a control sequence: parameters up to the final byte.
void take_sequence_byte(char c, ColumnState& at) {
  unsigned char u = static_cast<unsigned char>(c);
  if (u >= 0x20 && u <= 0x3F && at.params.size() < kLongestParams) {
    at.params += c;
    return;
  }
  if (c == 'H' || c == 'f') at.column = placed_column(at.params);
  at.escape = 0;
}

// A tab stops at the next multiple of 8, but never past the last column; it
// does nothing on the last column, nor while the wrap is pending.
void tab(std::string& out, ColumnState& at) {
  if (at.column >= kLastColumn) return;
  int stop = (at.column / kTabWidth + 1) * kTabWidth;
  if (stop <= kLastColumn) {
    out += '\t';  // the wider terminal has the same stop
    at.column = stop;
    return;
  }
  out.append(static_cast<std::size_t>(kLastColumn - at.column), ' ');
  at.column = kLastColumn;
}

void take_text_byte(char c, std::string& out, ColumnState& at) {
  unsigned char u = static_cast<unsigned char>(c);
  if (c == '\t') return tab(out, at);
  if (c == '\n' || c == '\r') at.column = 0;  // the terminal turns each line end into CR LF
  if (c == kEsc) at.escape = 1;
  // Other controls and the continuation bytes of UTF-8 take no column.
  bool takes_column = u >= 0x20 && u != 0x7F && (u & 0xC0) != 0x80;
  if (takes_column) {
    if (at.column == kConsoleColumns) {
      out += '\n';
      at.column = 0;
    }
    ++at.column;
  }
  out += c;
}

}  // namespace

std::string lay_out_80_columns(const std::string& text, ColumnState& state) {
  std::string out;
  out.reserve(text.size() + text.size() / kConsoleColumns + 8);
  for (char c : text) {
    if (state.escape == 0) {
      take_text_byte(c, out, state);
      continue;
    }
    out += c;
    if (state.escape == 2) {
      take_sequence_byte(c, state);
    } else if (c == '[') {
      state.escape = 2;
      state.params.clear();
    } else {
      state.escape = 0;  // a two-byte sequence such as ESC 7
    }
  }
  return out;
}

}  // namespace platform
