// The command line, and the real game refusing before it plays.
#include "flow/options.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "harness.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

// The status, then what was written on standard output and on standard error.
std::vector<std::string> answer(std::vector<const char*> args) {
  args.insert(args.begin(), "vaelmoor");
  std::ostringstream out, err;
  const int status = answer_command_line(static_cast<int>(args.size()), args.data(), out, err);
  return {std::to_string(status), out.str(), err.str()};
}

std::string refused(const std::string& what) { return "vaelmoor: " + what + " (try 'vaelmoor --help')\n"; }

TEST(Options, HelpIsTheKeptTextInLinesUnder80Columns) {
  const std::string help = answer({"--help"})[1];
  EXPECT_EQ(help, slurp(VAELMOOR_GOLDEN_DIR "/help.txt")) << "as in tests/golden/help.txt";
  std::istringstream lines(help);
  for (std::string line; std::getline(lines, line);) EXPECT_LT(line.size(), 80u) << line;
}

// Nothing but --help, -h and --version is answered, the first of them only;
// "--" ends the options, and the game takes no argument.
TEST(Options, AnswersOrRefusals) {
  const std::string play = std::to_string(kPlayTheGame), help = answer({"--help"})[1], version =
      "vaelmoor " VAELMOOR_VERSION "\nCopyright (c) 2026 The Vaelmoor authors, under the MIT License.\n";
  const std::tuple<const char*, std::vector<const char*>, std::vector<std::string>> rows[] = {
      {"no arguments play the game", {}, {play, "", ""}},
      {"only the first of help and version is answered", {"-h", "--version"}, {"0", help, ""}},
      {"only the first of version and help is answered", {"--version", "--help", "--version"}, {"0", version, ""}},
      {"a double dash alone plays the game", {"--"}, {play, "", ""}},
      {"nothing after a double dash is an option", {"--", "--help"}, {"2", "", refused("unexpected argument '--help'")}},
      {"an unknown option is refused, after help too", {"--help", "-v"}, {"2", "", refused("unknown option '-v'")}},
      {"an option with a value is unknown", {"--help=all"}, {"2", "", refused("unknown option '--help=all'")}},
      {"an argument is refused", {"stats.txt"}, {"2", "", refused("unexpected argument 'stats.txt'")}}};
  for (const auto& [rule, args, answered] : rows) EXPECT_EQ(answer(args), answered) << rule;
}

#ifndef _WIN32
using RealGame = GameTest;

// Refused at once: no title card, no wait for input, no save.
TEST_F(RealGame, RefusesAnUnknownOptionBeforePlaying) {
  const int status = std::system("'" VAELMOOR_BINARY "' --x <&- >out 2>err");
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
  EXPECT_EQ(read_file("out"), "");
  EXPECT_EQ(read_file("err"), "vaelmoor: unknown option '--x' (try 'vaelmoor --help')\n");
  EXPECT_FALSE(std::filesystem::exists("stats.txt"));
}

// From the fresh start of its own process, as the tests' game starts from a reset.
TEST_F(RealGame, PlaysAGoldenGameByteForByte) {
  const std::string game = VAELMOOR_GOLDEN_DIR "/new_hero_battle";
  const int status = std::system(("'" VAELMOOR_BINARY "' <'" + game + ".in' >out").c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(read_file("out") == slurp(game + ".out"));
}
#endif

}  // namespace
