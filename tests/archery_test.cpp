#include <string>
#include <vector>

#include "harness.h"
#include "platform/platform.h"
#include "story/story.h"

namespace {

const std::string kHelp = "<Arrow keys>: move <space>: shoot arrow\n";
const std::string kHit = "You hit one!\n";
const std::string kMiss = "You missed that shot.\n";

// The keys of each frame, one letter a frame: "." none, "L" left, "R" right,
// "S" space, "B" both arrows. Once the script runs out the space bar is held,
// so a scene with its archer on the track always comes to an end.
std::string script;
std::size_t polls = 0;
struct Runaway {};

platform::KeyState scripted_keys() {
  if (polls >= 20000) throw Runaway{};
  char k = polls < script.size() ? script[polls] : 'S';
  ++polls;
  return platform::KeyState{k == 'L' || k == 'B', k == 'R' || k == 'B', k == 'S'};
}

class Archery : public GameTest {
 protected:
  // Plays the scene with `keys` for its first frames; returns every frame as
  // drawn after its clear, and the result in `shot`.
  std::vector<std::string> play_scene(const std::string& keys, int limit) {
    static const platform::FakeKeyboard keyboard{true, scripted_keys};
    platform::set_fake_keyboard(&keyboard);
    script = keys;
    polls = 0;
    std::string out;
    EXPECT_NO_THROW(out = run("", [&] { shot = shoot_horsemen(limit, 30); }));
    EXPECT_EQ(out.rfind(kClear + kHelp, 0), 0u) << "every frame starts with a clear";
    std::vector<std::string> frames;
    const std::size_t head = kClear.size() + kHelp.size();
    for (std::size_t at = 0; at < out.size();) {
      std::size_t next = out.find(kClear + kHelp, at + 1);
      frames.push_back(out.substr(at + head, next - at - head));
      at = next;
    }
    return frames;
  }

  int shot = -1;
};

std::string times(int n, char key) { return std::string(static_cast<std::size_t>(n), key); }

TEST_F(Archery, FrameRules) {
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
    std::vector<std::string> frames = play_scene(c.keys, c.limit);
    for (const auto& [n, frame] : c.frames) EXPECT_EQ(frames.at(n), frame) << c.what << ", " << n;
    EXPECT_EQ(shot, c.limit + 1) << c.what;
  }
  EXPECT_EQ(play_scene("", 20).size(), 21u * 15u) << "held space: nothing after the last hit";
}

}  // namespace
