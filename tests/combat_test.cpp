#include <algorithm>

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
    enemy.setEStats(9, 8, 3, 7, 3, 7, 2, 10, 0, 15, 150);
  }
  // Plays the duel; `rounds` answers the round prompts and actions. The
  // opening stat sheet is answered first, and after a victory the save
  // prompt and the shop are declined.
  std::string fight(const std::string& rounds) {
    return run("0\n" + rounds + "\n0 0 0\n", [this] {
      try {
        enemy.battle_func();
      } catch (const console::InputEnded&) {
      }
    });
  }
  CEnemy enemy = {};
};

TEST_F(Duel, OpeningAndFirstRoundReadExactly) {
  std::string out = fight("0 0");  // round 1: continue, then cancel
  EXPECT_EQ(out.substr(0, out.find("Round:2")),
            "Strength:      10\nSpeed:         5\nHit Points:    10\nMagic:         10\n"
            "Weapon:        Long sword\nRange:         2\nDefense points:5\nAttack Damage: 3\n"
            "Gold:          0\nEnter a number to continue:\n" + kClear +
            "      /\\\t\t\t\t\t                  \n"
            " ____/\t|_________________________________  \n"
            "{|___| O _________________________________} \n"
            "     \\  |\t\t\t\t\t\t\t\t\t      \\/\t\t\t\t\t\t\t\t\t  \n"
            "\nAn enemy approaches!\n"
            "Enemy name:    Rebel trainer Kai\nStrength:      8\nSpeed:         3\n"
            "Hit Points:    7\nWeapon:        Great bow and arrows\nRange:         10\n"
            "Defense points:7\nAttack Damage: 2\n"
            "\nNOTE: entering 0 as a choice will cancel your action and end your turn\n"
            "Enter a number to continue:\nRound:1\n"
            "He moves toward you\np1, He is 12 feet away from you.\n"
            "_X___=___________________O_ \n"
            "He is too far away to attack you.\n"
            "Will you attempt an attack, make a move, use magic, rest, or use an item?\n"
            "(1.attack or 2.move 3.use magic 4.rest 5.item)\n(you have 10 magic)\n>>"
            "Turn over\nEnter a number to continue:\n");
  EXPECT_EQ(p1.battleNum, 1);
}

TEST_F(Duel, StripShowsReachAndBothFigures) {
  struct Case { int distance, range; const char* strip; };
  for (Case c : {Case{1, 5, "___XO___ \n"}, Case{2, 1, "_X_=_O_ \n"}, Case{4, 2, "_X___=___O_ \n"},
                 Case{7, 2, "_X___=_______O_ \n"}, Case{10, 3, "_X_____=_____________O_ \n"},
                 Case{10, 10, "_X___________________O_ \n"}}) {
    enemy.distance = c.distance;
    enemy.mapPos = c.distance / 2;
    p1.mapPos = -(c.distance / 2);
    p1.range = c.range;
    EXPECT_EQ(run("", [this] { enemy.print_battleMap(); }), c.strip) << c.distance;
  }
}

TEST_F(Duel, StripStopsWideningForAbsurdDistances) {
  enemy.distance = 2000000000;
  enemy.mapPos = enemy.distance / 2;
  p1.mapPos = -enemy.mapPos;
  std::string strip = run("", [this] { enemy.print_battleMap(); });
  EXPECT_EQ(strip.size(), 1 + 2 * 2001 + 2u);
  EXPECT_EQ(strip.substr(0, 8), "_X___=__");
  EXPECT_EQ(strip.substr(strip.size() - 5), "_O_ \n");
}

TEST_F(Duel, EnemySheetHandlesHiddenSpeedAndUnknownNumbers) {
  enemy.setEStats(0, 1, 2, 3, 16, 4, 5, 6, 0, 7, 8);
  enemy.speedHidden = 1;
  EXPECT_EQ(run("", [this] { enemy.print_EStats(); }),
            "Enemy name:    \nStrength:      1\nSpeed:          Unknown!!\nHit Points:    3\n"
            "Weapon:        \nRange:         6\nDefense points:4\nAttack Damage: 5\n");
}

TEST_F(Duel, ApproachStopsOneFootAwayAndStrikesOnlyAboveDefense) {
  enemy.setEStats(1, 5, 20, 50, 6, 6, 3, 2, 0, 21, 100);  // strength equals defense
  std::string out = fight("0 0 0 0");
  expect_in_order(out, {"p1, He is 1 feet away from you.\n___XO___ \n",
                        "He is in range and is attacking you!\n"
                        "He attacks but fails to break your defenses.\n"});
  enemy.setEStats(1, 6, 20, 50, 6, 6, 3, 2, 0, 21, 100);
  out = fight("0 0 0 0");
  expect_in_order(out, {"He breaks your defenses. You take 3 damage.\nYou have 7 health left.\n"});
}

TEST_F(Duel, DeathEndsTheDuelAtOnce) {
  enemy.setEStats(8, 18, 3, 22, 15, 10, 10, 2, 0, 5, 3000);
  std::string out = fight("0 4");
  expect_in_order(out, {"Round:1\n", "You have 0 health left.\nYou have died. Ending Game...\n"});
  EXPECT_FALSE(out.substr(out.find("Ending Game")).find("Turn over") != std::string::npos);
  EXPECT_EQ(count_of(out, "save?"), 0u);
  EXPECT_EQ(p1.gameOver, 1);
  EXPECT_EQ(p1.battleNum, 1);
}

TEST_F(Duel, AttackReachesAtRangeAndHitsAtEqualStrength) {
  enemy.setEStats(9, 1, 0, 7, 3, 10, 2, 0, 0, 2, 150);  // defense equals strength
  std::string out = fight("0 1 0 1 0 1 0");
  expect_in_order(out, {"You are in range...\nChecking enemy's defense...\n"
                        "Your attack is sucessful. He takes 3 damage.\nHe has 4 health left\n",
                        "He has 1 health left\n", "He has -2 health left\nHe is defeated!\nTurn over\n"
                        "save?(will overwrite old game)(1 for yes): " + kClear +
                            "You have entered the shop.\nYou have 150 gold\n"});
  enemy.setEStats(9, 1, 0, 7, 3, 11, 2, 0, 0, 3, 150);
  out = fight("0 1 0");
  expect_in_order(out, {"You are not in range\n"});
  enemy.distance = 2;
  out = fight("0 1 0");
  expect_in_order(out, {"Your attack is unsucessful\n"});
}

TEST_F(Duel, MovesAreUnboundedAndTheApproachResetsToOneFoot) {
  enemy.setEStats(9, 1, 0, 7, 3, 7, 2, 0, 0, 3, 150);
  std::string out = fight("0 2 1 0 2 2 0 2 3 0");
  expect_in_order(out, {"Move forward or back? (1.forward 2.back) You are moving forward...\n"
                        "He is now -2 feet away from you.\n",
                        "p1, He is 1 feet away from you.\n",
                        "You are moving backward...\nHe is now 6 feet away from you.\n",
                        "Move forward or back? (1.forward 2.back) Turn over\n"});
}

TEST_F(Duel, SpellMenuAndMagicLine) {
  std::string out = fight("0 3 0");
  expect_in_order(out, {"(you have 10 magic)\n>>What spell do you cast?\n   0.Cancel\n"
                        "   1.Magic missile(2 magic....15 range............2 dm.........................)"
                        "   2.Enchant weapon(4 magic...null range..........null dm..ex: atk stat bonuses)"
                        "   3.Freeze opponent(5 magic..20 range............0 dm.....ex: enemy frozen....)"
                        "   4.Heal(3 magic.............null range..........0 dm.....ex: heal 3 HP.......)"
                        "   5.Power Blast(3 magic......7 range.............4 dm.........................)"
                        "   6.Dancing Flames(4 magic...7-12(random) range..2-8(random) dm...............)"
                        ">>you have 10 magic power left\nTurn over\n"});
}

TEST_F(Duel, DamageSpellsReachAndCost) {
  enemy.setEStats(9, 1, 0, 20, 3, 7, 2, 0, 0, 15, 150);
  std::string out = fight("0 3 1 0 3 5");
  expect_in_order(out, {"He is in range of your magic and you deal him 2 points of damage. He now has \n"
                        "18 health left\nyou have 8 magic power left\n",
                        "He is too far away, your magic cannot reach him\nyou have 5 magic power left\n"});
  enemy.distance = 7;
  out = fight("0 3 5");
  expect_in_order(out, {"you deal him 6 points of damage. He now has \n12 health left\n"});
}

TEST_F(Duel, SpellsRefusedWithoutEnoughMagicCostNothing) {
  struct Case { int magic; const char* spell; const char* refusal; };
  for (Case c : {Case{1, "1", "You don't have enough magic power to cast this spell.\n"},
                 Case{3, "2", "you don't have enough magic power.\n"},
                 Case{4, "3", "You don't have enought magic power to cast this spell\n"},
                 Case{2, "4", "You don't have enought magic power to cast this spell\n"},
                 Case{2, "5", "You don't have enough magic power to cast this spell.\n"},
                 Case{3, "6", "You don't have enough magic power to cast this spell.\n"}}) {
    p1.magic = c.magic;
    p1.health = 10;
    std::string out = fight(std::string("0 3 ") + c.spell);
    expect_in_order(out, {std::string(">>") + c.refusal + "you have " + std::to_string(c.magic) +
                          " magic power left\n"});
  }
}

TEST_F(Duel, FreezeSkipsTwoEnemyPhasesAndNeedsReach) {
  enemy.setEStats(9, 1, 3, 20, 3, 7, 2, 0, 0, 23, 150);
  std::string out = fight("0 3 3 0 0 0 0 0 0");
  expect_in_order(out, {"p1, He is 20 feet away from you.\n", ">>The enemy is frozen for two rounds "
                        "and can't move or attack!\nyou have 5 magic power left\n",
                        "Round:2\nHe is frozen and still 20 away from you.\n",
                        "Round:3\nHe is frozen and still 20 away from you.\n",
                        "Round:4\nHe moves toward you\np1, He is 17 feet away"});
  enemy.distance = 24;
  p1.magic = 10;
  out = fight("0 3 3 0");
  expect_in_order(out, {">>He is too far away, your magic cannot reach him\nyou have 10 magic power left\n"});
}

TEST_F(Duel, EnchantmentCountsDownAndIsTakenBackWhole) {
  enemy.setEStats(9, 1, 0, 99, 3, 50, 2, 0, 0, 30, 150);
  std::string out = fight("0 3 2 0 0 3 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
  expect_in_order(out, {"you recieve bonuses to your attacking power\nStrength:      15\n",
                        "These effects will last for 5 more rounds\n",
                        "Your enchantment will last 4 more rounds.\n",
                        "Strength:      20\n", "These effects will last for 9 more rounds\n",
                        "Your enchantment will last 8 more rounds.\n",
                        "Your enchantment will last 1 more rounds.\n",
                        "The effects of your weapon enchantment have worn off.\nTurn over\n"});
  EXPECT_EQ(count_of(out, "worn off"), 1u);
  EXPECT_EQ(p1.strength, 10);
  EXPECT_EQ(p1.damage, 3);
}

TEST_F(Duel, VictoryOrDeathWhileEnchantedRestoresTheHero) {
  enemy.setEStats(9, 1, 0, 8, 3, 7, 2, 0, 0, 1, 150);
  std::string out = fight("0 3 2 0 0 1 0 1");
  expect_in_order(out, {"He is defeated!\nTurn over\nThe effects of your weapon enchantment have "
                        "worn off.\nsave?"});
  EXPECT_EQ(p1.strength, 10);
  EXPECT_EQ(p1.damage, 3);
  enemy.setEStats(9, 50, 0, 8, 3, 7, 6, 5, 0, 1, 150);
  p1.health = 10;
  out = fight("0 3 2 0 0 0");
  expect_in_order(out, {"You have died. Ending Game...\nThe effects of your weapon enchantment "
                        "have worn off.\n"});
  EXPECT_EQ(p1.strength, 10);
}

TEST_F(Duel, RestHealsUpToTheStartOtherwiseGivesMagic) {
  enemy.setEStats(9, 6, 0, 9, 3, 7, 1, 5, 0, 1, 150);
  std::string out = fight("0 4 0 4");
  expect_in_order(out, {"you rest for a turn\nyou have 10 HP now.\n",
                        "you rest for a turn\nyou have 10 HP now.\n"});
  enemy.setEStats(9, 1, 0, 9, 3, 7, 1, 5, 0, 1, 150);
  out = fight("0 4");
  expect_in_order(out, {"you rest for a turn\nYou don't gain any health because you have full health "
                        "for your level\nYou instead gain 1 magic point to 11 magic points.\n"});
}

TEST_F(Duel, ItemsAreUsedBySlotAndKept) {
  int carried[5] = {1, 2, 3, 4, 0};
  std::copy(carried, carried + 5, itemIdNum);
  std::string out = fight("0 5 0 0 5 0 0 5 1 0 5 2 0 5 3 0 5 7");
  expect_in_order(out, {"0.Mana Gem(you get 5 magic points)\n1.Stone of Healing(you get 3 hit points)\n"
                        "2.Berserker Helmet(you do +5 atk dm)\n3.Winged Boots(your speedis +4)\n4.nothing\n",
                        "You use the Mana Gem. You get 5 magic points\nYou now have 15 magic points.\n",
                        "You now have 20 magic points.\n",
                        "You use the Stone of Healing. You get 3 hit points\nYou now have 9 health points.\n",
                        "You use the Berserker Helmet. You get +5 attack damage\nYou now have 8 attack damage.\n",
                        "You use the Winged Boots. You get +4 speed\nYou now have 9 speed.\n",
                        "There is no item there.\n"});
  EXPECT_EQ(itemIdNum[0], 1);
}

TEST_F(Duel, DancingFlamesDrawsReachThenDamage) {
  enemy.setEStats(9, 1, 0, 50, 3, 7, 2, 0, 0, 7, 150);
  for (std::uint32_t tick = 0; tick < 20; ++tick) {
    set_fake_ticks(tick);
    p1.magic = 4;
    std::string out = fight("0 3 6");
    // The reach is 7 at least, so at 7 feet it always hits.
    expect_in_order(out, {"You random range is ", "HP left.\nyou have 0 magic power left\n"});
  }
  enemy.distance = 12;
  p1.magic = 4;
  std::string out = fight("0 3 6");
  expect_in_order(out, {"Your range is not far enough.\nyou have 0 magic power left\n"});
}

TEST_F(Duel, EndOfInputInTheMiddleOfADuelEndsTheGame) {
  run("0\n0 0\n", [this] { EXPECT_THROW(enemy.battle_func(), console::InputEnded); });
}

}  // namespace
