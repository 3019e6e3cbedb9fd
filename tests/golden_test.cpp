// Whole games kept in tests/golden/: NAME.in is what the player types, NAME.out
// every byte the game writes; NAME.save, if any, the stats.txt it starts with,
// NAME.saved the one it must leave. tests/golden/regenerate.sh writes them anew.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "harness.h"

namespace {

namespace fs = std::filesystem;

// Made absolute before any test moves into its own folder.
const fs::path kGoldenDir = fs::absolute(VAELMOOR_GOLDEN_DIR);

// The games in the folder now, which must be those the tests were built with.
std::vector<std::string> games_in_folder() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kGoldenDir))
    if (entry.path().extension() == ".in") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}
const std::vector<std::string> kBuiltWith = {
#include "golden_games.inc"
};

// The first line where two texts part, with its neighbours, escapes, tabs and
// trailing blanks made visible.
std::string first_difference(const std::string& want, const std::string& got) {
  auto lines = [](const std::string& text) {
    std::vector<std::string> all(1);
    for (char c : text)
      if (c == '\n') all.emplace_back();
      else all.back() += c == '\033' ? "\\e" : c == '\t' ? "\\t" : std::string(1, c);
    return all;
  };
  const std::vector<std::string> w = lines(want), g = lines(got);
  std::size_t at = 0;
  while (at < w.size() && at < g.size() && w[at] == g[at]) ++at;
  std::string shown = "first difference at line " + std::to_string(at + 1) + " (| ends a line)";
  for (const auto& [name, text] : {std::pair{"expected", &w}, std::pair{"got", &g}}) {
    shown += std::string("\n--- ") + name + ":";
    for (std::size_t i = at > 0 ? at - 1 : 0; i < text->size() && i <= at + 1; ++i)
      shown += "\n" + std::to_string(i + 1) + (i == at ? "> " : ": ") + (*text)[i] + "|";
  }
  return shown;
}

// The screen clear is console calls on Windows, not bytes.
std::string as_this_platform_writes(std::string text) {
  for (std::size_t at; kClear.empty() && (at = text.find("\033[H\033[2J")) != std::string::npos;) text.erase(at, 7);
  return text;
}

class Golden : public GameTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(Golden, PlaysByteForByte) {
  const fs::path base = kGoldenDir / GetParam();
  auto with = [&](const char* ext) { return fs::path(base).concat(ext); };
  if (fs::exists(with(".save"))) write_file("stats.txt", slurp(with(".save")));
  std::string want = as_this_platform_writes(slurp(with(".out")));
  std::string got = play(slurp(with(".in")));
  EXPECT_TRUE(got == want) << first_difference(want, got);
  EXPECT_EQ(status_, 0);
  // Without a save of its own to leave, the game leaves the one it found, or none.
  const fs::path saved = fs::exists(with(".saved")) ? with(".saved") : with(".save");
  EXPECT_EQ(fs::exists("stats.txt"), fs::exists(saved));
  EXPECT_EQ(read_file("stats.txt"), slurp(saved));
}

TEST(GoldenFolder, EveryGameInItIsRun) {
  EXPECT_EQ(games_in_folder(), kBuiltWith) << "tests/golden/ changed since the build: run make test";
}

INSTANTIATE_TEST_SUITE_P(Transcripts, Golden, ::testing::ValuesIn(kBuiltWith),
                         [](const auto& info) { return info.param; });

}  // namespace
