#!/usr/bin/env bash
# The settings drawer, starting full screen on 1024 × 768: opening over its tab, every row with its tick
# mark, the background pictures through a rebuild, full screen off (a rebuild into window mode) and on
# again (its message, answered with Return), the save with its confirmation (Return) and the registry
# file's content afterwards, and the collapse over the background.
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_open_full_screen

# expect_ticks SHOT ROW...: exactly these rows are ticked.
expect_ticks() {
  local shot="$1" row on; shift
  e2e_shot "$shot"
  for row in full animations taskbar none picture1 picture2 sound; do
    on=no
    for want in "$@"; do [ "$want" = "$row" ] && on=yes; done
    if [ $on = yes ]; then ticked "$row" || fail "$shot: the $row row is not ticked"
    else ticked "$row" && fail "$shot: the $row row is ticked"; fi
  done
  return 0
}
modal_open() { [ "$(xdotool search --onlyvisible --class kelvox-menu 2>/dev/null | wc -l)" -gt 1 ]; }
# answer_modal SHOT: a message box is up; Return answers it with its default button.
answer_modal() {
  local i
  for i in $(seq 50); do modal_open && break; sleep 0.1; done
  modal_open || fail "$1: no message box"
  e2e_shot "$1"
  xdotool key Return
  for i in $(seq 50); do modal_open || break; sleep 0.1; done
  modal_open && fail "$1: Return did not answer the message box"
  return 0
}
background_is() { pixel_is $((ox + 500)) $((band + 300)) "$1"; }

open_drawer drawer-open
expect_ticks first-ticks full animations picture1 sound
pass "the drawer opens over its tab with the settings' tick marks"

toggle animations; toggle animations
toggle taskbar
toggle sound; toggle sound
pass "the animations, taskbar and sound rows toggle their tick marks"

# Background pictures: each is a rebuild; the drawer comes back collapsed.
for choice in none:#000000 picture2:#605040 picture1:#403020 picture2:#605040; do
  row="${choice%%:*}"; colour="${choice#*:}"
  drawer_open || open_drawer "before-$row"
  press_row "$row"
  wait_until "picture-$row" 15 background_is "$colour" || fail "the $row row did not rebuild with its background"
  wait_for_intro
done
open_drawer after-pictures
expect_ticks picture-ticks full animations taskbar picture2 sound
pass "the background picture rows rebuild the screen with their picture"

# Full screen off: a rebuild into window mode at once. On again: the message, and the next start.
press_row full
for i in $(seq 100); do
  xdotool getwindowgeometry "$window" | grep -q "Geometry: 770x496" && break
  sleep 0.1
done
xdotool getwindowgeometry "$window" | grep -q "Geometry: 770x496" || fail "full screen off did not rebuild into window mode"
e2e_layout window
wait_for_intro
pass "full screen off rebuilds into window mode"
open_drawer window-drawer
press_row full
answer_modal full-screen-message
sleep 0.3
e2e_shot full-screen-answered
ticked full || fail "no tick mark on the full-screen row after its message"
xdotool getwindowgeometry "$window" | grep -q "Geometry: 770x496" || fail "full screen on rebuilt at once"
pass "full screen on shows its message and waits for the next start"

# After the message box the drawer still answers; then the save, confirmed with Return.
toggle animations
expect_ticks before-save full taskbar picture2 sound
press_row save
answer_modal save-confirmation
settings_saved 1 0 1 "tapeta#2.bmp" 1 || fail "the registry does not hold the five settings as shown"
pass "the save, confirmed with Return, writes the five settings to the registry"
toggle sound
pass "after the save confirmation the drawer answers"

# The pointer over the background collapses the drawer.
point $((ox + 400)) $((band + 300))
drawer_closed() { ! drawer_open && pixel_is $((ox + layout_width - 10)) $((drawer_y + 200)) "#B8FDB4"; }
wait_until collapsed 5 drawer_closed || fail "the drawer did not collapse over the background"
pass "the drawer collapses when the pointer moves over the background"

e2e_close_menu "$bar_x" "$bar_y" "$bar_w"
echo "OK"
