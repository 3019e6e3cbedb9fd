#pragma once
// The hero record and the game's lasting global state.

#include <fstream>

class CPlayer {
 public:
  int gameOver;
  int strength;
  int speed;
  int health;
  int magic;
  int weaponNum;
  int range;
  int defense;
  int damage;
  int ammo;
  int level;
  int battleNum;
  int mapPos;
  int gold;
  char name[52];

  void get_weapon();
  void print_name();
  void print_stats();
  void get_nameStats();
  void print_levelUp();
  void print_magicList();
  void stats_increase1();
  void print_chosenWeapon();
};

// The save file's streams. Both stay closed: a save has the platform write
// the file (it creates it afresh, never through a link someone planted) and
// a load has the platform read it (it can refuse a pipe or a device without
// waiting on it) and parses the bytes it hands back.
extern std::ofstream fout;
extern std::ifstream fin;
extern int nNumofPlayers;
extern int nDevMode;
// The hero carries at most this many items, one to a slot.
constexpr int kItemSlots = 5;
extern int itemIdNum[kItemSlots];
extern CPlayer p1;
extern CPlayer p2;
extern int nPossibleNumOfPlayers;

// The strength answer that opens the developer menu; never shown in the game.
constexpr int kDevModeStrength = 73;

// Puts every global back to its value at program start, so that one process
// can play game after game (the tests and the fuzzer do).
void reset_game_state();
