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
