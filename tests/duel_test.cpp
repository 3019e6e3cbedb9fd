// What the golden games cannot show of a duel: an enemy record no opponent
// has, and the random spell, whose draws follow the clock.
#include <cstdio>
#include <set>

#include "combat/combat.h"
#include "console/console.h"
#include "harness.h"
#include "player/player.h"

namespace {

class Duel : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    // gameOver, strength, speed, health, magic, weapon, range, defense, damage, ammo, level, ...
    p1 = CPlayer{0, 10, 5, 10, 10, 2, 2, 5, 3, 0, 1, 0, 0, 0, "Ann"};
    enemy = make_enemy({9, 1, 0, 50, 3, 7, 2, 0, 15, 150});
  }
  // The duel from its opening stat sheet to the end of `rounds`, where the
  // input runs out.
  std::string fight(const std::string& rounds) {
    return run("0\n" + rounds + "\n", [this] {
      EXPECT_THROW(enemy.battle_func(), console::InputEnded);
    });
  }
  CEnemy enemy = {};
};

// No opponent has an unknown name or weapon, or a hidden speed.
TEST_F(Duel, EnemySheetHandlesHiddenSpeedAndUnknownNumbers) {
  enemy.setEStats(0, 1, 2, 3, 16, 4, 5, 6, 0, 30, 8);
  enemy.speedHidden = 1;
  EXPECT_NE(fight("0 0").find("Enemy name:    \nStrength:      1\nSpeed:          Unknown!!\nHit Points:    3\n"
                              "Weapon:        \nRange:         6\nDefense points:4\nAttack Damage: 5\n"),
            std::string::npos);
  EXPECT_NE(fight("0 0").find("Round:1\nHe is moving too fast for you to tell where he is. you'll have "
                              "to trust your instinct.\nHe is too far away to attack you.\n"),
            std::string::npos);
}

// Each cast draws the reach from 7 to 11 anew from the clock, then the damage
// from 2 to 7; at 7 feet every reach hits.
TEST_F(Duel, DancingFlamesDrawsReachThenDamageFromTheClock) {
  auto cast_at = [this](std::uint32_t tick) {
    set_fake_ticks(tick);
    p1.magic = 4;
    enemy.distance = 7;
    enemy.health = 50;
    return fight("0 3 6");
  };
  std::set<int> reaches, damages;
  for (std::uint32_t tick = 0; tick < 40; ++tick) {
    const std::string out = cast_at(tick);
    const std::size_t at = out.find("You random range is ");
    int reach = 0, damage = 0, left = 0;
    ASSERT_EQ(at == std::string::npos ? 0 : std::sscanf(out.c_str() + at,
                  "You random range is %d.\nHe is in range of your magic and you deal him %d dm, "
                  "he has %d HP left.\nyou have 0 magic", &reach, &damage, &left), 3) << out;
    EXPECT_EQ(left, 50 - damage);
    reaches.insert(reach);
    damages.insert(damage);
  }
  EXPECT_EQ(cast_at(5), cast_at(5)) << "the same tick, the same draws";
  EXPECT_EQ(reaches, (std::set<int>{7, 8, 9, 10, 11}));
  EXPECT_EQ(damages, (std::set<int>{2, 3, 4, 5, 6, 7}));
}

}  // namespace
