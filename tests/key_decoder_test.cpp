#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/key_decoder.h"

namespace {

using platform::KeyDecoder;
using platform::KeyEvent;
using platform::KeyTracker;

// Events written compactly: "<" ">" " " for a press of left, right, space,
// with "+" for a repeat and "-" for a release after it; typed text in [brackets];
// "^C", "^Z", "K" (kitty flags answer), "D" (device answer).
std::string describe(const std::vector<KeyEvent>& events) {
  std::string s;
  for (const KeyEvent& e : events) {
    switch (e.kind) {
      case KeyEvent::Key:
        s += "<> "[static_cast<int>(e.key)];
        if (e.action == platform::KeyAction::Repeat) s += '+';
        if (e.action == platform::KeyAction::Release) s += '-';
        break;
      case KeyEvent::Text: s += "[" + e.text + "]"; break;
      case KeyEvent::Interrupt: s += "^C"; break;
      case KeyEvent::Suspend: s += "^Z"; break;
      case KeyEvent::KittyFlags: s += "K"; break;
      case KeyEvent::DeviceReply: s += "D"; break;
    }
  }
  return s;
}

// Feeds the bytes in pieces cut at the given points, then gives up waiting.
std::string decode_split(const std::string& bytes, std::size_t cut1, std::size_t cut2) {
  KeyDecoder d;
  std::vector<KeyEvent> all;
  for (const std::string& piece :
       {bytes.substr(0, cut1), bytes.substr(cut1, cut2 - cut1), bytes.substr(cut2)}) {
    for (KeyEvent& e : d.feed(piece)) all.push_back(e);
  }
  for (KeyEvent& e : d.flush()) all.push_back(e);
  // Text split over several events is one text all the same.
  std::vector<KeyEvent> merged;
  for (KeyEvent& e : all) {
    if (e.kind == KeyEvent::Text && !merged.empty() && merged.back().kind == KeyEvent::Text)
      merged.back().text += e.text;
    else
      merged.push_back(e);
  }
  return describe(merged);
}

struct Case {
  const char* bytes;
  const char* events;
};

const Case kCases[] = {
    // The plain dialect: the three keys in both arrow forms; everything else is typed.
    {" ", " "},
    {"\033[D\033[C", "<>"},
    {"\033OD\033OC", "<>"},
    {"\033[1;5D", "<"},  // Ctrl-Left is still left
    {"12\n", "[12\n]"},
    {"4 2", "[4] [2]"},
    {"\033[A\033OP\033[15~", "[\033[A\033OP\033[15~]"},  // other keys stay typed bytes
    {"\033x", "[\033x]"},
    {"\033", "[\033]"},                        // a lone Escape, once nothing more comes
    {"\033\033[D", "[\033]<"},
    {"\033[12;", "[\033[12;]"},                // cut off for good
    {"\303\251", "[\303\251]"},                // UTF-8 passes through
    // Answers to the queries, consumed.
    {"\033[?0u\033[?62;22c", "KD"},
    {"\033[?1;2c", "D"},
    // The kitty dialect: press, repeat and release of the three keys.
    {"\033[32u\033[32;1:2u\033[32;1:3u", "  + -"},
    {"\033[D\033[1;1:2D\033[1;1:3D", "<<+<-"},
    {"\033[1;1:3C", ">-"},
    {"\033[32;2u", " "},  // Shift-Space
    // Typed characters under kitty become the bytes they stand for; releases type nothing.
    {"\033[55u\033[55;1:3u\033[13u", "[7\n]"},
    {"\033[97;2u\033[98;1:2u", "[Ab]"},
    {"\033[57401u\033[57414u", "[2\n]"},  // keypad 2, keypad Enter
    {"\033[57441u\033[57441;2:3u", ""},   // Shift alone
    {"\033[233u", "[\303\251]"},
    {"\033[A\033[1;1:3A", "[\033[A]"},
    // Ctrl-C and Ctrl-Z sent as keys.
    {"\033[99;5u\033[99;5:3u", "^C"},
    {"\033[122;5u", "^Z"},
    {"\033[100;5u", "[\004]"},
};

TEST(KeyDecoder, EverySequenceSplitAtEveryByte) {
  for (const Case& c : kCases) {
    std::string bytes = c.bytes;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
      for (std::size_t j = i; j <= bytes.size(); ++j) {
        EXPECT_EQ(decode_split(bytes, i, j), c.events)
            << "bytes " << testing::PrintToString(bytes) << " cut at " << i << " and " << j;
      }
    }
  }
}

TEST(KeyDecoder, AnUnfinishedSequenceWaitsForItsEnd) {
  KeyDecoder d;
  EXPECT_EQ(describe(d.feed("1\033[")), "[1]");
  EXPECT_EQ(describe(d.feed("D")), "<");
  EXPECT_EQ(describe(d.flush()), "");
}

KeyEvent key(platform::SceneKey k, platform::KeyAction a) {
  KeyEvent e;
  e.kind = KeyEvent::Key;
  e.key = k;
  e.action = a;
  return e;
}

std::string frame(KeyTracker& t) {
  platform::KeyState s = t.take_frame();
  return std::string(s.left ? "L" : "") + (s.right ? "R" : "") + (s.space ? "S" : "");
}

TEST(KeyTracker, PlainTapsActOnceAndRepeatsActWhileTheyCome) {
  using platform::KeyAction;
  using platform::SceneKey;
  KeyTracker t;
  t.apply(key(SceneKey::Space, KeyAction::Press));
  t.apply(key(SceneKey::Space, KeyAction::Press));
  t.apply(key(SceneKey::Left, KeyAction::Press));
  EXPECT_EQ(frame(t), "LS");
  EXPECT_EQ(frame(t), "");
  t.apply(key(SceneKey::Right, KeyAction::Press));
  EXPECT_EQ(frame(t), "R");
  EXPECT_EQ(frame(t), "");
}

TEST(KeyTracker, WithReleasesAKeyIsDownFromPressToRelease) {
  using platform::KeyAction;
  using platform::SceneKey;
  KeyTracker t;
  t.set_releases_reported(true);
  t.apply(key(SceneKey::Space, KeyAction::Press));
  EXPECT_EQ(frame(t), "S");
  EXPECT_EQ(frame(t), "S");
  t.apply(key(SceneKey::Space, KeyAction::Repeat));
  EXPECT_EQ(frame(t), "S");
  t.apply(key(SceneKey::Space, KeyAction::Release));
  EXPECT_EQ(frame(t), "");
  // A tap that begins and ends between two frames still acts, in one frame.
  t.apply(key(SceneKey::Left, KeyAction::Press));
  t.apply(key(SceneKey::Left, KeyAction::Release));
  EXPECT_EQ(frame(t), "L");
  EXPECT_EQ(frame(t), "");
}

}  // namespace
