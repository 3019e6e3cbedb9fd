#include <iostream>

#include "console/console.h"
#include "flow/flow.h"

int main() {
  // The game flushes before every read and every frame; no need to flush each line.
  std::ios::sync_with_stdio(false);
  console::attach(std::cin, std::cout);
  return play_game();
}
