#!/usr/bin/env bash
# The crossword editor in the real program under Xvfb: a crossword is written from a word list,
# given its scores, saved through the chooser, loaded back and then played in the game, where
# "Kontrola" accepts its answers (scripts/demos/editor_demo.py); then the editor's accessibility tree is
# checked for the names of its controls (scripts/demos/editor_a11y.py). Screenshots go to the folder.
#
#   scripts/demos/editor_demo.sh OUTPUT_FOLDER
#
# TERVANO_BUILD_DIR  build folder (default: build); built when the program is missing
#
# Both run on fresh copies of the program folder in a temporary folder.
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  work=$2
  out=$3
  here=$(dirname "$0")
  python3 "$here/editor_demo.py" "$work/demo" --shots "$out"
  echo "Accessibility tree of the editor:"
  dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
    sleep 1
    /usr/bin/python3 "$0" "$1"; status=$?
    kill $launcher
    exit $status' "$here/editor_a11y.py" "$work/a11y" 2>/dev/null
  exit
fi

out=${1:?usage: scripts/demos/editor_demo.sh OUTPUT_FOLDER}
cd "$(dirname "$0")/../.."
build=${TERVANO_BUILD_DIR:-build}
scripts/deps.sh xvfb xauth imagemagick xdotool at-spi2-core python3-gi gir1.2-atspi-2.0 dbus
if [ ! -x "$build/program/tervano-hra" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j"$(nproc)" --target tervano-hra
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -a "$build/program" "$work/demo"
cp -a "$build/program" "$work/a11y"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" --inside "$work" "$out"
