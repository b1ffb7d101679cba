#!/usr/bin/env bash
# Under Xvfb, on a copy of the program folder: Qt's own switches end in the unsupported-switch
# error, and "Načíst hru" reaches the autosave manager through the load dialog's second entry.
#
#   scripts/demos/review.sh PROGRAM_FOLDER OUTPUT_FOLDER
set -euo pipefail
if [ "${1:-}" != --inside ]; then
  src=${1:?usage: review.sh PROGRAM_FOLDER OUTPUT_FOLDER}
  out=${2:?usage: review.sh PROGRAM_FOLDER OUTPUT_FOLDER}
  mkdir -p "$out"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp -a "$src" "$work/program"
  cp "$work/program/Data/kriz/Nová hra.kr1" "$work/program/Data/kriz/demo.kr1"
  xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$work/program" "$(cd "$out" && pwd)"
  exit
fi
P=$2
out=$3
window() { timeout "${2:-10}" xdotool search --sync --onlyvisible --name "$1" | head -1; }
ended() {
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}

for args in "-reverse" "-style Fusion -EDITOR"; do
  # shellcheck disable=SC2086
  "$P/tervano-hra" $args >/dev/null 2>&1 &
  pid=$!
  box=$(window '^Chyba$' 20)
  sleep 0.5
  import -window "$box" "$out/switch$(echo "$args" | tr -d ' ').png"
  xdotool windowfocus --sync "$box" key Return
  if ended "$pid"; then echo "tervano-hra $args: the unsupported-switch error, then the end"; else
    echo "tervano-hra $args: still running"
    kill "$pid"
  fi
done

"$P/tervano-hra" >/dev/null 2>&1 &
pid=$!
dialog=$(window 'hru hry k' 20)
xdotool windowfocus --sync "$dialog"
sleep 0.5
xdotool type --delay 5 "$P/Data/kriz/demo.kr1"
xdotool key Return
main=$(window '^Tervano$' 20)
sleep 1
# Ctrl+F6 ends the game (OK to ending it, Cancel to saving it); Ctrl+F3 is "Načíst hru".
xdotool windowfocus --sync "$main" key ctrl+F6
sleep 0.7
xdotool windowfocus --sync "$(window Potvrzen)" key Return
sleep 0.7
xdotool windowfocus --sync "$(window Potvrzen)" key Escape
sleep 0.7
xdotool windowfocus --sync "$main" key ctrl+F3
dialog=$(window 'hru hry k')
sleep 0.8
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# The second entry of "Files of type", then the log.
xdotool mousemove $((X + 310)) $((Y + 388)) click 1
sleep 0.5
xdotool key Down Return
sleep 0.8
xdotool mousemove $((X + 200)) $((Y + 71)) click 1
sleep 0.3
import -window "$dialog" "$out/load-dialog-log-chosen.png"
xdotool key Return
ended "$pid" && echo "the main game ended"
# The delivered log holds no record yet: the manager says so first.
info=$(window '^Informace$' 20)
if [ -n "$info" ]; then
  sleep 0.5
  import -window "$info" "$out/autosave-manager-empty-log.png"
  xdotool windowfocus --sync "$info" key Return
fi
manager=$(window 'Správce automatického uložení' 20)
if [ -n "$manager" ]; then
  echo "a new instance runs: $(pgrep -a -f "$P/tervano-hra")"
  sleep 1
  import -window "$manager" "$out/autosave-manager-started.png"
fi
pkill -f "$P/tervano-hra" || true
