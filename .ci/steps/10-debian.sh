#!/usr/bin/env bash
# The Debian source package, as a distribution builds it: the version written
# alike in every place; the source and binary packages built from a clean copy
# of the checkout with the test suite, checked by lintian at the pedantic
# level (the overrides in debian/ are the only exceptions), and built again
# elsewhere without the tests to the very same bytes; then the autopkgtest run
# against the built package (installed on this machine, and purged again if
# it was not installed before), the AppStream file and the manual page with
# groff's warnings on. (lintian checks the binary's hardening: PIE, bindnow,
# fortified functions and the stack protector.)
set -euo pipefail
cd "$(dirname "$0")/../.."
start=$SECONDS

bash .ci/install-deps.sh cmake make g++ libgtest-dev dpkg-dev debhelper lintian autopkgtest \
  appstream man-db groff-base

work=$(mktemp -d)
installed_before=$(dpkg-query -W -f '${db:Status-Status}' vaelmoor 2>/dev/null || true)
cleanup() {
  if [ "$installed_before" != installed ] && dpkg-query -W vaelmoor >/dev/null 2>&1; then
    dpkg --purge vaelmoor >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
quietly() {  # runs a command, showing its output only when it fails
  "$@" >"$work/log" 2>&1 || { tail -60 "$work/log"; return 1; }
}

echo "-- the version"
bash .ci/check-version.sh

# A clean copy of the checkout's files, with nothing a build left behind.
copy() {  # folder
  mkdir -p "$1"
  git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$1"
}

echo "-- build the source and binary packages, with the tests"
copy "$work/first/vaelmoor"
(cd "$work/first/vaelmoor" && quietly dpkg-buildpackage -us -uc -j2)
version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
deb=$work/first/vaelmoor_${version}_$arch.deb
dpkg-deb --info "$deb" control
dpkg-deb --contents "$deb"
echo "-- built after $((SECONDS - start)) s"

echo "-- lintian"
# Shown with the overridden tags (O:) and their reasons, but any other tag
# (E:, W:, I: or P:) fails. (--fail-on would count the overridden ones too.)
changes=$work/first/vaelmoor_${version}_$arch.changes
lintian --pedantic -I --show-overrides --fail-on none "$changes" >"$work/lintian" 2>&1 ||
  { cat "$work/lintian"; echo "FAIL: lintian did not run"; exit 1; }
grep -v 'running with root privileges' "$work/lintian" || echo "(no tags)"
! grep -q '^[EWIP]: ' "$work/lintian" ||
  { echo "FAIL: lintian has tags that no override in debian/ explains"; exit 1; }

echo "-- the same package again, from a copy in another folder, without the tests"
copy "$work/elsewhere/vaelmoor-copy"
(cd "$work/elsewhere/vaelmoor-copy" &&
  DEB_BUILD_OPTIONS=nocheck quietly dpkg-buildpackage -us -uc -b -j2 -Pnocheck)
again=$work/elsewhere/vaelmoor_${version}_$arch.deb
sha256sum "$deb" "$again" | sed "s|$work/||"
cmp -s "$deb" "$again" || {
  echo "FAIL: two builds of the same sources made different packages:"
  diff <(dpkg-deb -I "$deb" md5sums) <(dpkg-deb -I "$again" md5sums) || true
  exit 1
}
echo "-- reproduced after $((SECONDS - start)) s"

echo "-- autopkgtest, on this machine"
status=0
autopkgtest -B "$work/first/vaelmoor_$version.dsc" "$deb" -- null >"$work/autopkgtest" 2>&1 || status=$?
# What the test said, then its verdict.
grep -E '^[0-9]+ passed, [0-9]+ failed$|^FAIL: ' "$work/autopkgtest" || true
sed -n '/@@@@ summary/,$p' "$work/autopkgtest" | grep -E ' (PASS|FAIL|SKIP|FLAKY)' || true
[ "$status" = 0 ] || { tail -60 "$work/autopkgtest"; echo "FAIL: autopkgtest (status $status)"; exit 1; }

echo "-- AppStream"
metainfo=/usr/share/metainfo/org.vaelmoor.vaelmoor.metainfo.xml
[ -f "$metainfo" ] || { echo "FAIL: the package installs no $metainfo"; exit 1; }
# Even a pedantic remark fails: a clean file passes with none.
appstreamcli validate --no-color --pedantic --explain --no-net "$metainfo" >"$work/appstream" 2>&1 || true
cat "$work/appstream"
! grep -q '^[EWIP]: ' "$work/appstream" && grep -q 'Validation was successful' "$work/appstream" ||
  { echo "FAIL: appstreamcli has remarks on $metainfo"; exit 1; }

echo "-- the manual page, groff warnings on"
man_page=/usr/share/man/man6/vaelmoor.6.gz
LC_ALL=C.UTF-8 man --warnings -l "$man_page" >/dev/null 2>"$work/man.err" ||
  { echo "FAIL: man could not show $man_page"; cat "$work/man.err"; exit 1; }
[ ! -s "$work/man.err" ] || { echo "FAIL: the manual page has warnings:"; cat "$work/man.err"; exit 1; }
echo "-- Debian step finished in $((SECONDS - start)) s"
