#!/usr/bin/env bash
# Benchmark of the parser engine (not a test): for a data file of fixed-length
# records and one of separator-ended records, ten fields each, it reports side
# by side the engine's time and peak memory; the floors under it, each SQLite
# taking the same rows into the engine's table (bench/sqlite_floor.cpp): from
# memory through the engine's own writer, from memory through plain SQLite
# 64 rows a statement (and the same with its file flushed to the disk at the
# end, as the engine's is), and SQLite copying its own table across ATTACH
# (its own limit); the engine's time over the 64-row floor's; the sqlite3 shell's
# .import of the same fields pre-cut as CSV; and cat of the data file (the
# read limit). Then crafted records as a hostile file holds them, each alone
# in its file: time and peak memory.
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

# The release build (the test builds carry sanitizers), and the floor's
# program beside the engine.
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
cmake --build --preset release --target sqlite_floor >/dev/null
engine=build/release/engine/ParseTarn
floor=build/release/bench/sqlite_floor

mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

# Each figure is the best of $repeat runs (BENCH_REPEAT, default 3): on a
# shared machine the other runs measure the neighbours. Every run starts
# without the databases an earlier one wrote.
repeat=${BENCH_REPEAT:-3}
fresh() { rm -f "$work"/*.mdb "$work"/*.db; }

# "seconds peak_kb" of a command, its output discarded.
measure() {
  local best="" k
  for ((k = 0; k < repeat; k++)); do
    fresh
    "$gnutime" -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>&1 || [ -s "$work/time.txt" ] ||
      { echo "failed: $*" >&2; exit 1; }
    best=$(printf "%s\n%s\n" "$best" "$(cat "$work/time.txt")" | awk 'NF == 2 && (t == "" || $1 < t) {t = $1; m = $2} END {print t, m}')
  done
  echo "$best"
}

# "seconds peak_kb" of one run of a command, its output discarded.
once() {
  fresh
  "$gnutime" -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>&1 || [ -s "$work/time.txt" ] ||
    { echo "failed: $*" >&2; exit 1; }
  cat "$work/time.txt"
}

echo "Machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(free -h | awk '/^Mem:/ {print $2}') memory"
printf "%-10s %8s %7s | %-26s | %-6s | %-6s | %-7s | %-6s | %-5s | %-6s | %-7s | %-20s | %-14s\n" form records \
  "data MB" "engine s (MB/s), peak MB" writer "64-row" flushed ATTACH ratio median flushed "sqlite3 .import s, MB" \
  "cat s (MB/s)"
mb_of() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }
for form in fixed separator; do
  prefix="$work/$form"
  records=$(python3 bench/make_bench_data.py "$form" $((size_mb * 1024 * 1024)) "$prefix")
  bytes=$(stat -c %s "$prefix.dat")
  mb=$(awk -v b="$bytes" 'BEGIN {printf "%.0f", b / 1048576}')

  read -r cat_s _ < <(measure cat "$prefix.dat")
  # The engine and the floors take turns, a round each, so that what the
  # machine's neighbours do in the meantime falls on all of them alike; each
  # figure is the best of its $repeat.
  engine_s="" floor_s="" rows64_s="" flushed_s="" attach_s="" rounds=""
  best() { awk -v a="$1" -v b="$2" 'BEGIN {print (a == "" || b + 0 < a + 0) ? b : a}'; }
  for ((k = 0; k < repeat; k++)); do
    read -r s kb < <(once "$engine" -o "$prefix.results" "$prefix.dat" "$prefix.cfg")
    head -n 1 "$prefix.results" | grep -q "^$records records parsed" ||
      { echo "engine: unexpected results: $(head -n 1 "$prefix.results")"; exit 1; }
    [ "$(best "$engine_s" "$s")" = "$s" ] && engine_s=$s engine_kb=$kb
    fresh
    floor_s=$(best "$floor_s" "$("$floor" --writer "$prefix.dat" "$prefix.cfg" "$prefix.floor.db")")
    fresh
    r64=$("$floor" --rows64 "$prefix.dat" "$prefix.cfg" "$prefix.floor.db")
    rows64_s=$(best "$rows64_s" "$r64")
    rounds+="$s $r64"$'\n'
    fresh
    flushed_s=$(best "$flushed_s" "$("$floor" --rows64-flushed "$prefix.dat" "$prefix.cfg" "$prefix.floor.db")")
    fresh
    attach_s=$(best "$attach_s" "$("$floor" --attach "$prefix.dat" "$prefix.cfg" "$prefix.floor.db")")
  done
  read -r import_s import_kb < <(measure sqlite3 "$prefix.import.db" ".mode csv" ".import $prefix.csv records")
  rm -f "$prefix.mdb" "$prefix.import.db" "$prefix.floor.db"

  rate() { awk -v m="$mb" -v s="$1" 'BEGIN {printf "%.0f", (s > 0 ? m / s : 0)}'; }
  ratio=$(awk -v e="$engine_s" -v f="$rows64_s" 'BEGIN {printf "%.2f", (f > 0 ? e / f : 0)}')
  ratio_flushed=$(awk -v e="$engine_s" -v f="$flushed_s" 'BEGIN {printf "%.2f", (f > 0 ? e / f : 0)}')
  # The engine over the 64-row floor round by round, the middle one: steadier
  # than the ratio of the bests when the floor's time jumps between rounds.
  median=$(printf "%s" "$rounds" | awk 'NF == 2 && $2 > 0 {print $1 / $2}' | sort -g |
    awk '{r[NR] = $1} END {printf "%.2f", NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2}')
  printf "%-10s %8s %7s | %6.2f (%4s), %5s       | %6.2f | %6.2f | %7.2f | %6.2f | %5s | %6s | %7s | %6.2f, %5s        | %5.2f (%5s)\n" \
    "$form" "$records" "$mb" "$engine_s" "$(rate "$engine_s")" "$(mb_of "$engine_kb")" "$floor_s" "$rows64_s" \
    "$flushed_s" "$attach_s" "$ratio" "$median" "$ratio_flushed" "$import_s" "$(mb_of "$import_kb")" "$cat_s" \
    "$(rate "$cat_s")"
  rm -f "$prefix".*
done

echo
printf "%-34s %9s | %8s %8s | %s\n" "crafted record" "record MB" "engine s" "peak MB" "results"
for crafted in endnone:100:1 endnone:300:1 endnone:300:16 inorder:1000:16 tlv::16 fir::16 highbytes::5 highbytes::16; do
  form=${crafted%:*}
  form=${form%:}
  record_mb=${crafted##*:}
  prefix="$work/crafted"
  python3 bench/make_bench_data.py "$form" $((record_mb * 1024 * 1024)) "$prefix" >/dev/null
  read -r engine_s engine_kb < <(measure "$engine" -o "$prefix.results" "$prefix.dat" "$prefix.cfg")
  case "$form" in
  endnone:*) what="$(echo "$form" | cut -d: -f2) fields not in order, End None" ;;
  inorder:*) what="$(echo "$form" | cut -d: -f2) codes in order, not there" ;;
  tlv) what="TLV, 3-byte objects" ;;
  fir) what="FIR, a separator every 2 bytes" ;;
  *) what="text of 3-byte UTF-8 characters" ;;
  esac
  printf "%-34s %9s | %8.2f %8s | %s\n" "$what" "$record_mb" "$engine_s" "$(mb_of "$engine_kb")" \
    "$(head -n 1 "$prefix.results" | tr -d '\r')"
  rm -f "$prefix".*
done
