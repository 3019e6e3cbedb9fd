// The command line: --help and --version answered alone, "--" ending the
// options, anything else refused, and the real game refusing before it plays.
#include "flow/options.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
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

TEST(Options, HelpOrVersionByTheFirstAskedUpToDoubleDashAndAnythingElseRefused) {
  const std::string help = answer({"--help"})[1];
  std::ifstream kept(VAELMOOR_GOLDEN_DIR "/help.txt", std::ios::binary);
  EXPECT_EQ(help, std::string(std::istreambuf_iterator<char>(kept), {})) << "as in tests/golden/help.txt";
  std::istringstream lines(help);
  for (std::string line; std::getline(lines, line);) EXPECT_LT(line.size(), 80u) << line;
  const std::string version =
      "vaelmoor " VAELMOOR_VERSION "\nCopyright (c) 2026 The Vaelmoor authors, under the MIT License.\n";
  auto refused = [](const std::string& what) { return "vaelmoor: " + what + " (try 'vaelmoor --help')\n"; };
  const std::vector<std::pair<std::vector<const char*>, std::vector<std::string>>> cases = {
      {{}, {std::to_string(kPlayTheGame), "", ""}},
      {{"-h", "--version"}, {"0", help, ""}},
      {{"--version", "--help", "--version"}, {"0", version, ""}},
      {{"--help", "-v"}, {"2", "", refused("unknown option '-v'")}},
      {{"--help=all"}, {"2", "", refused("unknown option '--help=all'")}},
      {{"stats.txt"}, {"2", "", refused("unexpected argument 'stats.txt'")}},
      {{"--"}, {std::to_string(kPlayTheGame), "", ""}},
      {{"--", "x"}, {"2", "", refused("unexpected argument 'x'")}},
      {{"--", "--help"}, {"2", "", refused("unexpected argument '--help'")}}};
  for (const auto& [args, want] : cases) EXPECT_EQ(answer(args), want) << args.size() << " arguments";
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
#endif

}  // namespace
