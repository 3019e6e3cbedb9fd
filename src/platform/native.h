#pragma once
// What each operating system supplies for itself; platform.h wraps it with the
// test seams that every implementation shares.

#include <cstdint>

namespace platform::native {

std::uint32_t ticks_ms();

}  // namespace platform::native
