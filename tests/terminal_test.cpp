// The real game in a real pseudo-terminal: Story mode played through the
// archery scene with keys, and the terminal's mode checked after the scene,
// after each deadly signal and across a stop. POSIX only.
#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

using Clock = std::chrono::steady_clock;

const std::string kClear = "\033[H\033[2J";
const std::string kHelp = "<Arrow keys>: move <space>: shoot arrow\n";
const std::string kQueries = "\033[?u\033[c";  // kitty flags?, then device attributes
const std::string kDeviceAnswer = "\033[?62;22c";

// A hero whom the story's enemies cannot hurt and whose first blow fells them.
const std::string kSavedHero = "Hero\n50\n1\n5\n30\n0\n100\n50\n100\n0\n1\n0\n0\n0\n0\n0\n0\n0\n";
// Story mode, load the hero, win the first duel (stat sheet, a round with an
// attack, no save, leave the shop), then answer the pause before the scene.
const std::string kToTheScene = "2\n1\n" "1\n1\n1\n0\n0\n0\n" "1\n";
// The second duel's stat sheet; the round, the save prompt, the shop; the last pause.
const std::string kSheetAnswer = "1\n";
const std::string kRestOfTheStory = "1\n1\n0\n0\n0\n" "1\n";

bool same_mode(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0 &&
         cfgetispeed(&a) == cfgetispeed(&b) && cfgetospeed(&a) == cfgetospeed(&b);
}

// The game as a job of a minimal shell in a pseudo-terminal of its own: the
// shell process only waits and reports, and never touches the terminal's
// mode, so whatever mode the terminal has afterwards is the game's doing.
class TerminalGame {
 public:
  TerminalGame() {
    std::random_device rd;
    dir_ = std::filesystem::temp_directory_path() / ("vaelmoor-pty-" + std::to_string(rd()));
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "stats.txt") << kSavedHero;
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    std::string name = ptsname(master_);
    slave_ = open(name.c_str(), O_RDWR | O_NOCTTY);
    tcgetattr(slave_, &before_);
    int status_pipe[2];
    if (pipe(status_pipe) != 0) return;
    shell_ = fork();
    if (shell_ == 0) run_shell(name, status_pipe[1]);
    close(status_pipe[1]);
    status_ = status_pipe[0];
    read_status(game_);
  }

  ~TerminalGame() {
    if (game_ > 0 && !ended_) kill(game_, SIGKILL);
    if (master_ >= 0) close(master_);
    if (slave_ >= 0) close(slave_);
    if (status_ >= 0) close(status_);
    if (shell_ > 0) waitpid(shell_, nullptr, 0);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  bool started() const { return game_ > 0; }
  pid_t pid() const { return game_; }
  const std::string& screen() const { return out_; }  // everything written, line ends as "\n"
  const termios& mode_before() const { return before_; }
  termios mode_now() const {
    termios now{};
    tcgetattr(slave_, &now);
    return now;
  }

  void type(const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
      ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) return;
      done += static_cast<std::size_t>(n);
    }
  }

  // Reads what the game writes until `text` shows up at or after `from`.
  bool wait_for(const std::string& text, std::size_t from = 0, int ms = 5000) {
    auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (out_.find(text, from) == std::string::npos) {
      if (!read_some(deadline)) return false;
    }
    return true;
  }

  // Reads for a while, for whatever comes.
  bool read_some(Clock::time_point deadline) {
    int left = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
    if (left <= 0) return false;
    pollfd p = {master_, POLLIN, 0};
    if (poll(&p, 1, left) <= 0) return false;
    char buf[4096];
    ssize_t n = read(master_, buf, sizeof buf);
    if (n <= 0) return false;
    for (ssize_t i = 0; i < n; ++i)
      if (buf[i] != '\r') out_ += buf[i];
    return true;
  }

  // The next change of the game's state as its shell saw it (waitpid status).
  bool next_status(int& status, int ms = 5000) {
    if (!read_status(status, ms)) return false;
    if (WIFEXITED(status) || WIFSIGNALED(status)) ended_ = true;
    return true;
  }

 private:
  [[noreturn]] void run_shell(const std::string& name, int report) {
    setsid();
    int tty = open(name.c_str(), O_RDWR);  // becomes this session's terminal
    pid_t game = fork();
    if (game == 0) {
      setpgid(0, 0);
      signal(SIGTTOU, SIG_IGN);
      tcsetpgrp(tty, getpid());
      signal(SIGTTOU, SIG_DFL);
      dup2(tty, 0), dup2(tty, 1), dup2(tty, 2);
      if (chdir(dir_.c_str()) == 0) execl(VAELMOOR_BINARY, "vaelmoor", static_cast<char*>(nullptr));
      _exit(127);
    }
    setpgid(game, game);
    int status = static_cast<int>(game);
    (void)!write(report, &status, sizeof status);
    for (;;) {
      if (waitpid(game, &status, WUNTRACED | WCONTINUED) < 0) _exit(1);
      (void)!write(report, &status, sizeof status);
      if (WIFEXITED(status) || WIFSIGNALED(status)) _exit(0);
    }
  }

  bool read_status(int& status, int ms = 5000) {
    pollfd p = {status_, POLLIN, 0};
    if (poll(&p, 1, ms) <= 0) return false;
    return read(status_, &status, sizeof status) == static_cast<ssize_t>(sizeof status);
  }

  std::filesystem::path dir_;
  int master_ = -1, slave_ = -1, status_ = -1;
  pid_t shell_ = -1;
  int game_ = -1;
  bool ended_ = false;
  termios before_{};
  std::string out_;
};

// One drawn frame: the archer's and the horseman's columns (-1: not there).
struct Frame {
  int archer = -1;
  int horseman = -1;
  std::string notice;
};

// Finds frame number `n` (0 for the first) in the screen, once complete.
bool parse_frame(const std::string& screen, std::size_t n, Frame& f) {
  std::size_t at = 0;
  for (std::size_t i = 0; i <= n; ++i) {
    at = screen.find(kClear + kHelp, at);
    if (at == std::string::npos) return false;
    at += kClear.size() + kHelp.size();
  }
  std::size_t end = screen.find('\n', at);
  if (end == std::string::npos) return false;
  std::string track = screen.substr(at, end - at);
  std::size_t x = track.find('X'), h = track.find('H');
  f.archer = x == std::string::npos ? -1 : static_cast<int>(x);
  f.horseman = h == std::string::npos ? -1 : static_cast<int>(h) - (x < h ? 1 : 0);
  std::size_t next = screen.find(kClear, end);
  f.notice = screen.substr(end + 1, next == std::string::npos ? std::string::npos : next - end - 1);
  return true;
}

struct Keys {
  bool left = false, right = false, space = false;
};

// Plays like a player would who knows the rules: meet the next horseman
// where he will be, and otherwise walk toward him, or to column 5 to wait
// for a horseman who has already ridden past.
Keys choose_keys(const Frame& f) {
  int next = f.horseman == -1 ? 1 : (f.horseman + 1 >= 30 ? 5 : f.horseman + 1);
  Keys k;
  if (next == f.archer) k.space = true;
  else if (next == f.archer - 1) k.left = k.space = true;
  else if (next == f.archer + 1) k.right = k.space = true;
  else if (next < f.archer) k.left = true;
  else if (f.archer < 5) k.right = true;
  else if (f.archer > 5) k.left = true;
  return k;
}

// Plays the scene to its end, answering each frame as it comes. Plain
// terminals send one press per key and frame; kitty sends press and release
// only when a key goes down or up. Returns the number of frames.
std::size_t play_scene(TerminalGame& game, bool kitty, std::size_t type_at_frame,
                       const std::string& typed, int& space_presses) {
  Keys held;
  std::size_t frame = 0;
  auto deadline = Clock::now() + std::chrono::seconds(30);
  while (game.screen().find("You took 2 points dm") == std::string::npos) {
    Frame f;
    if (!parse_frame(game.screen(), frame, f)) {
      if (!game.read_some(deadline)) break;
      continue;
    }
    Keys k = choose_keys(f);
    std::string bytes;
    if (kitty) {
      if (k.left != held.left) bytes += k.left ? "\033[D" : "\033[1;1:3D";
      if (k.right != held.right) bytes += k.right ? "\033[C" : "\033[1;1:3C";
      if (k.space != held.space) bytes += k.space ? "\033[32u" : "\033[32;1:3u";
      space_presses += k.space && !held.space;
      held = k;
    } else {
      bytes = std::string(k.left ? "\033[D" : "") + (k.right ? "\033OC" : "") + (k.space ? " " : "");
      space_presses += k.space;
    }
    if (frame == type_at_frame) bytes += typed;
    game.type(bytes);
    ++frame;
  }
  return frame;
}

// Starts the game and brings it to the scene's first frame.
void enter_scene(TerminalGame& game, const std::string& device_answers) {
  ASSERT_TRUE(game.started());
  game.type(kToTheScene);
  ASSERT_TRUE(game.wait_for(kQueries)) << game.screen();
  game.type(device_answers);
  ASSERT_TRUE(game.wait_for(kClear + kHelp)) << game.screen();
  ASSERT_TRUE(game.wait_for("\n", game.screen().rfind(kHelp) + kHelp.size()));
  ASSERT_FALSE(same_mode(game.mode_now(), game.mode_before()));
}

void expect_closing(TerminalGame& game) {
  EXPECT_TRUE(game.wait_for("Game Over. \nThank you for playing.\nenter a number to continue: "))
      << game.screen();
  int status = -1;
  ASSERT_TRUE(game.next_status(status));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(same_mode(game.mode_now(), game.mode_before()));
}

TEST(Terminal, StoryPlaysThroughTheSceneWithArrowsAndSpace) {
  TerminalGame game;
  enter_scene(game, kDeviceAnswer);
  int presses = 0;
  // An answer typed during the scene is kept for the question after it.
  std::size_t frames = play_scene(game, false, 3, kSheetAnswer, presses);
  std::string after = "Erevon looked around him and then back at you. 'You killed 21 of my men.";
  ASSERT_TRUE(game.wait_for(kClear + after)) << game.screen().substr(game.screen().size() - 300);
  EXPECT_LT(frames, 60u);
  EXPECT_EQ(game.screen().find("\033[>11u"), std::string::npos) << "no kitty flags without kitty";
  EXPECT_TRUE(same_mode(game.mode_now(), game.mode_before()));
  ASSERT_TRUE(game.wait_for("Hit Points:    28\nMagic:         0\n"));
  game.type(kRestOfTheStory);
  expect_closing(game);
}

// A terminal that speaks the kitty keyboard protocol reports releases: a key
// pressed once stays down, frame after frame, until its release.
TEST(Terminal, KittyHeldSpaceShootsInEveryFrameUntilReleased) {
  TerminalGame game;
  enter_scene(game, "\033[?0u" + kDeviceAnswer);
  ASSERT_TRUE(game.wait_for("\033[>11u"));
  int presses = 0;
  std::size_t frames = play_scene(game, true, 3, "\033[49u\033[49;1:3u\033[13u", presses);
  std::size_t shots = 0;
  for (std::size_t n = 0; n < frames; ++n) {
    Frame f;
    if (parse_frame(game.screen(), n, f) && !f.notice.empty()) ++shots;
  }
  EXPECT_GE(shots, 21u);
  EXPECT_LT(presses, 8) << "held, not pressed again in each frame";
  // Popped, then one more question to the terminal so no key is left in flight.
  ASSERT_TRUE(game.wait_for("\033[<u\033[c"));
  game.type(kDeviceAnswer);
  ASSERT_TRUE(game.wait_for("You took 2 points dm from your arm wound\n"));
  EXPECT_TRUE(same_mode(game.mode_now(), game.mode_before()));
  ASSERT_TRUE(game.wait_for("Hit Points:    28\n"));
  game.type(kRestOfTheStory);
  expect_closing(game);
}

TEST(Terminal, KittyCtrlCInterruptsAndRestores) {
  TerminalGame game;
  enter_scene(game, "\033[?0u" + kDeviceAnswer);
  ASSERT_TRUE(game.wait_for("\033[>11u"));
  game.type("\033[99;5u");
  int status = -1;
  ASSERT_TRUE(game.next_status(status));
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
  EXPECT_TRUE(game.wait_for("\033[<u", game.screen().find("\033[>11u")));
  EXPECT_TRUE(same_mode(game.mode_now(), game.mode_before()));
}

TEST(Terminal, DeadlySignalsRestoreTheModeThenKill) {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    TerminalGame game;
    enter_scene(game, kDeviceAnswer);
    kill(game.pid(), sig);
    int status = -1;
    ASSERT_TRUE(game.next_status(status));
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << strsignal(sig);
    EXPECT_TRUE(same_mode(game.mode_now(), game.mode_before())) << strsignal(sig);
  }
}

TEST(Terminal, StopRestoresTheModeAndContinueBringsTheSceneBack) {
  TerminalGame game;
  enter_scene(game, kDeviceAnswer);
  termios scene = game.mode_now();
  kill(game.pid(), SIGTSTP);
  int status = -1;
  ASSERT_TRUE(game.next_status(status));
  ASSERT_TRUE(WIFSTOPPED(status));
  EXPECT_TRUE(same_mode(game.mode_now(), game.mode_before()));
  std::size_t seen = game.screen().size();
  kill(game.pid(), SIGCONT);
  ASSERT_TRUE(game.next_status(status));
  EXPECT_TRUE(WIFCONTINUED(status));
  ASSERT_TRUE(game.wait_for(kClear + kHelp, seen)) << "frames go on";
  EXPECT_TRUE(same_mode(game.mode_now(), scene));
  kill(game.pid(), SIGINT);
  ASSERT_TRUE(game.next_status(status));
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
  EXPECT_TRUE(same_mode(game.mode_now(), game.mode_before()));
}

// Piped input has no keyboard: the scene is skipped and the story goes on.
TEST(Terminal, ScriptedStoryFromAPipeFinishes) {
  auto dir = std::filesystem::temp_directory_path() / ("vaelmoor-pipe-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "stats.txt") << kSavedHero;
  std::ofstream(dir / "input.txt") << kToTheScene + kSheetAnswer + kRestOfTheStory;
  std::string command = "cd '" + dir.string() + "' && " VAELMOOR_BINARY " < input.txt > output.txt";
  EXPECT_EQ(std::system(command.c_str()), 0);
  std::ifstream file(dir / "output.txt");
  std::string out((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(out.find(kHelp), std::string::npos);
  EXPECT_NE(out.find("enter a number to continue: " + kClear + "Erevon looked around him and then "
                     "back at you. 'You killed 21 of my men."),
            std::string::npos);
  std::string end = "Game Over. \nThank you for playing.\nenter a number to continue: ";
  EXPECT_EQ(out.substr(out.size() - std::min(out.size(), end.size())), end);
  std::filesystem::remove_all(dir);
}

}  // namespace

#endif  // _WIN32
