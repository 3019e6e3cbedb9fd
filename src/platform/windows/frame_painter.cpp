// The console draws what its buffer holds, and one WriteConsoleOutput
// changes the buffer in one step: the old frame is replaced by the new one,
// never by a blank window first. That holds in every console, old or new,
// so the frames need no escape sequences and the output mode stays as it is.

#include "platform/windows/frame_painter.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace platform::windows {

namespace {

// The window's cells with `frame` at the top left, blanks everywhere else;
// `rows` says how many lines the frame had.
std::vector<CHAR_INFO> cells_of(const std::string& frame, int width, int height, WORD colours,
                                int& rows) {
  CHAR_INFO blank;
  blank.Char.UnicodeChar = L' ';
  blank.Attributes = colours;
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(width) * height, blank);
  int column = 0;
  rows = 0;
  for (char c : frame) {
    if (c == '\n') {
      ++rows;
      column = 0;
      continue;
    }
    if (rows < height && column < width)
      cells[static_cast<std::size_t>(rows) * width + column].Char.UnicodeChar =
          static_cast<unsigned char>(c);
    ++column;
  }
  return cells;
}

}  // namespace

bool paint_frame(const std::string& frame) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(output, &info)) return false;
  SMALL_RECT window = info.srWindow;
  const int width = window.Right - window.Left + 1, height = window.Bottom - window.Top + 1;
  int rows = 0;
  std::vector<CHAR_INFO> cells = cells_of(frame, width, height, info.wAttributes, rows);
  COORD size = {static_cast<SHORT>(width), static_cast<SHORT>(height)};
  WriteConsoleOutputW(output, cells.data(), size, COORD{0, 0}, &window);
  // The cursor is hidden; it matters for whatever is written after the scene.
  const int after = std::min(info.srWindow.Top + rows, static_cast<int>(info.srWindow.Bottom));
  SetConsoleCursorPosition(output, COORD{info.srWindow.Left, static_cast<SHORT>(after)});
  return true;
}

}  // namespace platform::windows
