# The Windows menu's side of the end-to-end roads, sourced by e2e_lib.sh when KELVOX_E2E_SYSTEM=windows.
# The bundle (the folder of MENU-PROGRAM: the menu, unrar.dll, Qt's and MinGW's DLLs) goes to the disc's
# kelvox-windows\ folder and runs under wine in a prefix of the road's own, started with the disc's root
# as the current directory as autorun starts it, or from inside its folder as a double click does
# (e2e_start_in=program-folder). The settings live in that prefix's registry; a document is opened
# through the shell's "open" of an association that records the file it was given.
for tool in wine wineserver winepath iconv; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is missing, the Windows menu cannot run"; exit 77; }
done
export WINEPREFIX="$work/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
# Every DLL must come from the bundle, as on a reader's machine: no search path of the build's.
unset WINEPATH
e2e_settings_key='HKEY_LOCAL_MACHINE\SOFTWARE\Kelvox cover menu'
e2e_program_folder=kelvox-windows
menu_window_class='^kelvox-menu\.exe$'
# wine's first start of a program in a new prefix sets up its services and fonts.
menu_start_tenths=600

# wine_quiet COMMAND...: a wine program whose output nobody reads. Its input and output go nowhere, or
# the services it starts keep a pipe of ctest's open.
wine_quiet() { "$@" >/dev/null 2>&1 </dev/null; }

e2e_system_prepare() {
  export HOME="$work/home"
  # The music goes to ALSA, which needs a device even on a machine without sound.
  printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
  mkdir -p "$WINEPREFIX"
  wine_quiet wineserver -p
  wine_quiet wineboot -i || fail "wine could not make its prefix in $WINEPREFIX"
  e2e_profile="$(winepath -u "$(wine cmd /c 'echo %USERPROFILE%' 2>/dev/null </dev/null | tr -d '\r')")"
  [ -d "$e2e_profile" ] || fail "wine's profile folder ($e2e_profile) is not there"
  records_windows="$(winepath -w "$records")"
  # The shell's "open" of a text file runs the command interpreter, which appends the file's name.
  {
    printf 'REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.txt]\n@="kelvox.e2e.document"\n\n'
    printf '[HKEY_CLASSES_ROOT\\kelvox.e2e.document\\shell\\open\\command]\n'
    printf '@="C:\\\\windows\\\\system32\\\\cmd.exe /d /c echo %%1>>\\"%s\\\\opened\\""\n' \
      "${records_windows//\\/\\\\}"
  } >"$work/association.reg"
  wine_quiet wine reg import "$(winepath -w "$work/association.reg")" ||
    fail "the document association could not be written to wine's registry"
}

# A program started through the command interpreter takes the keyboard, and wine gives it back to no
# one when it ends: the reader clicks the menu, where the pointer stands, to bring it to the front.
e2e_system_back_to_menu() {
  sleep 1
  xdotool click 1
  sleep 0.3
}

# The bundle always has its own folder.
e2e_system_own_folder() { :; }

e2e_system_install() {
  mkdir -p "$work/disc/$e2e_program_folder"
  cp -r "$(dirname "$e2e_menu")/." "$work/disc/$e2e_program_folder/"
}

# wine's server keeps the screen's size it first saw: a road that changes X servers (maybe on the same
# display number) starts it anew.
wine_x_server=""
wine_on_this_x_server() {
  [ "$wine_x_server" != "$xvfb_pid" ] || return 0
  wine_quiet wineserver -k || true
  wine_quiet wineserver -w || true
  wine_quiet wineserver -p
  wine_x_server="$xvfb_pid"
}

e2e_system_launch() {
  wine_on_this_x_server
  export KELVOX_E2E_RECORDS="$records_windows"
  local folder="$work/disc" program="$e2e_program_folder\\kelvox-menu.exe"
  if [ "$e2e_start_in" = program-folder ]; then folder="$work/disc/$e2e_program_folder"; program=kelvox-menu.exe; fi
  (cd "$folder" && exec wine "$program") >"$work/menu.log" 2>&1 </dev/null &
  menu_pid=$!
}

e2e_system_seed_settings() {
  wine_quiet wine reg delete "$e2e_settings_key" /f || true
  printf '%s' "$1" >"$work/seed.reg"
  wine_quiet wine reg import "$(winepath -w "$work/seed.reg")" || fail "the settings could not be written to wine's registry"
}

# wine's export is in UTF-16 with its own header; the key and value lines read as the menu's file does.
e2e_system_settings() {
  rm -f "$work/saved.reg"
  wine_quiet wine reg export "$e2e_settings_key" "$(winepath -w "$work/saved.reg")" /y || return 0
  iconv -f UTF-16 -t UTF-8 "$work/saved.reg" | tr -d '\r' | grep '^["[]' | LC_ALL=C sort
}

# The command interpreter writes Windows' names ("Z:\tmp\...", maybe quoted); as paths of this machine.
e2e_system_record() {
  local line
  tr -d '\r"' <"$records/$1" | sed 's/ *$//' | while IFS= read -r line; do winepath -u "$line"; done
}

e2e_system_cleanup() {
  wine_quiet wineserver -k || true
  wine_quiet wineserver -w || true
}

# e2e_wine_shell_desktop WIDTHxHEIGHT: every wine program of the road runs in one virtual desktop of that
# size with the shell's taskbar (a window of class Shell_TrayWnd) along its bottom, as on a reader's
# Windows; the desktop stays while it waits for the next program.
e2e_wine_shell_desktop() {
  wine_on_this_x_server
  wine_quiet wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f
  wine_quiet wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d "$1" /f
  wine explorer "/desktop=shell,$1" >"$work/desktop.log" 2>&1 </dev/null &
}
