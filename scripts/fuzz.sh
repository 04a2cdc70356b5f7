#!/usr/bin/env bash
# Fuzzes every target listed in fuzz/CMakeLists.txt for SECONDS each (default
# 300), each on a scratch copy of its seed corpus fuzz/NAME_corpus, and prints
# how many runs each made. Exits non-zero on a finding, with its log.
#
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null
total=0
for target in $(tr ';' ' ' <build/fuzz/fuzz_targets.txt); do
  corpus=build/fuzz/corpus/$target
  seeds=fuzz/${target%_fuzz}_corpus
  mkdir -p "$corpus"
  if [ -d "$seeds" ]; then cp -n "$seeds"/* "$corpus"/; fi
  log=build/fuzz/$target.log
  if ! "build/fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="build/fuzz/$target-" "$corpus" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "$target: FINDING, see $log and build/fuzz/$target-*"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "$target: ${runs:-0} runs in $seconds s, no finding"
  total=$((total + ${runs:-0}))
done
echo "all fuzz targets: $total runs, no finding"
