// The terminal behind the standard streams.

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <ostream>

#include "platform/platform.h"
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
  for (;;) {
    ssize_t n = ::read(STDIN_FILENO, buf, size);
    if (n >= 0 || errno != EINTR) return static_cast<long>(n);
  }
}

}  // namespace platform
