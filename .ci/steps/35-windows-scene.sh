#!/usr/bin/env bash
# Windows console: play the archery scene of vaelmoor.exe live in wine's own
# console window under Xvfb, with real key presses and releases from xdotool,
# and read the console back through tools/console_probe.cpp (built here with
# MinGW): its rows, its cursor, its modes, the key events left pending in its
# input, and whether any read catches the scene between two frames. The probe also starts the game and notes the console's input
# mode, output mode and cursor before the game and after it, whichever way the
# game ended: the scene's end, Ctrl-C typed in the scene, a crash in the scene,
# abort() or exit() called in the scene.
#
# Settings (for running this step by hand): VAELMOOR_WIN_BUILD (default
# build-ci-win, the Windows step's build and wine prefix).
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$SECONDS
win_build=${VAELMOOR_WIN_BUILD:-build-ci-win}

bash .ci/install-deps.sh g++-mingw-w64-x86-64 wine64 wine xvfb xdotool x11-xserver-utils

work=$(mktemp -d)
xpid=
cleanup() {
  set +e
  wineserver -k >/dev/null 2>&1
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null && wait "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
quietly() { "$@" >"$work/log" 2>&1 || { tail -60 "$work/log"; return 1; }; }

quietly cmake -S . -B "$win_build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DVAELMOOR_WERROR=ON -DVAELMOOR_TESTS=ON
quietly cmake --build "$win_build" -j2 --target vaelmoor
exe=$(realpath "$win_build/vaelmoor.exe")
quietly x86_64-w64-mingw32-g++-posix -O1 -Wall -Wextra -Werror -static \
  -o "$work/console_probe.exe" tools/console_probe.cpp
echo "-- built after $((SECONDS - start)) s"

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp -ardelay 300 -arinterval 20 \
  3>"$work/display" 2>/dev/null &
xpid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$PWD/$win_build/wineprefix"
mkdir -p "$WINEPREFIX"
wineserver -p 60 </dev/null >/dev/null 2>&1
wine cmd /c exit >/dev/null 2>&1 </dev/null
# A crash ends the game at once, with no debugger and no dialog waiting.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
echo "-- wine and X ready after $((SECONDS - start)) s"

fail() { echo "FAIL: $*"; cat screen probe.log 2>/dev/null; exit 1; }
wait_until() {  # a test, tried for up to 15 s
  for _ in $(seq 150); do eval "$1" && return 0; sleep 0.1; done
  return 1
}
probe() { wine ./console_probe.exe "$@"; }
look() { probe read "$(cat pid)" >screen 2>probe.log; }
shows() { look && grep -q -- "$1" screen; }
field() { sed -n "$1p" screen | cut -d' ' -f"$2"; }      # line, field of the probe's report
archer() { look; sed -n 5p screen | awk '{ print index($0, "X") - 2 }'; }
# "in 0x.. out 0x.. cursor SIZE VISIBLE": the last word says whether the cursor shows.
visible() { field 3 7; }

# A new game in a console window of its own, in a folder of its own with a
# saved hero whom the story's enemies cannot hurt and who fells them.
game() {
  wait_until '! xdotool search --name console_probe >/dev/null' || fail "an old console window stays"
  mkdir "$work/$1"
  cd "$work/$1"
  cp "$exe" "$work/console_probe.exe" .
  printf 'Hero\n50\n1\n5\n30\n0\n100\n50\n100\n0\n1\n0\n0\n0\n0\n0\n0\n0\n' >stats.txt
  (wine wineconsole console_probe.exe run vaelmoor.exe >/dev/null 2>&1 &)
  wait_until '[ -s pid ]' || fail "$1: the game did not start"
  wait_until 'shows "2.Story"' || fail "$1: no play-mode question"
}
# Story mode, load the hero, win the first duel, then the pause before the scene.
to_the_scene() {
  if [ "$1" = keys ]; then
    for a in 2 1 1 1 1 0 0 0 1; do xdotool type --delay 20 "$a"; xdotool key Return; sleep 0.05; done
  else
    probe type "$(cat pid)" $'2\n1\n1\n1\n1\n0\n0\n0\n1\n'
  fi
  wait_until 'shows "shoot arrow"' || fail "the archery scene did not start"
}
ended() { wait_until '[ -s status ] && [ -s after ]'; }

echo "-- the story to the scene and through it, keys from xdotool"
game play
wid=$(timeout 20 xdotool search --sync --name console_probe | head -1) || fail "no console window"
wait_until 'xdotool windowfocus --sync "$wid" 2>/dev/null' || fail "the console window took no focus"
to_the_scene keys
in_scene_cursor=$(visible)
[ "$in_scene_cursor" = 0 ] || fail "the cursor shows during the scene"
at=$(archer)
# Meanwhile the probe reads the top of the console thousands of times: each
# read must find a whole frame, never a blank or half-drawn one.
probe watch "$(cat pid)" 1000 >watch &
watcher=$!
xdotool keydown Left; sleep 1; xdotool keyup Left; sleep 0.3
left=$((at - $(archer)))
[ "$left" -ge 7 ] || fail "Left held for 1 s moved the archer $left columns"
wait "$watcher" || fail "the probe could not watch the console"
read -r _ reads _ torn <watch
[ "$reads" -ge 100 ] && [ "$torn" = 0 ] || { cat watch; fail "$torn of $reads reads found no whole frame"; }
at=$(archer)
for _ in 1 2 3; do xdotool key Right; sleep 0.4; done
sleep 0.2
taps=$(($(archer) - at))
[ "$taps" = 3 ] || fail "three taps of Right moved the archer $taps columns"
for _ in 1 2 3; do
  at=$(archer)
  [ "$at" = 5 ] && break
  key=Left; [ "$at" -lt 5 ] && key=Right
  for _ in $(seq $(( at > 5 ? at - 5 : 5 - at ))); do xdotool key $key; sleep 0.2; done
  sleep 0.2
done
[ "$(archer)" = 5 ] || fail "the archer did not reach column 5"
# X auto-repeat is on (every 20 ms after 300 ms): a held key also sends repeats.
xdotool keydown space; sleep 2; xdotool keyup space
xdotool key x; sleep 0.4
look
pending=$(field 1 2)
grep -q "shoot arrow" screen || fail "the scene ended too early"
[ "$pending" -le 2 ] || fail "$pending key events pending in the console's input"
# Without auto-repeat a space still held when the scene ends sends nothing
# more; with it, its repeats would be blanks at the next prompt.
xset r off
xdotool keydown space
for _ in $(seq 150); do look; grep -q "shoot arrow" screen || break; sleep 0.2; done
xdotool keyup space
xset r on
prompt="Enter a number to continue:"
wait_until "shows '^|$prompt'" || fail "the duel after the scene did not begin"
grep -q "You killed 21 of my men" screen || fail "not all 21 horsemen were shot"
after_scene_cursor=$(visible)
[ "$after_scene_cursor" = 1 ] || fail "the cursor is hidden after the scene"
# The letter typed in the scene is back in the console's input, taken by the
# prompt's line editing as typed ahead; the space bar left nothing there.
row=$(($(field 2 4) + 4))
column=$(field 2 3)
[ "$(sed -n "${row}p" screen)" = "|${prompt}x" ] && [ "$column" = $((${#prompt} + 1)) ] ||
  fail "the cursor is at column $column of row $(sed -n "${row}p" screen), not after '${prompt}x'"
xdotool key BackSpace
wait_until "look && [ \"\$(field 2 3)\" = ${#prompt} ]" ||
  fail "after BackSpace the cursor is at column $(field 2 3), not just after the prompt"
for a in 1 1 1 0 0 0 1; do xdotool type --delay 20 "$a"; xdotool key Return; sleep 0.05; done
ended || fail "the story did not end"
[ "$(cat status)" = 0x0 ] || fail "the game ended with status $(cat status)"
cmp -s before after || fail "the console was $(cat before), and after the game $(cat after)"
echo "-- held Left 1 s: $left columns, no frame torn in $reads reads; three taps of Right: $taps columns; cursor hidden ($in_scene_cursor)" \
  "then shown ($after_scene_cursor); pending after 2 s of space and a letter: $pending; after the scene" \
  "the cursor at column $column after '${prompt}x', after BackSpace just after the prompt; console as before: $(cat after)"

# Ways out of the scene: the console must be as it was before the game.
way_out() {  # name, what to do in the scene
  game "$1"
  to_the_scene typed
  look
  [ "$(field 3 2)" != "$(cut -d' ' -f2 before)" ] && [ "$(visible)" = 0 ] ||
    fail "$1: the scene did not take the console ($(sed -n 3p screen))"
  eval "$2"
  ended || fail "$1 did not end the game"
  cmp -s before after || fail "$1: the console was $(cat before), and after the game $(cat after)"
  echo "-- $1 in the scene: the game ended ($(cat status)), the console as before: $(cat after)"
  cd "$work"
}
way_out ctrl-c 'wid=$(xdotool search --sync --name console_probe | head -1); xdotool windowfocus --sync "$wid"; xdotool key ctrl+c'
way_out crash 'probe crash "$(cat pid)"'
way_out abort 'probe call "$(cat pid)" abort'
way_out exit 'probe call "$(cat pid)" exit'
echo "-- Windows scene step finished in $((SECONDS - start)) s"
