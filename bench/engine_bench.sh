#!/usr/bin/env bash
# Benchmark of the parser engine (not a test): for a data file of fixed-length
# records and one of separator-ended records, ten fields each, it reports side
# by side the engine's time and peak memory, the sqlite3 shell's .import of
# the same fields pre-cut as CSV, and cat of the data file (the read limit).
#
#   bench/engine_bench.sh [SIZE_MB]      (default 1024; try 50 first)
#
# Work files go to $BENCH_DIR (default build/bench/work) and are removed at
# the end. Needs about 4.5 x SIZE of free disk.
set -euo pipefail
cd "$(dirname "$0")/.."
size_mb=${1:-1024}
work=${BENCH_DIR:-build/bench/work}
gnutime=/usr/bin/time
command -v sqlite3 >/dev/null || { echo "sqlite3 is needed"; exit 1; }
[ -x "$gnutime" ] || { echo "GNU time (/usr/bin/time) is needed"; exit 1; }

# The release build (the test builds carry sanitizers).
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
engine=build/release/engine/ParseTarn

mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

# "seconds peak_kb" of a command, its output discarded.
measure() {
  "$gnutime" -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  cat "$work/time.txt"
}

echo "Machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(free -h | awk '/^Mem:/ {print $2}') memory"
printf "%-10s %8s %9s | %-28s | %-28s | %-18s\n" form records "data MB" "engine s (MB/s), peak MB" \
  "sqlite3 .import s, peak MB" "cat s (MB/s)"
for form in fixed separator; do
  prefix="$work/$form"
  records=$(python3 bench/make_bench_data.py "$form" $((size_mb * 1024 * 1024)) "$prefix")
  bytes=$(stat -c %s "$prefix.dat")
  mb=$(awk -v b="$bytes" 'BEGIN {printf "%.0f", b / 1048576}')

  read -r cat_s _ < <(measure cat "$prefix.dat")
  read -r engine_s engine_kb < <(measure "$engine" -o "$prefix.results" "$prefix.dat" "$prefix.cfg")
  head -n 1 "$prefix.results" | grep -q "^$records records parsed" ||
    { echo "engine: unexpected results: $(head -n 1 "$prefix.results")"; exit 1; }
  read -r import_s import_kb < <(measure sqlite3 "$prefix.import.db" ".mode csv" ".import $prefix.csv records")
  rm -f "$prefix.mdb" "$prefix.import.db"

  rate() { awk -v m="$mb" -v s="$1" 'BEGIN {printf "%.0f", (s > 0 ? m / s : 0)}'; }
  printf "%-10s %8s %9s | %6.2f (%4s), %5.1f          | %6.2f, %5.1f                | %5.2f (%5s)\n" \
    "$form" "$records" "$mb" "$engine_s" "$(rate "$engine_s")" "$(awk -v k="$engine_kb" 'BEGIN {print k / 1024}')" \
    "$import_s" "$(awk -v k="$import_kb" 'BEGIN {print k / 1024}')" "$cat_s" "$(rate "$cat_s")"
  rm -f "$prefix".*
done
