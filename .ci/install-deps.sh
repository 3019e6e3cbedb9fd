#!/usr/bin/env bash
# Installs the Debian packages named on the command line (by default those
# the build and the tests need) when they are missing. CI runs as root.
set -euo pipefail
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
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
