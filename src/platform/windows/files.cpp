// Saves and loads: whole files, replaced in one step and made to last.

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace platform {

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

// CREATE_NEW refuses any name already there, and with
// FILE_FLAG_OPEN_REPARSE_POINT a link is that name itself, never followed.
// The file is reached through its handle only. Its bytes reach the disk
// before the move, so that a power cut cannot leave the new name on a file
// whose contents never got there. The new file's rights are those the
// folder gives every new file, as for any file the game makes.
NewFile write_new_file(const std::string& name, const std::string& text, const std::string&,
                       std::string& why) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    why = system_message(error);
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? NewFile::NameTaken
                                                                         : NewFile::Failed;
  }
  std::string lines;  // a text file's line ends
  for (char c : text) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
  bool ok = true;
  for (std::size_t done = 0; ok && done < lines.size();) {
    DWORD n = 0;
    DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(lines.size() - done, MAXDWORD));
    ok = WriteFile(file, lines.data() + done, wanted, &n, nullptr) && n > 0;
    done += n;
  }
  ok = ok && FlushFileBuffers(file);
  DWORD error = GetLastError();
  if (!CloseHandle(file) && ok) {
    ok = false;
    error = GetLastError();
  }
  if (ok) return NewFile::Written;
  why = system_message(error);
  DeleteFileA(name.c_str());
  return NewFile::Failed;
}

// With MOVEFILE_WRITE_THROUGH the move is on the disk when it returns.
bool replace_file(const std::string& from, const std::string& to, std::string& why) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  why = system_message(GetLastError());
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
