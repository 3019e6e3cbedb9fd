#include <ostream>

#include "combat/combat.h"
#include "combat/round.h"
#include "console/console.h"
#include "console/screens.h"
#include "items/items.h"
#include "player/clamped.h"
#include "player/player.h"
#include "savegame/savegame.h"

namespace {

void approach(CEnemy& enemy) {
  if (enemy.distance > static_cast<long long>(enemy.speed) + 1) {
    enemy.distance = clamped_sub(enemy.distance, enemy.speed);
  } else {
    enemy.distance = 1;
  }
}

void show_approach(CEnemy& enemy) {
  std::ostream& out = console::out();
  if (enemy.speedHidden == 1) {
    out << "He is moving too fast for you to tell where he is. you'll have to trust your instinct.\n";
    return;
  }
  out << "He moves toward you\np1, He is " << enemy.distance << " feet away from you.\n";
  enemy.mapPos = enemy.distance / 2;
  p1.mapPos = -(enemy.distance / 2);
  enemy.print_battleMap();
}

void strike(const CEnemy& enemy) {
  std::ostream& out = console::out();
  if (enemy.distance > enemy.range) {
    out << "He is too far away to attack you.\n";
    return;
  }
  out << "He is in range and is attacking you!\n";
  if (enemy.strength > p1.defense) {
    out << "He breaks your defenses. You take " << enemy.damage << " damage.\n";
    p1.health = clamped_sub(p1.health, enemy.damage);
    out << "You have " << p1.health << " health left.\n";
  } else {
    out << "He attacks but fails to break your defenses.\n";
  }
}

void enemy_phase(CEnemy& enemy, BattleState& state) {
  std::ostream& out = console::out();
  if (state.frozenRounds != 0) {
    out << "He is frozen and still " << enemy.distance << " away from you.\n";
    --state.frozenRounds;
    return;
  }
  approach(enemy);
  show_approach(enemy);
  if (state.enchantRounds > 0) {
    out << "Your enchantment will last " << state.enchantRounds << " more rounds.\n";
  }
  strike(enemy);
}

void count_down_enchantment(BattleState& state) {
  if (state.enchantRounds > 0 && --state.enchantRounds == 0) end_enchantment(state);
}

// One round; false when the hero has died in it.
bool play_round(CEnemy& enemy, BattleState& state) {
  std::ostream& out = console::out();
  out << "Enter a number to continue:";
  console::read_int();
  out << "\nRound:" << state.roundNum << '\n';
  enemy_phase(enemy, state);
  if (p1.health <= 0) {
    out << "You have died. Ending Game...\n";
    end_enchantment(state);
    p1.gameOver = 1;
    return false;
  }
  hero_action(enemy, state);
  if (enemy.health <= 0) {
    out << "He is defeated!\n";
    p1.gold = clamped_add(p1.gold, enemy.goldReward);
    state.battleOn = 0;
  }
  count_down_enchantment(state);
  out << "Turn over\n";
  state.roundNum = clamped_add(state.roundNum, 1);
  return true;
}

}  // namespace

void end_enchantment(BattleState& state) {
  if (!state.enchanted) return;
  console::out() << "The effects of your weapon enchantment have worn off.\n";
  p1.strength = clamped_sub(p1.strength, state.enchantStrength);
  p1.damage = clamped_sub(p1.damage, state.enchantDamage);
  state.enchantStrength = 0;
  state.enchantDamage = 0;
  state.enchanted = false;
}

void CEnemy::battle_func() {
  std::ostream& out = console::out();
  p1.battleNum = clamped_add(p1.battleNum, 1);
  p1.print_stats();
  print_sword();
  out << "\nAn enemy approaches!\n";
  print_EStats();
  BattleState state;
  state.startHealth = p1.health;
  out << "\nNOTE: entering 0 as a choice will cancel your action and end your turn\n";
  while (state.battleOn == 1) {
    if (!play_round(*this, state)) return;
  }
  // A duel won before the enchantment ran out still ends it.
  end_enchantment(state);
  check_toSave();
  shop();
}
