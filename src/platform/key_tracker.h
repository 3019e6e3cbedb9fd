#pragma once
// The archery scene's three keys as every system's keyboard reports them, and
// which of them are down in one frame. Pure: plain values in and out.

namespace platform {

enum class SceneKey { Left, Right, Space };
// A tap is a press whose release is not reported: it comes with the press.
enum class KeyAction { Press, Repeat, Release, Tap };

struct KeyState {
  bool left = false;
  bool right = false;
  bool space = false;
  bool ended = false;  // the keyboard is gone (its terminal hung up or closed): nothing more will come
};

// A tap acts in exactly one frame: a key held down on a keyboard that
// reports no releases acts in each frame that saw its auto-repeat. A pressed
// key acts in every frame from its press to its release, and a press and a
// release between two frames still act once.
class KeyTracker {
 public:
  void apply(SceneKey key, KeyAction action);
  // The keys down for this frame; the taps seen so far are used up.
  KeyState take_frame();

 private:
  bool held_[3] = {false, false, false};
  bool seen_[3] = {false, false, false};
};

}  // namespace platform
