#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
# The worksheet tests read their PDFs back with poppler-utils (pdfinfo, pdftotext, pdftoppm).
scripts/deps.sh poppler-utils
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERVANO_TESTS=ON -DTERVANO_BENCH=ON \
  -DTERVANO_WERROR=ON
cmake --build build-test -j"$(nproc)"
cd build-test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
