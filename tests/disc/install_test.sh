#!/usr/bin/env bash
# cmake --install puts the programs in bin/, the RAR module where the menu's RUNPATH leads its loader
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
runpath="$(readelf -d "$prefix/bin/kelvox-menu" | sed -n 's/.*(RUNPATH) *Library runpath: \[\(.*\)\]/\1/p')"
[[ "$runpath" == '$ORIGIN/'* ]] || fail "the menu's RUNPATH is not relative to it: '$runpath'"
module_dir="$prefix/bin/${runpath#'$ORIGIN/'}"
[ -f "$module_dir/libunrar.so" ] || fail "no libunrar.so where the menu's RUNPATH leads: $module_dir"
[ -n "$(find "$prefix/share/doc" -name authoring.md)" ] || fail "the authoring guide was not installed"
echo "OK"
