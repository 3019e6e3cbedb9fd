#include "items/items.h"

#include <string>

#include "harness.h"
#include "player/player.h"

namespace {

using Items = GameTest;

void set_slots(int a, int b, int c, int d, int e) {
  int slots[5] = {a, b, c, d, e};
  for (int i = 0; i < 5; ++i) itemIdNum[i] = slots[i];
}

TEST_F(Items, OwnedListNamesEverySlotAndStrayIdsAsNothing) {
  set_slots(1, 0, 4, 0, 0);
  EXPECT_EQ(run("", print_ownedItems),
            "0.Mana Gem(you get 5 magic points)\n1.nothing\n2.Winged Boots(your speedis +4)\n"
            "3.nothing\n4.nothing\n");
  set_slots(2, 3, 7, -1, 5);
  EXPECT_EQ(run("", print_ownedItems),
            "0.Stone of Healing(you get 3 hit points)\n1.Berserker Helmet(you do +5 atk dm)\n"
            "2.nothing\n3.nothing\n4.nothing\n");
}

TEST_F(Items, BoughtItemTakesTheFirstFreeSlot) {
  set_slots(1, 0, 4, 0, 0);
  EXPECT_EQ(run("", [] { assign_item(3); }),
            "You bought it!\nYour Items:\n0.Mana Gem(you get 5 magic points)\n"
            "1.Berserker Helmet(you do +5 atk dm)\n2.Winged Boots(your speedis +4)\n"
            "3.nothing\n4.nothing\n");
  // A stray 7 frees slots 0 to 3 but fills the last slot.
  set_slots(7, 1, 1, 1, 1);
  run("", [] { assign_item(2); });
  EXPECT_EQ(itemIdNum[0], 2);
  set_slots(1, 1, 1, 1, 7);
  std::string out = run("0\n", [] { assign_item(2); });
  EXPECT_EQ(out.rfind("you already have 5 items!\n", 0), 0u) << out;
}

TEST_F(Items, UsingAnItemRaisesItsStatForGood) {
  p1.magic = 2;
  p1.health = 1;
  p1.damage = 3;
  p1.speed = 4;
  EXPECT_EQ(
      run("",
          [] {
            for (int id : {1, 1, 2, 3, 4, 0, 5}) use_item(id);
          }),
      "You use the Mana Gem. You get 5 magic points\nYou now have 7 magic points.\n"
      "You use the Mana Gem. You get 5 magic points\nYou now have 12 magic points.\n"
      "You use the Stone of Healing. You get 3 hit points\nYou now have 4 health points.\n"
      "You use the Berserker Helmet. You get +5 attack damage\nYou now have 8 attack damage.\n"
      "You use the Winged Boots. You get +4 speed\nYou now have 8 speed.\n"
      "There is no item there.\nThere is no item there.\n");
  EXPECT_EQ(p1.magic, 12);
}

}  // namespace
