#!/usr/bin/env bash
# scripts/run-demo.sh <build-dir>: runs the built menu with the generated demo disc's root as its directory,
# as a disc's autorun does.
# Without a display it runs the menu under Xvfb for a few seconds and saves a screenshot.
set -euo pipefail
build="$(cd "$1" && pwd)"
disc="$build/demo-disc"
menu="$build/bin/kelvox-menu"
[ -x "$menu" ] || { echo "the menu was not built: $menu" >&2; exit 1; }
[ -d "$disc/menu" ] || { echo "the demo disc was not generated: $disc" >&2; exit 1; }
export QT_MEDIA_BACKEND=gstreamer
export KELVOX_REGISTRY="${KELVOX_REGISTRY:-$build/demo-registry.reg}"
cd "$disc"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$menu"
fi
seconds="${KELVOX_DEMO_SECONDS:-6}"
shot="$build/demo-screenshot.png"
# Xvfb picks a free display itself and names it on the descriptor it is given.
display_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$display_file")"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
"$menu" &
menu_pid=$!
sleep "$seconds"
import -window root "$shot"
kill "$menu_pid" 2>/dev/null || true
wait "$menu_pid" 2>/dev/null || true
echo "No display: the menu ran under Xvfb for ${seconds}s; screenshot saved to $shot"
