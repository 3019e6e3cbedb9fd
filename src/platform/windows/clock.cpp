#include <windows.h>

#include <chrono>

#include "platform/platform.h"

namespace platform {

std::uint32_t ticks_ms() { return static_cast<std::uint32_t>(GetTickCount()); }

}  // namespace platform
