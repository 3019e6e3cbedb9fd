#include "player/player.h"

// The save file's streams are lasting globals like the hero. Saves and loads
// go through the platform's files, so these stay closed and untouched; made
// closed, they could fail only for want of memory before main, where no game
// can start anyway.
std::ofstream fout;  // NOLINT(cert-err58-cpp): see above
std::ifstream fin;   // NOLINT(cert-err58-cpp): see above
int nNumofPlayers = 0;
int nDevMode = 0;
int itemIdNum[kItemSlots] = {};
CPlayer p1 = {};
CPlayer p2 = {};
int nPossibleNumOfPlayers = 1;

void reset_game_state() {
  nNumofPlayers = 0;
  nDevMode = 0;
  for (int& slot : itemIdNum) slot = 0;
  p1 = CPlayer{};
  p2 = CPlayer{};
  nPossibleNumOfPlayers = 1;
}
