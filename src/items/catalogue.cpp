#include "items/catalogue.h"

namespace {

constexpr Item kItems[kItemCount] = {
    {"Mana Gem", 500, "you get +5 magic points", "Mana Gem(you get 5 magic points)",
     "You use the Mana Gem. You get 5 magic points", &CPlayer::magic, 5, " magic points."},
    {"Stone of Healing", 400, "you get 3 hit points back", "Stone of Healing(you get 3 hit points)",
     "You use the Stone of Healing. You get 3 hit points", &CPlayer::health, 3, " health points."},
    {"Berserker Helmet", 700, "you do +5 atk dm", "Berserker Helmet(you do +5 atk dm)",
     "You use the Berserker Helmet. You get +5 attack damage", &CPlayer::damage, 5, " attack damage."},
    {"Winged Boots", 600, "you get +4 speed", "Winged Boots(your speedis +4)",
     "You use the Winged Boots. You get +4 speed", &CPlayer::speed, 4, " speed."},
};

}  // namespace

const Item* item_for(int itemId) {
  return itemId >= 1 && itemId <= kItemCount ? &kItems[itemId - 1] : nullptr;
}
