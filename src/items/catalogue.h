#pragma once
// The four magic items, ids 1 to 4: their names and prices, what the shop
// and the hero's item list say of them, and what one use does.

#include "player/player.h"

struct Item {
  const char* name;
  int price;
  const char* offer;   // after the price in the shop's question
  const char* owned;   // in the list of the hero's items
  const char* announce;
  int CPlayer::*stat;  // the stat one use raises, for good
  int amount;
  const char* unit;
};

constexpr int kItemCount = 4;

// The item with that id, or nullptr for 0 and any other id.
const Item* item_for(int itemId);
