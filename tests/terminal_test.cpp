// The real game in a pseudo-terminal: the archery scene, the terminal's mode,
// keyboard flags and cursor, signals and a stop, answers typed at the
// terminal; and, in this process, the console's output and the scene's
// terminal mode on a terminal of their own. POSIX only.
#ifndef _WIN32

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <tuple>

#include <gtest/gtest.h>

#include "harness.h"
#include "platform/platform.h"
#include "platform/posix/terminal_mode.h"
#include "pty.h"

namespace {

using namespace pty;

// In a kitty terminal: an answer typed during the scene is kept for the story
// after it, and the answer to the scene's last query, which comes too late,
// is taken out of the answers typed after it.
TEST(Terminal, StoryPlaysThroughTheScene) {
  Pty game;
  enter_scene(game, true);
  ASSERT_TRUE(play_scene(game, true, 0, "1\n")) << game.screen;
  EXPECT_EQ(game.mode(), game.before);
  const std::string& s = game.screen;
  EXPECT_LT(s.find(kHide), s.find(kFrame)) << "the cursor hidden from the first frame";
  EXPECT_NE(s.find(kShow, s.rfind(kFrame)), std::string::npos) << "and shown after the last";
  EXPECT_EQ(count_of(s, kHold + kFrame), count_of(s, kFrame)) << "every frame held";
  EXPECT_EQ(count_of(s, "\n" + kPaint), count_of(s, kFrame)) << "and painted at its end";
  EXPECT_EQ(s.find("[1;1:"), std::string::npos) << "the keys are not echoed";
  game.type("1\n\033[?62;22c" + kRestOfTheStory.substr(4));
  EXPECT_TRUE(game.wait_for(kClosing)) << s.substr(s.size() - 600);
  const int status = game.next_status();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(game.mode(), game.before);
}

// Any terminal's arrows, in either form, and its space bar, each pressed once.
TEST(Terminal, PlainArrowsAndSpaceBarAct) {
  Pty game;
  enter_scene(game);
  for (const auto& [key, archer, notice] : {std::tuple{"\033[D", 14u, ""}, {"\033OC", 15u, ""},
                                            {" ", 15u, "You missed that shot.\n"}}) {
    std::size_t from = game.screen.size(), at = 0;
    game.type(key);
    for (int frames = 0; frames < 5 && game.wait_for(kFrame, from); ++frames) {  // a frame may be on its way
      at = game.screen.find(kFrame, from) + kFrame.size();
      if (!game.wait_for(kPaint, at)) break;
      from = game.screen.find('\n', at) + 1;
      if (game.screen.find('X', at) - at == archer && game.screen.compare(from, std::strlen(notice), notice) == 0)
        break;
    }
    EXPECT_EQ(game.screen.find('X', at) - at, archer) << key;
    EXPECT_EQ(game.screen.compare(from, std::strlen(notice), notice), 0) << key;
  }
}

// A game in the scene of a kitty terminal.
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

TEST_F(KittyScene, CtrlZGivesTheTerminalBackWhileStopped) {
  const std::size_t seen = game.screen.size();
  kill(game.game, SIGTSTP);
  EXPECT_TRUE(WIFSTOPPED(game.next_status()));
  EXPECT_EQ(game.mode(), game.before);
  EXPECT_TRUE(game.wait_for(kGiveBack, seen));
}

TEST_F(KittyScene, AContinuedGameTakesTheScenesModeAgain) {
  const std::string scene = game.mode();
  kill(game.game, SIGTSTP);
  ASSERT_TRUE(WIFSTOPPED(game.next_status()) && game.wait_for(kGiveBack));
  const std::size_t seen = game.screen.size();
  kill(game.game, SIGCONT);
  EXPECT_TRUE(WIFCONTINUED(game.next_status()));
  EXPECT_TRUE(game.wait_for(kHide + kPush + kHold + kFrame, seen)) << "frames go on";
  EXPECT_EQ(game.mode(), scene);
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

// Piped input has no keyboard: the scene is skipped and the story goes on.
TEST(Terminal, StoryFromAPipeSkipsTheSceneAndFinishes) {
  Pty game(kToTheScene + kRestOfTheStory);
  EXPECT_TRUE(game.wait_for("continue: " + kClear + kAfterScene) && game.wait_for(kClosing)) << game.screen;
  const int status = game.next_status();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// A terminal of this process's own, for what is tested in this process.
class OwnTerminal : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0);
    tty_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
    before_ = mode();
  }
  void TearDown() override {
    close(master_);
    close(tty_);
  }
  std::string mode() const {
    termios t{};
    tcgetattr(tty_, &t);
    return std::string(reinterpret_cast<const char*>(&t), sizeof t);
  }
  // What the terminal shows, up to `end` or for at most a second.
  std::string shown(const std::string& end) const {
    std::string seen;
    char buf[4096];
    pollfd p = {master_, POLLIN, 0};
    for (ssize_t n; seen.find(end) == std::string::npos && poll(&p, 1, 1000) == 1 &&
                    (n = read(master_, buf, sizeof buf)) > 0;)
      seen.append(buf, static_cast<std::size_t>(n));
    return seen;
  }
  // In a death test's child: the terminal is the game's, in the scene's mode
  // with the kitty flags pushed, and its output paused by a program or, with
  // Ctrl-S, by the player. The way out must not wait on it.
  void in_scene(bool paused_by_player = false) {
    const rlimit no_core{0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
    dup2(tty_, STDIN_FILENO), dup2(tty_, STDOUT_FILENO);
    platform::posix::begin_scene_mode();
    platform::posix::push_kitty_flags();
    if (!paused_by_player) tcflow(tty_, TCOOFF);
    if (paused_by_player && write(master_, "\023", 1) == 1)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));  // taken in by the terminal
  }
  int master_ = posix_openpt(O_RDWR | O_NOCTTY), tty_ = -1;
  std::string before_;
};

using TerminalMode = OwnTerminal;

TEST_F(TerminalMode, EveryEndingSignalGivesItBack) {
  for (int sig : {SIGINT, SIGHUP, SIGQUIT, SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF,
                  SIGXCPU, SIGXFSZ, SIGRTMIN, SIGTERM}) {
    EXPECT_EXIT({ in_scene(); raise(sig); }, testing::KilledBySignal(sig), "") << strsignal(sig);
    EXPECT_EQ(mode(), before_) << strsignal(sig);
    EXPECT_EQ(shown(kGiveBack), kHide + kPush + kGiveBack) << strsignal(sig);
  }
}

TEST_F(TerminalMode, ACrashGivesItBack) {
  EXPECT_EXIT({ in_scene(true); std::abort(); }, testing::KilledBySignal(SIGABRT), "");
  EXPECT_EQ(mode(), before_);
  EXPECT_EQ(shown(kGiveBack), kHide + kPush + kGiveBack);
}

TEST_F(TerminalMode, ExitGivesItBack) {
  EXPECT_EXIT({ in_scene(); std::exit(3); }, testing::ExitedWithCode(3), "");
  EXPECT_EQ(mode(), before_);
  EXPECT_EQ(shown(kGiveBack), kHide + kPush + kGiveBack);
}

// As a job started with nohup or in the background has them.
TEST_F(TerminalMode, SignalsIgnoredFromTheStartStayIgnored) {
  EXPECT_EXIT({ signal(SIGINT, SIG_IGN); in_scene(); raise(SIGINT); std::exit(7); }, testing::ExitedWithCode(7), "");
}

using ConsoleOutput = OwnTerminal;

// No screen of the game fills the output buffer between two questions (its
// widest, a far duel's strip, is about 4 KiB), but a longer text must come
// out whole, and so must a flush of a single byte.
TEST_F(ConsoleOutput, TextLongerThanItsBufferComesOutWhole) {
  std::string text;
  for (int line = 0; text.size() < 3 * 8192; ++line) text += std::string(line % 79, 'a' + line % 26) + "\n";
  text += "end\n";
  std::string seen;
  std::thread reader([&] { seen = shown("end\r\n"); });  // each "\n" arrives as "\r\n"
  const int saved_out = dup(STDOUT_FILENO);
  dup2(tty_, STDOUT_FILENO);
  platform::attach_console_streams();
  std::cout << text[0] << std::flush << text.substr(1) << std::flush;  // one byte alone first
  dup2(saved_out, STDOUT_FILENO);
  close(saved_out);
  reader.join();
  seen.erase(std::remove(seen.begin(), seen.end(), '\r'), seen.end());
  EXPECT_TRUE(seen == text);
}

void write_to(int fd) {
  dup2(fd, STDOUT_FILENO);
  platform::attach_console_streams();
  std::cout << "x" << std::flush;
}

TEST_F(ConsoleOutput, AWriteThatFailsEndsTheGameAndSaysWhy) {
  EXPECT_EXIT(write_to(open("/dev/full", O_WRONLY)), testing::ExitedWithCode(1),
              "^vaelmoor: cannot write to standard output: No space left on device\n$");
}

// Whoever closed the pipe (with SIGPIPE ignored) wants no word about it.
TEST_F(ConsoleOutput, AReaderThatHasGoneEndsTheGameSilently) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  close(ends[0]);
  EXPECT_EXIT({ signal(SIGPIPE, SIG_IGN); write_to(ends[1]); }, testing::ExitedWithCode(1), "^$");
  close(ends[1]);
}

}  // namespace

#endif  // _WIN32
