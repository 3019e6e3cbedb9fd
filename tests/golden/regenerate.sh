#!/usr/bin/env bash
# Writes every golden transcript's expected files anew from the game itself:
#   tests/golden/regenerate.sh [path/to/vaelmoor]   (default build/vaelmoor)
# Only for a deliberate change to what the game says: read `git diff
# tests/golden` as a player before committing the result.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
game=$(realpath "${1:-build/vaelmoor}")
for input in "$here"/*.in; do
  name=${input%.in}
  dir=$(mktemp -d)
  [ -f "$name.save" ] && cp "$name.save" "$dir/stats.txt"
  (cd "$dir" && "$game" <"$input" >"$name.out")
  if [ -f "$dir/stats.txt" ] && [ "$(cat "$name.save" 2>/dev/null)" != "$(cat "$dir/stats.txt")" ]; then
    cp "$dir/stats.txt" "$name.saved"
  fi
  rm -rf "$dir"
  echo "$(basename "$name"): $(wc -l <"$name.out") lines"
done
"$game" --help >"$here/help.txt"
echo "help: $(wc -l <"$here/help.txt") lines"
