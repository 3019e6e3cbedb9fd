#include <iterator>
#include <ostream>

#include "console/console.h"
#include "player/clamped.h"
#include "player/player.h"

namespace {

struct WeaponRow {
  const char* menuLine;
  int range;
  int damageAddend;   // damage  = (strength + addend) / 2
  int defenseAddend;  // defense = (speed + addend) / 2
  int ammo;
};

constexpr WeaponRow kWeapons[] = {
    {"\t1.Short sword and small shield", 1, 3, 6, 0},
    {"\t2.Long sword", 2, 5, 3, 0},
    {"\t3.Great bow and arrows", 10, 1, 1, 20},
    {"\t4.Crossbow and bolts", 11, 1, 10, 0},
    {"\t5.Mage's staff", 7, 7, 5, 15},
    {"\t6.War axe", 3, 7, 2, 0},
    {"\t7.War hammer", 2, 8, 1, 0},
    {"\t8.Mace", 3, 6, 3, 0},
};
constexpr int kWeaponCount = static_cast<int>(std::size(kWeapons));
constexpr int kStaff = 5;

int half_of_sum(int stat, int addend) { return clamp_to_int((static_cast<long long>(stat) + addend) / 2); }

}  // namespace

void print_weapons() {
  for (const WeaponRow& row : kWeapons) console::out() << row.menuLine << '\n';
}

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
  if (weaponNum < 1 || weaponNum > kWeaponCount) {
    out << "you didn't enter a valid choice. game ending.";
    gameOver = 1;
    return;
  }
  const WeaponRow& row = kWeapons[weaponNum - 1];
  if (weaponNum == kStaff) {
    out << "You get a bonus to your magic!\n";
    magic = clamped_add(magic, 3);
  }
  range = row.range;
  damage = half_of_sum(strength, row.damageAddend);
  defense = half_of_sum(speed, row.defenseAddend);
  ammo = row.ammo;
}
