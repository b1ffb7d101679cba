#!/usr/bin/env bash
# Sets up the machine, builds the program folder and starts the game on the bundled data tree.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERVANO_TESTS=OFF -DTERVANO_BENCH=OFF
cmake --build build -j"$(nproc)" --target tervano-hra
exec build/program/tervano-hra "$@"
