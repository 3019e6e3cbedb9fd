#include <ostream>

#include "console/console.h"
#include "player/clamped.h"
#include "player/player.h"
#include "player/weapons.h"

namespace {

constexpr int kStaff = 5;

int half_of_sum(int stat, int addend) { return clamp_to_int((static_cast<long long>(stat) + addend) / 2); }

}  // namespace

void CPlayer::get_nameStats() {
  std::ostream& out = console::out();
  out << "Hello. Welcome to The Vaelmoor. \n What is your name?\n>>";
  console::read_word(name, sizeof name);
  print_name();
  out << "," << " Your character has a total of 25 skill points to be spread over \n strength, speed, "
         "magic and health(hit points). Therefore, you will first assign your character's skill "
         "points to traits, then you will choose a weapon and \n after your stats are shown, the "
         "game will begin.\n";
  out << "Enter Strength:";
  strength = console::read_int();
  if (strength == kDevModeStrength) {
    nDevMode = 1;
    return;
  }
  out << "Enter Speed:";
  speed = console::read_int();
  out << "Enter magic power:";
  magic = console::read_int();
  health = clamp_to_int(25LL - strength - speed - magic);
  out << "You have " << health << " Hit points.\n";
  gameOver = 0;
  level = 1;
  if (health <= 0) gameOver = 1;
  battleNum = 0;
}

void CPlayer::get_weapon() {
  std::ostream& out = console::out();
  out << "Choose weapon:\n";
  print_weapons();
  out << ">>";
  weaponNum = console::read_int();
  const Weapon* weapon = hero_weapon(weaponNum);
  if (!weapon) {
    out << "you didn't enter a valid choice. game ending.";
    gameOver = 1;
    return;
  }
  if (weaponNum == kStaff) {
    out << "You get a bonus to your magic!\n";
    magic = clamped_add(magic, 3);
  }
  range = weapon->range;
  damage = half_of_sum(strength, weapon->damageAddend);
  defense = half_of_sum(speed, weapon->defenseAddend);
  ammo = weapon->ammo;
}
