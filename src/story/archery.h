#pragma once
// The archery scene's rules, apart from the keyboard and the screen: one frame
// step (state and keys to the next state) and one frame's picture (state to
// text). shoot_horsemen() in story.h plays them live.

#include <string>

#include "platform/key_tracker.h"

struct ArcheryState {
  int limit;              // the scene ends once more horsemen than this have entered
  int lastColumn;         // the track runs from column 0 to this one
  int archer;             // the archer's column; may leave the track on either side, without end
  int horseman = -1;      // the riding horseman's column, or -1 while none rides
  int entered = 0;        // never more than limit + 1, and the horseman never past
  int shot = 0;           // the last column: only the archer's column needs a clamp
  bool hitNotice = false;   // written in the frame of the hit only
  bool missNotice = false;  // written in the frame of the miss only
};

ArcheryState archery_start(int limit, int lastColumn);

// True at the start of a frame in which one horseman too many would enter.
bool archery_over(const ArcheryState& s);

// The horseman rides (or a new one enters), then the keys act.
ArcheryState archery_step(ArcheryState s, const platform::KeyState& keys);

// The frame's picture: help line, track and the notice of this frame's shot.
std::string archery_frame(const ArcheryState& s);
