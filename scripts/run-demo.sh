#!/usr/bin/env bash
# scripts/run-demo.sh <build-dir>: runs the built menu with the generated demo disc's root as its directory,
# as a disc's autorun does.
# Without a display it runs the menu under Xvfb for a few seconds and saves a screenshot.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
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
work="$(mktemp -d)"
source "$here/x-server.sh"
x_server_start "$work" -screen 0 1024x768x24 || { echo "no X server could be started: $x_server_error" >&2; exit 1; }
trap 'kill "$x_server_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY="$x_display"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
"$menu" &
menu_pid=$!
sleep "$seconds"
import -window root "$shot"
kill "$menu_pid" 2>/dev/null || true
wait "$menu_pid" 2>/dev/null || true
echo "No display: the menu ran under Xvfb for ${seconds}s; screenshot saved to $shot"
