#!/usr/bin/env bash
# scripts/make-disc.sh [--force] [--label NAME] CONTENT OUTPUT
# Makes a cover disc from an author's content folder (the skin directory menu/, the catalogue and the
# entries; no program): the content, the Linux menu's bundle in kelvox-linux/ with the autorun script, and
# the Windows menu in kelvox-windows/ with autorun.inf, at the root.
# The checker's report in the content's kelvox-report/ is for the author and stays off the disc.
# OUTPUT ending in .iso is an ISO 9660 image with Rock Ridge and Joliet; any other OUTPUT is a directory
# laid out the same way. The content is checked with kelvox-check first; a disc with problems is written
# only with --force; so is one with a name Windows cannot read (scripts/check-windows-names.py). Exit
# status: 0 written, 1 problems found or the writing failed, 2 bad input.
# KELVOX_DISC_BUILD names the build directory of the shipped Linux menu (default build-disc),
# KELVOX_WINDOWS_BUILD that of the Windows menu (default build-windows; the first build on a machine
# takes half an hour, for Qt).
set -eEuo pipefail
# Whatever fails on the way (the build, xorriso, a copy) ends with the 1 documented above rather than its
# own status: xorriso alone has several, and a caller tells "not written" from "bad input" by ours.
trap 'echo "make-disc: ${BASH_COMMAND%% *} failed with status $?" >&2; exit 1' ERR
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bundle_folder="kelvox-linux"
windows_folder="kelvox-windows"
report_folder="kelvox-report"

usage() {
  echo "usage: scripts/make-disc.sh [--force] [--label NAME] CONTENT OUTPUT" >&2
  [ $# -gt 0 ] && echo "make-disc: $*" >&2
  exit 2
}

force=0
label="KELVOX"
label_given=0
positional=()
while [ $# -gt 0 ]; do
  case "$1" in
    --force) force=1 ;;
    --label) [ $# -ge 2 ] || usage "--label needs a name"; label="$2"; label_given=1; shift ;;
    --label=*) label="${1#--label=}"; label_given=1 ;;
    --) shift; positional+=("$@"); break ;;
    -*) usage "unknown option: $1" ;;
    *) positional+=("$1") ;;
  esac
  shift
done
[ ${#positional[@]} -eq 2 ] || usage "CONTENT and OUTPUT are needed"
content="${positional[0]}"
output="${positional[1]}"

# A volume label is at most 32 characters of ISO 9660's d-characters (upper case, digits, underscore).
[[ "$label" =~ ^[A-Z0-9_]{1,32}$ ]] || usage "the label must be 1 to 32 of A-Z, 0-9 and _: $label"
[ -d "$content" ] || usage "no content folder: $content"
[ -f "$content/menu/index.xml" ] || usage "$content has no menu/index.xml: not a disc's content"
# Links are resolved when the content's own links are judged, so the content is named as resolved too.
content="$(cd "$content" && pwd -P)"
for reserved in autorun autorun.inf "$bundle_folder" "$windows_folder"; do
  [ ! -e "$content/$reserved" ] || usage "$content/$reserved is where the disc's program goes; take it out of the content"
done

output_parent="$(dirname "$output")"
[ -d "$output_parent" ] && [ -w "$output_parent" ] || usage "cannot write into $output_parent"
output_parent="$(cd "$output_parent" && pwd -P)"
# The root's pwd ends in its separator already; "//disc.iso" would name the same file another way.
output="${output_parent%/}/$(basename "$output")"
# Judged by where it leads, so that a link to the content (or into it) is no way in: an image written
# there would go onto the next disc made from the content.
case "$(realpath -m -- "$output")/" in
  "$content"/*) usage "OUTPUT may not lie inside CONTENT, nor lead into it through a link" ;;
esac
image=0
case "$output" in *.iso) image=1 ;; esac
if [ "$image" -eq 1 ]; then
  [ ! -d "$output" ] || usage "$output is a directory"
elif [ -e "$output" ]; then
  [ -d "$output" ] || usage "$output exists and is not a directory"
  [ -z "$(ls -A "$output")" ] || usage "$output is not empty"
fi
if [ "$image" -eq 0 ] && [ "$label_given" -eq 1 ]; then
  echo "make-disc: --label $label is ignored: only an image (OUTPUT ending in .iso) has a volume label" >&2
fi

# The shipped menu: an optimised build without sanitizers, gathered with what it needs.
build="${KELVOX_DISC_BUILD:-$top/build-disc}"
"$top/scripts/build-bundle.sh" "$build"
bundle="$build/bundle"
windows_build="${KELVOX_WINDOWS_BUILD:-$top/build-windows}"
if [ ! -f "$windows_build/bundle/kelvox-menu.exe" ]; then
  echo "make-disc: building the Windows menu in $windows_build; the first time on a machine this builds Qt for Windows too (25 to 35 minutes on two cores)" >&2
fi
windows_started=$(date +%s)
"$top/scripts/build-windows.sh" "$windows_build"
windows_took=$(($(date +%s) - windows_started))
[ "$windows_took" -lt 60 ] || echo "make-disc: the Windows menu took $((windows_took / 60)) min $((windows_took % 60)) s to build" >&2
# The bundle also carries kelvox-check.exe for authors on Windows; a reader has no use for it.
windows_bundle="$windows_build/bundle"
autorun_inf="$(mktemp)"
trap 'rm -f "$autorun_inf"' EXIT
# The template's lines end in CR LF, as Windows reads them. An image's label is the volume's (ASCII
# already); a directory has none of its own, and keeps the template's.
sed "s/^label=KELVOX\r\$/label=$([ "$image" -eq 1 ] && echo "$label" || echo KELVOX)\r/" \
  "$top/scripts/autorun.inf" >"$autorun_inf"

status=0
QT_QPA_PLATFORM=offscreen "$build/bin/kelvox-check" "$content" || status=$?
[ "$status" -le 1 ] || { echo "make-disc: kelvox-check could not read $content" >&2; exit 2; }
# Names Windows cannot read: the Windows menu would not find those files on the disc.
names_status=0
python3 "$top/scripts/check-windows-names.py" "$content" "$report_folder" || names_status=$?
[ "$names_status" -le 1 ] || { echo "make-disc: the content's names could not be checked" >&2; exit 2; }
[ "$names_status" -eq 0 ] || status=1

# A link leading out of the content would name a file of the reader's own machine on the disc (the menu
# opened the reader's /etc/passwd that way), so none is ever written, --force or not.
outward=()
while IFS= read -r -d '' link; do
  target="$(realpath -m -- "$link")"
  case "$target/" in
    "$content"/*) ;;
    *) outward+=("${link#"$content"/}") ;;
  esac
done < <(find "$content" -type l -print0)
if [ ${#outward[@]} -gt 0 ]; then
  # The entries whose file lies at or under such a link, named as the catalogue names them.
  entries="$(QT_QPA_PLATFORM=offscreen "$build/bin/kelvox-check" --json "$content" | python3 -c '
import json, sys
links = sys.argv[1:]
for section in json.load(sys.stdin)["sections"]:
    for entry in section["entries"]:
        file = entry["exe_path"].replace("\\", "/").lower()
        for link in links:
            if file == link.lower() or file.startswith(link.lower() + "/"):
                print(link + "\t" + entry["name"])
' "${outward[@]}")" || true
  for link in "${outward[@]}"; do
    named="$(awk -F '\t' -v link="$link" '$1 == link { printf "%s\"%s\"", sep, $2; sep = ", " }' <<<"$entries")"
    echo "make-disc: $link is a symbolic link leading out of the content (to $(realpath -m -- "$content/$link"))${named:+; it is the file of entry $named}" >&2
  done
  echo "make-disc: nothing was written; a disc never carries a link out of its content, not even with --force." >&2
  exit 1
fi

if [ "$status" -ne 0 ]; then
  if [ "$force" -eq 0 ]; then
    echo "make-disc: problems were found (above); nothing was written. --force writes the disc anyway." >&2
    exit 1
  fi
  echo "make-disc: writing the disc despite the problems above (--force)" >&2
fi

# Everything is written under a temporary name and renamed once complete, so OUTPUT is never half made.
partial="$(mktemp -u "$output.partial.XXXXXX")"
trap 'rm -rf "$partial" "$autorun_inf"' EXIT
if [ "$image" -eq 1 ]; then
  # The reader's copy is read-only and owned by nobody in particular; directories stay enterable.
  xorriso -no_rc -report_about FAILURE -abort_on FAILURE -outdev "stdio:$partial" \
    -volid "$label" -joliet on -compliance joliet_long_names \
    -not_paths "$content/$report_folder" "$windows_bundle/kelvox-check.exe" -- \
    -map "$content" / -map "$bundle" "/$bundle_folder" -map "$top/scripts/autorun" /autorun \
    -map "$windows_bundle" "/$windows_folder" -map "$autorun_inf" /autorun.inf \
    -chown_r 0 / -- -chgrp_r 0 / -- -chmod_r a+r,a-w / -- \
    -find / -type d -exec chmod a+x -- \
    -find /autorun -exec chmod a+x -- \
    -commit
  mv -f "$partial" "$output"
else
  mkdir "$partial"
  find "$content" -mindepth 1 -maxdepth 1 ! -name "$report_folder" -exec cp -R -t "$partial" {} +
  cp -R "$bundle" "$partial/$bundle_folder"
  cp "$top/scripts/autorun" "$partial/autorun"
  chmod 755 "$partial/autorun"
  cp -R "$windows_bundle" "$partial/$windows_folder"
  rm "$partial/$windows_folder/kelvox-check.exe"
  cp "$autorun_inf" "$partial/autorun.inf"
  chmod 644 "$partial/autorun.inf"
  [ ! -d "$output" ] || rmdir "$output"
  mv "$partial" "$output"
fi
trap - EXIT
rm -f "$autorun_inf"
# The bytes the disc holds, which is what has to fit on it; du would count the blocks this file system
# allocates for them.
if [ "$image" -eq 1 ]; then
  bytes="$(stat -c %s "$output")"
else
  bytes="$(find "$output" -type f -printf '%s\n' | awk '{ n += $1 } END { printf "%d", n }')"
fi
echo "disc written: $output ($bytes bytes, $(numfmt --to=iec-i --suffix=B --format=%.1f "$bytes"))"
