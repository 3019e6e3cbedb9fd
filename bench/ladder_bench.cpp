// Times a whole Battle-mode game (eight won duels, every prompt answered from
// a script) played in-process, as the player's pipe would feed it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "console/console.h"
#include "flow/flow.h"
#include "player/player.h"

// A crossbow hero (strength 9, speed 12, magic 0) whose defense outgrows
// every opponent: the whole ladder answered as a player would, ending with a
// save after the last level-up.
static const char kWholeLadder[] =
    "1 0 Hero 9 12 0 4 0 0 0 0 0 0 1 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 0 1 0 1 0 1 0 1 0 0 0 0 0 0 0 "
    "1 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 0 1 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 "
    "0 1 0 1 0 1 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 0 1 0 1 0 0 0 0 0 0 0 1 0 1 0 0 0 0 1 0\n";

static void WholeLadder(benchmark::State& state) {
  auto dir = std::filesystem::temp_directory_path() / "vaelmoor-bench";
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  std::size_t written = 0;
  for (auto _ : state) {
    std::istringstream in(kWholeLadder);
    std::ostringstream out;
    reset_game_state();
    console::attach(in, out);
    benchmark::DoNotOptimize(play_game());
    written = out.str().size();
  }
  state.counters["output_bytes"] = static_cast<double>(written);
  std::filesystem::remove_all(dir);
}
BENCHMARK(WholeLadder)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
