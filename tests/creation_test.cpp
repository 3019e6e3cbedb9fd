// The weapons, at the edges of the int range. (Hit points: the golden games
// hit_points_*.)
#include <array>
#include <climits>
#include <string>

#include "harness.h"
#include "player/player.h"

namespace {

using Creation = GameTest;

// Damage is (strength + a) / 2 and defense (speed + b) / 2 for each weapon's
// own a and b, truncated toward zero; the staff adds 3 magic; any number
// outside 1 to 8 ends the game and sets nothing else.
TEST_F(Creation, WeaponRowsTruncateTowardZero) {
  using Row = std::array<int, 5>;  // range, damage, defense, ammo, magic
  // for strength 8, speed 7 and magic 5, then for strength -10 and speed -13
  const Row rows[8][2] = {{{1, 5, 6, 0, 5}, {1, -3, -3, 0, 5}},     {{2, 6, 5, 0, 5}, {2, -2, -5, 0, 5}},
                          {{10, 4, 4, 20, 5}, {10, -4, -6, 20, 5}}, {{11, 4, 8, 0, 5}, {11, -4, -1, 0, 5}},
                          {{7, 7, 6, 15, 8}, {7, -1, -4, 15, 8}},   {{3, 7, 4, 0, 5}, {3, -1, -5, 0, 5}},
                          {{2, 8, 4, 0, 5}, {2, -1, -6, 0, 5}},     {{3, 7, 5, 0, 5}, {3, -2, -5, 0, 5}}};
  for (int w = 0; w <= 9; ++w) {
    for (int negative : {0, 1}) {
      p1 = CPlayer{};
      p1.strength = negative ? -10 : 8;
      p1.speed = negative ? -13 : 7;
      p1.magic = 5;
      const std::string out = run(std::to_string(w) + "\n", [] { p1.get_weapon(); });
      const bool valid = w >= 1 && w <= 8;
      EXPECT_EQ(out.substr(out.rfind(">>") + 2), !valid ? "you didn't enter a valid choice. game ending."
                                                 : w == 5 ? "You get a bonus to your magic!\n" : "");
      EXPECT_EQ((Row{p1.range, p1.damage, p1.defense, p1.ammo, p1.magic}),
                (valid ? rows[w - 1][negative] : Row{0, 0, 0, 0, 5})) << w;
      EXPECT_EQ(p1.weaponNum, w);
      EXPECT_EQ(p1.gameOver, valid ? 0 : 1);
    }
  }
  p1.strength = p1.magic = INT_MAX;
  run("5\n", [] { p1.get_weapon(); });
  EXPECT_EQ(p1.magic, INT_MAX);
  EXPECT_EQ(p1.damage, 1073741827);
}

}  // namespace
