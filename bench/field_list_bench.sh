#!/usr/bin/env bash
# Benchmark of the Configure dialog's field list on real windows under Wine
# (not a test): milliseconds from the click until the dialog is idle and
# painted, for "Open Existing..." on configurations of ROWS fields and for
# Append, Insert Above, Change and Delete on the list it filled.
#
#   bench/field_list_bench.sh [ROWS...]      (default 250 500 1000)
#
# Builds the windows preset's field_list_bench and runs it on an Xvfb display
# and the build tree's Wine prefix (scripts/with-wine.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows --target field_list_bench >/dev/null
scripts/with-wine.sh wine build/windows/bench/field_list_bench.exe "$@"
