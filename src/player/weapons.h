#pragma once
// The hero's eight weapons, numbered 1 to 8: how the creation menu offers
// each, what the stat sheets call it (the enemy's sheet too), and the stats
// that follow from it.

struct Weapon {
  const char* menuLine;
  const char* name;
  int range;
  int damageAddend;   // damage  = (strength + addend) / 2
  int defenseAddend;  // defense = (speed + addend) / 2
  int ammo;
};

constexpr int kWeaponCount = 8;

// The weapon with that number, or nullptr for any number outside 1 to 8.
const Weapon* hero_weapon(int weaponNum);

// The menu of all eight, one line each.
void print_weapons();

// The name of one of the hero's weapons; empty for any other number.
const char* player_weapon_name(int weaponNum);
