#include <iostream>

#include "console/console.h"
#include "flow/flow.h"
#include "flow/options.h"
#include "platform/platform.h"

int main(int argc, char* argv[]) {
  const int answered = answer_command_line(argc, argv, std::cout, std::cerr);
  if (answered != kPlayTheGame) return answered;
  // The game flushes before every read and every frame; no need to flush each line.
  std::ios::sync_with_stdio(false);
  platform::attach_console_streams();
  console::attach(std::cin, std::cout);
  return play_game();
}
