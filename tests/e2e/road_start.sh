#!/usr/bin/env bash
# Starting the menu: full screen on 1024 × 768 and (started inside its own folder on the disc) on
# 800 × 600, and in window mode; each start ends its intro with the bar drawn and the welcome text on the
# ticker strip.
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

# check_start NAME full|window WIDTH HEIGHT: the window's place and size and the pictures of the band.
check_start() {
  local name="$1" mode="$2"
  e2e_layout "$mode"
  local geometry i
  for i in $(seq 50); do
    geometry="$(xdotool getwindowgeometry "$window")"
    grep -q "Position: $ox,$oy" <<<"$geometry" && grep -q "Geometry: $3x$4" <<<"$geometry" && break
    sleep 0.1
  done
  grep -q "Position: $ox,$oy" <<<"$geometry" && grep -q "Geometry: $3x$4" <<<"$geometry" ||
    fail "$name: window geometry is not $3x$4 at $ox,$oy: $geometry"
  wait_for_intro
  e2e_shot "$name"
  local x=$((ox + layout_width / 2))
  pixel_is "$x" $((band + 24)) "#00A000" || fail "$name: no bar tiles (pasek) at band line 24"
  # Line 465: the window-mode outline cuts the bottom tiles below it, right of the list.
  pixel_is "$x" $((band + 465)) "#A00000" || fail "$name: no bottom tiles (dol) at band line 465"
  pixel_is $((ox + 90)) $((band + 470)) "#0000A0" || fail "$name: no list bottom edge at band line 470"
  pixel_is "$x" $((band + 300)) "#403020" || fail "$name: no background picture at band line 300"
  pixel_is $((ox + layout_width - 10)) $((drawer_y + 200)) "#B8FDB4" || fail "$name: no settings tab"
  pixel_is $((bar_x + 20)) $((bar_y + 40)) "#004000" || fail "$name: the bar's left end is not at rest"
  pass "$name: $3x$4 at $ox,$oy, band from line $band, intro ended with the welcome text"
}

e2e_disc

e2e_xserver 1024x768
e2e_start_menu
check_start full-1024x768 full 1024 768
# Above the band the window is black; with 1024 columns the picture is drawn a second time at x 800.
pixel_is 500 50 "#000000" || fail "full-1024x768: the window above the band is not black"
pixel_is 900 $((band + 300)) "#403020" || fail "full-1024x768: no second background picture right of x 800"
e2e_close_menu "$bar_x" "$bar_y" "$bar_w"
kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true

# Started inside the program's own folder on the disc, as a reader who opened it and started the program
# there: the menu takes the folder above for the disc's root.
e2e_system_own_folder
e2e_start_in=program-folder
e2e_xserver 800x600
e2e_start_menu
check_start full-800x600 full 800 600
e2e_close_menu "$bar_x" "$bar_y" "$bar_w"
kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true

# From the disc's root again, as autorun starts it (the program still in its folder).
e2e_start_in=root
e2e_xserver 1024x768
e2e_start_menu "$(registry_content 0 1 0 tapeta.bmp 1)"
check_start window-mode window 770 496
# The cut outline: the top edge lies 12 lines lower left of the tab, where the root shows through.
pixel_is $((ox + 300)) $((oy + 5)) "#FFFFFF" || fail "window-mode: the window's top-left cut is drawn"
pixel_is_not $((ox + 700)) $((oy + 5)) "#FFFFFF" || fail "window-mode: the grip's tab is cut away"
pixel_is $((ox + 300)) $((oy + 490)) "#FFFFFF" || fail "window-mode: the window's bottom-right cut is drawn"
pass "window-mode: the outline is cut, the grip's tab stands"
e2e_close_menu "$bar_x" "$bar_y" "$bar_w"
echo "OK"
