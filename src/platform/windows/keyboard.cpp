// The archery scene's keyboard on Windows. The console's input holds a key
// event for every press and every release of a key typed into this console,
// so the scene reads those events instead of asking for the keyboard's state
// of the moment (GetAsyncKeyState): a tap that begins and ends between two
// frames still moves the archer, a held key acts in every frame until its
// release, and keys typed into other programs never count. The three keys are
// taken out of the input; every other key event goes back into it when the
// scene ends, where the console's line editing takes it as typed ahead.

#include <windows.h>

#include <iostream>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/system.h"
#include "platform/windows/console_mode.h"
#include "platform/windows/frame_painter.h"
#include "platform/windows/key_events.h"

namespace platform {

struct KeyScene::Live {
  windows::ConsoleKeys keys;
  KeyTracker tracker;
};

// A pipe or a file has no keys to hold down.
bool keyboard_available() { return system::input_is_console(); }

KeyScene::KeyScene() : live_(std::make_unique<Live>()) { windows::begin_scene_mode(); }

KeyScene::~KeyScene() { finish(); }

KeyState KeyScene::poll() {
  live_->keys.read(live_->tracker);
  return live_->tracker.take_frame();
}

// Text already written goes first. Output that is not the console (a file)
// gets each frame as text, as the game writes it everywhere else.
void KeyScene::draw(std::ostream& out, const std::string& frame) {
  out.flush();
  if (out.rdbuf() == std::cout.rdbuf() && windows::paint_frame(frame)) {
    system::console_cleared();
    return;
  }
  clear_screen(out);
  out << frame << std::flush;
}

void KeyScene::pause(unsigned ms) { Sleep(ms); }

// Nothing is left for finish() to return: the other keys are back in the
// console's input, behind anything typed before the scene.
std::string KeyScene::finish() {
  if (!live_) return {};
  live_->keys.read(live_->tracker);
  windows::end_scene_mode();
  live_->keys.give_back();
  live_.reset();
  return {};
}

}  // namespace platform
