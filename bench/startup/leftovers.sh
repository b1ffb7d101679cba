#!/usr/bin/env bash
# Processes left behind by tervano-hra and the audio tests when started where no D-Bus session
# bus exists (a test runner, a plain X session): libdbus would then autolaunch a bus through
# dbus-launch, and that daemon outlives the program. Counts the dbus-daemon and dbus-launch
# processes before and after each run and names the new ones (and ends them: this script started
# them).
#
#   bench/startup/leftovers.sh
#
# TERVANO_BUILD_DIR   build folder (default: build)
# TERVANO_PROGRAM     a program folder to run instead of the build's
# TERVANO_DBUS_LAUNCH a folder holding dbus-launch (say, unpacked from Debian's dbus-x11 with
#                     `apt-get download dbus-x11 && dpkg-deb -x dbus-x11_*.deb DIR`, then
#                     DIR/usr/bin): laid over /usr/bin in a private mount namespace (needs root),
#                     for machines without dbus-x11, where an autolaunch fails and proves nothing
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  prog=$2 tests=$3
  main_game() {
    "$prog/tervano-hra" >/dev/null 2>&1 &
    local pid=$!
    local dialog
    dialog=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name 'hru hry k' | head -1)
    xdotool windowfocus --sync "$dialog" || true
    sleep 0.5
    xdotool type --delay 10 "$1"
    xdotool key Return
    timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name '^Tervano$' >/dev/null
    sleep 4  # the music plays
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  }
  echo "  main game with music"
  main_game "$prog/Data/kriz/music.kr1"
  echo "  set selection (-SADA), closed by the program itself"
  TERVANO_REPORT_FIRST_PAINT=1 timeout 30 "$prog/tervano-hra" -SADA >/dev/null 2>&1 || true
  if [ -x "$tests/sound_tests" ]; then
    echo "  sound tests"
    "$tests/sound_tests" --gtest_brief=1 >/dev/null 2>&1 || echo "  (the tests failed)"
  fi
  exit 0
fi

if [ "${1:-}" = "--namespace" ]; then
  mount -t overlay overlay -o "lowerdir=$TERVANO_DBUS_LAUNCH:/usr/bin" /usr/bin
  shift
  exec "$@"
fi

cd "$(dirname "$0")/../.."
build=${TERVANO_BUILD_DIR:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -a "${TERVANO_PROGRAM:-$build/program}" "$work/program"
prog=$work/program
set_number=$(sed -n 7p "$prog/tervano/Tervano.ini" | tr -d '\r')
mkdir -p "$prog/Data/kriz"
rm -f "$prog/Data/kriz/~automatické uložení.kr1"
printf '%s\r\n' A 0 1 1 0 0 A N "$set_number" N N N >"$prog/Data/kriz/music.kr1"

daemons() { { pgrep -x dbus-daemon; pgrep -x dbus-launch; } | sort -n || true; }
before=$(daemons)
echo "dbus-daemon/dbus-launch processes before: $(echo -n "$before" | grep -c . || true)"

run=(env -u DBUS_SESSION_BUS_ADDRESS -u XDG_RUNTIME_DIR xvfb-run -a -s "-screen 0 1024x768x24"
     bash "$0" --inside "$prog" "$build/tests/sound")
if [ -n "${TERVANO_DBUS_LAUNCH:-}" ]; then
  unshare -m --propagation private bash "$0" --namespace "${run[@]}"
else
  command -v dbus-launch >/dev/null ||
    echo "note: no dbus-launch here, so an autolaunch cannot succeed (see TERVANO_DBUS_LAUNCH)"
  "${run[@]}"
fi
sleep 1

after=$(daemons)
new=$(comm -13 <(echo "$before") <(echo "$after") | grep . || true)
echo "dbus-daemon/dbus-launch processes after:  $(echo -n "$after" | grep -c . || true)"
if [ -n "$new" ]; then
  echo "left behind:"
  for p in $new; do
    if [ -r "/proc/$p/cmdline" ]; then
      echo "  $p $(tr '\0' ' ' <"/proc/$p/cmdline")"
    else
      echo "  $p (ended meanwhile)"
    fi
  done
  # Started by this run: end them, one by one.
  for p in $new; do kill "$p" 2>/dev/null || true; done
  exit 1
fi
echo "nothing left behind"
