#include <array>
#include <climits>
#include <string>
#include <tuple>

#include "console/console.h"
#include "game_texts.h"
#include "harness.h"
#include "player/player.h"

namespace {

using namespace texts;

using Creation = GameTest;

TEST_F(Creation, NameAndSkillPointsLeaveTheRestAsHitPoints) {
  EXPECT_EQ(run("Ann 8 7 5\n", [] { p1.get_nameStats(); }),
            kWelcome + "Ann" + kSkillPoints +
                "Enter Strength:Enter Speed:Enter magic power:You have 5 Hit points.\n");
  EXPECT_STREQ(p1.name, "Ann");
  EXPECT_EQ(p1.strength + p1.speed + p1.magic + p1.health, 25);
  EXPECT_EQ(p1.level, 1);
  EXPECT_EQ(p1.battleNum, 0);
  EXPECT_EQ(p1.gameOver, 0);

  struct Case {
    const char* answers;
    int health;
    int gameOver;
  };
  for (Case c : {Case{"10 10 5", 0, 1}, Case{"20 10 0", -5, 1}, Case{"-5 0 0", 30, 0},
                 Case{"2147483647 2147483647 2147483647", INT_MIN, 1},
                 Case{"-2147483648 -2147483648 -2147483648", INT_MAX, 0}}) {
    p1 = CPlayer{};
    std::string out = run(std::string("Bo ") + c.answers + "\n", [] { p1.get_nameStats(); });
    EXPECT_NE(out.find("You have " + std::to_string(c.health) + " Hit points.\n"),
              std::string::npos)
        << c.answers;
    EXPECT_EQ(p1.health, c.health) << c.answers;
    EXPECT_EQ(p1.gameOver, c.gameOver) << c.answers;
  }
}

TEST_F(Creation, DeveloperValueEndsCreationAfterStrength) {
  int next = 0;
  EXPECT_EQ(run("Dev 73 4\n",
                [&] {
                  p1.get_nameStats();
                  next = console::read_int();
                }),
            kWelcome + "Dev" + kSkillPoints + "Enter Strength:");
  EXPECT_EQ(nDevMode, 1);
  EXPECT_EQ(p1.strength, 73);
  EXPECT_EQ(p1.level, 0);
  EXPECT_EQ(next, 4);  // speed was never asked

  for (const char* near : {"72", "74", "-73"}) {
    reset_game_state();
    run(std::string("Dev ") + near + " 1 1\n", [] { p1.get_nameStats(); });
    EXPECT_EQ(nDevMode, 0) << near;
  }
}

TEST_F(Creation, EveryWeaponRowTruncatesTowardZero) {
  using Row = std::array<int, 4>;  // range, damage, defense, ammo
  // strength 8, speed 7, and strength -10, speed -13 where halving truncates
  const Row positive[] = {{1, 5, 6, 0},  {2, 6, 5, 0}, {10, 4, 4, 20}, {11, 4, 8, 0},
                          {7, 7, 6, 15}, {3, 7, 4, 0}, {2, 8, 4, 0},   {3, 7, 5, 0}};
  const Row negative[] = {{1, -3, -3, 0},  {2, -2, -5, 0}, {10, -4, -6, 20}, {11, -4, -1, 0},
                          {7, -1, -4, 15}, {3, -1, -5, 0}, {2, -1, -6, 0},   {3, -2, -5, 0}};
  for (int w = 1; w <= 8; ++w) {
    for (auto [strength, speed, want] :
         {std::tuple{8, 7, positive[w - 1]}, std::tuple{-10, -13, negative[w - 1]}}) {
      p1 = CPlayer{};
      p1.strength = strength;
      p1.speed = speed;
      p1.magic = 5;
      EXPECT_EQ(run(std::to_string(w) + "\n", [] { p1.get_weapon(); }),
                kWeaponMenu + (w == 5 ? "You get a bonus to your magic!\n" : ""));
      EXPECT_EQ((Row{p1.range, p1.damage, p1.defense, p1.ammo}), want) << w << " " << strength;
      EXPECT_EQ(p1.magic, w == 5 ? 8 : 5) << w;
      EXPECT_EQ(p1.weaponNum, w);
      EXPECT_EQ(p1.gameOver, 0);
    }
  }
}

TEST_F(Creation, StaffBonusComesAfterTheHitPoints) {
  run("Ann 5 5 5 5\n", [] {
    p1.get_nameStats();
    p1.get_weapon();
  });
  EXPECT_EQ(p1.health, 10);
  EXPECT_EQ(p1.magic, 8);

  p1.strength = INT_MAX;
  p1.magic = INT_MAX;
  run("5\n", [] { p1.get_weapon(); });
  EXPECT_EQ(p1.magic, INT_MAX);
  EXPECT_EQ(p1.damage, 1073741827);
}

TEST_F(Creation, InvalidWeaponEndsTheGameWithoutALineBreak) {
  for (int w : {0, 9, -1}) {
    p1 = CPlayer{};
    p1.range = 4;
    EXPECT_EQ(run(std::to_string(w) + "\n", [] { p1.get_weapon(); }),
              kWeaponMenu + "you didn't enter a valid choice. game ending.");
    EXPECT_EQ(p1.weaponNum, w);
    EXPECT_EQ(p1.range, 4);
    EXPECT_EQ(p1.gameOver, 1);
  }
}

using Sheet = GameTest;

const std::string kSheet7 =
    "Strength:      -3\n"
    "Speed:         2\n"
    "Hit Points:    0\n"
    "Magic:         11\n"
    "Weapon:        Short sword and small sheild\n"
    "Range:         1\n"
    "Defense points:7\n"
    "Attack Damage: 0\n"
    "Gold:          250\n"
    "Enter a number to continue:";

TEST_F(Sheet, StatSheetWaitsForANumberThenClears) {
  p1 = CPlayer{0, -3, 2, 0, 11, 1, 1, 7, 0, 0, 1, 0, 0, 250, "Ann"};
  EXPECT_EQ(run("6\n", [] { p1.print_stats(); }), kSheet7 + "\n" + kClear);
}

TEST_F(Sheet, LevelUpsClimbTheRanksToLevelNine) {
  p1 = CPlayer{0, 8, 7, 5, 5, 3, 10, 4, 4, 20, 1, 1, 0, 40, "Ann"};
  EXPECT_EQ(run("1\n", [] { p1.stats_increase1(); }),
            "\nCongratulations! You get a 1 point bonus for all skills\n"
            "You are level 2\n"
            "You have advanced to the rank of trainee!\n"
            "You are now Ann the trainee \n"
            "Strength:      9\n"
            "Speed:         8\n"
            "Hit Points:    8\n"
            "Magic:         8\n"
            "Weapon:        Great bow and arrows\n"
            "Range:         10\n"
            "Defense points:5\n"
            "Attack Damage: 5\n"
            "Gold:          40\n"
            "Enter a number to continue:\n" +
                kClear);
  EXPECT_EQ(p1.ammo, 20);

  const char* ranks[] = {"warrior", "knight", "paladin", "champion", "master", "king"};
  for (int level = 3; level <= 8; ++level) {
    std::string out = run("1\n", [] { p1.stats_increase1(); });
    std::string rank = ranks[level - 3];
    EXPECT_NE(
        out.find("You are level " + std::to_string(level) + "\nYou have advanced to the rank of " +
                 rank + "!\nYou are now Ann the " + rank + " \nStrength:"),
        std::string::npos)
        << out;
  }
  std::string out = run("1\n", [] { p1.stats_increase1(); });
  EXPECT_NE(out.find("skills\nYou are level 9\nYou are now Ann \nStrength:      16\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(p1.health, 5 + 8 * 3);

  p1 = CPlayer{0,       INT_MAX, INT_MAX, INT_MAX, INT_MAX, 1, 1,  INT_MAX,
               INT_MAX, 0,       INT_MAX, 0,       0,       0, "X"};
  run("1\n", [] { p1.stats_increase1(); });
  EXPECT_EQ(p1.level, INT_MAX);
  EXPECT_EQ(p1.health, INT_MAX);
}

}  // namespace
