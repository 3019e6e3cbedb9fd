// The archery scene's keyboard on Windows: the console keeps the live state
// of every key, so each frame asks for the three keys directly. Asking does
// not take anything out of the console's input, so typed answers stay there.

#include <windows.h>

#include <ostream>

#include "platform/native.h"

namespace platform {

namespace {
bool down(int virtual_key) { return (GetAsyncKeyState(virtual_key) & 0x8000) != 0; }
}  // namespace

// A pipe or a file has no keys to hold down.
bool native::keyboard_available() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

void native::enter_key_scene() {}

KeyState native::poll_keys() {
  KeyState keys;
  keys.left = down(VK_LEFT);
  keys.right = down(VK_RIGHT);
  keys.space = down(VK_SPACE);
  return keys;
}

std::string native::leave_key_scene() { return {}; }

// The console's own clear (which flushes what came before it), then the frame
// in one write. A console that takes escape sequences could get it all in one
// write, held for painting, as POSIX terminals do; but it takes them only in a
// mode the game would have to switch on and give back on every way out,
// Ctrl-C included, and the console-API clear works in every console.
void native::draw_frame(std::ostream& out, const std::string& frame) {
  clear_screen(out);
  out << frame << std::flush;
}

void native::sleep_ms(unsigned ms) { Sleep(ms); }

}  // namespace platform
