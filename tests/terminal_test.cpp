// The real game in a pseudo-terminal: Story mode through the archery scene,
// the terminal's mode, keyboard flags and cursor after the scene, signals and
// a stop, and saves cut short by a kill. POSIX only.
#ifndef _WIN32

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "harness.h"
#include "pty.h"
#include "story/passages.h"

namespace {

using namespace pty;

TEST(Terminal, StoryPlaysThroughTheSceneWithArrowsAndSpace) {
  Pty game;
  enter_scene(game);
  // An answer typed ahead is kept for later.
  ASSERT_TRUE(play_scene(game, false, 0, "1\n")) << game.screen;
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
// game is ended by SIGTERM: whenever it is not playing, the terminal has its
// own mode, keyboard flags and cursor back. Between two stops, each frame
// was one write. A game started with SIGINT ignored keeps ignoring it. (Each
// other signal that ends the game is hostile_test's; Ctrl-C sent as a key is
// CI's kitty step.)
TEST(Terminal, StopAndDeadlySignalsRestoreTheMode) {
  Pty game("", SIGINT);
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
  kill(game.game, SIGINT);
  seen = game.screen.size();
  EXPECT_TRUE(game.wait_for(kFrame, seen)) << "an ignored SIGINT changes nothing";
  kill(game.game, SIGTERM);
  const int status = game.next_status();
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_EQ(game.mode(), game.before) << "after the end";
  EXPECT_TRUE(game.wait_for(kGiveBack, seen));
  EXPECT_EQ(game.screen.substr(game.screen.size() - kGiveBack.size()), kGiveBack) << "and nothing after";
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
