#include "savegame/savegame.h"

#include <climits>
#include <cstring>
#include <filesystem>
#include <string>

#include "harness.h"
#include "platform/platform.h"
#include "player/player.h"

namespace {

using SaveGame = GameTest;

const std::string kDescription =
    "(name,strength,weaponNum, speed, health, magic, range,\n defense, damage, ammo, level, "
    "battleNum, gold, items[0-4])\n";
const std::string kSavePrompt = "save?(will overwrite old game)(1 for yes): ";

// strength 8, weapon 3, speed 7, health -2, magic 5, range 10, defense 4,
// damage 4, ammo 20, level 3, battleNum 2, gold 1234, items 1 0 4 2 3
void make_hero() {
  p1 = CPlayer{1, 8, 7, -2, 5, 3, 10, 4, 4, 20, 3, 2, 6, 1234, "Aldric"};
  int slots[5] = {1, 0, 4, 2, 3};
  std::memcpy(itemIdNum, slots, sizeof slots);
}
const std::string kHeroFile =
    "Aldric\n8\n3\n7\n-2\n5\n10\n4\n4\n20\n3\n2\n1234\n1\n0\n4\n2\n3\n" + kDescription;

TEST_F(SaveGame, AnswerOneWritesTheTwentyLineFile) {
  make_hero();
  EXPECT_EQ(run("1\n", check_toSave), kSavePrompt + "saving...\n" + kClear);
  EXPECT_EQ(read_file("stats.txt"), kHeroFile);
  std::filesystem::directory_iterator files(dir_);
  EXPECT_EQ(std::distance(files, {}), 1) << "no temporary file left behind";

  p1.gold = 5;  // a second save replaces the first whole
  run("1\n", check_toSave);
  std::string again = kHeroFile;
  EXPECT_EQ(read_file("stats.txt"), again.replace(again.find("1234"), 4, "5"));
}

TEST_F(SaveGame, OtherAnswersWriteNothingButStillClear) {
  make_hero();
  for (const char* answer : {"0\n", "2\n", "yes\n"}) {
    EXPECT_EQ(run(answer, check_toSave), kSavePrompt + kClear) << answer;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "stats.txt"));
}

TEST_F(SaveGame, SavedHeroLoadsBackUnchanged) {
  make_hero();
  run("1\n", check_toSave);
  reset_game_state();
  bool loaded = false;
  EXPECT_EQ(run("", [&] { loaded = load_game(); }), "loading...\n");
  EXPECT_TRUE(loaded);
  EXPECT_EQ(format_save(p1, itemIdNum), kHeroFile);
  EXPECT_EQ(p1.gameOver, 0);  // neither is stored
  EXPECT_EQ(p1.mapPos, 0);
}

TEST_F(SaveGame, ValuesOnOneLineOrCutAfterGoldStillLoad) {
  write_file("stats.txt", std::string(60, 'n') + " 1 2 3 4 5 6 7 8 9 10 11 -2147483648 4 4");
  run("", [] { EXPECT_TRUE(load_game()); });
  EXPECT_EQ(std::string(p1.name), std::string(51, 'n'));  // an overlong name is cut
  EXPECT_EQ(p1.gold, INT_MIN);
  EXPECT_EQ(p1.battleNum, 11);
  int slots[5] = {4, 4, 0, 0, 0};
  EXPECT_EQ(std::memcmp(itemIdNum, slots, sizeof slots), 0);

  for (const char* rest : {"", "2\nx\n3\n", "2\n2147483648\n3\n"}) {
    reset_game_state();
    itemIdNum[4] = 9;
    write_file("stats.txt", "Bo\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n" + std::string(rest));
    run("", [] { EXPECT_TRUE(load_game()); });
    EXPECT_EQ(p1.gold, 12);
    int want[5] = {std::strlen(rest) ? 2 : 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(itemIdNum, want, sizeof want), 0) << rest;
  }
}

TEST_F(SaveGame, UnusableFileLoadsNothing) {
  const std::string noLoad = "loading...\nNo saved game could be loaded from stats.txt.\n";
  EXPECT_EQ(run("", [] { EXPECT_FALSE(load_game()); }), noLoad);  // no file at all
  for (const char* text : {"", "Bo\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n",
                           "Bo\n1\n2\nthree\n4\n5\n6\n7\n8\n9\n10\n11\n12\n",
                           "Bo\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n2147483648\n"}) {
    write_file("stats.txt", text);
    make_hero();
    EXPECT_EQ(run("", [] { EXPECT_FALSE(load_game()); }), noLoad) << text;
    EXPECT_EQ(format_save(p1, itemIdNum), kHeroFile) << "hero left untouched";
  }
  std::filesystem::remove(dir_ / "stats.txt");
  std::filesystem::create_directory(dir_ / "stats.txt");
  EXPECT_EQ(run("", [] { EXPECT_FALSE(load_game()); }), noLoad);
}

// When the save cannot be written the player is told and the old save stays.
TEST_F(SaveGame, FailedSaveKeepsTheOldFileAndPlayGoesOn) {
  const std::string old =
      "Old\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n0\n0\n0\n0\n0\n" + kDescription;
  write_file("stats.txt", old);
  // The temporary file's place is taken by a folder: the file cannot be created.
  auto temp = dir_ / ("stats.txt." + std::to_string(platform::process_id()) + ".tmp");
  std::filesystem::create_directory(temp);
  make_hero();
  std::string out = run("1\n7\n", check_toSave);
  EXPECT_EQ(out.rfind(kSavePrompt + "saving...\nCould not save to stats.txt", 0), 0u) << out;
  EXPECT_EQ(out.substr(out.find('\n', out.find("Could not"))),
            "\nenter a number to continue: " + kClear)
      << out;
  EXPECT_EQ(read_file("stats.txt"), old);

  // stats.txt itself is a folder: the new file cannot replace it.
  std::filesystem::remove(temp);
  std::filesystem::remove(dir_ / "stats.txt");
  std::filesystem::create_directory(dir_ / "stats.txt");
  out = run("1\n7\n", check_toSave);
  EXPECT_NE(out.find("saving...\nCould not save to stats.txt"), std::string::npos) << out;
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "stats.txt"));
  std::filesystem::directory_iterator files(dir_);
  EXPECT_EQ(std::distance(files, {}), 1) << "temporary file removed";
}

}  // namespace
