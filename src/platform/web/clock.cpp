#include <chrono>

#include "platform/platform.h"

namespace platform {

std::uint32_t ticks_ms() {
  using namespace std::chrono;
  auto since_start = steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(duration_cast<milliseconds>(since_start).count());
}

}  // namespace platform
