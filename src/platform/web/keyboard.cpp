// The archery scene's keyboard in the page. The page sees every key go down
// and come up (keydown, keyup) and hands the scene's three keys over as
// events, which the key tracker turns into the keys down in each frame: a
// tap that begins and ends between two frames still acts, a held key acts
// until it comes up. Every other key stays with the page's line editor, for
// the answers after the scene. Under node there are no keys to hold down.

#include <emscripten.h>

#include <memory>
#include <ostream>
#include <string>

#include "platform/platform.h"

namespace {

EM_JS(int, host_has_keys, (), { return Module.host.hasKeys(); });
EM_JS(void, host_begin_scene, (), { Module.host.beginScene(); });
EM_JS(void, host_end_scene, (), { Module.host.endScene(); });
// The next key event since the last call, -1 for none: 3 * key + action,
// in the order of SceneKey and KeyAction.
EM_JS(int, host_next_key, (), { return Module.host.nextKey(); });

}  // namespace

namespace platform {

struct KeyScene::Live {
  KeyTracker tracker;
};

bool keyboard_available() { return host_has_keys() != 0; }

KeyScene::KeyScene() : live_(std::make_unique<Live>()) { host_begin_scene(); }

KeyScene::~KeyScene() { finish(); }

KeyState KeyScene::poll() {
  for (int code = host_next_key(); code >= 0; code = host_next_key())
    live_->tracker.apply(static_cast<SceneKey>(code / 3), static_cast<KeyAction>(code % 3));
  return live_->tracker.take_frame();
}

void KeyScene::draw(std::ostream& out, const std::string& frame) {
  clear_screen(out);
  out << frame << std::flush;
}

// Gives the page its turn: its key events come in while the game sleeps.
void KeyScene::pause(unsigned ms) { emscripten_sleep(ms); }

std::string KeyScene::finish() {
  if (!live_) return {};
  host_end_scene();
  live_.reset();
  return {};
}

}  // namespace platform
