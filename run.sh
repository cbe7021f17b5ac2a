#!/usr/bin/env bash
# Installs what is missing, builds, generates the demo disc and runs the menu on it.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec "$top/scripts/run-demo.sh" "$top/build"
