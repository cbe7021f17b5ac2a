#!/usr/bin/env bash
# scripts/build.sh <build-dir> [extra cmake arguments...]: configures (once) and builds.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$1"; shift
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$dir" "${generator[@]}" "$@"
else
  cmake -S "$top" -B "$dir" "$@" >/dev/null
fi
cmake --build "$dir" -j "$(nproc)"
