#include <algorithm>
#include <ostream>
#include <string>

#include "combat/combat.h"
#include "console/console.h"
#include "player/player.h"

namespace {

// Past this many columns either side of the centre the picture stops growing:
// a hero who backs away by millions of feet would otherwise be answered with
// gigabytes of underscores every round.
constexpr int kWidestHalfStrip = 1000;

char mark(int column, int hero, int enemy, long long reach) {
  if (column == hero) return 'X';
  if (column == enemy) return 'O';
  if (column == reach) return '=';
  return '_';
}

}  // namespace

void CEnemy::print_battleMap() {
  std::ostream& out = console::out();
  int half = std::min(distance / 2, kWidestHalfStrip);
  int hero = std::max(p1.mapPos, -half);
  int enemy = std::min(mapPos, half);
  if (hero == enemy) {
    out << "___XO___ \n";
    return;
  }
  long long reach = static_cast<long long>(hero) + p1.range;
  std::string strip = "_";
  for (int column = -half; column <= half; ++column) {
    strip += mark(column, hero, enemy, reach);
    strip += '_';
  }
  out << strip << " \n";
}
