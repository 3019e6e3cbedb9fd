#include <algorithm>
#include <array>
#include <cstring>
#include <istream>
#include <sstream>

#include "player/player.h"
#include "savegame/savegame.h"

namespace {

// The hero's stored numbers in file order, which is not the record's order.
template <typename Hero>
auto stored_numbers(Hero& h) {
  return std::array<decltype(&h.strength), 12>{&h.strength, &h.weaponNum, &h.speed,  &h.health,
                                                &h.magic,    &h.range,     &h.defense, &h.damage,
                                                &h.ammo,     &h.level,     &h.battleNum, &h.gold};
}

// No name the game reads holds one, so a save whose name does was not
// written by it, and its name would be sent to the terminal as it is.
bool is_control(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

}  // namespace

std::string format_save(const CPlayer& hero, const int (&items)[kItemSlots]) {
  std::ostringstream file;
  file << hero.name << '\n';
  for (const int* value : stored_numbers(hero)) file << *value << '\n';
  for (int id : items) file << id << '\n';
  file << "(name,strength,weaponNum, speed, health, magic, range,\n defense, damage, ammo, level, "
          "battleNum, gold, items[0-4])\n";
  return file.str();
}

bool parse_save(std::istream& file, CPlayer& hero, int (&items)[kItemSlots]) {
  std::string name;
  if (!(file >> name) || std::any_of(name.begin(), name.end(), is_control)) return false;
  CPlayer read = hero;
  for (int* value : stored_numbers(read)) {
    if (!(file >> *value)) return false;
  }
  int slots[kItemSlots] = {};
  for (int& slot : slots) {
    if (!(file >> slot)) {
      slot = 0;  // a failed read may have stored a limit value
      break;
    }
  }
  name.resize(std::min(name.size(), sizeof read.name - 1));
  read.name[name.copy(read.name, name.size())] = '\0';
  hero = read;
  std::memcpy(items, slots, sizeof slots);
  return true;
}
