#pragma once
// The small screens and utilities every part of the game shares: the pause,
// the screen clear, the random number and the sword that opens every duel.

// Writes "enter a number to continue: " and throws one answer away.
void continue_wait();

// Empties the console and homes the cursor.
void clear_screen();

// A whole number from lo to hi - 1, drawn afresh from the clock at every call.
int random(int lo, int hi);

// The sword picture that opens every duel.
void print_sword();
