#!/usr/bin/env bash
# Builds the Linux game for a CI step and prints its path. CI builds in a
# folder of its own (VAELMOOR_LINUX_BUILD, default build-ci, the folder
# .ci/run tests in), never in the developer's build/, and configures it with
# the options it relies on every time, whatever an earlier run left there.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VAELMOOR_LINUX_BUILD:-build-ci}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
{ cmake -S . -B "$build" -DVAELMOOR_WERROR=ON -DVAELMOOR_TESTS=ON &&
  cmake --build "$build" -j2 --target vaelmoor; } >"$log" 2>&1 || { tail -60 "$log" >&2; exit 1; }
realpath "$build/vaelmoor"
