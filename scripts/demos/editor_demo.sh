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

run_demo "$0" editor_demo.py editor_a11y.py "editor" "$@"
