#pragma once
// Duels: the enemy record, the battle loop, and the hero's actions and spells.

#include <string>

class CEnemy {
 public:
  int nameNum;
  int strength;
  int speed;
  int health;
  int weaponNum;
  int defense;
  int damage;
  int range;
  int reservedStat;
  int distance;
  int speedHidden;
  int mapPos;
  int goldReward;

  void setEStats(int nameNum, int strength, int speed, int health, int weaponNum, int defense,
                 int damage, int range, int reservedStat, int distance, int goldReward);
  void print_EName();
  void print_EChosenWeapon();
  void print_EStats();
  // Runs one duel against p1. On the hero's death p1.gameOver is 1.
  void battle_func();
  void print_battleMap();
};

// One opponent's figures, as the ladder and the story list them.
struct EnemyRecord {
  int nameNum;
  int strength;
  int speed;
  int health;
  int weaponNum;
  int defense;
  int damage;
  int range;
  int distance;  // feet between the two when the duel begins
  int goldReward;
};

// A fresh enemy with the record's figures, filled through setEStats.
CEnemy make_enemy(const EnemyRecord& record);
