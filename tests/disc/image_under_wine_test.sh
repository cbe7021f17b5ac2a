#!/usr/bin/env bash
# The Windows reader's disc: the image make-disc.sh writes, its files as a CD drive D: shows them
# (extracted, read-only), and the menu started as autorun.inf says, with D:\ as the current directory,
# under wine on an X server of its own: the window comes up full screen, a section's list comes in at a
# press, the close button ends the program, and nothing on the disc changed.
# Usage: image_under_wine_test.sh SOURCE-DIR DEMO-CONTENT SHOTS-DIR
set -euo pipefail
source_dir="$1"; content="$2"; shots="$3"
source "$source_dir/tests/e2e/x_windows.sh"
source "$source_dir/scripts/x-server.sh"
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAIL: $*"; [ -f "$work/menu.log" ] && tail -n 20 "$work/menu.log"; exit 1; }
for tool in xorriso wine wineserver Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || skip "$tool is missing"
done

work="$(mktemp -d)"
export WINEPREFIX="$work/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
unset WINEPATH
wine_quiet() { "$@" >/dev/null 2>&1 </dev/null; }
xvfb_pid=""
cleanup() {
  wine_quiet wineserver -k || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$shots"

"$source_dir/scripts/make-disc.sh" "$content" "$work/disc.iso" >"$work/make-disc.log" 2>&1 ||
  { tail -n 20 "$work/make-disc.log"; fail "make-disc.sh could not write the image"; }
# What Windows shows of the disc: the Joliet tree.
xorriso -no_rc -read_fs norock -indev "$work/disc.iso" -osirrox on -extract / "$work/cd" >"$work/extract.log" 2>&1 ||
  { tail -n 5 "$work/extract.log"; fail "the image could not be read back"; }
chmod -R a-w "$work/cd"
sum_before="$(cd "$work/cd" && find . -type f -exec cksum {} + | sort)"

export HOME="$work/home"
mkdir -p "$HOME"
printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
x_server_start "$work" -screen 0 1024x768x24 || skip "$x_server_error"
xvfb_pid="$x_server_pid"
export DISPLAY="$x_display"
mkdir -p "$WINEPREFIX"
wine_quiet wineserver -p
wine_quiet wineboot -i || fail "wine could not make its prefix"
ln -sfn "$work/cd" "$WINEPREFIX/dosdevices/d:"
wine_quiet wine reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f

# Autorun runs the program autorun.inf names, in the disc's root.
program="$(tr -d '\r' <"$work/cd/autorun.inf" | sed -n 's/^open=//p')"
[ -n "$program" ] || fail "autorun.inf names no program"
wine start /d 'D:\' /wait "D:\\$program" >"$work/menu.log" 2>&1 </dev/null &
menu_pid=$!

window="$(wait_for_window 600 "$menu_pid" --class '^kelvox-menu\.exe$')" || fail "no menu window from the disc"
sleep 3 # the bar's intro
xdotool getwindowgeometry "$window" | grep -q "Geometry: 1024x768" || fail "the window is not full screen"
import -window root "$shots/1-start.png"
echo "ok: the menu started from D:\\ as autorun starts it, full screen"

press_first_section_for_list "$shots/1-start.png" "$work/after.png" || fail "no list came in after the press on the first section"
sleep 1
import -window root "$shots/2-list.png"
echo "ok: the first section's list came in"

# The close button, right on the bar.
press 974 181
for _ in $(seq 100); do kill -0 "$menu_pid" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$menu_pid" 2>/dev/null || fail "the menu did not end at its close button"
status=0
wait "$menu_pid" || status=$?
[ "$status" -eq 0 ] || fail "the menu ended with status $status"
[ "$(cd "$work/cd" && find . -type f -exec cksum {} + | sort)" = "$sum_before" ] || fail "the disc's files changed"
echo "ok: closed with status 0, the disc as it was"
