#include <string>

#include "game_texts.h"
#include "harness.h"
#include "player/player.h"
#include "story/passages.h"

namespace {

// A saved hero with `health` hit points and defense `defense`: neither Kai
// (strength 8) nor, from defense 15 on, Arthon (strength 15) can hurt it, and
// its first blow fells either of them.
std::string hero(int health, int defense) {
  return "Hero\n50\n1\n5\n" + std::to_string(health) + "\n0\n100\n" + std::to_string(defense) +
         "\n100\n0\n1\n0\n0\n0\n0\n0\n0\n0\n";
}

// Story mode, load the hero, then a duel won: stat sheet, one round with an
// attack, no save, leave the shop.
const std::string kLoadAndFirstDuelWon = "2\n1\n" "1\n1\n1\n" "0\n0\n0\n";
const std::string kDied = "You have died. Ending Game...\n" + texts::kClosing + texts::kPause;

const std::string kAfterScene = "Erevon looked around him and then back at you. 'You killed 21" +
                                std::string(kErevonsTaunt) +
                                "\nYou took 2 points dm from your arm wound\n";

using Story = GameTest;

// Scripted, with no keyboard: the archery scene is skipped, as from a pipe.
TEST_F(Story, PlaysItsStepsInOrder) {
  write_file("stats.txt", hero(30, 50));
  std::string out = play(kLoadAndFirstDuelWon + "1\n" + "1\n1\n1\n" "0\n0\n0\n" "1\n");
  // No clear between the shop and passages 2 and 3, and the pause right after them.
  expect_in_order(out, {"load a character to use in story mode?(1 for yes): loading...\n" +
                            std::string(kPrologue) + "\nStrength:      50\n",
                        "Rebel trainer Kai",
                        "leaving...\n" + std::string(kTrainingPassed) + "\n" + kAmbush + "\n" +
                            texts::kPause + kClear + kAfterScene +
                            "Strength:      50\nSpeed:         5\nHit Points:    28\n",
                        "Erevon's Bodyguard Arthon", "Flaming sword and whip", "He is defeated!\n"});
  const std::string end = "leaving...\n" + texts::kClosing + texts::kPause;
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
  EXPECT_EQ(p1.health, 28);
  EXPECT_EQ(p1.gold, 750);
  EXPECT_EQ(p1.battleNum, 2);
  EXPECT_EQ(p1.level, 1) << "story duels bring no level-up";
}

// Kai's first arrow kills a hero of 1 hit point, in round 2; the arm wound
// leaves a hero of 2 nothing for the duel with Arthon.
TEST_F(Story, EndsAfterALostDuel) {
  const struct {
    int battles, health, defense;
    std::string input, shown;  // shown: the last thing before the duel lost
  } cases[] = {
      {1, 1, 0, "2\n1\n" "1\n" "1\n0\n" "1\n" "1\n", "Rebel trainer Kai"},
      {2, 2, 14, kLoadAndFirstDuelWon + "1\n" "1\n1\n" "1\n",
       kAfterScene + "Strength:      50\nSpeed:         5\nHit Points:    0\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("duel " + std::to_string(c.battles));
    write_file("stats.txt", hero(c.health, c.defense));
    std::string out = play(c.input);
    expect_in_order(out, {c.shown, "Round:1\n"});
    EXPECT_EQ(out.substr(out.size() - kDied.size()), kDied);
    EXPECT_EQ(out.find(kTrainingPassed) != std::string::npos, c.battles == 2);
    EXPECT_EQ(p1.gameOver, 1);
    EXPECT_EQ(p1.battleNum, c.battles);
  }
}

}  // namespace
