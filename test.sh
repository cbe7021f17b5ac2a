#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, runs every test;
# then the threaded code under ThreadSanitizer, short fuzz runs when clang is present, and the Windows
# build's tests under wine.
# The disc tests also need the menu built for shipping (build-disc) and a clean reader's machine, which
# is downloaded once into build-asan/reader-machine while the builds compile.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$top/scripts/install-deps.sh"
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
# No session bus unless a test starts its own: without one, libdbus forks a launcher from the threaded
# menu, and under AddressSanitizer that child can hang on an allocator lock held by another thread at the
# fork, with the menu waiting for it before its first frame.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/no-session-bus"

reader_cache="$top/build-asan/reader-machine"
reader_log="$XDG_RUNTIME_DIR/reader-machine.log"
"$top/scripts/reader-machine.sh" "$reader_cache" >"$reader_log" 2>&1 &
reader_pid=$!
stop_reader_machine() {
  kill "$reader_pid" 2>/dev/null || true
  wait "$reader_pid" 2>/dev/null || true
  source "$top/scripts/mount-guard.sh"
  unmount_under "$reader_cache" || true
}
trap stop_reader_machine EXIT

"$top/scripts/build.sh" "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug "-DKELVOX_SANITIZE=address;undefined"
"$top/scripts/build-bundle.sh" "$top/build-disc"
# The disc tests put the Windows menu on their discs; its tests run under wine at the end. The RAR module
# is checked against the Linux one: the same C client, built natively in build-asan.
"$top/scripts/build-windows.sh" "$top/build-windows" \
  "-DKELVOX_LINUX_UNRAR_CLIENT=$top/build-asan/tests/unrar/unrar_parity_client" \
  "-DKELVOX_LINUX_E2E_DISC=$top/build-asan/tests/e2e/kelvox-e2e-disc" \
  "-DKELVOX_LINUX_MENU=$top/build-asan/bin/kelvox-menu"
wait "$reader_pid" || true
cat "$reader_log"
ctest --test-dir "$top/build-asan" --output-on-failure -j "$(nproc)"

"$top/scripts/test-threads.sh"
"$top/scripts/test-fuzz.sh"
"$top/scripts/test-windows.sh"
echo "All tests passed."
