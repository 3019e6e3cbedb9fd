#include <string>
#include <vector>

#include "harness.h"
#include "platform/platform.h"
#include "story/story.h"

namespace {

const std::string kHelp = "<Arrow keys>: move <space>: shoot arrow\n";
const std::string kHit = "You hit one!\n";
const std::string kMiss = "You missed that shot.\n";

// The keys of each frame, in turn. Once the script runs out the space bar is
// held, so a scene with its archer on the track always comes to an end.
std::vector<platform::KeyState> script;
std::size_t polls = 0;
constexpr std::size_t kRunaway = 20000;
struct Runaway {};

platform::KeyState scripted_keys() {
  if (polls >= kRunaway) throw Runaway{};
  platform::KeyState keys;
  keys.space = true;
  if (polls < script.size()) keys = script[polls];
  ++polls;
  return keys;
}

const platform::KeyState kNone{}, kLeft{true, false, false}, kRight{false, true, false},
    kSpace{false, false, true}, kBothArrows{true, true, false};

class Archery : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    script.clear();
    polls = 0;
    platform::set_fake_keyboard(&keyboard_);
  }

  // Plays the scene with `keys` for its first frames; returns every frame as
  // drawn (a clear, then the frame), and the result in `shot`.
  std::vector<std::string> play_scene(std::vector<platform::KeyState> keys, int limit = 20,
                                      int last = 30) {
    script = std::move(keys);
    std::string out;
    EXPECT_NO_THROW(out = run("", [&] { shot = shoot_horsemen(limit, last); }));
    std::vector<std::string> frames;
    const std::string start = kClear + kHelp;
    for (std::size_t at = out.find(start); at != std::string::npos;) {
      std::size_t next = out.find(start, at + start.size());
      frames.push_back(out.substr(at + kClear.size(), next - at - kClear.size()));
      at = next;
    }
    EXPECT_EQ(out.rfind(kClear + kHelp, 0), 0u) << "every frame starts with a clear";
    return frames;
  }

  platform::FakeKeyboard keyboard_{true, scripted_keys};
  int shot = -1;
};

std::vector<platform::KeyState> repeat(platform::KeyState keys, int frames) {
  return std::vector<platform::KeyState>(frames, keys);
}
std::vector<platform::KeyState> operator+(std::vector<platform::KeyState> a,
                                          const std::vector<platform::KeyState>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(Archery, FirstFrameWithNoKeyDown) {
  auto frames = play_scene({kNone});
  EXPECT_EQ(frames.at(0), kHelp + "_H_____________X________________\n");
  EXPECT_EQ(shot, 21);
}

TEST_F(Archery, HeldSpaceMissesUntilTheHorsemanReachesTheArcher) {
  auto frames = play_scene({});
  for (int f = 0; f < 14; ++f) EXPECT_EQ(frames.at(f).substr(kHelp.size() + 33), kMiss) << f;
  EXPECT_EQ(frames.at(13), kHelp + "______________HX________________\n" + kMiss);
  EXPECT_EQ(frames.at(14), kHelp + "_______________X________________\n" + kHit);
  EXPECT_EQ(frames.at(15), kHelp + "_H_____________X________________\n" + kMiss);
  EXPECT_EQ(frames.size(), 21u * 15u);
  EXPECT_EQ(shot, 21);
}

TEST_F(Archery, HorsemanAtTheEndRidesInAgainAtColumnFive) {
  // Ten steps left bring the archer to column 5, where the horseman comes back.
  auto frames = play_scene(repeat(kLeft, 10) + repeat(kNone, 19) + std::vector{kSpace});
  EXPECT_EQ(frames.at(9), kHelp + "_____X_____H____________________\n");
  EXPECT_EQ(frames.at(28), kHelp + "_____X________________________H_\n");
  EXPECT_EQ(frames.at(29), kHelp + "_____X__________________________\n" + kHit);
  EXPECT_EQ(shot, 21);
}

TEST_F(Archery, ArcherOffTheTrackIsNotDrawnAndAlwaysMisses) {
  auto frames = play_scene(repeat(kLeft, 16) + std::vector{kSpace} + repeat(kRight, 32) +
                           std::vector{kSpace} + repeat(kLeft, 16));
  EXPECT_EQ(frames.at(15), kHelp + "________________H______________\n");  // column -1
  EXPECT_EQ(frames.at(16), kHelp + "_________________H_____________\n" + kMiss);
  EXPECT_EQ(frames.at(48), kHelp + "________________________H______\n");  // column 31
  EXPECT_EQ(frames.at(49), kHelp + "_________________________H_____\n" + kMiss);
  EXPECT_EQ(shot, 21);
}

TEST_F(Archery, BothArrowsTogetherLeaveTheArcherInPlace) {
  auto frames = play_scene(repeat(kBothArrows, 3));
  EXPECT_EQ(frames.at(2), kHelp + "___H___________X________________\n");
}

TEST_F(Archery, ResultIsAlwaysTheLimitPlusOne) {
  for (int limit : {0, 1, 3}) {
    play_scene({kRight, kLeft, kSpace}, limit);
    EXPECT_EQ(shot, limit + 1);
  }
}

TEST_F(Archery, WithoutAKeyboardTheSceneIsSkipped) {
  platform::FakeKeyboard none{false, scripted_keys};
  platform::set_fake_keyboard(&none);
  EXPECT_EQ(run("", [&] { shot = shoot_horsemen(20, 30); }), "");
  EXPECT_EQ(shot, 21);
  EXPECT_EQ(polls, 0u);
}

}  // namespace
