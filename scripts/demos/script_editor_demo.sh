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

run_demo "$0" script_editor_demo.py script_a11y.py "script editor" "$@"
