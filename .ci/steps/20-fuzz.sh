#!/usr/bin/env bash
# Fuzzing: build the libFuzzer target with clang (AddressSanitizer and UBSan
# on the whole game) and let it play whole games from the seed corpus for a
# bounded time. Any crash, sanitizer report, leak, hang or timeout fails.
#
# Settings (for running this step by hand): VAELMOOR_FUZZ_BUILD (default
# build-fuzz) and VAELMOOR_FUZZ_SECONDS (default 60).
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$SECONDS
build=${VAELMOOR_FUZZ_BUILD:-build-fuzz}
seconds=${VAELMOOR_FUZZ_SECONDS:-60}

bash .ci/install-deps.sh clang-14 libclang-rt-14-dev
cxx=$(command -v clang++-14 || command -v clang++)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "-- build ($build, $cxx)"
# A build folder configured for another compiler cannot be switched over.
if [ -f "$build/CMakeCache.txt" ] && ! grep -qx "CMAKE_CXX_COMPILER:[A-Z]*=$cxx" "$build/CMakeCache.txt"; then
  rm -rf "$build"
fi
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DVAELMOOR_FUZZ=ON -DVAELMOOR_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
cmake --build "$build" --target vaelmoor_fuzz -j 2 >"$work/log" 2>&1 || { tail -60 "$work/log"; exit 1; }
echo "   built in $((SECONDS - start)) s"

# The fuzzer adds what it finds to its first corpus folder: a scratch copy,
# so the repository's seeds stay as they are.
cp -r fuzz/corpus "$work/corpus"
mkdir "$work/artifacts"
echo "-- fuzz for $seconds s"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The games save to a folder under TMPDIR, and every save is flushed to the
# disk: in memory (/dev/shm) the flush costs nothing, and the fuzzer plays
# several times as many games.
fuzz_tmp=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && fuzz_tmp=/dev/shm
status=0
TMPDIR=$fuzz_tmp "$build/fuzz/vaelmoor_fuzz" "$work/corpus" -dict=fuzz/vaelmoor.dict -max_total_time="$seconds" \
  -timeout=10 -rss_limit_mb=2048 -max_len=4096 -artifact_prefix="$work/artifacts/" \
  -print_final_stats=1 </dev/null >"$work/fuzz.log" 2>&1 || status=$?
grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
  "$work/fuzz.log" || true
if [ "$status" != 0 ] || [ -n "$(ls -A "$work/artifacts")" ]; then
  echo "FUZZING FAILED (status $status); the end of its log:"
  tail -80 "$work/fuzz.log"
  for f in "$work/artifacts"/*; do
    [ -e "$f" ] || continue
    echo "-- $(basename "$f") (base64; replay: base64 -d > f && $build/fuzz/vaelmoor_fuzz f)"
    base64 "$f"
  done
  exit 1
fi
echo "fuzz step finished in $((SECONDS - start)) s"
