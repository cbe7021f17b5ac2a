#!/usr/bin/env bash
# on_display.sh PROGRAM ARGUMENTS...: runs a test program with a private X server for its display, for
# the cases that need windows really shown (under wine, headless, a shown window never reports visible).
# A program run through wine gets a wine prefix of its own: a server the headless tests share would keep
# the desktop they made without a display. Skipped (77) where no X server can be started.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/x-server.sh"
work="$(mktemp -d)"
x_server_pid=""
own_wine_prefix=""
stop() {
  # Only the prefix made here: a caller's prefix may serve other tests still running.
  [ -z "$own_wine_prefix" ] || WINEPREFIX="$own_wine_prefix" wineserver -k >/dev/null 2>&1 || true
  [ -z "$x_server_pid" ] || { kill "$x_server_pid" 2>/dev/null || true; wait "$x_server_pid" 2>/dev/null || true; }
  rm -rf "$work"
}
trap stop EXIT
x_server_start "$work" -screen 0 1024x768x24 || { echo "SKIPPED: $x_server_error"; exit 77; }
export DISPLAY="$x_display"
unset QT_QPA_PLATFORM
if [ "$(basename "$1")" = wine ]; then
  # No debugger for a crash: on a display its box would wait for a press.
  export WINEPREFIX="$work/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d;winedbg.exe=d"
  mkdir -p "$WINEPREFIX"
  own_wine_prefix="$WINEPREFIX"
  # Started with their output elsewhere, or ctest waits for the pipe wine's services inherit.
  wineserver -p >/dev/null 2>&1 </dev/null
  wineboot -i >/dev/null 2>&1 </dev/null
fi
"$@"
