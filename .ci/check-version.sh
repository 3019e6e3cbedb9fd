#!/usr/bin/env bash
# The version is written in one place, cmake/packaging.cmake. The newest
# entry of debian/changelog and the newest release of the AppStream file must
# name the same version, and on the same day; fails, naming what differs.
# Needs dpkg-parsechangelog (dpkg-dev).
set -euo pipefail
cd "$(dirname "$0")/.."
metainfo=doc/org.vaelmoor.vaelmoor.metainfo.xml

version=$(sed -n 's/^set(VAELMOOR_VERSION \([^ )]*\))$/\1/p' cmake/packaging.cmake)
[ -n "$version" ] || { echo "FAIL: no set(VAELMOOR_VERSION ...) line in cmake/packaging.cmake"; exit 1; }
changelog_version=$(dpkg-parsechangelog -S Version)
# The day as written ("Mon, 07 Dec 2026 ..."), whatever the time zone.
changelog_day=$(date -u -d "$(dpkg-parsechangelog -S Date | cut -d' ' -f2-4)" +%F)
# Releases are listed newest first.
release=$(grep -m1 -o '<release [^>]*>' "$metainfo" || true)
release_version=$(sed -n 's/.* version="\([^"]*\)".*/\1/p' <<<"$release")
release_day=$(sed -n 's/.* date="\([^"]*\)".*/\1/p' <<<"$release")

status=0
[ "$changelog_version" = "$version" ] ||
  { echo "FAIL: debian/changelog's newest entry is '$changelog_version', cmake/packaging.cmake says $version"; status=1; }
[ "$release_version" = "$version" ] ||
  { echo "FAIL: $metainfo's newest release is '$release_version', cmake/packaging.cmake says $version"; status=1; }
[ "$release_day" = "$changelog_day" ] ||
  { echo "FAIL: $metainfo's newest release is dated '$release_day', debian/changelog's $changelog_day"; status=1; }
[ "$status" = 1 ] || echo "version $version of $changelog_day in cmake/packaging.cmake, debian/changelog and $metainfo"
exit "$status"
