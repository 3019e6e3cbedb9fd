#include "platform/platform.h"

#include "platform/native.h"

namespace platform {

namespace {
TicksSource fake_ticks = nullptr;
}

void set_ticks_source(TicksSource fake) { fake_ticks = fake; }

std::uint32_t ticks_ms() { return fake_ticks ? fake_ticks() : native::ticks_ms(); }

}  // namespace platform
