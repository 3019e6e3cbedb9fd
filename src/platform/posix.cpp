#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>
#include <ostream>
#include <utility>

#include "platform/native.h"
#include "platform/platform.h"

namespace platform {

// No flush of its own: the clear goes out with what follows it, so a new
// screen is sent whole, in one write, at the next read or frame.
void clear_screen(std::ostream& out) { out << "\033[H\033[2J"; }

bool native::output_is_console() { return ::isatty(STDOUT_FILENO) == 1; }

int native::console_columns() {
  struct winsize size;
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

// The terminal echoes a line as it is typed: a line already waiting was
// echoed before, maybe in the middle of the game's text.
long native::read_input(char* buf, std::size_t size, bool& waited) {
  struct pollfd in = {STDIN_FILENO, POLLIN, 0};
  waited = ::poll(&in, 1, 0) == 0;
  for (;;) {
    ssize_t n = ::read(STDIN_FILENO, buf, size);
    if (n >= 0 || errno != EINTR) return static_cast<long>(n);
  }
}

std::uint32_t native::ticks_ms() {
  using namespace std::chrono;
  auto since_boot = steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(duration_cast<milliseconds>(since_boot).count());
}

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

// The folder that holds the entry `path`.
std::string folder_of(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
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
  return flush_to_disk(folder_of(to), O_RDONLY | O_DIRECTORY, why);
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
