// The tests' clock and keyboard, linked in place of the live ones: like piped
// input, games played in-process have no keyboard for the archery scene.
#include <ostream>

#include "harness.h"
#include "platform/platform.h"

static std::uint32_t fake_now = 0;
static std::uint64_t fake_random = 0;

void set_fake_ticks(std::uint32_t ms) { fake_now = ms; }
void set_fake_random(std::uint64_t next) { fake_random = next; }

namespace platform {
std::uint32_t ticks_ms() { return fake_now; }
std::uint64_t random_bits() { return fake_random++; }
bool keyboard_available() { return false; }
struct KeyScene::Live {};
KeyScene::KeyScene() = default;
KeyScene::~KeyScene() = default;
KeyState KeyScene::poll() { return {}; }
void KeyScene::draw(std::ostream&, const std::string&) {}
void KeyScene::pause(unsigned) {}
std::string KeyScene::finish() { return {}; }
}  // namespace platform
