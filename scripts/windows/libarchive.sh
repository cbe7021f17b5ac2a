#!/usr/bin/env bash
# scripts/windows/libarchive.sh [linux|windows]: libarchive 3.7.4, the RAR module's decoder of both
# formats, built once from Debian's source (with Debian's fixes) into the cache outside the clone, as a
# static library without the optional libraries: the module reads nothing but RAR through it. `windows`
# (the default) cross-compiles it with MinGW-w64; `linux` builds it natively, position-independent, for
# libunrar.so. Prints the installed prefix as its last line. Interrupted, it starts its build again the
# next time; a prefix without its stamp is never taken for whole.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/lib.sh"

system="${1:-windows}"
case "$system" in
  linux | windows) ;;
  *) echo "usage: $0 [linux|windows]" >&2; exit 2 ;;
esac

version="3.7.4-4+deb13u1"
# Bookworm's 3.6.2 gets the CRC of RAR 4 files larger than the dictionary wrong; 3.7.4 does not.
options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=ON
  -DENABLE_TEST=OFF -DENABLE_COVERAGE=OFF -DENABLE_INSTALL=ON
  -DENABLE_TAR=OFF -DENABLE_CPIO=OFF -DENABLE_CAT=OFF -DENABLE_UNZIP=OFF
  -DENABLE_OPENSSL=OFF -DENABLE_MBEDTLS=OFF -DENABLE_NETTLE=OFF -DENABLE_CNG=OFF -DENABLE_LIBB2=OFF
  -DENABLE_LZ4=OFF -DENABLE_LZO=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_ZLIB=OFF -DENABLE_BZip2=OFF
  -DENABLE_LIBXML2=OFF -DENABLE_EXPAT=OFF -DENABLE_PCREPOSIX=OFF -DENABLE_PCRE2POSIX=OFF -DENABLE_LIBGCC=OFF
  -DENABLE_XATTR=OFF -DENABLE_ACL=OFF -DENABLE_ICONV=OFF -DPOSIX_REGEX_LIB=NONE
)
if [ "$system" = windows ]; then
  key=$(options_key "$version" "${options[@]}" "$(cat "$here/mingw.cmake")")
  prefix="$windows_cache_root/libarchive-$version-mingw-$key"
else
  key=$(options_key "$version" "${options[@]}" "$(cc --version | head -n 1)")
  prefix="$windows_cache_root/libarchive-$version-linux-$key"
fi
whole_or_locked "$prefix"

stage "libarchive $version for $system is not in $windows_cache_root yet: building it once (a few minutes)" >&2
source_dir="$windows_cache_root/source/libarchive-$version"
fetch_source libarchive "$version" "$source_dir"
upstream="$source_dir/libarchive-3.7.4"
# Debian's fixes since the release (several of them in the RAR readers), applied once: the stamp is
# written only when every patch went in.
if [ ! -f "$source_dir/.patched" ]; then
  log="$source_dir/patch.log"
  rm -rf "$upstream" "$source_dir/debian"
  tar -xf "$source_dir"/libarchive_3.7.4.orig.tar.xz -C "$source_dir"
  tar -xf "$source_dir/libarchive_$version.debian.tar.xz" -C "$source_dir"
  : >"$log"
  while read -r patch _; do
    case "$patch" in '' | '#'*) continue ;; esac
    patch -d "$upstream" -p1 --forward --batch <"$source_dir/debian/patches/$patch" >>"$log" 2>&1 ||
      fail_with_log "$log" "applying Debian's $patch to libarchive"
  done <"$source_dir/debian/patches/series"
  touch "$source_dir/.patched"
fi

build="$prefix.build"
rm -rf "$prefix" "$build"
mkdir -p "$build"
log="$build/build.log"
toolchain=()
if [ "$system" = windows ]; then
  # Configure's test programs run through the toolchain's emulator (wine), in a prefix of their own.
  export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
  toolchain=(-DCMAKE_TOOLCHAIN_FILE="$here/mingw.cmake")
fi
stage "libarchive ($system): configuring" >&2
cmake -G Ninja -S "$upstream" -B "$build" "${toolchain[@]}" -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" \
  >"$log" 2>&1 || fail_with_log "$log" "configuring libarchive"
stage "libarchive ($system): compiling" >&2
nice -n 10 ninja -C "$build" -j 2 >>"$log" 2>&1 || fail_with_log "$log" "compiling libarchive"
cmake --install "$build" >>"$log" 2>&1 || fail_with_log "$log" "installing libarchive"
if [ "$system" = windows ]; then wineserver -k 2>/dev/null || true; fi
mark_whole "$prefix"
rm -rf "$build"
stage "libarchive ($system): ready in $prefix" >&2
echo "$prefix"
