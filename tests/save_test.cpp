// Loading, what it refuses, and saves under faults. (What a save writes the
// golden games' .saved files show; failures of the system itself, file_faults_test.)
#include <cerrno>
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
#include <signal.h>
#include <sys/resource.h>
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
  // Only the order of the values counts: all on one line, or two a line with blank lines between.
  std::string one_line = kOldSave, two_a_line = kOldSave;
  for (char& c : one_line) c = c == '\n' ? ' ' : c;
  for (std::size_t at = 0, n = 0; (at = two_a_line.find('\n', at)) != std::string::npos; ++at)
    if (++n % 2) two_a_line.replace(at, 1, " \t"); else two_a_line.insert(at, "\n\n"), at += 2;
  for (const std::string& text : {one_line, two_a_line}) {
    hero = {}, items[4] = 9;
    EXPECT_TRUE(parse(text)) << text;
    EXPECT_EQ(format_save(hero, items), kOldSave) << text;
  }
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

// A save that cannot be written or cannot take the old file's place: the
// player is told why in the system's words and asked to go on, the old save
// stays as it was, no temporary file is left, and the game goes on.
TEST_F(SaveFaults, FailedSavesKeepTheOldFileAndPlayGoesOn) {
  const fs::path saved = dir_ / "stats.txt";
  rlimit no_limit{};
  ::getrlimit(RLIMIT_FSIZE, &no_limit);
  ::signal(SIGXFSZ, SIG_IGN);
  const rlimit small{100, no_limit.rlim_max};
  const std::tuple<const char*, std::function<void()>, const char*> faults[] = {  // and the reason given
      {"stats.txt is a folder", [&] { fs::remove(saved), fs::create_directories(saved / "old"); },
       "Is a directory"},
      {"no file may grow past 100 bytes", [&] { ::setrlimit(RLIMIT_FSIZE, &small); }, "File too large"},
  };
  for (const auto& [what, make, why] : faults) {
    fs::remove_all(saved);
    write_file("stats.txt", kOldSave);
    make();
    const std::string out = play(kToTheSavePrompt + "1 7 0\n");
    ::setrlimit(RLIMIT_FSIZE, &no_limit);
    EXPECT_NE(out.find(kSavePrompt + "saving...\nCould not save to stats.txt: " + why +
                       "\nenter a number to continue: " + kClear + "Strength:      9\n"),
              std::string::npos) << what << '\n' << out;
    EXPECT_TRUE(fs::is_directory(saved) ? fs::exists(saved / "old") : read_file("stats.txt") == kOldSave) << what;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1) << what;
  }
}

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

// A save removes the temporary files of games that died in the middle of a
// save (stats.txt.PID.RANDOM.tmp, the random part 16 hex digits), and only
// those: not a running game's, nor a link, nor a name of another pattern. A
// first save gets the usual mode of a new file.
TEST_F(SaveFaults, SavesClearDeadGamesTemporaryFiles) {
  const std::pair<std::string, bool> files[] = {  // and whether it stays
      {"stats.txt.900000009.0123456789abcdef.tmp", false},  // no system gives so high a number (2^22 at most)
      {"stats.txt." + std::to_string(::getppid()) + ".0123456789abcdef.tmp", true},  // a running game's
      {"stats.txt.900000009.0123456789abcdef.tmp.keep", true},
      {"stats.txt.900000009.0123456789ABCDEF.tmp", true},
      {"stats.txt.900000009.123456789abcdef.tmp", true},
      {"stats.txt.1000000000.0123456789abcdef.tmp", true},  // more digits than a game's number ever has
      {"stats.txt.900000008.fedcba9876543210.tmp", true}};  // made a link below
  for (const auto& [name, kept] : files) write_file(name, kOldSave);
  fs::remove(dir_ / files[6].first), fs::create_symlink("stats.txt", dir_ / files[6].first);
  play(kToTheSavePrompt + "1\n");
  for (const auto& [name, kept] : files) EXPECT_EQ(fs::exists(fs::symlink_status(dir_ / name)), kept) << name;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat saved{};
  EXPECT_EQ(::stat("stats.txt", &saved), 0);
  EXPECT_EQ(saved.st_mode & 07777, 0666u & ~mask);
}

// An errno left at ESRCH by some earlier call does not make a running game gone.
TEST(ProcessGone, OnlyWhenTheSystemKnowsNoSuchProcess) {
  errno = ESRCH;
  EXPECT_FALSE(platform::process_gone(static_cast<unsigned long>(::getppid())));
  EXPECT_TRUE(platform::process_gone(900000009));
  EXPECT_FALSE(platform::process_gone(0));
}

#endif  // _WIN32

}  // namespace
