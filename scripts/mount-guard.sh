# Sourced by the scripts that mount into a root made for tests. A recursive delete through a bind mount
# deletes the machine's own files, so nothing under a directory is deleted while anything is mounted there.

# mounts_under DIR: the mount points at or below DIR, deepest first.
mounts_under() {
  local dir escaped point
  dir="$(realpath -m "$1")"
  # /proc/mounts writes blanks, tabs, newlines and backslashes in octal.
  escaped="$(printf '%s' "$dir" | sed -e 's/\\/\\134/g' -e 's/ /\\040/g' -e 's/\t/\\011/g')"
  while read -r _ point _; do
    case "$point/" in "$escaped"/*) printf '%s\n' "$point" ;; esac
  done </proc/mounts | sort -r
}

# unmount_under DIR: unmounts everything mounted at or below DIR; fails when something stays mounted.
unmount_under() {
  local point
  for point in $(mounts_under "$1"); do
    umount "$(printf '%b' "${point//\\/\\0}")" 2>/dev/null || umount -l "$(printf '%b' "${point//\\/\\0}")" || true
  done
  [ -z "$(mounts_under "$1")" ] || { echo "still mounted under $1:" $(mounts_under "$1") >&2; return 1; }
}

# remove_tree DIR: deletes DIR after unmounting everything in it, and never while anything stays mounted.
remove_tree() {
  [ -e "$1" ] || return 0
  unmount_under "$1" || { echo "not deleting $1: something is still mounted in it" >&2; return 1; }
  chmod -R u+w "$1" 2>/dev/null || true
  rm -rf --one-file-system "$1"
}
