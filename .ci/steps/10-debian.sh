#!/usr/bin/env bash
# Debian package: build the .deb with Debian's own build flags, check it with
# lintian, build it again from a copy of the sources in another folder and
# require the very same bytes, unpack it into a scratch root (nothing is
# installed on this machine), check that the unpacked game names the
# package's version, play a won ladder with it from a pipe, and check the
# unpacked manual page with groff's warnings on.
#
# Settings (for running this step by hand): VAELMOOR_DEB_BUILD (default
# build-deb, a folder inside the checkout).
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$SECONDS
build=${VAELMOOR_DEB_BUILD:-build-deb}
script=.ci/windows-battle-input.txt  # a scripted Battle-mode game that wins the ladder

bash .ci/install-deps.sh cmake make g++ dpkg-dev file binutils lintian man-db groff-base

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
quietly() {  # runs a command, showing its output only when it fails
  "$@" >"$work/log" 2>&1 || { tail -60 "$work/log"; return 1; }
}

# Hardened as Debian's packages are. The time stamps in the package are the
# last commit's, and dpkg-buildflags maps the source folder it runs in to
# "." in the debug information (which the build ID is computed over), so the
# same sources make the same bytes wherever they are built.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH
build_deb() {  # source-folder: builds the package in $build inside it
  (
    cd "$1"
    # CMake reads no CPPFLAGS, so the preprocessor's flags (_FORTIFY_SOURCE)
    # go in with the compiler's.
    quietly cmake -S . -B "$build" -DVAELMOOR_TESTS=OFF -DVAELMOOR_WERROR=ON \
      -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
      -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
    quietly cmake --build "$build" -j2
    rm -f "$build"/vaelmoor_*.deb
    cd "$build" && quietly cpack -G DEB
  )
}

echo "-- build the package ($build, time stamps of $(date -u -d "@$SOURCE_DATE_EPOCH" '+%F %T'))"
build_deb .
deb=$(echo "$build"/vaelmoor_*.deb)
dpkg-deb --info "$deb" control
dpkg-deb --contents "$deb"
echo "-- built after $((SECONDS - start)) s"

echo "-- the same package again, from a copy of the sources in another folder"
copy=$work/elsewhere/vaelmoor-copy
mkdir -p "$copy"
git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$copy"
build_deb "$copy"
again=$(echo "$copy/$build"/vaelmoor_*.deb)
sha256sum "$deb" "$again" | sed "s|$work/||"
cmp -s "$deb" "$again" || {
  echo "FAIL: two builds of the same sources made different packages:"
  diff <(dpkg-deb -I "$deb" md5sums) <(dpkg-deb -I "$again" md5sums) || true
  exit 1
}
echo "-- reproduced after $((SECONDS - start)) s"

echo "-- lintian"
lint=0
lintian --display-info --fail-on error "$deb" >"$work/lintian" 2>&1 || lint=$?
grep -v 'running with root privileges' "$work/lintian" || echo "(no tags)"
[ "$lint" = 0 ] || { echo "FAIL: lintian reports errors (status $lint)"; exit 1; }

echo "-- the unpacked game plays a won ladder"
dpkg-deb -x "$deb" "$work/root"
said=$("$work/root/usr/games/vaelmoor" --version | head -1)
[ "$said" = "vaelmoor $(dpkg-deb -f "$deb" Version)" ] ||
  { echo "FAIL: the game says '$said', the package is $(dpkg-deb -f "$deb" Version)"; exit 1; }
mkdir "$work/play"
input=$(realpath "$script")
status=0
(cd "$work/play" && cat "$input" | timeout 60 "$work/root/usr/games/vaelmoor" >../play.out) ||
  status=$?
[ "$status" = 0 ] || { echo "FAIL: the game exited with status $status"; exit 1; }
closing=$'Game Over. \nThank you for playing.\nenter a number to continue: '
[ "$(tail -c ${#closing} "$work/play.out")" = "$closing" ] ||
  { echo "FAIL: the game did not end with its closing text:"; tail -c 300 "$work/play.out"; exit 1; }
# The script must still win every duel of the ladder and save on the way.
[ "$(grep -c 'He is defeated!' "$work/play.out")" = 8 ] ||
  { echo "FAIL: $script no longer wins all eight duels"; exit 1; }
[ -s "$work/play/stats.txt" ] || { echo "FAIL: no stats.txt in the folder the game ran in"; exit 1; }

echo "-- the manual page, groff warnings on"
man_page=$work/root/usr/share/man/man6/vaelmoor.6.gz
LC_ALL=C.UTF-8 man --warnings -l "$man_page" >/dev/null 2>"$work/man.err" ||
  { echo "FAIL: man could not show $man_page"; cat "$work/man.err"; exit 1; }
[ ! -s "$work/man.err" ] || { echo "FAIL: the manual page has warnings:"; cat "$work/man.err"; exit 1; }
echo "-- Debian step finished in $((SECONDS - start)) s"
