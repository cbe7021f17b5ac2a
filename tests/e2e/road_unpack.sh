#!/usr/bin/env bash
# Unpacking, full screen on 1024 × 768: the dialog at (226, 187), a new directory made with
# "[ utwórz katalog ]", a name and Enter, "[ wypakuj ]" extracting there byte for byte, "[ przerwij ]",
# a run of many files cancelled from the strip, and a file that fails: its name stays on the strip until
# the cancel area is pressed, without the run keeping the processor busy. After each the window answers.
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_open_full_screen

picture_x=$((panel_x + 200)); picture_y=$((panel_y + 170))
click "$(section_x 0)" $((bar_y + 10))
wait_until list-in 10 list_at_rest || fail "the list did not come in and stop"

# The dialog's labels, in screen pixels of a dialog at (226, 187).
dialog_x=226; dialog_y=187
label_y=$((dialog_y + 203))
make_dir_x=$((dialog_x + 186)); unpack_x=$((dialog_x + 269)); abort_x=$((dialog_x + 326))
cancel_x=$((ox + 40)); cancel_y=$((band + 10))

# open_dialog ROW NAME: select the row's entry, press it again, and find the dialog in its place.
open_dialog() {
  click_row "$1"
  # The second press comes from the same row once the panel's fade has ended.
  click_row "$1"
  local dialog
  dialog="$(wait_for_unpack_dialog)" || fail "$2: the unpack dialog did not open"
  local geometry
  geometry="$(xdotool getwindowgeometry "$dialog")"
  grep -q "Position: $dialog_x,$dialog_y" <<<"$geometry" && grep -q "Geometry: 358x223" <<<"$geometry" ||
    fail "$2: the dialog is not 358x223 at ($dialog_x, $dialog_y): $geometry"
  e2e_shot "$2-dialog"
}

# new_directory NAME: "[ utwórz katalog ]" over the open directory (the home), the name, Enter.
new_directory() {
  click "$make_dir_x" "$label_y"
  sleep 0.3
  e2e_shot "$1-edit"
  xdotool key ctrl+a
  xdotool type --delay 30 "$1"
  xdotool key Return
  local i
  for i in $(seq 30); do [ -d "$e2e_profile/$1" ] && break; sleep 0.1; done
  [ -d "$e2e_profile/$1" ] || fail "$1: Enter in the new-directory edit made no directory"
  e2e_shot "$1-made"
}

dialog_gone() { ! xdotool search --onlyvisible --name '^rozpakuj( - Kelvox Cover menu)?$' >/dev/null 2>&1; }

# still_answers SHOT WHAT: the list selects an entry with pictures and then one without.
still_answers() {
  click_row 0
  wait_until "answers-$1" 10 hue_is "$picture_x" "$picture_y" red || fail "after $2 the list does not answer"
  click_row 1
  wait_until "answers-$1-2" 10 hue_is_not "$picture_x" "$picture_y" red || fail "after $2 the list does not answer"
  pass "after $2 the window answers"
}

strip_has_text() { [ "$(strip_text_pixels 100 900)" -gt 20 ]; }
strip_wiped() { [ "$(strip_text_pixels 0 1024)" -le 1 ]; }

# "[ wypakuj ]" into a new directory: the files as they went in.
open_dialog 2 paczka
new_directory cel
click "$unpack_x" "$label_y"
for i in $(seq 200); do diff -r "$work/expected" "$e2e_profile/cel" >/dev/null 2>&1 && break; sleep 0.1; done
wait_until paczka-done 20 strip_has_text || fail "no closing line after the unpack"
diff -r "$work/expected" "$e2e_profile/cel" || fail "the unpacked files differ from the archive's"
dialog_gone || fail "the dialog stayed after [ wypakuj ]"
pass "[ utwórz katalog ] made the directory; [ wypakuj ] extracted every file byte for byte into it"
wait_until paczka-wiped 15 strip_wiped || fail "the strip was not wiped after the run"
still_answers unpack "an unpack"

# "[ przerwij ]": the dialog goes and nothing is written.
before="$(find "$e2e_profile" -not -path '*/.cache*' | sort | md5sum)"
open_dialog 2 abort
click "$abort_x" "$label_y"
for i in $(seq 30); do dialog_gone && break; sleep 0.1; done
dialog_gone || fail "[ przerwij ] did not close the dialog"
sleep 1
[ "$(find "$e2e_profile" -not -path '*/.cache*' | sort | md5sum)" = "$before" ] || fail "[ przerwij ] changed files"
pass "[ przerwij ] closes the dialog and writes nothing"
still_answers abort "[ przerwij ]"

# A run of 4000 files, cancelled from the strip's cancel picture.
open_dialog 3 wielka
new_directory wielka
click "$unpack_x" "$label_y"
for i in $(seq 100); do [ "$(find "$e2e_profile/wielka" -type f | wc -l)" -gt 50 ] && break; sleep 0.1; done
e2e_shot wielka-running
pixel_is "$cancel_x" "$cancel_y" "#FF0000" || fail "no cancel picture on the strip during the run"
click "$cancel_x" "$cancel_y"
sleep 1
count="$(find "$e2e_profile/wielka" -type f | wc -l)"
sleep 1
[ "$(find "$e2e_profile/wielka" -type f | wc -l)" = "$count" ] || fail "the run goes on after the cancel area was pressed"
[ "$count" -lt 4000 ] || fail "the run was not cancelled (all 4000 files came out)"
e2e_shot wielka-cancelled
pass "the cancel area stopped the run after $count of 4000 files"
wait_until wielka-wiped 15 strip_wiped || fail "the strip was not wiped after the cancelled run"
still_answers cancel "a cancelled run"

# A file that fails: its line stays on the strip until the cancel area is pressed.
open_dialog 4 zepsuta
new_directory zly
click "$unpack_x" "$label_y"
wait_for_file "$e2e_profile/zly/dobry.bin" 10 || fail "the file before the damaged one was not extracted"
sleep 1
e2e_shot failed-line
failed_line="$(crop_sum 100 "$band" 924 22)"
strip_has_text || fail "no failure line on the strip"
ticks_before="$(awk '{ print $14 + $15 }' "/proc/$menu_pid/stat")"
sleep 3
ticks_after="$(awk '{ print $14 + $15 }' "/proc/$menu_pid/stat")"
e2e_shot failed-line-later
[ "$(crop_sum 100 "$band" 924 22)" = "$failed_line" ] || fail "the failure line did not stay as it was"
pixel_is "$cancel_x" "$cancel_y" "#FF0000" || fail "the cancel picture went while the failure line waits"
[ ! -e "$e2e_profile/zly/nastepny.bin" ] || fail "the run went past the damaged file"
hz="$(getconf CLK_TCK)"
echo "the menu's processor time over 3 s of waiting: $((ticks_after - ticks_before)) ticks of 1/$hz s"
[ $(((ticks_after - ticks_before) * 100 / hz)) -lt 60 ] || fail "the wait keeps the processor busy"
pass "the failing file's line stays on the strip, and the run waits without spinning"
click "$cancel_x" "$cancel_y"
strip_changed() { [ "$(crop_sum 100 "$band" 924 22)" != "$failed_line" ]; }
wait_until failed-closed 10 strip_changed ||
  fail "the cancel press did not bring the closing line"
wait_until failed-wiped 15 strip_wiped || fail "the strip was not wiped after the failure"
pass "a press on the cancel area ends the wait with the closing line and the wipe"
still_answers failure "a failed run"

e2e_close_menu "$bar_x" "$bar_y" "$bar_w"
echo "OK"
