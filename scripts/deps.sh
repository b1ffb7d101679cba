#!/usr/bin/env bash
# Installs the Debian 12 packages Tervano needs, only those that are missing.
# As root it runs apt-get directly, otherwise through sudo; without sudo it prints the command
# to run as root and stops.
set -euo pipefail

packages=(qt6-base-dev qt6-translations-l10n libasound2-dev libfluidsynth-dev timgm6mb-soundfont fonts-dejavu-core
          nlohmann-json3-dev pkgconf cmake make g++ libgtest-dev libbenchmark-dev libpugixml-dev)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

hint() {
  echo "These Debian packages are missing: ${missing[*]}" >&2
  echo "Install them as root (for example after 'su -'), then run this command again:" >&2
  echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
}
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null && { sudo -n true 2>/dev/null || [ -t 0 ]; }; then
  # With a terminal sudo may ask for the password; a user it refuses gets the hint as well.
  sudo=(sudo)
  sudo -v || hint
else
  hint
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "${missing[@]}"
