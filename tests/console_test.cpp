// The one reader every prompt uses. (Names: the golden games
// a_name_is_its_first_word_without_control_bytes and new_hero_battle.)
#include "console/console.h"
#include "items/items.h"

#include <climits>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using Console = GameTest;

TEST_F(Console, NumbersSeveralToALineAndNoNumberDropsTheRestOfItsLine) {
  // (Blanks as the C locale has them.) Then a word, a lone sign at a line end
  // or before a blank, overflow both ways; a number stops at a letter, which
  // is then the next answer's word.
  const std::string input =
      " 12\v-7\t+3\f\r\n\n 2147483647 -2147483648\nabc 5\n7\n+\n8\n- 9\n10\n2147483648 6\n11\n"
      "-2147483649 1\n99999999999999999999 1\n12\n3abc 4\n13\n";
  std::vector<int> got;
  run(input, [&] { while (got.size() < 19) got.push_back(console::read_int()); });
  EXPECT_EQ(got, (std::vector<int>{12, -7, 3, INT_MAX, INT_MIN, 0, 7, 0, 8, 0, 10, 0, 11, 0, 0, 12, 3, 0, 13}));
}

TEST_F(Console, HeldInputComesAfterWhatWasAlreadyTyped) {
  std::vector<int> got;
  run("1 2\n3\n", [&] {
    got.push_back(console::read_int());
    console::hold_typed_input("7\n");
    got.push_back(console::read_int());
    console::hold_typed_input("8 x\n");  // the word's line is dropped: all held input used up
    for (int i = 0; i < 4; ++i) got.push_back(console::read_int());
    console::hold_typed_input("9\n");
    got.push_back(console::read_int());
  });
  EXPECT_EQ(got, (std::vector<int>{1, 2, 3, 7, 8, 0, 9}));
}

// The shop lists the items with their prices (golden dev_shop); no screen
// shows the names alone, and no list comes of another choice.
TEST_F(Console, ItemCatalogueNamesAlone) {
  EXPECT_EQ(run("", [] { print_itemList(0), print_itemList(2); }),
            "1.Mana gem\n2.Stone of Healing\n3.Berserker Helmet\n4.Winged Boots\n");
}

}  // namespace
