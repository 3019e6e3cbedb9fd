#include "harness.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>

#include "console/console.h"
#include "flow/flow.h"
#include "player/player.h"

namespace {
std::istringstream input;
std::ostringstream output;
}  // namespace

void GameTest::SetUp() {
  old_dir_ = std::filesystem::current_path();
  std::random_device rd;
  dir_ = std::filesystem::temp_directory_path() /
         ("vaelmoor-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
  std::filesystem::create_directories(dir_);
  std::filesystem::current_path(dir_);
  reset_game_state();
  set_fake_ticks(0);
}

void GameTest::TearDown() {
  console::attach(std::cin, std::cout);
  std::filesystem::current_path(old_dir_);
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string GameTest::run(const std::string& script, const std::function<void()>& piece) {
  input.clear(), input.str(script);
  output.clear(), output.str("");
  console::attach(input, output);
  piece();
  return output.str();
}

std::string GameTest::play(const std::string& script) {
  reset_game_state();
  return run(script, [this] { status_ = play_game(); });
}

// As text, the way the game reads it: Windows ends the save file's lines in CR LF.
std::string GameTest::read_file(const std::string& name) const {
  std::ifstream file(dir_ / name);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void GameTest::write_file(const std::string& name, const std::string& text) const {
  std::ofstream file(dir_ / name, std::ios::binary);
  file << text;
}

std::string slurp(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::size_t count_of(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}
