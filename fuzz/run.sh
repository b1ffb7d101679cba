#!/usr/bin/env bash
# Runs one fuzz target of build-fuzz on its own corpus, seeded by fuzz/seeds.sh, with its
# dictionary, in a scratch folder under /dev/shm that is removed afterwards.
#   fuzz/run.sh TARGET [SECONDS] [more libFuzzer options]
set -euo pipefail
cd "$(dirname "$0")/.."
target=$1
seconds=${2:-600}
shift $(($# < 2 ? $# : 2))
binary=build-fuzz/fuzz/$target
[[ -x $binary ]] || { echo "build $target first (see README, Builds)" >&2; exit 1; }

corpus=build-fuzz/corpus/$target
mkdir -p "$corpus"
fuzz/seeds.sh build-fuzz/seeds
[[ -d build-fuzz/seeds/$target ]] && cp -n build-fuzz/seeds/"$target"/* "$corpus"/
options=()
case $target in
  interpreter_fuzz) options=(-dict=fuzz/interpreter.dict) ;;
  text_fuzz) options=(-dict=fuzz/text.dict) ;;
  # Slow targets (a whole program start per input) would take hours to grow the input length
  # past the seeds; their files are small, so allow a full set of them at once.
  crossword_fuzz | savedgame_fuzz) options=(-dict=fuzz/game.dict -max_len=1024 -len_control=0) ;;
  midi_fuzz) options=(-dict=fuzz/midi.dict) ;;
  csv_fuzz) options=(-dict=fuzz/csv.dict) ;;
  kvtml_fuzz) options=(-dict=fuzz/kvtml.dict) ;;
  # A crossword in iPuz is a few hundred bytes to a few kB of JSON, and half the inputs start the
  # editor: as slow as the targets above.
  ipuz_fuzz) options=(-dict=fuzz/ipuz.dict -max_len=4096 -len_control=0) ;;
esac

scratch=$(mktemp -d /dev/shm/tervano-fuzz-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
mkdir -p build-fuzz/findings
TMPDIR=$scratch "$binary" "$corpus" "${options[@]}" -max_total_time="$seconds" \
  -artifact_prefix=build-fuzz/findings/"$target"- -print_final_stats=1 "$@"
