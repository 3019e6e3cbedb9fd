#!/usr/bin/env bash
# The web build (make web, with Debian's emscripten): every golden game
# played piped by build-ci-web/vaelmoor-node, byte for byte, with its exit
# status and the stats.txt it leaves; then the page in Debian's headless
# Chromium with real key events (tests/web/browser_test.mjs, driven by
# puppeteer-core exactly as web/package-lock.json pins it). The scene's
# screenshot is left in build-ci-web/archery-scene.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$SECONDS
build=build-ci-web

bash .ci/install-deps.sh emscripten chromium nodejs
command -v npm >/dev/null || bash .ci/install-deps.sh npm  # Debian's nodejs comes without it
echo "installs: $((SECONDS - start)) s"

log=$(mktemp)
trap 'rm -f "$log"' EXIT
make web WEB_BUILD=$build CMAKE_ARGS="-DVAELMOOR_WERROR=ON" >"$log" 2>&1 || { tail -60 "$log"; exit 1; }
echo "make web: $((SECONDS - start)) s"

# Like tests/golden_test.cpp: the output byte for byte, status 0, and the
# save it leaves (its .saved, else the .save it found, else none).
game=$(realpath $build/vaelmoor-node)
golden=$(realpath tests/golden)
passed=0 failed=0
for in in "$golden"/*.in; do
  name=$(basename "$in" .in)
  base=$golden/$name
  work=$(mktemp -d)
  [ -f "$base.save" ] && cp "$base.save" "$work/stats.txt"
  status=0
  (cd "$work" && "$game" <"$in" >out) || status=$?
  saved=$base.saved
  [ -f "$saved" ] || saved=$base.save
  why=
  cmp -s "$work/out" "$base.out" || why="its output differs: $(cmp "$work/out" "$base.out" 2>&1 | head -1)"
  [ $status = 0 ] || why="$why; status $status"
  if [ -f "$saved" ]; then
    cmp -s "$work/stats.txt" "$saved" || why="$why; stats.txt is not $(basename "$saved")"
  elif [ -e "$work/stats.txt" ]; then
    why="$why; it left a stats.txt"
  fi
  rm -rf "$work"
  if [ -z "$why" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL $name: ${why#; }"; fi
done
if "$game" --help | cmp -s - tests/golden/help.txt; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL --help"; fi
echo "golden games under node: $passed passed, $failed failed ($((SECONDS - start)) s)"
[ $failed = 0 ]

# The browser's driver, and nothing but what the lock file names.
npm_dir=$build/test-npm
mkdir -p "$npm_dir"
cp web/package.json web/package-lock.json "$npm_dir"
npm ci --no-audit --no-fund --prefix "$npm_dir" >"$log" 2>&1 || { cat "$log"; exit 1; }
node tests/web/browser_test.mjs $build/www "$npm_dir/node_modules" $build
echo "web: $((SECONDS - start)) s"
