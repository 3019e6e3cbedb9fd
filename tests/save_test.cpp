// Loading, what it refuses, and saves under faults. (What a save writes the
// golden games' .saved files show; failures of the system itself, file_faults_test.)
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>

#include "harness.h"
#include "player/player.h"
#include "savegame/savegame.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

const std::string kOldSave =
    "Aldric\n14\n5\n9\n30\n12\n7\n9\n9\n15\n5\n6\n900\n1\n2\n3\n4\n0\n"
    "(name,strength,weaponNum, speed, health, magic, range,\n defense, damage, ammo, level, "
    "battleNum, gold, items[0-4])\n";
const std::string kNoLoad = "loading...\nNo saved game could be loaded from stats.txt.\n";
// A new crossbow hero, up to the save prompt after creation.
const std::string kToTheSavePrompt = "1 0 Hero 9 12 0 4 0 0 0 ";
const std::string kSavePrompt = "save?(will overwrite old game)(1 for yes): ";

// A name and twelve whole numbers make a hero, or nothing is taken. (Item
// slots read while they last and a name cut to fit: the golden odd_save.)
TEST(SaveFile, ParserTakesANameAndTwelveNumbersOrNothing) {
  CPlayer hero{};
  int items[kItemSlots] = {};
  auto parse = [&](const std::string& text) {
    std::istringstream file(text);
    return parse_save(file, hero, items);
  };
  const std::size_t goldLine = kOldSave.find("900");
  for (std::size_t len = 0; len <= kOldSave.size(); ++len) {
    EXPECT_EQ(parse(kOldSave.substr(0, len)), len > goldLine) << len;
  }
  EXPECT_EQ(format_save(hero, items), kOldSave);
  EXPECT_FALSE(parse("Bryn\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n2147483648\n"));
  EXPECT_EQ(format_save(hero, items), kOldSave) << "a refused file changes nothing";
}

using SaveFaults = GameTest;

// The bytes this process has read from files so far, these questions
// themselves aside; -1 where the system does not tell.
long long bytes_read() {
  static long long asked = 0;  // what the questions so far have read
#ifdef __linux__
  std::ifstream io("/proc/self/io");
#else
  std::ifstream io;
#endif
  const std::string text(std::istreambuf_iterator<char>(io), {});
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

#ifndef _WIN32

std::string temp_name(pid_t pid) { return "stats.txt." + std::to_string(pid) + ".tmp"; }

// A save that cannot be written or cannot take the old file's place: the
// player is told and asked to go on, the old save stays as it was, no
// temporary file is left, and the game goes on to the first duel.
TEST_F(SaveFaults, FailedSavesKeepTheOldFileAndPlayGoesOn) {
  const fs::path saved = dir_ / "stats.txt";
  const fs::path temp = dir_ / temp_name(::getpid());
  struct Fault {
    const char* what;
    std::function<void()> make;
    const char* why;
  };
  const Fault faults[] = {
      {"stats.txt is a folder", [&] { fs::remove(saved), fs::create_directories(saved / "old"); },
       "Is a directory"},
      {"a folder where the new file goes", [&] { fs::create_directory(temp); }, "Is a directory"},
      {"the disk is full", [&] { fs::create_symlink("/dev/full", temp); }, "the file could not be written"},
  };
  for (const Fault& fault : faults) {
    fs::remove_all(saved);
    fs::remove_all(temp);
    write_file("stats.txt", kOldSave);
    fault.make();
    const std::string out = play(kToTheSavePrompt + "1 7 0\n");
    EXPECT_NE(out.find(kSavePrompt + "saving...\nCould not save to stats.txt: " + fault.why +
                       "\nenter a number to continue: " + kClear + "Strength:      9\n"),
              std::string::npos) << fault.what << '\n' << out;
    EXPECT_TRUE(fs::is_directory(saved) ? fs::exists(saved / "old") : read_file("stats.txt") == kOldSave)
        << fault.what;
    EXPECT_TRUE(fs::is_directory(temp) || !fs::exists(fs::symlink_status(temp))) << fault.what;
  }
}

// A save removes the temporary files of games that died in the middle of a
// save, and only those: not a running game's, nor a file that looks alike.
TEST_F(SaveFaults, SavesClearDeadGamesTemporaryFiles) {
  const pid_t dead = 90000009;  // more than any system gives (2^22 at most); zeros are digits too
  const std::pair<std::string, bool> files[] = {
      {temp_name(dead), false}, {temp_name(::getppid()), true}, {temp_name(dead) + ".keep", true},
      {temp_name(1000000000), true}};  // ten digits: more than a game's number ever has
  for (const auto& [name, kept] : files) write_file(name, kOldSave);
  play(kToTheSavePrompt + "1\n");
  for (const auto& [name, kept] : files) EXPECT_EQ(fs::exists(dir_ / name), kept) << name;
}

#endif  // _WIN32

}  // namespace
