#!/usr/bin/env bash
# Benchmark of a run into a database server (not a test): the engine's
# release build writes RECORDS records of ten fields into a local PostgreSQL
# through ODBC (scripts/with-postgres.sh starts one of its own) and, for the
# comparison, into the file database; then, when the windows preset is
# built, ParseTarn.exe does the same under Wine. Each figure is the best of
# BENCH_REPEAT runs (default 3), every server run into a new records table.
#
#   bench/odbc_bench.sh [RECORDS] [FORM]
#
# RECORDS defaults to 1000000; FORM is separator (about 212 bytes a record,
# the default) or short (ten 10-byte values, 111 bytes a record).
# BENCH_EARLIER=DIR also measures the engine of another checkout (its release
# and, for Wine, windows presets built there) after this one's, so that an
# earlier engine's share and today's come from the same run; its runs go into
# a schema of their own, since today's engine adds columns to the run table.
set -euo pipefail
cd "$(dirname "$0")/.."
records=${1:-1000000}
form=${2:-separator}
if [ -z "${VELMORA_PG_SOCKET:-}" ]; then exec scripts/with-postgres.sh "$0" "$@"; fi
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
engine=$PWD/build/release/engine/ParseTarn
exe=$PWD/build/windows/engine/ParseTarn.exe
work=$PWD/build/bench/odbc
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
bytes=212
[ "$form" = short ] && bytes=111
python3 bench/make_bench_data.py "$form" $((records * bytes)) "$work/cards" >"$work/count"
made=$(cat "$work/count")
sync
connection="Driver={$VELMORA_ODBC_DRIVER};Servername=$VELMORA_PG_SOCKET;Port=$VELMORA_PG_PORT;Database=postgres;UID=$VELMORA_PG_USER;PWD={$VELMORA_PG_PASSWORD}"

# Each run starts with nothing of the one before left to reach the disk:
# its records table dropped (unwritten pages of a dropped table never are)
# and the rest written out, so that one run's writes do not slow the next.
settle() {
  PGPASSWORD=$VELMORA_PG_PASSWORD psql -q -h "$VELMORA_PG_SOCKET" -p "$VELMORA_PG_PORT" -U "$VELMORA_PG_USER" \
    -d postgres -c "DROP TABLE IF EXISTS \"$1\"" -c "DROP TABLE IF EXISTS earlier.\"$1\"" >/dev/null 2>&1
  rm -f "$work"/*.mdb
  sync
}
# "seconds peak_kb" of the best run.
best() {
  local k out="" table
  for ((k = 0; k < ${BENCH_REPEAT:-3}; k++)); do
    table="cards $k $RANDOM"
    /usr/bin/time -f "%e %M" -o "$work/time" "${@//TABLE/$table}" >/dev/null 2>&1
    head -n 1 "$work/results" | grep -q "^$made records parsed" || { head -n 1 "$work/results" >&2; exit 1; }
    out=$(printf "%s\n%s\n" "$out" "$(cat "$work/time")" | awk 'NF == 2 && (t == "" || $1 < t) {t = $1; m = $2} END {print t, m}')
    settle "$table"
  done
  echo "$out"
}
# Both targets with one engine, given as the command before its arguments;
# `path` names a file as that engine sees it.
measure() {
  local name=$1 path=$2 file="" s kb target
  shift 2
  local data cfg results
  data=$($path "$work/cards.dat") cfg=$($path "$work/cards.cfg") results=$($path "$work/results")
  for target in file server; do
    if [ $target = file ]; then
      read -r s kb < <(best "$@" -o "$results" "$data" "$cfg")
      file=$s
    else
      read -r s kb < <(best "$@" -o "$results" --odbc "$connection$settings" --table TABLE "$data" "$cfg")
    fi
    awk -v e="$name" -v t=$target -v n="$made" -v s="$s" -v kb="$kb" -v f="$file" \
      'BEGIN {printf "%-13s %-7s %9d records in %6.2f s: %8.0f records/s, peak %4.0f MB, %.3f of the file database\n", e, t, n, s, n / s, kb / 1024, f / s}'
  done
}
as_is() { echo "$1"; }
as_wine() { echo "Z:$1" | tr / '\\'; }

echo "Machine: $(nproc) CPUs, load $(cut -d' ' -f1-3 /proc/loadavg), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
earlier=${BENCH_EARLIER:-} settings=""
apart=";ConnSettings={CREATE SCHEMA IF NOT EXISTS earlier; SET search_path TO earlier}"
measure ParseTarn as_is "$engine"
if [ -n "$earlier" ]; then settings=$apart measure earlier as_is "$earlier/build/release/engine/ParseTarn"; fi
[ -x "$exe" ] || exit 0
export WINEPREFIX="${WINEPREFIX:-$PWD/build/windows/.wine}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scripts/wine-prefix.sh
wineserver -p 2>/dev/null || true  # one may be running already
wine wineboot >/dev/null 2>&1
measure ParseTarn.exe as_wine wine "$exe"
if [ -n "$earlier" ]; then settings=$apart measure earlier.exe as_wine wine "$earlier/build/windows/engine/ParseTarn.exe"; fi
wineserver -k 2>/dev/null || true
