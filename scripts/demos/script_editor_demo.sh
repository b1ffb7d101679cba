#!/usr/bin/env bash
# The script editor in the real program under Xvfb: an event script is written, saved and then run
# by the real game at its event (scripts/demos/script_editor_demo.py); then the script editor's
# accessibility tree is checked for the names of its controls (scripts/demos/script_a11y.py).
# Screenshots go to the folder.
#
#   scripts/demos/script_editor_demo.sh OUTPUT_FOLDER
#
# TERVANO_BUILD_DIR  build folder (default: build); built when the program is missing
#
# Both run on fresh copies of the program folder in a temporary folder.
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  work=$2
  out=$3
  here=$(dirname "$0")
  python3 "$here/script_editor_demo.py" "$work/demo" --shots "$out"
  echo "Accessibility tree of the script editor:"
  dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
    sleep 1
    /usr/bin/python3 "$0" "$1"; status=$?
    kill $launcher
    exit $status' "$here/script_a11y.py" "$work/a11y" 2>/dev/null
  exit
fi

out=${1:?usage: scripts/demos/script_editor_demo.sh OUTPUT_FOLDER}
cd "$(dirname "$0")/../.."
build=${TERVANO_BUILD_DIR:-build}
scripts/deps.sh xvfb xauth imagemagick xdotool at-spi2-core python3-gi gir1.2-atspi-2.0 dbus
if [ ! -x "$build/program/tervano-hra" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j2 --target tervano-hra
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -a "$build/program" "$work/demo"
cp -a "$build/program" "$work/a11y"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" --inside "$work" "$out"
