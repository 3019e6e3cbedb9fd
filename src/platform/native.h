#pragma once
// What each operating system supplies for itself; platform.h wraps it with the
// test seams that every implementation shares.

#include <cstdint>
#include <iosfwd>
#include <string>

#include "platform/platform.h"

namespace platform::native {

std::uint32_t ticks_ms();

// The live keyboard behind KeyScene.
bool keyboard_available();
void enter_key_scene();
KeyState poll_keys();
std::string leave_key_scene();  // the typed bytes that were none of the keys
void sleep_ms(unsigned ms);
// Clears the screen and draws one frame of the scene in its place.
void draw_frame(std::ostream& out, const std::string& frame);

}  // namespace platform::native
