#!/usr/bin/env bash
# A screen reader's road, full screen on 1024 × 768, on a private session bus with the accessibility
# bus: Right from the keyboard, and the reader hears the first section take the focus; a section and
# an entry chosen with the pointer, then a reader (pyatspi) reads the window's name,
# the sections, the entries and the shown entry's title through AT-SPI and compares them with the disc;
# the same reader reads again after another section and entry are chosen, so that children it held of
# the first list must not stand in for the second.
# Skipped (77) where no X server, session bus or pyatspi is to be had.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
if [ -z "${KELVOX_PRIVATE_BUS:-}" ]; then
  command -v dbus-run-session >/dev/null || { echo "SKIPPED: dbus-run-session is missing"; exit 77; }
  [ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIPPED: at-spi2-core is missing"; exit 77; }
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIPPED: pyatspi is missing"; exit 77; }
  export KELVOX_PRIVATE_BUS=1
  exec dbus-run-session -- "$0" "$@"
fi
. "$here/e2e_lib.sh"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
reader() { /usr/bin/python3 "$here/read_accessibility.py" "$@"; }

e2e_open_full_screen
# The accessibility bus is started on the session bus when the reader first asks for it; the menu joins
# it then. With the display known to the session's activations it is announced on the display too, as
# on a desktop.
dbus-update-activation-environment DISPLAY XDG_RUNTIME_DIR HOME 2>/dev/null || true

# Where the sections stand, read before a keyboard highlight inverts the bar.
games_x="$(section_x 0)"; programs_x="$(section_x 1)"
steps="$work/steps"; mkdir -p "$steps"
reader_pid=""
trap 'kill $reader_pid 2>/dev/null || true; e2e_cleanup' EXIT

# The keyboard starts on the section bar: Right lights the first section, and the reader hears it.
reader focus Gry "$steps/listening" 15 >"$work/focus.log" 2>&1 &
reader_pid=$!
wait_for_file "$steps/listening" 30 || { cat "$work/focus.log"; fail "the reader did not start listening"; }
xdotool key Right
status=0
wait "$reader_pid" || status=$?
cat "$work/focus.log"
[ "$status" -eq 0 ] || fail "no focus event named the first section after Right"
pass "Right on the section bar: the reader hears the focus reach \"Gry\""

# The first section, "Gry", of five entries; its first entry, "Obrazki", shown on the panel.
click "$games_x" $((bar_y + 10))
list_at_rest() { pixel_is 180 $((list_y + 57)) "#881818" && pixel_is 180 "$(row_y 4)" "#881818"; }
wait_until list-in 10 list_at_rest || fail "the first section's list did not come to rest"
click_row 0
wait_until panel-in 10 hue_is $((panel_x + 200)) $((panel_y + 170)) red || fail "the panel did not fade in"
pass "a section and an entry chosen with the pointer"

reader tree "$work/disc" "$steps" 0:0 1:3 >"$work/reader.log" 2>&1 &
reader_pid=$!
wait_for_file "$steps/read-1" 60 || { cat "$work/reader.log"; fail "the reader did not read the first list"; }

# The second section, "Programy", of 25 entries; its fourth entry, "Program 04".
click "$programs_x" $((bar_y + 10))
wait_until long-list 10 pixel_is 94 $((list_y + 446)) "#003300" || fail "the second section's list did not come in"
click_row 3
: >"$steps/chosen-2"
status=0
wait "$reader_pid" || status=$?
cat "$work/reader.log"
[ "$status" -eq 0 ] || fail "the reader does not hear what the disc holds"
menu_alive "after the reader walked its tree"
pass "one reader hears the window, the sections, the entries and the title the disc holds, for two choices"

e2e_close_menu "$bar_x" "$bar_y" "$bar_w"
echo "OK"
