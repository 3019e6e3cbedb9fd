#!/usr/bin/env bash
# Standard streams that cannot be used, on the real game: standard input
# closed or a folder is the end of input (the closing, status 0); standard
# output closed or on a full device ends the game with status 1 and the error
# named on standard error; into a pipe whose reader has gone it ends silently
# with status 1 when SIGPIPE is ignored, else SIGPIPE ends it; past the
# file-size limit it ends with status 1 and the error named. Saves: past the
# file-size limit and on a full disk (where a small file system can be
# mounted for it) they name the system's reason; in a folder that cannot be
# read they stand.
#
# Settings (for running this step by hand): VAELMOOR_LINUX_BUILD (default
# build-ci, see .ci/linux-game.sh). Another game that must end the same way
# can be named instead: 60-broken-streams.sh build-ci-web/vaelmoor-node.
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ $# -gt 0 ]; then game=$(realpath "$1"); else game=$(bash .ci/linux-game.sh); fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

failed=0
closing=$'\nGame Over. \nThank you for playing.\n'
# what, the status wanted, the standard error wanted, whether the output ends in the closing
check() {
  local ends=yes
  [ "$(tail -c ${#closing} out 2>/dev/null)" = "${closing%$'\n'}" ] || ends=no
  if [ "$status" = "$2" ] && [ "$(cat err)" = "$3" ] && [ "$ends" = "$4" ]; then
    echo "ok: $1: status $status${3:+, \"$3\"}"
  else
    echo "FAIL: $1: status $status (wanted $2), standard error \"$(cat err)\", closing: $ends (wanted $4)"
    failed=1
  fi
}
run() { rm -f out err; status=0; "$@" || status=$?; }

run sh -c '"$0" <&- >out 2>err' "$game"
check "standard input closed" 0 "" yes
run sh -c '"$0" </ >out 2>err' "$game"
check "standard input a folder" 0 "" yes
run sh -c '"$0" </dev/null >&- 2>err' "$game"
check "standard output closed" 1 "vaelmoor: cannot write to standard output: Bad file descriptor" no
run sh -c '"$0" </dev/null >/dev/full 2>err' "$game"
check "standard output on /dev/full" 1 "vaelmoor: cannot write to standard output: No space left on device" no
# The reader is gone before the game's closing: the game waits on its input meanwhile.
run bash -c 'env --ignore-signal=PIPE "$0" < <(sleep 0.3) 2>err | true; exit ${PIPESTATUS[0]}' "$game"
check "a closed pipe, SIGPIPE ignored" 1 "" no
run bash -c 'env --default-signal=PIPE "$0" < <(sleep 0.3) 2>err | true; exit ${PIPESTATUS[0]}' "$game"
check "a closed pipe" 141 "" no
# Past the file-size limit (ulimit -f), which the game does not die of: its
# output fails like any other write, and a save fails, keeps the old save,
# leaves no temporary file and says why, and play goes on.
run sh -c 'ulimit -f 1; exec "$0" </dev/null >out 2>err' "$game"
check "standard output past the file-size limit" 1 "vaelmoor: cannot write to standard output: File too large" no
mkdir limited && printf 'Old\n' >limited/stats.txt
(cd limited && printf "1 0 Hero 9 12 0 4 0 0 0 1 0\n" | sh -c 'ulimit -f 0; exec "$0"' "$game" | cat >../out) || true
if grep -qx "Could not save to stats.txt: File too large" out && grep -q "Thank you for playing" out &&
    [ "$(ls limited)" = stats.txt ] && [ "$(cat limited/stats.txt)" = Old ]; then
  echo "ok: a save past the file-size limit: \"Could not save to stats.txt: File too large\", the old save kept"
else
  echo "FAIL: a save past the file-size limit:"; { grep -a -A1 "saving" out || true; }; ls limited; failed=1
fi

# A new hero, saved at the prompt after creation, in a folder that its player
# may write to but not read (mode 0300): the move into place succeeds, only
# the folder's flush cannot open it, and the save stands without a word. As
# root, who may read any folder, the game is played by nobody, from a copy
# (with the files the node game is made of beside it) that nobody may run.
for part in "$game" "$game.js" "$game.wasm"; do [ ! -e "$part" ] || cp "$part" .; done
mine=$(basename "$game") && chmod 755 . "$mine"
mkdir unlisted && printf 'Old\n' >unlisted/stats.txt && chmod 0300 unlisted
player=()
if [ "$(id -u)" = 0 ]; then
  chown -R nobody unlisted
  player=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
(cd unlisted && printf "1 0 Hero 9 12 0 4 0 0 0 1 0\n" | "${player[@]}" "../$mine" >../out 2>&1) || true
if grep -q "saving...$" out && ! grep -q "Could not save" out && head -1 unlisted/stats.txt | grep -qx Hero; then
  echo "ok: a save in a folder that cannot be listed stands, and nothing says it failed"
else
  echo "FAIL: a save in a folder that cannot be listed:"; { grep -a -A1 "saving" out || true; }; failed=1
fi

# A new hero, saved at the prompt after creation, on a file system with no room left.
mkdir disk
if unshare -m sh -c 'mount -t tmpfs -o size=4k vaelmoor-full disk && cd disk &&
    { cat /dev/zero >fill 2>/dev/null; printf "1 0 Hero 9 12 0 4 0 0 0 1 0\n" | "$0" >../out; }' "$game" \
    2>/dev/null; then
  if grep -qx "Could not save to stats.txt: No space left on device" out; then
    echo "ok: a save on a full disk: \"Could not save to stats.txt: No space left on device\""
  else
    echo "FAIL: a save on a full disk:"; { grep -a -A1 "saving" out || true; }; failed=1
  fi
else
  echo "skipped: a save on a full disk (no file system can be mounted here)"
fi
exit $failed
