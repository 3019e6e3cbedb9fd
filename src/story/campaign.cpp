#include <ostream>

#include "combat/combat.h"
#include "console/console.h"
#include "console/screens.h"
#include "player/clamped.h"
#include "player/player.h"
#include "story/passages.h"
#include "story/story.h"

namespace {
constexpr int kHorsemanLimit = 20;
constexpr int kTrackEnd = 30;
constexpr int kArmWound = 2;

// name, strength, speed, health, weapon, defense, damage, range, distance, gold
constexpr EnemyRecord kKai = {9, 8, 3, 7, 3, 7, 2, 10, 15, 150};
constexpr EnemyRecord kArthon = {10, 15, 2, 10, 9, 7, 5, 5, 20, 600};
}  // namespace

// Each passage calls the next as its last step; the story ends early only
// when the hero falls in the first duel.
void print_storyIntro() {
  console::out() << kPrologue << '\n';
  battle_story1();
  if (p1.gameOver == 1) return;
  print_story1();
}

void print_story1() {
  console::out() << kTrainingPassed << '\n';
  print_story1_2();
}

void print_story1_2() {
  std::ostream& out = console::out();
  out << kAmbush << '\n';
  continue_wait();
  int killed = shoot_horsemen(kHorsemanLimit, kTrackEnd);
  clear_screen();
  out << "Erevon looked around him and then back at you. 'You killed " << killed << kErevonsTaunt
      << '\n';
  out << "You took 2 points dm from your arm wound\n";
  // The hero rides into the next duel wounded, even down to nothing left.
  p1.health = clamped_sub(p1.health, kArmWound);
  battle_story2();
}

// Story duels bring gold, the save prompt and the shop, but no level-up: that
// belongs to the arena ladder.
void battle_story1() {
  CEnemy kai = make_enemy(kKai);
  kai.battle_func();
}

void battle_story2() {
  CEnemy arthon = make_enemy(kArthon);
  arthon.battle_func();
}
