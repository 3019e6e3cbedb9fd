#!/usr/bin/env bash
# Writes the expected files of the golden games named on the command line
# anew, from the game itself, and shows how each one changed:
#   tests/golden/regenerate.sh death odd_save      (a new game: its NAME.in)
#   tests/golden/regenerate.sh help                (the --help text)
# The game is build/vaelmoor, or the one named by VAELMOOR_GAME. Nothing is
# rewritten that is not named: a golden file says what the game must do, so
# it changes only for a deliberate change of the game's words. Read each
# diff as a player would before committing it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
game=$(realpath "${VAELMOOR_GAME:-build/vaelmoor}")
[ $# -gt 0 ] || { echo "usage: $0 NAME... (the golden games to write anew; see tests/golden/*.in)" >&2; exit 2; }
[ -x "$game" ] || { echo "$0: no game at $game (build it, or set VAELMOOR_GAME)" >&2; exit 2; }

# Replaces `file` with `new`, showing the change (or saying there is none).
replace() {  # new file
  if [ -f "$2" ] && cmp -s "$1" "$2"; then
    echo "$(basename "$2"): unchanged"
    rm -f "$1"
    return
  fi
  diff -u --label "$(basename "$2") (before)" --label "$(basename "$2") (now)" \
    "$( [ -f "$2" ] && echo "$2" || echo /dev/null)" "$1" || true
  mv "$1" "$2"
}

for name in "$@"; do
  base=$here/$name
  if [ "$name" = help ]; then
    "$game" --help >"$base.new"
    replace "$base.new" "$here/help.txt"
    continue
  fi
  [ -f "$base.in" ] || { echo "$0: no golden game $name ($base.in is missing)" >&2; exit 2; }
  dir=$(mktemp -d)
  [ -f "$base.save" ] && cp "$base.save" "$dir/stats.txt"
  (cd "$dir" && "$game" <"$base.in" >"$base.out.new")
  replace "$base.out.new" "$base.out"
  # A .saved only where the game leaves a save other than the one it found.
  if [ -f "$dir/stats.txt" ] && ! cmp -s "$dir/stats.txt" "${base}.save" 2>/dev/null; then
    cp "$dir/stats.txt" "$base.saved.new"
    replace "$base.saved.new" "$base.saved"
  elif [ -f "$base.saved" ]; then
    echo "$(basename "$base.saved"): removed, the game now leaves the save as it found it"
    rm "$base.saved"
  fi
  rm -rf "$dir"
done
