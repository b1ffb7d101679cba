#!/usr/bin/env bash
# Under an X server (DISPLAY), on a copy of the program folder: creates set 35 from the template,
# switches to it, renames it to 40, writes one crossword for it in the editor and plays it
# (scripts/demos/editor_demo.py), switches away, switches
# back and deletes it (first keeping its sounds by answering "n" to the first of the deletion
# script's questions, then wholly), and makes set 20 active again. A screenshot of the set panel
# at each step.
#   scripts/demos/set_create_demo.sh PROGRAM_FOLDER OUT
set -euo pipefail
prog=$1; out=$2
src=$(cd "$(dirname "$0")" && pwd)
. "$src/set_demo_steps.sh"
answer() { local b; b=$(box "$1"); pause 0.3; [ -n "${2:-}" ] && shot "$b" "$2"; xdotool windowfocus --sync "$b" || true; xdotool key Return; pause 0.6; }
run() {
  "$prog/tervano-hra" -SADA >>"$out/create-run.log" 2>&1 &
  pid=$!
  main=$(panel)
  eval "$(xdotool getwindowgeometry --shell "$main")"; mx=$X; my=$Y
  pause 1.5
}
choose() {  # $1: how many entries down from the top of the list
  click 438 213; pause 0.6
  xdotool key Home
  for ((i = 0; i < $1; i++)); do xdotool key Down; done
  xdotool key Return
}
number() { click 374 348; xdotool key ctrl+a; xdotool type "$1"; xdotool key Tab; pause 0.3; }
# The deletion script's questions, answered as in a console: a letter and Enter each. Six for a
# whole set, fewer when folders are missing already; the answers are taken in order, the last
# one for any further question.
console() {  # $1: the answers ("naaaaa"), $2: the screenshot prefix
  local b i=0
  while b=$(timeout 4 xdotool search --sync --onlyvisible --name '^Příkazový skript$' | head -1) &&
    [ -n "$b" ]; do
    pause 0.3
    xdotool windowfocus --sync "$b" || true
    local a=${1:i:1}; xdotool type "${a:-${1: -1}}"; pause 0.2
    [ "$i" = 0 ] && shot "$b" "$2-$((i + 1))"
    xdotool key Return; pause 0.6
    i=$((i + 1))
  done
  echo "  $i questions answered"
}
list() { echo "  sady.ini: $(tr -d '\r' <"$prog/sady.ini" | tr '\n' ' ')"; }

echo "1. create set 35"
run
shot "$main" 15-01-panel
click 223 288; pause 0.4                  # "Založit novou"
number 35
shot "$main" 15-02-create-subpanel
t0=$(date +%s.%N)
click 299 378                             # "Potvrdit" of the sub-panel
pause 0.3; shot "$main" 15-03-create-running
answer '^Informace$' 15-04-created-box
echo "  launch to completion box: $(echo "$(date +%s.%N) - $t0" | bc) s"
wait $pid || true; list

echo "2. switch to it and rename it to 40"
run
choose 1
answer '^Informace$'
shot "$main" 15-05-switched-to-35
click 375 288; pause 0.4                  # "Přejmenovat"
number 40
shot "$main" 15-06-rename-subpanel
click 299 378
answer '^Varování$' 15-07-rename-warning
shot "$main" 15-08-renamed-to-40
click 299 250; wait $pid || true; list   # "Potvrdit"

echo "3. one crossword for it, written in the editor and played in the game"
mkdir -p "$out/15-editor"
python3 "$src/editor_demo.py" "$prog" --shots "$out/15-editor"

echo "4. switch away, back, and delete it"
run
choose 0
answer '^Informace$'
shot "$main" 15-09-switched-away-to-20
choose 1
answer '^Informace$'
shot "$main" 15-10-back-on-40
click 223 322; pause 0.4                  # "Smazat/odinstalovat", keeping the sounds
answer '^Varování$'
answer '^Varování$'
answer '^Informace$'
console naaaaa 15-11-console-question
answer '^Informace$' 15-12-kept-folders
shot "$main" 15-13-set-kept
echo "  kept: $(ls "$prog/tervano" | tr '\n' ' ')"
click 223 322; pause 0.4                  # "Smazat/odinstalovat", wholly
answer '^Varování$' 15-14-delete-question-1
answer '^Varování$' 15-15-delete-question-2
answer '^Informace$' 15-16-delete-message
console aaaaaa 15-17-console-question
pause 0.5
shot "$main" 15-18-deleted
choose 0
answer '^Informace$'
shot "$main" 15-19-set-20-active-again
click 299 250; wait $pid || true; list
echo "  program folder: $(ls "$prog" | tr '\n' ' ')"
