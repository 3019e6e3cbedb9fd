// Hero creation arithmetic, the weapons, and level-ups through the ranks.
#include <array>
#include <climits>
#include <string>
#include <tuple>

#include "game_texts.h"
#include "harness.h"
#include "player/player.h"

namespace {

using Creation = GameTest;

// Hit points are what is left of 25, computed exactly and then clamped; only
// 73 itself, not its neighbour or its negative, is the developer value.
TEST_F(Creation, HitPointsAreWhatIsLeftOfTwentyFive) {
  for (auto [answers, health, gameOver] :
       {std::tuple{"10 10 5", 0, 1}, std::tuple{"74 -50 0", 1, 0}, std::tuple{"-73 0 0", 98, 0},
        std::tuple{"2147483647 2147483647 2147483647", INT_MIN, 1},
        std::tuple{"-2147483648 -2147483648 -2147483648", INT_MAX, 0}}) {
    reset_game_state();
    std::string out = run(std::string("Bo ") + answers + "\n", [] { p1.get_nameStats(); });
    EXPECT_EQ(out.substr(out.rfind(':') + 1), "You have " + std::to_string(health) + " Hit points.\n")
        << answers;
    EXPECT_EQ(p1.gameOver, gameOver) << answers;
  }
}

// Damage is (strength + a) / 2 and defense (speed + b) / 2 for each weapon's
// own a and b, truncated toward zero; the staff adds 3 magic; any number
// outside 1 to 8 ends the game and sets nothing else.
TEST_F(Creation, WeaponRowsTruncateTowardZero) {
  using Row = std::array<int, 4>;  // range, damage, defense, ammo
  // for strength 8 and speed 7, then for strength -10 and speed -13
  const Row rows[8][2] = {{{1, 5, 6, 0}, {1, -3, -3, 0}},     {{2, 6, 5, 0}, {2, -2, -5, 0}},
                          {{10, 4, 4, 20}, {10, -4, -6, 20}}, {{11, 4, 8, 0}, {11, -4, -1, 0}},
                          {{7, 7, 6, 15}, {7, -1, -4, 15}},   {{3, 7, 4, 0}, {3, -1, -5, 0}},
                          {{2, 8, 4, 0}, {2, -1, -6, 0}},     {{3, 7, 5, 0}, {3, -2, -5, 0}}};
  for (int w = 0; w <= 9; ++w) {
    for (int negative : {0, 1}) {
      p1 = CPlayer{};
      p1.strength = negative ? -10 : 8;
      p1.speed = negative ? -13 : 7;
      p1.magic = 5;
      std::string out = run(std::to_string(w) + "\n", [] { p1.get_weapon(); });
      EXPECT_EQ(p1.weaponNum, w);
      if (w < 1 || w > 8) {
        EXPECT_EQ(out, texts::kWeaponMenu + "you didn't enter a valid choice. game ending.");
        EXPECT_EQ((Row{p1.range, p1.damage, p1.defense, p1.gameOver}), (Row{0, 0, 0, 1})) << w;
        continue;
      }
      EXPECT_EQ(out, texts::kWeaponMenu + (w == 5 ? "You get a bonus to your magic!\n" : ""));
      EXPECT_EQ((Row{p1.range, p1.damage, p1.defense, p1.ammo}), rows[w - 1][negative]) << w;
      EXPECT_EQ(p1.magic, w == 5 ? 8 : 5) << w;
    }
  }
  p1.strength = p1.magic = INT_MAX;
  run("5\n", [] { p1.get_weapon(); });
  EXPECT_EQ(p1.magic, INT_MAX);
  EXPECT_EQ(p1.damage, 1073741827);
}

TEST_F(Creation, LevelUpsClimbTheRanksToLevelNine) {
  p1 = CPlayer{0, 8, 7, 5, 5, 1, 1, 6, 5, 0, 1, 0, 0, 40, "Ann"};
  EXPECT_EQ(run("1\n", [] { p1.stats_increase1(); }),
            "\nCongratulations! You get a 1 point bonus for all skills\nYou are level 2\n"
            "You have advanced to the rank of trainee!\nYou are now Ann the trainee \n"
            "Strength:      9\nSpeed:         8\nHit Points:    8\nMagic:         8\n"
            "Weapon:        Short sword and small sheild\nRange:         1\nDefense points:7\n"
            "Attack Damage: 6\nGold:          40\nEnter a number to continue:\n" +
                kClear);
  for (std::string rank : {"warrior", "knight", "paladin", "champion", "master", "king"}) {
    std::string out = run("1\n", [] { p1.stats_increase1(); });
    EXPECT_NE(out.find("\nYou have advanced to the rank of " + rank + "!\nYou are now Ann the " + rank + " \n"),
              std::string::npos)
        << out;
  }
  std::string out = run("1\n", [] { p1.stats_increase1(); });
  EXPECT_NE(out.find("skills\nYou are level 9\nYou are now Ann \nStrength:      16\n"), std::string::npos) << out;
}

}  // namespace
