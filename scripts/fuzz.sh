#!/usr/bin/env bash
# Runs every fuzz target (fuzz/CMakeLists.txt) for a while each:
#   scripts/fuzz.sh [seconds]        (default 300 per target)
# New inputs go to build/fuzz/corpus/NAME/, never into the tracked seeds; a
# crashing input is kept as build/fuzz/NAME-crash-... and the log of each run
# as build/fuzz/NAME.log. Exits non-zero if any target fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz
list=build/fuzz/fuzz_targets.txt
[ -s "$list" ] || { echo "No fuzz targets listed in $list" >&2; exit 1; }
failed=()
while IFS=$'\t' read -r name program seeds; do
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  # libFuzzer writes new inputs into the first folder and only reads the rest.
  if "$program" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build/fuzz/$name-" \
       "$corpus" ${seeds:+"$seeds"} >"build/fuzz/$name.log" 2>&1 </dev/null; then
    echo "$name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "build/fuzz/$name.log" |
                     grep -o '[0-9]*$') runs in ${seconds} s, no fault"
  else
    failed+=("$name")
    echo "$name: FAILED, see build/fuzz/$name.log"
    tail -n 30 "build/fuzz/$name.log"
  fi
done <"$list"
[ ${#failed[@]} -eq 0 ] || { echo "Fuzz targets that failed: ${failed[*]}"; exit 1; }
