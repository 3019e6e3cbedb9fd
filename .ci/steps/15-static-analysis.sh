#!/usr/bin/env bash
# Static analysis of every game source of the POSIX build: cppcheck (warning,
# performance and portability checks) and clang-tidy (the checks listed in
# .clang-tidy). Both must report nothing. A false finding is suppressed where
# it is, with the reason: cppcheck-suppress ID, or NOLINT(check).
#
# Runs alone too: bash .ci/steps/15-static-analysis.sh. Settings:
# VAELMOOR_TIDY_BUILD (default build-tidy, only configured, for its
# compile_commands.json), VAELMOOR_TIDY_JOBS (default 2).
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$SECONDS
build=${VAELMOOR_TIDY_BUILD:-build-tidy}
jobs=${VAELMOOR_TIDY_JOBS:-2}

bash .ci/install-deps.sh cmake make g++ cppcheck clang-tidy

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The compiler's own view of each source (its flags and include folders); the
# game alone, so the tests' GoogleTest is not needed.
cmake -S . -B "$build" -DVAELMOOR_TESTS=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >"$work/log" 2>&1 ||
  { cat "$work/log"; exit 1; }
db=$build/compile_commands.json
sed -n 's/^ *"file": "\(.*\)",*$/\1/p' "$db" | sort >"$work/sources"
echo "-- $(wc -l <"$work/sources") sources, $(cppcheck --version), $(clang-tidy --version | grep -o 'version [0-9.]*')"

status=0
echo "-- cppcheck"
cppcheck -j "$jobs" --enable=warning,performance,portability --inline-suppr --quiet \
  --error-exitcode=1 --project="$db" >"$work/cppcheck" 2>&1 || status=1
cat "$work/cppcheck"
[ "$status" = 0 ] && [ ! -s "$work/cppcheck" ] || { echo "FAIL: cppcheck has findings"; status=1; }

echo "-- clang-tidy"
# One log per source, so that two runs side by side never mix their lines.
mkdir "$work/tidy"
tidy_one() {  # source log-folder
  clang-tidy -p "$build" --quiet --warnings-as-errors='*' "$1" >"$2/$(echo "$1" | tr / _)" 2>&1 || {
    echo "$1" >>"$2/failed"
  }
}
export -f tidy_one
export build
xargs -P "$jobs" -I{} bash -c 'tidy_one "$1" "$2"' _ {} "$work/tidy" <"$work/sources"
if [ -s "$work/tidy/failed" ]; then
  cat "$work"/tidy/_* | grep -v ' warnings\? generated\.$' | grep -v '^Suppressed [0-9]* warnings' || true
  echo "FAIL: clang-tidy has findings in $(sort "$work/tidy/failed" | sed "s|^$PWD/||" | tr '\n' ' ')"
  status=1
fi
[ "$status" = 0 ] && echo "-- nothing found"
echo "-- static analysis finished in $((SECONDS - start)) s"
exit "$status"
