#include <ostream>

#include "console/console.h"
#include "items/items.h"
#include "player/player.h"

namespace {

struct Ware {
  const char* offer;  // the text after "Buy "
  int price;
};

constexpr Ware kWares[] = {
    {"Mana Gem(500 GP, you get +5 magic points)", 500},
    {"Stone of Healing(400 GP, you get 3 hit points back)", 400},
    {"Berserker Helmet(700 GP, you do +5 atk dm)", 700},
    {"Winged Boots(600 GP, you get +4 speed)", 600},
};

const Ware* ware_for(int choice) { return choice >= 1 && choice <= 4 ? &kWares[choice - 1] : nullptr; }

// One pass of the shop: the buy question, and a purchase if wanted.
void offer_purchase() {
  std::ostream& out = console::out();
  out << " Would you like to buy anyhting?\n1.yes 0.no\n>>";
  int wantsToBuy = console::read_int();
  out << '\n';
  if (wantsToBuy != 1) return;
  print_itemList(1);
  int choice = console::read_int();
  const Ware* ware = ware_for(choice);
  out << "\nBuy " << (ware ? ware->offer : "") << ", are you sure? 1.yes 0.no\n";
  if (console::read_int() != 1) return;
  if (ware) {
    if (p1.gold >= ware->price) {
      p1.gold -= ware->price;  // paid before the slots are looked at
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
