#include <io.h>
#include <windows.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <utility>

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

// Flushes the file's bytes to the disk before the move, so that a power cut
// cannot leave the new name on a file whose contents never got there; with
// MOVEFILE_WRITE_THROUGH the move itself is on the disk when it returns.
bool replace_file(const std::string& from, const std::string& to, std::string& why) {
  HANDLE file = CreateFileA(from.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool flushed = file != INVALID_HANDLE_VALUE && FlushFileBuffers(file);
  DWORD error = GetLastError();
  if (file != INVALID_HANDLE_VALUE && !CloseHandle(file) && flushed) {
    flushed = false;
    error = GetLastError();
  }
  if (flushed && MoveFileExA(from.c_str(), to.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  why = system_message(flushed ? GetLastError() : error);
  return false;
}

// A folder does not open this way at all, and a device (CON, a pipe) is no
// disk file; the lines keep the CR LF of a text file, which reads as blanks.
bool read_small_file(const std::string& name, std::size_t limit, std::string& bytes) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = GetFileType(file) == FILE_TYPE_DISK;
  std::string text(ok ? limit + 1 : 0, '\0');
  std::size_t got = 0;
  while (ok && got < text.size()) {
    DWORD n = 0;
    DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(text.size() - got, MAXDWORD));
    ok = ReadFile(file, &text[got], wanted, &n, nullptr);
    if (n == 0) break;
    got += n;
  }
  CloseHandle(file);
  if (!ok || got > limit) return false;
  text.resize(got);
  bytes = std::move(text);
  return true;
}

unsigned long process_id() { return static_cast<unsigned long>(GetCurrentProcessId()); }

// A process that has ended but is still held open by someone answers with
// its exit code; one that is gone cannot be opened at all. Number 0 is the
// system's idle process, never a game.
bool process_gone(unsigned long id) {
  if (id == 0 || id > MAXDWORD) return false;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
  if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
  DWORD code = STILL_ACTIVE;
  bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
  CloseHandle(process);
  return ended;
}

}  // namespace platform
