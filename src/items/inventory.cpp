#include <ostream>

#include "console/console.h"
#include "items/items.h"
#include "player/clamped.h"
#include "player/player.h"

namespace {

constexpr int kSlots = 5;

const char* owned_text(int itemId) {
  switch (itemId) {
    case 1: return "Mana Gem(you get 5 magic points)";
    case 2: return "Stone of Healing(you get 3 hit points)";
    case 3: return "Berserker Helmet(you do +5 atk dm)";
    case 4: return "Winged Boots(your speedis +4)";
    default: return "nothing";
  }
}

// Slots 0 to 3 count as taken only for the ids 1 to 5, the last slot for any
// positive value; a stray value from an edited save file is judged by that.
bool slot_taken(int slot) {
  int id = itemIdNum[slot];
  return slot < kSlots - 1 ? (id >= 1 && id <= 5) : id > 0;
}

int first_free_slot() {
  for (int slot = 0; slot < kSlots; ++slot) {
    if (!slot_taken(slot)) return slot;
  }
  return -1;
}

// With every slot full the player may swap one out. The prompt counts the
// slots 1 to 5; any other answer keeps the five old items.
void offer_discard(int itemId) {
  std::ostream& out = console::out();
  out << "you already have 5 items!\n";
  print_ownedItems();
  out << "Get rid of a item for this one? 1.yes 0.no\n>>";
  if (console::read_int() != 1) return;
  out << "Give number 1-5 for which item to discard\n>>";
  int answer = console::read_int();
  if (answer < 1 || answer > kSlots) return;
  itemIdNum[answer - 1] = itemId;
  out << "You now have:\n";
  print_ownedItems();
}

}  // namespace

void print_itemList(int mode) {
  std::ostream& out = console::out();
  if (mode == 1) {
    out << "1.Mana Gem(500 GP)\n2.Stone of Healing(400 GP)\n3.Berserker Helmet(700 GP)\n"
           "4.Winged Boots(600 GP)\n";
  } else if (mode == 0) {
    out << "1.Mana gem\n2.Stone of Healing\n3.Berserker Helmet\n4.Winged Boots\n";
  }
}

void print_ownedItems() {
  for (int slot = 0; slot < kSlots; ++slot) {
    console::out() << slot << '.' << owned_text(itemIdNum[slot]) << '\n';
  }
}

void assign_item(int itemId) {
  int slot = first_free_slot();
  if (slot < 0) {
    offer_discard(itemId);
    return;
  }
  itemIdNum[slot] = itemId;
  console::out() << "You bought it!\nYour Items:\n";
  print_ownedItems();
}

void use_item(int itemId) {
  std::ostream& out = console::out();
  switch (itemId) {
    case 1:
      out << "You use the Mana Gem. You get 5 magic points\n";
      p1.magic = clamped_add(p1.magic, 5);
      out << "You now have " << p1.magic << " magic points.\n";
      break;
    case 2:
      out << "You use the Stone of Healing. You get 3 hit points\n";
      p1.health = clamped_add(p1.health, 3);
      out << "You now have " << p1.health << " health points.\n";
      break;
    case 3:
      out << "You use the Berserker Helmet. You get +5 attack damage\n";
      p1.damage = clamped_add(p1.damage, 5);
      out << "You now have " << p1.damage << " attack damage.\n";
      break;
    case 4:
      out << "You use the Winged Boots. You get +4 speed\n";
      p1.speed = clamped_add(p1.speed, 4);
      out << "You now have " << p1.speed << " speed.\n";
      break;
    default:
      out << "There is no item there.\n";
  }
}
