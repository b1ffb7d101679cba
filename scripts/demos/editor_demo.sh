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
. "$(dirname "$0")/common.sh"

if [ "${1:-}" = "--inside" ]; then
  work=$2
  out=$3
  here=$(dirname "$0")
  python3 "$here/editor_demo.py" "$work/demo" --shots "$out"
  echo "Accessibility tree of the editor:"
  a11y_check "$(dirname "$0")/editor_a11y.py" "$work/a11y"
  exit
fi

out=${1:?usage: scripts/demos/editor_demo.sh OUTPUT_FOLDER}
demo_setup "$out"
cp -a "$build/program" "$work/demo"
cp -a "$build/program" "$work/a11y"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" --inside "$work" "$out"
