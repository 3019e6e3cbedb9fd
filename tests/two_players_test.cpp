// The start with two players, which no game switches on: switched on here.
#include <string>

#include "flow/flow.h"
#include "harness.h"
#include "player/player.h"

namespace {

using TwoPlayers = GameTest;

// Player 2 is made after player 1's save prompt, before the first duel, if the count is 2.
TEST_F(TwoPlayers, SecondHeroMadeBetweenTheSavePromptAndTheFirstDuel) {
  for (const bool two : {true, false}) {
    reset_game_state();
    nPossibleNumOfPlayers = 2;
    const std::string hero = " Bo 8 7 5 1 0 ";
    const std::string out = run("1 0 " + std::string(two ? "2" : "3") + hero + "0 0 0" + (two ? hero : " ") + "0\n",
                                [] { play_game(); });
    EXPECT_NE(out.find("load?(1 for yes): " + kClear + "How many players? (1-2) Player 1,Hello."), std::string::npos);
    EXPECT_NE(out.find("(1 for yes): " + kClear + (two ? "Player 2,Hello." : "Strength:      8\n")), std::string::npos);
    EXPECT_EQ(out.find(">>Bo, your stats are:\nStrength:      8\n") < out.find("An enemy approaches!"), two) << out;
  }
}

}  // namespace
