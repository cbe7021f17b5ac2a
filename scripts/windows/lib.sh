# Shared by the Windows build's scripts: the cache outside the clone, Debian source packages, stages.
# Sourced; expects `set -euo pipefail`.

windows_cache_root="${KELVOX_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/kelvox}"
windows_started_at="${windows_started_at:-$(date +%s)}"

# stage "what": one line per stage with the time since the build started.
stage() {
  local now; now=$(date +%s)
  printf '[windows %3d:%02d] %s\n' $(((now - windows_started_at) / 60)) $(((now - windows_started_at) % 60)) "$*"
}

# fail_with_log LOG "what": the last lines of a failed step's log, then stop.
fail_with_log() {
  echo "build-windows: $2 failed; the last lines of $1:" >&2
  tail -n 40 "$1" >&2
  exit 1
}

# fetch_source PACKAGE VERSION DIR: Debian's source package, downloaded once into DIR through an apt
# state of the cache's own (the system's apt configuration is left alone), and unpacked there.
fetch_source() {
  local package="$1" version="$2" dir="$3"
  [ -f "$dir/.unpacked" ] && return 0
  local apt="$windows_cache_root/apt"
  mkdir -p "$apt/lists/partial" "$apt/parts" "$dir"
  local suites="bookworm trixie"
  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$suites" >"$apt/parts/source.sources"
  local options=(-o "Dir::State::Lists=$apt/lists" -o Dir::Etc::SourceList=/dev/null
                 -o "Dir::Etc::SourceParts=$apt/parts" -o APT::Sandbox::User=root)
  if ! apt-cache "${options[@]}" showsrc "$package" 2>/dev/null | grep -qx "Version: $version"; then
    apt-get "${options[@]}" update -q >"$apt/update.log" 2>&1 || fail_with_log "$apt/update.log" "reading Debian's source index"
  fi
  if ! (cd "$dir" && apt-get "${options[@]}" source --download-only "$package=$version" >"$dir/fetch.log" 2>&1); then
    echo "build-windows: Debian's source of $package $version could not be fetched." >&2
    echo "  It is needed because Debian ships no Windows build of it; the build makes one from the source." >&2
    fail_with_log "$dir/fetch.log" "fetching $package $version"
  fi
  local upstream="${version#*:}"; upstream="${upstream%-*}"
  # The upstream tarball only: some packages ship its signature beside it (.orig.tar.xz.asc).
  local tarball
  for tarball in "$dir"/"${package}_${upstream}".orig.tar.*; do
    case "$tarball" in *.asc) ;; *) tar -xf "$tarball" -C "$dir" ;; esac
  done
  touch "$dir/.unpacked"
}

# options_key TEXT...: a short name for a set of configure options, so another set gets its own cache.
options_key() { printf '%s\n' "$@" | sha256sum | cut -c1-10; }

# A cache entry is whole only once its stamp exists; one without it is removed and built again.
cache_is_whole() { [ -f "$1/.complete" ]; }
mark_whole() { date -u +%FT%TZ >"$1/.complete"; }

# whole_or_locked PREFIX: when PREFIX's cache entry is whole, prints it and ends the script; otherwise
# waits for any other build of it to end and returns holding its lock (descriptor 9) for this one.
whole_or_locked() {
  if cache_is_whole "$1"; then echo "$1"; exit 0; fi
  mkdir -p "$windows_cache_root"
  exec 9>"$1.lock"
  flock 9
  if cache_is_whole "$1"; then echo "$1"; exit 0; fi
}

# cached_cmake_build NAME PACKAGE VERSION TOOLCHAIN OPTIONS...: a library built once from Debian's source
# with CMake (TOOLCHAIN "native" for this machine, else a toolchain file) into the cache; prints the
# prefix. The build folder is kept until the install is whole, so an interrupted run continues.
cached_cmake_build() {
  local name="$1" package="$2" version="$3" toolchain="$4"; shift 4
  local key; key=$(options_key "$version" "$toolchain" "$@" "$( [ "$toolchain" = native ] || cat "$toolchain")")
  local prefix="$windows_cache_root/$name-${version#*:}-$key"
  (
    whole_or_locked "$prefix" >/dev/null
    stage "$name $version: building it once into $windows_cache_root" >&2
    local source_dir="$windows_cache_root/source/$package-${version#*:}"
    fetch_source "$package" "$version" "$source_dir"
    local build="$prefix.build" log="$prefix.build/build.log"
    local toolchain_option=()
    [ "$toolchain" = native ] || toolchain_option=(-DCMAKE_TOOLCHAIN_FILE="$toolchain")
    rm -rf "$prefix"
    mkdir -p "$build"
    local top; top=$(find "$source_dir" -mindepth 2 -maxdepth 2 -name CMakeLists.txt -printf '%h\n' | head -1)
    cmake -G Ninja -S "$top" -B "$build" "${toolchain_option[@]}" -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DCMAKE_BUILD_TYPE=Release "$@" >"$log" 2>&1 || { rm -f "$build/build.ninja"; fail_with_log "$log" "configuring $name"; }
    nice -n 10 ninja -C "$build" -j "$(nproc)" >>"$log" 2>&1 || fail_with_log "$log" "compiling $name"
    cmake --install "$build" >>"$log" 2>&1 || fail_with_log "$log" "installing $name"
    mark_whole "$prefix"
    rm -rf "$build"
    stage "$name $version: ready" >&2
  )
  echo "$prefix"
}
