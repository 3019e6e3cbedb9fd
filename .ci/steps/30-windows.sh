#!/usr/bin/env bash
# Windows: cross-build the game and its tests with MinGW-w64, make the zip
# that players download, run the tests under wine, and check that a scripted
# Battle-mode game played by the zip's vaelmoor.exe from a pipe says exactly
# what the Linux build says.
#
# Settings (for running this step by hand): VAELMOOR_WIN_BUILD (default
# build-ci-win, configured here with the tests on and warnings as errors,
# whatever it held before) and VAELMOOR_LINUX_BUILD (see .ci/linux-game.sh).
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$SECONDS
win_build=${VAELMOOR_WIN_BUILD:-build-ci-win}
script=.ci/windows-battle-input.txt

bash .ci/install-deps.sh g++-mingw-w64-x86-64 wine64 wine googletest unzip

work=$(mktemp -d)
wine_up=0
cleanup() {
  if [ "$wine_up" = 1 ]; then wineserver -k >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP  # so that cleanup runs then too
quietly() {  # runs a command, showing its output only when it fails
  "$@" >"$work/log" 2>&1 || { tail -60 "$work/log"; return 1; }
}

echo "-- cross-build ($win_build)"
quietly cmake -S . -B "$win_build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DVAELMOOR_WERROR=ON -DVAELMOOR_TESTS=ON
quietly cmake --build "$win_build" -j2
# The zip for players; the games below are played by the vaelmoor.exe in it.
rm -f "$win_build"/vaelmoor-*.zip
(cd "$win_build" && quietly cpack -G ZIP)
zip=$(echo "$win_build"/vaelmoor-*.zip)
unzip -l "$zip"
unzip -q "$zip" -d "$work/zip"
for f in vaelmoor.exe README.md LICENSE.txt; do
  [ -f "$work/zip/$(basename "$zip" .zip)/$f" ] || { echo "FAIL: $zip holds no $f"; exit 1; }
done
linux=$(bash .ci/linux-game.sh)
echo "-- built after $((SECONDS - start)) s"

# Wine, headless, in a prefix of its own. Its background services inherit the
# standard streams of whatever starts them and would keep a captured stderr
# (ctest's) open for seconds, so they are started here first, on /dev/null,
# by a persistent wineserver that every later wine run joins.
unset DISPLAY
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$PWD/$win_build/wineprefix"
mkdir -p "$WINEPREFIX"
wine_up=1
wineserver -p 60 </dev/null >/dev/null 2>&1
wine cmd /c exit >/dev/null 2>&1 </dev/null
echo "-- wine ready after $((SECONDS - start)) s"

echo "-- Windows tests under wine"
(cd "$win_build" && ctest --output-on-failure --no-tests=error -j2 --timeout 60)

echo "-- scripted Battle-mode game: vaelmoor.exe against the Linux build"
input=$(realpath "$script")
exe=$work/zip/$(basename "$zip" .zip)/vaelmoor.exe
mkdir "$work/win" "$work/linux"
(cd "$work/linux" && cat "$input" | timeout 60 "$linux" | cat >../linux.out) ||
  { echo "FAIL: the Linux game failed"; exit 1; }
(cd "$work/win" && cat "$input" | timeout 60 wine "$exe" | cat >../win.out) ||
  { echo "FAIL: vaelmoor.exe failed"; exit 1; }

# Text through a Windows pipe ends its lines in CR LF, and only the POSIX
# screen clear writes bytes (the console-API one has no console to clear).
# The save files are text files, so their lines end the same way.
esc=$(printf '\033')
posix_text() { sed "s/$esc\[H$esc\[2J//g" "$1"; }
windows_text() { sed 's/\r$//' "$1"; }
same() {  # linux-file windows-file what
  if ! diff -u <(posix_text "$1") <(windows_text "$2") >"$work/diff"; then
    echo "FAIL: $3 differs between Linux (-) and Windows (+):"
    head -40 "$work/diff"
    exit 1
  fi
}
same "$work/linux.out" "$work/win.out" "the game's output"
same "$work/linux/stats.txt" "$work/win/stats.txt" "the save file"
grep -q $'\r$' "$work/win/stats.txt" ||
  { echo "FAIL: the Windows save file does not have Windows line ends"; exit 1; }

# A reader that has gone (head) while the game waits for its input: the game
# ends with status 1 and, as on Linux, says nothing about it.
(cd "$work/win" && sleep 1 | wine "$exe" 2>"$work/err" | head -c 100 >/dev/null; exit "${PIPESTATUS[1]}") &&
  status=0 || status=$?
if [ "$status" != 1 ] || [ -s "$work/err" ]; then
  echo "FAIL: into a closed pipe vaelmoor.exe ended with status $status, saying: $(cat "$work/err")"
  exit 1
fi
echo "-- into a closed pipe: status 1, nothing said"

# A save file carried from one system to the other resumes the same hero:
# each build resumes from both files (to the first stat sheet of the resumed
# ladder) and must say the same either way.
resume() {  # save-file output program...: resumes from the save file
  local save=$1 output=$2 dir
  shift 2
  dir=$(mktemp -d -p "$work")
  cp "$save" "$dir/stats.txt"
  (cd "$dir" && printf '1\n1\n' | timeout 60 "$@" | cat >"$output") ||
    { echo "FAIL: $* could not resume from $save"; exit 1; }
}
resume "$work/linux/stats.txt" "$work/linux-from-linux.out" "$linux"
resume "$work/win/stats.txt" "$work/linux-from-win.out" "$linux"
resume "$work/win/stats.txt" "$work/win-from-win.out" wine "$exe"
resume "$work/linux/stats.txt" "$work/win-from-linux.out" wine "$exe"
if grep -q "No saved game" "$work/linux-from-linux.out"; then
  echo "FAIL: the Linux build cannot resume from its own save file"; exit 1
fi
cmp -s "$work/linux-from-linux.out" "$work/linux-from-win.out" ||
  { echo "FAIL: the Linux build reads the Windows save file differently"; exit 1; }
cmp -s "$work/win-from-win.out" "$work/win-from-linux.out" ||
  { echo "FAIL: vaelmoor.exe reads the Linux save file differently"; exit 1; }
same "$work/linux-from-linux.out" "$work/win-from-win.out" "resuming from the save file"

# The script must still play what it was written for: won duels, a save, a
# purchase and the closing message. If the game's dialogue changes, mend the
# script rather than these checks.
count() { grep -c -- "$1" "$work/linux.out" || true; }
if [ "$(count 'He is defeated!')" -lt 3 ] || [ "$(count 'saving...')" -lt 1 ] ||
  [ "$(count 'You bought it!')" -lt 1 ] || [ "$(count 'Thank you for playing.')" -ne 1 ]; then
  echo "FAIL: $script no longer plays several won duels, a save, a purchase and the close"
  exit 1
fi
echo "-- same output from both ($(wc -l <"$work/linux.out") lines), same save file, each resumes from the other's"
echo "-- Windows step finished in $((SECONDS - start)) s"
