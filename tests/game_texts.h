#pragma once
// Texts of the opening screens that several tests expect byte for byte.

#include <string>

namespace texts {

inline const std::string kTitleCard =
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
inline const std::string kModeMenu = "Play mode: \n   1.Battle\n   2.Story\n";
inline const std::string kClosing = "Game Over. \nThank you for playing.\n";
inline const std::string kPause = "enter a number to continue: ";

inline const std::string kWelcome = "Hello. Welcome to The Vaelmoor. \n What is your name?\n>>";
inline const std::string kSkillPoints =
    ", Your character has a total of 25 skill points to be spread over \n strength, speed, "
    "magic and health(hit points). Therefore, you will first assign your character's skill "
    "points to traits, then you will choose a weapon and \n after your stats are shown, the "
    "game will begin.\n";
inline const std::string kWeaponMenu =
    "Choose weapon:\n\t1.Short sword and small shield\n\t2.Long sword\n\t3.Great bow and arrows\n"
    "\t4.Crossbow and bolts\n\t5.Mage's staff\n\t6.War axe\n\t7.War hammer\n\t8.Mace\n>>";

}  // namespace texts
