#!/usr/bin/env bash
# Benchmark of ParseTarn.exe under Wine (not a test): on the same data as
# bench/engine_bench.sh (fixed-length records, ten fields), the Windows
# engine's time beside Wine's own start (the engine printing its version) and
# the native engine's; each the best of $BENCH_REPEAT runs (default 3). Then
# the Windows run under strace: the system calls the engine's process makes,
# by kind, which tell its reads, writes and waits from Wine's own work.
#
#   bench/engine_wine_bench.sh [SIZE_MB]      (default 200)
#
# Needs the windows preset built (ParseTarn.exe) and the release one.
set -euo pipefail
cd "$(dirname "$0")/.."
size_mb=${1:-200}
work=${BENCH_DIR:-build/bench/wine}
repeat=${BENCH_REPEAT:-3}
exe=build/windows/engine/ParseTarn.exe
native=build/release/engine/ParseTarn
[ -x "$exe" ] || { echo "build the windows preset first (cmake --build --preset windows)"; exit 1; }
cmake --preset release >/dev/null && cmake --build --preset release >/dev/null
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
python3 bench/make_bench_data.py fixed $((size_mb * 1024 * 1024)) "$work/fixed" >/dev/null
rm -f "$work/fixed.csv"

export WINEPREFIX="${WINEPREFIX:-$PWD/build/windows/.wine}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scripts/wine-prefix.sh
wineserver -p 2>/dev/null || true  # one may be running already
wine wineboot >/dev/null 2>&1

best() {
  local k t b=""
  for ((k = 0; k < repeat; k++)); do
    rm -f "$work"/*.mdb
    /usr/bin/time -f "%e" -o "$work/time.txt" "$@" >/dev/null 2>&1
    t=$(tail -n 1 "$work/time.txt")
    b=$(printf "%s\n%s\n" "$b" "$t" | awk 'NF && (m == "" || $1 < m) {m = $1} END {print m}')
  done
  echo "$b"
}
zpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
data=$(zpath "$work/fixed.dat") cfg=$(zpath "$work/fixed.cfg") results=$(zpath "$work")'\r.txt'

echo "Machine: $(nproc) CPUs, load $(cut -d' ' -f1-3 /proc/loadavg), $(wine --version)"
echo "Wine's start (ParseTarn.exe --version): $(best wine "$exe" --version) s"
echo "ParseTarn.exe, $size_mb MB: $(best wine "$exe" -o "$results" "$data" "$cfg") s"
echo "ParseTarn (native), $size_mb MB: $(best "$native" -o "$work/r.txt" "$work/fixed.dat" "$work/fixed.cfg") s"
head -n 1 "$work/r.txt"
if command -v strace >/dev/null; then
  rm -f "$work"/*.mdb
  strace -f -c -o "$work/calls.txt" wine "$exe" -o "$results" "$data" "$cfg" >/dev/null 2>&1 || true
  echo "System calls of the Windows run (strace -c, the engine's process and Wine's in it):"
  head -n 14 "$work/calls.txt"
fi
wineserver -k || true
