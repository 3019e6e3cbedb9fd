// The console draws what its buffer holds, and one WriteConsoleOutput
// changes the buffer in one step: the old frame is replaced by the new one,
// never by a blank window first. That holds in every console, old or new,
// so the frames need no escape sequences and the output mode stays as it is.

#include "platform/windows/frame_painter.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace platform::windows {

bool paint_frame(const std::string& frame) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(output, &info)) return false;
  SMALL_RECT window = info.srWindow;
  const int width = window.Right - window.Left + 1, height = window.Bottom - window.Top + 1;
  CHAR_INFO blank;
  blank.Char.UnicodeChar = L' ';
  blank.Attributes = info.wAttributes;
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(width) * height, blank);
  int row = 0, column = 0;
  for (char c : frame) {
    if (c == '\n') {
      ++row;
      column = 0;
      continue;
    }
    if (row < height && column < width)
      cells[static_cast<std::size_t>(row) * width + column].Char.UnicodeChar =
          static_cast<unsigned char>(c);
    ++column;
  }
  COORD size = {static_cast<SHORT>(width), static_cast<SHORT>(height)};
  WriteConsoleOutputW(output, cells.data(), size, COORD{0, 0}, &window);
  COORD after = {info.srWindow.Left, static_cast<SHORT>(std::min(info.srWindow.Top + row,
                                                                 static_cast<int>(info.srWindow.Bottom)))};
  SetConsoleCursorPosition(output, after);
  return true;
}

}  // namespace platform::windows
