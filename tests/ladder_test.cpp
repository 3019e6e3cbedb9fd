#include <regex>
#include <vector>

#include "harness.h"
#include "playthroughs.h"
#include "player/player.h"

namespace {

const char* const kOpponents[] = {"",
                                  "Erevon, Lord of Darkness",
                                  "Balrog of Moria",
                                  "Luthea the Corrupt",
                                  "Theroden of the North",
                                  "Elfane the Shadow",
                                  "Luthea the Master",
                                  "Kaylor the Barbarian Prince",
                                  "Fist of the North Star"};

// The ladder battles fought, by number, read off the enemy stat sheets.
std::vector<int> battles_fought(const std::string& out) {
  std::vector<int> fought;
  std::size_t at = 0;
  while ((at = out.find("Enemy name:    ", at)) != std::string::npos) {
    at += 15;
    for (int n = 1; n <= 8; ++n) {
      if (out.compare(at, std::string(kOpponents[n]).size() + 1, std::string(kOpponents[n]) + "\n") == 0)
        fought.push_back(n);
    }
  }
  return fought;
}

// A saved hero who kills every opponent with one blow and is never hurt.
const std::string kChampionSave =
    "Champ\n100\n4\n100\n50\n10\n100\n100\n100\n0\n1\n%d\n0\n0\n0\n0\n0\n0\n";
// One won duel: stat sheet, round prompt, attack, save prompt, shop (no, leave), level-up sheet.
const std::string kOneWin = "0 0 1 0 0 0 0 ";

using Ladder = GameTest;

TEST_F(Ladder, WholeLadderRaisesANewHeroToLevelNine) {
  std::string out = play(kWholeLadder);
  EXPECT_EQ(battles_fought(out), (std::vector<int>{1, 3, 2, 4, 5, 6, 7, 8}));
  EXPECT_EQ(count_of(out, "He is defeated!\n"), 8u);
  EXPECT_NE(out.find("You are level 2\nYou have advanced to the rank of trainee!\n"
                     "You are now Hero the trainee \n"),
            std::string::npos);
  EXPECT_NE(out.find("You are level 9\nYou are now Hero \nStrength:      17\n"), std::string::npos);
  std::string ending = "Enter a number to continue:\n" + kClear +
                       "save?(will overwrite old game)(1 for yes): saving...\n" + kClear +
                       "Game Over. \nThank you for playing.\nenter a number to continue: ";
  EXPECT_EQ(out.substr(out.size() - ending.size()), ending);
  EXPECT_EQ(read_file("stats.txt"),
            "Hero\n17\n4\n20\n28\n24\n11\n19\n13\n0\n9\n8\n7900\n0\n0\n0\n0\n0\n"
            "(name,strength,weaponNum, speed, health, magic, range,\n defense, damage, ammo, level, "
            "battleNum, gold, items[0-4])\n");
}

TEST_F(Ladder, DeathEndsTheLadderAfterItsSavePrompt) {
  // A short sword and defense 4: the hero wins twice and falls to the Balrog.
  std::string out = play(
      "1 0 Weak 10 2 0 1 0 0 0 0 0 0 1 0 1 0 1 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 0 1 0 1 0 1 0 1 0 1 "
      "0 0 0 0 0 0 0 1 0 1 0 1 0 0 0\n");
  EXPECT_EQ(battles_fought(out), (std::vector<int>{1, 3, 2}));
  std::size_t death = out.find("You have died. Ending Game...\n");
  ASSERT_NE(death, std::string::npos);
  EXPECT_EQ(out.substr(death), "You have died. Ending Game...\nsave?(will overwrite old game)(1 for yes): " +
                                   kClear + "Game Over. \nThank you for playing.\nenter a number to continue: ");
  EXPECT_EQ(p1.gameOver, 1);
}

TEST_F(Ladder, ResumedHeroFollowsItsChain) {
  struct Chain { int battleNum; std::vector<int> fought; };
  for (const Chain& c : {Chain{1, {1, 3, 2, 4, 5, 6, 7, 8}}, Chain{2, {3, 2, 4, 5, 6, 7, 8}},
                         Chain{3, {2, 4, 5, 6, 7, 8}}, Chain{4, {4, 5, 6, 7, 8}}, Chain{5, {5, 6, 7, 8}},
                         Chain{6, {6, 7, 8}}, Chain{7, {7, 8}}, Chain{0, {1}}, Chain{8, {1}},
                         Chain{9, {1}}, Chain{-1, {1}}}) {
    char save[200];
    std::snprintf(save, sizeof save, kChampionSave.c_str(), c.battleNum);
    write_file("stats.txt", save);
    std::string input = "1 1 " + kOneWin;
    for (std::size_t i = 1; i < c.fought.size(); ++i) input += kOneWin + "0 ";
    std::string out = play(input + "0\n");
    EXPECT_EQ(battles_fought(out), c.fought) << "battleNum " << c.battleNum;
    // The first duel of a chain has no save prompt of its own after the level-up.
    EXPECT_EQ(count_of(out, "save?"), 2 * c.fought.size() - 1) << "battleNum " << c.battleNum;
    EXPECT_NE(out.find("Thank you for playing.\nenter a number to continue: "), std::string::npos);
  }
}

TEST_F(Ladder, DevMenuWarmUpDuelLiftsTheHeroToLevelOne) {
  // Developer hero: no weapon, so only Magic missile can win; 8 health takes four of them.
  std::string out = play("1 0 Dev 73 0 1 8 0 0 0 0 3 1 0 3 1 0 3 1 0 3 1 0 0 0 0 0\n");
  EXPECT_NE(out.find("Welcome to Dev mode!\nWhere do you wish to go?\n\t1.battles\n\tX2.other(stats(WARNING; "
                     "using stats through Devmode can cause problems),\t\t  printings, etc.)\n"
                     "\t3.shop(not as of yet)\nwhich battle?(1-8)\n"),
            std::string::npos);
  EXPECT_EQ(battles_fought(out), (std::vector<int>{1}));
  EXPECT_NE(out.find("You are level 1\nYou are now Dev the player \nStrength:      11\n"), std::string::npos);
  EXPECT_NE(out.find("Weapon:        \n"), std::string::npos);
}

TEST_F(Ladder, DevMenuShopHasFiveThousandGold) {
  std::string out = play("1 0 Dev 73 0 3 0 0 0\n");
  EXPECT_NE(out.find("\t3.shop(not as of yet)\nYou have entered the shop.\nYou have 5000 gold\n"),
            std::string::npos);
  out = play("1 0 Dev 73 0 2 0\n");
  EXPECT_NE(out.find("\t3.shop(not as of yet)\nGame Over. \n"), std::string::npos);
}

}  // namespace
