#!/usr/bin/env bash
# Window mode on a bare X server: the grip strip drags the window, the moved window still answers, and
# the section bar's close button ends the program with status 0.
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_disc
e2e_xserver 1024x768
e2e_start_menu "$(registry_content 0 1 0 tapeta.bmp 1)"
e2e_layout window
wait_for_intro

# The grip's tab (window x 604 to 770 above line 12): press, move by (-100, +50) in steps, release.
grip_x=$((ox + 700)); grip_y=$((oy + 6))
point "$grip_x" "$grip_y"
xdotool mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove $((grip_x - 20 * step)) $((grip_y + 10 * step)); sleep 0.1; done
xdotool mouseup 1
sleep 0.5
geometry="$(xdotool getwindowgeometry "$window")"
grep -q "Position: $((ox - 100)),$((oy + 50))" <<<"$geometry" ||
  fail "the grip did not move the window by (-100, +50) from $ox,$oy: $geometry"
e2e_shot dragged
pass "the grip strip drags the window"

# The moved window answers at its new place: the first section's list comes in.
ox=$((ox - 100)); oy=$((oy + 50)); band=$((oy + 16))
bar_x=$((ox + 188)); bar_y=$((band + 29)); list_y=$((band + 22))
click "$(section_x 0)" $((bar_y + 10))
list_in() { pixel_is $((ox + 180)) $((list_y + 57)) "#881818" && pixel_is $((ox + 180)) "$(row_y 5)" "#801010"; }
wait_until dragged-list 10 list_in || fail "the moved window does not answer a section press"
pass "the moved window answers"

e2e_close_menu "$bar_x" "$bar_y" "$bar_w"
echo "OK"
