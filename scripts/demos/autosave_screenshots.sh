#!/usr/bin/env bash
# Screenshots of the autosave manager in the real program under Xvfb, both modes started from the
# command line with a log of 20 records: the list in its three display styles, the content of
# one record ("Nahlédnout do obsahu"), the load-only manager with a record selected, its "Načíst"
# and the game started again, offering and loading the exported record. Then the names of the
# manager's controls in the accessibility tree are checked (scripts/demos/autosave_a11y.py).
#
#   scripts/demos/autosave_screenshots.sh OUTPUT_FOLDER
#
# TERVANO_BUILD_DIR  build folder (default: build); built when the program is missing
#
# The program runs on a fresh copy of the program folder in a temporary folder.
set -euo pipefail
. "$(dirname "$0")/common.sh"

if [ "${1:-}" = "--inside" ]; then
  work=$2
  out=$3
  prog=$work/program
  shot() { import -window "$1" "$out/$2.png"; echo "  $out/$2.png"; }
  pause() { sleep "${1:-0.5}"; }

  # One mode, from its start to "Konec".
  run() {
    local mode=$1 title=$2
    "$prog/tervano-hra" "$mode" >>"$work/program.log" 2>&1 &
    pid=$!
    main=$(timeout 20 xdotool search --sync --onlyvisible --name "^$title\$" | head -1)
    eval "$(xdotool getwindowgeometry --shell "$main")"
    mx=$X
    my=$Y
  }
  at() { xdotool mousemove $((mx + $1)) $((my + $2)); }
  click() { at "$1" "$2"; pause 0.2; xdotool click 1; pause; }
  finish() {
    click 521 441  # "Konec"
    wait "$pid" || true
  }

  run -SPAUTOSAVE 'Správce automatického uložení'
  at 300 470
  pause 1
  shot "$main" manager-icons
  click 65 481  # "Seznam"
  shot "$main" manager-list
  click 103 481  # "Podrobnosti"
  shot "$main" manager-details
  click 60 112  # the fourth record
  shot "$main" manager-selected
  click 214 441  # "Nahlédnout do obsahu"
  box=$(timeout 10 xdotool search --sync --onlyvisible --name '^Informace$' | head -1)
  pause
  shot "$box" manager-view
  xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus --sync "$box" || true
  xdotool key Return
  pause
  finish

  run -LOADAUTOSAVE 'Načtení automatického uložení'
  at 300 470
  pause 1
  click 136 50  # the second record in large icons
  shot "$main" load-only
  # "Načíst": the question, the message naming the exported file, the return to the game.
  answer() {
    local w
    w=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -1)
    pause
    [ -z "${2:-}" ] || shot "$w" "$2"
    xdotool windowactivate --sync "$w" 2>/dev/null || xdotool windowfocus --sync "$w" || true
    xdotool key Return
    pause
  }
  click 377 441
  answer 'Potvrzení'
  answer 'Informace' load-exported
  answer 'Varování'
  wait "$pid" || true
  # The game started again offers the exported record and loads it.
  answer 'Potvrzení' main-offers-export
  game=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tervano$' | head -1)
  pause 1.5
  shot "$game" main-loaded-export
  kill "$(xdotool getwindowpid "$game")" 2>/dev/null || true

  echo "Accessibility tree of the manager:"
  a11y_check "$(dirname "$0")/autosave_a11y.py" "$prog"
  exit
fi

out=${1:?usage: scripts/demos/autosave_screenshots.sh OUTPUT_FOLDER}
demo_setup "$out"
cp -a "$build/program" "$work/program"
prog=$work/program

# A log of 20 records written by every kind of trigger, in code page 1250 with CR LF, as the game
# writes it. The log is found without regard to letter case, as the program finds it.
set_number=$(sed -n 7p "$(find "$prog" -ipath "$prog/tervano/tervano.ini" -print -quit)" | tr -d '\r')
log=$(find "$prog" -ipath "$prog/data/kriz/automatické uložení.kra" -print -quit)
[ -n "$log" ] || log="$prog/Data/kriz/automatické uložení.kra"
python3 - "$log" "$set_number" <<'EOF'
import sys
path, set_number = sys.argv[1], sys.argv[2]
triggers = ["kontrole každé křížovky", "začátku ročníku", "provedení zadaného skriptu",
            "zadaném bodu uložení", " "]
lines = ["A", "50", "20", triggers[0]]
for r in range(20):
    grade, number = str(1 + r // 5), str(1 + r % 5)
    state = ["A", str(10 * r), grade, number, str(r), str(r // 3), "A", "S", set_number,
             "N", "N", "N"]
    lines += [" ", "<>", set_number, grade, number, " ", "<data1>", *state, triggers[r % 5], "</>"]
open(path, "wb").write("".join(l + "\r\n" for l in lines).encode("cp1250"))
EOF

echo "Screenshots:"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" --inside "$work" "$out"
