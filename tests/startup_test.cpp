#include "harness.h"

namespace {

const std::string kTitleCard =
    "        _____                           __      __   __                 __    \n"
    "    ___/     \\__         \\           / |   |   /    /  \\     /\\  /\\    |  \n"
    "   /            \\__       \\         /  |-  |  |    |    |   /  \\/  \\   |-   \n"
    "  |                \\_      \\  /\\  /    |   |  |    |    |  /        \\  |    \n"
    " /    ___            \\_     \\/  \\/     |__ |__ \\__  \\__/  /          \\ |__   \n"
    "|   _/   \\             |\t \n"
    "|__/_\t  |            |\t          To\n"
    "---/ \\___/              \\       Vaelmoor\n"
    "|                        |\t          By\n"
    " \\__                  __/\t    the Vaelmoor team\n"
    "|\\_ \\__              |                    Of\n"
    "|  \\___)    __      /\t            Moorlight Games\n"
    " \\         /  \\____/      \n"
    "  \\_______/        __\t     \n"
    "                  /  \\     \n"
    "                  \\__/     \n";
const std::string kModeMenu = "Play mode: \n   1.Battle\n   2.Story\n";
const std::string kClosing = "Game Over. \nThank you for playing.\n";

using Startup = GameTest;

TEST_F(Startup, UnknownPlayModePlaysNothing) {
  for (const char* mode : {"0", "3", "-1"}) {
    EXPECT_EQ(play(std::string(mode) + "\n5\n"),
              kTitleCard + kModeMenu + kClosing + "enter a number to continue: ");
    EXPECT_EQ(status_, 0);
  }
}

TEST_F(Startup, EndOfInputClosesTheGame) {
  EXPECT_EQ(play(""), kTitleCard + kModeMenu + "\n" + kClosing);
  EXPECT_EQ(play("3\n"), kTitleCard + kModeMenu + kClosing + "enter a number to continue: ");
  EXPECT_EQ(status_, 0);
}

}  // namespace
