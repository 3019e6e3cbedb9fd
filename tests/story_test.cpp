#include <string>

#include "game_texts.h"
#include "harness.h"
#include "platform/platform.h"
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

// Load the hero, then the first duel: stat sheet, one round with an attack,
// no save, leave the shop.
const std::string kToFirstVictory = "2\n1\n" "1\n1\n1\n" "0\n0\n0\n";
const std::string kSecondDuelWon = "1\n1\n1\n" "0\n0\n0\n";

const std::string kAfterScene = "Erevon looked around him and then back at you. 'You killed 21" +
                                std::string(kErevonsTaunt) +
                                "\nYou took 2 points dm from your arm wound\n";

std::size_t find_after(const std::string& out, const std::string& text, std::size_t from) {
  std::size_t at = out.find(text, from);
  EXPECT_NE(at, std::string::npos) << "missing, in order: " << text.substr(0, 60);
  return at == std::string::npos ? from : at + text.size();
}

using Story = GameTest;

TEST_F(Story, PlaysItsStepsInOrder) {
  write_file("stats.txt", hero(30, 50));
  std::string out = play(kToFirstVictory + "1\n" + kSecondDuelWon + "1\n");
  std::size_t at = find_after(out, "load a character to use in story mode?(1 for yes): loading...\n" +
                                       std::string(kPrologue) + "\nStrength:      50\n", 0);
  at = find_after(out, "Rebel trainer Kai", at);
  // No clear between the shop and passages 2 and 3, and the pause right after them.
  at = find_after(out, "leaving...\n" + std::string(kTrainingPassed) + "\n" + kAmbush + "\n" +
                           texts::kPause + kClear + kAfterScene + "Strength:      50\n" +
                           "Speed:         5\nHit Points:    28\n",
                  at);
  at = find_after(out, "Erevon's Bodyguard Arthon", at);
  at = find_after(out, "Flaming sword and whip", at);
  at = find_after(out, "He is defeated!\n", at);
  EXPECT_EQ(out.substr(find_after(out, "leaving...\n", at)), texts::kClosing + texts::kPause);
  EXPECT_EQ(p1.health, 28);
  EXPECT_EQ(p1.gold, 750);
  EXPECT_EQ(p1.battleNum, 2);
  EXPECT_EQ(p1.level, 1) << "story duels bring no level-up";
}

// The keys held in each frame of the test below: the archer stays, the space
// bar is held, so each of the 21 horsemen falls at the archer's column.
platform::KeyState hold_space() { return platform::KeyState{false, false, true}; }

TEST_F(Story, ArcheryScenePlaysBetweenThePauseAndTheClear) {
  const platform::FakeKeyboard keyboard{true, hold_space};
  platform::set_fake_keyboard(&keyboard);
  write_file("stats.txt", hero(30, 50));
  std::string out = play(kToFirstVictory + "1\n" + kSecondDuelWon + "1\n");
  std::size_t at = find_after(out, std::string(kAmbush) + "\n" + texts::kPause + kClear +
                                       "<Arrow keys>: move <space>: shoot arrow\n"
                                       "_H_____________X________________\nYou missed that shot.\n",
                              0);
  at = find_after(out, "_______________X________________\nYou hit one!\n" + kClear + kAfterScene, at);
  EXPECT_EQ(out.substr(find_after(out, "leaving...\n", at)), texts::kClosing + texts::kPause);
}

TEST_F(Story, EndsAfterALostFirstDuel) {
  write_file("stats.txt", hero(1, 0));  // Kai's first arrow kills, in round 2
  std::string out = play("2\n1\n" "1\n" "1\n0\n" "1\n" "1\n");
  EXPECT_EQ(out.find(kTrainingPassed), std::string::npos);
  std::string end = "You have died. Ending Game...\n" + texts::kClosing + texts::kPause;
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
  EXPECT_EQ(p1.gameOver, 1);
}

TEST_F(Story, TheWoundCanLeaveTheHeroNothingForTheSecondDuel) {
  write_file("stats.txt", hero(2, 14));  // Kai cannot hurt it; the wound leaves 0
  std::string out = play(kToFirstVictory + "1\n" + "1\n1\n" + "1\n");
  std::string end = kAfterScene + "Strength:      50\nSpeed:         5\nHit Points:    0\n";
  std::size_t at = find_after(out, end, 0);
  end = "Round:1\n";
  at = find_after(out, end, at);
  end = "You have died. Ending Game...\n" + texts::kClosing + texts::kPause;
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
  EXPECT_EQ(p1.gameOver, 1);
  EXPECT_EQ(p1.battleNum, 2);
}

}  // namespace
