// The archery scene's rules, frame by frame, on its pure step and picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "story/archery.h"

namespace {

const std::string kHelp = "<Arrow keys>: move <space>: shoot arrow\n";
const std::string kHit = "You hit one!\n";
const std::string kMiss = "You missed that shot.\n";

// Plays a scene on a track to column 30, with the keys of each frame as one
// letter: "." none, "L" left, "R" right, "S" space, "B" both arrows. Once the
// script runs out the space bar is held, so an archer on the track ends the
// scene. Returns each frame's picture below the help line.
std::vector<std::string> play(const std::string& keys, int limit, ArcheryState& s) {
  s = archery_start(limit, 30);
  std::vector<std::string> frames;
  for (std::size_t n = 0; !archery_over(s) && n < 20000; ++n) {
    const char k = n < keys.size() ? keys[n] : 'S';
    s = archery_step(s, {k == 'L' || k == 'B', k == 'R' || k == 'B', k == 'S'});
    const std::string frame = archery_frame(s);
    EXPECT_EQ(frame.rfind(kHelp, 0), 0u);
    frames.push_back(frame.substr(kHelp.size()));
  }
  return frames;
}

std::string times(int n, char key) { return std::string(static_cast<std::size_t>(n), key); }

TEST(Archery, FrameRules) {
  const struct {
    const char* what;
    std::string keys;
    std::vector<std::pair<std::size_t, std::string>> frames;  // frame number, track and notice
    int limit = 20;  // the result is always this + 1
  } cases[] = {
      {"first frame, no key down", ".", {{0, "_H_____________X________________\n"}}},
      {"held space: misses, a hit as he reaches the archer, the next rides in",
       "",
       {{13, "______________HX________________\n" + kMiss},
        {14, "_______________X________________\n" + kHit},
        {15, "_H_____________X________________\n" + kMiss},
        {21 * 15 - 1, "_______________X________________\n" + kHit}}},
      {"a horseman at the end rides in again at column 5",
       times(10, 'L') + times(19, '.') + "S",
       {{9, "_____X_____H____________________\n"},
        {28, "_____X________________________H_\n"},
        {29, "_____X__________________________\n" + kHit}}},
      {"an archer off the track is not drawn and always misses",
       times(16, 'L') + "S" + times(32, 'R') + "S" + times(16, 'L'),
       {{15, "________________H______________\n"},  // column -1
        {16, "_________________H_____________\n" + kMiss},
        {48, "________________________H______\n"},  // column 31
        {49, "_________________________H_____\n" + kMiss}}},
      {"both arrows leave the archer in place", "BBB", {{2, "___H___________X________________\n"}}},
      {"limit 0", "RLS", {}, 0}, {"limit 1", "RLS", {}, 1}, {"limit 3", "RLS", {}, 3},
  };
  for (const auto& c : cases) {
    ArcheryState s;
    const std::vector<std::string> frames = play(c.keys, c.limit, s);
    for (const auto& [n, frame] : c.frames) EXPECT_EQ(frames.at(n), frame) << c.what << ", " << n;
    EXPECT_EQ(s.shot, c.limit + 1) << c.what;
  }
  ArcheryState s;
  EXPECT_EQ(play("", 20, s).size(), 21u * 15u) << "held space: nothing after the last hit";
}

}  // namespace
