#!/usr/bin/env bash
# The real menu on the demo disc under Xvfb: it comes up full screen, a press on the first section
# brings its list in, and the close button of the section bar ends the program with status 0.
# Usage: menu_smoke.sh MENU-PROGRAM DEMO-DISC UNRAR-MODULE
set -euo pipefail
menu="$1"; disc_source="$2"
. "$(dirname "${BASH_SOURCE[0]}")/x_windows.sh"
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/x-server.sh"
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is missing"; exit 77; }
done
work="$(mktemp -d)"
trap 'kill "${menu_pid:-}" "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$disc_source" "$work/disc"
cp "$menu" "$work/disc/kelvox-menu"
cp "$(dirname "$menu")/libkelvox_music.so" "$work/disc/"
[ -f "${3:-}" ] && cp "$3" "$work/disc/"

x_server_start "$work" -screen 0 1024x768x24 || { echo "SKIPPED: $x_server_error"; exit 77; }
xvfb_pid="$x_server_pid"
export DISPLAY="$x_display" KELVOX_REGISTRY="$work/registry.reg" QT_MEDIA_BACKEND=gstreamer
export XDG_RUNTIME_DIR="$work/runtime" ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
unset QT_QPA_PLATFORM
mkdir -m 700 "$work/runtime"

(cd "$work/disc" && exec ./kelvox-menu) >"$work/menu.log" 2>&1 &
menu_pid=$!
window="$(wait_for_window 100 "" --class kelvox-menu)" || { cat "$work/menu.log"; echo "FAIL: no menu window"; exit 1; }
sleep 2 # the intro of the bar: 84 frames of 10 ms, and some slack on a loaded machine

geometry="$(xdotool getwindowgeometry "$window")"
echo "$geometry"
grep -q "Geometry: 1024x768" <<<"$geometry" || { echo "FAIL: not full screen"; exit 1; }

import -window root "$work/before.png"
press_first_section_for_list "$work/before.png" "$work/after.png" ||
  { echo "FAIL: no list came in after the press on the first section"; exit 1; }

# The close button: bar x Wb − 50 = 786, bar y 8.
press $((188 + 786)) $((173 + 8))
for _ in $(seq 50); do kill -0 "$menu_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$menu_pid" 2>/dev/null; then echo "FAIL: the close button did not end the menu"; exit 1; fi
wait "$menu_pid" && status=0 || status=$?
[ "$status" -eq 0 ] || { cat "$work/menu.log"; echo "FAIL: exit status $status"; exit 1; }
echo "OK"
