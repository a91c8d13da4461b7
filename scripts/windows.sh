#!/usr/bin/env bash
# The Windows side of the build, run by ./test --windows, cross-built with mingw-w64:
#   build/win32  i686-w64-mingw32 with Qt 5.15 built static (scripts/windows-qt.sh): the real
#                SkorvinDLL.dll, skorvin-host.exe, every test program and the C host; the files
#                checked statically (exports, entry code, imports) and dist/SkorvinDLL-win32
#                made; where this machine can start 32-bit programs, every test run under
#                32-bit Wine and the demo host driven end to end under Xvfb
#   build/win64  x86_64-w64-mingw32 without Qt: the plain layers, their tests under wine64
# SQLite and libxlsxwriter come from Debian's own source packages (apt-get source, with a
# deb-src entry this script writes), zlib from Debian's libz-mingw-w64-dev, GoogleTest from
# /usr/src/googletest; each is built once per build folder and kept there.
set -euo pipefail
SKORVIN_ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$SKORVIN_ROOT/scripts/common.sh"
source "$SKORVIN_ROOT/scripts/windows-qt.sh"

SKORVIN_WINDOWS_PACKAGES=(
  cmake ninja-build make binutils g++ dpkg-dev tcl googletest python3 qttranslations5-l10n
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 libz-mingw-w64-dev
)
SQLITE_SOURCE=$SKORVIN_ROOT/build/windows-sqlite
XLSXWRITER_SOURCE=$SKORVIN_ROOT/build/windows-xlsxwriter

# Some machines cannot start 32-bit programs at all (the kernel's 32-bit emulation is off).
# The probe is a 32-bit Linux program of three instructions, assembled and linked here.
runs_32bit_programs() {
  local probe
  probe=$(mktemp -d)
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$probe/p.s"
  local ok=1
  if as --32 "$probe/p.s" -o "$probe/p.o" && ld -m elf_i386 "$probe/p.o" -o "$probe/p" && "$probe/p" 2>/dev/null; then
    ok=0
  fi
  rm -rf "$probe"
  return $ok
}

# 32-bit Wine comes from Debian's i386 packages, which apt offers once the machine accepts
# that architecture (ensure_packages then updates the package lists).
ensure_i386_architecture() {
  dpkg --print-foreign-architectures | grep -qx i386 && return 0
  echo "Adding the i386 architecture for 32-bit Wine"
  sudo_if_needed dpkg --add-architecture i386
}

ensure_windows_packages() {
  SKORVIN_PACKAGES=("${SKORVIN_WINDOWS_PACKAGES[@]}")
  if [ "${SKORVIN_RUNS_32BIT:-no}" = yes ]; then
    ensure_i386_architecture
    SKORVIN_PACKAGES+=(wine32:i386 xvfb xauth fonts-wqy-zenhei)
  fi
  ensure_packages
}

# unpack_debian_source <package> <work dir>: a fresh work dir holding the package's unpacked
# source; prints the source tree's path.
unpack_debian_source() {
  rm -rf "$2" && mkdir -p "$2"
  (cd "$2" && apt-get source -qq "$1" >/dev/null 2>&1)
  find "$2" -mindepth 1 -maxdepth 1 -type d -name "$1-*" | head -n 1
}

# The SQLite amalgamation (sqlite3.c, sqlite3.h), generated once from the source package.
ensure_sqlite_amalgamation() {
  [ -f "$SQLITE_SOURCE/sqlite3.c" ] && return 0
  echo "Generating the SQLite amalgamation from Debian's source package"
  local work=$SQLITE_SOURCE.work
  local tree
  tree=$(unpack_debian_source sqlite3 "$work")
  mkdir -p "$work/bld"
  (cd "$work/bld" && "$tree/configure" --disable-tcl >/dev/null && make -j2 sqlite3.c >/dev/null)
  mkdir -p "$SQLITE_SOURCE"
  cp "$work/bld/sqlite3.c" "$work/bld/sqlite3.h" "$SQLITE_SOURCE/"
  rm -rf "$work"
}

# libxlsxwriter's source tree, unpacked once from the source package (Debian builds no mingw one).
ensure_xlsxwriter_source() {
  [ -f "$XLSXWRITER_SOURCE/CMakeLists.txt" ] && return 0
  echo "Unpacking libxlsxwriter from Debian's source package"
  local work=$XLSXWRITER_SOURCE.work
  local tree
  tree=$(unpack_debian_source libxlsxwriter "$work")
  rm -rf "$XLSXWRITER_SOURCE"
  mv "$tree" "$XLSXWRITER_SOURCE"
  rm -rf "$work"
}

# build_windows <build dir> <triple> [cmake args...]: SQLite, libxlsxwriter and GoogleTest
# into <dir>/deps, then the project.
build_windows() {
  local dir=$1 triple=$2
  shift 2
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
  # Static, with its own minizip and Debian's static zlib for mingw, so the DLL needs no other DLL.
  local zlib_include=/usr/$triple/include zlib=/usr/$triple/lib/libz.a
  if [ ! -f "$deps/lib/libxlsxwriter.a" ]; then
    echo "Building libxlsxwriter for $triple"
    cmake -S "$XLSXWRITER_SOURCE" -B "$deps/xlsxwriter" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DSKORVIN_WINE=OFF -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_SHARED_LIBS=OFF \
      -DUSE_SYSTEM_MINIZIP=OFF -DZLIB_INCLUDE_DIR="$zlib_include" -DZLIB_LIBRARY="$zlib" >/dev/null
    cmake --build "$deps/xlsxwriter" --target install -j2 >/dev/null
  fi
  if [ ! -f "$deps/lib/cmake/GTest/GTestConfig.cmake" ]; then
    echo "Building GoogleTest for $triple"
    cmake -S /usr/src/googletest -B "$deps/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_GMOCK=OFF >/dev/null
    cmake --build "$deps/googletest" --target install -j2 >/dev/null
  fi
  # Configured every time: a changed option takes effect, and an unchanged one costs seconds.
  cmake -S "$SKORVIN_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DSQLite3_INCLUDE_DIR="$deps/include" \
    -DSQLite3_LIBRARY="$deps/lib/libsqlite3.a" -DXLSXWRITER_INCLUDE_DIR="$deps/include" \
    -DXLSXWRITER_LIBRARY="$deps/lib/libxlsxwriter.a" -DZLIB_INCLUDE_DIR="$zlib_include" -DZLIB_LIBRARY="$zlib" \
    -DGTest_DIR="$deps/lib/cmake/GTest" "$@" >/dev/null
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
# Wine now and then fails to start one of two programs started at the same moment (the test
# then ends in a few milliseconds with no output); a test that fails is run once more, so a
# test that really fails still fails.
run_windows_tests() (
  start_wine "$1" "$2"
  cd "$1"
  ctest --output-on-failure -j2 --repeat until-pass:2
)

# The checks that read the 32-bit files instead of running them.
run_static_checks() (
  cd "$1"
  ctest --output-on-failure -L static
)

if runs_32bit_programs; then
  SKORVIN_RUNS_32BIT=yes
else
  SKORVIN_RUNS_32BIT=no
  echo "This machine cannot start 32-bit programs (Exec format error): the 32-bit Windows build is built" \
    "and checked statically; its tests and the end-to-end run under Wine are NOT run here."
fi
ensure_windows_packages
ensure_source_list
ensure_sqlite_amalgamation
ensure_xlsxwriter_source
qt_prefix=$(ensure_windows_qt)

wine32=ON
[ "$SKORVIN_RUNS_32BIT" = yes ] || wine32=OFF
build_windows "$SKORVIN_ROOT/build/win32" i686-w64-mingw32 -DSKORVIN_QT_MAJOR=5 -DCMAKE_PREFIX_PATH="$qt_prefix" \
  -DSKORVIN_WINE=$wine32
run_static_checks "$SKORVIN_ROOT/build/win32"
"$SKORVIN_ROOT/scripts/windows-dist.sh" "$SKORVIN_ROOT/build/win32" "$SKORVIN_ROOT/dist/SkorvinDLL-win32"
if [ "$SKORVIN_RUNS_32BIT" = yes ]; then
  run_windows_tests "$SKORVIN_ROOT/build/win32" win32
  (start_wine "$SKORVIN_ROOT/build/win32" win32 && "$SKORVIN_ROOT/scripts/windows-e2e.sh" "$SKORVIN_ROOT/build/win32")
fi

build_windows "$SKORVIN_ROOT/build/win64" x86_64-w64-mingw32 -DSKORVIN_WITH_QT=OFF
run_windows_tests "$SKORVIN_ROOT/build/win64" win64
