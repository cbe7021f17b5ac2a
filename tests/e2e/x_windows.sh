# Finding the menu's windows on an X server, shared by the end-to-end roads, the smoke run and the
# reader's-machine test.

# wait_for_window TENTHS PID XDOTOOL-SEARCH-ARGS...: prints the first visible window matching the search
# within TENTHS tenths of a second; fails (status 1, nothing printed) when none comes, or at once when
# PID (if not empty) has ended.
wait_for_window() {
  local tenths="$1" pid="$2" found="" i
  shift 2
  for i in $(seq "$tenths"); do
    found="$(xdotool search --onlyvisible "$@" 2>/dev/null | head -n 1 || true)"
    [ -n "$found" ] && { echo "$found"; return 0; }
    [ -z "$pid" ] || kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# The unpack dialog's window, titled "rozpakuj" (on Windows Qt adds the application's name).
wait_for_unpack_dialog() { wait_for_window "${1:-50}" "" --name '^rozpakuj( - Kelvox Cover menu)?$'; }

# registry_content FULL ANIMATIONS TASKBAR PICTURE SOUND: a registry file holding the five settings, as
# the menu writes it.
registry_content() {
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvox cover menu]\n"PELNY_EKRAN"=dword:%08d\n"ANIMACJE"=dword:%08d\n"PASEK_ZADAN"=dword:%08d\n"TAPETA"="%s"\n"DZWIEK"=dword:%08d\n' \
    "$1" "$2" "$3" "$4" "$5"
}

# pixel FILE X Y: the colour #RRGGBB of a screenshot's pixel.
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -n 1 | grep -o '#[0-9A-F]\{6\}'; }

# press X Y: a reader's press; a move first, since the menu's hover marks decide what a press hits.
press() { xdotool mousemove "$1" "$2"; sleep 0.3; xdotool mousemove "$(($1 + 1))" "$2" click 1; }

# press_first_section_for_list BEFORE AFTER: presses the first section of a full screen on 768 lines (the
# band starts at 144; the first section stands right of the bar's x 48) and waits up to 15 s for its list
# to come in, comparing screenshots with BEFORE (taken before the press) in AFTER.
press_first_section_for_list() {
  local try y changed
  press 250 182
  for try in $(seq 15); do
    sleep 1
    import -window root "$2"
    changed=0
    for y in 240 300 360 420; do
      [ "$(pixel "$1" 60 "$y")" != "$(pixel "$2" 60 "$y")" ] && changed=$((changed + 1))
    done
    [ "$changed" -ge 2 ] && return 0
  done
  return 1
}
