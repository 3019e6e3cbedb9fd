// Loading and what it refuses. (What a save writes the golden games' .saved
// files show; saves under faults, file_faults_test.)
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>

#include "harness.h"
#include "platform/platform.h"
#include "player/player.h"
#include "savegame/savegame.h"

#ifndef _WIN32
#include <sys/stat.h>  // mkfifo
#endif

namespace {

namespace fs = std::filesystem;

const std::string kOldSave =
    "Aldric\n14\n5\n9\n30\n12\n7\n9\n9\n15\n5\n6\n900\n1\n2\n3\n4\n0\n"
    "(name,strength,weaponNum, speed, health, magic, range,\n defense, damage, ammo, level, "
    "battleNum, gold, items[0-4])\n";
const std::string kNoLoad = "loading...\nNo saved game could be loaded from stats.txt.\n";

// A name and twelve whole numbers make a hero, or nothing is taken. (Item
// slots read while they last and a name cut to fit: the golden odd_save;
// where the lines break counts for nothing: save_on_one_line and
// save_of_two_values_a_line_with_blank_lines_between_loads_the_same.)
TEST(SaveFile, ParserTakesANameAndTwelveNumbersOrNothing) {
  CPlayer hero{};
  int items[kItemSlots] = {};
  auto parse = [&](const std::string& text) { std::istringstream file(text); return parse_save(file, hero, items); };
  const std::size_t goldLine = kOldSave.find("900");
  for (std::size_t len = 0; len <= kOldSave.size(); ++len) EXPECT_EQ(parse(kOldSave.substr(0, len)), len > goldLine) << len;
  EXPECT_EQ(format_save(hero, items), kOldSave);
  EXPECT_FALSE(parse("Bryn\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n2147483648\n"));
  for (const char* name : {"Al\033]2;x\a", "Al\x7f", "Al\x01"})  // none the game writes
    EXPECT_FALSE(parse(name + kOldSave.substr(6))) << name;
  EXPECT_EQ(format_save(hero, items), kOldSave) << "a refused file changes nothing";
}

using SaveFaults = GameTest;

// The bytes this process has read from files so far, these questions
// themselves aside; -1 where the system does not tell.
long long bytes_read() {
  static long long asked = 0;  // what the questions so far have read
#ifdef __linux__  // and not a Windows build under wine, which would read wine's own
  const std::string text = slurp("/proc/self/io");
#else
  const std::string text;
#endif
  const std::size_t at = text.find("rchar: ");
  const long long count = at == std::string::npos ? -1 : std::stoll(text.substr(at + 7)) - asked;
  asked += static_cast<long long>(text.size());
  return count;
}

// Whatever is called stats.txt without being a save of a save's size is
// refused, read no further than one byte past a save's size (a pipe or a
// device not at all), and a new hero is made instead.
TEST_F(SaveFaults, OddFilesAreRefusedAtOnce) {
  const fs::path saved = dir_ / "stats.txt";
  auto padded = [&](std::size_t size) { write_file("stats.txt", kOldSave + std::string(size - kOldSave.size(), '\n')); };
  const std::tuple<const char*, std::function<void()>, std::size_t> odd_files[] = {  // and the bytes read
      {"a save as long as a save may be", [&] { padded(kSaveFileLimit); }, kSaveFileLimit},
      {"a save one byte longer", [&] { padded(kSaveFileLimit + 1); }, kSaveFileLimit + 1},
      {"a save 1 MiB long", [&] { padded(1 << 20); }, kSaveFileLimit + 1},
      {"a folder", [&] { fs::create_directory(saved); }, 0},
#ifndef _WIN32
      {"a pipe", [&] { ::mkfifo(saved.c_str(), 0600); }, 0},
      {"a link to /dev/zero", [&] { fs::create_symlink("/dev/zero", saved); }, 0},
#endif
  };
  for (const auto& [what, make, read] : odd_files) {
    fs::remove_all(saved);
    make();
    const long long before = bytes_read();
    const std::string out = play("1 1 0\n");
    if (before >= 0) {
      EXPECT_EQ(bytes_read() - before, static_cast<long long>(read)) << what;
    }
    const bool loads = what == std::get<0>(odd_files[0]);
    EXPECT_NE(out.find(loads ? "loading...\nStrength:      14\n" : kNoLoad + "Player 1,"), std::string::npos)
        << what << '\n' << out;
  }
}

}  // namespace
