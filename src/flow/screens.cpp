#include <cstdlib>
#include <ostream>

#include "console/console.h"
#include "flow/flow.h"
#include "platform/platform.h"

void print_map() {
  console::out()
      << "        _____                           __      __   __                 __    \n"
         "    ___/     \\__         \\           / |   |   /    /  \\     /\\  /\\    |  \n"
         "   /            \\__       \\         /  |-  |  |    |    |   /  \\/  \\   |-   \n"
         "  |                \\_      \\  /\\  /    |   |  |    |    |  /        \\  |    \n"
         " /    ___            \\_     \\/  \\/     |__ |__ \\__  \\__/  /          \\ |__   \n"
         "|   _/   \\             |\t \n"
         "|__/_\t  |            |\t          To\n"
         "---/ \\___/              \\       Vaelmoor\n"
         "|                        |\t          By\n"
         " \\__                  __/\t    the Vaelmoor team\n"
         "|\\_ \\__              |                    Of\n"
         "|  \\___)    __      /\t            Moorlight Games\n"
         " \\         /  \\____/      \n"
         "  \\_______/        __\t     \n"
         "                  /  \\     \n"
         "                  \\__/     \n";
}

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
  if (lo >= hi) return lo;
  std::srand(platform::ticks_ms());
  int r = lo - 1;
  while (r < lo) r = std::rand() % hi;
  return r;
}

void clear_screen() { platform::clear_screen(console::out()); }
