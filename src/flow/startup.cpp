#include <ostream>

#include "console/console.h"
#include "console/screens.h"
#include "flow/flow.h"
#include "items/items.h"
#include "player/player.h"
#include "savegame/savegame.h"
#include "story/story.h"

namespace {

constexpr int kBattleMode = 1;
constexpr int kStoryMode = 2;
constexpr char kClosing[] = "Game Over. \nThank you for playing.\n";

void play_battle_mode() {
  console::out() << "load?(1 for yes): ";
  int load = console::read_int();
  clear_screen();
  if (load == 1 && load_game()) {
    goto_battle(p1.battleNum);
    return;
  }
  if (nPossibleNumOfPlayers == 2) {
    get_playerNumbers();
  } else {
    nNumofPlayers = 1;
  }
  player1_create();
  check_toSave();
  if (nDevMode == 1) {
    goto_devMode();
    return;
  }
  if (nNumofPlayers == 2) player2_create();
  play_ladder();
}

void play_story_mode() {
  console::out() << "load a character to use in story mode?(1 for yes): ";
  if (console::read_int() != 1 || !load_game()) player1_create();
  print_storyIntro();
}

}  // namespace

int modeSelect() {
  console::out() << "Play mode: \n   1.Battle\n   2.Story\n";
  return console::read_int();
}

void get_playerNumbers() {
  console::out() << "How many players? (1-2) ";
  nNumofPlayers = console::read_int();
}

void player1_create() {
  console::out() << "Player 1,";
  p1.get_nameStats();
  if (nDevMode == 1) return;
  p1.get_weapon();
  p1.print_name();
  console::out() << ", your stats are:\n";
  p1.gold = 0;
  for (int& slot : itemIdNum) slot = 0;
  p1.print_stats();
  shop();
  clear_screen();
}

void player2_create() {
  console::out() << "Player 2,";
  p2.get_nameStats();
  p2.get_weapon();
  console::out() << p2.name << ", your stats are:\n";
  p2.print_stats();
}

int play_game() {
  std::ostream& out = console::out();
  try {
    print_map();
    int mode = modeSelect();
    if (mode == kBattleMode) play_battle_mode();
    if (mode == kStoryMode) play_story_mode();
  } catch (const console::InputEnded&) {
    out << '\n' << kClosing << std::flush;
    return 0;
  }
  out << kClosing;
  try {
    continue_wait();
  } catch (const console::InputEnded&) {
    // Nothing more to say: the closing message is already on screen.
  }
  out.flush();
  return 0;
}
