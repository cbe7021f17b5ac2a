#!/usr/bin/env bash
# scripts/build-windows.sh BUILD-DIR [cmake arguments...]: the menu, kelvox-check, unrar.dll and the tests
# cross-compiled for x86-64 Windows, and BUILD-DIR/bundle/ with everything the menu needs on a reader's
# Windows. Qt and the libraries are built once from Debian's sources into a cache outside the clone
# (~/.cache/kelvox, or $KELVOX_CACHE_DIR); the first run on a machine takes half an hour for Qt.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$1"; shift
export windows_started_at="$(date +%s)"
source "$top/scripts/windows/lib.sh"

"$top/scripts/install-deps.sh"
"$top/scripts/install-deps.sh" windows-packages.txt
qt=$("$top/scripts/windows/qt.sh" | tail -1)
jpeg=$("$top/scripts/windows/libjpeg.sh" | tail -1)
archive=$("$top/scripts/windows/libarchive.sh" windows | tail -1)

stage "the menu for Windows: building in $dir"
mkdir -p "$dir"
# The demo disc is the same for both systems: the Linux build writes it. Of the benchmarks, those that
# run under wine by themselves are built here; those that watch the menu on an X server run on Linux
# and start the Windows menu through wine (bench/windows/run.sh). Given in both branches, so that a
# build folder configured before a part was added gets it too.
parts="unrar;platform;timing;catalogue;screen;actions;app;tools;tests"
parts+=";bench/start;bench/unpack_stall;bench/timer_period;bench/ticker"
# A folder configured with another Qt (its options changed since) is configured afresh: its cache
# would keep the old one.
if [ -f "$dir/CMakeCache.txt" ] && [ "$(cat "$dir/qt-prefix" 2>/dev/null)" != "$qt" ]; then
  rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
fi
if [ ! -f "$dir/CMakeCache.txt" ]; then
  "$qt/bin/qt-cmake" -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "-DKELVOX_PARTS=$parts" \
    "-DKELVOX_WINDOWS_ROOTS=$jpeg;$archive" "-DKELVOX_LIBARCHIVE_PREFIX=$archive" "$@" >"$dir/configure.log" 2>&1 \
    || { rm -f "$dir/CMakeCache.txt"; fail_with_log "$dir/configure.log" "configuring the Windows build"; }
  echo "$qt" >"$dir/qt-prefix"
else
  cmake -S "$top" -B "$dir" "-DKELVOX_PARTS=$parts" "$@" >/dev/null
fi
nice -n 5 cmake --build "$dir" -j "$(nproc)"
"$top/scripts/windows/gather_bundle.py" "$dir" "$qt"
stage "the menu for Windows: built"
