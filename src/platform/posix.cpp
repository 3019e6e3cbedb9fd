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
