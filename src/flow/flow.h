#pragma once
// Game flow: start-up and play modes, the title card, the battle ladder and
// the developer menu.

// Plays one whole game on the console's streams, from the title card to the
// closing message, and returns the process's exit status. End of input ends
// the game here instead of exiting, so it can be called again.
int play_game();

int modeSelect();
void get_playerNumbers();
void player1_create();
void player2_create();

void battle_practice1();
void battle_practice2();
void battle_practice3();
void battle_practice4();
void battle_practice5();
void battle_practice6();
void battle_practice7();
void battle_practice8();
// The whole ladder for a new hero: every step guarded by the game-over test
// and followed by the save prompt.
void play_ladder();
int goto_battle(int start);
void goto_devMode();

// The title card, the first thing every game shows.
void print_map();
