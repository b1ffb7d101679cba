#!/usr/bin/env bash
# Installs the Debian 12 packages Tervano needs, only those that are missing.
# As root it runs apt-get directly, otherwise through sudo.
set -euo pipefail

packages=(qt6-base-dev libsdl2-dev libfluidsynth-dev timgm6mb-soundfont fonts-dejavu-core
          pkgconf cmake make g++ libgtest-dev libbenchmark-dev)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "${missing[@]}"
