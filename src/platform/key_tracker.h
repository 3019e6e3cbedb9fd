#pragma once
// The archery scene's three keys as every system's keyboard reports them, and
// which of them are down in one frame. Pure: plain values in and out.

namespace platform {

enum class SceneKey { Left, Right, Space };
enum class KeyAction { Press, Repeat, Release };

struct KeyState {
  bool left = false;
  bool right = false;
  bool space = false;
  bool ended = false;  // the keyboard is gone (its terminal hung up or closed): nothing more will come
};

// A tap acts in exactly one frame. A held key acts in every frame in which
// the keyboard reports it: from press to release when releases are reported,
// else in each frame that saw a press or an auto-repeat.
class KeyTracker {
 public:
  void set_releases_reported(bool reported) { releases_reported_ = reported; }
  void apply(SceneKey key, KeyAction action);
  // The keys down for this frame; the taps seen so far are used up.
  KeyState take_frame();

 private:
  bool releases_reported_ = false;
  bool held_[3] = {false, false, false};
  bool seen_[3] = {false, false, false};
};

}  // namespace platform
