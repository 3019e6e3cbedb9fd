#pragma once
// The terminal mode of the archery scene on POSIX systems, and the promise
// that the terminal always gets its own mode back: when the scene ends, at
// exit, on every signal whose default action ends the game and that the game
// was not started to ignore (restore, then die of that signal as it would
// have anyway: SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGUSR1, SIGALRM, ..., the
// real-time signals, and the crashes SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT)
// and across Ctrl-Z (restored while stopped, the scene's mode again on
// SIGCONT). None of these ways out waits on the terminal, not even on one
// whose output the player paused (Ctrl-S). When standard output is the
// terminal, the scene's mode also hides the cursor.

namespace platform::posix {

// Between these the terminal holds its painting, so that a frame appears
// whole (synchronized output; terminals without it ignore both).
inline constexpr char kHoldPainting[] = "\033[?2026h";
inline constexpr char kPaintNow[] = "\033[?2026l";

// Saves the terminal's mode, then turns off echo and line editing; keys can
// be read one by one without waiting. Signals keep working.
void begin_scene_mode();

// From now on the scene's mode includes the kitty keyboard protocol's flags
// (pushed now, and again whenever the scene's mode comes back).
void push_kitty_flags();

// Pops the kitty flags, without leaving the scene's mode yet; false when
// none were pushed.
bool pop_kitty_flags();

// Whether the scene's standard output is the terminal.
bool scene_on_screen();

// Puts back the mode saved by begin_scene_mode().
void end_scene_mode();

// Sends bytes to the terminal at once, bypassing the game's buffered output.
void send_to_terminal(const char* bytes);

}  // namespace platform::posix
