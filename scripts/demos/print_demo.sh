#!/usr/bin/env bash
# Worksheets in the real program under Xvfb: the crossword editor's window "Tisk a export
# křížovek" with a crossword open, the whole set with keys chosen, the print dialog, Qt's print
# preview, and the set saved as PDF, whose first pupil's and key pages are rendered with pdftoppm
# (scripts/demos/print_demo.py); then the window's controls are checked for their names in the
# accessibility tree (scripts/demos/print_a11y.py). Screenshots go to the folder.
#
#   scripts/demos/print_demo.sh OUTPUT_FOLDER
#
# TERVANO_BUILD_DIR  build folder (default: build); built when the program is missing
#
# Both run on fresh copies of the program folder in a temporary folder.
set -euo pipefail
. "$(dirname "$0")/common.sh"

# pdfinfo and pdftoppm read the saved PDF back.
[ "${1:-}" = "--inside" ] || "$(dirname "$0")/../deps.sh" poppler-utils
run_demo "$0" print_demo.py print_a11y.py "print window" "$@"
