// What no golden game shows of a duel: the draws, which follow the clock, and what
// no opponent has. (Reaches: spells_and_the_attack_at_the_edges_of_their_reach.)
#include <cstdio>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "combat/combat.h"
#include "console/console.h"
#include "console/screens.h"
#include "harness.h"
#include "player/player.h"

namespace {

class Duel : public GameTest {
 protected:
  void SetUp() override { GameTest::SetUp(), start(); }
  void start() {
    // gameOver, strength, speed, health, magic, weapon, range, defense, damage, ammo, level, ...
    p1 = CPlayer{0, 10, 5, 10, 10, 2, 2, 5, 3, 0, 1, 0, 0, 0, "Ann"};
    enemy = make_enemy({9, 1, 0, 50, 3, 7, 2, 0, 15, 150});
  }
  // The duel from its opening stat sheet to the end of `rounds`, where the input runs out.
  std::string fight(const std::string& rounds) {
    return run("0\n" + rounds + "\n", [this] { EXPECT_THROW(enemy.battle_func(), console::InputEnded); });
  }
  CEnemy enemy = {};
};

// Each cast draws the reach from 7 to 11 anew from the clock, then the damage
// from 2 to 7; at 7 feet every reach hits, at 12 none, and the magic is spent.
TEST_F(Duel, DancingFlamesDrawsReachThenDamageFromTheClock) {
  std::set<int> reaches, damages;
  for (std::uint32_t tick = 0; tick < 40; ++tick) {
    set_fake_ticks(tick), start();
    p1.magic = 4, enemy.distance = 7;
    const std::string out = fight("0 3 6");
    const std::size_t at = out.find("You random range is ");
    int reach = 0, damage = 0, left = 0;
    ASSERT_EQ(at == std::string::npos ? 0 : std::sscanf(out.c_str() + at,
                  "You random range is %d.\nHe is in range of your magic and you deal him %d dm, "
                  "he has %d HP left.\nyou have 0 magic", &reach, &damage, &left), 3) << out;
    EXPECT_EQ(left, 50 - damage);
    reaches.insert(reach), damages.insert(damage);
    start(), p1.magic = 4, enemy.distance = 12;
    EXPECT_NE(fight("0 3 6").find(".\nYour range is not far enough.\nyou have 0 magic"), std::string::npos);
  }
  EXPECT_EQ(reaches, (std::set<int>{7, 8, 9, 10, 11}));
  EXPECT_EQ(damages, (std::set<int>{2, 3, 4, 5, 6, 7}));
}

// Only the ten opponents and the fifteen weapons have names; any other number shows none.
TEST_F(Duel, NamesOfTheFirstAndLastOpponentsAndWeaponsOnly) {
  const std::string shown = run("", [this] {
    for (int n : {-1, 0, 1, 10, 11}) enemy.nameNum = n, enemy.print_EName(), console::out() << '|';
    for (int n : {0, 8, 9, 15, 16}) enemy.weaponNum = n, enemy.print_EChosenWeapon(), console::out() << '|';
  });
  EXPECT_EQ(shown, "||Erevon, Lord of Darkness|Erevon's Bodyguard Arthon|||Mace|Flaming sword and whip|Bloody fists||");
}

// No opponent hides his speed, but one who did would still close in and strike;
// filling him in leaves what the fill is not given, and the unused stat is 0.
TEST_F(Duel, HiddenSpeedHidesTheDistanceButNotTheStrike) {
  EXPECT_EQ(enemy.reservedStat, 0);
  enemy.speedHidden = 1, enemy.mapPos = 3;
  enemy.setEStats(11, 20, 5, 7, 16, 7, 2, 10, 0, 15, 150);
  EXPECT_EQ(enemy.mapPos, 3);
  const std::string out = fight("0 0");
  EXPECT_NE(out.find("Enemy name:    \nStrength:      20\nSpeed:          Unknown!!\nHit Points:    7\n"
                          "Weapon:        \nRange:         10\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Round:1\nHe is moving too fast for you to tell where he is. you'll have to trust your "
                     "instinct.\nHe is in range and is attacking you!\nHe breaks your defenses."), std::string::npos) << out;
}

// Each draw reseeds from the clock: at one tick every call starts the same sequence.
TEST_F(Duel, RandomStartsAfreshAtEveryCall) {
  for (std::uint32_t tick = 0; tick < 40; ++tick) {
    set_fake_ticks(tick);
    const int first = random(0, 24);
    EXPECT_EQ(std::make_tuple(random(0, 24), random(0, 12), random(0, 8)), std::make_tuple(first, first % 12, first % 8));
  }
}

// No caller asks for a draw outside 0 <= lo < hi; one that did would get lo,
// without a division by zero or a wait for ever.
TEST(Random, OutsideItsRangeGivesTheLowEnd) {
  EXPECT_EQ((std::vector<int>{random(-5, 0), random(-9, -2), random(4, 4), random(5, 3)}), (std::vector<int>{-5, -9, 4, 5}));
}

}  // namespace
