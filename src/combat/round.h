#pragma once
// What one duel keeps between its rounds, shared by the battle loop and the
// hero's actions.

class CEnemy;

struct BattleState {
  int battleOn = 1;
  int roundNum = 1;
  int enchantRounds = 0;
  int frozenRounds = 0;
  int startHealth = 0;
  int actionChoice = 0;
  int spellChoice = 0;
  // What Enchant weapon actually added, so that exactly that is taken back.
  bool enchanted = false;
  int enchantStrength = 0;
  int enchantDamage = 0;
};

// The hero's half of a round: the action menu and at most one action.
void hero_action(CEnemy& enemy, BattleState& state);
void cast_spell(CEnemy& enemy, BattleState& state);

// Takes back every Enchant weapon bonus still held, with the wear-off line.
void end_enchantment(BattleState& state);
