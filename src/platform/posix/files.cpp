// Saves and loads: whole files, replaced in one step and made to last.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/platform.h"

namespace platform {

namespace {

// Opens `path` with `flags`, flushes what the system holds of it to the disk
// and closes it; fsync on any descriptor of a file flushes the file's data.
bool flush_to_disk(const std::string& path, int flags, std::string& why) {
  int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  int synced = ::fsync(fd);
  int error = errno;
  // Some file systems cannot flush a folder at all: its entries are then as
  // safe as that system makes them, and the save is still good.
  if (synced != 0 && error == EINVAL && (flags & O_DIRECTORY)) synced = 0;
  if (::close(fd) != 0 && synced == 0) {
    synced = -1;
    error = errno;
  }
  if (synced != 0) why = std::strerror(error);
  return synced == 0;
}

}  // namespace

// The bytes first, the name after: a rename that reached the disk before the
// data could leave the name on an empty file after a power cut.
bool replace_file(const std::string& from, const std::string& to, std::string& why) {
  if (!flush_to_disk(from, O_RDONLY, why)) return false;
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    why = std::strerror(errno);
    return false;
  }
  return flush_to_disk(".", O_RDONLY | O_DIRECTORY, why);
}

// Non-blocking, so that a pipe without a writer cannot hold the game; the
// type is asked of the opened file itself, so nothing can be put in its place
// between the question and the reading.
bool read_small_file(const std::string& name, std::size_t limit, std::string& bytes) {
  int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  std::string text(ok ? limit + 1 : 0, '\0');
  std::size_t got = 0;
  while (ok && got < text.size()) {
    ssize_t n = ::read(fd, &text[got], text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (!ok || got > limit) return false;
  text.resize(got);
  bytes = std::move(text);
  return true;
}

unsigned long process_id() { return static_cast<unsigned long>(::getpid()); }

// No signal is sent: signal 0 only asks whether the process exists. A game of
// another user answers EPERM, and is alive.
bool process_gone(unsigned long id) {
  if (id == 0 || id > static_cast<unsigned long>(std::numeric_limits<pid_t>::max())) return false;
  return ::kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH;
}

}  // namespace platform
