// The archery scene's keyboard on Windows: the console keeps the live state
// of every key, so each frame asks for the three keys directly. Asking does
// not take anything out of the console's input, so typed answers stay there.

#include <windows.h>

#include <memory>
#include <ostream>

#include "platform/platform.h"
#include "platform/system.h"

namespace platform {

namespace {
bool down(int virtual_key) { return (GetAsyncKeyState(virtual_key) & 0x8000) != 0; }
}  // namespace

struct KeyScene::Live {};

// A pipe or a file has no keys to hold down.
bool keyboard_available() { return system::input_is_console(); }

KeyScene::KeyScene() : live_(std::make_unique<Live>()) {}

KeyScene::~KeyScene() { finish(); }

KeyState KeyScene::poll() {
  KeyState keys;
  keys.left = down(VK_LEFT);
  keys.right = down(VK_RIGHT);
  keys.space = down(VK_SPACE);
  return keys;
}

// The console's own clear (which flushes what came before it), then the frame
// in one write. A console that takes escape sequences could get it all in one
// write, held for painting, as POSIX terminals do; but it takes them only in a
// mode the game would have to switch on and give back on every way out,
// Ctrl-C included, and the console-API clear works in every console.
void KeyScene::draw(std::ostream& out, const std::string& frame) {
  clear_screen(out);
  out << frame << std::flush;
}

void KeyScene::pause(unsigned ms) { Sleep(ms); }

std::string KeyScene::finish() {
  live_.reset();
  return {};
}

}  // namespace platform
