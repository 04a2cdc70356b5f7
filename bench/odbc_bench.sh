#!/usr/bin/env bash
# Benchmark of a run into a database server (not a test): the engine's
# release build writes RECORDS records of ten fields into a local PostgreSQL
# through ODBC (scripts/with-postgres.sh starts one of its own) and, for the
# comparison, into the file database. Each figure is the best of
# BENCH_REPEAT runs (default 3), every server run into a new records table.
#
#   bench/odbc_bench.sh [RECORDS]      (default 1000000; about 220 MB of data)
set -euo pipefail
cd "$(dirname "$0")/.."
records=${1:-1000000}
if [ -z "${VELMORA_PG_SOCKET:-}" ]; then exec scripts/with-postgres.sh "$0" "$@"; fi
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
engine=$PWD/build/release/engine/ParseTarn
work=$PWD/build/bench/odbc
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
# Records of about 212 bytes.
python3 bench/make_bench_data.py separator $((records * 212)) "$work/cards" >"$work/count"
made=$(cat "$work/count")
connection="Driver={$VELMORA_ODBC_DRIVER};Servername=$VELMORA_PG_SOCKET;Port=$VELMORA_PG_PORT;Database=postgres;UID=$VELMORA_PG_USER;PWD={$VELMORA_PG_PASSWORD}"

# "seconds peak_kb" of the best run.
best() {
  local k out=""
  for ((k = 0; k < ${BENCH_REPEAT:-3}; k++)); do
    rm -f "$work"/*.mdb
    /usr/bin/time -f "%e %M" -o "$work/time" "${@//TABLE/cards $k $RANDOM}" >/dev/null
    head -n 1 "$work/results" | grep -q "^$made records parsed" || { head -n 1 "$work/results" >&2; exit 1; }
    out=$(printf "%s\n%s\n" "$out" "$(cat "$work/time")" | awk 'NF == 2 && (t == "" || $1 < t) {t = $1; m = $2} END {print t, m}')
  done
  echo "$out"
}
echo "Machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
for target in file server; do
  if [ $target = file ]; then
    read -r s kb < <(best "$engine" -o "$work/results" "$work/cards.dat" "$work/cards.cfg")
  else
    read -r s kb < <(best "$engine" -o "$work/results" --odbc "$connection" --table TABLE "$work/cards.dat" "$work/cards.cfg")
  fi
  awk -v t=$target -v n="$made" -v s="$s" -v kb="$kb" \
    'BEGIN {printf "%-7s %9d records in %6.2f s: %7.0f records/s, peak %4.0f MB\n", t, n, s, n / s, kb / 1024}'
done
