#!/usr/bin/env bash
# Builds the Windows program and starts it: natively on Windows (from a
# mingw shell), under Wine on Linux, on the user's own display.
set -euo pipefail
cd "$(dirname "$0")/.."
case "$(uname -s)" in
  MINGW*|MSYS*|CYGWIN*) windows_host=1 ;;
  *) windows_host=0 ;;
esac
[ "$windows_host" = 1 ] || scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
exe=build/windows/src/win32/app/VelmoraDataParser.exe
if [ ! -f "$exe" ]; then
  echo "The build did not produce $exe." >&2
  exit 1
fi
if [ "$windows_host" = 1 ]; then exec "$exe"; fi
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: run this from a desktop session, or start one with"
  echo "  Xvfb :1 -screen 0 1280x1024x24 & DISPLAY=:1 scripts/run.sh"
  exit 1
fi
export WINEPREFIX="${WINEPREFIX:-$PWD/build/windows/.wine}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scripts/wine-prefix.sh
exec wine "$exe"
