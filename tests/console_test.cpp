#include "console/console.h"

#include <climits>
#include <string>
#include <vector>

#include "harness.h"

namespace {

class ConsoleReads : public GameTest {
 protected:
  std::vector<int> ints(const std::string& input, int count) {
    std::vector<int> got;
    run(input, [&] {
      for (int i = 0; i < count; ++i) got.push_back(console::read_int());
    });
    return got;
  }
  std::vector<std::string> words(const std::string& input, int count) {
    std::vector<std::string> got;
    run(input, [&] {
      for (int i = 0; i < count; ++i) {
        char name[52];
        console::read_word(name, sizeof name);
        got.push_back(name);
      }
    });
    return got;
  }
};

TEST_F(ConsoleReads, NumbersWithSignsSeveralToALine) {
  EXPECT_EQ(ints(" 12 -7\t+3\n\n  42x\n5\n-0\n", 6), (std::vector<int>{12, -7, 3, 42, 0, 5}));
  EXPECT_EQ(ints("2147483647\n-2147483648\n", 2), (std::vector<int>{INT_MAX, INT_MIN}));
}

TEST_F(ConsoleReads, NoNumberCountsAsZeroAndDropsTheRestOfItsLine) {
  // a word, a lone sign at the end of a line, a sign before a blank, overflow
  // both ways
  EXPECT_EQ(ints("abc 5\n7\n+\n8\n- 9\n10\n2147483648 6\n11\n-2147483649\n"
                 "99999999999999999999 1\n12\n",
                 11),
            (std::vector<int>{0, 7, 0, 8, 0, 10, 0, 11, 0, 0, 12}));
  // a number stops at the letter; the letter is the next answer's word
  EXPECT_EQ(ints("3abc 4\n13\n", 3), (std::vector<int>{3, 0, 13}));
}

TEST_F(ConsoleReads, NameIsOneWordCutAt51Characters) {
  const std::string longWord(51, 'a');
  EXPECT_EQ(words("  Ann Bo\n\t" + longWord + "bcdef next\n", 4),
            (std::vector<std::string>{"Ann", "Bo", longWord, "next"}));
}

TEST_F(ConsoleReads, EndOfInputThrowsForNumbersAndNames) {
  EXPECT_THROW(ints("", 1), console::InputEnded);
  EXPECT_THROW(ints(" \n\t\n", 1), console::InputEnded);
  EXPECT_THROW(ints("4\n", 2), console::InputEnded);
  EXPECT_THROW(words("  \n", 1), console::InputEnded);
}

TEST_F(ConsoleReads, HeldInputComesAfterWhatWasAlreadyTyped) {
  std::vector<int> got;
  run("1 2\n3\n", [&] {
    got.push_back(console::read_int());
    console::hold_typed_input("7\n");
    got.push_back(console::read_int());
    console::hold_typed_input("8\n");
    for (int i = 0; i < 3; ++i) got.push_back(console::read_int());
  });
  EXPECT_EQ(got, (std::vector<int>{1, 2, 3, 7, 8}));
}

}  // namespace
