#!/usr/bin/env bash
# Saves that last through a power cut: the real game plays a scripted
# Battle-mode game under strace, and each of its saves must create the
# temporary file exclusively (O_EXCL, O_NOFOLLOW), lock it (so that no other
# game's sweep takes it), write it, flush it to the disk, rename it over
# stats.txt and then flush the folder, in that order.
# Shows the system calls of the first save.
#
# Settings (for running this step by hand): VAELMOOR_LINUX_BUILD (default
# build-ci, see .ci/linux-game.sh).
set -euo pipefail
cd "$(dirname "$0")/../.."

bash .ci/install-deps.sh strace

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
game=$(bash .ci/linux-game.sh)

input=$(realpath .ci/windows-battle-input.txt)
mkdir "$work/game"
(cd "$work/game" &&
  strace -o "$work/trace" -e trace=openat,write,close,flock,fsync,fdatasync,rename,renameat,renameat2 \
    "$game" <"$input" >/dev/null)

# One letter per step that matters: L the lock of the temporary file, W a
# write to it, F its flush, R its rename over stats.txt, D the flush of the
# folder; ? anything out of place (a flush of another file, a rename of an
# unflushed one, a failed call).
steps=$(awk '
  { call = $0; sub(/\(.*/, "", call); result = $NF }
  call == "openat" && match($0, /"[^"]*"/) { name[result] = substr($0, RSTART + 1, RLENGTH - 2) }
  call == "write" || call ~ /^f/ { fd = $0; sub(/^[a-z]*\(/, "", fd); sub(/[,)].*/, "", fd) }
  call == "flock" && name[fd] ~ /\.tmp$/ { printf (result == 0 ? "L" : "?") }
  call == "write" && name[fd] ~ /\.tmp$/ { printf "W" }
  call == "fdatasync" { printf "?" }
  call == "fsync" {
    if (result != 0) printf "?"
    else if (name[fd] == ".") printf "D"
    else if (name[fd] ~ /\.tmp$/) { flushed = name[fd]; printf "F" }
    else printf "?"
  }
  call ~ /^rename/ {
    ok = result == 0 && index($0, "\"" flushed "\", \"stats.txt\"") > 0
    printf (ok ? "R" : "?")
    flushed = ""
  }
' "$work/trace")
saves=$(grep -c '^rename' "$work/trace" || true)
echo "-- the first save's system calls"
awk '/\.tmp"/ { on = 1 } on { print } on && /^fsync/ && ++f == 2 { exit }' "$work/trace"
# Created afresh, never over a file or through a link someone put there.
if grep -E '^openat\(.*\.tmp"' "$work/trace" | grep -Evq 'O_CREAT\|O_EXCL.*O_NOFOLLOW'; then
  echo "FAIL: a temporary file was opened without O_CREAT|O_EXCL and O_NOFOLLOW"
  exit 1
fi
if ! grep -Eqx '(LW+FRD)+' <<<"$steps"; then
  echo "FAIL: the saves did not lock, write, flush, rename and flush the folder in order: $steps"
  exit 1
fi
echo "all $saves saves: temporary file locked, written, flushed, renamed over stats.txt, folder flushed"
