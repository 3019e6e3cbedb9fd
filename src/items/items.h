#pragma once
// The four magic items, the hero's five item slots, and the shop.

void print_itemList(int mode);
void print_ownedItems();
void assign_item(int itemId);
void use_item(int itemId);
void shop();
