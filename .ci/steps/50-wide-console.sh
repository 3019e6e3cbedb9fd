#!/usr/bin/env bash
# A console wider than 80 columns: Battle mode played in tmux at 120 columns,
# up to the first spell menu, must leave the very screen (history included)
# that the same game leaves at 80 columns, where tmux itself wraps the lines.
# The hero's long name makes a line right after a typed answer wrap, so the
# answer's Enter must have put the layout back at the start of the line.
#
# Settings (for running this step by hand): VAELMOOR_LINUX_BUILD (default
# build-ci, see .ci/linux-game.sh).
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$SECONDS

bash .ci/install-deps.sh tmux
game=$(bash .ci/linux-game.sh)

work=$(mktemp -d)
tmux_() { tmux -L "vaelmoor-wide-$$" -f /dev/null "$@"; }
cleanup() {
  tmux_ kill-server 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "wide console: $*"; exit 1; }

# Each answer is typed only once the game waits for it (asleep in a read),
# as a player would: an answer typed ahead is echoed at another place.
reads() { awk '/^syscr:/ { print $2 }' "/proc/$pid/io"; }
await_read() {  # reads done before the answer
  for _ in $(seq 500); do
    [ "$(readlink "/proc/$pid/exe")" = "$game" ] && [ "$(reads)" -gt "$1" ] &&
      [ "$(awk '{ print $3 }' "/proc/$pid/stat")" = S ] && return 0
    sleep 0.02
  done
  fail "the game did not ask for its next answer"
}

# Battle mode, a new hero with a long name and some magic, the shop left at
# once, no save, the first duel's stat sheet and round, then: use magic.
answers=(1 0 SirAlaricOfTheLongWindingRoadBeyondTheHills 9 8 5 4 0 0 0 0 0 0 3)
play() {  # columns
  mkdir "$work/$1"
  tmux_ new-session -d -s g -x "$1" -y 40 "cd '$work/$1' && exec '$game'"
  pid=$(tmux_ display -p -t g '#{pane_pid}')
  await_read 0
  for a in "${answers[@]}"; do
    local before
    before=$(reads)
    tmux_ send-keys -t g -l "$a"
    tmux_ send-keys -t g Enter
    await_read "$before"
  done
  tmux_ capture-pane -p -S - -t g >"$work/$1.screen"
  tmux_ kill-server
}
play 80
play 120
grep -q 'What spell do you cast' "$work/120.screen" || fail "the spell menu did not come"
if ! diff -u "$work/80.screen" "$work/120.screen" >"$work/diff"; then
  head -40 "$work/diff"
  fail "120 columns (+) show the game otherwise than 80 columns (-)"
fi
echo "-- the spell menu at 120 columns:"
sed -n '/What spell do you cast/,/^>>/p' "$work/120.screen"
echo "wide console: 120 columns show what 80 columns show ($((SECONDS - start)) s)"
