#!/usr/bin/env bash
# Start-up time of every mode of tervano-hra beside a bare Qt window, as one table of ratios (the
# main game both to its load dialog and from the answered dialog to its play screen); the idle
# CPU, wake-ups and peak memory of the main window with the sound off, the cues on and the music
# on; the first cue's wait for the sound device. All under Xvfb.
#
#   bench/startup/run.sh [RUNS]
#
# TERVANO_BUILD_DIR  build folder with the program folder (default: build)
# TERVANO_PROGRAM    a program folder to measure instead of the build's (say, an older build)
# BENCH_PLATFORM     "offscreen" runs the start-up part on Qt's offscreen platform instead
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  work=$2 bin=$3 runs=$4
  prog=$work/program
  # Every mode to its first painted window, and the main game's answered dialog to its play
  # screen, each beside the bare window: one table of ratios.
  if [ "${BENCH_PLATFORM:-}" = offscreen ]; then
    QT_QPA_PLATFORM=offscreen "$bin/startup_bench" "$runs" "$bin/startup_bare_window" \
      "$prog/tervano-hra" "$prog/Data/kriz/bench.kr1" -SADA
  else
    echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
    "$bin/startup_bench" "$runs" "$bin/startup_bare_window" "$prog/tervano-hra" \
      "$prog/Data/kriz/bench.kr1"
  fi

  # Idle CPU: the window left alone for 10 s, once in set selection (no timers) and in the main
  # application with a game loaded (its gauge and Kontrola timers run): with cues and music off,
  # with the cues on (the sound device opens at the first paint and closes after 3 s of quiet),
  # and with the music on. CPU time from /proc/<pid>/stat (clock ticks, usually 10 ms) and, finer,
  # the nanoseconds of every thread's schedstat; wake-ups are the voluntary context switches of
  # all threads, the busiest threads named. Peak memory is VmHWM, beside that of a bare window
  # left open as long.
  # One pass over the threads with shell builtins only, so that every thread is read at nearly
  # the same moment: "tid comm voluntary-switches run-ns" lines.
  threads() {
    local t comm key value run _
    for t in /proc/"$1"/task/*; do
      read -r comm <"$t/comm" 2>/dev/null || continue
      read -r run _ <"$t/schedstat" 2>/dev/null || continue
      while read -r key value _; do
        [ "$key" = voluntary_ctxt_switches: ] && break
      done <"$t/status"
      echo "${t##*/} ${comm// /_} $value $run"
    done
  }
  peak() { awk '/^VmHWM/ {print $2}' "/proc/$1/status"; }
  idle() {
    local pid=$1 name=$2 up0 up1
    # Past the start: the sound device closes after 3 s of quiet, its threads end.
    sleep 5
    read -r -a stat0 <"/proc/$pid/stat"
    read -r up0 _ </proc/uptime
    threads "$pid" >"$work/threads.0"
    sleep 10
    read -r -a stat1 <"/proc/$pid/stat"
    read -r up1 _ </proc/uptime
    threads "$pid" >"$work/threads.1"
    awk -v t=$((stat1[13] + stat1[14] - stat0[13] - stat0[14])) -v hz="$(getconf CLK_TCK)" \
      -v s="$(awk -v a="$up0" -v b="$up1" 'BEGIN {print b - a}')" -v n="$name" '
      FNR == NR { w0[$1] = $3; ns0[$1] = $4; next }
      { w += $3 - w0[$1]; ns += $4 - ns0[$1]
        if ($3 > w0[$1]) line[$1] = sprintf("    thread %-16s %6.1f/s", $2, ($3 - w0[$1]) / s) }
      END {
        printf "idle %-17s stat %d ms, schedstat %.1f ms = %.3f %% of one core over %.1f s, %.1f wake-ups/s\n",
               n, 1000 * t / hz, ns / 1e6, ns / 1e7 / s, s, w / s
        fflush()
        for (k in line) print line[k] | "sort -k3 -nr"
        close("sort -k3 -nr") }' "$work/threads.0" "$work/threads.1"
    echo "    peak memory $(peak "$pid" | awk -v b="$bare_peak" '{printf "%.1f MiB = %.2f x the bare window", $1 / 1024, $1 / b}')"
  }
  # The main game, its load dialog answered with a saved game.
  main_game() {
    "$prog/tervano-hra" >/dev/null 2>&1 &
    pid=$!
    dialog=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name 'hru hry k' | head -1)
    xdotool windowfocus --sync "$dialog" || true
    sleep 0.5
    xdotool type --delay 10 "$1"
    xdotool key Return
    timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name '^Tervano$' >/dev/null
  }
  finish() {
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  }

  "$bin/startup_bare_window" &
  pid=$!
  sleep 15
  bare_peak=$(peak "$pid")
  finish
  echo "bare window left open: peak memory $(awk -v p="$bare_peak" 'BEGIN {printf "%.1f MiB", p / 1024}')"

  "$prog/tervano-hra" -SADA >/dev/null 2>&1 &
  pid=$!
  idle "$pid" "set selection"
  finish

  for game in bench:"main, all off" sound:"main, cues on" music:"main, music on"; do
    main_game "$prog/Data/kriz/${game%%:*}.kr1"
    idle "$pid" "${game#*:}"
    finish
  done

  # The first cue's wait for the sound device, built by that cue or started beforehand.
  if [ -x "$bin/first_cue_bench" ]; then
    "$bin/first_cue_bench" "$prog/tervano/hdb/hlasen.wav" "$runs" 2>/dev/null
  fi
  exit 0
fi

cd "$(dirname "$0")/../.."
build=${TERVANO_BUILD_DIR:-build}
runs=${1:-30}
scripts/deps.sh xvfb xauth xdotool
if [ ! -x "$build/program/tervano-hra" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j"$(nproc)" --target tervano-hra
fi
bin=$build/bench/startup
if [ ! -x "$bin/startup_bench" ]; then
  # Not part of this build yet: it lists the modes from the program's own library.
  cmake -S . -B "$build" -DTERVANO_BENCH=ON >/dev/null
  cmake --build "$build" -j"$(nproc)" --target startup_bench startup_bare_window >/dev/null
fi
bin=$(cd "$bin" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -a "${TERVANO_PROGRAM:-$build/program}" "$work/program"
prog=$work/program
set_number=$(sed -n 7p "$prog/tervano/Tervano.ini" | tr -d '\r')
mkdir -p "$prog/Data/kriz"
rm -f "$prog/Data/kriz/~automatické uložení.kr1"
# Saved games in grade I: music and cues off, cues on, music on (cues off).
printf '%s\r\n' N 0 1 1 0 0 N N "$set_number" N N N >"$prog/Data/kriz/bench.kr1"
printf '%s\r\n' N 0 1 1 0 0 A N "$set_number" N N N >"$prog/Data/kriz/sound.kr1"
printf '%s\r\n' A 0 1 1 0 0 N N "$set_number" N N N >"$prog/Data/kriz/music.kr1"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)  cores: $(nproc)"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$work" "$bin" "$runs"
