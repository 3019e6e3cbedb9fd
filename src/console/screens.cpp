#include "console/screens.h"

#include <cstdlib>
#include <ostream>

#include "console/console.h"
#include "platform/platform.h"

void print_sword() {
  console::out() << "      /\\\t\t\t\t\t                  \n"
                    " ____/\t|_________________________________  \n"
                    "{|___| O _________________________________} \n"
                    "     \\  |\t\t\t\t\t\t\t\t\t  "
                    "    \\/\t\t\t\t\t\t\t\t\t  \n";
}

void continue_wait() {
  console::out() << "enter a number to continue: ";
  console::read_int();
}

int random(int lo, int hi) {
  // Draws fall in 0 to hi - 1, so with no room up there (hi <= 0) there is
  // nothing to draw; lo is the one answer that keeps inside the range.
  if (lo >= hi || hi <= 0) return lo;
  std::srand(platform::ticks_ms());
  int r;
  do {
    // The game's draws are srand seeded from the clock, then rand: the duels
    // play as they always have, and the tests' fake clock makes them repeat.
    r = std::rand() % hi;  // NOLINT(cert-msc30-c,cert-msc50-cpp): the draw is rand by design
  } while (r < lo);
  return r;
}

void clear_screen() { platform::clear_screen(console::out()); }
