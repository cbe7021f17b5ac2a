#!/usr/bin/env bash
# The keyboard alone, full screen on 1024 × 768, the pointer left out of the way: a section lit with the
# arrows and chosen with Enter, an entry lit, selected and started with Enter; in the panel the arrows,
# the viewer (Space, closed with Escape) and the run button (Enter); an archive unpacked through the
# dialog with Tab and Enter; a setting changed and saved in the drawer; then the wheel over a long list.
# No key closes the menu; the close button does.
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_open_full_screen
xdotool mousemove $((ox + 600)) $((band + 470))
games_x="$(section_x 0)"; programs_x="$(section_x 1)"
key() { xdotool key --delay 60 "$@"; sleep 0.2; }
section_lit() { pixel_is "$1" $((bar_y + 16)) "#FFAFFF"; }
picture_x=$((panel_x + 200)); picture_y=$((panel_y + 170))

key Right
wait_until key-first-section 5 section_lit "$games_x" || fail "Right did not light the first section"
key Right
wait_until key-second-section 5 section_lit "$programs_x" || fail "a second Right did not light the second section"
section_lit "$games_x" && fail "two sections lit at once"
key Left Return
list_at_rest() {
  pixel_is 150 $((list_y + 5)) "#300030" && pixel_is 180 $((list_y + 57)) "#881818" &&
    pixel_is 180 "$(row_y 4)" "#881818" && pixel_is 180 "$(row_y 5)" "#801010"
}
wait_until key-list-in 10 list_at_rest || fail "Enter on the first section did not bring its list in"
pixel_is 180 "$(row_y 0)" "#881818" || fail "a row is lit before the first Down"
pass "Right and Left light the sections; Enter brings the list in with no row lit"

key Down
wait_until key-row 5 pixel_is 180 "$(row_y 0)" "#77E7E7" || fail "Down did not light the first row"
key Return
wait_until key-panel 10 hue_is "$picture_x" "$picture_y" red || fail "Enter did not select the entry"
key Return
wait_for_file "$records/program-directory" 10 || fail "a second Enter did not start the program"
pass "from the start, Right, Enter, Down, Enter, Enter starts the first entry of the first section"
e2e_system_back_to_menu

key Tab Right
wait_until key-next-picture 5 hue_is "$picture_x" "$picture_y" green || fail "Right in the panel did not show the next picture"
key Left
wait_until key-previous-picture 5 hue_is "$picture_x" "$picture_y" red || fail "Left in the panel did not go back"
key space
wait_until key-viewer 10 hue_is 600 384 red || fail "Space in the panel did not open the viewer"
key Escape
wait_until key-viewer-closed 10 hue_is_not 600 384 red || fail "Escape did not close the viewer"
rm -f "$records/program-directory"
key Return
wait_for_file "$records/program-directory" 10 || fail "Enter in the panel did not start the program"
pass "in the panel the arrows switch pictures, Space opens the viewer, Escape closes it, Enter runs"
e2e_system_back_to_menu

# The archive: Shift+Tab back to the list (no row lit), three rows down, Enter twice; in the dialog Escape does nothing,
# Tab reaches "[ wypakuj ]" (list, drive box, "[ utwórz katalog ]", "[ wypakuj ]") and Enter unpacks into
# the directory the list has open, the home.
key shift+Tab Down Down Down Return
sleep 1.5
key Return
dialog="$(wait_for_unpack_dialog)" || fail "Enter on the archive did not open the unpack dialog"
e2e_shot key-dialog
key Escape
wait_for_unpack_dialog 5 >/dev/null || fail "Escape closed the unpack dialog"
key Tab Tab Tab
e2e_shot key-dialog-unpack-label
key Return
unpacked() { (cd "$work/expected" && find . -type f | while read -r f; do cmp -s "$f" "$e2e_profile/$f" || exit 1; done); }
for i in $(seq 200); do unpacked && break; sleep 0.1; done
unpacked || fail "Tab to [ wypakuj ] and Enter did not unpack the archive into the home directory"
pass "the unpack dialog is answered with Tab and Enter, and Escape leaves it open"
# The keys are the menu's again once the dialog has gone (under wine the reader clicks the menu).
for i in $(seq 50); do wait_for_unpack_dialog 1 >/dev/null || break; sleep 0.1; done
e2e_system_back_to_menu

# The drawer: Tab opens it, Down twice frames the animations row, Enter switches them off, the save row
# (Down six times more) asks, Return confirms, and the registry file holds what the drawer shows.
drawer_x=$((ox + layout_width - 144))
drawer_open() { pixel_is $((drawer_x + 20)) $((drawer_y + 200)) "#B8FDB4"; }
key Tab Tab
wait_until key-drawer 5 drawer_open || fail "Tab did not open the settings drawer"
key Down Down
wait_until key-drawer-frame 5 pixel_is_not $((drawer_x + 122)) $((drawer_y + 33)) "$(px $((drawer_x + 122)) $((drawer_y + 33)) "$e2e_shots/key-drawer.png")" ||
  fail "no frame around the animations row"
key Return
wait_until key-animations-off 5 pixel_is_not $((drawer_x + 129)) $((drawer_y + 38)) "#000000" || fail "Enter did not switch the animations off"
key Down Down Down Down Down Down Return
for i in $(seq 50); do xdotool search --onlyvisible --name 'Kelvox Cover CD' >/dev/null 2>&1 && break; sleep 0.1; done
e2e_shot key-save-question
key Return
settings_saved 1 0 0 tapeta.bmp 1 || fail "the registry does not hold the settings after the save"
key Escape
wait_until key-drawer-closed 5 eval '! drawer_open' || fail "Escape did not close the drawer"
pass "the drawer: Tab opens it, the arrows frame a row, Enter acts, the save asks and writes, Escape closes"

# Keys with no meaning do nothing; the focus is back on the bar, which takes the second section.
key q x Escape alt+q ctrl+w
menu_alive "after keys with no meaning"
key Right Right Return
down_x=94; down_y=$((list_y + 446)); up_y=$((list_y + 46))
wait_until key-long-list 10 pixel_is "$down_x" "$down_y" "#003300" || fail "the second section's list of 25 did not come in"
xdotool mousemove 100 "$(row_y 8)"
sleep 0.3
xdotool click 5
wait_until wheel-down 5 pixel_is "$down_x" "$up_y" "#000033" || fail "a notch down did not scroll the list"
xdotool click 4
wait_until wheel-up 5 pixel_is_not "$down_x" "$up_y" "#000033" || fail "a notch up did not scroll back"
pass "one notch of the wheel scrolls the list by a row, each way"

e2e_close_menu "$bar_x" "$bar_y" "$bar_w"
echo "OK"
