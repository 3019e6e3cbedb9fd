#!/usr/bin/env bash
# Fails when a file under src/ includes a module above its own. Each module
# may include only itself and the modules below it; modules on one level
# (items and savegame) may not include each other. Within the platform, only
# the systems, posix/, windows/ and web/, include an operating system's
# headers (web/ alone emscripten's), and none includes another's files;
# nothing outside them includes their files either.
set -euo pipefail
cd "$(dirname "$0")/.."

# Bottom to top; modules sharing a level are joined by a comma.
order="platform console player items,savegame combat story flow main"

declare -A level
n=0
for tier in $order; do
  for module in ${tier//,/ }; do level[$module]=$n; done
  n=$((n + 1))
done

status=0
fail() { echo "$1"; status=1; }

while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$rest")
  module=${file#src/}
  module=${module%%/*}
  [ "$module" = main.cpp ] && module=main
  [ "$module" = "$target" ] && continue
  from=${level[$module]:?"$file: module $module is not in the order"}
  to=${level[$target]:?"$file:$line: includes unknown module $target"}
  [ "$to" -lt "$from" ] || fail "$file:$line: $module may not include $target: ${rest#*:}"
done < <(grep -rnE '^\s*#\s*include "[^/"]+/' src)

# A C++ standard header has no ".h"; <csignal> is the one standard header
# that only a system's code needs. Everything else in angle brackets that
# ends in .h, or sits in a folder (<sys/stat.h>), is an operating system's.
os_header='^\s*#\s*include\s*<([^>]*\.h|[^>]*/[^>]*|csignal)>'
system_of() {
  case $1 in
    src/platform/posix/*) echo posix ;; src/platform/windows/*) echo windows ;; src/platform/web/*) echo web ;;
  esac
}
while IFS= read -r hit; do
  file=${hit%%:*}
  [ -n "$(system_of "$file")" ] || fail "$hit: only src/platform/posix, windows and web include OS headers"
done < <(grep -rnE "$os_header" src)
while IFS= read -r hit; do
  [ "$(system_of "${hit%%:*}")" = web ] || fail "$hit: only src/platform/web includes emscripten's headers"
done < <(grep -rnE '^\s*#\s*include\s*<emscripten' src)
while IFS= read -r hit; do
  file=${hit%%:*}
  target=$(sed -E 's/.*#include "platform\/(posix|windows|web)\/.*/\1/' <<<"${hit#*:*:}")
  [ "$(system_of "$file")" = "$target" ] || fail "$hit: only $target's own files include it"
done < <(grep -rnE '^\s*#\s*include "platform/(posix|windows|web)/' src)

[ $status -eq 0 ] && echo "includes point down: $order; OS headers only in platform/posix, windows and web"
exit $status
