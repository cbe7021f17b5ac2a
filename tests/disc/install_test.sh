#!/usr/bin/env bash
# cmake --install puts the programs in bin/, the RAR and music modules where the menu's RUNPATH leads its loader
# (the menu asks for "libunrar.so" by name when it is not beside it), and the authoring guide.
# Usage: install_test.sh BUILD-DIR
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cmake --install "$build" --prefix "$prefix" >/dev/null
for program in kelvox-menu kelvox-check; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program was not installed"
done
[ ! -e "$prefix/bin/libunrar.so" ] || fail "the RAR module was installed among the programs"
# The checker tries archives with the same module, found the same way.
for program in kelvox-menu kelvox-check; do
  runpath="$(readelf -d "$prefix/bin/$program" | sed -n 's/.*(RUNPATH) *Library runpath: \[\(.*\)\]/\1/p')"
  [[ "$runpath" == '$ORIGIN/'* ]] || fail "the RUNPATH of $program is not relative to it: '$runpath'"
  module_dir="$prefix/bin/${runpath#'$ORIGIN/'}"
  [ -f "$module_dir/libunrar.so" ] || fail "no libunrar.so where the RUNPATH of $program leads: $module_dir"
  [ -f "$module_dir/libkelvox_music.so" ] || fail "no music module where the RUNPATH of $program leads: $module_dir"
done
[ -n "$(find "$prefix/share/doc" -name authoring.md)" ] || fail "the authoring guide was not installed"
echo "OK"
