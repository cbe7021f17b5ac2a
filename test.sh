#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, runs every test;
# then the threaded code under ThreadSanitizer and short fuzz runs when clang is present.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$top/scripts/install-deps.sh"
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen

"$top/scripts/build.sh" "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug "-DKELVOX_SANITIZE=address;undefined"
ctest --test-dir "$top/build-asan" --output-on-failure -j "$(nproc)"

"$top/scripts/test-threads.sh"
"$top/scripts/test-fuzz.sh"
echo "All tests passed."
