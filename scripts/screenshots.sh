#!/usr/bin/env bash
# Screenshots of the real program under Xvfb: the play screen, the menu screen with the game
# panel open, the settings panel (and the autosave settings beside it), the credits, the help
# window and the about window, as PNG files in the given folder.
#
#   scripts/screenshots.sh OUTPUT_FOLDER
#
# TERVANO_BUILD_DIR  build folder (default: build); built when the program is missing
# TERVANO_TREE       a data tree copied over the program folder's copy (for a tree of your own)
#
# The program runs on a fresh copy of the program folder in a temporary folder, with a saved game
# of its own, so nothing of the build is changed.
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  work=$2
  out=$3
  prog=$work/program
  shot() { import -window "$1" "$out/$2.png"; echo "  $out/$2.png"; }
  pause() { sleep "${1:-0.4}"; }

  "$prog/tervano-hra" >"$work/program.log" 2>&1 &
  pid=$!
  trap 'kill "$pid" 2>/dev/null || true' EXIT

  # The main application starts with the load-game dialog: type the saved game's path.
  dialog=$(timeout 20 xdotool search --sync --onlyvisible --name 'hru hry k' | head -1)
  xdotool windowfocus --sync "$dialog" || true
  pause 0.5
  xdotool type --delay 10 "$work/program/Data/kriz/screenshot.kr1"
  xdotool key Return

  main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tervano$' | head -1)
  eval "$(xdotool getwindowgeometry --shell "$main")"
  mx=$X
  my=$Y
  at() { xdotool mousemove $((mx + $1)) $((my + $2)); }
  # The example filler of the help window and the gauges need a second.
  at 560 230
  xdotool windowfocus --sync "$main" || true
  pause 1.5
  shot "$main" play

  # F7 shows the menu screen; the pointer over "Hra ..." opens the game panel.
  xdotool key F7
  pause
  at 60 520
  pause
  at 77 521
  pause
  shot "$main" menu-game

  at 450 521
  pause
  at 521 521
  pause
  shot "$main" settings
  # Along the settings panel to "Automatické uložení": its panel opens to the left.
  at 521 440
  pause 0.2
  at 521 488
  pause
  shot "$main" settings-autosave

  # "Pomoc ..." closes the settings and their autosave panel; the band around the title closes
  # the help panel. F3 starts the credits.
  at 225 521
  pause 0.2
  at 300 492
  pause
  xdotool key F3
  pause 1.2
  shot "$main" credits
  at 471 133
  xdotool click 1
  pause

  xdotool key F1
  help=$(timeout 10 xdotool search --sync --onlyvisible --name '^N.+pov.+da$' | head -1)
  pause 0.6
  shot "$help" help
  eval "$(xdotool getwindowgeometry --shell "$help")"
  xdotool mousemove $((X + 514)) $((Y + 473)) click 1
  pause

  at 300 450
  xdotool windowfocus --sync "$main" || true
  xdotool key F2
  about=$(timeout 10 xdotool search --sync --onlyvisible --name '^O aplikaci$' | head -1)
  pause 0.6
  shot "$about" about
  exit 0
fi

out=${1:?usage: scripts/screenshots.sh OUTPUT_FOLDER}
cd "$(dirname "$0")/.."
build=${TERVANO_BUILD_DIR:-build}
scripts/deps.sh xvfb xauth imagemagick xdotool
if [ ! -x "$build/program/tervano-hra" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j"$(nproc)" --target tervano-hra
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -a "$build/program" "$work/program"
if [ -n "${TERVANO_TREE:-}" ]; then cp -a "$TERVANO_TREE/." "$work/program/"; fi
prog=$work/program

# A saved game in grade 2 at crossword 3 (grade 1 at crossword 1 when the set is smaller), with
# the first two answers typed in and the rest of the answer area as the map.
# Paths of the data tree are found without regard to letter case, as the program finds them.
ci() { find "$prog" -ipath "$prog/$1" -print -quit; }
line() { sed -n "$(($2 + 1))p" "$1" | tr -d '\r'; }
set_number=$(line "$(ci tervano/tervano.ini)" 6)
grade=2
number=3
[ -n "$(ci tervano/r2/k3/k.nk)" ] || { grade=1; number=1; }
crossword=$(dirname "$(ci "tervano/r$grade/k$number/k.nk")")
mkdir -p "$prog/Data/kriz"
exported=$(ci "data/kriz/~automatické uložení.kr1")
[ -z "$exported" ] || rm -f "$exported"
printf '%s\r\n' N 140 "$grade" "$number" 23 4 A S "$set_number" N N N >"$prog/Data/kriz/screenshot.kr1"
{
  head -n 2 "$(ci "${crossword#"$prog/"}/k.vk")" | tr -d '\r' | tr '[:upper:]' '[:lower:]' |
    sed 's/$/\r/'
  tail -n +3 "$(ci "${crossword#"$prog/"}/k.mk")"
} >"$prog/Data/kriz/screenshot.kn1"

echo "Screenshots:"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" --inside "$work" "$out"
