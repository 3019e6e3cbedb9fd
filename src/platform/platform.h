#pragma once
// The only door from the game to the operating system and the terminal.
// posix.cpp and windows.cpp implement it; the build picks one.

#include <cstdint>
#include <iosfwd>
#include <string>

namespace platform {

// Empties the console and homes the cursor. Everything the game has written to
// `out` so far is flushed first, so text and clear never arrive out of order.
void clear_screen(std::ostream& out);

// A millisecond counter; the game only ever uses it to seed random().
std::uint32_t ticks_ms();

// Moves the finished file `from` over `to` in one step, so that `to` is always
// either its old self or the new file. On failure `why` says what went wrong.
bool replace_file(const std::string& from, const std::string& to, std::string& why);

// A number that no other running game shares, for naming temporary files.
unsigned long process_id();

// Test seam: while set, ticks_ms() answers from the fake instead of the clock.
using TicksSource = std::uint32_t (*)();
void set_ticks_source(TicksSource fake);

}  // namespace platform
