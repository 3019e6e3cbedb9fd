// The save prompt and the save file.
#include "savegame/savegame.h"

#include <climits>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "harness.h"
#include "player/player.h"

namespace {

using SaveGame = GameTest;

const std::string kSavePrompt = "save?(will overwrite old game)(1 for yes): ";
// No stored value equals its neighbour, so no two fields can swap unseen.
const std::string kHeroFile =
    "Aldric\n8\n3\n7\n-2\n5\n10\n4\n4\n20\n3\n2\n1234\n1\n0\n4\n2\n3\n"
    "(name,strength,weaponNum, speed, health, magic, range,\n defense, damage, ammo, level, "
    "battleNum, gold, items[0-4])\n";

TEST_F(SaveGame, SavedHeroLoadsBackUnchanged) {
  p1 = CPlayer{1, 8, 7, -2, 5, 3, 10, 4, 4, 20, 3, 2, 6, 1234, "Aldric"};
  const int items[5] = {1, 0, 4, 2, 3};
  std::memcpy(itemIdNum, items, sizeof items);
  EXPECT_EQ(run("1\n", check_toSave), kSavePrompt + "saving...\n" + kClear);
  EXPECT_EQ(read_file("stats.txt"), kHeroFile);

  reset_game_state();
  EXPECT_EQ(run("", [] { EXPECT_TRUE(load_game()); }), "loading...\n");
  EXPECT_EQ(format_save(p1, itemIdNum), kHeroFile);
  p1.gold = 5;  // a second save takes the first one's place whole
  run("1\n", check_toSave);
  EXPECT_EQ(read_file("stats.txt"), format_save(p1, itemIdNum));
}

// A name and twelve whole numbers make a hero; the item slots are read while
// they last, and a name too long for the record is cut.
TEST_F(SaveGame, ItemSlotsAreReadWhileTheyLast) {
  const std::string head = std::string(60, 'n') + "\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n-2147483648\n";
  // cut after the gold line; an unreadable slot; two slots on one line
  const std::pair<const char*, std::vector<int>> cases[] = {
      {"", {0, 0, 0, 0, 0}}, {"2\n2147483648\n3\n", {2, 0, 0, 0, 0}}, {"4 4", {4, 4, 0, 0, 0}}};
  for (const auto& [rest, slots] : cases) {
    reset_game_state();
    itemIdNum[4] = 9;
    write_file("stats.txt", head + rest);
    run("", [] { EXPECT_TRUE(load_game()); });
    EXPECT_EQ(std::string(p1.name), std::string(51, 'n'));
    EXPECT_EQ(p1.gold, INT_MIN);
    EXPECT_EQ(std::vector<int>(itemIdNum, itemIdNum + 5), slots) << rest;
  }
}

}  // namespace
