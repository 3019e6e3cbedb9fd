#include <array>
#include <string>

#include "harness.h"
#include "items/items.h"
#include "player/player.h"

namespace {

using Shop = GameTest;

const std::string kBuyQuestion = " Would you like to buy anyhting?\n1.yes 0.no\n>>";
const std::string kPriceList =
    "1.Mana Gem(500 GP)\n2.Stone of Healing(400 GP)\n3.Berserker Helmet(700 GP)\n"
    "4.Winged Boots(600 GP)\n";
const std::string kExitQuestion = "Exit store? 1.no 0.yes\n>>";

// Five Mana Gems, one of them (if any) swapped for a Stone of Healing.
std::string gems_with_stone_in(int stoneSlot) {
  std::string list;
  for (int i = 0; i < 5; ++i) {
    list += std::to_string(i) + (i == stoneSlot ? ".Stone of Healing(you get 3 hit points)\n"
                                                : ".Mana Gem(you get 5 magic points)\n");
  }
  return list;
}

std::string entered(int gold) {
  return "You have entered the shop.\nYou have " + std::to_string(gold) + " gold\n";
}

TEST_F(Shop, ExactPriceLeavesZeroGold) {
  p1.gold = 500;
  EXPECT_EQ(run("1\n1\n1\n0\n", shop),
            entered(500) + kBuyQuestion + "\n" + kPriceList +
                "\nBuy Mana Gem(500 GP, you get +5 magic points), are you sure? 1.yes 0.no\n"
                "You bought it!\nYour Items:\n0.Mana Gem(you get 5 magic points)\n1.nothing\n"
                "2.nothing\n3.nothing\n4.nothing\n"
                "You have 0 gold left.\n" +
                kExitQuestion + "leaving...\n");
  EXPECT_EQ(itemIdNum[0], 1);
}

TEST_F(Shop, OneGoldShortCannotAfford) {
  p1.gold = 499;
  EXPECT_EQ(run("1 1 1 0\n", shop),
            entered(499) + kBuyQuestion + "\n" + kPriceList +
                "\nBuy Mana Gem(500 GP, you get +5 magic points), are you sure? 1.yes 0.no\n"
                "you can't afford it\nYou have 499 gold left.\n" +
                kExitQuestion + "leaving...\n");
  EXPECT_EQ(itemIdNum[0], 0);
}

TEST_F(Shop, EveryItemHasItsOfferAndPrice) {
  p1.gold = 1700;
  std::string out = run("1 2 1 1\n1 3 1 1\n1 4 1 0\n", shop);
  for (const char* offer :
       {"Stone of Healing(400 GP, you get 3 hit points back)",
        "Berserker Helmet(700 GP, you do +5 atk dm)", "Winged Boots(600 GP, you get +4 speed)"}) {
    EXPECT_NE(
        out.find(std::string("\nBuy ") + offer + ", are you sure? 1.yes 0.no\nYou bought it!"),
        std::string::npos)
        << offer;
  }
  EXPECT_NE(out.find("4.nothing\nYou have 0 gold left.\n"), std::string::npos) << out;
  EXPECT_EQ((std::array{itemIdNum[0], itemIdNum[1], itemIdNum[2]}), (std::array{2, 3, 4}));
}

TEST_F(Shop, UnknownChoiceBuysNothingButReportsTheGold) {
  p1.gold = 800;
  EXPECT_EQ(run("1 9 1 0\n", shop),
            entered(800) + kBuyQuestion + "\n" + kPriceList +
                "\nBuy , are you sure? 1.yes 0.no\nYou have 800 gold left.\n" + kExitQuestion +
                "leaving...\n");
}

TEST_F(Shop, DeclinesSkipTheGoldLineAndOnlyOneMeansStay) {
  p1.gold = 800;
  EXPECT_EQ(run("0 1 1 2 0 1 0 5\n", shop),
            entered(800) + kBuyQuestion + "\n" + kExitQuestion + kBuyQuestion + "\n" + kPriceList +
                "\nBuy Stone of Healing(400 GP, you get 3 hit points back), are you "
                "sure? 1.yes 0.no\n" +
                kExitQuestion + kBuyQuestion + "\n" + kExitQuestion + "leaving...\n");
  EXPECT_EQ(p1.gold, 800);
}

TEST_F(Shop, FullInventoryDiscardNamesSlotsOneToFive) {
  const std::string head = "you already have 5 items!\n" + gems_with_stone_in(-1) +
                           "Get rid of a item for this one? 1.yes 0.no\n>>";
  const std::string which = "Give number 1-5 for which item to discard\n>>";
  for (int answer = 1; answer <= 5; ++answer) {
    reset_game_state();
    for (int& slot : itemIdNum) slot = 1;
    p1.gold = 400;
    std::string out = run("1 2 1 1 " + std::to_string(answer) + " 0\n", shop);
    EXPECT_NE(out.find(head + which + "You now have:\n" + gems_with_stone_in(answer - 1) +
                       "You have 0 gold left.\n"),
              std::string::npos)
        << out;
  }
  // Declining, or naming no slot, keeps the five items; the price stays paid.
  struct Case {
    const char* answers;
    bool asksForSlot;
  };
  for (Case c : {Case{"0", false}, Case{"2", false}, Case{"1 0", true}, Case{"1 6", true},
                 Case{"1 -1", true}}) {
    reset_game_state();
    for (int& slot : itemIdNum) slot = 1;
    p1.gold = 400;
    std::string out = run(std::string("1 2 1 ") + c.answers + "\n0\n", shop);
    EXPECT_NE(out.find(head + (c.asksForSlot ? which : "") + "You have 0 gold left.\n"),
              std::string::npos)
        << c.answers << "\n"
        << out;
    for (int slot : itemIdNum) EXPECT_EQ(slot, 1) << c.answers;
    EXPECT_EQ(p1.gold, 0);
  }
}

}  // namespace
