#include <windows.h>

#include <iostream>
#include <string>

#include "platform/native.h"
#include "platform/platform.h"

namespace platform {

// Like "cls", but without starting a child process. The console shows only
// what goes to standard output, so text bound elsewhere (a test's string
// stream) has no screen to clear. When standard output is not a console (a
// pipe or a file) the console calls fail harmlessly: not an error for the game.
void clear_screen(std::ostream& out) {
  out.flush();
  if (out.rdbuf() != std::cout.rdbuf()) return;
  HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (console == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(console, &info)) return;
  COORD home = {0, 0};
  DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
  DWORD written = 0;
  FillConsoleOutputCharacterA(console, ' ', cells, home, &written);
  FillConsoleOutputAttribute(console, info.wAttributes, cells, home, &written);
  SetConsoleCursorPosition(console, home);
}

std::uint32_t native::ticks_ms() { return static_cast<std::uint32_t>(GetTickCount()); }

bool replace_file(const std::string& from, const std::string& to, std::string& why) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  why = "Windows error " + std::to_string(GetLastError());
  return false;
}

unsigned long process_id() { return static_cast<unsigned long>(GetCurrentProcessId()); }

}  // namespace platform
