#!/usr/bin/env bash
# Under an X server (DISPLAY): installs the German set into a copy of the program folder through
# the real "Instalovat" dialog, switches to it, and plays its first crossword.
#   scripts/demos/set_install_demo.sh PROGRAM_FOLDER MEDIUM_FOLDER OUT
set -euo pipefail
prog=$1; medium=$2; out=$3
src=$(cd "$(dirname "$0")" && pwd)
. "$src/set_demo_steps.sh"

"$prog/tervano-hra" -SADA >"$out/install-run1.log" 2>&1 &
pid=$!
main=$(panel)
eval "$(xdotool getwindowgeometry --shell "$main")"; mx=$X; my=$Y
pause 1.5
shot "$main" 14-1-panel-before
start=$(date +%s.%N)
click 375 322                             # "Instalovat"
dialog=$(box '^Instalace sady$')
pause 0.8
shot "$dialog" 14-2-install-dialog
xdotool windowfocus --sync "$dialog" || true
xdotool type --delay 40 "$medium/Tervano.ini"; pause 0.5; shot "$dialog" 14-2b-install-dialog-typed
xdotool key Return
info=$(box '^Informace$')
end=$(date +%s.%N)
pause 0.3
shot "$info" 14-3-installed-box
echo "dialog accepted to success box: $(echo "$end - $start" | bc) s (includes typing the path)"
xdotool windowfocus --sync "$info" || true; xdotool key Return; pause 0.5
info=$(box '^Informace$'); xdotool windowfocus --sync "$info" || true; xdotool key Return
wait $pid || true
echo "sady.ini: $(tr -d '\r' <"$prog/sady.ini" | tr '\n' ' ')"

"$prog/tervano-hra" -SADA >"$out/install-run2.log" 2>&1 &
pid=$!
main=$(panel)
eval "$(xdotool getwindowgeometry --shell "$main")"; mx=$X; my=$Y
pause 1.5
click 438 213                             # the set box's arrow
pause 0.6
shot "$main" 14-4-set-list-open
xdotool key Down Down Return              # tervano20, tervano21
info=$(box '^Informace$'); pause 0.3
shot "$info" 14-5-switched-box
xdotool windowfocus --sync "$info" || true; xdotool key Return; pause 0.8
shot "$main" 14-6-panel-german-active
click 299 250                             # "Potvrdit"
wait $pid || true

mkdir -p "$out/14-play"
for try in 1 2 3; do
  python3 "$src/play_set.py" "$prog" --shots "$out/14-play" --crosswords 1 && break
done
