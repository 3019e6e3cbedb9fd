#include <ostream>

#include "platform/native.h"
#include "platform/platform.h"

namespace platform {

namespace {
const FakeKeyboard* fake_keyboard = nullptr;
}

void set_fake_keyboard(const FakeKeyboard* fake) { fake_keyboard = fake; }

bool keyboard_available() {
  return fake_keyboard ? fake_keyboard->present : native::keyboard_available();
}

KeyScene::KeyScene() : fake_(fake_keyboard) {
  if (!fake_) native::enter_key_scene();
}

KeyScene::~KeyScene() { finish(); }

KeyState KeyScene::poll() {
  if (fake_) return fake_->poll();
  return native::poll_keys();
}

void KeyScene::draw(std::ostream& out, const std::string& frame) {
  if (!fake_) return native::draw_frame(out, frame);
  clear_screen(out);
  out << frame << std::flush;
}

void KeyScene::pause(unsigned ms) {
  if (!fake_) native::sleep_ms(ms);
}

std::string KeyScene::finish() {
  if (!live_) return {};
  live_ = false;
  return fake_ ? std::string() : native::leave_key_scene();
}

}  // namespace platform
