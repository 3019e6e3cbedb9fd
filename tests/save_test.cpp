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
#include "platform/platform.h"
#include "player/player.h"
#include "savegame/savegame.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
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
  // Only the order of the values counts: two a line, with blank lines between
  // (all on one line: the golden save_on_one_line).
  std::string two_a_line = kOldSave;
  for (std::size_t at = 0, n = 0; (at = two_a_line.find('\n', at)) != std::string::npos; ++at)
    if (++n % 2) two_a_line.replace(at, 1, " \t"); else two_a_line.insert(at, "\n\n"), at += 2;
  hero = {}, items[4] = 9;
  EXPECT_TRUE(parse(two_a_line)) << two_a_line;
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

// Nothing already called as a save's temporary file is written or followed
// (a link, to a file or to nothing, a folder, the name the game used to
// make): the save takes the next name. A new save keeps the old one's mode
// (here read-only), and its owner where the system allows.
TEST_F(SaveFaults, PlantedNamesAreNeverWrittenThrough) {
  write_file("victim", "mine\n");
  write_file("stats.txt", kOldSave);
  const bool root = ::geteuid() == 0;
  ASSERT_EQ(::chmod("stats.txt", 0444) + (root ? ::chown("stats.txt", 1234, 1234) : 0), 0);
  const std::string mine = "stats.txt." + std::to_string(::getpid());
  fs::create_symlink(dir_ / "victim", dir_ / (mine + ".tmp"));
  fs::create_symlink(dir_ / "victim", dir_ / (mine + ".0000000000000010.tmp"));
  fs::create_symlink(dir_ / "none", dir_ / (mine + ".0000000000000011.tmp"));
  fs::create_directory(dir_ / (mine + ".0000000000000012.tmp"));
  set_fake_random(0x10);
  play(kToTheSavePrompt + "1\n");
  struct stat saved{};
  EXPECT_EQ(::stat("stats.txt", &saved), 0);
  EXPECT_EQ(saved.st_mode & 07777, 0444u);
  EXPECT_EQ(saved.st_uid, root ? 1234 : ::getuid());
  EXPECT_NE(read_file("stats.txt"), kOldSave);
  EXPECT_EQ(read_file("victim"), "mine\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 6);
}

// A save removes the temporary files that no game holds (left by games that
// ended in the middle of a save: stats.txt.PID.RANDOM.tmp, the random part
// 16 hex digits), and only those: not one that a game holds, whatever its
// number, nor a link, nor a name of another pattern. A first save gets the
// usual mode of a new file.
TEST_F(SaveFaults, SavesClearTheTemporaryFilesNoGameHolds) {
  const std::pair<std::string, bool> files[] = {  // and whether it stays
      {"stats.txt.900000009.0123456789abcdef.tmp", false},
      {"stats.txt.900000008.0123456789abcdef.tmp", true},  // held below, though no process has its number
      {"stats.txt.900000009.0123456789abcdef.tmp.keep", true},
      {"stats.txt.900000009.0123456789ABCDEF.tmp", true},
      {"stats.txt.900000009.123456789abcdef.tmp", true},
      {"stats.txt.900000007.fedcba9876543210.tmp", true}};  // made a link below
  for (const auto& [name, kept] : files) write_file(name, kOldSave);
  fs::remove(dir_ / files[5].first), fs::create_symlink("stats.txt", dir_ / files[5].first);
  const int held = ::open(files[1].first.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  play(kToTheSavePrompt + "1\n");
  ::close(held);
  for (const auto& [name, kept] : files) EXPECT_EQ(fs::exists(fs::symlink_status(dir_ / name)), kept) << name;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat saved{};
  EXPECT_EQ(::stat("stats.txt", &saved), 0);
  EXPECT_EQ(saved.st_mode & 07777, 0666u & ~mask);
}

#endif  // _WIN32

}  // namespace
