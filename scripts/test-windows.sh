#!/usr/bin/env bash
# scripts/test-windows.sh: builds for Windows into build-windows (scripts/build-windows.sh) and runs its
# tests through ctest under wine, headless, in a wine prefix of the build's own.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
started=$(date +%s)
# Built already by ./test.sh; again here (at no cost when nothing changed) when run alone. The RAR module
# is checked against the Linux one: the same C client, built natively in build-asan; the menu's
# end-to-end roads run on the disc the Linux build's tool writes, and its pixels are compared with the
# Linux menu's.
"$top/scripts/build-windows.sh" "$top/build-windows" \
  "-DKELVOX_LINUX_UNRAR_CLIENT=$top/build-asan/tests/unrar/unrar_parity_client" \
  "-DKELVOX_LINUX_E2E_DISC=$top/build-asan/tests/e2e/kelvox-e2e-disc" \
  "-DKELVOX_LINUX_MENU=$top/build-asan/bin/kelvox-menu"

export WINEPREFIX="$top/build-windows/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
mkdir -p "$WINEPREFIX"
# Started with their output elsewhere: ctest would otherwise wait for the pipe wine's services inherit.
# A server already running for the prefix (a run before this one, still ending) answers the same.
wineserver -p >/dev/null 2>&1 </dev/null || true
wineboot -i >/dev/null 2>&1 </dev/null
stop_wine() { wineserver -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT
ctest --test-dir "$top/build-windows" --output-on-failure -j "$(nproc)"
echo "Windows build and tests: $(( $(date +%s) - started )) s"
