# Shared by the end-to-end road scripts: a private X server, the generated disc, the real menu started
# from the disc's root, and the reader's hands (xdotool) and eyes (screenshots, pixels).
# A road script is called as: ROAD.sh MENU-PROGRAM DISC-TOOL SHOTS-DIR [UNRAR-MODULE]
# The menu is the Linux one unless KELVOX_E2E_SYSTEM=windows: then MENU-PROGRAM is kelvox-menu.exe in
# the Windows bundle, which runs under wine (e2e_windows.sh). What differs between the systems is kept
# in the e2e_system_* functions: how the menu is put on the disc and started, where its settings are
# kept, what records a started program and an opened document, and the reader's own folder.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/x_windows.sh"
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/x-server.sh"

e2e_menu="$1"; e2e_disc_tool="$2"; e2e_shots="$3"; e2e_unrar="${4:-}"
e2e_system="${KELVOX_E2E_SYSTEM:-linux}"
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is missing, no X server can be started"; exit 77; }
done
work="$(mktemp -d)"
records="$work/records"
mkdir -p "$records" "$work/bin" "$work/home" "$work/runtime" "$e2e_shots"
chmod 700 "$work/runtime"
rm -f "$e2e_shots"/*.png
menu_pid=""; xvfb_pid=""; wm_pid=""
e2e_cleanup() {
  local pid
  for pid in $menu_pid $wm_pid; do kill "$pid" 2>/dev/null || true; done
  for pid in $menu_pid $wm_pid; do wait "$pid" 2>/dev/null || true; done
  e2e_system_cleanup
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*"
  [ -n "${last_shot:-}" ] && echo "  last screenshot: $last_shot"
  # A server gone in the middle explains every failure after it.
  [ -n "$xvfb_pid" ] && ! kill -0 "$xvfb_pid" 2>/dev/null && echo "  the X server on $DISPLAY has ended"
  [ -f "$work/menu.log" ] && { echo "  menu output:"; sed 's/^/    /' "$work/menu.log" | tail -n 40; }
  exit 1
}
pass() { echo "ok: $*"; }

# The Linux menu's side.
# e2e_system_prepare: the reader's desktop tools (xdg-open records what it was asked to open) and folder.
e2e_system_prepare() {
  printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s/opened"\n' "$records" >"$work/bin/xdg-open"
  chmod +x "$work/bin/xdg-open"
  e2e_profile="$work/home"
}
# e2e_system_install: the menu with its music module, and the RAR module, in the disc's root.
e2e_system_install() {
  cp "$e2e_menu" "$work/disc/kelvox-menu"
  cp "$(dirname "$e2e_menu")/libkelvox_music.so" "$work/disc/"
  [ ! -f "$e2e_unrar" ] || cp "$e2e_unrar" "$work/disc/"
}
# e2e_system_own_folder: the menu moves into a folder of its own on the disc, as on a real disc.
e2e_system_own_folder() {
  mkdir -p "$work/disc/kelvox-linux"
  mv "$work/disc/kelvox-menu" "$work/disc/libkelvox_music.so" "$work/disc/kelvox-linux/"
  e2e_program_folder=kelvox-linux
}
# e2e_system_launch: the menu started in the background as e2e_start_in says; sets menu_pid.
e2e_system_launch() { e2e_linux_launch; }
e2e_linux_launch() {
  export KELVOX_REGISTRY="$work/registry.reg" KELVOX_E2E_RECORDS="$records"
  export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" QT_MEDIA_BACKEND=gstreamer
  export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" PATH="$work/bin:$PATH"
  local folder="$work/disc" program="./${e2e_program_folder:+$e2e_program_folder/}kelvox-menu"
  if [ "$e2e_start_in" = program-folder ]; then folder="$work/disc/$e2e_program_folder"; program=./kelvox-menu; fi
  (cd "$folder" && exec "$program") >"$work/menu.log" 2>&1 &
  menu_pid=$!
}
menu_window_class=kelvox-menu
# How long a start may take to show the window, in tenths of a second.
menu_start_tenths=150
# e2e_system_seed_settings CONTENT: the settings the next start reads, as registry_content writes them.
e2e_system_seed_settings() { printf '%s' "$1" >"$work/registry.reg"; }
# e2e_system_settings: the saved values, a "NAME"=value line each, in the order of their names.
e2e_system_settings() { [ ! -f "$work/registry.reg" ] || tr -d '\r' <"$work/registry.reg" | grep '^["[]' | LC_ALL=C sort; }
# e2e_system_record NAME: the paths a record holds, one a line, as the file system names them.
e2e_system_record() { cat "$records/$1"; }
e2e_system_cleanup() { :; }
# e2e_system_back_to_menu: after a started program, the keyboard is the menu's again (the stand-in
# programs here have no window to take it).
e2e_system_back_to_menu() { :; }
# The menu's own folder on the disc (empty: the disc's root), and where a start is made from: the disc's
# root (root) or that folder (program-folder).
e2e_program_folder=""
e2e_start_in=root

[ "$e2e_system" = linux ] || . "$(dirname "${BASH_SOURCE[0]}")/e2e_$e2e_system.sh"
e2e_system_prepare

# e2e_xserver WIDTHxHEIGHT: a private X server that answers.
e2e_xserver() {
  # A white root: whatever the window's region leaves out shows white, unlike anything the menu draws.
  x_server_start "$work" -screen 0 "$1x24" -wr ||
    { echo "SKIPPED: $x_server_error, no X server can be started"; exit 77; }
  xvfb_pid="$x_server_pid"
  export DISPLAY="$x_display"
}

# e2e_window_manager: openbox on the private server, as on a reader's desktop.
e2e_window_manager() {
  command -v openbox >/dev/null || { echo "SKIPPED: openbox is missing"; exit 77; }
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  local i
  for i in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
    sleep 0.1
  done
  fail "openbox did not come up"
}

# e2e_disc: the generated disc with the menu and the RAR module beside it, in $work/disc.
e2e_disc() {
  "$e2e_disc_tool" "$work/disc" "$work/expected" "$e2e_system" || fail "the disc could not be generated"
  e2e_system_install
  # A second of quiet music, so that the start has no message about it.
  sox -q -n -r 22050 -c 1 "$work/music.wav" synth 1 sine 440 vol 0.02 &&
    lame --quiet "$work/music.wav" "$work/disc/menu/muzyczka.mp3" || fail "no music could be made (sox, lame)"
}

# e2e_layout full|window: where the menu's layout lies on this screen. Sets the window's origin (ox, oy),
# layout_width, the band's screen top (band), the section bar (bar_x, bar_y, bar_w), the list's top
# (list_y), the detail panel's origin (panel_x, panel_y) and the settings drawer's top (drawer_y).
e2e_layout() {
  local sw sh
  read -r sw sh < <(xdotool getdisplaygeometry)
  if [ "$1" = full ]; then
    ox=0; oy=0; layout_width=$sw; band=$(((sh - 480) / 2))
  else
    layout_width=770; ox=$((sw / 2 - 385)); oy=$((sh / 2 - 248)); band=$((oy + 16))
  fi
  bar_x=$((ox + 188)); bar_y=$((band + 29)); bar_w=$((layout_width - 188))
  list_y=$((band + 22))
  panel_x=$((ox + 200)); panel_y=$((band + 86))
  drawer_y=$((band + 70))
}

# Screen y of the middle of list row R.
row_y() { echo $((list_y + 66 + 20 * $1)); }

# section_x I: screen x inside section I's name span, from the separators (yellow) on the bar.
section_x() {
  e2e_shot bar
  local seps
  seps="$(row_colours $((bar_y + 10)) "$bar_x" "$bar_w" | awk '$2 == "#FFFF00" { if ($1 != last + 1) print $1; last = $1 }')"
  local start
  start="$(sed -n "$(($1 + 1))p" <<<"$seps")"
  [ -n "$start" ] || fail "no separator for section $1 on the bar"
  echo $((start + 6))
}

# list_at_rest: the list has slid in and stopped: its banner reaches its right end and the first row
# stands in its place. A row's colour alone is seen while the list still moves, and a press then lands
# on another row, or on none.
list_at_rest() { pixel_is 180 $((list_y + 5)) "#300030" && pixel_is 180 $((list_y + 57)) "#881818"; }

# wait_for_intro: the bar's right end piece is drawn and the welcome text runs on the ticker strip.
wait_for_intro() {
  wait_until intro 20 intro_done || fail "the intro did not end with the bar and the welcome text"
}
intro_done() {
  pixel_is $((bar_x + bar_w - 140)) $((bar_y + 40)) "#006000" &&
    [ "$(strip_text_pixels)" -gt 20 ]
}

# e2e_launch_menu [REGISTRY-CONTENT]: starts the menu (with these settings) from the disc's root, or with
# e2e_start_in=program-folder from inside its own folder on the disc.
e2e_launch_menu() {
  export HOME="$work/home"
  unset QT_QPA_PLATFORM
  if [ $# -gt 0 ]; then e2e_system_seed_settings "$1"; fi
  e2e_system_launch
}

# e2e_start_menu [REGISTRY-CONTENT]: starts the menu and waits for its window.
e2e_start_menu() {
  e2e_launch_menu "$@"
  window="$(wait_for_window "$menu_start_tenths" "$menu_pid" --class "$menu_window_class")" || {
    kill -0 "$menu_pid" 2>/dev/null || fail "the menu ended at start"
    fail "no menu window"
  }
}

# e2e_open_full_screen [--window-manager]: the usual opening of a road: the disc, a 1024 × 768 server
# (with openbox when asked), the menu started full screen, its layout, the end of its intro.
e2e_open_full_screen() {
  e2e_disc
  e2e_xserver 1024x768
  [ "${1:-}" != --window-manager ] || e2e_window_manager
  e2e_start_menu
  e2e_layout full
  wait_for_intro
}

# e2e_shot NAME: a screenshot of the whole screen, kept in the shots directory.
e2e_shot() {
  last_shot="$e2e_shots/$1.png"
  import -window root "$last_shot"
}

# px X Y [FILE]: the colour #RRGGBB at a screen pixel of the last screenshot (or FILE).
px() {
  convert "${3:-$last_shot}" -crop "1x1+$1+$2" -depth 8 txt:- | tail -n 1 | grep -o '#[0-9A-F]\{6\}' | head -n 1
}

# row_colours Y X0 WIDTH: "x colour" for each pixel of a row of the last screenshot.
row_colours() {
  convert "$last_shot" -crop "${3}x1+$2+$1" -depth 8 txt:- |
    sed -n 's/^\([0-9]*\),0: .*\(#[0-9A-F]\{6\}\).*/\1 \2/p' | awk -v x0="$2" '{ print $1 + x0, $2 }'
}

# count_colour Y X0 WIDTH COLOUR: how many pixels of the row have the colour.
count_colour() { row_colours "$1" "$2" "$3" | awk -v c="$4" '$2 == c { n++ } END { print n + 0 }'; }

# strip_text_pixels [X0 WIDTH]: pixels of text on the ticker strip (anything but black), over three rows.
strip_text_pixels() {
  local x0="${1:-$ox}" width="${2:-$layout_width}"
  convert "$last_shot" -crop "${width}x12+${x0}+$((band + 5))" -depth 8 txt:- | grep -vc '#000000' || true
}

# The reader's hand: reach the point with a small move first (so the program sees the pointer arrive
# over the place, as a hand's moves always do), then press and release.
point() { xdotool mousemove "$(($1 - 1))" "$2"; sleep 0.1; xdotool mousemove "$1" "$2"; sleep 0.15; }
click() { point "$1" "$2"; xdotool click "${3:-1}"; sleep 0.15; }

# click_row R: a reader's press on list row R. The list answers a press only on its highlight, which
# no pointer move brings while an animation runs (the panel's fade after a press, slower under wine):
# the pointer is moved onto the row until the row shows inverted, and only then pressed.
click_row() {
  local y end=$((SECONDS + 10))
  y="$(row_y "$1")"
  until point 100 "$y" && e2e_shot row-ready && pixel_is 180 "$y" "#77E7E7"; do
    [ "$SECONDS" -ge "$end" ] && fail "row $1 was not highlighted under the pointer"
    sleep 0.2
  done
  xdotool click 1
  sleep 0.15
}

# wait_until NAME SECONDS COMMAND...: takes screenshots until the command succeeds on one.
wait_until() {
  local name="$1" limit="$2"; shift 2
  local end=$((SECONDS + limit))
  while true; do
    e2e_shot "$name"
    "$@" && return 0
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.2
  done
}
pixel_is() { [ "$(px "$1" "$2")" = "$3" ]; }
pixel_is_not() { [ "$(px "$1" "$2")" != "$3" ]; }

# wait_for_file FILE SECONDS
wait_for_file() {
  local i
  for i in $(seq $(($2 * 10))); do [ -s "$1" ] && return 0; sleep 0.1; done
  return 1
}

# The menu must still be running (a road never ends it by accident).
menu_alive() { kill -0 "$menu_pid" 2>/dev/null || fail "the menu ended: $*"; }

# e2e_close_menu: the section bar's close button; the program ends with status 0.
e2e_close_menu() {
  local bar_x="$1" bar_y="$2" bar_width="$3"
  click $((bar_x + bar_width - 50)) $((bar_y + 8))
  local i
  for i in $(seq 100); do kill -0 "$menu_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$menu_pid" 2>/dev/null && fail "the close button did not end the menu"
  local status=0
  wait "$menu_pid" || status=$?
  menu_pid=""
  [ "$status" -eq 0 ] || fail "exit status $status after the close button"
  pass "the close button ends the menu with status 0"
}

# hue X Y: red, green, blue, silver or other, for the flat pictures after JPEG's rounding.
hue() {
  local c r g b
  c="$(px "$1" "$2")"
  r=$((16#${c:1:2})); g=$((16#${c:3:2})); b=$((16#${c:5:2}))
  if [ $r -gt 200 ] && [ $g -lt 60 ] && [ $b -lt 60 ]; then echo red
  elif [ $g -gt 200 ] && [ $r -lt 60 ] && [ $b -lt 60 ]; then echo green
  elif [ $b -gt 200 ] && [ $r -lt 60 ] && [ $g -lt 60 ]; then echo blue
  elif [ "$c" = "#C0C0C0" ]; then echo silver
  else echo other; fi
}
hue_is() { [ "$(hue "$1" "$2")" = "$3" ]; }
hue_is_not() { [ "$(hue "$1" "$2")" != "$3" ]; }

# crop_sum X Y W H: a checksum of a rectangle of the last screenshot, to compare what stands there.
crop_sum() { convert "$last_shot" -crop "${3}x${4}+$1+$2" -depth 8 rgb:- | md5sum | cut -c1-32; }

# settings_saved FULL ANIMATIONS TASKBAR PICTURE SOUND: within five seconds the saved settings are these
# five, as the menu writes them one after the other; says what was saved when they are not.
settings_saved() {
  local want got="" i
  want="$(registry_content "$@" | grep '^["[]' | LC_ALL=C sort)"
  for i in $(seq 25); do
    got="$(e2e_system_settings)"
    [ "$got" = "$want" ] && return 0
    sleep 0.2
  done
  echo "saved settings:"; echo "$got"
  return 1
}

# recorded NAME PATH: within ten seconds the record NAME (a started program's directory, an opened
# document) holds PATH.
recorded() {
  wait_for_file "$records/$1" 10 && grep -qxF "$2" <<<"$(e2e_system_record "$1")"
}

# The settings drawer. Its rows (the drawer's own pixels): the X to press, the Y to press and the tick
# mark's line.
declare -A row_x=([full]=80 [animations]=90 [taskbar]=80 [none]=80 [picture1]=90 [picture2]=90 [sound]=100 [save]=60)
declare -A row_y=([full]=24 [animations]=38 [taskbar]=55 [none]=72 [picture1]=159 [picture2]=249 [sound]=279 [save]=369)
declare -A mark=([full]=21 [animations]=37 [taskbar]=53 [none]=70 [picture1]=157 [picture2]=247 [sound]=277)

drawer_x() { echo $((ox + layout_width - 144)); }
drawer_open() { pixel_is $(($(drawer_x) + 20)) $((drawer_y + 200)) "#B8FDB4"; }
open_drawer() {
  point $((ox + layout_width - 10)) $((drawer_y + 200))
  wait_until "$1" 5 drawer_open || fail "$1: the drawer did not open over its tab"
}
# The tick mark's second pixel (129, m + 1) is black when the row is ticked.
ticked() { pixel_is $(($(drawer_x) + 129)) $((drawer_y + ${mark[$1]} + 1)) "#000000"; }
press_row() { click $(($(drawer_x) + ${row_x[$1]})) $((drawer_y + ${row_y[$1]})); }
# toggle ROW: the tick mark follows each press.
toggle() {
  local was=yes
  ticked "$1" || was=no
  press_row "$1"
  sleep 0.3
  e2e_shot "toggle-$1"
  if [ $was = yes ]; then ticked "$1" && fail "a press on the $1 row left its tick mark"
  else ticked "$1" || fail "a press on the $1 row drew no tick mark"; fi
  return 0
}
