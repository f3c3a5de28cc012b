#!/usr/bin/env bash
# Makes the Windows installer of Tourlog on Debian 12, with Debian's packages only:
#
#   scripts/windows.sh          builds build-windows/Tourlog-<version>-setup.exe
#   scripts/windows.sh test     the same, then runs the Windows tests under Wine (windows-test.sh)
#
# Debian has no Qt for MinGW: the first run builds the Qt modules Tourlog uses from Debian's own
# qt6-base source (the version of the host's moc and rcc) and SQLite from Debian's sqlite3 source, into
# TOURLOG_WINDOWS_CACHE (default ~/.cache/tourlog-windows), which later runs reuse. That first run takes
# about half an hour on two cores. hamlib is not built for Windows: the Windows build follows no radio, and
# File > Radio... says so.
set -euo pipefail

TOURLOG_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CACHE="${TOURLOG_WINDOWS_CACHE:-$HOME/.cache/tourlog-windows}"
BUILD="${TOURLOG_WINDOWS_BUILD:-$TOURLOG_ROOT/build-windows}"
TOOLCHAIN="$TOURLOG_ROOT/cmake/mingw-w64.cmake"
JOBS="$(nproc)"
WITH_TESTS=OFF
[ "${1:-}" = "test" ] && WITH_TESTS=ON

PACKAGES=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 gcc make xz-utils
    cmake ninja-build qt6-base-dev qt6-base-dev-tools dpkg-dev tcl nsis wine wine64 xvfb xauth xdotool imagemagick)
source "$TOURLOG_ROOT/scripts/packages.sh"

# Debian's sources, for the archive the machine already uses: a deb-src twin of each deb entry.
ensure_source_entries() {
    if apt-get source --simulate qt6-base > /dev/null 2>&1; then
        return 0
    fi
    local list=/etc/apt/sources.list.d/tourlog-deb-src
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | as_root tee "$list.sources" > /dev/null
    else
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | as_root tee "$list.list" > /dev/null
    fi
    as_root apt-get update -q
}

# The Debian source of a package, unpacked once into the cache; prints its folder.
debian_source() {
    local package=$1 into="$CACHE/src/$1"
    if [ ! -f "$into/.unpacked" ]; then
        rm -rf "$into" && mkdir -p "$into"
        (cd "$into" && apt-get source --download-only "$package" > /dev/null && tar xf ./*.orig.tar.xz)
        touch "$into/.unpacked"
    fi
    find "$into" -mindepth 1 -maxdepth 1 -type d | head -n 1
}

host_qt_version() {
    dpkg-query -W -f='${Version}' qt6-base-dev
}

# Qt Core, Gui, Widgets, Network and Test with the Windows platform plugin, for the host's Qt tools.
# Tablet input is left out: Debian's source drops the tablet header (wintab.h) it is built with.
build_qt() {
    local stamp="$CACHE/qt/.built-from" wanted
    wanted="qt6-base $(host_qt_version)"
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
        return 0
    fi
    local source
    source=$(debian_source qt6-base)
    rm -rf "$CACHE/qt" "$CACHE/qt-build" && mkdir -p "$CACHE/qt-build"
    (cd "$CACHE/qt-build" && "$source/configure" -prefix "$CACHE/qt" -release -shared -xplatform win32-g++ \
        -qt-host-path /usr -nomake examples -nomake tests -no-opengl -no-dbus -no-icu -qt-zlib -qt-pcre \
        -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -no-feature-sql -no-feature-printsupport \
        -no-feature-xml -no-feature-concurrent -no-feature-vulkan -no-feature-openssl -no-feature-tabletevent \
        -- -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
    cmake --build "$CACHE/qt-build" --parallel "$JOBS"
    cmake --install "$CACHE/qt-build"
    rm -rf "$CACHE/qt-build"
    echo "$wanted" > "$stamp"
}

# SQLite as the program uses it, through its C API: the amalgamation of Debian's source, as a static library.
build_sqlite() {
    local stamp="$CACHE/sqlite/.built-from" wanted
    wanted="sqlite3 $(dpkg-query -W -f='${Version}' libsqlite3-0)"
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
        return 0
    fi
    local source work="$CACHE/sqlite-build"
    source=$(debian_source sqlite3)
    rm -rf "$CACHE/sqlite" "$work" && mkdir -p "$CACHE/sqlite/include" "$CACHE/sqlite/lib" "$work"
    (cd "$work" && "$source/configure" --disable-tcl > /dev/null && make sqlite3.c > /dev/null)
    x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -c "$work/sqlite3.c" \
        -o "$work/sqlite3.o"
    x86_64-w64-mingw32-ar rcs "$CACHE/sqlite/lib/libsqlite3.a" "$work/sqlite3.o"
    cp "$work/sqlite3.h" "$CACHE/sqlite/include/"
    rm -rf "$work"
    echo "$wanted" > "$stamp"
}

build_tourlog() {
    cmake -S "$TOURLOG_ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$CACHE/qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DSQLite3_INCLUDE_DIR="$CACHE/sqlite/include" -DSQLite3_LIBRARY="$CACHE/sqlite/lib/libsqlite3.a" \
        -DTOURLOG_RADIO=OFF -DTOURLOG_BUILD_BENCH=OFF -DTOURLOG_BUILD_TESTS="$WITH_TESTS" -DTOURLOG_WERROR=ON \
        -DCMAKE_CROSSCOMPILING_EMULATOR=wine
    cmake --build "$BUILD" --parallel "$JOBS"
}

# Where the MinGW runtime DLLs that every program it builds needs are.
mingw_runtime_dirs() {
    dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)"
    dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)"
}

# The program as it is installed: tourlog.exe, the DLLs it loads and the Qt plugins it needs.
stage() {
    local stage="$BUILD/stage"
    rm -rf "$stage" && mkdir -p "$stage/platforms" "$stage/styles"
    cp "$BUILD/app/tourlog.exe" "$stage/"
    for module in Core Gui Widgets Network; do
        cp "$CACHE/qt/bin/Qt6$module.dll" "$stage/"
    done
    cp "$CACHE/qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
    cp "$CACHE/qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
    local dll dir
    for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
        for dir in $(mingw_runtime_dirs); do
            if [ -f "$dir/$dll" ]; then
                cp "$dir/$dll" "$stage/"
                break
            fi
        done
        [ -f "$stage/$dll" ] || { echo "The MinGW runtime $dll was not found" >&2; exit 1; }
    done
    cp "$TOURLOG_ROOT/README.md" "$stage/README.txt"
}

make_installer() {
    local version
    version=$(sed -n 's/^project(Tourlog VERSION \([0-9.]*\).*/\1/p' "$TOURLOG_ROOT/CMakeLists.txt")
    INSTALLER="$BUILD/Tourlog-$version-setup.exe"
    makensis -V2 -DVERSION="$version" -DSTAGE="$BUILD/stage" -DOUTFILE="$INSTALLER" \
        "$TOURLOG_ROOT/windows/tourlog.nsi"
    echo "$INSTALLER"
}

install_missing
ensure_source_entries
mkdir -p "$CACHE"
build_qt
build_sqlite
build_tourlog
stage
make_installer
if [ "$WITH_TESTS" = ON ]; then
    TOURLOG_WINDOWS_BUILD="$BUILD" TOURLOG_WINDOWS_CACHE="$CACHE" INSTALLER="$INSTALLER" \
        "$TOURLOG_ROOT/scripts/windows-test.sh"
fi
