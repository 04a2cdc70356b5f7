#!/usr/bin/env bash
# Benchmark of the Results (not a test) on a database of RECORDS records of
# ten fields, written by the engine's own run: natively, opening it and the
# CSV export's speed (bench/results_export_bench.cpp); under Wine, the Results
# dialog's first rows after Enter, its last rows after End, and the program's
# peak memory (bench/results_bench.cpp).
#
#   bench/results_bench.sh [RECORDS]      (default 2000000; about 400 MB of disk)
#
# The database is kept in $BENCH_DIR (default build/bench/results) for the
# next run; delete it to make it anew.
set -euo pipefail
cd "$(dirname "$0")/.."
records=${1:-2000000}
work=${BENCH_DIR:-build/bench/results}
mkdir -p "$work"
database="$(cd "$work" && pwd)/results_$records.mdb"

cmake --preset release >/dev/null
cmake --build --preset release --target results_export_bench >/dev/null
build/release/bench/results_export_bench "$database" "$records"

cmake --preset windows >/dev/null
cmake --build --preset windows --target results_bench >/dev/null
scripts/with-wine.sh wine build/windows/bench/results_bench.exe "Z:${database//\//\\}"
