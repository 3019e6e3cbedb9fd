#pragma once
// Whole games as a player would type them, shared by the tests and the benchmark.

#include <string>

// A crossbow hero (strength 9, speed 12, magic 0) whose defense outgrows
// every opponent: the whole ladder answered as a player would, ending with a
// save after the last level-up.
inline const std::string kWholeLadder =
    "1 0 Hero 9 12 0 4 0 0 0 0 0 0 1 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 0 1 0 1 0 1 0 1 0 0 0 0 0 0 0 "
    "1 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 0 1 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 "
    "0 1 0 1 0 1 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 0 0 0 0 1 0\n";
