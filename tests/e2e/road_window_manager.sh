#!/usr/bin/env bash
# Under a window manager (openbox), full screen on 1024 × 768: the window holds the full-screen state
# and the focus; the bar's minimise button minimises it, activating it restores it with both, and the
# restored window answers; the close button ends the program with status 0.
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_open_full_screen --window-manager

wm_state() { xprop -id "$window" _NET_WM_STATE 2>/dev/null; }
mapped() { xwininfo -id "$window" 2>/dev/null | grep -q "IsViewable"; }
focused() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ]; }
full_screen() { wm_state | grep -q _NET_WM_STATE_FULLSCREEN && xdotool getwindowgeometry "$window" | grep -q "Geometry: 1024x768"; }

wait_until wm-start 10 full_screen || fail "the window is not in the full-screen state: $(wm_state)"
for i in $(seq 30); do focused && break; sleep 0.1; done
focused || fail "the window does not have the focus at start"
pass "under openbox the menu starts full screen with the focus"

# The minimise button: bar x Wb − 83, y 8.
point $((bar_x + bar_w - 83)) $((bar_y + 8))
wait_until minimise-lit 5 pixel_is $((bar_x + bar_w - 83)) $((bar_y + 8)) "#111111" || fail "the minimise button does not light"
xdotool click 1
for i in $(seq 50); do mapped || break; sleep 0.1; done
mapped && fail "the minimise button left the window on screen"
e2e_shot minimised
pass "the minimise button minimises the window"

xdotool windowactivate "$window"
for i in $(seq 50); do mapped && focused && break; sleep 0.1; done
mapped || fail "activating the window did not restore it"
focused || fail "the restored window does not have the focus"
wait_until restored 10 full_screen || fail "the restored window lost the full-screen state: $(wm_state)"
pass "activating the window restores it full screen with the focus"

click "$(section_x 0)" $((bar_y + 10))
list_in() { pixel_is 180 $((list_y + 57)) "#881818" && pixel_is 180 "$(row_y 5)" "#801010"; }
wait_until restored-list 10 list_in || fail "the restored window does not answer a section press"
pass "the restored window answers"

# A background picture chosen in the drawer rebuilds the screen through a minimise and a restore of
# the program's own: the window comes back full screen with the focus, with the picture.
point $((layout_width - 10)) $((drawer_y + 200))
drawer_open() { pixel_is $((layout_width - 124)) $((drawer_y + 200)) "#B8FDB4"; }
wait_until wm-drawer 5 drawer_open || fail "the drawer did not open"
click $((layout_width - 144 + 90)) $((drawer_y + 249))
picture2() { mapped && full_screen && pixel_is 500 $((band + 300)) "#605040"; }
wait_until wm-relayout 15 picture2 || fail "after the rebuild the window is not back full screen with the second picture"
for i in $(seq 30); do focused && break; sleep 0.1; done
focused || fail "after the rebuild the window does not have the focus"
pass "a rebuild from the drawer brings the window back full screen with the focus"

e2e_close_menu "$bar_x" "$bar_y" "$bar_w"
echo "OK"
