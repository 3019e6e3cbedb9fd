#pragma once
// The console's state during the archery scene on Windows, and the promise
// that the console always gets its own back: the input mode and the cursor
// (its size and whether it shows) come back exactly as they were when the
// scene ends, at exit, on every console event that ends the game (Ctrl-C,
// Ctrl-Break, the window closed, logoff, shutdown) and on a crash (an
// exception nobody caught, or abort()). The output mode is never changed:
// frames are painted through the console's buffer (frame_painter.h).

namespace platform::windows {

// Saves the console's input mode and cursor, then reads keys one by one
// without echo and without waiting for Enter (Ctrl-C stays Ctrl-C) and hides
// the cursor.
void begin_scene_mode();

// Puts back what begin_scene_mode() saved.
void end_scene_mode();

}  // namespace platform::windows
