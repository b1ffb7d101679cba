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
. "$(dirname "$0")/common.sh"

if [ "${1:-}" = "--inside" ]; then
  work=$2
  out=$3
  here=$(dirname "$0")
  python3 "$here/script_editor_demo.py" "$work/demo" --shots "$out"
  echo "Accessibility tree of the script editor:"
  a11y_check "$(dirname "$0")/script_a11y.py" "$work/a11y"
  exit
fi

out=${1:?usage: scripts/demos/script_editor_demo.sh OUTPUT_FOLDER}
demo_setup "$out"
cp -a "$build/program" "$work/demo"
cp -a "$build/program" "$work/a11y"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" --inside "$work" "$out"
