#!/usr/bin/env bash
# bench/windows/run.sh [LINUX-BUILD [WINDOWS-BUILD]]: the Windows menu's benchmarks under wine, each
# beside the same benchmark of the Linux menu, in one run on the same machine, so that the two sides see
# the same load. Builds what is missing first: the Linux programs (Release) into LINUX-BUILD (default
# build-bench), the Windows build with its bench programs into WINDOWS-BUILD (default build-windows,
# scripts/build-windows.sh). The wine prefix is WINDOWS-BUILD/bench-wine-prefix; its server is started
# for each benchmark and ended after it (`wineserver -k` of that prefix only).
#
# BENCHES="start idle idle_silent idle_bare unpack_stall timer_period ticker" picks and orders them
# (idle_silent: idle with the music switched off; idle_bare: a bare Qt window's idle, the floor); each one's whole output
# is kept in WINDOWS-BUILD/bench-logs/, and the last lines come side by side at the end, with the load.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
linux="$(realpath -m "${1:-$top/build-bench}")"
windows="$(realpath -m "${2:-$top/build-windows}")"
benches="${BENCHES:-start idle idle_silent idle_bare unpack_stall timer_period ticker}"

if [ ! -f "$linux/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
nice -n 5 cmake --build "$linux" -j "$(nproc)" --target kelvox-menu kelvox_music demo_disc unrar start_bench \
  start_bare_window idle_bench unpack_stall_bench timer_period ticker_bench
nice -n 5 "$top/scripts/build-windows.sh" "$windows"

export WINEPREFIX="$windows/bench-wine-prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
mkdir -p "$WINEPREFIX"
logs="$windows/bench-logs"
mkdir -p "$logs"
disc="$linux/demo-disc"
wbin="$windows/bin"
wine_dll_path="$(cat "$windows/bench/wine-path")"

# under_wine PROGRAM.exe: runs it headless through wine with the tests' DLL folders, in a prefix server
# of its own for the run.
under_wine() {
  wineserver -p >/dev/null 2>&1 </dev/null
  wineboot -i >/dev/null 2>&1 </dev/null
  local status=0
  WINEPATH="$wine_dll_path" QT_QPA_PLATFORM=offscreen wine "$@" || status=$?
  wineserver -k >/dev/null 2>&1 || true
  return $status
}

declare -A last
# side NAME SYSTEM COMMAND...: one side of a benchmark, its output kept and shown, its last line noted.
side() {
  local name="$1" system="$2"; shift 2
  local log="$logs/$name-$system.log"
  echo "== $name, $system (load $(cut -d' ' -f1-3 /proc/loadavg)) =="
  local status=0
  "$@" 2>&1 | tee "$log" || status=$?
  last["$name $system"]="$(tail -n 1 "$log") (load $(cut -d' ' -f1-3 /proc/loadavg))"
  [ "$status" -eq 0 ] || last["$name $system"]+=" [ended with status $status]"
}

for bench in $benches; do
  case "$bench" in
    start)
      side start linux "$linux/bench/start/start" "$linux/bin/kelvox-menu" "$disc" \
        "$linux/bench/start/start_bare_window"
      side start wine "$linux/bench/start/start" --wine "$windows/bundle/kelvox-menu.exe" "$disc" \
        "$wbin/start_bare_window.exe" ;;
    idle)
      side idle linux "$linux/bench/idle/idle" "$linux/bin/kelvox-menu" "$disc"
      side idle wine "$linux/bench/idle/idle" --wine "$windows/bundle/kelvox-menu.exe" "$disc" ;;
    idle_bare)
      # The floor: a bare frameless Qt window, idle in the same way, natively and under wine (from a copy
      # of the menu's bundle, so that it loads the same DLLs).
      rm -rf "$windows/bench-bare-bundle"
      cp -r "$windows/bundle" "$windows/bench-bare-bundle"
      cp "$wbin/start_bare_window.exe" "$windows/bench-bare-bundle/"
      side idle_bare linux "$linux/bench/idle/idle" "$linux/bench/start/start_bare_window" "$disc"
      side idle_bare wine "$linux/bench/idle/idle" --wine "$windows/bench-bare-bundle/start_bare_window.exe" "$disc" ;;
    idle_silent)
      side idle_silent linux "$linux/bench/idle/idle" --sound-off "$linux/bin/kelvox-menu" "$disc"
      side idle_silent wine "$linux/bench/idle/idle" --wine --sound-off "$windows/bundle/kelvox-menu.exe" "$disc" ;;
    unpack_stall)
      side unpack_stall linux env QT_QPA_PLATFORM=offscreen "$linux/bench/unpack_stall/unpack_stall"
      side unpack_stall wine under_wine "$wbin/unpack_stall.exe" ;;
    timer_period)
      side timer_period linux "$linux/bench/timer_period/timer_period"
      side timer_period wine under_wine "$wbin/timer_period.exe" ;;
    ticker)
      side ticker linux env QT_QPA_PLATFORM=offscreen "$linux/bench/ticker/ticker"
      side ticker wine under_wine "$wbin/ticker.exe" ;;
    *) echo "bench/windows/run.sh: no benchmark named $bench" >&2; exit 2 ;;
  esac
done

echo
echo "== last lines (logs in $logs) =="
for bench in $benches; do
  printf '%-13s linux: %s\n' "$bench" "${last["$bench linux"]}"
  printf '%-13s wine:  %s\n' "" "${last["$bench wine"]}"
done
