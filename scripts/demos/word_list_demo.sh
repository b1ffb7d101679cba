#!/usr/bin/env bash
# The word-list window in the real program under Xvfb: a KDE vocabulary file (KVTML, three
# languages) is loaded through "Načíst ze souboru ...", its questions and report answered, the
# crossword built from it, saved, played in the game and checked by "Kontrola"
# (scripts/demos/word_list_demo.py); then the editor's accessibility tree is checked
# (scripts/demos/editor_a11y.py). Screenshots go to the folder.
#
#   scripts/demos/word_list_demo.sh OUTPUT_FOLDER
#
# TERVANO_BUILD_DIR  build folder (default: build); built when the program is missing
#
# Both run on fresh copies of the program folder in a temporary folder.
set -euo pipefail
. "$(dirname "$0")/common.sh"

run_demo "$0" word_list_demo.py editor_a11y.py "editor" "$@"
