// The real game in a pseudo-terminal that closes, or is flooded with pasted
// text. POSIX only.
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

// 4 MB pasted into the scene leave a line's worth of memory behind.
TEST(Hostile, AFloodOfTextInTheSceneKeepsALinesWorth) {
  Pty game;
  enter_scene(game, true);
  [[maybe_unused]] const long peak = peak_kib(game.game);
  game.type(std::string(4 << 20, '\n'));
#ifndef __SANITIZE_ADDRESS__  // whose quarantine holds on to freed memory
  EXPECT_LT(peak_kib(game.game) - peak, 2048) << "KiB more at the peak";
#endif
}

}  // namespace

#endif  // _WIN32
