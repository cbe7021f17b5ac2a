#!/usr/bin/env bash
# scripts/make-disc.sh on the demo disc's content: the image holds the content, an executable autorun and
# the bundle; the directory form holds the same, with every library under the name the loader asks for
# and a $ORIGIN run path; content with a kelvox-check problem is refused unless --force; bad input is
# refused with status 2; nothing is written by a refused run, and an existing image survives it.
# Usage: make_disc_test.sh SOURCE-DIR DEMO-CONTENT
set -euo pipefail
source_dir="$1"; content="$2"
make_disc="$source_dir/scripts/make-disc.sh"
for tool in xorriso readelf; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is missing"; exit 77; }
done
work="$(mktemp -d)"
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# expect STATUS LOG-NAME ARGS...: runs make-disc.sh and checks its exit status.
expect() {
  local wanted="$1" log="$work/$2.log" status=0
  shift 2
  "$make_disc" "$@" >"$log" 2>&1 || status=$?
  [ "$status" -eq "$wanted" ] || { tail -n 20 "$log"; fail "make-disc.sh $* ended with $status, not $wanted"; }
}
# What the reader finds on the disc: every content file, the autorun and the menu with its Qt (libarchive
# is linked into the RAR module), for each system.
expected_paths() {
  (cd "$content" && find . -type f | sed 's|^\.||')
  printf '%s\n' /autorun /kelvox-linux/kelvox-menu /kelvox-linux/libunrar.so /kelvox-linux/qt.conf \
    /kelvox-linux/libkelvox_music.so \
    /kelvox-linux/libQt6Core.so.6 /kelvox-linux/libunarr.so.1 \
    /kelvox-linux/plugins/platforms/libqxcb.so /kelvox-linux/plugins/multimedia/libgstreamermediaplugin.so \
    /autorun.inf /kelvox-windows/kelvox-menu.exe /kelvox-windows/unrar.dll /kelvox-windows/Qt6Widgets.dll \
    /kelvox-windows/platforms/qwindows.dll
}
image_listing() { xorriso -no_rc -indev "$1" -find / -exec lsdl -- 2>/dev/null; }

image="$work/disc.iso"
expect 0 image "$content" "$image"
image_listing "$image" >"$work/listing"
while read -r path; do
  grep -q " '$path'\$" "$work/listing" || fail "the image lacks $path"
done < <(expected_paths)
grep -q "^-r-xr-xr-x .* '/autorun'\$" "$work/listing" || fail "autorun is not executable: $(grep autorun "$work/listing")"
grep -q "^-r-xr-xr-x .* '/kelvox-linux/kelvox-menu'\$" "$work/listing" || fail "the menu is not executable"
! grep -q "^l" "$work/listing" || fail "the image holds symbolic links: $(grep '^l' "$work/listing" | head -n 3)"
xorriso -no_rc -indev "$image" -pvd_info 2>/dev/null | grep -q "^Volume Id *: KELVOX\$" || fail "the volume label is not KELVOX"
grep -q "^disc written: $image ($(wc -c <"$image") bytes, " "$work/image.log" || fail "the size line is not the image's bytes: $(tail -n 1 "$work/image.log")"
! grep -q "kelvox-check" "$work/listing" || fail "the checker was put on the disc"
# Windows reads the Joliet tree: the same names as the Rock Ridge one, the long ones whole.
files_of() { xorriso -no_rc -read_fs "$1" -indev "$image" -find / -type f 2>/dev/null | sed "s/^'//; s/'\$//" | sort; }
files_of any >"$work/rock-ridge"
files_of norock >"$work/joliet"
[ -s "$work/joliet" ] && cmp -s "$work/rock-ridge" "$work/joliet" ||
  fail "the Joliet names differ: $(diff "$work/rock-ridge" "$work/joliet" | head -n 5)"
osirrox_inf="$(xorriso -no_rc -indev "$image" -osirrox on -extract /autorun.inf "$work/autorun.inf" 2>&1)" || fail "$osirrox_inf"
[ "$(tr -d '\r' <"$work/autorun.inf")" = "$(printf '[autorun]\nopen=kelvox-windows\\kelvox-menu.exe\nicon=kelvox-windows\\kelvox-menu.exe,0\nlabel=KELVOX')" ] ||
  fail "autorun.inf is not the menu's: $(cat -A "$work/autorun.inf")"
echo "ok: the image holds the content, an executable autorun and both menus, with Joliet names and autorun.inf"

# Where an author starts: new-disc.sh lays out one section with an entry of each kind from the demo's
# skin, which the check passes and make-disc.sh writes; it never writes into a folder that holds files.
KELVOX_DEMO_DISC="$content" "$source_dir/scripts/new-disc.sh" "$work/new" >"$work/new.log" 2>&1 ||
  { cat "$work/new.log"; fail "new-disc.sh could not lay out a disc"; }
[ "$(grep -c '<pozycja>' "$work/new/menu/index.xml")" -eq 3 ] || fail "the new disc has not three entries"
expect 0 new-disc "$work/new" "$work/new-disc"
[ -x "$work/new-disc/kelvox-linux/kelvox-menu" ] || fail "the new disc was not written with the menu"
status=0
KELVOX_DEMO_DISC="$content" "$source_dir/scripts/new-disc.sh" "$work/new" >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "new-disc.sh over a folder that holds files ended with $status, not 2"
echo "ok: a disc laid out by new-disc.sh passes the check and is written"

# A content folder with a problem (its ticker file gone) is refused and nothing is written: not the
# directory asked for, and not a byte of an image already there.
broken="$work/broken"
cp -R "$content" "$broken"
rm "$broken/menu/reklamy.txt"
# Its report, which the discs written from it below must leave out, gives the size they have.
status=0
"${KELVOX_DISC_BUILD:-$source_dir/build-disc}/bin/kelvox-check" --report "$broken" >"$work/report.log" 2>&1 || status=$?
[ "$status" -eq 1 ] && [ -f "$broken/kelvox-report/index.html" ] || fail "no report of the broken content: $(tail -n 3 "$work/report.log")"
reported_bytes="$(grep -o 'class="bytes">[0-9]*' "$broken/kelvox-report/index.html" | grep -o '[0-9]*$')"
sum_before="$(cksum <"$image")"
expect 1 refused-image "$broken" "$image"
[ "$(cksum <"$image")" = "$sum_before" ] || fail "a refused run changed the image already there"
expect 1 refused-dir "$broken" "$work/refused"
[ ! -e "$work/refused" ] || fail "a refused run wrote $work/refused"
[ -z "$(find "$work" -maxdepth 1 -name '*.partial.*')" ] || fail "a refused run left a partial output"
grep -q "reklamy.txt" "$work/refused-dir.log" || fail "the problem was not printed"
echo "ok: content with a problem is refused, nothing written"

# An entry's file that is a link out of the content is refused, naming it, even with --force.
linked="$work/linked"
cp -R "$content" "$linked"
entry_file="$(grep -o '<sciezka_exe>[^<]*' "$content/menu/index.xml" | head -n 1 | sed 's/<sciezka_exe>//; s|\\|/|g')"
[ -f "$linked/$entry_file" ] || fail "the demo's first entry file $entry_file is not where the catalogue says"
ln -sf /etc/passwd "$linked/$entry_file"
expect 1 linked --force "$linked" "$work/linked-out"
[ ! -e "$work/linked-out" ] || fail "a content with a link out of it was written"
grep -q "$entry_file is a symbolic link leading out of the content (to /etc/passwd); it is the file of entry \"" \
  "$work/linked.log" || fail "the refusal does not name the entry: $(tail -n 3 "$work/linked.log")"
echo "ok: an entry's file linked out of the content is never written"

# --force writes it, here as a directory; a later image over the first one replaces it whole.
expect 0 forced --force --label NUMER_3 "$broken" "$work/forced"
[ -x "$work/forced/autorun" ] && [ -x "$work/forced/kelvox-linux/kelvox-menu" ] || fail "--force wrote no runnable disc"
[ -f "$work/forced/menu/index.xml" ] || fail "--force left out the content"
[ -z "$(find "$work/forced" -type l)" ] || fail "the directory form holds symbolic links"
grep -q -- "--label NUMER_3 is ignored" "$work/forced.log" || fail "a label given for a directory was silently dropped"
bytes="$(find "$work/forced" -type f -exec cat {} + | wc -c)"
grep -q "^disc written: $work/forced ($bytes bytes, " "$work/forced.log" || fail "the size line is not the files' $bytes bytes: $(tail -n 1 "$work/forced.log")"
[ ! -e "$work/forced/kelvox-report" ] || fail "the checker's report was written onto the disc"
[ "$reported_bytes" = "$bytes" ] || fail "the report gives the disc ${reported_bytes:-no} bytes, make-disc.sh wrote $bytes"
expect 0 forced-image --force "$broken" "$work/forced.iso"
image_listing "$work/forced.iso" >"$work/forced-listing"
! grep -q "'/kelvox-report" "$work/forced-listing" || fail "the checker's report was written into the image"
expect 0 relabelled --label NUMER_2 "$content" "$image"
xorriso -no_rc -indev "$image" -pvd_info 2>/dev/null | grep -q "^Volume Id *: NUMER_2\$" || fail "the image was not replaced"
! grep -q "is ignored" "$work/relabelled.log" || fail "the label of an image was called ignored"
echo "ok: --force writes the disc, without the checker's report, at the size the report gives; an existing image is replaced"

# Names a reader on Windows could not open: refused with a line each, unless --force.
cp -R "$content" "$work/badnames"
touch "$work/badnames/Co teraz?.txt" "$work/badnames/czytaj.txt" "$work/badnames/CZYTAJ.TXT" "$work/badnames/aux.txt"
expect 1 badnames "$work/badnames" "$work/badnames-disc"
for name in "Co teraz?.txt" "CZYTAJ.TXT" "aux.txt"; do
  grep -qi "^problem: $name: the name " "$work/badnames.log" || fail "make-disc.sh did not report $name: $(tail -n 5 "$work/badnames.log")"
done
[ ! -e "$work/badnames-disc" ] || fail "a disc with names Windows cannot read was written"
echo "ok: names Windows cannot read are problems reported before anything is written"

# A failing xorriso (status 5 of its own) ends with the documented 1 and leaves nothing behind.
mkdir "$work/bin"
printf '#!/bin/sh\nexit 5\n' >"$work/bin/xorriso"
chmod +x "$work/bin/xorriso"
PATH="$work/bin:$PATH" expect 1 xorriso-fails "$content" "$work/failed.iso"
[ ! -e "$work/failed.iso" ] && [ -z "$(find "$work" -maxdepth 1 -name '*.partial.*')" ] || fail "a failed image left a file"
echo "ok: a failing xorriso ends with status 1, nothing written"

# The bundle's files: each library under its SONAME, each with a $ORIGIN run path, all plain files.
while read -r file; do
  name="$(basename "$file")"
  dynamic="$(readelf -d "$file")"
  grep -q "(RUNPATH) *Library runpath: \[\$ORIGIN" <<<"$dynamic" || fail "$name has no \$ORIGIN RUNPATH"
  soname="$(sed -n 's/.*(SONAME) *Library soname: \[\(.*\)\]/\1/p' <<<"$dynamic")"
  [ -z "$soname" ] || [ "$soname" = "$name" ] || [[ "$file" == */plugins/* ]] || fail "$name is stored under another name than its SONAME $soname"
done < <(find "$work/forced/kelvox-linux" -type f \( -name '*.so*' -o -name kelvox-menu \))
echo "ok: every library of the bundle is stored under its SONAME with a \$ORIGIN run path"

# Bad input: status 2, a message, nothing written (@ is the work folder, % the demo content).
mkdir "$work/empty" "$work/full"
touch "$work/full/something"
cp -R "$content" "$work/with-autorun"
touch "$work/with-autorun/autorun"
# OUTPUT reached through links into a content folder, whose files must stay as they were.
cp -R "$content" "$work/self"
mkdir "$work/self/pusty"
ln -s "$work/self" "$work/self-link"
ln -s "$work/self/pusty" "$work/self-dir-link"
self_files="$(cd "$work/self" && find . | sort)"
while IFS='|' read -r name args; do
  args="${args//@/$work}"
  read -r -a words <<<"${args//%/$content}"
  expect 2 "bad-$name" "${words[@]}"
  [ -s "$work/bad-$name.log" ] || fail "$name: no message"
done <<'CASES'
no-content|@/missing @/out-1
no-catalogue|@/empty @/out-2
unknown-option|--fast % @/out-3
no-output-folder|% @/missing/out.iso
non-empty-output|% @/full
content-with-autorun|@/with-autorun @/out-4
label-too-long|--label ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456 % @/out-5
output-through-linked-folder|@/self @/self-link/out-6.iso
output-a-link-into-content|@/self @/self-dir-link
CASES
[ "$(cd "$work/self" && find . | sort)" = "$self_files" ] || fail "an OUTPUT leading into the content wrote into it"
[ -z "$(ls "$work" | grep '^out-')" ] || fail "bad input wrote $(ls "$work" | grep '^out-')"
[ "$(ls -A "$work/full")" = "something" ] || fail "a non-empty output directory was touched"
# An OUTPUT right under / is named with one separator, as every other path is.
if [ -w / ]; then
  expect 2 under-root "$content" /tmp
  grep -q "^make-disc: /tmp is not empty\$" "$work/under-root.log" || fail "$(tail -n 1 "$work/under-root.log")"
fi
echo "ok: bad input is refused with status 2"
echo "OK"
