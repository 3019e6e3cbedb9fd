#!/usr/bin/env bash
# Kitty: play the archery scene in a real kitty terminal under Xvfb, where
# keys arrive as press and release events of the kitty keyboard protocol.
# The space bar, pressed once and held for a second, must shoot in every frame
# until it is released; then Ctrl-C, which kitty sends as a key, must end the
# game by SIGINT with the terminal's mode as it was before. Xvfb runs without auto-repeat: a held key sends nothing
# after its press, so only the press/release path can pass.
#
# Settings (for running this step by hand): VAELMOOR_LINUX_BUILD (default
# build-ci, see .ci/linux-game.sh).
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$SECONDS

bash .ci/install-deps.sh kitty xvfb xdotool libgl1-mesa-dri
game=$(bash .ci/linux-game.sh)

work=$(mktemp -d)
xpid= kpid=
cleanup() {
  set +e
  [ -n "$kpid" ] && kill "$kpid" 2>/dev/null && wait "$kpid" 2>/dev/null
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null && wait "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
export XDG_CACHE_HOME=$work/cache XDG_CONFIG_HOME=$work/cfg KITTY_CONFIG_DIRECTORY=$work/cfg
fail() { echo "kitty: $*"; [ -f bytes ] && tail -c 600 bytes | cat -v; exit 1; }
wait_until() {  # a test, tried for up to 10 s
  for _ in $(seq 100); do eval "$1" && return 0; sleep 0.1; done
  return 1
}

# A hero the story's enemies cannot hurt and whose first blow fells them.
printf 'Hero\n50\n1\n5\n30\n0\n100\n50\n100\n0\n1\n0\n0\n0\n0\n0\n0\n0\n' > stats.txt

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -r 3>display 2>/dev/null &
xpid=$!
wait_until '[ -s display ]' || fail "Xvfb did not start"
export DISPLAY=:$(cat display)
kitty --config NONE -o linux_display_server=x11 --class vtest --dump-bytes bytes \
  sh -c "stty -g > before; '$game'; echo \$? > status; stty -g > after" >kitty.log 2>&1 &
kpid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --class vtest | head -1) || fail "no kitty window"
# A window just mapped may not take the focus yet.
wait_until 'xdotool windowfocus --sync "$wid" 2>/dev/null' || fail "kitty's window took no focus"

answer() { for a in "$@"; do xdotool type "$a"; xdotool key Return; sleep 0.05; done; }
# Story mode, load the hero, win the first duel, then the pause before the scene.
answer 2 1 1 1 1 0 0 0 1
wait_until 'grep -q "shoot arrow" bytes' || fail "the archery scene did not start"
grep -q $'\e\\[>11u' bytes || fail "the game did not turn on kitty's key events"

# The archer stands at column 15: a horseman rides toward him, so every
# frame with the space bar down writes a notice (misses, then one hit).
sleep 0.3
xdotool keydown space
sleep 1
xdotool keyup space
sleep 0.3
# Each frame: a clear, the help line, the track, then its notice if any.
runs=$(tr -d '\r' < bytes | awk '/shoot arrow/ { f++; next } /^You (hit one|missed that shot)/ { n[f]=1 }
  END { r=0; for (i=1; i<=f; i++) { if (n[i] && !n[i-1]) r++; if (n[i]) len++ } print r, len }')
read -r run_count shot_frames <<<"$runs"
echo "frames with a shot: $shot_frames, in $run_count run(s)"
[ "$run_count" = 1 ] || fail "the held space bar skipped frames ($run_count runs)"
[ "$shot_frames" -ge 8 ] || fail "the held space bar shot in only $shot_frames frames"

# Under kitty's flags Ctrl-C comes as a key: the game must interrupt itself,
# giving the terminal back its mode and its own key flags first.
xdotool key ctrl+c
wait_until '[ -s status ] && [ -s after ]' || fail "Ctrl-C did not end the game"
[ "$(cat status)" = 130 ] || fail "the game ended with status $(cat status), not by SIGINT"
grep -q $'\e\\[<u' bytes || fail "the game did not pop kitty's key flags"
cmp -s before after || fail "the terminal's mode changed: $(cat before) -> $(cat after)"
echo "kitty: space held for $shot_frames frames, Ctrl-C restored the mode ($((SECONDS - start)) s)"
