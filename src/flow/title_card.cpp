#include <ostream>

#include "console/console.h"
#include "flow/flow.h"

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
