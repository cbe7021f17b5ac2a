#!/usr/bin/env bash
# scripts/build-bundle.sh BUILD-DIR: builds the menu as it ships (optimised, no sanitizers, only the
# program's parts and kelvox-check) and gathers it with the libraries it needs into BUILD-DIR/bundle.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$1"
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Release \
  "-DKELVOX_PARTS=unrar;platform;timing;catalogue;screen;actions;app;tools/kelvox_check"
stamp="$build/bundle/kelvox-menu"
# Gathered again only when the program, its modules or the gathering itself changed.
if [ -f "$stamp" ] && [ "$stamp" -nt "$build/bin/kelvox-menu" ] && [ "$stamp" -nt "$build/bin/libunrar.so" ] &&
   [ "$stamp" -nt "$build/bin/libkelvox_music.so" ] &&
   [ "$stamp" -nt "$top/scripts/make-bundle.py" ] && [ "$stamp" -nt "$top/scripts/reader-base-packages.txt" ]; then
  exit 0
fi
python3 "$top/scripts/make-bundle.py" "$build/bin" "$build/bundle"
