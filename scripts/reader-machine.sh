#!/usr/bin/env bash
# scripts/reader-machine.sh CACHE-DIR: makes, once, a reader's machine for the disc tests in CACHE-DIR/root:
# a minimal Debian 12 made with debootstrap from the registry apt uses, with only the reader's base
# packages (scripts/reader-base-packages.txt) and an ordinary user "reader". A root made for the same
# package list is kept. Exits 77, saying why, when it cannot be made here (not root, no debootstrap,
# the registry out of reach).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/mount-guard.sh"
cache="$1"
packages_file="$here/reader-base-packages.txt"

cannot() { echo "SKIPPED: no reader's machine: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || cannot "debootstrap and chroot need root"
for tool in debootstrap chroot flock; do
  command -v "$tool" >/dev/null || cannot "$tool is missing"
done

# The registry apt uses for bookworm's main component, as sources.list or deb822 .sources files name it.
debian_mirror() {
  local file uri
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    uri="$(sed -E 's/\[[^]]*\]//' "$file" | awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }')"
    [ -n "$uri" ] && { echo "$uri"; return; }
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    uri="$(awk 'BEGIN { RS = ""; FS = "\n" }
                { types = uris = suites = ""
                  for (i = 1; i <= NF; i++) {
                    if ($i ~ /^Types:/) types = $i; if ($i ~ /^URIs:/) uris = $i; if ($i ~ /^Suites:/) suites = $i }
                  if (types ~ /[ \t]deb([ \t]|$)/ && suites ~ /[ \t]bookworm([ \t]|$)/) {
                    split(uris, word, /[ \t]+/); print word[2]; exit } }' "$file")"
    [ -n "$uri" ] && { echo "$uri"; return; }
  done
  echo "http://deb.debian.org/debian"
}

mkdir -p "$cache"
exec 9>"$cache/lock"
flock 9
root="$cache/root"
wanted="$(sha256sum "$packages_file" | cut -d' ' -f1)"
if [ -f "$root/.kelvox-reader-machine" ] && [ "$(cat "$root/.kelvox-reader-machine")" = "$wanted" ]; then
  exit 0
fi

mirror="$(debian_mirror)"
partial="$cache/root.partial"
log="$cache/debootstrap.log"
remove_tree "$partial"
trap 'unmount_under "$partial" || true' EXIT
echo "making a reader's machine (Debian 12 minbase from $mirror) in $root"
started=$SECONDS
if ! debootstrap --variant=minbase bookworm "$partial" "$mirror" >"$log" 2>&1; then
  tail -n 5 "$log"
  cannot "debootstrap could not make a Debian 12 root from $mirror (log: $log)"
fi
cp /etc/resolv.conf "$partial/etc/resolv.conf"
# The registry is read as this machine's apt reads it: a snapshot of it may be past its Valid-Until date.
if apt-config dump 2>/dev/null | grep -q '^Acquire::Check-Valid-Until "false";'; then
  echo 'Acquire::Check-Valid-Until "false";' >"$partial/etc/apt/apt.conf.d/99check-valid-until"
fi
mapfile -t base < <(grep -v -E '^\s*(#|$)' "$packages_file" | awk '$2 != "sealed" { print $1 }')
mount -t proc proc "$partial/proc"
if ! chroot "$partial" env DEBIAN_FRONTEND=noninteractive sh -c \
     'apt-get update -q && apt-get install -y -q --no-install-recommends "$@" && apt-get clean' \
     base "${base[@]}" >>"$log" 2>&1; then
  tail -n 5 "$log"
  cannot "the reader's base packages could not be installed from $mirror (log: $log)"
fi
unmount_under "$partial"
chroot "$partial" useradd --create-home --shell /bin/sh reader
echo "$wanted" >"$partial/.kelvox-reader-machine"
remove_tree "$root"
mv "$partial" "$root"
echo "reader's machine ready in $((SECONDS - started)) s"
