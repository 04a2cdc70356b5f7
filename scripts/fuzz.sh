#!/usr/bin/env bash
# A longer fuzzing run for developers: scripts/fuzz.sh [seconds] (default 300).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz
corpus=build/fuzz/corpus
mkdir -p "$corpus" && cp -n fuzz/corpus/* "$corpus"/
build/fuzz/fuzz/config_fuzz -max_total_time="${1:-300}" -print_final_stats=1 \
  -artifact_prefix=build/fuzz/ "$corpus"
