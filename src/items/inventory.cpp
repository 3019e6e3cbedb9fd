#include <ostream>

#include "console/console.h"
#include "items/catalogue.h"
#include "items/items.h"
#include "player/clamped.h"
#include "player/player.h"

namespace {

// Slots 0 to 3 count as taken only for the ids 1 to 5, the last slot for any
// positive value; a stray value from an edited save file is judged by that.
bool slot_taken(int slot) {
  int id = itemIdNum[slot];
  return slot < kItemSlots - 1 ? (id >= 1 && id <= 5) : id > 0;
}

int first_free_slot() {
  for (int slot = 0; slot < kItemSlots; ++slot) {
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
  if (answer < 1 || answer > kItemSlots) return;
  itemIdNum[answer - 1] = itemId;
  out << "You now have:\n";
  print_ownedItems();
}

}  // namespace

void print_itemList(int mode) {
  std::ostream& out = console::out();
  if (mode == 1) {
    for (int id = 1; id <= kItemCount; ++id) {
      out << id << '.' << item_for(id)->name << '(' << item_for(id)->price << " GP)\n";
    }
  } else if (mode == 0) {
    out << "1.Mana gem\n2.Stone of Healing\n3.Berserker Helmet\n4.Winged Boots\n";
  }
}

void print_ownedItems() {
  for (int slot = 0; slot < kItemSlots; ++slot) {
    const Item* item = item_for(itemIdNum[slot]);
    console::out() << slot << '.' << (item ? item->owned : "nothing") << '\n';
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
  const Item* item = item_for(itemId);
  if (!item) {
    console::out() << "There is no item there.\n";
    return;
  }
  int& stat = p1.*(item->stat);
  stat = clamped_add(stat, item->amount);
  console::out() << item->announce << "\nYou now have " << stat << item->unit << '\n';
}
