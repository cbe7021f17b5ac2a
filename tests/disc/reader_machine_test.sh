#!/usr/bin/env bash
# The demo disc's image on a clean reader's machine: a minimal Debian 12 with only the reader's base
# packages (scripts/reader-machine.sh), the image's files extracted read-only at /media/reader/KELVOX, the
# menu started through autorun by an ordinary user on a private X server. It must come up full screen,
# bring a section's list on a press, unpack an archive into the user's home byte for byte, and map no
# shared library from anywhere but its bundle and the reader's base.
# Screenshots of its steps and the list of libraries it mapped are left in SHOTS-DIR.
# Usage: reader_machine_test.sh SOURCE-DIR DEMO-CONTENT CACHE-DIR SHOTS-DIR
set -euo pipefail
source_dir="$1"; content="$2"; cache="$3"; shots="$4"
source "$source_dir/scripts/mount-guard.sh"
source "$source_dir/tests/e2e/x_windows.sh"
source "$source_dir/scripts/x-server.sh"

skip() { echo "SKIPPED: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "not root: chroot and mount need root"
for tool in xorriso Xvfb xdotool import convert unar chroot; do
  command -v "$tool" >/dev/null || skip "$tool is missing"
done

work="$(mktemp -d)"
mkdir -p "$shots"
rm -f "$shots"/*.png
root="$cache/root"
disc_dir="/media/reader/KELVOX"
menu_pid=""; xvfb_pid=""; sampler_pid=""
cleanup() {
  local pid
  for pid in $menu_pid $sampler_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
  for pid in $menu_pid $sampler_pid $xvfb_pid; do wait "$pid" 2>/dev/null || true; done
  # Unmounted before anything is deleted; with something still mounted nothing in the root is touched.
  if unmount_under "$root"; then
    remove_tree "$root/media/reader" || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" | tee "$shots/failure.txt"
  [ -f "$work/menu.log" ] && { echo "  menu output:"; sed 's/^/    /' "$work/menu.log" | tail -n 30; }
  import -window root "$shots/failure.png" 2>/dev/null && echo "  screenshot: $shots/failure.png"
  exit 1
}

"$source_dir/scripts/make-disc.sh" "$content" "$work/disc.iso" >"$work/make-disc.log" 2>&1 ||
  { tail -n 20 "$work/make-disc.log"; fail "make-disc.sh could not make the image"; }
"$source_dir/scripts/reader-machine.sh" "$cache" || { status=$?; [ "$status" -eq 77 ] && exit 77; fail "no reader's machine"; }

exec 9>"$cache/lock"
flock 9
# Left over from a run that was killed: its mounts go before anything of it is deleted.
unmount_under "$root" || fail "cannot unmount what is left in $root"
remove_tree "$root/media/reader"
mkdir -p "$root$disc_dir"
xorriso -no_rc -report_about FAILURE -osirrox on -indev "$work/disc.iso" -extract / "$root$disc_dir" ||
  fail "the image's files could not be extracted"
chmod -R a-w "$root$disc_dir"

# A home of its own for this run, and the session's runtime directory.
chroot "$root" sh -c 'rm -rf /home/reader /tmp/runtime-reader && mkdir -p /home/reader &&
  mkdir -m 700 /tmp/runtime-reader && chown reader:reader /home/reader /tmp/runtime-reader'
reader_ids="$(chroot "$root" id -u reader):$(chroot "$root" id -g reader)"

x_server_start "$work" -screen 0 1024x768x24 || skip "$x_server_error"
xvfb_pid="$x_server_pid"
display="$x_display"
export DISPLAY="$display"

# Only the X server's socket directory (read-only) and a proc of its own go into the root.
mkdir -p "$root/tmp/.X11-unix" "$root/proc"
mount -t proc proc "$root/proc"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mount -o remount,bind,ro "$root/tmp/.X11-unix"

# The reader's session: nothing of ours in its environment, the disc started by its path.
chroot --userspec="$reader_ids" --groups="" "$root" /usr/bin/env -i HOME=/home/reader USER=reader \
  LOGNAME=reader PATH=/usr/local/bin:/usr/bin:/bin DISPLAY="$display" XDG_RUNTIME_DIR=/tmp/runtime-reader \
  LANG=C.UTF-8 /bin/sh -c "cd /home/reader && exec sh $disc_dir/autorun" >"$work/menu.log" 2>&1 &
menu_pid=$!
# The maps are read all along, once chroot and sh have given way to the menu: the RAR module and its
# libraries are mapped only while an archive is open.
root_real="$(realpath "$root")"
bundle_dir="$disc_dir/kelvox-linux/"
for _ in $(seq 100); do
  [[ "$(readlink "/proc/$menu_pid/exe" 2>/dev/null)" == "$root_real$bundle_dir"* ]] && break
  sleep 0.05
done
# Read in awk, without a process per reading, and without pause while the file $work/fast exists.
awk -v maps="/proc/$menu_pid/maps" -v fast="$work/fast" 'BEGIN {
  while (1) {
    lines = 0
    while ((getline line < maps) > 0) {
      lines++
      split(line, field, " ")
      if (field[6] != "" && !(field[6] in seen)) { seen[field[6]] = 1; print field[6]; fflush() }
    }
    close(maps)
    if (lines == 0) exit
    if ((getline flag < fast) < 0) system("sleep 0.02"); else close(fast)
  } }' >"$work/mapped" &
sampler_pid=$!

window="$(wait_for_window 150 "$menu_pid" --class kelvox-menu)" || fail "no menu window (or the menu ended at start)"
sleep 2 # the bar's intro
xdotool getwindowgeometry "$window" | grep -q "Geometry: 1024x768" || fail "the window is not full screen"
echo "ok: the menu's window came up full screen"

import -window root "$work/before.png"
press_first_section_for_list "$work/before.png" "$work/after.png" || fail "no list came in after the press on the first section"
sleep 1
import -window root "$shots/1-list.png"
echo "ok: the section's list came in"

# Its third row (list y 56 + 2 × 20, under the list's top at 166) is "Twierdza Mroku", a RAR archive:
# the first press chooses it, the second unpacks it; the dialog opens on the reader's home.
archive="gry/twierdza_mroku/twierdza_mroku.rar"
press 60 272
sleep 2
press 60 272
dialog="$(wait_for_unpack_dialog 100)" || fail "no unpack dialog after the second press on the archive's row"
sleep 0.5
import -window root "$shots/2-dialog.png"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
touch "$work/fast"
press $((X + 262)) $((Y + 203)) # "[ wypakuj ]"

unar -q -D -o "$work/expected" "$root$disc_dir/$archive" >/dev/null || fail "unar could not read $archive"
(cd "$work/expected" && find . -type f | sort) >"$work/expected.list"
[ -s "$work/expected.list" ] || fail "$archive holds no files"
unpacked=0
for _ in $(seq 60); do
  sleep 0.5
  unpacked=1
  while read -r file; do
    cmp -s "$work/expected/$file" "$root/home/reader/$file" || { unpacked=0; break; }
  done <"$work/expected.list"
  [ "$unpacked" -eq 1 ] && break
done
[ "$unpacked" -eq 1 ] || fail "the files of $archive did not come out byte for byte in the reader's home"
rm "$work/fast"
echo "ok: $(wc -l <"$work/expected.list") files of $archive unpacked into the reader's home, byte for byte"
sleep 1
import -window root "$shots/3-unpacked.png"

# The close button: bar x Wb − 50 = 786, bar y 8.
press $((188 + 786)) $((173 + 8))
for _ in $(seq 50); do kill -0 "$menu_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$menu_pid" 2>/dev/null && fail "the close button did not end the menu"
wait "$menu_pid" && status=0 || status=$?
menu_pid=""
[ "$status" -eq 0 ] || fail "the menu ended with status $status"
wait "$sampler_pid" || true
sampler_pid=""

# Every shared library mapped came from the bundle or from a package of the reader's base.
from_bundle=0; strangers=()
while read -r path; do
  [[ "$path" =~ \.so(\.[0-9]+)*$ ]] || continue
  inside="${path#"$root_real"}"
  [ "$inside" != "$path" ] || { strangers+=("$path (outside the reader's machine)"); continue; }
  case "$inside" in "$bundle_dir"*) from_bundle=$((from_bundle + 1)); continue ;; esac
  # dpkg names /usr/lib files of a merged /usr by their /lib alias too.
  alias="${inside#/usr}"
  grep -qxF -e "$inside" -e "$alias" "$root"/var/lib/dpkg/info/*.list || strangers+=("$inside")
done <"$work/mapped"
grep -E '\.so(\.[0-9]+)*$' "$work/mapped" | sed "s|^$root_real||" >"$shots/mapped-libraries.txt"
[ ${#strangers[@]} -eq 0 ] || fail "libraries from neither the bundle nor the reader's base: ${strangers[*]}"
for needed in libQt6Core.so.6 libqxcb.so; do
  grep -q "$bundle_dir.*/$needed\$\|$bundle_dir$needed\$" "$work/mapped" || fail "$needed was never mapped from the bundle"
done
echo "ok: $from_bundle libraries mapped from the bundle, the rest from the reader's base"
# The RAR module is mapped only while the archive is open, which may be too brief to be seen; the
# unpack worked, so it came from wherever the machine has it (its libraries all live under /usr):
# only the bundle may.
for module in libunrar.so libarchive.so.13 libunarr.so.1; do
  elsewhere="$(find "$root/usr" -name "$module*" -print -quit)"
  [ -z "$elsewhere" ] || fail "the reader's machine has its own $module: ${elsewhere#"$root"}"
done
if grep -q "${bundle_dir}libunrar.so\$" "$work/mapped"; then
  echo "ok: the RAR module was seen mapped from the bundle"
else
  echo "ok: the RAR module was open too briefly to be seen, and the bundle holds the only one"
fi
echo "OK"
