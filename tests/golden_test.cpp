// Whole games kept as files in tests/golden/: NAME.in is what the player
// types, NAME.out every byte the game writes. NAME.save, when there, is the
// stats.txt the game starts with, and NAME.saved the one it must leave.
// tests/golden/regenerate.sh writes the .out and .saved files anew from the
// game itself: run it only for a deliberate change, and read the diff.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

namespace {

namespace fs = std::filesystem;

// Made absolute before any test moves into its own folder.
const fs::path kGoldenDir = fs::absolute(VAELMOOR_GOLDEN_DIR);

std::string slurp(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> transcripts() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kGoldenDir)) {
    if (entry.path().extension() == ".in") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Where two texts part, with the lines around it, so a failure reads quickly.
std::string first_difference(const std::string& want, const std::string& got) {
  std::size_t at = 0;
  while (at < want.size() && at < got.size() && want[at] == got[at]) ++at;
  std::size_t line_start = want.rfind('\n', at == 0 ? 0 : at - 1);
  line_start = line_start == std::string::npos ? 0 : line_start + 1;
  std::size_t line = std::count(want.begin(), want.begin() + static_cast<long>(line_start), '\n') + 1;
  return "first difference on line " + std::to_string(line) + "\n--- expected:\n" +
         want.substr(line_start, 240) + "\n--- got:\n" + got.substr(line_start, 240);
}

// The screen clear is console calls on Windows, not bytes.
std::string as_this_platform_writes(std::string text) {
  if (kClear.empty()) {
    for (std::size_t at; (at = text.find("\033[H\033[2J")) != std::string::npos;) text.erase(at, 7);
  }
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
  if (fs::exists(with(".saved"))) {
    EXPECT_EQ(read_file("stats.txt"), slurp(with(".saved")));
  }
}

INSTANTIATE_TEST_SUITE_P(Transcripts, Golden, ::testing::ValuesIn(transcripts()),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
