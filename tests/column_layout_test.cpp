#include <gtest/gtest.h>

#include <string>

#include "platform/terminal/column_layout.h"

namespace {

const std::string k80(80, '=');

const struct {
  std::string text, laid;
} kCases[] = {
    // The spell menu: entries of exactly 80 columns, back to back, then its
    // prompt. Each one wraps; a line break after an 80th column does not.
    {"menu\n" + k80 + k80 + ">>", "menu\n" + k80 + "\n" + k80 + "\n>>"},
    {k80 + "\n" + k80 + "\r\nx", k80 + "\n" + k80 + "\r\nx"},
    // Tabs: every 8 columns, the last stop at the 80th column, none after it.
    {"ab\t" + k80.substr(0, 62) + "\t..." + "\t!\tx", "ab\t" + k80.substr(0, 62) + "\t...    !\nx"},
    // Escape sequences take no columns; the cursor position sequence of a
    // clear puts the column back at the start, as does column 0.
    {"\033[?2026h" + k80 + "\033[?25l\0337" + "x\033[H\033[2J" + k80 + "\033[1;9H" + k80 + "\033[5;0H" + k80 + "x",
     "\033[?2026h" + k80 + "\033[?25l\0337" + "\nx\033[H\033[2J" + k80 + "\033[1;9H" +
         k80.substr(0, 72) + "\n" + k80.substr(0, 8) + "\033[5;0H" + k80 + "\nx"},
    // A sequence whose parameters never end is given up after 32 of them.
    {"\033[" + std::string(33, '1') + "m" + k80, "\033[" + std::string(33, '1') + "m" + k80.substr(1) + "\n="},
};

// However the text is cut into flushes, it is laid out the same.
TEST(ColumnLayout, WrapsTabsAndEscapesAsAn80ColumnTerminalAtEveryCut) {
  for (const auto& c : kCases) {
    for (std::size_t cut = 0; cut <= c.text.size(); ++cut) {
      platform::ColumnState state;
      std::string laid = platform::lay_out_80_columns(c.text.substr(0, cut), state);
      laid += platform::lay_out_80_columns(c.text.substr(cut), state);
      EXPECT_EQ(laid, c.laid) << testing::PrintToString(c.text) << " cut at " << cut;
    }
  }
}

}  // namespace
