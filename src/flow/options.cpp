#include "flow/options.h"

#include <ostream>
#include <string>

namespace {

// Fits a console 80 columns wide.
constexpr char kHelp[] = R"(Usage: vaelmoor [--help | --version]

A single-player text role-playing game for the console. Make a hero, then
play one of two modes: Battle, a ladder of eight arena duels, or Story, a
short tale with two duels and a real-time archery scene.

Every answer is a whole number ended with Enter; only the hero's name is a
word. Ending the input (Ctrl-D, or Ctrl-Z and Enter on Windows) ends the game.
The hero is saved to stats.txt in the current folder; answer 1 to "load?" to
play it again.

In the archery scene the left and right arrow keys move the archer and the
space bar shoots.

Options:
  -h, --help     print this help and exit
      --version  print the version and the license and exit

Exit status: 0 when the game ends, also when its input ends early; 1 when
its output cannot be written; 2 for an argument it does not know. Stopped by
a signal (Ctrl-C), it dies of it.
)";

constexpr char kVersion[] = "vaelmoor " VAELMOOR_VERSION
                            "\nCopyright (c) 2026 The Vaelmoor authors, under the MIT License.\n";

}  // namespace

int answer_command_line(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  const char* answer = nullptr;
  bool options_ended = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!options_ended && arg == "--") {
      // Scripts and wrappers end the options so as a matter of course. Past
      // it even "--help" is an argument, and the game takes none.
      options_ended = true;
    } else if (!options_ended && (arg == "--help" || arg == "-h")) {
      if (!answer) answer = kHelp;
    } else if (!options_ended && arg == "--version") {
      if (!answer) answer = kVersion;
    } else {
      // Nothing is played then: a mistyped option must not start a game or touch the save.
      const bool option = !options_ended && arg.rfind('-', 0) == 0;
      err << "vaelmoor: " << (option ? "unknown option '" : "unexpected argument '")
          << arg << "' (try 'vaelmoor --help')\n"
          << std::flush;
      return 2;
    }
  }
  if (!answer) return kPlayTheGame;
  out << answer << std::flush;
  return 0;
}
