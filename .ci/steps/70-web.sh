#!/usr/bin/env bash
# The web build (make web, with Debian's emscripten): every golden game
# played piped by build-ci-web/vaelmoor-node as tests/golden/play-all.sh
# plays it (the output byte for byte, the status, the stats.txt it leaves),
# and the node game's ends with standard streams that cannot be used, as
# step 60 checks the native game's; then the page in Debian's headless
# Chromium with real key events (tests/web/browser_test.mjs, driven by
# puppeteer-core exactly as web/package-lock.json pins it). The scene's
# screenshot is left in build-ci-web/archery-scene.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$SECONDS
build=build-ci-web

# Debian's nodejs comes without npm (NodeSource's brings its own). What
# the packages merely recommend (printing, network discovery, ...) is not
# needed here and only takes time to install.
npm=
command -v npm >/dev/null || npm=npm
bash .ci/install-deps.sh --no-install-recommends emscripten chromium nodejs $npm
echo "installs: $((SECONDS - start)) s"

log=$(mktemp)
trap 'rm -f "$log"' EXIT
make web WEB_BUILD=$build CMAKE_ARGS="-DVAELMOOR_WERROR=ON" >"$log" 2>&1 || { tail -60 "$log"; exit 1; }
echo "make web: $((SECONDS - start)) s"

echo "-- golden games under node"
sh tests/golden/play-all.sh $build/vaelmoor-node
echo "-- standard streams that cannot be used, under node ($((SECONDS - start)) s)"
bash .ci/steps/60-broken-streams.sh $build/vaelmoor-node

# The browser's driver, and nothing but what the lock file names.
npm_dir=$build/test-npm
mkdir -p "$npm_dir"
cp web/package.json web/package-lock.json "$npm_dir"
npm ci --no-audit --no-fund --prefix "$npm_dir" >"$log" 2>&1 || { cat "$log"; exit 1; }
node tests/web/browser_test.mjs $build/www "$npm_dir/node_modules" $build
echo "web: $((SECONDS - start)) s"
