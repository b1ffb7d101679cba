#!/usr/bin/env bash
# Checks the installation as a player on a fresh Debian 12 gets it, in a fresh Debian 12 root file
# system made by debootstrap (minbase) on this machine:
#   1. a Release build as a packager makes it (warnings are not errors there) and `cpack -G DEB`;
#   2. `apt install ./tervano_*.deb` in the fresh system: it must pull in runtime packages only;
#   3. `cmake --install` into a staging prefix there; the desktop entry and the AppStream
#      metainfo validated (desktop-file-validate, appstreamcli validate --no-net);
#   4. the installed program started under Xvfb by a new user whose home holds no data yet: the
#      Czech load dialog with "Nová hra.kr1" chosen, Enter, an answer typed over the map (Insert),
#      the game saved as "moje hra" with Ctrl+F4;
#   5. the package installed again (the upgrade path), the program started again and the saved
#      game loaded: it must still be there, unchanged.
#
#   scripts/check-install.sh [SHOTS_FOLDER]     (as root; needs Debian's mirror)
#
# TERVANO_CHECK_CACHE  keeps the debootstrap tarball and the downloaded packages between runs
#                      (default: build-check/cache)
# TERVANO_MIRROR       the Debian mirror (default: http://deb.debian.org/debian)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
if [ "$(id -u)" -ne 0 ]; then
  echo "check-install.sh makes a root file system and mounts into it: run it as root." >&2
  exit 1
fi
shots=${1:-}
cache=${TERVANO_CHECK_CACHE:-$repo/build-check/cache}
mirror=${TERVANO_MIRROR:-http://deb.debian.org/debian}
build=$repo/build-package
mkdir -p "$cache/apt"
cache=$(cd "$cache" && pwd)
step() { printf '\n== %s\n' "$*"; }

scripts/deps.sh debootstrap dpkg-dev imagemagick

step "Release build and package"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTERVANO_TESTS=OFF -DTERVANO_BENCH=OFF \
  -DTERVANO_TOOLS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target tervano-hra >/dev/null
(cd "$build" && rm -f tervano_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tervano_*.deb)
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"

step "Fresh Debian 12 (debootstrap, minbase)"
tarball=$cache/bookworm-minbase.tgz
if [ ! -f "$tarball" ]; then
  scratch=$(mktemp -d /var/tmp/tervano-tarball.XXXXXX)
  debootstrap --variant=minbase --make-tarball="$tarball" bookworm "$scratch" "$mirror" >/dev/null
  rm -rf "$scratch"
fi
root=$(mktemp -d /var/tmp/tervano-check.XXXXXX)
chmod 755 "$root"  # mktemp makes it private; the player must reach / too
mounts=()
cleanup() {
  local status=$?
  if [ "$status" -ne 0 ] && compgen -G "$root/tmp/shots/*.log" >/dev/null; then
    for log in "$root"/tmp/shots/*.log; do sed "s|^|$(basename "$log"): |" "$log"; done
  fi
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[$i]}" 2>/dev/null || true; done
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT
debootstrap --variant=minbase --unpack-tarball="$tarball" bookworm "$root" "$mirror" >/dev/null
echo "root file system in $root: $(du -sh --exclude=proc "$root" | cut -f1)"
bind() {
  mkdir -p "$root$2"
  mount --bind "$1" "$root$2"
  mounts+=("$root$2")
}
mount -t proc proc "$root/proc" && mounts+=("$root/proc")
mount -t sysfs sys "$root/sys" && mounts+=("$root/sys")
bind /dev /dev
bind /dev/pts /dev/pts
bind "$cache/apt" /var/cache/apt/archives
cp /etc/resolv.conf "$root/etc/resolv.conf"
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${mirror%/debian}/debian-security bookworm-security main
EOF
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }
in_root apt-get update -qq

step "apt install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root dpkg-query -W -f '${Package}\n' | sort >"$root/tmp/before"
in_root apt-get install -y -qq "/tmp/$(basename "$deb")" >/dev/null
in_root dpkg-query -W -f '${Package}\n' | sort >"$root/tmp/after"
pulled=$(comm -13 "$root/tmp/before" "$root/tmp/after")
echo "packages pulled in: $(echo "$pulled" | wc -l)"
echo "$pulled" | grep -E '^(qt6|libqt6|libasound2|libfluidsynth|timgm6mb|fonts-dejavu|tervano)' | tr '\n' ' '
echo
dev=$(echo "$pulled" | grep -E -- '-dev$' || true)
if [ -n "$dev" ]; then
  echo "FAIL: development packages pulled in: $dev"
  exit 1
fi
echo "no -dev package among them"
echo "installed program: $(in_root du -sk /usr/bin/tervano-hra /usr/share/tervano \
  /usr/share/icons/hicolor /usr/share/applications/cz.tervano.Tervano.desktop \
  /usr/share/metainfo/cz.tervano.Tervano.metainfo.xml | awk '{s += $1} END {print s}') kB"

step "Tools of the check: cmake, validators, Xvfb, xdotool"
in_root apt-get install -y -qq --no-install-recommends cmake desktop-file-utils appstream xvfb \
  xauth xdotool x11-apps >/dev/null

step "cmake --install into a staging prefix, validated"
bind "$repo" "$repo"
in_root cmake --install "$build" --prefix /stage >/dev/null
in_root find /stage -maxdepth 3 -not -path '*/share/tervano/*' -not -path '*/hicolor/*' | sort
in_root desktop-file-validate /stage/share/applications/cz.tervano.Tervano.desktop
echo "desktop-file-validate: passed"
in_root appstreamcli validate --no-net /stage/share/metainfo/cz.tervano.Tervano.metainfo.xml

step "The installed program, started by a user with no data yet"
in_root useradd -m -s /bin/bash hrac
data=$root/home/hrac/.local/share/tervano
if [ -e "$data" ]; then
  echo "FAIL: $data exists before the first start"
  exit 1
fi
echo "before the first start: no ${data#"$root"}"
cp scripts/check-install-drive.sh "$root/tmp/drive.sh"
mkdir -p "$root/tmp/shots"
chmod 1777 "$root/tmp/shots"
play() {
  in_root runuser -l hrac -c "LANG=C.UTF-8 xvfb-run -a -s '-screen 0 1024x768x24 -dpi 96' bash /tmp/drive.sh $1"
}
play first
echo "after the first start: $(find "$data" -type f | wc -l) files in ~/.local/share/tervano"
save="$data/Data/kriz/moje hra"
sha256sum "$save.kr1" "$save.kn1" | sed "s|$root||" | tee "$root/tmp/saved"
echo "answers as saved (first line): $(head -1 "$save.kn1" | tr -d '\r')"

step "Upgrade: apt install --reinstall, started again, the saved game loaded"
in_root apt-get install -y -qq --reinstall "/tmp/$(basename "$deb")" >/dev/null
echo "reinstalled: $(in_root dpkg-query -W -f '${Package} ${Version} ${db:Status-Abbrev}' tervano)"
play again
if (cd / && sha256sum -c --quiet <(sed "s|  /|  $root/|" "$root/tmp/saved")); then
  echo "the saved game is still there, unchanged"
else
  echo "FAIL: the saved game changed or is gone"
  exit 1
fi
grep -h . "$root"/tmp/shots/*.log | sort | uniq -c | sed 's/^/program said: /'

if [ -n "$shots" ]; then
  mkdir -p "$shots"
  for f in "$root"/tmp/shots/*.xwd; do
    convert "xwd:$f" "$shots/$(basename "${f%.xwd}").png"
    echo "screenshot: $shots/$(basename "${f%.xwd}").png"
  done
fi
step "passed"
