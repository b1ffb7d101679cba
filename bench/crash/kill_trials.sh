#!/usr/bin/env bash
# Kills the program with SIGKILL at random moments of each operation that changes several files,
# starts it again, and checks the data: every listed set has a whole folder and every set folder
# is listed or active; each crossword's four files are all old or all new; every crossword list
# matches its folders; no work folder, command script, temporary or journal is left; what both
# ends of the operation have (an active set, a selection file naming it) is there; a crossword or
# script operation leaves the whole tree as it was or as the operation leaves it.
#
#   bench/crash/kill_trials.sh [-n TRIALS] [-b BUILD_DIR] [-w WORK_DIR] [FAMILY ...]
#
# Families: save-existing save-new delete script-save set-switch set-install set-create
# set-rename set-delete (all by default). For each family the operation is first run whole a few
# times to measure how long it takes; in each trial the driver prepares, says "ready" and waits
# for "go", and the kill follows "go" after a delay drawn evenly from 0 to 1.25 times that length,
# so the kills land before, in and after every phase. The recovery is the program's own start in
# the family's mode.
set -u

trials=50
build="$(cd "$(dirname "$0")/../.." && pwd)/build-test"
# On a disk, as the program is used: its flushes make an operation last long enough for the kills
# to spread over its phases. (-w /dev/shm is quicker, and its kills land mostly after the end.)
work_parent="${TMPDIR:-/tmp}"
while getopts "n:b:w:" opt; do
  case "$opt" in
    n) trials="$OPTARG" ;;
    b) build="$OPTARG" ;;
    w) work_parent="$OPTARG" ;;
    *) echo "usage: $0 [-n TRIALS] [-b BUILD_DIR] [-w WORK_DIR] [FAMILY ...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
families=("$@")
[ ${#families[@]} -gt 0 ] || families=(save-existing save-new delete script-save set-switch
                                       set-install set-create set-rename set-delete)

driver="$build/bench/crash/tervano_crash_driver"
[ -x "$driver" ] || { echo "no driver at $driver (build the target tervano_crash_driver)" >&2; exit 2; }

work="$(mktemp -d "$work_parent/tervano-kill.XXXXXX")"
trap 'rm -rf "$work"' EXIT
log="$build/kill_trials.log"
: > "$log"
"$driver" --make "$work/template" "$work/medium" || exit 2

# A pipe nobody writes to: `read -t` on it waits a fraction of a second without starting a process.
mkfifo "$work/never"
exec {never}<>"$work/never"
seconds() {  # microseconds as the seconds that `read -t` takes
  printf '%d.%06d' $(($1 / 1000000)) $(($1 % 1000000))
}
random_below() {  # an evenly drawn whole number from 0 to $1 - 1
  echo $((((RANDOM << 15) | RANDOM) % $1))
}
fresh() {
  rm -rf "$1"
  cp -a "$work/template" "$1"
}

# Ends: old, new or other (a set operation may end in neither, which alone is no fault); what the
# recovery did: undone, finished, only swept temporaries, nothing.
printf '%-14s %6s %8s %5s %5s %5s %7s %8s %6s %5s %12s\n' family trials "op µs" old new other \
  undone finished swept none inconsistent
summary=()
for family in "${families[@]}"; do
  # The two ends, and the operation's length (the middle one of three whole runs).
  fresh "$work/before"
  fresh "$work/after"
  "$driver" --run "$family" "$work/after" "$work/medium" < /dev/null > /dev/null 2>&1
  lengths=()
  for _ in 1 2 3; do
    fresh "$work/measure"
    us=$("$driver" --run "$family" "$work/measure" "$work/medium" < /dev/null 2> /dev/null |
         sed -n 's/^done //p')
    lengths+=("${us:-0}")
  done
  length=$(printf '%s\n' "${lengths[@]}" | sort -n | sed -n 2p)
  span=$((length * 5 / 4 + 1))

  old=0 new=0 other=0 undone=0 finished=0 swept=0 none=0 bad=0
  for ((t = 1; t <= trials; t++)); do
    fresh "$work/trial"
    delay=$(random_below "$span")
    wait_for=$(seconds "$delay")
    # From "ready" to the kill only builtins run: no process is started in between.
    coproc DRIVER { exec "$driver" --run "$family" "$work/trial" "$work/medium" 2> /dev/null; }
    pid=$DRIVER_PID
    IFS= read -r line <&"${DRIVER[0]}"
    if [ "$line" = ready ]; then
      echo go >&"${DRIVER[1]}"
      [ "$delay" -gt 0 ] && read -r -t "$wait_for" -u "$never" _
    fi
    kill -KILL "$pid" 2> /dev/null
    wait "$pid" 2> /dev/null
    recovery=$("$driver" --recover "$family" "$work/trial" 2> /dev/null)
    verdict=$("$driver" --check "$family" "$work/trial" "$work/before" "$work/after")
    status=$?
    case "$recovery" in
      undone) undone=$((undone + 1)) ;;
      finished) finished=$((finished + 1)) ;;
      swept) swept=$((swept + 1)) ;;
      *) none=$((none + 1)) ;;
    esac
    case "$verdict" in
      old*) old=$((old + 1)) ;;
      new*) new=$((new + 1)) ;;
      *) other=$((other + 1)) ;;
    esac
    if [ $status -ne 0 ]; then
      bad=$((bad + 1))
      echo "$family trial $t, killed ${delay} µs after ready, recovery: $recovery: $verdict" >> "$log"
    fi
  done
  printf '%-14s %6d %8d %5d %5d %5d %7d %8d %6d %5d %12d\n' "$family" "$trials" "$length" \
    "$old" "$new" "$other" "$undone" "$finished" "$swept" "$none" "$bad"
  summary+=("$family $trials $bad")
done

echo
echo "Summary: family, trials, inconsistent outcomes"
for row in "${summary[@]}"; do
  # shellcheck disable=SC2086
  printf '  %-14s %6s %6s\n' $row
done
if [ -s "$log" ]; then
  echo "What was inconsistent, trial by trial: $log"
fi
