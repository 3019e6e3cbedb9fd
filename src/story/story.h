#pragma once
// Story mode: the campaign and its archery scene.

void print_storyIntro();
void print_story1();
void print_story1_2();
void battle_story1();
void battle_story2();

// The archery scene, played live on the keyboard: horsemen ride in until more
// than `limit` have entered, on a track of columns 0 to `lastColumn`. Returns
// how many were shot, which is always limit + 1. Without a keyboard to play on
// (input from a pipe or a file) the scene is skipped, writing nothing, with
// that same result.
int shoot_horsemen(int limit, int lastColumn);
