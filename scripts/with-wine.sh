#!/usr/bin/env bash
# Runs a command with a Wine prefix inside the build tree, on an Xvfb display
# of its own, with a persistent wine server that is stopped afterwards.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$root/build/windows/.wine}"
export WINEDEBUG=-all
# No Mono or Gecko prompts; and no winemenubuilder, which a shortcut made by
# a setup program under test starts, to write menu entries and icons into
# the home folder.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
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
# The desktop, up before the command: the first program that needs it hands
# its output on to the desktop'"'"'s explorer.exe, which would then hold a test'"'"'s
# output open for the whole run (and the test runner waiting on it). A
# program of no output makes it.
wine rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1
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
