#include <ostream>

#include "console/console.h"
#include "items/catalogue.h"
#include "items/items.h"
#include "player/player.h"

namespace {

// One pass of the shop: the buy question, and a purchase if wanted.
void offer_purchase() {
  std::ostream& out = console::out();
  out << " Would you like to buy anyhting?\n1.yes 0.no\n>>";
  int wantsToBuy = console::read_int();
  out << '\n';
  if (wantsToBuy != 1) return;
  print_itemList(1);
  int choice = console::read_int();
  const Item* item = item_for(choice);
  out << "\nBuy ";
  if (item) out << item->name << '(' << item->price << " GP, " << item->offer << ')';
  out << ", are you sure? 1.yes 0.no\n";
  if (console::read_int() != 1) return;
  if (item) {
    if (p1.gold >= item->price) {
      p1.gold -= item->price;  // paid before the slots are looked at
      assign_item(choice);
    } else {
      out << "you can't afford it\n";
    }
  }
  out << "You have " << p1.gold << " gold left.\n";
}

}  // namespace

void shop() {
  std::ostream& out = console::out();
  out << "You have entered the shop.\nYou have " << p1.gold << " gold\n";
  int stay = 1;
  while (stay == 1) {
    offer_purchase();
    out << "Exit store? 1.no 0.yes\n>>";
    stay = console::read_int();
  }
  out << "leaving...\n";
}
