#pragma once
// Paints a frame of the archery scene into the Windows console in one step.

#include <string>

namespace platform::windows {

// Writes `frame` (lines ending in '\n') over the console's whole visible
// window with one WriteConsoleOutput, blanks everywhere else, and leaves the
// cursor at the start of the line after it. False, with nothing done, when
// standard output is no console.
bool paint_frame(const std::string& frame);

}  // namespace platform::windows
