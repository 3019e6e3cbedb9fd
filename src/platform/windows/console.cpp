// The console behind the standard streams.

#include <io.h>
#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/platform.h"
#include "platform/system.h"

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
  system::console_cleared();
}

namespace {
bool is_console(DWORD handle) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(handle), &mode) != 0;
}
}  // namespace

// Windows ends no program for a write it refuses.
void system::let_writes_fail() {}

bool system::output_is_console() { return is_console(STD_OUTPUT_HANDLE); }

bool system::input_is_console() { return is_console(STD_INPUT_HANDLE); }

// The width at which the console wraps: its buffer's, which is also the
// window's in Windows Terminal and in consoles that rewrap on resizing.
int system::console_columns() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) return 0;
  return info.dwSize.X;
}

// The console echoes typed keys only while a read takes them, so every line
// read from it was echoed just now, at the cursor.
long system::read_input(char* buf, std::size_t size, bool& waited) {
  waited = true;
  return _read(0, buf, static_cast<unsigned>(size));
}

namespace {
// What stopped a write, as the C library names it, except for a pipe whose
// reader has gone, which is EPIPE as on POSIX systems. Windows says
// ERROR_BROKEN_PIPE, or ERROR_NO_DATA while the pipe is being closed (and
// wine ERROR_PIPE_NOT_CONNECTED), which the C library calls EINVAL.
int why_write_failed() {
  const unsigned long error = _doserrno;
  const bool reader_gone =
      error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA || error == ERROR_PIPE_NOT_CONNECTED;
  return reader_gone ? EPIPE : errno;
}
}  // namespace

int system::write_output(const char* bytes, std::size_t size) {
  while (size > 0) {
    unsigned chunk = size > INT_MAX ? INT_MAX : static_cast<unsigned>(size);
    int n = _write(1, bytes, chunk);
    if (n <= 0) return n < 0 ? why_write_failed() : EIO;
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

void system::write_error(const std::string& line) {
  _write(2, line.data(), static_cast<unsigned>(line.size()));
}

}  // namespace platform
