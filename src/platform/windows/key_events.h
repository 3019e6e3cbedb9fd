#pragma once
// The archery scene's keys from the console's own input on Windows: key
// events for this console only, each press and each release, never a guess
// from the keyboard's state of the moment.

#include <windows.h>

#include <vector>

#include "platform/key_tracker.h"

namespace platform::windows {

class ConsoleKeys {
 public:
  // Takes every event waiting in the console's input, without waiting for
  // any: the three keys go to `tracker`, other key events are kept aside.
  void read(KeyTracker& tracker);
  // Puts the kept key events back into the console's input, in the order
  // they came, for the answers that follow the scene.
  void give_back();

 private:
  void take(const INPUT_RECORD& record, KeyTracker& tracker);
  std::vector<INPUT_RECORD> kept_;
};

}  // namespace platform::windows
