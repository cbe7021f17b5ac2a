#!/usr/bin/env bash
# The five screens of a reader's first journey, as still pictures to compare across a change that must
# not show: the start, a section chosen, an entry chosen, its second picture, the settings drawer. The
# ticker strip, which runs on its own clock, is painted over in each.
#   journey_shots.sh MENU-PROGRAM DISC-TOOL SHOTS-DIR [UNRAR-MODULE]
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_open_full_screen
settle() { point 5 5; sleep 1.5; }
keep() { e2e_shot "$1"; convert "$last_shot" -fill magenta -draw "rectangle $ox,$band $((ox + layout_width - 1)),$((band + 21))" "$last_shot"; }

settle; keep 1-start
click "$(section_x 0)" $((bar_y + 10))
wait_until list-in 10 list_at_rest || fail "the list did not come in and stop"
settle; keep 2-section
picture_x=$((panel_x + 200)); picture_y=$((panel_y + 170))
click_row 0
wait_until panel-in 10 hue_is "$picture_x" "$picture_y" red || fail "the panel did not come in"
settle; keep 3-entry
click $((panel_x + 178 + 16 + 8)) $((panel_y + 278))
wait_until number-2 5 hue_is "$picture_x" "$picture_y" green || fail "number 2 did not show the second picture"
settle; keep 4-picture-2
point $((ox + layout_width - 10)) $((drawer_y + 200))
wait_until drawer 5 pixel_is $((ox + layout_width - 144 + 20)) $((drawer_y + 200)) "#B8FDB4" || fail "no drawer"
sleep 1.5; keep 5-drawer
rm -f "$e2e_shots"/[a-z]*.png
pass "five journey screenshots in $e2e_shots"
