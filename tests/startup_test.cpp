// Whole games from the title card: the play modes, a new hero, loading, and
// the end of input.
#include <string>
#include <utility>

#include "flow/flow.h"
#include "game_texts.h"
#include "harness.h"
#include "player/player.h"

namespace {

using namespace texts;

using Startup = GameTest;

const std::string kSavePrompt = "save?(will overwrite old game)(1 for yes): ";
const std::string kBattleLoad = kTitleCard + kModeMenu + "load?(1 for yes): " + kClear;
const std::string kNoLoad = "loading...\nNo saved game could be loaded from stats.txt.\n";

// Player 1 Aldric (strength 8, speed 7, magic 5) from the welcome to the clear
// after the shop, with what follows the weapon menu and the sheet from Magic on.
std::string creation(const std::string& afterMenu, const std::string& sheet) {
  return "Player 1," + kWelcome + "Aldric" + kSkillPoints +
         "Enter Strength:Enter Speed:Enter magic power:You have 5 Hit points.\n" + kWeaponMenu + afterMenu +
         "Aldric the player, your stats are:\nStrength:      8\nSpeed:         7\nHit Points:    5\n"
         "Magic:         " + sheet + "Gold:          0\nEnter a number to continue:\n" + kClear +
         "You have entered the shop.\nYou have 0 gold\n Would you like to buy anyhting?\n1.yes 0.no\n>>\n"
         "Exit store? 1.no 0.yes\n>>leaving...\n" + kClear;
}
// The staff's magic bonus comes after the hit points were counted.
const std::string kStaffHero =
    creation("You get a bonus to your magic!\n",
             "8\nWeapon:        Mage's staff\nRange:         7\nDefense points:6\nAttack Damage: 7\n");
const std::string kNewHero = "Aldric\n8 7 5\n5\n0\n0\n0\n";

// With no save to load, Battle mode makes a new hero and saves it.
TEST_F(Startup, BattleModeMakesSavesAndFightsANewHero) {
  std::string out = play("1\n1\n" + kNewHero + "1\n");
  const std::string opening = kBattleLoad + kNoLoad + kStaffHero + kSavePrompt + "saving...\n" + kClear;
  EXPECT_EQ(out.substr(0, opening.size()), opening);
  EXPECT_EQ(out.substr(out.size() - kClosing.size() - 1), "\n" + kClosing);  // input ends in the first duel
  EXPECT_EQ(read_file("stats.txt"),
            "Aldric\n8\n5\n7\n5\n8\n7\n6\n7\n15\n1\n0\n0\n0\n0\n0\n0\n0\n"
            "(name,strength,weaponNum, speed, health, magic, range,\n defense, damage, ammo, "
            "level, battleNum, gold, items[0-4])\n");
}

// Story mode loads only on 1, clears nothing, and makes a new hero when the
// save is unusable (here its gold does not fit an int).
TEST_F(Startup, StoryModeMakesANewHeroUnlessASaveLoads) {
  write_file("stats.txt", "Bryn\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n2147483648\n");
  for (const std::string answer : {"0", "1"}) {
    std::string out = play("2\n" + answer + "\n" + kNewHero);
    const std::string opening = kTitleCard + kModeMenu + "load a character to use in story mode?(1 for yes): " +
                                (answer == "1" ? kNoLoad : "") + kStaffHero;
    EXPECT_EQ(out.substr(0, opening.size()), opening);
  }
}

// An unknown mode plays nothing. Input that ends where an answer is wanted
// closes the game at once; at the final pause nothing more is written. The
// developer value ends creation at once; a hero with an invalid weapon still
// gets the sheet, the shop and the save prompt (only 1 saves), but no duel.
TEST_F(Startup, ShortGamesGoStraightToTheClosing) {
  const std::string menu = kTitleCard + kModeMenu;
  const std::string welcome = kBattleLoad + "Player 1," + kWelcome;
  const std::pair<const char*, std::string> cases[] = {
      {"0\n5\n", menu + kClosing + kPause},
      {"3\n", menu + kClosing + kPause},
      {"", menu + "\n" + kClosing},
      {"1\n0\n \n", welcome + "\n" + kClosing},
      {"1\n0\nDev\n73\n", welcome + "Dev" + kSkillPoints + "Enter Strength:" + kSavePrompt + "\n" + kClosing},
      {"1\n0\nAldric\n8 7 5\n9\n0\n0\n0\n2\n",
       kBattleLoad +
           creation("you didn't enter a valid choice. game ending.",
                    "5\nWeapon:        \nRange:         0\nDefense points:0\nAttack Damage: 0\n") +
           kSavePrompt + kClear + kClosing + kPause}};
  for (const auto& [input, expected] : cases) {
    EXPECT_EQ(play(input), expected) << input;
    EXPECT_EQ(status_, 0);
  }
}

// Two players are offered only where the game allows it; the second hero is
// made after the first one's save prompt, before the first duel.
TEST_F(Startup, SecondPlayerComesAfterTheFirstOnesSavePrompt) {
  for (const char* players : {"2", "3"}) {
    reset_game_state();
    nPossibleNumOfPlayers = 2;
    std::string out = run(std::string("1 0 ") + players + " Ann 5 5 5 1 0 0 0 0 Bob 5 5 5 2 0 0\n", play_game);
    bool second = players[0] == '2';
    EXPECT_EQ(count_of(out, kSavePrompt + kClear + "Player 2," + kWelcome + "Bob,"), second ? 1u : 0u);
    EXPECT_EQ(count_of(out, "Bob, your stats are:\nStrength:      5\n"), second ? 1u : 0u);
    EXPECT_EQ(count_of(out, "How many players? (1-2) Player 1,"), 1u);
    EXPECT_EQ(count_of(out, "An enemy approaches!"), 1u);
  }
}

}  // namespace
