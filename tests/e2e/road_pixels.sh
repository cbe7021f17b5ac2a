#!/usr/bin/env bash
# The Windows menu's skin against the Linux menu's, full screen on 1024 × 768 on the same disc with the
# same settings: the screen after the intro, and the first section's list with its first entry's panel.
# Every pixel outside the places that hold text (drawn by each system's font rasteriser) must be the
# same; the places where the two differ are listed either way.
# KELVOX_E2E_LINUX_MENU names the Linux menu.
. "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
[ "$e2e_system" = windows ] || { echo "FAIL: the pixel comparison drives the Windows menu"; exit 1; }
linux_menu="${KELVOX_E2E_LINUX_MENU:-}"
[ -x "$linux_menu" ] || fail "no Linux menu to compare with (KELVOX_E2E_LINUX_MENU: '$linux_menu')"

e2e_disc
mkdir "$work/disc/kelvox-linux"
cp "$linux_menu" "$work/disc/kelvox-linux/kelvox-menu"
cp "$(dirname "$linux_menu")/libkelvox_music.so" "$work/disc/kelvox-linux/"
linux_start() { e2e_program_folder=kelvox-linux e2e_linux_launch; }
e2e_xserver 1024x768

# shoot SYSTEM LAUNCH: the menu started by LAUNCH; the two screens kept as SYSTEM-start and SYSTEM-panel.
shoot() {
  export HOME="$work/home"
  unset QT_QPA_PLATFORM
  "$2"
  window="$(wait_for_window "$menu_start_tenths" "$menu_pid" --class kelvox-menu)" || fail "$1: no menu window"
  e2e_layout full
  wait_for_intro
  e2e_shot "$1-start"
  click "$(section_x 0)" $((bar_y + 10))
  wait_until "$1-list" 10 list_at_rest || fail "$1: the list did not come in and stop"
  click_row 0
  wait_until "$1-panel-in" 10 hue_is $((panel_x + 200)) $((panel_y + 170)) red || fail "$1: no panel"
  sleep 2 # the end of the panel's fade
  # The pointer, which each system draws its own way, goes to the desktop's corner first.
  xdotool mousemove 1023 0
  sleep 0.5
  e2e_shot "$1-panel"
  e2e_close_menu "$bar_x" "$bar_y" "$bar_w"
}
shoot linux linux_start
shoot windows e2e_system_launch

# The places that hold text, in screen pixels (x, y, width, height): the ticker strip, the section names
# on the bar, the list's banner and rows; in the panel the title and description, the requirements, the
# pictures' numbers and the run button's word.
text_boxes=(
  "0 $band $layout_width 22"
  "$bar_x $bar_y $bar_w 22"
  "0 $list_y 188 170"
  "$panel_x $panel_y 802 70"
  "$((panel_x + 360)) $((panel_y + 250)) 440 40"
  "$((panel_x + 170)) $((panel_y + 265)) 60 25"
  "$((panel_x + 160)) $((panel_y + 315)) 80 20"
)

# differences A B: the bounding boxes (WxH+X+Y) of the areas where the two screenshots differ.
differences() {
  convert "$1" "$2" -compose difference -composite -colorspace gray -threshold 0 \
    -define connected-components:verbose=true -connected-components 8 null: 2>/dev/null |
    awk '$NF == "gray(255)" || $NF == "white" || $NF ~ /#FFFFFF/ { print $2 }'
}
# inside_text BOX: the box lies within one of the text places.
inside_text() {
  local w h x y tb
  IFS='x+' read -r w h x y <<<"$1"
  for tb in "${text_boxes[@]}"; do
    read -r tx ty tw th <<<"$tb"
    [ "$x" -ge "$tx" ] && [ "$y" -ge "$ty" ] && [ $((x + w)) -le $((tx + tw)) ] && [ $((y + h)) -le $((ty + th)) ] && return 0
  done
  return 1
}

outside=0
for screen in start panel; do
  boxes="$(differences "$e2e_shots/linux-$screen.png" "$e2e_shots/windows-$screen.png")"
  echo "$screen: $(grep -c . <<<"$boxes" || true) areas differ"
  while read -r box; do
    [ -n "$box" ] || continue
    if inside_text "$box"; then echo "  text:    $box"; else echo "  OUTSIDE: $box"; outside=$((outside + 1)); fi
  done <<<"$boxes"
done
[ "$outside" -eq 0 ] || fail "$outside areas outside the text differ between the Linux and the Windows menu"
pass "outside the text the Windows menu's pixels are the Linux menu's"
echo "OK"
