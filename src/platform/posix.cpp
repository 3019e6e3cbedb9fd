#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ostream>

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

bool replace_file(const std::string& from, const std::string& to, std::string& why) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  why = std::strerror(errno);
  return false;
}

unsigned long process_id() { return static_cast<unsigned long>(::getpid()); }

}  // namespace platform
