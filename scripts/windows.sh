#!/usr/bin/env bash
# Builds the calculator for 64-bit Windows on Debian 12 and packs it as a zip:
#   bash scripts/windows.sh          build-windows/nimbo/ and build-windows/nimbo-windows-x64.zip
#   bash scripts/windows.sh --test   the same, then every test suite cross-built and run under wine
#
# Qt for Windows is built once from Debian's own qt6-base source (the version
# the host tools come from) into NIMBO_WIN_CACHE (default ~/.cache/nimbo-windows)
# and reused afterwards; only the installed Qt is kept there. libxlsxwriter
# and zlib are built the same way, as static libraries.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
run_tests=0
case "${1:-}" in
  --test) run_tests=1 ;;
  "") ;;
  *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac

. scripts/packages.sh
# One install line: the cross compiler with posix threads (std::thread and Qt
# need them), wine to run the results, dpkg-dev to unpack the Debian sources,
# make for zlib's own build, the locale sources for the tests' private Russian
# locale, zip and unzip for the package and its check.
nimbo_packages="$nimbo_packages qt6-base-dev-tools g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev xz-utils make locales zip unzip"
nimbo_install_missing

triplet=x86_64-w64-mingw32
cache=${NIMBO_WIN_CACHE:-${HOME:-/root}/.cache/nimbo-windows}
qt=$cache/qt
build=build-windows
jobs=$(nproc)
toolchain=$root/cmake/mingw-w64-x86_64.cmake
# The Windows Qt must be the very version of the host moc, rcc and uic.
qt_source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
mkdir -p "$cache"

# What the Windows Qt is made of. Anything that this list changes rebuilds it.
qt_features=(
  -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_printsupport=ON -DFEATURE_testlib=ON
  # The platform plugin does not compile unless OpenGL is off as an input too.
  -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF
  # Debian's tarball lacks src/3rdparty/wintab.
  -DFEATURE_tabletevent=OFF
  -DFEATURE_dbus=OFF -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_gif=OFF
  # Qt's bundled libraries, so nothing of the Linux host is picked up. The
  # offscreen plugin that the tests use needs FreeType.
  -DFEATURE_system_zlib=OFF -DFEATURE_png=ON -DFEATURE_system_png=OFF -DFEATURE_jpeg=ON -DFEATURE_system_jpeg=OFF
  -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF -DFEATURE_harfbuzz=ON -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
)
qt_stamp="qt6-base $qt_source_version; $(sha256sum "$toolchain" | cut -c1-16); ${qt_features[*]}"

# The spreadsheet writer and its zlib, built as static libraries from
# Debian's own sources of the versions the host's headers come from; the
# program links them in, so the zip holds no DLL of theirs. libxlsxwriter's
# own number formatter (USE_DTOA_LIBRARY) writes "1.5" whatever the C
# runtime's locale. Anything that this list changes rebuilds them.
xlsx=$cache/xlsxwriter
zlib_source_version=$(dpkg-query -W -f='${source:Version}' zlib1g-dev)
xlsxwriter_source_version=$(dpkg-query -W -f='${source:Version}' libxlsxwriter-dev)
xlsxwriter_options=(-DBUILD_SHARED_LIBS=OFF -DUSE_DTOA_LIBRARY=ON -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF)
xlsx_stamp="zlib $zlib_source_version; libxlsxwriter $xlsxwriter_source_version; $(sha256sum "$toolchain" | cut -c1-16); ${xlsxwriter_options[*]}"

# A source list of our own inside the cache, updated once a run: the
# system's apt configuration stays as it is.
source_list_updated=0
fetch_debian_source() {  # $1: source package, $2: its version, $3: a folder; unpacks into $3/$1
  local apt=$cache/apt
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    >"$apt/sources.list"
  local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
              -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o "APT::Sandbox::User=root" -qq)
  if [ "$source_list_updated" = 0 ]; then
    apt-get "${opts[@]}" update
    source_list_updated=1
  fi
  (cd "$3" && apt-get "${opts[@]}" source --download-only "$1=$2")
  dpkg-source -x "$3/${1}_"*.dsc "$3/$1" >/dev/null
}

build_qt() {
  if [ -f "$qt/nimbo-stamp" ] && [ "$(cat "$qt/nimbo-stamp")" = "$qt_stamp" ]; then
    return
  fi
  echo "Building Qt $qt_source_version for Windows into $qt (once; about 20 minutes on 2 cores)"
  local work=$cache/work
  rm -rf "$work" "$qt"
  mkdir -p "$work"
  fetch_debian_source qt6-base "$qt_source_version" "$work"
  cmake -S "$work/qt6-base" -B "$work/build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    "${qt_features[@]}" >"$cache/qt-configure.log"
  cmake --build "$work/build" -j "$jobs"
  cmake --install "$work/build" >/dev/null
  echo "$qt_stamp" >"$qt/nimbo-stamp"
  rm -rf "$work"
}

build_xlsxwriter() {
  if [ -f "$xlsx/nimbo-stamp" ] && [ "$(cat "$xlsx/nimbo-stamp")" = "$xlsx_stamp" ]; then
    return
  fi
  echo "Building zlib and libxlsxwriter for Windows into $xlsx (once; about half a minute)"
  local work=$cache/xlsxwriter-work
  rm -rf "$work" "$xlsx"
  mkdir -p "$work"
  fetch_debian_source zlib "$zlib_source_version" "$work"
  fetch_debian_source libxlsxwriter "$xlsxwriter_source_version" "$work"
  # zlib's own configure knows MinGW by the target's name.
  (cd "$work/zlib" &&
    CHOST=$triplet CC=$triplet-gcc-posix AR=$triplet-ar RANLIB=$triplet-ranlib \
      ./configure --static --prefix="$xlsx" >/dev/null &&
    make -j "$jobs" libz.a >/dev/null && make install >/dev/null)
  cmake -S "$work/libxlsxwriter" -B "$work/build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$xlsx" -DCMAKE_BUILD_TYPE=Release \
    -DZLIB_INCLUDE_DIR="$xlsx/include" -DZLIB_LIBRARY="$xlsx/lib/libz.a" \
    "${xlsxwriter_options[@]}" >"$cache/xlsxwriter-configure.log"
  cmake --build "$work/build" -j "$jobs" >/dev/null
  cmake --install "$work/build" >/dev/null
  echo "$xlsx_stamp" >"$xlsx/nimbo-stamp"
  rm -rf "$work"
}

configure_program() {
  local emulator=()
  [ "$run_tests" = 1 ] && emulator=(-DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-test.sh")
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNIMBO_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" \
    -DXLSXWRITER_ROOT="$xlsx" "${emulator[@]}" >/dev/null
}

# The DLLs a Windows binary imports that we ship: Qt's and the MinGW runtime's
# (the rest belong to Windows itself).
dll_search_path() {
  echo "$qt/bin"
  dirname "$("$triplet-g++-posix" -print-file-name=libstdc++-6.dll)"
  dirname "$("$triplet-gcc-posix" -print-file-name=libwinpthread-1.dll)"
}

copy_imports() {  # $1: a binary in the program folder
  local dll dir
  for dll in $("$triplet-objdump" -p "$1" | sed -n 's/^\s*DLL Name: //p'); do
    [ -e "$folder/$dll" ] && continue
    for dir in $(dll_search_path); do
      if [ -f "$dir/$dll" ]; then
        cp "$dir/$dll" "$folder/"
        copy_imports "$folder/$dll"
        break
      fi
    done
  done
}

# build-windows/nimbo/: the program, A/b and jpg/ (laid out by the build), the
# Qt and MinGW DLLs it needs, the Windows platform plugin, JPEG reading, the
# native style and Qt's own Russian texts; all stripped, then zipped.
lay_out_program() {
  folder=$root/$build/nimbo
  rm -f "$folder"/*.dll "$folder/Nimbo.csv"
  rm -rf "$folder/platforms" "$folder/imageformats" "$folder/styles" "$folder/translations"
  local plugin
  for plugin in platforms/qwindows.dll imageformats/qjpeg.dll styles/qwindowsvistastyle.dll; do
    mkdir -p "$folder/$(dirname "$plugin")"
    cp "$qt/plugins/$plugin" "$folder/$plugin"
    copy_imports "$folder/$plugin"
  done
  # The .qm files are the same on every system: the Linux package's copy,
  # found by the program in "translations" beside it.
  mkdir -p "$folder/translations"
  cp /usr/share/qt6/translations/qtbase_ru.qm "$folder/translations/"
  copy_imports "$folder/nimbo.exe"
  find "$folder" -name '*.dll' -o -name '*.exe' | xargs "$triplet-strip" --strip-unneeded
  rm -f "$build/nimbo-windows-x64.zip"
  (cd "$build" && zip -qr9 nimbo-windows-x64.zip nimbo)
  echo "$build/nimbo-windows-x64.zip: $(du -k "$build/nimbo-windows-x64.zip" | cut -f1) KB"
}

# The tests run under wine in a prefix of their own, on a virtual display
# (even offscreen Qt wants one under wine). Wine does not pass QT_* variables
# on, so the platform comes from the prefix's registry; the decimal-comma runs
# need a Russian locale, made privately for LOCPATH.
run_tests_under_wine() {
  export WINEPREFIX=$cache/wine-tests WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # The marker's number goes up whenever the prefix's settings below change.
  if [ ! -f "$WINEPREFIX/nimbo-ready-2" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /d offscreen /f >/dev/null
    wine reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /d 'Z:\usr\share\fonts\truetype\dejavu' /f >/dev/null
    wineserver -w
    touch "$WINEPREFIX/nimbo-ready-2"
  fi
  export LOCPATH=$cache/locale
  if [ ! -d "$LOCPATH/ru_RU.UTF-8" ]; then
    mkdir -p "$LOCPATH"
    localedef -i ru_RU -f UTF-8 "$LOCPATH/ru_RU.UTF-8"
  fi
  cp -r /usr/lib/locale/C.utf8 "$LOCPATH/" 2>/dev/null || true
  local dir wine_path=""
  for dir in $(dll_search_path); do wine_path="$wine_path;Z:${dir//\//\\}"; done
  export WINEPATH=${wine_path#;}
  # A step of the random walk takes about a millisecond under wine.
  export NIMBO_RANDOM_WALK_STEPS=${NIMBO_RANDOM_WALK_STEPS:-20000}
  start_virtual_display
  check_zip_under_wine
  ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 900
}

# Xvfb on a display number it picks itself, ended when the script ends.
start_virtual_display() {
  local number_file=$cache/display i
  rm -f "$number_file"
  Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$number_file" 2>/dev/null &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
  for i in $(seq 50); do
    [ -s "$number_file" ] && break
    sleep 0.2
  done
  export DISPLAY=:$(head -1 "$number_file")
}

# Starts nimbo.exe from the folder $1 and ends it once the file $2 has bytes
# (or after a minute).
run_zipped_until() {
  local program i
  # On its real platform, not the tests' offscreen one, in a Russian locale.
  (cd "$1" && LC_ALL=ru_RU.UTF-8 exec wine nimbo.exe -platform windows) & program=$!
  for i in $(seq 120); do
    [ -s "$2" ] && break
    sleep 0.5
  done
  sleep 1
  wineserver -k || true
  wait "$program" || true
}

# Whether $1 holds the log header in Windows-1251 with CR LF.
log_header_ok() {
  [ -f "$1" ] && iconv -f CP1251 -t UTF-8 "$1" | head -1 | grep -q '^ВР, Типоразмер, ' &&
    [ "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' ')" = 0d0a ]
}

# The zip as a user gets it, unpacked into a folder named with a blank and
# Cyrillic letters: nimbo.exe starts and writes the log header in
# Windows-1251 with CR LF. Then, with a folder in the log's place, it keeps
# the log in the user's %APPDATA% instead.
check_zip_under_wine() {
  local place ok=1
  place=$(mktemp -d)
  unzip -q "$build/nimbo-windows-x64.zip" -d "$place/Мои программы"
  local folder="$place/Мои программы/nimbo"
  run_zipped_until "$folder" "$folder/Nimbo.csv"
  log_header_ok "$folder/Nimbo.csv" || ok=0
  local user_log="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/nimbo/Nimbo.csv"
  # Each run ends by killing wine, which leaves the lock behind; a wine started
  # afresh can give the next nimbo.exe the same process id as the killed one,
  # and then the lock's owner looks alive.
  rm -f "$user_log" "$user_log.lock" "$folder/Nimbo.csv" "$folder/Nimbo.csv.lock"
  mkdir "$folder/Nimbo.csv"
  run_zipped_until "$folder" "$user_log"
  log_header_ok "$user_log" || ok=2
  rm -rf "$place" "$user_log" "$user_log.lock"
  if [ "$ok" = 0 ]; then
    echo "nimbo.exe from the zip did not write the log header in Windows-1251 with CR LF" >&2
    return 1
  elif [ "$ok" = 2 ]; then
    echo "nimbo.exe from the zip did not keep its log in %APPDATA% with a folder in the log's place" >&2
    return 1
  fi
  echo "nimbo.exe from the zip started and wrote its log header, in its own folder and in %APPDATA%"
}

start=$SECONDS
build_qt
build_xlsxwriter
echo "Qt and libxlsxwriter for Windows ready: $((SECONDS - start)) s"
configure_program
if [ "$run_tests" = 1 ]; then
  cmake --build "$build" -j "$jobs"
else
  cmake --build "$build" -j "$jobs" --target nimbo
fi
lay_out_program
echo "Program built and packed: $((SECONDS - start)) s"
if [ "$run_tests" = 1 ]; then
  run_tests_under_wine
  echo "Tests under wine done: $((SECONDS - start)) s"
fi
