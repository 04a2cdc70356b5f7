#!/usr/bin/env bash
# Copies the screenshots the Windows tests took (build/windows/screenshots/)
# into docs/screenshots/, which the README shows. Tests never write there
# themselves, so a test run leaves the tracked pictures alone.
#
#   scripts/update-screenshots.sh           copy what the last test run took
#   scripts/update-screenshots.sh --take    build and run the screenshot tests
#                                           under Wine first
set -euo pipefail
cd "$(dirname "$0")/.."
taken=build/windows/screenshots
if [ "${1:-}" = --take ]; then
  cmake --preset windows >/dev/null && cmake --build --preset windows
  scripts/with-wine.sh ctest --preset windows -L screenshots --repeat until-pass:3
elif [ $# -gt 0 ]; then
  echo "usage: $0 [--take]" >&2
  exit 2
fi
shopt -s nullglob
pictures=("$taken"/*.png)
if [ ${#pictures[@]} -eq 0 ]; then
  echo "No screenshots in $taken: run scripts/test.sh, or this script with --take." >&2
  exit 1
fi
mkdir -p docs/screenshots
for picture in "${pictures[@]}"; do
  # A test stopped while writing leaves a cut file: a PNG ends with its IEND
  # chunk (its name and a fixed CRC), and a cut one must not replace a good one.
  if [ "$(tail -c 8 "$picture" | od -An -tx1 | tr -d ' \n')" != 49454e44ae426082 ]; then
    echo "skipped (incomplete): $picture" >&2
    continue
  fi
  name=$(basename "$picture")
  if cmp -s "$picture" "docs/screenshots/$name"; then continue; fi
  cp "$picture" "docs/screenshots/$name.tmp" && mv "docs/screenshots/$name.tmp" "docs/screenshots/$name"
  echo "updated docs/screenshots/$name"
done
