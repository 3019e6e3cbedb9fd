#include <io.h>
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
  console_cleared();
}

bool native::output_is_console() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

// The width at which the console wraps: its buffer's, which is also the
// window's in Windows Terminal and in consoles that rewrap on resizing.
int native::console_columns() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) return 0;
  return info.dwSize.X;
}

// The console echoes typed keys only while a read takes them, so every line
// read from it was echoed just now, at the cursor.
long native::read_input(char* buf, std::size_t size, bool& waited) {
  waited = true;
  return _read(0, buf, static_cast<unsigned>(size));
}

std::uint32_t native::ticks_ms() { return static_cast<std::uint32_t>(GetTickCount()); }

namespace {

// The system's own words for an error code, like strerror on POSIX, without
// the line break and full stop that Windows puts after them.
std::string system_message(DWORD code) {
  char text[256] = "";
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, text, sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.'))
    message.pop_back();
  return message.empty() ? "Windows error " + std::to_string(code) : message;
}

}  // namespace

bool replace_file(const std::string& from, const std::string& to, std::string& why) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  why = system_message(GetLastError());
  return false;
}

unsigned long process_id() { return static_cast<unsigned long>(GetCurrentProcessId()); }

}  // namespace platform
