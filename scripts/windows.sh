#!/usr/bin/env bash
# The Windows side of the build, run by ./test --windows: the plain layers, their unit
# tests and the boundary test library cross-built with mingw-w64 and no Qt.
#   build/win32  i686-w64-mingw32:   built, every test run under 32-bit Wine, and the
#                                     export table and entry code checked
#   build/win64  x86_64-w64-mingw32: built, every test run under wine64
# SQLite comes from Debian's own source package (apt-get source sqlite3, with a deb-src
# entry this script writes), GoogleTest from /usr/src/googletest; both are built once per
# build folder and kept there.
set -euo pipefail
SKORVIN_ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$SKORVIN_ROOT/scripts/common.sh"

SKORVIN_PACKAGES=(
  cmake ninja-build make binutils g++ dpkg-dev tcl googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 wine32:i386
)
SQLITE_SOURCE=$SKORVIN_ROOT/build/windows-sqlite
SRC_LIST=/etc/apt/sources.list.d/skorvin-src.sources

sudo_if_needed() {
  if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

# 32-bit Wine comes from Debian's i386 packages, which apt offers once the machine accepts
# that architecture (ensure_packages then updates the package lists).
ensure_i386_architecture() {
  dpkg --print-foreign-architectures | grep -qx i386 && return 0
  echo "Adding the i386 architecture for 32-bit Wine"
  sudo_if_needed dpkg --add-architecture i386
}

# apt-get source needs deb-src entries; they mirror the machine's own deb entries.
ensure_source_list() {
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  echo "Adding $SRC_LIST"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | sudo_if_needed tee "$SRC_LIST" >/dev/null
  else
    grep -hE '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      sudo_if_needed tee "${SRC_LIST%.sources}.list" >/dev/null
  fi
  sudo_if_needed apt-get update -qq >/dev/null
}

# The SQLite amalgamation (sqlite3.c, sqlite3.h), generated once from the source package.
ensure_sqlite_amalgamation() {
  [ -f "$SQLITE_SOURCE/sqlite3.c" ] && return 0
  ensure_source_list
  echo "Generating the SQLite amalgamation from Debian's source package"
  local work=$SQLITE_SOURCE.work
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get source -qq sqlite3 >/dev/null 2>&1)
  local tree
  tree=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)
  mkdir -p "$work/bld"
  (cd "$work/bld" && "$tree/configure" --disable-tcl >/dev/null && make -j2 sqlite3.c >/dev/null)
  mkdir -p "$SQLITE_SOURCE"
  cp "$work/bld/sqlite3.c" "$work/bld/sqlite3.h" "$SQLITE_SOURCE/"
  rm -rf "$work"
}

# build_windows <build dir> <triple>: SQLite and GoogleTest into <dir>/deps, then the project.
build_windows() {
  local dir=$1 triple=$2
  local toolchain=$SKORVIN_ROOT/cmake/toolchain-$triple.cmake
  local deps=$dir/deps
  mkdir -p "$deps/include" "$deps/lib"
  if [ ! -f "$deps/lib/libsqlite3.a" ]; then
    echo "Compiling SQLite for $triple"
    cp "$SQLITE_SOURCE/sqlite3.h" "$deps/include/"
    "$triple-gcc-posix" -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -c "$SQLITE_SOURCE/sqlite3.c" \
      -o "$deps/sqlite3.o"
    "$triple-ar" rcs "$deps/lib/libsqlite3.a" "$deps/sqlite3.o"
  fi
  if [ ! -f "$deps/lib/cmake/GTest/GTestConfig.cmake" ]; then
    echo "Building GoogleTest for $triple"
    cmake -S /usr/src/googletest -B "$deps/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_GMOCK=OFF >/dev/null
    cmake --build "$deps/googletest" --target install -j2 >/dev/null
  fi
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$SKORVIN_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DSKORVIN_WITH_QT=OFF \
      -DSQLite3_INCLUDE_DIR="$deps/include" -DSQLite3_LIBRARY="$deps/lib/libsqlite3.a" \
      -DGTest_DIR="$deps/lib/cmake/GTest" >/dev/null
  fi
  cmake --build "$dir" -j2
}

# A Wine prefix of the build folder's own, made once (the first start takes a while): a
# 32-bit one run by the 32-bit loader, a 64-bit one by the 64-bit loader (the two loaders
# CMake's toolchain files run the tests with). Run in a subshell: its server stops with it.
start_wine() {
  export WINEPREFIX=$1/wine WINEARCH=$2 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  local wine=/usr/lib/wine/wine
  [ "$2" = win64 ] && wine=/usr/lib/wine/wine64
  unset DISPLAY
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1 || true
  fi
  # One server for all the test programs, instead of one started and stopped for each.
  wineserver -p 2>/dev/null || true
  trap 'wineserver -k 2>/dev/null || true' EXIT
  # The first program starts Wine's own services, which live as long as the server: started
  # here with nothing to inherit, they never hold a test's output pipe open (the test would
  # then seem to hang until its time-out).
  "$wine" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# run_windows_tests <build dir> <win32|win64>
run_windows_tests() (
  start_wine "$1" "$2"
  cd "$1"
  ctest --output-on-failure -j2
)

ensure_i386_architecture
ensure_packages
ensure_sqlite_amalgamation

build_windows "$SKORVIN_ROOT/build/win32" i686-w64-mingw32
run_windows_tests "$SKORVIN_ROOT/build/win32" win32

build_windows "$SKORVIN_ROOT/build/win64" x86_64-w64-mingw32
run_windows_tests "$SKORVIN_ROOT/build/win64" win64
