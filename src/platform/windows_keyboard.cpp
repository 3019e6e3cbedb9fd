// The archery scene's keyboard on Windows: the console keeps the live state
// of every key, so each frame asks for the three keys directly. Asking does
// not take anything out of the console's input, so typed answers stay there.

#include <windows.h>

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

void native::sleep_ms(unsigned ms) { Sleep(ms); }

}  // namespace platform
