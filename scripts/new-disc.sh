#!/usr/bin/env bash
# scripts/new-disc.sh FOLDER
# Lays out a new disc's content in FOLDER, where an author starts: the demo disc's skin directory menu/
# (bitmaps, font, music) with a catalogue of one section and one entry of each kind (a Windows program, a
# document, a RAR archive), each entry with its description and pictures, and a ticker line. The result
# passes kelvox-check and make-disc.sh turns it into a disc; the author then replaces what is theirs.
# Exit status: 0 laid out, 1 the demo disc could not be made, 2 bad input.
# KELVOX_DEMO_DISC names a demo disc already made (default: build/demo-disc, made when missing).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

usage() {
  echo "usage: scripts/new-disc.sh FOLDER" >&2
  [ $# -gt 0 ] && echo "new-disc: $*" >&2
  exit 2
}
[ $# -eq 1 ] || usage "one FOLDER is needed"
folder="$1"
[ ! -e "$folder" ] || { [ -d "$folder" ] && [ -z "$(ls -A "$folder")" ]; } ||
  usage "$folder exists and is not an empty directory: nothing of it is overwritten"

demo="${KELVOX_DEMO_DISC:-$top/build/demo-disc}"
if [ ! -f "$demo/menu/index.xml" ]; then
  [ -z "${KELVOX_DEMO_DISC:-}" ] || { echo "new-disc: $demo holds no demo disc" >&2; exit 1; }
  echo "new-disc: making the demo disc in $demo first"
  "$top/scripts/install-deps.sh" >/dev/null
  if [ ! -f "$top/build/CMakeCache.txt" ]; then
    "$top/scripts/build.sh" "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  else
    cmake --build "$top/build" --target demo_disc >/dev/null
  fi
  [ -f "$demo/menu/index.xml" ] || { echo "new-disc: the demo disc could not be made" >&2; exit 1; }
fi

mkdir -p "$folder"
# The catalogue and the ticker are Windows-1250 text, as on the demo disc; the entries keep the demo's
# folders, so that each entry's files stay where its catalogue line says.
python3 - "$demo" "$folder" <<'PY'
import pathlib, re, shutil, sys
demo, folder = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
index = (demo / "menu" / "index.xml").read_bytes()
entries = re.findall(rb"[ \t]*<pozycja>.*?</pozycja>", index)
chosen = []
for ending in (b".exe", b".txt", b".rar"):
    line = next((e for e in entries if re.search(rb"<sciezka_exe>[^<]*" + re.escape(ending) + rb"</sciezka_exe>", e, re.I)), None)
    if line is None:
        sys.exit("new-disc: the demo disc has no entry ending in " + ending.decode())
    chosen.append(line)
shutil.copytree(demo / "menu", folder / "menu")
for line in chosen:
    place = re.search(rb"<sciezka>([^<]*)</sciezka>", line).group(1).decode("cp1250").replace("\\", "/")
    shutil.copytree(demo / place, folder / place)
head = index[: index.index(b"<menu>")]
section = "Moja sekcja".encode("cp1250")
(folder / "menu" / "index.xml").write_bytes(
    head + b"<menu>\n  <sekcja>\n    <nazwa>" + section + b"</nazwa>\n" + b"\n".join(chosen) + b"\n  </sekcja>\n</menu>\n")
(folder / "menu" / "reklamy.txt").write_bytes("Moja sekcja: program, dokument i archiwum\r\n".encode("cp1250"))
PY
echo "new-disc: $folder holds a disc of one section with a program, a document and an archive."
echo "Check it with build/bin/kelvox-check $folder, make it with scripts/make-disc.sh $folder disc.iso."
