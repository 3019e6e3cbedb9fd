#include <ostream>

#include "combat/combat.h"
#include "combat/round.h"
#include "console/console.h"
#include "items/items.h"
#include "player/clamped.h"
#include "player/player.h"

namespace {

enum Action { kAttack = 1, kMove, kMagic, kRest, kItem };

void attack(CEnemy& enemy) {
  std::ostream& out = console::out();
  if (p1.range < enemy.distance) {
    out << "You are not in range\n";
    return;
  }
  out << "You are in range...\nChecking enemy's defense...\n";
  if (p1.strength < enemy.defense) {
    out << "Your attack is unsucessful\n";
    return;
  }
  out << "Your attack is sucessful. He takes " << p1.damage << " damage.\n";
  enemy.health = clamped_sub(enemy.health, p1.damage);
  out << "He has " << enemy.health << " health left\n";
}

void move(CEnemy& enemy) {
  std::ostream& out = console::out();
  out << "Move forward or back? (1.forward 2.back) ";
  int way = console::read_int();
  if (way == 1) {
    out << "You are moving forward...\n";
    enemy.distance = clamped_sub(enemy.distance, p1.speed);
  } else if (way == 2) {
    out << "You are moving backward...\n";
    enemy.distance = clamped_add(enemy.distance, p1.speed);
  } else {
    return;
  }
  out << "He is now " << enemy.distance << " feet away from you.\n";
}

// Health lost in the duel comes back one point at a time; a hero at full
// health gathers magic instead.
void rest(const BattleState& state) {
  std::ostream& out = console::out();
  out << "you rest for a turn\n";
  if (p1.health < state.startHealth) {
    p1.health = clamped_add(p1.health, 1);
    out << "you have " << p1.health << " HP now.\n";
    return;
  }
  out << "You don't gain any health because you have full health for your level\n";
  p1.magic = clamped_add(p1.magic, 1);
  out << "You instead gain 1 magic point to " << p1.magic << " magic points.\n";
}

// The listing numbers the slots from 0; a number naming no slot is an empty one.
void use_carried_item() {
  print_ownedItems();
  int slot = console::read_int();
  use_item(slot >= 0 && slot < kItemSlots ? itemIdNum[slot] : 0);
}

}  // namespace

void hero_action(CEnemy& enemy, BattleState& state) {
  console::out() << "Will you attempt an attack, make a move, use magic, rest, or use an item?\n"
                    "(1.attack or 2.move 3.use magic 4.rest 5.item)\n"
                    "(you have "
                 << p1.magic << " magic)\n>>";
  state.actionChoice = console::read_int();
  switch (state.actionChoice) {
    case kAttack: attack(enemy); break;
    case kMove: move(enemy); break;
    case kMagic: cast_spell(enemy, state); break;
    case kRest: rest(state); break;
    case kItem: use_carried_item(); break;
    default: break;
  }
}
