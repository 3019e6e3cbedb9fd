// The clock of POSIX systems and of the browser alike: the standard library's
// steady clock, which no change of the wall clock moves. Windows asks its own
// (windows/clock.cpp).

#include <chrono>

#include "platform/platform.h"

namespace platform {

std::uint32_t ticks_ms() {
  using namespace std::chrono;
  auto since_start = steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(duration_cast<milliseconds>(since_start).count());
}

}  // namespace platform
