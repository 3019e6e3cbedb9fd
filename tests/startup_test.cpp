#include <string>

#include "flow/flow.h"
#include "game_texts.h"
#include "harness.h"
#include "player/player.h"

namespace {

using namespace texts;

using Startup = GameTest;

const std::string kShopAtNoGold =
    "You have entered the shop.\nYou have 0 gold\n Would you like to buy anyhting?\n1.yes 0.no\n"
    ">>\nExit store? 1.no 0.yes\n>>leaving...\n";
const std::string kSavePrompt = "save?(will overwrite old game)(1 for yes): ";
const std::string kNoSave = "loading...\nNo saved game could be loaded from stats.txt.\n";

// Name Aldric, strength 8, speed 7, magic 5, then the weapon and the sheet.
std::string creation(const std::string& afterWeaponMenu, const std::string& weapon, int range,
                     int defense, int damage) {
  return "Player 1," + kWelcome + "Aldric" + kSkillPoints +
         "Enter Strength:Enter Speed:Enter magic power:You have 5 Hit points.\n" + kWeaponMenu +
         afterWeaponMenu +
         "Aldric the player, your stats are:\n"
         "Strength:      8\nSpeed:         7\nHit Points:    5\nMagic:         5\n"
         "Weapon:        " +
         weapon + "\nRange:         " + std::to_string(range) +
         "\nDefense points:" + std::to_string(defense) +
         "\nAttack Damage: " + std::to_string(damage) +
         "\nGold:          0\nEnter a number to continue:\n" + kClear + kShopAtNoGold + kClear;
}
const std::string kBowHero = creation("", "Great bow and arrows", 10, 4, 4);

// The start of `out`, as long as `expected`, for runs that go on into a duel or the story.
std::string opening_of(const std::string& out, const std::string& expected) {
  return out.substr(0, expected.size());
}

TEST_F(Startup, UnknownPlayModePlaysNothing) {
  for (const char* mode : {"0", "3", "-1", "x"}) {
    EXPECT_EQ(play(std::string(mode) + "\n5\n"), kTitleCard + kModeMenu + kClosing + kPause);
    EXPECT_EQ(status_, 0);
  }
}

TEST_F(Startup, EndOfInputClosesTheGame) {
  EXPECT_EQ(play(""), kTitleCard + kModeMenu + "\n" + kClosing);
  EXPECT_EQ(play("1\n0\nAldric\n8\n"), kTitleCard + kModeMenu + "load?(1 for yes): " + kClear +
                                           "Player 1," + kWelcome + "Aldric" + kSkillPoints +
                                           "Enter Strength:Enter Speed:\n" + kClosing);
  EXPECT_EQ(status_, 0);
  // At the last pause the closing message is already there: nothing more.
  EXPECT_EQ(play("3\n"), kTitleCard + kModeMenu + kClosing + kPause);
  EXPECT_EQ(status_, 0);
}

TEST_F(Startup, BattleModeCreatesShopsAndSavesANewHero) {
  std::string out = play("1\n0\nAldric\n8 7 5\n3\n0\n0\n0\n1\n");
  const std::string opening = kTitleCard + kModeMenu + "load?(1 for yes): " + kClear + kBowHero +
                              kSavePrompt + "saving...\n" + kClear;
  EXPECT_EQ(opening_of(out, opening), opening);
  // The input runs out in the first duel.
  EXPECT_EQ(out.substr(out.size() - kClosing.size() - 1), "\n" + kClosing);
  EXPECT_EQ(status_, 0);
  EXPECT_EQ(read_file("stats.txt"),
            "Aldric\n8\n3\n7\n5\n5\n10\n4\n4\n20\n1\n0\n0\n0\n0\n0\n0\n0\n"
            "(name,strength,weaponNum, speed, health, magic, range,\n defense, damage, ammo, "
            "level, battleNum, gold, items[0-4])\n");
}

TEST_F(Startup, HeroThatFailsCreationSkipsTheLadder) {
  EXPECT_EQ(play("1\n0\nAldric\n8 7 5\n9\n0\n0\n0\n0\n5\n"),
            kTitleCard + kModeMenu + "load?(1 for yes): " + kClear +
                creation("you didn't enter a valid choice. game ending.", "", 0, 0, 0) +
                kSavePrompt + kClear + kClosing + kPause);
}

TEST_F(Startup, DeveloperValueSkipsWeaponSheetAndShop) {
  std::string out = play("1\n0\nDev\n73\n0\n");
  const std::string opening = kTitleCard + kModeMenu + "load?(1 for yes): " + kClear + "Player 1," +
                              kWelcome + "Dev" + kSkillPoints + "Enter Strength:" + kSavePrompt +
                              kClear;
  EXPECT_EQ(opening_of(out, opening), opening);
  EXPECT_EQ(nDevMode, 1);
}

TEST_F(Startup, SecondPlayerIsMadeAfterTheFirstSavePromptWhenAsked) {
  for (int players : {2, 3}) {
    reset_game_state();
    nPossibleNumOfPlayers = 2;
    std::string out = run(
        "1\n0\n" + std::to_string(players) + "\nAldric\n8 7 5\n3\n0\n0\n0\n0\nBryn\n5 5 5\n1\n0\n",
        play_game);
    std::string opening = kTitleCard + kModeMenu + "load?(1 for yes): " + kClear +
                          "How many players? (1-2) " + kBowHero + kSavePrompt + kClear;
    if (players == 2) {
      opening += "Player 2," + kWelcome + "Bryn" + kSkillPoints +
                 "Enter Strength:Enter Speed:Enter magic power:You have 10 Hit points.\n" +
                 kWeaponMenu + "Bryn, your stats are:\nStrength:      5\n";
    }
    EXPECT_EQ(opening_of(out, opening), opening);
    EXPECT_EQ(p2.weaponNum, players == 2 ? 1 : 0);
  }
}

TEST_F(Startup, FailedLoadInBattleModeCreatesAHero) {
  std::string out = play("1\n1\nAldric\n8 7 5\n3\n0\n0\n0\n0\n");
  const std::string opening = kTitleCard + kModeMenu + "load?(1 for yes): " + kClear + kNoSave +
                              kBowHero + kSavePrompt + kClear;
  EXPECT_EQ(opening_of(out, opening), opening);
  EXPECT_STREQ(p1.name, "Aldric");
}

TEST_F(Startup, StoryModeAsksToLoadWithoutClearing) {
  std::string out = play("2\n0\nAldric\n8 7 5\n3\n0\n0\n0\n");
  const std::string question =
      kTitleCard + kModeMenu + "load a character to use in story mode?(1 for yes): ";
  EXPECT_EQ(opening_of(out, question + kBowHero), question + kBowHero);

  out = play("2\n1\nAldric\n8 7 5\n3\n0\n0\n0\n");
  EXPECT_EQ(opening_of(out, question + kNoSave + kBowHero), question + kNoSave + kBowHero);

  write_file("stats.txt", "Bryn\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n");
  out = play("2\n1\n");
  EXPECT_EQ(opening_of(out, question + "loading...\n"), question + "loading...\n");
  EXPECT_STREQ(p1.name, "Bryn");
  EXPECT_EQ(p1.weaponNum, 2);
}

}  // namespace
