#pragma once
// The command line. The game is played without arguments; it answers only
// the two questions every console program answers, --help and --version.

#include <iosfwd>

// What answer_command_line() returns when the game is to be played.
constexpr int kPlayTheGame = -1;

// Reads the arguments (argv[1] on). With none, returns kPlayTheGame. With
// --help, -h or --version only, writes the answer to the first of them on
// `out` and returns 0. A "--" ends the options: all that follows it are
// arguments. Any argument, or any other option, is refused on `err` with
// status 2, whatever comes with it.
int answer_command_line(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
