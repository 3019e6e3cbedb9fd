#include "story/archery.h"

#include "player/clamped.h"

namespace {
// A horseman that reaches the end of the track rides in again from here.
constexpr int kReturnColumn = 5;
}  // namespace

ArcheryState archery_start(int limit, int lastColumn) {
  ArcheryState s{};
  s.limit = limit;
  s.lastColumn = lastColumn;
  s.archer = lastColumn / 2;
  return s;
}

// Checked where the next horseman would ride in. A horseman on the track is
// never let off: he must be shot first, so every one of the limit + 1 riders
// falls and the count is always limit + 1.
bool archery_over(const ArcheryState& s) { return s.horseman == -1 && s.entered > s.limit; }

ArcheryState archery_step(ArcheryState s, const platform::KeyState& keys) {
  s.hitNotice = s.missNotice = false;
  if (s.horseman == -1) {
    s.horseman = 1;
    ++s.entered;
  } else {
    ++s.horseman;
    if (s.horseman >= s.lastColumn) s.horseman = kReturnColumn;
  }
  if (keys.left) s.archer = clamped_sub(s.archer, 1);
  if (keys.right) s.archer = clamped_add(s.archer, 1);
  if (keys.space) {
    if (s.archer == s.horseman) {
      s.horseman = -1;
      ++s.shot;
      s.hitNotice = true;
    } else {
      s.missNotice = true;
    }
  }
  return s;
}

std::string archery_frame(const ArcheryState& s) {
  std::string text = "<Arrow keys>: move <space>: shoot arrow\n";
  for (long long column = 0; column <= s.lastColumn; ++column) {
    if (column == s.archer) text += 'X';
    text += column == s.horseman ? 'H' : '_';
  }
  text += '\n';
  if (s.hitNotice) text += "You hit one!\n";
  if (s.missNotice) text += "You missed that shot.\n";
  return text;
}
