#include "platform/key_tracker.h"

namespace platform {

void KeyTracker::apply(SceneKey key, KeyAction action) {
  const int i = static_cast<int>(key);
  if (action == KeyAction::Release) {
    held_[i] = false;
    return;
  }
  seen_[i] = true;
  if (releases_reported_) held_[i] = true;
}

KeyState KeyTracker::take_frame() {
  KeyState keys;
  keys.left = held_[0] || seen_[0];
  keys.right = held_[1] || seen_[1];
  keys.space = held_[2] || seen_[2];
  seen_[0] = seen_[1] = seen_[2] = false;
  return keys;
}

}  // namespace platform
