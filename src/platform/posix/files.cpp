// Saves and loads: whole files, created afresh and never through a link,
// held by a lock while they are new, replaced in one step and made to last.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/platform.h"
#include "platform/posix/write_all.h"

namespace platform {

namespace {

// The new file that write_new_file has written: open, and so locked, until
// replace_file has moved it.
int held = -1;

// Whether the open file `fd` is still the one called `name`: another may
// have removed it, or put another file in its place, since it was opened.
bool still_called(int fd, const std::string& name) {
  struct stat opened, named;
  return ::fstat(fd, &opened) == 0 && ::lstat(name.c_str(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// A lock lives as long as the file is open, so a game that dies lets go of
// its file at once; whether the game lived in another container sharing the
// folder does not matter. A sweeping game may have locked the new file before
// its creator could (and may have removed it): then the name is given up. On
// a file system without locks the file goes unlocked, and no sweep there
// removes anything either.
bool lock_new(int fd, const std::string& name) {
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && posix::would_block(errno)) return false;
  return still_called(fd, name);
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
  if (!lock_new(fd, name)) {
    ::close(fd);
    return NewFile::NameTaken;
  }
  if (has_old) take_owner_and_mode(fd, old);
  int error = posix::write_all(fd, text.data(), text.size());
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (error == 0) {
    held = fd;
    return NewFile::Written;
  }
  why = std::strerror(error);
  ::unlink(name.c_str());
  ::close(fd);
  return NewFile::Failed;
}

// The rename reaches the disk with the folder's flush; the bytes were flushed
// before it, so a power cut never leaves the name on an empty file. Once the
// rename is done the new save is in place, and nothing that follows can undo
// it: a folder that cannot be opened (one the player may write to but not
// read: both calls then fail harmlessly) or flushed (some file systems cannot
// flush a folder) leaves the rename as safe as the system makes it, and the
// old save is still the one that a power cut could bring back.
bool replace_file(const std::string& from, const std::string& to, std::string& why) {
  const bool moved = std::rename(from.c_str(), to.c_str()) == 0;
  if (moved) {
    const int folder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    (void)::fsync(folder);
    ::close(folder);
  } else {
    why = std::strerror(errno);
    ::unlink(from.c_str());
  }
  ::close(held);
  held = -1;
  return moved;
}

// Locked, the file is surely no running game's; then its name is asked
// again, so that only the very file locked is removed, never one that took
// its name meanwhile. A file that cannot be opened cannot be locked either.
void remove_abandoned_file(const std::string& name) {
  const int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && still_called(fd, name)) ::unlink(name.c_str());
  ::close(fd);
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

}  // namespace platform
