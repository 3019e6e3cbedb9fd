#!/usr/bin/env bash
# Installs the Debian packages named on the command line (by default those
# the build and the tests need) when they are missing. CI runs as root.
# Options before the names go to apt-get (--no-install-recommends).
set -euo pipefail
options=()
while [ $# -gt 0 ] && [[ $1 == -* ]]; do
  options+=("$1")
  shift
done
packages=("$@")
[ ${#packages[@]} -gt 0 ] || packages=(cmake make g++ libgtest-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${options[@]}" "${missing[@]}" >/dev/null
fi
