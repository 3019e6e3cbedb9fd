#pragma once
// The one parser of what a terminal sends: while the archery scene reads the
// keyboard, its bytes become key events; before and after, they are the
// player's typed text, less the answers to the scene's queries that came too
// late. Pure: no terminal is touched here, so every sequence can be tested
// with plain bytes.
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

#include "platform/key_tracker.h"

namespace platform {

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
  // Keys are decoded while `keys` is on (in the archery scene); otherwise
  // everything is typed text, except answers while one is owed.
  explicit KeyDecoder(bool keys = true) : keys_(keys) {}
  void set_keys(bool keys) { keys_ = keys; }
  // A device-attributes query was sent: its answer is owed, and every answer
  // that comes while one is owed is none of the player's typing.
  void expect_reply() { ++owed_; }

  // Decodes what has arrived. A sequence cut off at the end of `bytes` waits
  // for the rest in the next call.
  std::vector<KeyEvent> feed(const std::string& bytes);
  // Gives up waiting: whatever is pending is handed back as typed text.
  std::vector<KeyEvent> flush();

 private:
  void take(char c, std::vector<KeyEvent>& events);
  void finish_sequence(std::vector<KeyEvent>& events);
  bool keys_;
  int owed_ = 0;
  std::string pending_;  // an unfinished escape sequence, ESC included
};

}  // namespace platform
