#!/usr/bin/env bash
# scripts/test-windows.sh: builds for Windows into build-windows (scripts/build-windows.sh) and runs its
# tests through ctest under wine, headless, in a wine prefix of the build's own.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
started=$(date +%s)
# Built already by ./test.sh; again here (at no cost when nothing changed) when run alone.
"$top/scripts/build-windows.sh" "$top/build-windows" \
  "-DKELVOX_LINUX_UNRAR_CLIENT=$top/build-asan/tests/unrar/unrar_parity_client"

export WINEPREFIX="$top/build-windows/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
mkdir -p "$WINEPREFIX"
# Started with their output elsewhere: ctest would otherwise wait for the pipe wine's services inherit.
wineserver -p >/dev/null 2>&1 </dev/null
wineboot -i >/dev/null 2>&1 </dev/null
stop_wine() { wineserver -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT
ctest --test-dir "$top/build-windows" --output-on-failure -j "$(nproc)"
echo "Windows build and tests: $(( $(date +%s) - started )) s"
