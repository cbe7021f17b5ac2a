#!/usr/bin/env bash
# Browsing, full screen on 1024 × 768: a section's hover and press, the list sliding in, row hover, an
# entry selected with its panel, picture numbers and arrows, the viewer opened and closed, and after it
# the list, the panel and the bar still answering; a program started by a second press and by the run
# button, a document handed to the desktop's opener; the scroll buttons down and up on a long section.
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_open_full_screen

# Section hover inverts the name's span (the middle tile 0x005000 becomes 0xFFAFFF), each section in
# turn; the last one, of one entry, is pressed first. A press brings the list in: its body (0x801010),
# with a row (0x881818) for each entry.
for section in 2 1 0; do
  x="$(section_x "$section")"
  point "$x" $((bar_y + 10))
  wait_until "section-hover-$section" 5 pixel_is "$x" $((bar_y + 16)) "#FFAFFF" ||
    fail "no highlight over section $section"
done
pass "each section under the pointer is inverted"
click "$(section_x 2)" $((bar_y + 10))
one_row() { pixel_is 180 $((list_y + 57)) "#881818" && pixel_is 180 "$(row_y 1)" "#801010"; }
wait_until one-row-list 10 one_row || fail "the third section's list of one entry did not come in"
pass "the third section's list slid in with its one row"
games_x="$(section_x 0)"
point "$games_x" $((bar_y + 10))
click "$games_x" $((bar_y + 10))
# At rest: the banner at the top, five row backgrounds (0x881818) from list line 56, the body below.
list_at_rest() {
  pixel_is 150 $((list_y + 5)) "#300030" && pixel_is 180 $((list_y + 57)) "#881818" &&
    pixel_is 180 "$(row_y 4)" "#881818" && pixel_is 180 "$(row_y 5)" "#801010"
}
wait_until list-in 10 list_at_rest || fail "the list did not slide in and come to rest with five rows"
pass "the first section's list slid in with its five rows"

# Row hover inverts the row (0x881818 becomes 0x77E7E7).
point 150 "$(row_y 0)"
wait_until row-hover 5 pixel_is 180 "$(row_y 0)" "#77E7E7" || fail "no row highlight"
pass "the row under the pointer is inverted"

# The first press selects the entry: the panel fades in with its first picture (red).
picture_x=$((panel_x + 200)); picture_y=$((panel_y + 170))
click_row 0
wait_until panel-in 10 hue_is "$picture_x" "$picture_y" red || fail "the panel did not fade in with the first picture"
pass "selecting an entry fades the panel in with its first picture"

# Picture numbers (three pictures: the first number at panel x 178) and the arrows.
number_x() { echo $((panel_x + 178 + 16 * ($1 - 1) + 8)); }
click "$(number_x 2)" $((panel_y + 278))
wait_until number-2 5 hue_is "$picture_x" "$picture_y" green || fail "number 2 did not show the second picture"
click $((panel_x + 323)) $((panel_y + 170))
wait_until next-arrow 5 hue_is "$picture_x" "$picture_y" blue || fail "the next arrow did not show the third picture"
click $((panel_x + 79)) $((panel_y + 170))
wait_until previous-arrow 5 hue_is "$picture_x" "$picture_y" green || fail "the previous arrow did not go back"
click "$(number_x 1)" $((panel_y + 278))
wait_until number-1 5 hue_is "$picture_x" "$picture_y" red || fail "number 1 did not show the first picture"
pass "picture numbers and arrows switch the pictures"

# The viewer: the first picture (320 × 240) at its own size in a silver border, centred on the screen.
open_viewer() {
  click "$picture_x" "$picture_y"
  wait_until "$1" 10 hue_is 600 384 red || fail "$1: the viewer did not open"
  hue_is 351 384 silver || fail "$1: no silver border at the viewer's left edge"
  hue_is_not 349 384 silver || fail "$1: the viewer is wider than its picture and border"
  click 600 384
  wait_until "$1-closed" 10 hue_is_not 600 384 red || fail "$1: the viewer did not close"
}
open_viewer viewer
pass "the viewer opens at the picture's size and closes on a press"

# After the viewer: the list's next presses select and activate (the document goes to the opener).
click_row 1
wait_until after-viewer-select 10 hue_is_not "$picture_x" "$picture_y" red ||
  fail "after the viewer the list does not answer a press (the entry was not selected)"
click_row 1
recorded opened "$work/disc/dokument/czytaj.txt" ||
  fail "after the viewer a second press on the row did not open the entry's document (opened: $(e2e_system_record opened 2>/dev/null))"
pass "after the viewer the list selects and a second press opens the document"

# A program entry: a second press starts it in its own directory.
click_row 0
wait_until program-selected 10 hue_is "$picture_x" "$picture_y" red || fail "the program entry was not selected"
click_row 0
recorded program-directory "$work/disc/obrazki" ||
  fail "a second press on the row did not start the program in its own directory (it ran in: $(e2e_system_record program-directory 2>/dev/null))"
pass "a second press starts the program in its own directory"

# After the viewer once more, the panel's run button answers.
rm -f "$records/program-directory"
open_viewer viewer-again
click $((panel_x + 196)) $((panel_y + 327))
recorded program-directory "$work/disc/obrazki" || fail "after the viewer the run button did not start the program"
pass "after the viewer the run button starts the program"

# After the viewer the bar answers too: the second section, of 25 entries, comes in with its
# scroll-down button.
programs_x="$(section_x 1)"
click "$programs_x" $((bar_y + 10))
down_x=94; down_y=$((list_y + 446)); up_y=$((list_y + 46))
wait_until long-list 10 pixel_is "$down_x" "$down_y" "#003300" || fail "no scroll-down button on a list of 25"
pixel_is "$down_x" "$up_y" "#003300" && fail "a scroll-up button on a list at its top"
first_row() { crop_sum 4 $(($(row_y 0) - 8)) 120 16; }
top_rows="$(first_row)"
pass "the bar answers after the viewer; a list of 25 shows its scroll-down button"

point "$down_x" "$down_y"
wait_until scroll-down-lit 5 pixel_is "$down_x" "$down_y" "#006600" || fail "the scroll-down button does not light"
xdotool click 1
wait_until scrolled-1 5 pixel_is "$down_x" "$up_y" "#000033" || fail "no scroll-up button after a scroll down"
[ "$(first_row)" != "$top_rows" ] || fail "the first row did not change after a scroll down"
for i in 2 3 4 5 6; do xdotool click 1; sleep 0.3; done
wait_until scrolled-6 5 pixel_is_not "$down_x" "$down_y" "#006600" || fail "the scroll-down button stays after the last entry came in"
pixel_is_not "$down_x" "$down_y" "#003300" || fail "the scroll-down button stays after the last entry came in"
pass "six presses scroll down to the last entry and hide the scroll-down button"

point "$down_x" "$up_y"
for i in 1 2 3 4 5 6; do xdotool click 1; sleep 0.3; done
wait_until scrolled-back 5 pixel_is_not "$down_x" "$up_y" "#000066" || fail "the scroll-up button stays at the top"
pixel_is_not "$down_x" "$up_y" "#000033" || fail "the scroll-up button stays at the top"
pixel_is "$down_x" "$down_y" "#003300" || fail "no scroll-down button after scrolling back up"
[ "$(first_row)" = "$top_rows" ] || fail "the first row is not the first entry after scrolling back"
pass "six presses up bring the first entry back and hide the scroll-up button"

e2e_close_menu "$bar_x" "$bar_y" "$bar_w"
echo "OK"
