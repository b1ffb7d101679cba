#!/usr/bin/env bash
# Plays the installed program for scripts/check-install.sh, as the user inside the fresh system
# and inside Xvfb. Screenshots (xwd) and the program's output go to /tmp/shots.
#   first: the load dialog (the delivered new game is chosen) and Enter; an answer typed over the
#          map with Insert; Ctrl+F4 saves the game as "moje hra".
#   again: the load dialog; the saved game typed in and loaded.
set -euo pipefail
phase=$1
shots=/tmp/shots
saves=$HOME/.local/share/tervano/Data/kriz
shot() { xwd -silent -id "$1" -out "$shots/$2.xwd"; }
window() {
  local id
  id=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -1) || true
  [ -n "$id" ] || { echo "$phase: no window named '$1' within 30 s" >&2; exit 1; }
  echo "$id"
}

tervano-hra >"$shots/$phase.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

dialog=$(window 'Načti hru')
sleep 1.5
shot "$dialog" "load-dialog-$phase"
echo "$phase start: the load dialog is open, the user's data in $(dirname "$(dirname "$saves")")"
if [ "$phase" = first ]; then
  xdotool key Return
else
  xdotool type --delay 10 "$saves/moje hra.kr1"
  xdotool key Return
fi
main=$(window '^Tervano$')
sleep 1.5
eval "$(xdotool getwindowgeometry --shell "$main")"
if [ "$phase" = again ]; then
  shot "$main" "loaded-again"
  echo "again: the saved game loaded"
  exit 0
fi

# The answer area's first line: overwrite its start with the first answer.
xdotool mousemove $((X + 30)) $((Y + 243)) click 1
sleep 0.3
xdotool key Home Insert
xdotool type --delay 30 'a b c'
sleep 0.3
shot "$main" "answer-typed-over"
xdotool key ctrl+F4
save=$(window 'Ulož hru')
sleep 1.5
shot "$save" "save-dialog"
xdotool type --delay 10 'moje hra'
xdotool key Return
for _ in $(seq 50); do
  [ -f "$saves/moje hra.kr1" ] && [ -f "$saves/moje hra.kn1" ] && break
  sleep 0.2
done
[ -f "$saves/moje hra.kr1" ] || { echo "first: the game was not saved"; exit 1; }
echo "first: the game is saved as $saves/moje hra.kr1"
