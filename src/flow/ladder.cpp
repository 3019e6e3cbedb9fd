#include <ostream>

#include "combat/combat.h"
#include "console/console.h"
#include "flow/flow.h"
#include "items/items.h"
#include "player/player.h"
#include "savegame/savegame.h"

namespace {

// Ladder battles 1 to 8, by their number (not their place on the ladder).
void arena_battle(int number) {
  // The first opponent matches the hero's defense exactly, and a strike must
  // exceed it to wound: the warm-up duel can never hurt the hero.
  // name, strength, speed, health, weapon, defense, damage, range, distance, gold
  const EnemyRecord arena[] = {
      {1, p1.defense, 5, 8, 6, 6, 3, 2, 25, 100},
      {2, 10, 7, 12, 9, 9, 5, 5, 30, 200},
      {3, 9, 10, 11, 10, 9, 5, 8, 55, 200},
      {4, 12, 8, 12, 11, 9, 5, 3, 25, 300},
      {5, 10, 8, 14, 13, 12, 4, 15, 50, 600},
      {6, 12, 13, 16, 10, 12, 5, 20, 100, 1000},
      {7, 13, 7, 18, 14, 12, 5, 3, 30, 2500},
      {8, 18, 3, 22, 15, 10, 10, 2, 5, 3000},
  };
  CEnemy enemy = make_enemy(arena[number - 1]);
  enemy.battle_func();
  if (p1.gameOver != 1) p1.stats_increase1();
}

using Battle = void (*)();
// The ladder's steps 1 to 8 play the battles in this order.
constexpr Battle kLadder[] = {battle_practice1, battle_practice3, battle_practice2, battle_practice4,
                              battle_practice5, battle_practice6, battle_practice7, battle_practice8};
constexpr int kSteps = 8;

// Steps after `step` (1-based), each only while the hero lives, each followed
// by the save prompt.
void play_steps_after(int step) {
  for (int next = step; next < kSteps; ++next) {
    if (p1.gameOver == 1) return;
    kLadder[next]();
    check_toSave();
  }
}

}  // namespace

void battle_practice1() { arena_battle(1); }
void battle_practice2() { arena_battle(2); }
void battle_practice3() { arena_battle(3); }
void battle_practice4() { arena_battle(4); }
void battle_practice5() { arena_battle(5); }
void battle_practice6() { arena_battle(6); }
void battle_practice7() { arena_battle(7); }
void battle_practice8() { arena_battle(8); }

void play_ladder() { play_steps_after(0); }

// A resumed hero replays the step it saved at at once, unguarded; a start
// outside the ladder's first seven steps plays only the warm-up duel.
int goto_battle(int start) {
  if (start >= 1 && start < kSteps) {
    kLadder[start - 1]();
    play_steps_after(start);
  } else {
    battle_practice1();
  }
  return 0;
}

void goto_devMode() {
  std::ostream& out = console::out();
  out << "Welcome to Dev mode!\n";
  p1.strength = 10;
  p1.speed = 10;
  p1.health = 20;
  p1.magic = 10;
  p1.gold = 5000;
  out << "Where do you wish to go?\n\t1.battles\n"
         "\tX2.other(stats(WARNING; using stats through Devmode can cause problems),\t\t  printings, "
         "etc.)\n\t3.shop(not as of yet)\n";
  int choice = console::read_int();
  if (choice == 1) {
    out << "which battle?(1-8)\n";
    goto_battle(console::read_int());
  } else if (choice == 3) {
    shop();
  }
}
