#include <ostream>

#include "combat/combat.h"
#include "console/console.h"
#include "player/player.h"
#include "player/weapons.h"

namespace {

constexpr const char* kEnemyNames[] = {"Erevon, Lord of Darkness",
                                       "Balrog of Moria",
                                       "Luthea the Corrupt",
                                       "Theroden of the North",
                                       "Elfane the Shadow",
                                       "Luthea the Master",
                                       "Kaylor the Barbarian Prince",
                                       "Fist of the North Star",
                                       "Rebel trainer Kai",
                                       "Erevon's Bodyguard Arthon"};
constexpr int kLastName = 10;

// Weapons 1 to 8 are the hero's own; the rest exist only on the enemy side.
constexpr const char* kEnemyOnlyWeapons[] = {"Flaming sword and whip",
                                             "Wind's power",
                                             "Shining sword of the Doomed",
                                             "Dagger of Venom",
                                             "True aim bow and flaming arrows",
                                             "Great Flaming Sword of Kiraseth",
                                             "Bloody fists"};
constexpr int kFirstEnemyOnlyWeapon = 9;
constexpr int kLastWeapon = 15;

}  // namespace

void CEnemy::setEStats(int nameNum_, int strength_, int speed_, int health_, int weaponNum_,
                       int defense_, int damage_, int range_, int reservedStat_, int distance_,
                       int goldReward_) {
  nameNum = nameNum_;
  strength = strength_;
  speed = speed_;
  health = health_;
  weaponNum = weaponNum_;
  defense = defense_;
  damage = damage_;
  range = range_;
  reservedStat = reservedStat_;
  distance = distance_;
  goldReward = goldReward_;
}

CEnemy make_enemy(const EnemyRecord& r) {
  CEnemy enemy = {};
  enemy.setEStats(r.nameNum, r.strength, r.speed, r.health, r.weaponNum, r.defense, r.damage, r.range,
                  0, r.distance, r.goldReward);
  return enemy;
}

void CEnemy::print_EName() {
  if (nameNum >= 1 && nameNum <= kLastName) console::out() << kEnemyNames[nameNum - 1];
}

void CEnemy::print_EChosenWeapon() {
  if (weaponNum >= kFirstEnemyOnlyWeapon && weaponNum <= kLastWeapon) {
    console::out() << kEnemyOnlyWeapons[weaponNum - kFirstEnemyOnlyWeapon];
  } else {
    console::out() << player_weapon_name(weaponNum);
  }
}

void CEnemy::print_EStats() {
  std::ostream& out = console::out();
  out << "Enemy name:    ";
  print_EName();
  out << "\nStrength:      " << strength << '\n';
  if (speedHidden == 1) {
    out << "Speed:          Unknown!!\n";
  } else {
    out << "Speed:         " << speed << '\n';
  }
  out << "Hit Points:    " << health << "\nWeapon:        ";
  print_EChosenWeapon();
  out << "\nRange:         " << range << "\nDefense points:" << defense
      << "\nAttack Damage: " << damage << '\n';
}
