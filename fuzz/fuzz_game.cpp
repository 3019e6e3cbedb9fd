// libFuzzer target: every input plays one whole game in-process, from the
// title card to the closing message, with the input's bytes as what the
// player types. Some inputs also put a save file in place first, so loading
// meets arbitrary files too.
//
// Input layout:
//   byte 0, bit 0 clear: the rest is standard input.
//   byte 0, bit 0 set:   bytes 1-2 are a big-endian length n; the next n bytes
//                        (as many as there are) become "stats.txt", the rest is
//                        standard input.
//   byte 0, bit 1 set:   there is a keyboard, so the archery scene is played.
//                        Each frame takes one byte of standard input whose low
//                        three bits say how many of the bytes after it the
//                        terminal sent during that frame; they go through the
//                        terminal's key decoder, as in a real terminal. Input
//                        running out there ends the game as it does at any
//                        prompt (the scene only ends once the player has shot).
//   byte 0, bit 2 set:   that terminal reports key releases (kitty protocol).
// fuzz/make_corpus.py writes seeds in this layout ('p' plain, 'r' with a
// keyboard, 'q' with a save file, 's' with both).

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "console/console.h"
#include "flow/flow.h"
#include "platform/terminal/key_decoder.h"
#include "platform/platform.h"
#include "player/player.h"
#include "savegame/savegame.h"

namespace {

// No screen needs this much text for one answer: a game that writes this much
// without taking any input is going round in a loop the player cannot leave.
// (The archery scene, which reads keys instead, writes under 100 KB in all.)
constexpr std::size_t kMaxOutputWithoutInput = 1024 * 1024;

// The typed input, straight from the fuzzer's buffer.
class ScriptedInput : public std::streambuf {
 public:
  ScriptedInput(const char* data, std::size_t size) {
    char* begin = const_cast<char*>(data);  // never written through: no putback area
    setg(begin, begin, begin + size);
  }
  std::size_t consumed() const { return static_cast<std::size_t>(gptr() - eback()); }
  int take() { return sbumpc(); }
};

ScriptedInput* typing = nullptr;
platform::KeyDecoder decoder;
platform::KeyTracker tracker;

platform::KeyState keys_from_input() {
  constexpr int kEnd = std::char_traits<char>::eof();
  int count = typing ? typing->take() : kEnd;
  if (count == kEnd) throw console::InputEnded{};
  std::string arrived;
  for (int n = count & 7, c; n > 0 && (c = typing->take()) != kEnd; --n) arrived += static_cast<char>(c);
  for (const platform::KeyEvent& event : decoder.feed(arrived))
    if (event.kind == platform::KeyEvent::Key) tracker.apply(event.key, event.action);
  return tracker.take_frame();
}
bool keyboard_present = false;

// Throws the game's text away, but counts how much of it comes between one
// input read and the next, and stops a game that never asks again.
class WatchedOutput : public std::streambuf {
 public:
  explicit WatchedOutput(const ScriptedInput& input) : input_(input) { setp(buffer_, buffer_ + sizeof buffer_); }

 protected:
  int overflow(int c) override {
    account();
    if (c != traits_type::eof()) {
      *pptr() = static_cast<char>(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override {
    account();
    return 0;
  }

 private:
  void account() {
    std::size_t written = static_cast<std::size_t>(pptr() - pbase());
    if (show_) std::fwrite(pbase(), 1, written, stdout);
    setp(buffer_, buffer_ + sizeof buffer_);
    if (input_.consumed() != consumed_at_last_look_) {
      consumed_at_last_look_ = input_.consumed();
      since_input_ = 0;
    }
    since_input_ += written;
    if (since_input_ > kMaxOutputWithoutInput) {
      std::fprintf(stderr,
                   "==vaelmoor-fuzz== HANG: the game wrote %zu bytes without reading any input\n",
                   since_input_);
      __builtin_trap();
    }
  }

  const ScriptedInput& input_;
  // For reading a finding: VAELMOOR_FUZZ_SHOW=1 vaelmoor_fuzz crash-file shows the game.
  const bool show_ = std::getenv("VAELMOOR_FUZZ_SHOW") != nullptr;
  char buffer_[4096];
  std::size_t consumed_at_last_look_ = 0;
  std::size_t since_input_ = 0;
};

// random() reseeds from the clock at every draw; a clock that moves the same
// way in every run keeps each input's game reproducible.
std::uint32_t fake_now = 0;

std::filesystem::path work_dir;

void remove_work_dir() {
  std::error_code ignored;
  if (!work_dir.empty()) std::filesystem::remove_all(work_dir, ignored);
}

// The previous game's save goes (a game leaves nothing else behind), so each
// game starts from an empty folder plus the input's own save file.
void prepare_folder(const char* save, std::size_t size, bool has_save) {
  std::remove(kSaveFileName);
  if (!has_save) return;
  std::ofstream file(kSaveFileName, std::ios::binary);
  file.write(save, static_cast<std::streamsize>(size));
}

// libFuzzer reads its arguments only after LLVMFuzzerInitialize, and keeps
// using the paths in them (corpus folders, artifacts) for the whole session:
// they must survive the change of working directory.
void make_paths_absolute(int* argc, char*** argv) {
  static std::vector<std::string> args;
  static std::vector<char*> pointers;
  const std::filesystem::path here = std::filesystem::current_path();
  const std::string path_flags[] = {"-artifact_prefix=", "-exact_artifact_path=", "-dict=",
                                    "-merge_control_file="};
  bool has_artifact_prefix = false;
  for (int i = 0; i < *argc; ++i) {
    std::string arg = (*argv)[i];
    // (The program's own path must stay as it is: start it by an absolute
    // path for -fork or -jobs, which start it again from here.)
    if (i > 0 && !arg.empty() && arg[0] != '-') arg = (here / arg).string();
    for (const std::string& flag : path_flags) {
      if (arg.rfind(flag, 0) == 0) arg = flag + (here / arg.substr(flag.size())).string();
    }
    if (arg.rfind("-artifact_prefix=", 0) == 0) has_artifact_prefix = true;
    args.push_back(arg);
  }
  if (!has_artifact_prefix) args.push_back("-artifact_prefix=" + here.string() + "/");
  for (std::string& arg : args) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  *argc = static_cast<int>(args.size());
  *argv = pointers.data();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  make_paths_absolute(argc, argv);
  // The game reads and writes "stats.txt" in the working directory: give it a
  // private one, entered once for the whole session.
  std::string pattern = (std::filesystem::temp_directory_path() / "vaelmoor-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  work_dir = pattern;
  std::filesystem::current_path(work_dir);
  std::atexit(remove_work_dir);
  return 0;
}

// The fuzzer's own clock and keyboard, in place of the live ones: a clock
// that moves on at every look, random bits that count up, and keys from the
// input's bytes.
namespace platform {
std::uint32_t ticks_ms() { return fake_now += 17; }
std::uint64_t random_bits() {
  static std::uint64_t drawn = 0;
  return ++drawn;
}
bool keyboard_available() { return keyboard_present; }
struct KeyScene::Live {};
KeyScene::KeyScene() = default;
KeyScene::~KeyScene() = default;
KeyState KeyScene::poll() { return keys_from_input(); }
void KeyScene::draw(std::ostream& out, const std::string& frame) {
  clear_screen(out);
  out << frame << std::flush;
}
void KeyScene::pause(unsigned) {}
std::string KeyScene::finish() { return {}; }
}  // namespace platform

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  bool has_save = size > 0 && (data[0] & 1);
  std::size_t pos = size > 0 ? 1 : 0;
  std::size_t save_size = 0;
  if (has_save) {
    std::size_t wanted = size >= 3 ? (std::size_t{data[1]} << 8 | data[2]) : 0;
    pos = size >= 3 ? 3 : size;
    save_size = std::min(wanted, size - pos);
  }
  prepare_folder(bytes + pos, save_size, has_save);
  pos += save_size;

  reset_game_state();
  fake_now = 0;
  ScriptedInput typed(bytes + pos, size - pos);
  typing = &typed;
  keyboard_present = size > 0 && (data[0] & 2);
  decoder = platform::KeyDecoder();
  tracker = platform::KeyTracker();
  tracker.set_releases_reported(size > 0 && (data[0] & 4));
  WatchedOutput shown(typed);
  std::istream in(&typed);
  std::ostream out(&shown);
  console::attach(in, out);
  play_game();
  out.flush();
  console::attach(std::cin, std::cout);
  typing = nullptr;
  return 0;
}
