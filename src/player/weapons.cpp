#include "player/weapons.h"

#include <ostream>

#include "console/console.h"

namespace {

// The menu spells the first weapon "shield", the stat sheet "sheild".
constexpr Weapon kWeapons[kWeaponCount] = {
    {"\t1.Short sword and small shield", "Short sword and small sheild", 1, 3, 6, 0},
    {"\t2.Long sword", "Long sword", 2, 5, 3, 0},
    {"\t3.Great bow and arrows", "Great bow and arrows", 10, 1, 1, 20},
    {"\t4.Crossbow and bolts", "Crossbow and bolts", 11, 1, 10, 0},
    {"\t5.Mage's staff", "Mage's staff", 7, 7, 5, 15},
    {"\t6.War axe", "War axe", 3, 7, 2, 0},
    {"\t7.War hammer", "War hammer", 2, 8, 1, 0},
    {"\t8.Mace", "Mace", 3, 6, 3, 0},
};

}  // namespace

const Weapon* hero_weapon(int weaponNum) {
  return weaponNum >= 1 && weaponNum <= kWeaponCount ? &kWeapons[weaponNum - 1] : nullptr;
}

void print_weapons() {
  for (const Weapon& weapon : kWeapons) console::out() << weapon.menuLine << '\n';
}

const char* player_weapon_name(int weaponNum) {
  const Weapon* weapon = hero_weapon(weaponNum);
  return weapon ? weapon->name : "";
}
