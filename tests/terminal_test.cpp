// The real game in a pseudo-terminal: the archery scene, the terminal's mode,
// keyboard flags and cursor, signals and a stop, answers typed at the terminal;
// and, in this process, the console's output buffer. POSIX only.
#ifndef _WIN32

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "harness.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "pty.h"

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

// No screen of the game fills the output buffer between two questions (its
// widest, a far duel's strip, is about 4 KiB), but a longer text must come
// out whole, and so must a flush of a single byte: written here, in this
// process, with its output on a terminal.
TEST(Terminal, TextLongerThanTheOutputBufferComesOutWhole) {
  int master = posix_openpt(O_RDWR | O_NOCTTY), saved_out = dup(STDOUT_FILENO);
  ASSERT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
  int tty = open(ptsname(master), O_RDWR | O_NOCTTY);
  std::string text;
  for (int line = 0; text.size() < 3 * 8192; ++line) text += std::string(line % 79, 'a' + line % 26) + "\n";
  std::string seen;
  const std::size_t sent = text.size() + count_of(text, "\n");  // each "\n" arrives as "\r\n"
  std::thread reader([&] {
    char buf[4096];
    pollfd p = {master, POLLIN, 0};
    for (ssize_t n; seen.size() < sent && poll(&p, 1, 1000) == 1 && (n = read(master, buf, sizeof buf)) > 0;)
      seen.append(buf, static_cast<std::size_t>(n));
  });
  dup2(tty, STDOUT_FILENO);
  platform::attach_console_streams();
  std::cout << text[0] << std::flush << text.substr(1) << std::flush;  // one byte alone first
  dup2(saved_out, STDOUT_FILENO);
  reader.join();
  for (int fd : {master, tty, saved_out}) close(fd);
  seen.erase(std::remove(seen.begin(), seen.end(), '\r'), seen.end());
  EXPECT_TRUE(seen == text);
}

// Piped input has no keyboard: the scene is skipped and the story goes on.
TEST(Terminal, StoryFromAPipeSkipsTheSceneAndFinishes) {
  Pty game(kToTheScene + kRestOfTheStory);
  EXPECT_TRUE(game.wait_for("continue: " + kClear + kAfterScene) && game.wait_for(kClosing)) << game.screen;
  const int status = game.next_status();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace

#endif  // _WIN32
