#!/usr/bin/env bash
# Benchmark of the suggestion core (not a test): milliseconds of processor
# time to suggest a configuration from 1 MiB of records of each shape it
# knows, and of random bytes, each the best of RUNS runs, in the optimised
# build.
#
#   bench/suggest_bench.sh [RUNS]      (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target suggest_bench >/dev/null
build/release/bench/suggest_bench "$@"
