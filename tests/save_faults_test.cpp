// The save file under faults: the game killed in the middle of saves, saves
// that cannot be written, save files damaged in every way, and what is
// called stats.txt without being a save file.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "harness.h"
#include "platform/platform.h"
#include "savegame/savegame.h"

#ifndef _WIN32
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <iostream>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif

extern char** environ;
#endif

namespace {

namespace fs = std::filesystem;

const std::string kDescription =
    "(name,strength,weaponNum, speed, health, magic, range,\n defense, damage, ammo, level, "
    "battleNum, gold, items[0-4])\n";
const std::string kOldSave =
    "Aldric\n14\n5\n9\n30\n12\n7\n9\n9\n15\n5\n6\n900\n1\n2\n3\n4\n0\n" + kDescription;
const std::string kSavePrompt = "save?(will overwrite old game)(1 for yes): ";
const std::string kNoLoad = "loading...\nNo saved game could be loaded from stats.txt.\n";

#ifndef _WIN32  // only the kill test, which needs POSIX processes, plays it
// A crossbow hero who wins the whole ladder; S marks its seventeen save
// prompts, after creation and after every duel and every level-up.
const std::string kLadder =
    "1 0 Hero 9 12 0 4 0 0 0 S 0 0 1 0 1 0 1 0 1 S 0 0 0 S 0 0 1 0 1 0 1 0 1 0 1 0 1 S 0 0 0 S 0 0 "
    "1 0 1 0 1 0 1 S 0 0 0 S 0 0 1 0 1 0 1 S 0 0 0 S 0 0 1 0 1 0 1 0 1 0 1 0 1 S 0 0 0 S 0 0 1 0 1 "
    "0 1 0 1 0 1 0 1 0 1 0 1 S 0 0 0 S 0 0 1 0 1 0 1 0 1 S 0 0 0 S 0 0 1 0 1 S 0 0 0 S 0 \n";
constexpr int kLadderSaves = 17;

// Where the answer to save prompt `n` (from 1) stands in the ladder's input.
std::size_t save_answer(int n) {
  std::size_t at = 0;
  for (int seen = 0; seen < n; ++seen) at = kLadder.find('S', seen ? at + 1 : 0);
  return at;
}

// The ladder with its first `yes` save prompts answered 1 and the rest 0.
std::string ladder_saving(int yes) {
  std::string input = kLadder;
  int seen = 0;
  for (char& c : input) {
    if (c == 'S') c = ++seen <= yes ? '1' : '0';
  }
  return input;
}
#endif

// The most memory this process has held so far, in KiB (0 where unknown).
long peak_rss_kib() {
#ifdef _WIN32
  return 0;
#else
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#endif
}

using SaveFaults = GameTest;

// Every cut of a save file, many small corruptions of it, and things that are
// no save file at all are either read or refused with a new hero made
// instead, and the game plays on either way; never a crash (the sanitizer
// build watches).
TEST_F(SaveFaults, DamagedSaveFilesLoadOrMakeANewHero) {
  // Resume, then a few answers of a duel for a loaded hero, or of creation.
  const std::string input = "1 1 0 0 1 0 5 0 0 3 6 0 2 1 0 4 0 0\n";
  const std::size_t goldLine = kOldSave.find("900");
  // Plays a game that resumes from what stats.txt is; true when the hero was loaded.
  auto resumes_from_it = [&] {
    std::string out = play(input);
    std::size_t at = out.find("loading...\n");
    EXPECT_NE(at, std::string::npos) << out;
    bool refused = at != std::string::npos && out.compare(at, kNoLoad.size(), kNoLoad) == 0;
    if (refused) {
      EXPECT_EQ(out.compare(at + kNoLoad.size(), 9, "Player 1,"), 0) << "a new hero\n" << out;
    }
    return !refused;
  };
  auto resumes = [&](const std::string& file) {
    write_file("stats.txt", file);
    return resumes_from_it();
  };
  // A cut file loads exactly when gold's first digit is still there.
  for (std::size_t len = 0; len <= kOldSave.size(); ++len) {
    EXPECT_EQ(resumes(kOldSave.substr(0, len)), len > goldLine) << kOldSave.substr(0, len);
  }
  std::mt19937 rng(20240611);
  const std::string interesting("0123456789-+ \n\t\r\v\xff", 19);  // and NUL
  int loaded = 0, refused = 0;
  for (int round = 0; round < 600; ++round) {
    std::string file = kOldSave;
    for (int edits = 1 + rng() % 3; edits > 0; --edits) {
      std::size_t at = rng() % file.size();
      char c = rng() % 2 ? interesting[rng() % interesting.size()] : static_cast<char>(rng());
      switch (rng() % 4) {
        case 0: file[at] = c; break;
        case 1: file.erase(at, 1 + rng() % 4); break;
        case 2: file.insert(at, 1 + rng() % 12, c); break;
        default: file.insert(at, file.substr(rng() % file.size(), 1 + rng() % 40)); break;
      }
      if (file.empty()) file = "x";
    }
    (resumes(file) ? loaded : refused)++;
  }
  EXPECT_GT(loaded, 100);
  EXPECT_GT(refused, 100);

  // Whatever else is called stats.txt is refused at once and with little
  // memory, however long it would take to read.
  const fs::path saved = dir_ / "stats.txt";
  auto padded = [&](std::size_t size) {
    write_file("stats.txt", kOldSave + std::string(size - kOldSave.size(), '\n'));
    return true;
  };
  struct OddFile {
    const char* what;
    bool loads;
    std::function<bool()> make;  // false where this system cannot have it
  };
  const OddFile odd_files[] = {
      {"a save as long as a save may be", true, [&] { return padded(kSaveFileLimit); }},
      {"a save one byte longer", false, [&] { return padded(kSaveFileLimit + 1); }},
      {"a save 1 MiB long", false, [&] { return padded(1 << 20); }},
      {"a folder", false, [&] { return fs::create_directory(saved); }},
#ifndef _WIN32
      {"a pipe", false, [&] { return ::mkfifo(saved.c_str(), 0600) == 0; }},
      {"a link to /dev/zero", false,
       [&] { return fs::exists("/dev/zero") && (fs::create_symlink("/dev/zero", saved), true); }},
#endif
  };
  for (const OddFile& odd : odd_files) {
    fs::remove_all(saved);
    if (!odd.make()) continue;
    const long peak = peak_rss_kib();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(resumes_from_it(), odd.loads) << odd.what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250)) << odd.what;
    EXPECT_LT(peak_rss_kib() - peak, 4096) << odd.what << ": KiB more at the peak";
  }
}

#ifndef _WIN32

// A save that cannot be written or cannot take the old file's place: the
// player is told and asked to go on, the old save stays as it was, and the
// game goes on to the first duel.
TEST_F(SaveFaults, FailedSavesKeepTheOldFileAndPlayGoesOn) {
  const fs::path saved = dir_ / "stats.txt";
  const fs::path temp = dir_ / ("stats.txt." + std::to_string(platform::process_id()) + ".tmp");
  struct Fault {
    const char* what;
    std::function<bool()> make;  // false where this system cannot have it
    const char* why;
  };
  const Fault faults[] = {
      {"stats.txt is a folder",
       [&] { return fs::remove(saved) && fs::create_directories(saved / "old"); },
       "Is a directory"},
      {"a folder where the new file goes", [&] { return fs::create_directory(temp); },
       "Is a directory"},
      {"the disk is full",
       [&] { return fs::exists("/dev/full") && (fs::create_symlink("/dev/full", temp), true); },
       "the file could not be written"},
  };
  for (const Fault& fault : faults) {
    fs::remove_all(saved);
    fs::remove_all(temp);
    write_file("stats.txt", kOldSave);
    if (!fault.make()) continue;

    std::string out = play("1 0 Hero 9 12 0 4 0 0 0 1 7 0\n");
    std::string expected = kSavePrompt + "saving...\nCould not save to stats.txt: " + fault.why +
                           "\nenter a number to continue: " + kClear + "Strength:      9\n";
    EXPECT_NE(out.find(expected), std::string::npos) << fault.what << '\n' << out;
    if (fs::is_directory(saved)) {
      EXPECT_TRUE(fs::exists(saved / "old")) << fault.what;
    } else {
      EXPECT_EQ(read_file("stats.txt"), kOldSave) << fault.what;
    }
    // The game removes its own temporary file, and only that.
    EXPECT_TRUE(fs::is_directory(temp) || !fs::exists(fs::symlink_status(temp))) << fault.what;
  }
}

// The real game in a pipe, in the test's folder.
struct Game {
  pid_t pid = -1;
  int in = -1;   // its standard input
  int out = -1;  // its standard output

  Game() {
    int to[2], from[2];
    if (::pipe(to) != 0 || ::pipe(from) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, to[0], 0);
    posix_spawn_file_actions_adddup2(&actions, from[1], 1);
    for (int fd : {to[0], to[1], from[0], from[1]}) posix_spawn_file_actions_addclose(&actions, fd);
    char* argv[] = {const_cast<char*>(VAELMOOR_BINARY), nullptr};
    if (posix_spawn(&pid, VAELMOOR_BINARY, &actions, nullptr, argv, environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(to[0]);
    ::close(from[1]);
    in = to[1];
    out = from[0];
  }
  ~Game() {
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
    ::close(in);
    ::close(out);
  }

  void type(const std::string& text) const {
    for (std::size_t done = 0; done < text.size();) {
      ssize_t n = ::write(in, text.data() + done, text.size() - done);
      if (n <= 0) return;
      done += static_cast<std::size_t>(n);
    }
  }

  // Reads the game's output until `text` has been shown `times` times.
  bool wait_for(const std::string& text, int times) const {
    std::string shown;
    std::size_t from = 0;
    char buf[4096];
    while (times > 0) {
      std::size_t at = shown.find(text, from);
      if (at != std::string::npos) {
        --times;
        from = at + text.size();
        continue;
      }
      ssize_t n = ::read(out, buf, sizeof buf);
      if (n <= 0) return false;
      shown.append(buf, static_cast<std::size_t>(n));
    }
    return true;
  }
};

// A save removes the temporary files that games killed mid-save left, and
// only those: not a running game's, nor a file that merely looks alike.
TEST_F(SaveFaults, SavesClearDeadGamesTemporaryFiles) {
  Game running;  // waits in this folder for its first answer
  pid_t dead;
  {
    Game killed;
    dead = killed.pid;
  }
  auto temp = [](pid_t pid) { return "stats.txt." + std::to_string(pid) + ".tmp"; };
  const std::pair<std::string, bool> files[] = {
      {temp(dead), false}, {temp(running.pid), true}, {temp(dead) + ".keep", true}};
  for (const auto& [name, kept] : files) write_file(name, kOldSave);
  play("1 0 Hero 9 12 0 4 0 0 0 1 7 0\n");
  for (const auto& [name, kept] : files) EXPECT_EQ(fs::exists(dir_ / name), kept) << name;
}

// True when a killed game left its temporary file: it died mid-save.
bool remove_temp_files(const fs::path& dir) {
  bool found = false;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().filename() != "stats.txt") found = fs::remove(entry.path());
  }
  return found;
}

// The game killed outright at random moments around its saves: "stats.txt"
// is always the whole old save or the whole new one.
TEST_F(SaveFaults, KilledWhileSavingLeavesTheOldOrTheNewFile) {
  // What the file holds after each number of saves, from the same game in-process.
  std::vector<std::string> after{kOldSave};
  for (int saves = 1; saves <= kLadderSaves; ++saves) {
    write_file("stats.txt", kOldSave);
    play(ladder_saving(saves));
    after.push_back(read_file("stats.txt"));
    ASSERT_NE(after[saves], after[saves - 1]) << "each save differs from the one before";
  }

  // How long a save takes from the answer to the next screen, to aim the kills.
  std::vector<std::chrono::steady_clock::duration> save_times;
  for (int i = 0; i < 7; ++i) {
    write_file("stats.txt", kOldSave);
    Game game;
    std::string input = ladder_saving(1);
    std::size_t answer = save_answer(1);
    game.type(input.substr(0, answer));
    ASSERT_TRUE(game.wait_for(kSavePrompt, 1));
    auto start = std::chrono::steady_clock::now();
    game.type(input.substr(answer));
    ASSERT_TRUE(game.wait_for(kClear, 1));
    save_times.push_back(std::chrono::steady_clock::now() - start);
  }
  std::nth_element(save_times.begin(), save_times.begin() + 3, save_times.end());
  const auto save_time = save_times[3];

  // Writing to a game just killed must not end the test; and sleeps must be
  // as short as asked, not 50 µs longer.
  auto old_sigpipe = ::signal(SIGPIPE, SIG_IGN);
#ifdef __linux__
  int old_slack = ::prctl(PR_GET_TIMERSLACK);
  ::prctl(PR_SET_TIMERSLACK, 1UL);
#endif
  std::mt19937 rng(7);
  int kills = 0, oldKept = 0, newWritten = 0, caughtMidSave = 0;
  for (; kills < 200; ++kills) {
    const int k = 1 + rng() % kLadderSaves;  // the save that the kill aims at
    write_file("stats.txt", kOldSave);
    std::string input = ladder_saving(k);
    std::size_t answer = save_answer(k);
    {
      Game game;
      game.type(input.substr(0, answer));
      ASSERT_TRUE(game.wait_for(kSavePrompt, k)) << "save prompt " << k;
      game.type(input.substr(answer));
      // Sleeping, not spinning: the game needs the processor meanwhile.
      std::this_thread::sleep_for(std::chrono::nanoseconds(rng() % (save_time.count() + 1)));
    }  // killed here
    std::string now = read_file("stats.txt");
    if (now == after[k - 1]) {
      ++oldKept;
    } else if (now == after[k]) {
      ++newWritten;
    } else {
      ADD_FAILURE() << "kill " << kills << " around save " << k << " left:\n" << now;
    }
    if (remove_temp_files(dir_)) ++caughtMidSave;
  }
  ::signal(SIGPIPE, old_sigpipe);
#ifdef __linux__
  ::prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(old_slack));
#endif
  std::cout << "[ kills    ] " << kills << " kills: " << oldKept << " left the old save, "
            << newWritten << " the new one; " << caughtMidSave
            << " caught a save in progress (temporary file left)\n";
  EXPECT_GT(oldKept, 0);
  EXPECT_GT(newWritten, 0);
}

#endif  // _WIN32

}  // namespace
