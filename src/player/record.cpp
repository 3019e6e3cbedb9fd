#include "player/player.h"

std::ofstream fout;
std::ifstream fin;
int nNumofPlayers = 0;
int nDevMode = 0;
int itemIdNum[kItemSlots] = {};
CPlayer p1 = {};
CPlayer p2 = {};
int nPossibleNumOfPlayers = 1;

void reset_game_state() {
  if (fout.is_open()) fout.close();
  if (fin.is_open()) fin.close();
  fout.clear();
  fin.clear();
  nNumofPlayers = 0;
  nDevMode = 0;
  for (int& slot : itemIdNum) slot = 0;
  p1 = CPlayer{};
  p2 = CPlayer{};
  nPossibleNumOfPlayers = 1;
}
