#include <ostream>

#include "console/console.h"
#include "console/screens.h"
#include "player/clamped.h"
#include "player/player.h"
#include "player/weapons.h"

namespace {

// Levels 1 to 8.
constexpr const char* kRankTitles[] = {" the player", " the trainee",  " the warrior", " the knight",
                                       " the paladin", " the champion", " the master", " the king"};
constexpr int kTopRank = 8;

}  // namespace

void CPlayer::print_name() {
  console::out() << name << (level >= 1 && level <= kTopRank ? kRankTitles[level - 1] : "");
}

void CPlayer::print_chosenWeapon() { console::out() << player_weapon_name(weaponNum); }

void CPlayer::print_stats() {
  std::ostream& out = console::out();
  out << "Strength:      " << strength << '\n'
      << "Speed:         " << speed << '\n'
      << "Hit Points:    " << health << '\n'
      << "Magic:         " << magic << '\n'
      << "Weapon:        ";
  print_chosenWeapon();
  out << '\n'
      << "Range:         " << range << '\n'
      << "Defense points:" << defense << '\n'
      << "Attack Damage: " << damage << '\n'
      << "Gold:          " << gold << '\n'
      << "Enter a number to continue:";
  console::read_int();
  out << '\n';
  clear_screen();
}

void CPlayer::print_levelUp() {
  std::ostream& out = console::out();
  out << "You are level " << level << '\n';
  if (level >= 2 && level <= kTopRank) {
    out << "You have advanced to the rank of " << (kRankTitles[level - 1] + 5) << "!\n";
  }
  out << "You are now ";
  print_name();
  out << " \n";
}

void CPlayer::stats_increase1() {
  console::out() << "\nCongratulations! You get a 1 point bonus for all skills\n";
  level = clamped_add(level, 1);
  print_levelUp();
  strength = clamped_add(strength, 1);
  speed = clamped_add(speed, 1);
  health = clamped_add(health, 3);
  defense = clamped_add(defense, 1);
  magic = clamped_add(magic, 3);
  damage = clamped_add(damage, 1);
  print_stats();
}
