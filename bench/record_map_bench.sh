#!/usr/bin/env bash
# Benchmark of the record map on a real window under Wine (not a test):
# milliseconds from a record's bytes to a painted map, to its last field
# selected and to a page scrolled, for a record of BYTES (default 64 KiB).
#
#   bench/record_map_bench.sh [BYTES]
#
# Builds the windows preset's record_map_bench and runs it on an Xvfb display
# and the build tree's Wine prefix (scripts/with-wine.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows --target record_map_bench >/dev/null
scripts/with-wine.sh wine build/windows/bench/record_map_bench.exe "$@"
