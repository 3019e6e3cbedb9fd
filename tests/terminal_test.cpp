// The real game in a pseudo-terminal: Story mode through the archery scene,
// the terminal's mode, keyboard flags and cursor after the scene, signals and
// a stop, and saves cut short by a kill. POSIX only.
#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "harness.h"
#include "story/passages.h"

namespace {

const std::string kFrame = kClear + "<Arrow keys>: move <space>: shoot arrow\n";
const std::string kHold = "\033[?2026h", kPaint = "\033[?2026l";  // synchronized output
const std::string kHide = "\033[?25l", kShow = "\033[?25h";
const std::string kPush = "\033[>11u", kPop = "\033[<u";  // kitty keyboard flags
const std::string kGiveBack = kPaint + kShow + kPop;
const std::string kAfterScene = "Erevon looked around him and then back at you. 'You killed 21";
const std::string kClosing = "Game Over. \nThank you for playing.\nenter a number to continue: ";
// Story mode, load the hero, win the first duel (stat sheet, a round with an
// attack, no save, leave the shop), then answer the pause before the scene.
const std::string kToTheScene = "2\n1\n" "1\n1\n1\n0\n0\n0\n" "1\n";
// The second duel: stat sheet, round, save prompt, shop; the last pause.
const std::string kRestOfTheStory = "1\n" "1\n1\n0\n0\n0\n" "1\n";

// The game as a job of a minimal shell in a pseudo-terminal of its own (alone
// in its session, its stops would be discarded); the shell reports waitpid
// statuses. The game reads `piped_answers` from a file if any, and has a
// saved hero whom the story's enemies cannot hurt and who fells them.
class Pty {
 public:
  explicit Pty(const std::string& piped_answers = "", bool ignore_interrupt = false)
      : ignore_interrupt_(ignore_interrupt) {
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "stats.txt")
        << "Hero\n50\n1\n5\n30\n0\n100\n50\n100\n0\n1\n0\n0\n0\n0\n0\n0\n0\n";
    if (!piped_answers.empty()) std::ofstream(dir_ / "answers.txt") << piped_answers;
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    const std::string name = ptsname(master_);
    slave_ = open(name.c_str(), O_RDWR | O_NOCTTY);
    const winsize wide = {25, 120, 0, 0};  // the game lays its text out for 80 columns in it
    ioctl(slave_, TIOCSWINSZ, &wide);
    before = mode();
    int report[2];
    if (pipe(report) != 0) return;
    if ((shell_ = fork()) == 0) run_shell(name, report[1]);
    close(report[1]);
    status_ = report[0];
    game = next_status();  // first the game's process id
  }
  ~Pty() {
    if (game > 0 && !ended_) kill(game, SIGKILL);
    for (int fd : {master_, slave_, status_}) close(fd);
    if (shell_ > 0) waitpid(shell_, nullptr, 0);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string saved() const {
    std::ifstream file(dir_ / "stats.txt");
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  std::string mode() const {  // the whole termios, as bytes, for exact comparison
    termios t;
    std::memset(&t, 0, sizeof t);
    tcgetattr(slave_, &t);
    return std::string(reinterpret_cast<const char*>(&t), sizeof t);
  }
  void type(const std::string& bytes) { (void)!write(master_, bytes.data(), bytes.size()); }

  // Stops the game (SIGSTOP: none of its handlers runs), waits until all it
  // wrote is on `screen`, and continues it; returns its count of writes.
  long writes_so_far() {
    kill(game, SIGSTOP);
    EXPECT_TRUE(WIFSTOPPED(next_status()));
    (void)!write(slave_, "\001", 1);  // comes out after everything the game wrote
    EXPECT_TRUE(wait_for("\001", screen.size()));
    std::ifstream io("/proc/" + std::to_string(game) + "/io");
    std::string key;
    long count = -1;
    while (io >> key >> count && key != "syscw:") {}
    kill(game, SIGCONT);
    EXPECT_TRUE(WIFCONTINUED(next_status()));
    return count;
  }

  // Reads what the game writes until `text` shows up at or after `from`, for
  // at most 5 s.
  bool wait_for(const std::string& text, std::size_t from = 0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    pollfd p = {master_, POLLIN, 0};
    char buf[4096];
    while (screen.find(text, from) == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      ssize_t n = poll(&p, 1, 100) == 1 ? read(master_, buf, sizeof buf) : 0;
      if (n < 0) return false;
      for (ssize_t i = 0; i < n; ++i)
        if (buf[i] != '\r') screen += buf[i];
    }
    return true;
  }
  // The game's next change of state as its shell saw it (waitpid status), or -1.
  int next_status() {
    pollfd p = {status_, POLLIN, 0};
    int s = -1;
    if (poll(&p, 1, 5000) != 1 || read(status_, &s, sizeof s) != sizeof s) return -1;
    ended_ = game > 0 && (WIFEXITED(s) || WIFSIGNALED(s));
    return s;
  }

  std::string before;  // the terminal's mode before the game
  std::string screen;  // everything the game wrote, line ends as "\n"
  int game = -1;

 private:
  [[noreturn]] void run_shell(const std::string& name, int report) {
    setsid();
    int tty = open(name.c_str(), O_RDWR);  // becomes this session's terminal
    pid_t child = fork();
    if (child == 0) {
      setpgid(0, 0);
      for (int sig : {SIGINT, SIGQUIT}) signal(sig, SIG_DFL);  // a job's own, even if ignored here
      if (ignore_interrupt_) signal(SIGINT, SIG_IGN);           // as for a job started with nohup
      signal(SIGTTOU, SIG_IGN);
      tcsetpgrp(tty, getpid());
      signal(SIGTTOU, SIG_DFL);
      dup2(tty, 0), dup2(tty, 1), dup2(tty, 2);
      if (chdir(dir_.c_str()) != 0) _exit(127);
      dup2(open("answers.txt", O_RDONLY), 0);  // only if there are answers
      execl(VAELMOOR_BINARY, "vaelmoor", static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = static_cast<int>(child);
    (void)!write(report, &status, sizeof status);
    for (;;) {
      if (waitpid(child, &status, WUNTRACED | WCONTINUED) < 0) _exit(1);
      (void)!write(report, &status, sizeof status);
      if (WIFEXITED(status) || WIFSIGNALED(status)) _exit(0);
    }
  }

  const std::filesystem::path dir_ = std::filesystem::temp_directory_path() /
                                     ("vaelmoor-tty-" + std::to_string(std::random_device()()));
  int master_ = -1, slave_ = -1, status_ = -1;
  pid_t shell_ = -1;
  bool ended_ = false;
  bool ignore_interrupt_;
};

// Starts the game and brings it to the scene's first frame. The terminal
// answers the device query, and the kitty query too if it is to be kitty.
void enter_scene(Pty& game, bool kitty = false) {
  ASSERT_GT(game.game, 0);
  game.type(kToTheScene);
  ASSERT_TRUE(game.wait_for("\033[?u\033[c")) << game.screen;  // kitty flags?, device attributes?
  if (kitty) {  // a stop while the game waits for the answers does not end its wait
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    kill(game.game, SIGSTOP), game.next_status(), kill(game.game, SIGCONT), game.next_status();
  }
  game.type(kitty ? "\033[?0u\033[?62;22c" : "\033[?62;22c");
  ASSERT_TRUE(game.wait_for(kFrame + "_H_____________X________________\n")) << game.screen;
  ASSERT_NE(game.mode(), game.before);
  ASSERT_EQ(game.screen.find(kPush + kHold + kFrame) != std::string::npos, kitty);
}

// The keys a player who knows the rules presses on `track`: meet the next
// horseman where he will be, else walk toward him, or to column 5 to wait
// for one who has ridden past. Both forms of arrow keys are used.
std::string keys_for(const std::string& track) {
  int x = static_cast<int>(track.find('X')), h = static_cast<int>(track.find('H'));
  if (h >= 0 && x < h) --h;
  int next = h < 0 ? 1 : h + 1 >= 30 ? 5 : h + 1;
  int step = std::abs(next - x) <= 1 ? next - x : (next < x || x > 5) ? -1 : x < 5 ? 1 : 0;
  return std::string(step < 0 ? "\033[D" : step > 0 ? "\033OC" : "") +
         (std::abs(next - x) <= 1 ? " " : "");
}

TEST(Terminal, StoryPlaysThroughTheSceneWithArrowsAndSpace) {
  Pty game;
  enter_scene(game);
  std::size_t frames = 0, hits = 0;  // about 30 frames are enough
  for (auto at = game.screen.find(kFrame); at != std::string::npos && frames < 99; ++frames) {
    at += kFrame.size();
    std::size_t end = game.screen.find('\n', at);
    hits += game.screen.compare(end + 1, 13, "You hit one!\n") == 0;
    std::string keys = hits < 21 ? keys_for(game.screen.substr(at, end - at)) : "";
    game.type(frames == 3 ? keys + "1\n" : keys);  // an answer typed ahead is kept for later
    // Whatever follows, complete: the next frame's track, or the text after the scene.
    if (!game.wait_for(kClear, end) ||
        !game.wait_for("\n", game.screen.find(kClear, end) + kFrame.size()))
      break;
    at = game.screen.find(kFrame, end);
  }
  ASSERT_TRUE(game.wait_for(kClear + kAfterScene)) << game.screen;
  EXPECT_EQ(game.mode(), game.before);
  const std::string& s = game.screen;
  EXPECT_LT(s.find(kHide), s.find(kFrame)) << "the cursor hidden from the first frame";
  EXPECT_NE(s.find(kShow, s.rfind(kFrame)), std::string::npos) << "and shown after the last";
  EXPECT_EQ(count_of(s, kHold + kFrame), count_of(s, kFrame)) << "every frame held";
  EXPECT_EQ(count_of(s, "\n" + kPaint), count_of(s, kFrame)) << "and painted at its end";
  EXPECT_EQ(game.screen.find("[D"), std::string::npos) << "the keys are not echoed";
  const std::string prologue = kPrologue;
  EXPECT_NE(s.find(prologue.substr(0, 80) + "\n" + prologue.substr(80, 80) + "\n"), std::string::npos)
      << "laid out for 80 columns";
  game.type(kRestOfTheStory.substr(2));  // its first answer was typed during the scene
  EXPECT_TRUE(game.wait_for(kClosing));
  const int status = game.next_status();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(game.mode(), game.before);
}

// In a kitty terminal the scene is stopped (Ctrl-Z) and continued, then the
// game is ended by a signal: whenever it is not playing, the terminal has its
// own mode, keyboard flags and cursor back. Between two stops, each frame
// was one write. A game started with SIGINT ignored keeps ignoring it. (Ctrl-C
// sent as a key is CI's kitty step.)
TEST(Terminal, StopAndDeadlySignalsRestoreTheMode) {
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    SCOPED_TRACE(strsignal(sig));
    Pty game("", sig == SIGTERM);
    enter_scene(game, true);
    const long writes = game.writes_so_far();
    std::size_t seen = game.screen.size();
    ASSERT_TRUE(game.wait_for(kFrame, seen) && game.wait_for(kFrame, game.screen.find(kFrame, seen) + 1));
    const long frames = static_cast<long>(count_of(game.screen.substr(seen), kFrame));
    EXPECT_EQ(game.writes_so_far() - writes, frames) << "one write per frame";
    const std::string scene = game.mode();
    seen = game.screen.size();
    kill(game.game, SIGTSTP);
    EXPECT_TRUE(WIFSTOPPED(game.next_status()));
    EXPECT_EQ(game.mode(), game.before) << "while stopped";
    EXPECT_TRUE(game.wait_for(kGiveBack, seen));
    seen = game.screen.size();
    kill(game.game, SIGCONT);
    EXPECT_TRUE(WIFCONTINUED(game.next_status()));
    EXPECT_TRUE(game.wait_for(kHide + kPush + kHold + kFrame, seen)) << "frames go on";
    EXPECT_EQ(game.mode(), scene) << "after continuing";
    if (sig == SIGTERM) {
      kill(game.game, SIGINT);
      seen = game.screen.size();
      EXPECT_TRUE(game.wait_for(kFrame, seen)) << "an ignored SIGINT changes nothing";
    }
    kill(game.game, sig);
    const int status = game.next_status();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig);
    EXPECT_EQ(game.mode(), game.before) << "after the end";
    EXPECT_TRUE(game.wait_for(kGiveBack, seen));
    EXPECT_EQ(game.screen.substr(game.screen.size() - kGiveBack.size()), kGiveBack) << "and nothing after";
  }
}

// Piped input has no keyboard: the scene is skipped and the story goes on.
TEST(Terminal, StoryFromAPipeSkipsTheSceneAndFinishes) {
  Pty game(kToTheScene + kRestOfTheStory);
  EXPECT_TRUE(game.wait_for("continue: " + kClear + kAfterScene) && game.wait_for(kClosing)) << game.screen;
  const int status = game.next_status();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// The game killed outright at random moments of a save: "stats.txt" is
// always the whole old save or the whole new one, never a part of either.
TEST(Terminal, KillWhileSavingLeavesTheOldOrTheNewFile) {
  const std::string old = Pty().saved();
  std::string saved;
  // Plays a new hero to the save prompt after creation and answers yes.
  auto save_once = [&](std::chrono::nanoseconds kill_after) {
    Pty game;
    game.type("1 0 Hero 9 12 0 4 0 0 0\n");
    EXPECT_TRUE(game.wait_for("save?(will overwrite old game)(1 for yes): "));
    const auto start = std::chrono::steady_clock::now();
    game.type("1\n");
    if (kill_after.count() < 0) {
      EXPECT_TRUE(game.wait_for("saving...\n" + kClear));
    }
    std::this_thread::sleep_for(kill_after);
    kill(game.game, SIGKILL);
    game.next_status();
    saved = game.saved();
    return std::chrono::steady_clock::now() - start;
  };
  const auto save_time = save_once(std::chrono::nanoseconds(-1));
  const std::string written = saved;
  ASSERT_NE(written, old);
  std::mt19937 rng(7);
  int old_kept = 0, new_written = 0;
  for (int kill = 0; kill < 40; ++kill) {
    save_once(std::chrono::nanoseconds(rng() % (2 * save_time.count() + 1)));
    old_kept += saved == old;
    new_written += saved == written;
    EXPECT_TRUE(saved == old || saved == written) << "kill " << kill << " left:\n" << saved;
  }
  EXPECT_GT(old_kept, 0);
  EXPECT_GT(new_written, 0);
}

}  // namespace

#endif  // _WIN32
