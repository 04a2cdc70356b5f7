#!/usr/bin/env bash
# Makes the Wine prefix named by $WINEPREFIX ready for the program: created
# once, then given what a bare Debian Wine lacks. Run with the Wine variables
# already set (scripts/with-wine.sh and scripts/run.sh do).
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must be set}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # With no window manager each closing top-level window otherwise costs seconds.
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
fi
# Debian's Wine looks for its bundled fonts in /usr/share/fonts itself, not in
# /usr/share/wine/fonts where fonts-wine puts them, so it never finds Marlett,
# the symbol font of the caption buttons, and draws them as letters ("r" for
# Close). A copy in the prefix's Fonts folder is found. Only Marlett: the
# dialog fonts stay as they are, so no test's layout changes.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ ! -f "$fonts/marlett.ttf" ]; then
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi
# A test stopped while it ran the program at another display scale leaves
# its LogPixels behind: every program would then start at that scale.
wine reg delete "HKCU\\Control Panel\\Desktop" /v LogPixels /f >/dev/null 2>&1 || true
