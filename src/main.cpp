#include <iostream>

#include "console/console.h"
#include "flow/flow.h"
#include "platform/platform.h"

int main() {
  // The game flushes before every read and every frame; no need to flush each line.
  std::ios::sync_with_stdio(false);
  platform::attach_console_streams();
  console::attach(std::cin, std::cout);
  return play_game();
}
