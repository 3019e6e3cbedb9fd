// Whole games kept as files in tests/golden/: NAME.in is what the player
// types, NAME.out every byte the game writes. NAME.save, when there, is the
// stats.txt the game starts with, and NAME.saved the one it must leave.
// tests/golden/regenerate.sh writes the .out and .saved files anew from the
// game itself: run it only for a deliberate change, and read the diff.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "harness.h"

namespace {

namespace fs = std::filesystem;

// Made absolute before any test moves into its own folder.
const fs::path kGoldenDir = fs::absolute(VAELMOOR_GOLDEN_DIR);

std::string slurp(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::vector<std::string> transcripts() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kGoldenDir)) {
    if (entry.path().extension() == ".in") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The line where two texts part, so that a failure reads quickly.
std::string first_difference(const std::string& want, const std::string& got) {
  std::size_t at = std::mismatch(want.begin(), want.end(), got.begin(), got.end()).first - want.begin();
  std::size_t start = want.rfind('\n', at == 0 ? 0 : at - 1) + 1;  // npos + 1 is 0
  return "line " + std::to_string(std::count(want.begin(), want.begin() + static_cast<long>(start), '\n') + 1) +
         "\n--- expected:\n" + want.substr(start, 160) + "\n--- got:\n" + got.substr(start, 160);
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

INSTANTIATE_TEST_SUITE_P(Transcripts, Golden, ::testing::ValuesIn(transcripts()),
                         [](const auto& info) { return info.param; });

}  // namespace
