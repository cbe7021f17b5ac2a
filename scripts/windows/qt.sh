#!/usr/bin/env bash
# scripts/windows/qt.sh: Qt 6 (Core, Gui, Widgets, the windows and offscreen platform plugins) for
# x86-64 Windows, built once from Debian's qt6-base source into the cache outside the clone. Prints the
# installed prefix as its last line. Interrupted, it continues from its build folder the next time.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/lib.sh"

qt_version="6.4.2+dfsg-10"
# Off: what the menu does not use. dynamicgl must go with opengl (6.4.2's windows plugin does not build
# otherwise); tabletevent because Debian's source drops the tablet headers; jpeg/gif/ico because the
# menu decodes its pictures itself. directwrite3 must go with direct2d: 6.4.2 builds its font database
# only with both, yet the windows plugin asks for it with directwrite3 alone.
qt_options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF
  -DFEATURE_vulkan=OFF -DFEATURE_testlib=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
  # Not compiled, to keep a fresh machine's first build short: the parts of Gui and Widgets no screen,
  # dialog or message of the menu uses (the file dialog, message boxes, labels, lists, line edits, combo
  # boxes and style sheets stay).
  -DFEATURE_graphicsview=OFF -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF
  -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF -DFEATURE_mdiarea=OFF
  -DFEATURE_calendarwidget=OFF -DFEATURE_datetimeedit=OFF -DFEATURE_wizard=OFF -DFEATURE_colordialog=OFF
  -DFEATURE_fontdialog=OFF -DFEATURE_errormessage=OFF -DFEATURE_progressdialog=OFF
  -DFEATURE_undoview=OFF -DFEATURE_undogroup=OFF -DFEATURE_undostack=OFF -DFEATURE_undocommand=OFF
  -DFEATURE_lcdnumber=OFF -DFEATURE_dial=OFF -DFEATURE_splashscreen=OFF -DFEATURE_columnview=OFF
  -DFEATURE_keysequenceedit=OFF -DFEATURE_syntaxhighlighter=OFF -DFEATURE_fontcombobox=OFF
  -DFEATURE_commandlinkbutton=OFF -DFEATURE_toolbox=OFF -DFEATURE_datawidgetmapper=OFF
)
key=$(options_key "$qt_version" "${qt_options[@]}" "$(cat "$here/mingw.cmake")")
prefix="$windows_cache_root/qt6-base-$qt_version-mingw-$key"
whole_or_locked "$prefix"

stage "Qt $qt_version for Windows is not in $windows_cache_root yet: building it once (25-35 minutes on 2 cores)" >&2
source_dir="$windows_cache_root/source/qt6-base-$qt_version"
fetch_source qt6-base "$qt_version" "$source_dir"
stage "Qt: source unpacked" >&2
# The toolchain file is copied beside the cache: the installed Qt names it, and the clone may move.
toolchain="$windows_cache_root/mingw-$key.cmake"
cp "$here/mingw.cmake" "$toolchain"
build="$prefix.build"
rm -rf "$prefix"
mkdir -p "$build"
log="$build/build.log"
if [ ! -f "$build/build.ninja" ]; then
  stage "Qt: configuring" >&2
  cmake -G Ninja -S "$source_dir"/qtbase-everywhere-src-* -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${qt_options[@]}" >"$log" 2>&1 || { rm -f "$build/build.ninja"; fail_with_log "$log" "configuring Qt"; }
fi
# One line per tenth of the build steps, so a long build shows that it moves.
stage "Qt: compiling (about 1,000 steps)" >&2
nice -n 10 ninja -C "$build" -j "$(nproc)" >>"$log" 2>&1 &
ninja_pid=$!
trap 'kill $ninja_pid 2>/dev/null || true' EXIT
last_tenth=-1
while kill -0 $ninja_pid 2>/dev/null; do
  sleep 10
  progress=$(tail -c 400 "$log" | grep -o '\[[0-9]*/[0-9]*\]' | tail -1 | tr -d '[]') || true
  if [ -n "$progress" ]; then
    tenth=$((${progress%/*} * 10 / ${progress#*/}))
    if [ "$tenth" -gt "$last_tenth" ]; then stage "Qt: step $progress" >&2; last_tenth=$tenth; fi
  fi
done
wait $ninja_pid || fail_with_log "$log" "compiling Qt"
trap - EXIT
stage "Qt: installing" >&2
cmake --install "$build" >>"$log" 2>&1 || fail_with_log "$log" "installing Qt"
mark_whole "$prefix"
rm -rf "$build"
stage "Qt: ready in $prefix" >&2
echo "$prefix"
