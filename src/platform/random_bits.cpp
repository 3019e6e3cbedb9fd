// Both systems draw from std::random_device, which asks the system itself.

#include <chrono>
#include <random>

#include "platform/platform.h"

namespace platform {

// Where the system offers no source at all, the clock's finest count stands
// in: the files named with it are still created only where no other is.
std::uint64_t random_bits() {
  try {
    std::random_device source;
    return (std::uint64_t{source()} << 32) ^ source();
  } catch (...) {
    auto now = std::chrono::high_resolution_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(now.count());
  }
}

}  // namespace platform
