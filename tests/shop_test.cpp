// The shop and the five item slots.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "harness.h"
#include "items/items.h"
#include "player/player.h"

namespace {

using Shop = GameTest;

const std::string kAsk = " Would you like to buy anyhting?\n1.yes 0.no\n>>\n";
const std::string kList =
    "1.Mana Gem(500 GP)\n2.Stone of Healing(400 GP)\n3.Berserker Helmet(700 GP)\n"
    "4.Winged Boots(600 GP)\n\nBuy ";
const std::string kSure = ", are you sure? 1.yes 0.no\n";
const std::string kExit = "Exit store? 1.no 0.yes\n>>";
const std::string kStoneOffer = "Stone of Healing(400 GP, you get 3 hit points back)";
const std::string kStone = "Stone of Healing(you get 3 hit points)\n";
const std::string kGem = "Mana Gem(you get 5 magic points)\n";

std::vector<int> slots() { return {itemIdNum, itemIdNum + 5}; }

// The exact price buys; an unknown choice buys nothing; only 1 means yes or
// stay. Stray ids from an edited save list as nothing, and in slots 0 to 3
// leave the slot free.
TEST_F(Shop, BuyingPaysTheExactPriceAndTakesTheFirstFreeSlot) {
  const int stray[5] = {4, 3, 7, -1, 5};
  std::copy(stray, stray + 5, itemIdNum);
  p1.gold = 900;
  const std::string owned = "You bought it!\nYour Items:\n0.Winged Boots(your speedis +4)\n"
                            "1.Berserker Helmet(you do +5 atk dm)\n2." + kStone;
  EXPECT_EQ(run("1 2 1 1  1 1 1 1  1 3 1 1  1 9 1 1  1 4 0 1  2 2\n", shop),
            "You have entered the shop.\nYou have 900 gold\n" + kAsk + kList + kStoneOffer + kSure + owned +
                "3.nothing\n4.nothing\nYou have 500 gold left.\n" + kExit + kAsk + kList +
                "Mana Gem(500 GP, you get +5 magic points)" + kSure + owned + "3." + kGem +
                "4.nothing\nYou have 0 gold left.\n" + kExit + kAsk + kList +
                "Berserker Helmet(700 GP, you do +5 atk dm)" + kSure +
                "you can't afford it\nYou have 0 gold left.\n" + kExit + kAsk + kList + kSure +
                "You have 0 gold left.\n" + kExit + kAsk + kList +
                "Winged Boots(600 GP, you get +4 speed)" + kSure + kExit + kAsk + kExit + "leaving...\n");
  EXPECT_EQ(slots(), (std::vector<int>{4, 3, 2, 1, 5}));
}

// With five items (a stray id in the last slot counts) the player may give one
// up, naming it 1 to 5; any other answer keeps the five. The price stays paid.
TEST_F(Shop, FullInventoryOffersToDiscardOneOfFive) {
  auto list_with_stone_in = [](int stoneSlot) {
    std::string list;
    for (int i = 0; i < 5; ++i) {
      list += std::to_string(i) + "." + (i == stoneSlot ? kStone : i < 4 ? kGem : "nothing\n");
    }
    return list;
  };
  for (auto [answers, slot, asksWhich] :
       {std::tuple{"1 1", 0, true}, std::tuple{"1 5", 4, true}, std::tuple{"0", -1, false},
        std::tuple{"2", -1, false}, std::tuple{"1 0", -1, true}, std::tuple{"1 6", -1, true}}) {
    const int full[5] = {1, 1, 1, 1, 7};
    std::copy(full, full + 5, itemIdNum);
    p1.gold = 400;
    EXPECT_EQ(run(std::string("1 2 1 ") + answers + " 0\n", shop),
              "You have entered the shop.\nYou have 400 gold\n" + kAsk + kList + kStoneOffer + kSure +
                  "you already have 5 items!\n" + list_with_stone_in(-1) +
                  "Get rid of a item for this one? 1.yes 0.no\n>>" +
                  (asksWhich ? "Give number 1-5 for which item to discard\n>>" : "") +
                  (slot >= 0 ? "You now have:\n" + list_with_stone_in(slot) : "") +
                  "You have 0 gold left.\n" + kExit + "leaving...\n")
        << answers;
    std::vector<int> want(full, full + 5);
    if (slot >= 0) want[slot] = 2;
    EXPECT_EQ(slots(), want) << answers;
  }
}

}  // namespace
