#!/usr/bin/env bash
# Crosswords as iPuz in the real program under Xvfb: the crossword editor's window "Tisk a export
# křížovek" saves one crossword and the whole set as iPuz, and "Načíst iPuz ..." of the data
# panel loads a crossword as another program writes it and refuses a sudoku
# (scripts/demos/ipuz_demo.py); then the window's controls are checked for their names in the
# accessibility tree (scripts/demos/print_a11y.py). Screenshots go to the folder.
#
#   scripts/demos/ipuz_demo.sh OUTPUT_FOLDER
#
# TERVANO_BUILD_DIR  build folder (default: build); built when the program is missing
#
# Both run on fresh copies of the program folder in a temporary folder.
set -euo pipefail
. "$(dirname "$0")/common.sh"
run_demo "$0" ipuz_demo.py print_a11y.py "print window" "$@"
