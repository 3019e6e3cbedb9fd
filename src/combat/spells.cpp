#include <iterator>
#include <ostream>

#include "combat/combat.h"
#include "combat/round.h"
#include "console/console.h"
#include "console/screens.h"
#include "player/clamped.h"
#include "player/player.h"

namespace {

// Each spell's figures are its own; the table holds what every spell has.
using Cast = void (*)(int cost, CEnemy&, BattleState&);

struct Spell {
  int cost;  // the least magic it can be cast with, and what it spends
  const char* menuLine;
  const char* refusal;  // for a hero whose magic falls short
  Cast cast;
};

constexpr int kEnchantStrength = 5;
constexpr int kEnchantDamage = 2;
constexpr int kEnchantRounds = 5;
constexpr int kFreezeReach = 20;
constexpr int kFrozenRounds = 2;
constexpr int kHealPoints = 4;

constexpr char kTooFar[] = "He is too far away, your magic cannot reach him\n";
constexpr char kTooWeak[] = "You don't have enough magic power to cast this spell.\n";
constexpr char kTooWeakToo[] = "You don't have enought magic power to cast this spell\n";

// Magic missile and Power Blast: fixed damage within a fixed reach. The magic
// is spent whether or not it reaches him.
void blast(int cost, int reach, int damage, CEnemy& enemy) {
  std::ostream& out = console::out();
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

void magic_missile(int cost, CEnemy& enemy, BattleState&) { blast(cost, 15, 2, enemy); }

void power_blast(int cost, CEnemy& enemy, BattleState&) { blast(cost, 7, 6, enemy); }

void enchant_weapon(int cost, CEnemy&, BattleState& state) {
  std::ostream& out = console::out();
  out << "you recieve bonuses to your attacking power\n";
  p1.magic -= cost;
  int strengthBefore = p1.strength;
  int damageBefore = p1.damage;
  p1.strength = clamped_add(p1.strength, kEnchantStrength);
  p1.damage = clamped_add(p1.damage, kEnchantDamage);
  state.enchantStrength = clamped_add(state.enchantStrength, p1.strength - strengthBefore);
  state.enchantDamage = clamped_add(state.enchantDamage, p1.damage - damageBefore);
  state.enchanted = true;
  p1.print_stats();
  state.enchantRounds = clamped_add(state.enchantRounds, kEnchantRounds);
  out << "These effects will last for " << state.enchantRounds << " more rounds\n";
}

// Out of reach the spell is not cast at all, so it costs nothing.
void freeze_opponent(int cost, CEnemy& enemy, BattleState& state) {
  std::ostream& out = console::out();
  if (enemy.distance > kFreezeReach) {
    out << kTooFar;
    return;
  }
  out << "The enemy is frozen for two rounds and can't move or attack!\n";
  p1.magic -= cost;
  state.frozenRounds = kFrozenRounds;
}

void heal(int cost, CEnemy&, BattleState&) {
  p1.magic -= cost;
  p1.health = clamped_add(p1.health, kHealPoints);
  console::out() << "You gained " << kHealPoints << " HP! You have " << p1.health << " health now\n";
}

// The reach is drawn from 7 to 11 feet, then, only if it is long enough, the
// damage from 2 to 7.
void dancing_flames(int cost, CEnemy& enemy, BattleState&) {
  std::ostream& out = console::out();
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
  p1.magic -= cost;
}

// Spells 1 to 6, in the menu's order. The menu is kept as players know it,
// though not all its figures are the spells' own (Heal gives 4, Power Blast
// deals 6).
constexpr Spell kSpells[] = {
    {2, "   1.Magic missile(2 magic....15 range............2 dm.........................)", kTooWeak,
     magic_missile},
    {4, "   2.Enchant weapon(4 magic...null range..........null dm..ex: atk stat bonuses)",
     "you don't have enough magic power.\n", enchant_weapon},
    {5, "   3.Freeze opponent(5 magic..20 range............0 dm.....ex: enemy frozen....)", kTooWeakToo,
     freeze_opponent},
    {3, "   4.Heal(3 magic.............null range..........0 dm.....ex: heal 3 HP.......)", kTooWeakToo,
     heal},
    {3, "   5.Power Blast(3 magic......7 range.............4 dm.........................)", kTooWeak,
     power_blast},
    {4, "   6.Dancing Flames(4 magic...7-12(random) range..2-8(random) dm...............)", kTooWeak,
     dancing_flames},
};
constexpr int kSpellCount = static_cast<int>(std::size(kSpells));

}  // namespace

void CPlayer::print_magicList() {
  std::ostream& out = console::out();
  out << "What spell do you cast?\n   0.Cancel\n";
  // Each line fills an 80-column row, so none ends in a line break.
  for (const Spell& spell : kSpells) out << spell.menuLine;
}

void cast_spell(CEnemy& enemy, BattleState& state) {
  p1.print_magicList();
  console::out() << ">>";
  state.spellChoice = console::read_int();
  if (state.spellChoice >= 1 && state.spellChoice <= kSpellCount) {
    const Spell& spell = kSpells[state.spellChoice - 1];
    if (p1.magic < spell.cost) {
      console::out() << spell.refusal;
    } else {
      spell.cast(spell.cost, enemy, state);
    }
  }
  console::out() << "you have " << p1.magic << " magic power left\n";
}
