#pragma once
// What each operating system supplies for itself; platform.h wraps it with the
// test seams that every implementation shares.

#include <cstddef>
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

// The console behind the standard streams.
bool output_is_console();  // a terminal, or a console on Windows
int console_columns();     // its width, or 0 when it tells none
// Reads standard input, waiting for the first byte if need be; `waited` says
// whether the game waited for a line the player was still typing. The count
// read, 0 at the end of input, negative on an error.
long read_input(char* buf, std::size_t size, bool& waited);

}  // namespace platform::native

namespace platform {
// The console's own clear has put the cursor at the top-left corner.
void console_cleared();
}  // namespace platform
