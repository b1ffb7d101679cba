#!/usr/bin/env bash
# Start-up time of every mode of tervano-hra beside a bare Qt window, as one table of ratios (the
# main game both to its load dialog and from the answered dialog to its play screen); the idle
# CPU, wake-ups and peak memory of the main window with the sound off, the cues on and the music
# on; the music's peak memory and the first piece's start in grades I and IV; the first cue's wait
# for the sound device. All under Xvfb.
#
#   bench/startup/run.sh [RUNS]
#
# TERVANO_BUILD_DIR  build folder with the program folder (default: build)
# TERVANO_PROGRAM    a program folder to measure instead of the build's (say, an older build)
# BENCH_COMPARE      more program folders whose music is measured beside it, run by run
# BENCH_MUSIC_RUNS   runs of the music part (default 8)
# BENCH_PARTS        the parts to run, of "startup idle music cue" (default all)
# BENCH_PLATFORM     "offscreen" runs the start-up part on Qt's offscreen platform instead
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  work=$2 bin=$3 runs=$4
  prog=$work/program
  parts=" ${BENCH_PARTS:-startup idle music cue} "
  echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
  # Every mode to its first painted window, and the main game's answered dialog to its play
  # screen, each beside the bare window: one table of ratios.
  if [[ $parts != *" startup "* ]]; then
    :
  elif [ "${BENCH_PLATFORM:-}" = offscreen ]; then
    QT_QPA_PLATFORM=offscreen "$bin/startup_bench" "$runs" "$bin/startup_bare_window" \
      "$prog/tervano-hra" "$prog/Data/kriz/bench.kr1" -SADA
  else
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
  # The main game, its load dialog answered with a saved game (of the program folder in $2, by
  # default the build's). With $watch set, first_sound starts watching that file as the dialog is
  # answered.
  main_game() {
    local p=${2:-$prog} try
    "$p/tervano-hra" >/dev/null 2>&1 &
    pid=$!
    # A window that goes away while xdotool looks at it fails the search: look again.
    for try in 1 2 3; do
      dialog=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name 'hru hry k' |
        head -1) && [ -n "$dialog" ] && break
      sleep 0.5
    done
    xdotool windowfocus --sync "$dialog" || true
    sleep 0.5
    xdotool type --delay 10 "$p/Data/kriz/$1.kr1"
    if [ -n "${watch:-}" ]; then
      "$bin/first_sound" "$watch" 20 >"$work/first_sound" &
      watcher=$!
    fi
    xdotool key Return
    for try in 1 2 3; do
      timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name '^Tervano$' >/dev/null &&
        break
      sleep 0.5
    done
  }
  finish() {
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  }
  bare_window() {
    "$bin/startup_bare_window" &
    pid=$!
    sleep 15
    bare_peak=$(peak "$pid")
    finish
  }

  bare_window
  echo "bare window left open: peak memory $(awk -v p="$bare_peak" 'BEGIN {printf "%.1f MiB", p / 1024}')"

  if [[ $parts == *" idle "* ]]; then
    "$prog/tervano-hra" -SADA >/dev/null 2>&1 &
    pid=$!
    idle "$pid" "set selection"
    finish

    for game in bench:"main, all off" sound:"main, cues on" music:"main, music on"; do
      main_game "${game%%:*}"
      idle "$pid" "${game#*:}"
      finish
    done
  fi

  # The music, run by run for every program folder and grade: the peak memory after 12 s of the
  # piece as the program plays it (ALSA's default device, else the silent driver), beside a bare
  # window measured in the same run; and in a second start the first piece's start, from the
  # answer of the load dialog to the first sounding sample the "disk" driver is given.
  if [[ $parts == *" music "* ]]; then
    music_runs=${BENCH_MUSIC_RUNS:-8}
    for ((r = 1; r <= music_runs; r++)); do
      bare_window
      echo "raw run $r bare peak_kb $bare_peak"
      for p in "$work"/program*; do
        for grade in I IV; do
          main_game "music$grade" "$p"
          sleep 12
          echo "raw run $r ${p##*/} grade $grade peak_kb $(peak "$pid") bare_kb $bare_peak"
          finish
          watch=$work/sound.raw
          rm -f "$watch"
          TERVANO_AUDIO_DRIVER=disk TERVANO_AUDIO_FILE=$watch main_game "music$grade" "$p"
          wait "$watcher" || true
          finish
          unset watch
          echo "raw run $r ${p##*/} grade $grade first_sound_ms $(cat "$work/first_sound")"
        done
      done
    done >"$work/music.raw"
    cat "$work/music.raw"
    echo "load average after the music part: $(cut -d' ' -f1-3 /proc/loadavg)"
    awk '
      function median(list, n,   a, i, j, t) {
        n = split(list, a, " ")
        for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; j--) {
          t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
        return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
      function lo(list,   a, n, i, m) { n = split(list, a, " "); m = a[1]
        for (i = 2; i <= n; i++) if (a[i] + 0 < m + 0) m = a[i]; return m }
      function hi(list,   a, n, i, m) { n = split(list, a, " "); m = a[1]
        for (i = 2; i <= n; i++) if (a[i] + 0 > m + 0) m = a[i]; return m }
      $4 == "bare" { bare = bare " " $6; next }
      $7 == "peak_kb" { k = $4 " " $6; keys[k]; peak[k] = peak[k] " " $8; ratio[k] = ratio[k] " " $8 / $10 }
      $7 == "first_sound_ms" && NF == 8 { k = $4 " " $6; keys[k]; first[k] = first[k] " " $8 }
      END {
        printf "music: bare window peak median %.1f MiB (%.1f-%.1f)\n", median(bare) / 1024, lo(bare) / 1024, hi(bare) / 1024
        printf "%-12s %-5s %24s %22s %30s\n", "program", "grade", "peak MiB median (range)", "x bare median (range)", "first sound ms median (range)"
        rows = "sort -k1,1 -k2,2"
        for (k in keys) {
          split(k, f, " ")
          printf "%-12s %-5s %10.1f (%5.1f-%5.1f) %10.2f (%4.2f-%4.2f) %14.0f (%4.0f-%4.0f)\n", f[1], f[2],
                 median(peak[k]) / 1024, lo(peak[k]) / 1024, hi(peak[k]) / 1024,
                 median(ratio[k]), lo(ratio[k]), hi(ratio[k]), median(first[k]), lo(first[k]), hi(first[k]) | rows
        }
        close(rows)
      }' "$work/music.raw"
  fi

  # The first cue's wait for the sound device, built by that cue or started beforehand.
  if [[ $parts == *" cue "* ]] && [ -x "$bin/first_cue_bench" ]; then
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
  cmake --build "$build" -j"$(nproc)" --target startup_bench startup_bare_window first_sound first_cue_bench >/dev/null
fi
bin=$(cd "$bin" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program folders, each with saved games: in grade I music and cues off, cues on, music on
# (cues off); music on in grade IV's first crossword.
n=0
for source in "${TERVANO_PROGRAM:-$build/program}" ${BENCH_COMPARE:-}; do
  p=$work/program
  [ $n -gt 0 ] && p=$work/program.$n
  n=$((n + 1))
  cp -a "$source" "$p"
  echo "$p: $source"
  set_number=$(sed -n 7p "$p/tervano/Tervano.ini" | tr -d '\r')
  mkdir -p "$p/Data/kriz"
  rm -f "$p/Data/kriz/~automatické uložení.kr1"
  printf '%s\r\n' N 0 1 1 0 0 N N "$set_number" N N N >"$p/Data/kriz/bench.kr1"
  printf '%s\r\n' N 0 1 1 0 0 A N "$set_number" N N N >"$p/Data/kriz/sound.kr1"
  printf '%s\r\n' A 0 1 1 0 0 N N "$set_number" N N N >"$p/Data/kriz/music.kr1"
  cp "$p/Data/kriz/music.kr1" "$p/Data/kriz/musicI.kr1"
  printf '%s\r\n' A 0 4 1 0 0 N N "$set_number" N N N >"$p/Data/kriz/musicIV.kr1"
done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)  cores: $(nproc)"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$work" "$bin" "$runs"
