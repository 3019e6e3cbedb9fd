#include <ostream>

#include "combat/combat.h"
#include "combat/round.h"
#include "console/console.h"
#include "console/screens.h"
#include "player/clamped.h"
#include "player/player.h"

namespace {

enum Spell { kMagicMissile = 1, kEnchantWeapon, kFreezeOpponent, kHeal, kPowerBlast, kDancingFlames };

constexpr char kTooFar[] = "He is too far away, your magic cannot reach him\n";
constexpr char kTooWeak[] = "You don't have enough magic power to cast this spell.\n";
constexpr char kTooWeakToo[] = "You don't have enought magic power to cast this spell\n";

// Magic missile and Power Blast: fixed damage within a fixed reach. The magic
// is spent whether or not it reaches him.
void blast(CEnemy& enemy, int cost, int reach, int damage) {
  std::ostream& out = console::out();
  if (p1.magic < cost) {
    out << kTooWeak;
    return;
  }
  if (enemy.distance > reach) {
    out << kTooFar;
  } else {
    enemy.health = clamped_sub(enemy.health, damage);
    out << "He is in range of your magic and you deal him " << damage
        << " points of damage. He now has \n"
        << enemy.health << " health left\n";
  }
  p1.magic -= cost;
}

void enchant_weapon(BattleState& state) {
  std::ostream& out = console::out();
  if (p1.magic < 4) {
    out << "you don't have enough magic power.\n";
    return;
  }
  out << "you recieve bonuses to your attacking power\n";
  p1.magic -= 4;
  int strengthBefore = p1.strength;
  int damageBefore = p1.damage;
  p1.strength = clamped_add(p1.strength, 5);
  p1.damage = clamped_add(p1.damage, 2);
  state.enchantStrength = clamped_add(state.enchantStrength, p1.strength - strengthBefore);
  state.enchantDamage = clamped_add(state.enchantDamage, p1.damage - damageBefore);
  state.enchantCasts = clamped_add(state.enchantCasts, 1);
  p1.print_stats();
  state.enchantRounds = clamped_add(state.enchantRounds, 5);
  out << "These effects will last for " << state.enchantRounds << " more rounds\n";
}

// Out of reach the spell is not cast at all, so it costs nothing.
void freeze_opponent(const CEnemy& enemy, BattleState& state) {
  std::ostream& out = console::out();
  if (p1.magic < 5) {
    out << kTooWeakToo;
    return;
  }
  if (enemy.distance > 20) {
    out << kTooFar;
    return;
  }
  out << "The enemy is frozen for two rounds and can't move or attack!\n";
  p1.magic -= 5;
  state.frozenRounds = 2;
}

void heal() {
  std::ostream& out = console::out();
  if (p1.magic < 3) {
    out << kTooWeakToo;
    return;
  }
  p1.magic -= 3;
  p1.health = clamped_add(p1.health, 4);
  out << "You gained 4 HP! You have " << p1.health << " health now\n";
}

void dancing_flames(CEnemy& enemy) {
  std::ostream& out = console::out();
  if (p1.magic < 4) {
    out << kTooWeak;
    return;
  }
  int reach = random(7, 12);
  out << "You random range is " << reach << ".\n";
  if (reach < enemy.distance) {
    out << "Your range is not far enough.\n";
  } else {
    int damage = random(2, 8);
    enemy.health = clamped_sub(enemy.health, damage);
    out << "He is in range of your magic and you deal him " << damage << " dm, he has "
        << enemy.health << " HP left.\n";
  }
  p1.magic -= 4;
}

}  // namespace

void CPlayer::print_magicList() {
  console::out()
      << "What spell do you cast?\n   0.Cancel\n"
         "   1.Magic missile(2 magic....15 range............2 dm.........................)"
         "   2.Enchant weapon(4 magic...null range..........null dm..ex: atk stat bonuses)"
         "   3.Freeze opponent(5 magic..20 range............0 dm.....ex: enemy frozen....)"
         "   4.Heal(3 magic.............null range..........0 dm.....ex: heal 3 HP.......)"
         "   5.Power Blast(3 magic......7 range.............4 dm.........................)"
         "   6.Dancing Flames(4 magic...7-12(random) range..2-8(random) dm...............)";
}

void cast_spell(CEnemy& enemy, BattleState& state) {
  p1.print_magicList();
  console::out() << ">>";
  state.spellChoice = console::read_int();
  switch (state.spellChoice) {
    case kMagicMissile: blast(enemy, 2, 15, 2); break;
    case kEnchantWeapon: enchant_weapon(state); break;
    case kFreezeOpponent: freeze_opponent(enemy, state); break;
    case kHeal: heal(); break;
    case kPowerBlast: blast(enemy, 3, 7, 6); break;
    case kDancingFlames: dancing_flames(enemy); break;
    default: break;
  }
  console::out() << "you have " << p1.magic << " magic power left\n";
}
