// The real game in a pseudo-terminal of its own, as a job of a minimal shell:
// the archery scene, stops, typed answers, a terminal that closes. POSIX only.
#ifndef _WIN32

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "harness.h"
#include "pty.h"

namespace {

const std::string kFrame = kClear + "<Arrow keys>: move <space>: shoot arrow\n";
const std::string kHold = "\033[?2026h", kPaint = "\033[?2026l";  // synchronized output
const std::string kHide = "\033[?25l", kShow = "\033[?25h";
const std::string kPush = "\033[>11u", kPop = "\033[<u";  // kitty keyboard flags
// Story mode, load the hero, win the first duel (stat sheet, a round with an
// attack, no save, leave the shop), then answer the pause before the scene.
const std::string kToTheScene = "2\n1\n" "1\n1\n1\n0\n0\n0\n" "1\n";

// The game as a job of a minimal shell (alone in its session, its stops would be
// discarded) that reports waitpid statuses and outlives a hang-up. The game ignores
// `ignored`, writes to "out.txt" if `to_file`, and has a hero no story enemy hurts.
class Pty : public PseudoTerminal {
 public:
  explicit Pty(int ignored = 0, bool to_file = false) : ignored_(ignored), to_file_(to_file) {
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "stats.txt") << "Hero\n50\n1\n5\n30\n0\n100\n50\n100\n0\n1\n0\n0\n0\n0\n0\n0\n0\n";
    const winsize wide = {25, 120, 0, 0};  // the game lays its text out for 80 columns in it
    int report[2];
    if (tty < 0 || ioctl(tty, TIOCSWINSZ, &wide) != 0 || pipe(report) != 0) return;
    if ((shell_ = fork()) == 0) run_shell(ptsname(master), report[1]);
    close(report[1]), status_ = report[0];
    game = next_status();  // first the game's process id
  }
  ~Pty() {
    if (game > 0 && !ended_) kill(game, SIGKILL);
    close(status_);
    if (shell_ > 0) waitpid(shell_, nullptr, 0);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string out() const { return slurp(dir_ / "out.txt"); }
  std::string proc(const char* file) const { return slurp("/proc/" + std::to_string(game) + "/" + file); }
  void hang_up() { close(master), master = -1; }  // the terminal's window closed

  // Its count of writes, once all it wrote is on `screen` (stopped meanwhile by SIGSTOP).
  long writes_so_far() {
    kill(game, SIGSTOP);
    EXPECT_TRUE(WIFSTOPPED(next_status()));
    (void)!write(tty, "\001", 1);  // comes out after everything the game wrote
    EXPECT_TRUE(wait_for("\001", screen.size()));
    const std::string io = proc("io");
    const long count = std::atol(io.c_str() + io.find("syscw:") + 6);
    kill(game, SIGCONT);
    EXPECT_TRUE(WIFCONTINUED(next_status()));
    return count;
  }

  // Waits, for at most 5 s, until the game sleeps: once a question is shown, in its read.
  bool reading() const {
    for (int i = 0; i < 500; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
      if (proc("stat").find(") S ") != std::string::npos) return true;
    return false;
  }
  // The game's next change of state as its shell saw it (waitpid status), or -1.
  int next_status() {
    pollfd p = {status_, POLLIN, 0};
    int s = -1;
    if (poll(&p, 1, 5000) != 1 || read(status_, &s, sizeof s) != sizeof s) return -1;
    ended_ = game > 0 && (WIFEXITED(s) || WIFSIGNALED(s));
    return s;
  }

  int game = -1;

 private:
  [[noreturn]] void run_shell(const std::string& name, int report) {
    setsid();
    close(master);  // the terminal's window is the test's alone
    signal(SIGHUP, SIG_IGN);
    int tty = open(name.c_str(), O_RDWR);  // becomes this session's terminal
    pid_t child = fork();
    if (child == 0) {
      setpgid(0, 0);
      for (int sig : {SIGINT, SIGQUIT, SIGHUP}) signal(sig, SIG_DFL);  // a job's own, even if ignored here
      if (ignored_) signal(ignored_, SIG_IGN);  // as for a job started with nohup
      signal(SIGTTOU, SIG_IGN), tcsetpgrp(tty, getpid()), signal(SIGTTOU, SIG_DFL);
      dup2(tty, 0), dup2(tty, 1), dup2(tty, 2);
      if (chdir(dir_.c_str()) != 0) _exit(127);
      if (to_file_) dup2(open("out.txt", O_WRONLY | O_CREAT, 0600), 1);
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
  int status_ = -1, ignored_;
  pid_t shell_ = -1;
  bool ended_ = false, to_file_;
};

// Starts the game and brings it to the scene's first frame, answering the
// device query, and the kitty query too if it is to be kitty.
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
  const termios scene = game.attributes();  // keys as they come: not echoed, no line to wait for, a read never waits
  ASSERT_TRUE(!(scene.c_lflag & (ICANON | ECHO)) && scene.c_cc[VMIN] == 0 && scene.c_cc[VTIME] == 0);
  ASSERT_EQ(game.screen.find(kPush + kHold + kFrame) != std::string::npos, kitty);
}

// The keys, each a kitty press and release, of a player who knows the rules:
// meet the next horseman where he will be, else walk toward him, or to column
// 5 to wait for one who has ridden past.
std::string keys_for(const std::string& track) {
  int x = static_cast<int>(track.find('X')), h = static_cast<int>(track.find('H'));
  if (h >= 0 && x < h) --h;
  int next = h < 0 ? 1 : h + 1 >= 30 ? 5 : h + 1;
  int step = std::abs(next - x) <= 1 ? next - x : (next < x || x > 5) ? -1 : x < 5 ? 1 : 0;
  const char* move = step < 0 ? "\033[1;1:1D\033[1;1:3D" : step > 0 ? "\033[1;1:1C\033[1;1:3C" : "";
  return move + std::string(std::abs(next - x) > 1 ? "" : "\033[32u\033[32;1:3u");
}

// Plays the scene until all 21 horsemen have fallen (about 30 frames), typing
// `ahead` with the fourth frame's keys; true once the text after it is there.
bool play_scene(Pty& game, const std::string& ahead) {
  std::size_t frames = 0, hits = 0;
  if (!game.wait_for(kFrame) || !game.wait_for("\n", game.screen.find(kFrame) + kFrame.size())) return false;
  for (auto at = game.screen.find(kFrame); at != std::string::npos && frames < 99; ++frames) {
    at += kFrame.size();
    std::size_t end = game.screen.find('\n', at);
    hits += game.screen.compare(end + 1, 13, "You hit one!\n") == 0;
    std::string keys = hits < 21 ? keys_for(game.screen.substr(at, end - at)) : "";
    game.type(frames == 3 ? keys + ahead : keys);
    // Whatever follows, complete: the next frame's track, or the text after the scene.
    if (!game.wait_for(kClear, end) || !game.wait_for("\n", game.screen.find(kClear, end) + kFrame.size())) break;
    at = game.screen.find(kFrame, end);
  }
  return game.wait_for(kClear + "Erevon looked around him and then back at you. 'You killed 21");
}

// In a kitty terminal: an answer typed in the scene is kept for the story after
// it; the answer to its last query, come too late, is taken out of later ones.
TEST(Terminal, StoryPlaysThroughTheScene) {
  Pty game;
  enter_scene(game, true);
  ASSERT_TRUE(play_scene(game, "1\n")) << game.screen;
  EXPECT_EQ(game.mode(), game.before);
  const std::string& s = game.screen;
  EXPECT_LT(s.find(kHide), s.find(kFrame)) << "the cursor hidden from the first frame";
  EXPECT_NE(s.find(kShow, s.rfind(kFrame)), std::string::npos) << "and shown after the last";
  EXPECT_EQ(count_of(s, kHold + kFrame), count_of(s, kFrame)) << "every frame held";
  EXPECT_EQ(count_of(s, "\n" + kPaint), count_of(s, kFrame)) << "and painted at its end";
  EXPECT_EQ(s.find("[1;1:"), std::string::npos) << "the keys are not echoed";
  game.type("1\n\033[?62;22c" "1\n0\n0\n0\n" "1\n");  // the second duel's round, save prompt, shop; the last pause
  EXPECT_TRUE(game.wait_for("Game Over. \nThank you for playing.\nenter a number to continue: ")) << s.substr(s.size() - 600);
  const int status = game.next_status();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(game.mode(), game.before);
}

// The arrows in either form and the space bar, pressed once, alone or together,
// act in one frame: the next frame shows the archer where they left him, and
// no shot. (So they do in kitty's scene before any release: KeyTracker.)
TEST(Terminal, KeysOfThePlainKindActOnce) {
  Pty game;
  enter_scene(game);
  std::size_t stood = 15;
  for (const auto& [key, archer] : {std::pair{"\033[D ", 14u}, {" ", 14u}, {"\033OC", 15u}}) {
    game.type(key);
    std::size_t from = game.screen.size(), acted = 0;  // frames since they did
    for (int frame = 0; frame < 6 && acted < 2 && game.wait_for(kFrame, from); ++frame) {
      const std::size_t at = game.screen.find(kFrame, from) + kFrame.size();
      if (!game.wait_for(kPaint, at)) break;
      from = game.screen.find(kPaint, at);
      const std::string shown = game.screen.substr(at, from - at);  // the track and its notice
      const bool shot = shown.find("You") != std::string::npos;
      if (!acted && !shot && shown.find('X') == stood) continue;  // the keys not read yet
      EXPECT_EQ(shown.find('X'), archer) << key << shown;
      EXPECT_EQ(shot, !acted++ && key[std::strlen(key) - 1] == ' ') << key << shown;
    }
    EXPECT_EQ(acted, 2u) << key;
    stood = archer;
  }
}

class KittyScene : public ::testing::Test {
 protected:
  void SetUp() override { enter_scene(game, true); }
  Pty game;
};

TEST_F(KittyScene, EachFrameIsOneWrite) {
  const long writes = game.writes_so_far();
  const std::size_t seen = game.screen.size();
  ASSERT_TRUE(game.wait_for(kFrame, seen) && game.wait_for(kFrame, game.screen.find(kFrame, seen) + 1));
  const long written = game.writes_so_far() - writes;
  EXPECT_EQ(written, static_cast<long>(count_of(game.screen.substr(seen), kFrame)));
}

// Stopped by Ctrl-Z, or by a read or change of mode from the background, the
// game gives the terminal back, and takes the scene's mode again on SIGCONT.
TEST_F(KittyScene, AStoppedGameGivesTheTerminalBackUntilItContinues) {
  const std::string scene = game.mode();
  for (int stop : {SIGTSTP, SIGTTIN, SIGTTOU}) {
    std::size_t seen = game.screen.size();
    kill(game.game, stop);
    EXPECT_TRUE(WIFSTOPPED(game.next_status())) << strsignal(stop);
    EXPECT_EQ(game.mode(), game.before) << strsignal(stop);
    EXPECT_TRUE(game.wait_for(kPaint + kShow + kPop, seen)) << strsignal(stop) << ": given back";
    seen = game.screen.size();
    kill(game.game, SIGCONT);
    EXPECT_TRUE(WIFCONTINUED(game.next_status())) << strsignal(stop);
    EXPECT_TRUE(game.wait_for(kHide + kPush + kHold + kFrame, seen)) << strsignal(stop) << ": frames go on";
    EXPECT_EQ(game.mode(), scene) << strsignal(stop);
  }
}

// Enter alone is a read of one byte, and no answer. A line typed ahead was
// echoed before the question: what follows goes on from the question's end,
// where the answer to a question waited for starts a line of its own.
TEST(Terminal, EnterAloneAndLinesTypedAhead) {
  const std::string asked = "load a character to use in story mode?(1 for yes): ";
  for (bool ahead : {false, true}) {
    Pty game;
    ASSERT_TRUE(game.wait_for("   2.Story\n") && game.reading());
    game.type(ahead ? "\n2\n0\n" : "\n2\n");
    ASSERT_TRUE(game.wait_for(asked) && game.reading()) << game.screen;
    if (!ahead) game.type("0\n");
    EXPECT_TRUE(game.wait_for(asked + (ahead ? "Player 1,Hello. Welcome to Th\ne Vaelmoor. \n"
                                             : "0\nPlayer 1,Hello. Welcome to The Vaelmoor. \n")))
        << game.screen;
  }
}

// With SIGHUP ignored, a terminal that closes in the scene ends the game as
// the end of input does, at once: status 0, the closing. (At a prompt, a
// read's: ConsoleInput.NothingYetIsNotTheEndOfInput.)
TEST(Hostile, ClosedTerminalIsTheEndOfInput) {
  Pty game(SIGHUP, true);
  game.type(kToTheScene);
  for (int i = 0; i < 100 && game.out().find("shoot arrow") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto start = std::chrono::steady_clock::now();
  const int status = (game.hang_up(), game.next_status());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  const std::string out = game.out();
  EXPECT_EQ(out.substr(out.find("Game Over") - 1), "\nGame Over. \nThank you for playing.\n");
}

// 3 MB pasted into the scene leave a line's worth of memory behind.
TEST_F(KittyScene, AFloodOfTextKeepsALinesWorth) {
  auto peak_kib = [&] { const std::string s = game.proc("status"); return std::atol(s.c_str() + s.find("VmHWM:") + 6); };
  [[maybe_unused]] const long peak = peak_kib();
  game.type(std::string(3 << 20, '\n'));
#ifndef __SANITIZE_ADDRESS__  // whose quarantine holds on to freed memory
  EXPECT_LT(peak_kib() - peak, 2048) << "KiB more at the peak";
#endif
}

}  // namespace

#endif  // _WIN32
