#!/usr/bin/env bash
# Fails when a file under src/ includes a module above its own. Each module
# may include only itself and the modules below it; modules on one level
# (items and savegame) may not include each other.
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
  if [ "$to" -ge "$from" ]; then
    echo "$file:$line: $module may not include $target: ${rest#*:}"
    status=1
  fi
done < <(grep -rnE '^\s*#\s*include "[^/"]+/' src)
[ $status -eq 0 ] && echo "includes point down: $order"
exit $status
