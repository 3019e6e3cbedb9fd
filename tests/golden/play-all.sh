#!/bin/sh
# Plays every game kept here with the game binary named, each in a folder of
# its own (holding the game's save when it starts from one): it must write
# every byte the kept output holds, end with status 0 and leave the save the
# game kept there leaves: its NAME.saved, else the NAME.save it found, else
# none. Its --help must say what help.txt holds. For a game other than the
# one the tests play in-process: the installed package's
# (debian/tests/golden-games) and the web build's under node (CI).
#   tests/golden/play-all.sh GAME [WORK-FOLDER]
set -eu
[ $# -ge 1 ] || { echo "usage: $0 GAME [WORK-FOLDER]" >&2; exit 2; }
case $1 in /*) game=$1 ;; *) game=$PWD/$1 ;; esac  # played from other folders
golden=$(cd "$(dirname "$0")" && pwd)
if [ $# -ge 2 ]; then
  work=$2
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi

played=0 failed=0
fail() {  # what
  echo "FAIL: $1"
  failed=$((failed + 1))
}
for input in "$golden"/*.in; do
  name=$(basename "$input" .in)
  base=$golden/$name
  dir=$work/$name
  mkdir "$dir"
  [ ! -f "$base.save" ] || cp "$base.save" "$dir/stats.txt"
  status=0
  (cd "$dir" && exec "$game" <"$input" >"$work/$name.out") || status=$?
  saved=$base.saved
  [ -f "$saved" ] || saved=$base.save
  played=$((played + 1))
  if [ "$status" != 0 ]; then
    fail "$name: the game ended with status $status"
  elif ! cmp -s "$work/$name.out" "$base.out"; then
    fail "$name: the game wrote otherwise than $name.out: $(cmp "$work/$name.out" "$base.out" 2>&1 || true)"
  elif [ -f "$saved" ] && ! cmp -s "$dir/stats.txt" "$saved"; then
    fail "$name: the game left a stats.txt other than $(basename "$saved")"
  elif [ ! -f "$saved" ] && [ -e "$dir/stats.txt" ]; then
    fail "$name: the game left a stats.txt where it found none"
  fi
done
played=$((played + 1))
"$game" --help >"$work/help.txt" && cmp -s "$work/help.txt" "$golden/help.txt" ||
  fail "--help: the game said otherwise than help.txt"
echo "$((played - failed)) passed, $failed failed"
[ "$played" -gt 1 ] && [ "$failed" = 0 ]
