#pragma once
// The one saved hero, "stats.txt" in the working directory, and the prompt
// through which every save happens.

#include <cstddef>
#include <iosfwd>
#include <string>

#include "player/player.h"

constexpr char kSaveFileName[] = "stats.txt";
// The most a save file may hold: a save is about 150 bytes, and a file that
// is longer is no save.
constexpr std::size_t kSaveFileLimit = 4096;

void save_game();
// Loads the saved hero into p1 and the item slots. When nothing usable can be
// read it says so, changes nothing and returns false.
bool load_game();
void check_toSave();

// The file's twenty lines for a hero and its item slots.
std::string format_save(const CPlayer& hero, const int (&items)[kItemSlots]);

// Reads a saved hero: the name, the first word, without control bytes, and
// the twelve numbers after it must all be there; the item slots are taken
// while they last, the rest stay 0. Only the order of the values counts, not
// where the lines break. On success `hero` (only its stored fields) and
// `items` are overwritten.
bool parse_save(std::istream& file, CPlayer& hero, int (&items)[kItemSlots]);
