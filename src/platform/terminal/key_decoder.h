#pragma once
// Turns the bytes a terminal sends while the archery scene reads the keyboard
// into key events, and key events into the keys down in one frame. Pure: no
// terminal is touched here, so every sequence can be tested with plain bytes.
//
// Two dialects arrive on the same wire:
// - the plain one every terminal speaks: a space, ESC [ C/D or ESC O C/D for the
//   arrows, one event per press or auto-repeat, never a release;
// - the kitty keyboard protocol, once the scene has pushed its flags: keys as
//   CSI code ; modifiers : event u (or CSI 1 ; modifiers : event C/D for the
//   arrows), with separate press, repeat and release events, and even typed
//   characters, Ctrl-C, Ctrl-\ and Ctrl-Z sent as such sequences.

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

enum class SceneKey { Left, Right, Space };
enum class KeyAction { Press, Repeat, Release };

struct KeyEvent {
  enum Kind {
    Key,          // one of the scene's three keys: `key`, `action`
    Text,         // typed bytes that belong to the next answer: `text`
    Interrupt,    // Ctrl-C sent as a key (kitty protocol)
    Quit,         // Ctrl-\ sent as a key (kitty protocol)
    Suspend,      // Ctrl-Z sent as a key (kitty protocol)
    KittyFlags,   // the terminal's answer to the keyboard-protocol query
    DeviceReply,  // the terminal's answer to the device-attributes query
  };
  Kind kind = Text;
  SceneKey key = SceneKey::Space;
  KeyAction action = KeyAction::Press;
  std::string text;
};

class KeyDecoder {
 public:
  // Decodes what has arrived. A sequence cut off at the end of `bytes` waits
  // for the rest in the next call.
  std::vector<KeyEvent> feed(const std::string& bytes);
  // Gives up waiting: whatever is pending is handed back as typed text.
  std::vector<KeyEvent> flush();

 private:
  void take(char c, std::vector<KeyEvent>& events);
  void finish_sequence(std::vector<KeyEvent>& events);
  std::string pending_;  // an unfinished escape sequence, ESC included
};

// The three keys of one frame. A tap acts in exactly one frame. A held key acts
// in every frame in which the terminal reports it: from press to release when
// releases are reported, else in each frame that saw a press or an auto-repeat.
class KeyTracker {
 public:
  void set_releases_reported(bool reported) { releases_reported_ = reported; }
  void apply(const KeyEvent& event);
  // The keys down for this frame; the taps seen so far are used up.
  KeyState take_frame();

 private:
  static int index(SceneKey key) { return static_cast<int>(key); }
  bool releases_reported_ = false;
  bool held_[3] = {false, false, false};
  bool seen_[3] = {false, false, false};
};

}  // namespace platform
