#!/usr/bin/env bash
# scripts/windows/libjpeg.sh: libjpeg-turbo for x86-64 Windows (static, without SIMD, which would need
# nasm), built once from Debian's source into the cache outside the clone; prints the prefix.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/lib.sh"
cached_cmake_build libjpeg-turbo-mingw libjpeg-turbo 1:2.1.5-2 "$here/mingw.cmake" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF
