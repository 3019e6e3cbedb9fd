// The archery scene's rules, frame by frame, on its pure step and picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "story/archery.h"

namespace {

const std::string kHelp = "<Arrow keys>: move <space>: shoot arrow\n";
const std::string kHit = "You hit one!\n";
const std::string kMiss = "You missed that shot.\n";

// Plays a scene on a track to column 30, a frame's keys as a letter: "." none,
// "L" left, "R" right, "S" space, "B" both arrows, then space held to the end.
// Returns each frame's picture below the help line; `shot` is the result.
std::vector<std::string> play(const std::string& keys, int limit = 20, int* shot = nullptr) {
  ArcheryState s = archery_start(limit, 30);
  std::vector<std::string> frames;
  for (std::size_t n = 0; !archery_over(s) && n < 20000; ++n) {
    const char k = n < keys.size() ? keys[n] : 'S';
    s = archery_step(s, {k == 'L' || k == 'B', k == 'R' || k == 'B', k == 'S'});
    const std::string frame = archery_frame(s);
    EXPECT_EQ(frame.rfind(kHelp, 0), 0u);
    frames.push_back(frame.substr(kHelp.size()));
  }
  if (shot) *shot = s.shot;
  return frames;
}

std::string times(int n, char key) { return std::string(static_cast<std::size_t>(n), key); }

TEST(Archery, FirstFrameHasTheHorsemanInColumn1AndTheArcherIn15) {
  EXPECT_EQ(play(".")[0], "_H_____________X________________\n");
}

TEST(Archery, HeldSpaceMissesUntilTheHorsemanReachesTheArcherThenTheNextRidesIn) {
  const std::vector<std::string> frames = play("");
  EXPECT_EQ(frames[13], "______________HX________________\n" + kMiss);
  EXPECT_EQ(frames[14], "_______________X________________\n" + kHit);
  EXPECT_EQ(frames[15], "_H_____________X________________\n" + kMiss);
  EXPECT_EQ(frames.size(), 21u * 15u) << "nothing after the last hit";
}

TEST(Archery, AHorsemanAtTheEndRidesInAgainAtColumn5) {
  const std::vector<std::string> frames = play(times(10, 'L') + times(19, '.') + "S");
  EXPECT_EQ(frames[9], "_____X_____H____________________\n");
  EXPECT_EQ(frames[28], "_____X________________________H_\n");
  EXPECT_EQ(frames[29], "_____X__________________________\n" + kHit);
}

TEST(Archery, AnArcherOffTheTrackIsNotDrawnAndAlwaysMisses) {
  const std::vector<std::string> frames = play(times(16, 'L') + "S" + times(32, 'R') + "S" + times(16, 'L'));
  EXPECT_EQ(frames[15], "________________H______________\n");  // column -1
  EXPECT_EQ(frames[16], "_________________H_____________\n" + kMiss);
  EXPECT_EQ(frames[48], "________________________H______\n");  // column 31
  EXPECT_EQ(frames[49], "_________________________H_____\n" + kMiss);
}

TEST(Archery, BothArrowsLeaveTheArcherInPlace) {
  EXPECT_EQ(play("BBB")[2], "___H___________X________________\n");
}

TEST(Archery, EveryHorsemanFallsSoTheResultIsTheLimitPlusOne) {
  for (int limit : {0, 1, 3, 20}) {
    int shot = -1;
    play("RLS", limit, &shot);
    EXPECT_EQ(shot, limit + 1) << limit;
  }
}

}  // namespace
