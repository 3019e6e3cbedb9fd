// The terminal behind the standard streams.

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <ostream>
#include <string>

#include "platform/platform.h"
#include "platform/posix/write_all.h"
#include "platform/system.h"

namespace platform {

// No flush of its own: the clear goes out with what follows it, so a new
// screen is sent whole, in one write, at the next read or frame.
void clear_screen(std::ostream& out) { out << "\033[H\033[2J"; }

bool system::output_is_console() { return ::isatty(STDOUT_FILENO) == 1; }

bool system::input_is_console() { return ::isatty(STDIN_FILENO) == 1; }

int system::console_columns() {
  struct winsize size;
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

// The terminal echoes a line as it is typed: a line already waiting was
// echoed before, maybe in the middle of the game's text.
long system::read_input(char* buf, std::size_t size, bool& waited) {
  struct pollfd in = {STDIN_FILENO, POLLIN, 0};
  waited = ::poll(&in, 1, 0) == 0;
  ssize_t n = 0;
  do n = ::read(STDIN_FILENO, buf, size);
  while (n < 0 && errno == EINTR);
  return static_cast<long>(n);
}

int system::write_output(const char* bytes, std::size_t size) {
  return posix::write_all(STDOUT_FILENO, bytes, size);
}

// Straight to the descriptor: standard error may be unbuffered or not.
void system::write_error(const std::string& line) {
  (void)!::write(STDERR_FILENO, line.data(), line.size());
}

}  // namespace platform
