#pragma once
// Runs the game in-process on scripted input and captures what it writes.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

// Each test plays in a fresh empty folder of its own, its "stats.txt" its own.
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Resets the game's globals, plays a whole game on `input`, returns all it wrote.
  std::string play(const std::string& input);

  // Runs a piece of the game on `input` (globals as they are), returns all it wrote.
  std::string run(const std::string& input, const std::function<void()>& piece);

  std::string read_file(const std::string& name) const;
  void write_file(const std::string& name, const std::string& text) const;

  std::filesystem::path dir_, old_dir_;
  int status_ = -1;
};

// What a screen clear leaves in the output: nothing on Windows (console calls).
#ifdef _WIN32
inline const std::string kClear;
#else
inline const std::string kClear = "\033[H\033[2J";
#endif

std::string slurp(const std::filesystem::path& path);                      // a file's bytes
std::size_t count_of(const std::string& text, const std::string& piece);  // how often `piece` is in `text`

// The clock (tests/fake_realtime.cpp) stands still unless a test moves it; the
// random bits count up from `next`, one at each draw.
void set_fake_ticks(std::uint32_t ms);
void set_fake_random(std::uint64_t next);
