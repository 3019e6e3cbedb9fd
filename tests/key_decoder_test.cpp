#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/terminal/key_decoder.h"

namespace {

using platform::KeyEvent;

// Events as "<" ">" " " for a press of left, right, space, then "+" for a
// repeat, "-" for a release; text in [brackets], joined over several events;
// "^C", "^\\", "^Z"; "K" and "D" for the kitty-flags and device answers.
std::string describe(const std::vector<KeyEvent>& events) {
  std::string s;
  for (const KeyEvent& e : events) {
    if (e.kind == KeyEvent::Text) {
      if (!s.empty() && s.back() == ']') s.pop_back();
      else s += '[';
      s += e.text + "]";
    } else if (e.kind == KeyEvent::Key) {
      s += "<> "[static_cast<int>(e.key)];
      if (e.action != platform::KeyAction::Press) s += "?+-."[static_cast<int>(e.action)];
    } else {  // in the order of KeyEvent::Kind
      s += std::vector<std::string>{"", "", "^C", "^\\", "^Z", "K", "D"}.at(e.kind);
    }
  }
  return s;
}

const struct {
  const char* what;
  const char* bytes;
  const char* events;
  int owed = -1;  // keys off, with this many answers owed
} kCases[] = {
    {"the plain dialect's three keys; Ctrl-Left is still left", " \033[D\033[C\033OD\033OC\033[1;5D", " .<.>.<.>.<."},
    {"typed text", "4 2\n", "[4] .[2\n]"},
    {"other keys are typed; one past 32 bytes is no key",
     "\033[A\033OP\033[15~\033x\303\251\033[000000000000000000000000000032u",
     "[\033[A\033OP\033[15~\033x\303\251\033[000000000000000000000000000032u]"},
    {"a lone Escape, once nothing more comes", "\033", "[\033]"},
    {"a sequence cut off for good", "\033\033[D\033[12;", "[\033]<.[\033[12;]"},
    {"answers to the queries", "\033[?0u\033[?62;22c\033[?1;2c", "KDD"},
    {"kitty: a held space, a third field, Shift-Space", "\033[32u\033[32;1:2u\033[32;1:3u\033[32;1;2:3u\033[32;2u",
     "  + -  "},
    {"kitty: arrows", "\033[1;1:1D\033[1;1:2D\033[1;1:3D\033[1;1:3C", "<<+<->-"},
    {"kitty: of the old kind, or of either kind before a release, keys are taps",
     " \033OD\033[C\033[32;2u\033[1;1:3D\033[C\033[32;2u\033[1;5D\033OC", " .<.>. .<-> <>."},
    {"kitty: typed characters are their bytes again; releases type nothing",
     "\033[55u\033[55;1:3u\033[13u\033[97;2u\033[98;1:2u\033[99;0u", "[7\nAbc]"},
    {"kitty: the keypad's 2, Enter and full stop, and UTF-8 at its edges",
     "\033[57401u\033[57414u\033[57409u\033[127u\033[128u\033[2047u\033[2048u\033[65535u\033[65536u"
     "\033[1114111u\033[1114112u\033[57344u\033[63743u\033[63744u",
     "[2\n.\177\302\200\337\277\340\240\200\357\277\277\360\220\200\200\364\217\277\277\357\244\200]"},
    {"kitty: a number left out counts as 1", "\033[;2u\033[99;u\033[99;5:u\033[32;:3u", "[\001c]^C -"},
    {"kitty: no modifier, Alt, and Alt with Shift; none is Ctrl", "\033[97u\033[97;3u\033[97;4u", "[aaA]"},
    {"a private marker makes no key", "\033[?5D\033[=1u\033[>1;2C\033[<1u", "[\033[?5D\033[=1u\033[>1;2C\033[<1u]"},
    {"kitty: Shift alone, up", "\033[57441u\033[57441;2:3u\033[A\033[1;1:3A", "[\033[A]"},
    {"kitty: Ctrl-C, Ctrl-Z, Ctrl-\\, Ctrl-D", "\033[99;5u\033[99;5:3u\033[122;5u\033[92;5u\033[92;5:3u\033[100;5u",
     "^C^Z^\\[\004]"},
    {"keys off: all is typed, at once", " \033[D\033[32u\033[?62c\033", "[ \033[D\033[32u\033[?62c\033]", 0},
    {"keys off: owed answers taken out, then typed again", "\033[?0u\033[?62;22c5\033[?1c\n",
     "[5\033[?1c\n]", 1},
    {"keys off: what only starts like an answer is typed", "\033[?5x1\033[?62c", "[\033[?5x1]", 1},
};

// However the terminal's bytes are cut into reads, the events are the same.
TEST(KeyDecoder, EverySequenceSplitAtEveryTwoPoints) {
  for (const auto& c : kCases) {
    const std::string bytes = c.bytes;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
      for (std::size_t j = i; j <= bytes.size(); ++j) {
        platform::KeyDecoder d(c.owed < 0);
        for (int owed = 0; owed < c.owed; ++owed) d.expect_reply();
        std::vector<KeyEvent> all;
        for (const std::string& part : {bytes.substr(0, i), bytes.substr(i, j - i), bytes.substr(j)})
          for (const KeyEvent& e : d.feed(part)) all.push_back(e);
        EXPECT_TRUE(c.owed != 0 || d.flush().empty()) << c.what << ": nothing waits";
        for (const KeyEvent& e : d.flush()) all.push_back(e);
        EXPECT_EQ(describe(all), c.events) << c.what << ", cut at " << i << ", " << j;
      }
    }
  }
}

// Bytes read before each frame, decoded and tracked: the keys down, "LRS|" a frame.
std::string frames(const std::vector<std::string>& reads) {
  platform::KeyDecoder d;
  platform::KeyTracker t;
  std::string s;
  for (const std::string& bytes : reads) {
    for (const KeyEvent& e : d.feed(bytes))
      if (e.kind == KeyEvent::Key) t.apply(e.key, e.action);
    platform::KeyState k = t.take_frame();
    s += std::string(k.left ? "L" : "") + (k.right ? "R" : "") + (k.space ? "S" : "") + "|";
  }
  return s;
}

TEST(KeyTracker, TapsActOnceHeldKeysAsLongAsReported) {
  // Plain: each press or auto-repeat acts in one frame, two in one frame once.
  EXPECT_EQ(frames({"  \033[D", "", "\033[C", ""}), "LS||R||");
  // Kitty: down from press to release; a tap between two frames still acts
  // once; a bare arrow is held only once a release has been seen.
  EXPECT_EQ(frames({"\033[D", "", "\033[32u", "", "\033[32;1:2u", "\033[32;1:3u", "\033[D\033[1;1:3D", "",
                    "\033[D", "", "\033[C\033[1;1:3D", "", "\033[1;1:3C", " ", ""}),
            "L||S|S|S||L||L|L|R|R||S||");
}

}  // namespace
