// Saves and loads: whole files, held while they are new, replaced in one
// step and made to last.

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

// The new file that write_new_file has written: open until replace_file has
// moved it. Its share mode lets others delete it (which no game does), but
// no other open it alone, which is how a game's sweep tells a held file.
HANDLE held = INVALID_HANDLE_VALUE;

}  // namespace

// CREATE_NEW refuses any name already there, and with
// FILE_FLAG_OPEN_REPARSE_POINT a link is that name itself, never followed.
// The file is reached through its handle only. Its bytes reach the disk
// before the move, so that a power cut cannot leave the new name on a file
// whose contents never got there. The new file's rights are those the
// folder gives every new file, as for any file the game makes. Created
// open, it is held from the start.
NewFile write_new_file(const std::string& name, const std::string& text, const std::string&,
                       std::string& why) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
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
  if (ok && FlushFileBuffers(file)) {
    held = file;
    return NewFile::Written;
  }
  why = system_message(GetLastError());
  DeleteFileA(name.c_str());
  CloseHandle(file);
  return NewFile::Failed;
}

// The move, then its flush through the file's own handle (what
// MOVEFILE_WRITE_THROUGH does): once moved, the new save stands, whether the
// flush succeeds or not.
bool replace_file(const std::string& from, const std::string& to, std::string& why) {
  const bool moved = MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (moved) {
    FlushFileBuffers(held);
  } else {
    why = system_message(GetLastError());
    DeleteFileA(from.c_str());
  }
  CloseHandle(held);
  held = INVALID_HANDLE_VALUE;
  return moved;
}

// Opened alone, the file is no running game's; it goes when this handle
// closes, so it is the very file opened that goes, never one that took its
// name meanwhile.
void remove_abandoned_file(const std::string& name) {
  HANDLE file = CreateFileA(name.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
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

}  // namespace platform
