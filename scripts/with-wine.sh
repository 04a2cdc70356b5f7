#!/usr/bin/env bash
# Runs a command with a Wine prefix inside the build tree, on an Xvfb display
# of its own, with a persistent wine server that is stopped afterwards.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$root/build/windows/.wine}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$WINEPREFIX")"

export VELMORA_SCRIPTS="$root/scripts"
inner='
set -u
"$VELMORA_SCRIPTS/wine-prefix.sh" || exit 1
# A persistent server, started before the tests, keeps Wine helpers from
# holding the test runner'"'"'s pipes open.
wineserver -p
wine wineboot >/dev/null 2>&1
# The desktop closes about a second after its last program ends, and a
# program starting in that moment finds no desktop window and cannot create
# one of its own. A program kept waiting holds the desktop for the whole run.
hold="$(mktemp -u)"
mkfifo "$hold"
wine cmd /c pause <"$hold" >/dev/null 2>&1 &
exec 3>"$hold"
rm -f "$hold"
"$@"
rc=$?
wineserver -k || true
wineserver -w || true
exit $rc
'
if [ -n "${DISPLAY:-}" ] && [ "${VELMORA_OWN_DISPLAY:-1}" = 0 ]; then
  bash -c "$inner" bash "$@"
else
  # Large enough for the widest dialog at 150% (the end-to-end tests run
  # the program at 144 DPI too).
  xvfb-run -a -s "-screen 0 1920x1200x24" bash -c "$inner" bash "$@"
fi
