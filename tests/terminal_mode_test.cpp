// In this process, on a terminal of its own: the archery scene's terminal
// mode, given back on every way out, and the console's output. POSIX only.
#ifndef _WIN32

#include <sys/resource.h>

#include <cerrno>
#include <initializer_list>
#include <iostream>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/posix/terminal_mode.h"
#include "platform/system.h"
#include "pty.h"

namespace {

// Hides the cursor, pushes the kitty flags; gives back painting, cursor, flags.
const std::string kSceneStart = "\033[?25l\033[>11u", kGiveBack = "\033[?2026l\033[?25h\033[<u";

// A terminal of this process's own, for what is tested in this process.
class OwnTerminal : public ::testing::Test, public PseudoTerminal {
 protected:
  void SetUp() override { ASSERT_GE(tty, 0); }
  // In a death test's child: the terminal in the scene's mode with the kitty flags,
  // output paused by a program or (Ctrl-S) the player. The way out must not wait.
  void in_scene(bool paused_by_player = false) {
    const rlimit no_core{0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
    dup2(tty, STDIN_FILENO), dup2(tty, STDOUT_FILENO);
    platform::posix::begin_scene_mode();
    platform::posix::push_kitty_flags();
    if (!paused_by_player) tcflow(tty, TCOOFF);
    if (paused_by_player && write(master, "\023", 1) == 1)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));  // taken in by the terminal
  }
  // The terminal's own mode back, and all the scene wrote, nothing after it.
  void expect_given_back(const std::string& how) {
    EXPECT_EQ(mode(), before) << how;
    EXPECT_TRUE(wait_for(kGiveBack)) << how;
    EXPECT_EQ(std::exchange(screen, ""), kSceneStart + kGiveBack) << how;
  }
};

using TerminalMode = OwnTerminal;

TEST_F(TerminalMode, EveryEndingSignalGivesItBack) {
  for (int sig : {SIGINT, SIGHUP, SIGQUIT, SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF,
                  SIGXCPU, SIGXFSZ, SIGRTMIN, SIGTERM}) {
    EXPECT_EXIT({ in_scene(); raise(sig); }, testing::KilledBySignal(sig), "") << strsignal(sig);
    expect_given_back(strsignal(sig));
  }
}

TEST_F(TerminalMode, ACrashGivesItBack) {
  EXPECT_EXIT({ in_scene(true); std::abort(); }, testing::KilledBySignal(SIGABRT), "");
  expect_given_back("abort()");
}

TEST_F(TerminalMode, ExitGivesItBack) {
  EXPECT_EXIT({ in_scene(); std::exit(3); }, testing::ExitedWithCode(3), "");
  expect_given_back("exit()");
}

// As a job started with nohup or in the background has them.
TEST_F(TerminalMode, SignalsIgnoredFromTheStartStayIgnored) {
  EXPECT_EXIT({ signal(SIGINT, SIG_IGN); in_scene(); raise(SIGINT); std::exit(7); }, testing::ExitedWithCode(7), "");
}

// Writes each text through the console's output stream to `fd`, flushed one by one.
void write_through(int fd, std::initializer_list<std::string> texts) {
  const int saved_out = dup(STDOUT_FILENO);
  dup2(fd, STDOUT_FILENO);
  platform::attach_console_streams();
  for (const std::string& text : texts) std::cout << text << std::flush;
  dup2(saved_out, STDOUT_FILENO), close(saved_out);
}

using ConsoleOutput = OwnTerminal;

// No screen fills the output buffer between two questions (a far duel's strip
// is about 4 KiB), but a longer text comes out whole, and so does a flush of a
// single byte, even through a pipe left non-blocking by whoever started the
// game, which takes part of a write, or nothing until its reader catches up.
TEST_F(ConsoleOutput, TextLongerThanItsBufferComesOutWhole) {
  std::string text;
  for (int line = 0; text.size() < 200000; ++line) text += std::string(line % 79, 'a' + line % 26) + "\n";
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  fcntl(ends[1], F_SETFL, O_NONBLOCK);
  std::string seen;
  std::thread reader([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the pipe fills up first
    char buf[4096];
    for (ssize_t n; (n = read(ends[0], buf, sizeof buf)) > 0;) seen.append(buf, static_cast<std::size_t>(n));
  });
  write_through(ends[1], {text.substr(0, 1), text.substr(1)});
  close(ends[1]);  // the pipe's last writer gone: its end
  reader.join();
  close(ends[0]);
  EXPECT_TRUE(seen == text);
}

// Only a terminal wider than 80 columns needs lines broken where the 80th would wrap.
TEST_F(ConsoleOutput, AnEightyColumnTerminalGetsTheTextAsItIs) {
  const winsize eighty = {25, 80, 0, 0};
  ioctl(tty, TIOCSWINSZ, &eighty);
  write_through(tty, {std::string(81, 'x') + '|'});
  EXPECT_TRUE(wait_for("|"));
  EXPECT_EQ(screen, std::string(81, 'x') + '|');
}

TEST_F(ConsoleOutput, AWriteThatFailsEndsTheGameAndSaysWhy) {
  EXPECT_EXIT(write_through(open("/dev/full", O_WRONLY), {"x"}), testing::ExitedWithCode(1),
              "^vaelmoor: cannot write to standard output: No space left on device\n$");
}

// Whoever closed the pipe (with SIGPIPE ignored) wants no word about it.
TEST_F(ConsoleOutput, AReaderThatHasGoneEndsTheGameSilently) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  close(ends[0]);
  EXPECT_EXIT({ signal(SIGPIPE, SIG_IGN); write_through(ends[1], {"x"}); }, testing::ExitedWithCode(1), "^$");
  close(ends[1]);
}

using ConsoleInput = OwnTerminal;

// Nothing to read yet is no end of input from a terminal whose mode returns
// reads empty at once (no line editing, VMIN 0, VTIME 0): the game waits. A hung-up terminal
// has ended, even with errno at EINTR from some earlier call. (A pipe left
// non-blocking: PipedInput.)
TEST_F(ConsoleInput, NothingYetIsNotTheEndOfInput) {
  termios timed = attributes();
  timed.c_lflag &= ~static_cast<tcflag_t>(ICANON);
  timed.c_cc[VMIN] = 0, timed.c_cc[VTIME] = 0;
  tcsetattr(tty, TCSANOW, &timed);
  const int saved_in = dup(STDIN_FILENO);
  dup2(tty, STDIN_FILENO);
  bool waited = false;
  char c = 0;
  std::thread later([this] { std::this_thread::sleep_for(std::chrono::milliseconds(50)), type("7"); });
  EXPECT_EQ(platform::system::read_input(&c, 1, waited), 1);
  later.join();
  EXPECT_EQ(c, '7');
  close(master), master = -1;
  errno = EINTR;
  EXPECT_LE(platform::system::read_input(&c, 1, waited), 0) << "after the hang-up";
  close(STDIN_FILENO);
  EXPECT_LT(platform::system::read_input(&c, 1, waited), 0);
  dup2(saved_in, STDIN_FILENO), close(saved_in);
}

// After the end of input (Ctrl-D on a terminal), what is typed is never read.
TEST_F(ConsoleInput, TheEndOfInputIsFinal) {
  const int saved_in = dup(STDIN_FILENO);
  dup2(tty, STDIN_FILENO);
  platform::attach_console_streams();
  type("1\004\004");
  EXPECT_EQ(std::cin.rdbuf()->sbumpc(), '1');
  EXPECT_EQ(std::cin.rdbuf()->sgetc(), EOF);
  type("2\n");
  EXPECT_EQ(std::cin.rdbuf()->sgetc(), EOF);
  dup2(saved_in, STDIN_FILENO), close(saved_in);
}

}  // namespace

#endif  // _WIN32
