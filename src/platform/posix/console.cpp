// The terminal behind the standard streams.

#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
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

// A write past the file-size limit (ulimit -f) fails with EFBIG instead:
// the game's output then ends it with a word of why, and a save says why it
// failed and leaves the old one.
void system::let_writes_fail() { (void)::signal(SIGXFSZ, SIG_IGN); }

bool system::output_is_console() { return ::isatty(STDOUT_FILENO) == 1; }

bool system::input_is_console() { return ::isatty(STDIN_FILENO) == 1; }

int system::console_columns() {
  struct winsize size;
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

namespace {

// A terminal without line editing whose reads wait for no byte (VMIN 0)
// returns them empty when nothing has been typed, at once or after a while.
bool reads_come_back_empty() {
  struct termios mode;
  return ::tcgetattr(STDIN_FILENO, &mode) == 0 && !(mode.c_lflag & ICANON) && mode.c_cc[VMIN] == 0;
}

}  // namespace

// The terminal echoes a line as it is typed: a line already waiting was
// echoed before, maybe in the middle of the game's text. Nothing to read yet
// (standard input left non-blocking, or a terminal left in a mode whose reads
// come back empty) is waited for, as a blocking read would; the end of input
// is the end of a file or pipe, Ctrl-D, and a terminal that has hung up.
long system::read_input(char* buf, std::size_t size, bool& waited) {
  struct pollfd in = {STDIN_FILENO, POLLIN, 0};
  waited = ::poll(&in, 1, 0) == 0;
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buf, size);
    if (n < 0 && errno == EINTR) continue;
    const bool nothing_yet = n < 0 ? posix::would_block(errno) : n == 0 && reads_come_back_empty();
    if (!nothing_yet) return static_cast<long>(n);
    ::poll(&in, 1, -1);
    if (n == 0 && (in.revents & (POLLHUP | POLLERR))) return 0;
  }
}

int system::write_output(const char* bytes, std::size_t size) {
  return posix::write_all(STDOUT_FILENO, bytes, size);
}

// Straight to the descriptor: standard error may be unbuffered or not.
void system::write_error(const std::string& line) {
  (void)!::write(STDERR_FILENO, line.data(), line.size());
}

}  // namespace platform
