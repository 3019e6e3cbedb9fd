// Saves and loads: whole files, created afresh and never through a link,
// replaced in one step and made to last.

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
#include "platform/posix/write_all.h"

namespace platform {

namespace {

// Flushes what the system holds of the open file `fd` to the disk and closes
// it. Some file systems cannot flush a folder at all: its entries are then as
// safe as that system makes them.
bool flush_and_close(int fd, bool folder, std::string& why) {
  bool flushed = ::fsync(fd) == 0 || (errno == EINVAL && folder);
  int error = errno;
  if (::close(fd) != 0 && flushed) {
    flushed = false;
    error = errno;
  }
  if (!flushed) why = std::strerror(error);
  return flushed;
}

// Owner first: a change of owner may clear the set-id bits that the mode
// then puts back. Neither need succeed; the file is then the player's own.
void take_owner_and_mode(int fd, const struct stat& like) {
  if (::fchown(fd, like.st_uid, like.st_gid) != 0)
    (void)!::fchown(fd, static_cast<uid_t>(-1), like.st_gid);
  (void)!::fchmod(fd, like.st_mode & 07777);
}

}  // namespace

// O_EXCL refuses any name already there, a link included, and O_NOFOLLOW
// says so twice; the file is reached through its descriptor only, never by
// its name again, so nothing put in its place meanwhile is written to. It is
// created readable by its owner alone until it takes the old file's mode. A
// link called `like` is no old file: what it points to is not the save's.
NewFile write_new_file(const std::string& name, const std::string& text, const std::string& like,
                       std::string& why) {
  struct stat old;
  bool has_old = ::lstat(like.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
                  has_old ? 0600 : 0666);
  if (fd < 0) {
    why = std::strerror(errno);
    return errno == EEXIST || errno == ELOOP ? NewFile::NameTaken : NewFile::Failed;
  }
  if (has_old) take_owner_and_mode(fd, old);
  if (int error = posix::write_all(fd, text.data(), text.size())) {
    why = std::strerror(error);
    ::close(fd);
  } else if (flush_and_close(fd, false, why)) {
    return NewFile::Written;
  }
  ::unlink(name.c_str());
  return NewFile::Failed;
}

// The rename reaches the disk with the folder's flush; the bytes were flushed
// before it, so a power cut never leaves the name on an empty file.
bool replace_file(const std::string& from, const std::string& to, std::string& why) {
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    why = std::strerror(errno);
    return false;
  }
  int folder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) {
    why = std::strerror(errno);
    return false;
  }
  return flush_and_close(folder, true, why);
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
  while (got < text.size()) {  // empty unless `ok`
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
