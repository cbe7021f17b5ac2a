#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short while on its kept corpus.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${KELVOX_FUZZ_SECONDS:-30}"
if ! command -v clang++ >/dev/null; then echo "clang not found: fuzz runs skipped"; exit 0; fi
[ -d "$top/tests/fuzz" ] || { echo "no fuzz targets yet"; exit 0; }
CC=clang CXX=clang++ "$top/scripts/build.sh" "$top/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKELVOX_FUZZ=ON "-DKELVOX_PARTS=unrar;platform;catalogue;tests/fuzz"
for fuzzer in "$top"/build-fuzz/tests/fuzz/*/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name="$(basename "$fuzzer")"
  corpus="$top/tests/fuzz/${name#fuzz_}/corpus"
  work="$(mktemp -d)"
  [ -d "$corpus" ] && cp -r "$corpus/." "$work/"
  echo "fuzzing $name for ${seconds}s"
  # An input that hangs fails the step in seconds, not after libFuzzer's default 20 minutes.
  "$fuzzer" -max_total_time="$seconds" -timeout=25 -print_final_stats=0 "$work" >"$work.log" 2>&1 ||
    { tail -n 40 "$work.log"; echo "fuzzer $name found a failure"; exit 1; }
done
