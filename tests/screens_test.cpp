#include <climits>
#include <set>
#include <utility>

#include "flow/flow.h"
#include "harness.h"

namespace {

using Screens = GameTest;

TEST_F(Screens, SwordIsFivePiecesWithFourLineBreaks) {
  EXPECT_EQ(run("", print_sword),
            "      /\\\t\t\t\t\t                  \n"
            " ____/\t|_________________________________  \n"
            "{|___| O _________________________________} \n"
            "     \\  |\t\t\t\t\t\t\t\t\t  "
            "    \\/\t\t\t\t\t\t\t\t\t  \n");
}

TEST_F(Screens, RandomCoversItsRangeAndNeverTheUpperBound) {
  for (auto [lo, hi] : {std::pair{7, 12}, std::pair{2, 8}}) {
    std::set<int> seen;
    for (std::uint32_t tick = 0; tick < 500; ++tick) {
      set_fake_ticks(tick);
      seen.insert(random(lo, hi));
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(hi - lo)) << lo << ".." << hi;
    EXPECT_EQ(*seen.begin(), lo);
    EXPECT_EQ(*seen.rbegin(), hi - 1);
  }
}

TEST_F(Screens, RandomReseedsFromTheClockAtEveryCall) {
  set_fake_ticks(4242);
  int first = random(0, 1000);
  EXPECT_EQ(random(0, 1000), first);
  EXPECT_EQ(random(0, 100), first % 100);  // the same first draw, cut shorter
}

TEST_F(Screens, RandomWithoutRoomReturnsTheLowerBound) {
  EXPECT_EQ(random(5, 5), 5);
  EXPECT_EQ(random(9, 3), 9);
  EXPECT_EQ(random(0, 0), 0);
  // No draw can land in a range at or below zero; no division by zero either.
  EXPECT_EQ(random(-3, 0), -3);
  EXPECT_EQ(random(-9, -4), -9);
  int r = random(INT_MIN, 3);
  EXPECT_TRUE(r >= 0 && r < 3) << r;
}

}  // namespace
