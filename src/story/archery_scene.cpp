#include "console/console.h"
#include "platform/platform.h"
#include "player/clamped.h"
#include "story/archery.h"
#include "story/story.h"

namespace {
// One horseman step per frame. At 10 frames a second a rider crosses the
// track in three seconds, slow enough to aim and quick enough to stay a
// chase, and a held key's auto-repeat (25 to 30 a second on most systems)
// reaches every frame, so a held arrow walks the archer without stutter.
constexpr unsigned kFramePeriodMs = 100;
}  // namespace

int shoot_horsemen(int limit, int lastColumn) {
  if (!platform::keyboard_available()) return clamped_add(limit, 1);
  platform::KeyScene keys;
  ArcheryState s = archery_start(limit, lastColumn);
  while (!archery_over(s)) {
    platform::KeyState pressed = keys.poll();
    // A terminal that is gone ends the game as the end of input does at any prompt.
    if (pressed.ended) throw console::InputEnded{};
    s = archery_step(s, pressed);
    keys.draw(console::out(), archery_frame(s));
    keys.pause(kFramePeriodMs);
  }
  console::hold_typed_input(keys.finish());
  return s.shot;
}
