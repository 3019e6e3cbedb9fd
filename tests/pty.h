#pragma once
// A pseudo-terminal of the tests' own: they type on its master side and read
// there what is shown; `tty` is the side a game has. POSIX only.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <utility>

class PseudoTerminal {
 public:
  PseudoTerminal() {
    if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0) tty = open(ptsname(master), O_RDWR | O_NOCTTY);
    before = mode();
  }
  ~PseudoTerminal() { close(master), close(tty); }
  termios attributes() const { termios t{}; tcgetattr(tty, &t); return t; }
  std::string mode() const {  // the whole termios, as bytes, for exact comparison
    const termios t = attributes();
    return std::string(reinterpret_cast<const char*>(&t), sizeof t);
  }
  void type(const std::string& bytes) { (void)!write(master, bytes.data(), bytes.size()); }
  // Reads what is shown until `text` is on `screen` at or after `from`, for at most 5 s.
  bool wait_for(const std::string& text, std::size_t from = 0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    pollfd p = {master, POLLIN, 0};
    char buf[4096];
    while (screen.find(text, from) == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      ssize_t n = poll(&p, 1, 100) == 1 ? read(master, buf, sizeof buf) : 0;
      if (n < 0) return false;
      for (ssize_t i = 0; i < n; ++i)
        if (buf[i] != '\r') screen += buf[i];
    }
    return true;
  }

  int master = posix_openpt(O_RDWR | O_NOCTTY), tty = -1;
  std::string before;  // the terminal's mode at the start
  std::string screen;  // everything shown, line ends as "\n"
};
