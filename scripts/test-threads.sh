#!/usr/bin/env bash
# Builds the threaded code and its tests under ThreadSanitizer and runs the tests labelled "threaded".
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
parts="platform;timing;tests/timing;tests/platform"
[ -f "$top/timing/CMakeLists.txt" ] || { echo "no threaded code yet"; exit 0; }
"$top/scripts/build.sh" "$top/build-tsan" -DCMAKE_BUILD_TYPE=Debug -DKELVOX_SANITIZE=thread "-DKELVOX_PARTS=$parts"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir "$top/build-tsan" --output-on-failure -L threaded
