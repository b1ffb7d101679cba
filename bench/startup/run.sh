#!/usr/bin/env bash
# Start-up time of tervano-hra in set selection (-SADA) beside a bare Qt window, and the idle CPU
# of the main window, both under Xvfb.
#
#   bench/startup/run.sh [RUNS]
#
# TERVANO_BUILD_DIR  build folder with the program folder (default: build)
# BENCH_PLATFORM     "offscreen" runs the start-up part on Qt's offscreen platform instead
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  work=$2 bin=$3 runs=$4
  prog=$work/program
  if [ "${BENCH_PLATFORM:-}" = offscreen ]; then
    QT_QPA_PLATFORM=offscreen "$bin/startup_bench" "$runs" "$bin/startup_bare_window" \
      "$prog/tervano-hra" -SADA
  else
    "$bin/startup_bench" "$runs" "$bin/startup_bare_window" "$prog/tervano-hra" -SADA
  fi

  # Idle CPU: the window left alone for 10 s, once in set selection (no timers) and once in the
  # main application with a game loaded (its gauge and Kontrola timers run).
  # CPU time from /proc/<pid>/stat (clock ticks, usually 10 ms) and, finer, the nanoseconds of
  # every thread's schedstat; wake-ups are the voluntary context switches of all threads.
  sample() {
    local pid=$1 ns=0 wakeups=0 t
    read -r -a stat <"/proc/$pid/stat"
    for t in /proc/"$pid"/task/*; do
      read -r run _ <"$t/schedstat"
      ns=$((ns + run))
      wakeups=$((wakeups + $(awk '/^voluntary_ctxt_switches/ {print $2}' "$t/status")))
    done
    echo "$((stat[13] + stat[14])) $ns $wakeups"
  }
  idle() {
    local pid=$1 name=$2
    # Past the start: the sound device closes after 3 s of quiet, its threads end.
    sleep 5
    read -r ticks0 ns0 w0 < <(sample "$pid")
    sleep 10
    read -r ticks1 ns1 w1 < <(sample "$pid")
    awk -v t=$((ticks1 - ticks0)) -v hz="$(getconf CLK_TCK)" -v ns=$((ns1 - ns0)) \
      -v w=$((w1 - w0)) -v n="$name" 'BEGIN {
        printf "idle %-17s stat %d ms, schedstat %.1f ms = %.3f %% of one core over 10 s, %d wake-ups\n",
               n, 1000 * t / hz, ns / 1e6, ns / 1e8, w }'
  }
  "$prog/tervano-hra" -SADA >/dev/null 2>&1 &
  pid=$!
  idle "$pid" "set selection"
  kill "$pid"

  "$prog/tervano-hra" >/dev/null 2>&1 &
  pid=$!
  dialog=$(timeout 20 xdotool search --sync --onlyvisible --name 'hru hry k' | head -1)
  xdotool windowfocus --sync "$dialog" || true
  sleep 0.5
  xdotool type --delay 10 "$prog/Data/kriz/bench.kr1"
  xdotool key Return
  timeout 20 xdotool search --sync --onlyvisible --name '^Tervano$' >/dev/null
  idle "$pid" "main application"
  kill "$pid"
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
  # Not part of this build: build the benchmark on its own.
  bin=$build/bench-startup
  cmake -S bench/startup -B "$bin" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$bin" -j"$(nproc)" >/dev/null
fi
bin=$(cd "$bin" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -a "$build/program" "$work/program"
prog=$work/program
set_number=$(sed -n 7p "$prog/tervano/Tervano.ini" | tr -d '\r')
mkdir -p "$prog/Data/kriz"
rm -f "$prog/Data/kriz/~automatické uložení.kr1"
printf '%s\r\n' N 0 1 1 0 0 N N "$set_number" N N N >"$prog/Data/kriz/bench.kr1"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)  cores: $(nproc)"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$work" "$bin" "$runs"
