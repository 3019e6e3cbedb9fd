// The real game in a pseudo-terminal under every signal that ends it, a paused
// or closed terminal, a flood of pasted text, a late answer. POSIX only.
#ifndef _WIN32

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "pty.h"

namespace {

using namespace pty;

// The most memory the process `pid` has held so far, in KiB.
long peak_kib(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/status");
  const std::string status(std::istreambuf_iterator<char>(file), {});
  return std::atol(status.c_str() + status.find("VmHWM:") + 6);
}

// Each signal, sent in the scene of a kitty terminal, ends the game as it
// would without the scene; the terminal has its own mode, flags and cursor
// back, even when the player had paused its output (Ctrl-S).
TEST(Hostile, EveryEndingSignalGivesTheTerminalBack) {
  for (int sig : {SIGINT, SIGHUP, SIGQUIT, SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF,
                  SIGXCPU, SIGXFSZ, SIGRTMIN, SIGTERM}) {
    SCOPED_TRACE(strsignal(sig));
    Pty game;
    enter_scene(game, true);
    // Ctrl-S, taken by the terminal before the signal: the game's next frame waits on it.
    if (sig == SIGTERM) game.type("\023"), std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const std::size_t seen = game.screen.size();
    kill(game.game, sig);
    const int status = game.next_status();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig);
    EXPECT_EQ(game.mode(), game.before);
    EXPECT_TRUE(game.wait_for(kGiveBack, seen));
  }
}

// With SIGHUP ignored, a terminal that closes at a prompt or in the scene
// ends the game as the end of input does, at once: status 0, the closing.
TEST(Hostile, ClosedTerminalIsTheEndOfInput) {
  for (const char* wanted : {"load a character", "shoot arrow"}) {
    SCOPED_TRACE(wanted);
    Pty game("", SIGHUP, true);
    game.type(wanted[0] == 's' ? kToTheScene : "2\n");
    for (int i = 0; i < 100 && game.saved("out.txt").find(wanted) == std::string::npos; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const auto start = std::chrono::steady_clock::now();
    game.hang_up();
    const int status = game.next_status();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const std::string out = game.saved("out.txt");
    EXPECT_EQ(out.substr(out.find("Game Over") - 1), "\nGame Over. \nThank you for playing.\n");
  }
}

// 8 MB pasted into the scene leave a line's worth of memory behind; a
// terminal that answers the last query of the scene too late has its answer
// dropped, not read as part of the next answer (the hero's attack).
TEST(Hostile, FloodAndLateReplyAfterTheScene) {
  Pty game;
  enter_scene(game, true);
  [[maybe_unused]] const long peak = peak_kib(game.game);
  game.type(std::string(8 << 20, '\n'));
  game.writes_so_far();  // what the game wrote meanwhile is old
#ifndef __SANITIZE_ADDRESS__  // whose quarantine holds on to freed memory
  EXPECT_LT(peak_kib(game.game) - peak, 2048) << "KiB more at the peak";
#endif
  ASSERT_TRUE(play_scene(game, true, game.screen.size())) << game.screen;
  game.type("1\n1\n\033[?62;22c" + kRestOfTheStory.substr(4));
  EXPECT_TRUE(game.wait_for(kClosing)) << game.screen.substr(game.screen.size() - 600);
}

}  // namespace

#endif  // _WIN32
