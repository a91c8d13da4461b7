#!/usr/bin/env bash
# Qt 5.15 for i686-w64-mingw32, static with a static runtime, built from Debian's own source
# package and installed into a cache outside the checkout, which every later run reuses:
#   $SKORVIN_QT_CACHE/qt<version>-i686-static-<hash of the configure options>
# Sourced by scripts/windows.sh (ensure_windows_qt prints the prefix), or run on its own to
# warm the cache: scripts/windows-qt.sh
# shellcheck shell=bash

SKORVIN_QT_CACHE=${SKORVIN_QT_CACHE:-/var/cache/skorvin}
SKORVIN_QT_TRIPLE=i686-w64-mingw32

# Only what the product and its tests use: core, gui, widgets, printsupport, testlib and the
# Windows platform, style and print-support plugins. Debian's source drops the tablet headers the Windows plugin would
# include and the bundled SQLite, hence tabletevent and sql-sqlite off. The posix compilers
# are chosen with configure's own assignments: a device option is overridden by the mkspec.
windows_qt_options() {
  local t=$SKORVIN_QT_TRIPLE
  printf '%s\n' \
    -xplatform win32-g++ -device-option "CROSS_COMPILE=$t-" \
    "QMAKE_CC=$t-gcc-posix" "QMAKE_CXX=$t-g++-posix" "QMAKE_LINK=$t-g++-posix" "QMAKE_LINK_C=$t-gcc-posix" \
    -opensource -confirm-license -release -static -static-runtime \
    -no-opengl -no-dbus -no-icu -no-freetype -no-direct2d -no-fontconfig \
    -no-feature-tabletevent -no-sql-sqlite -no-feature-sql -no-feature-network \
    -no-feature-xml -no-feature-concurrent \
    -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-harfbuzz \
    -nomake examples -nomake tests
}

windows_qt_source_version() {
  apt-cache showsrc qtbase-opensource-src 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -n 1
}

windows_qt_prefix() {
  local version hash
  version=$(windows_qt_source_version)
  [ -n "$version" ] || return 1
  hash=$(windows_qt_options | sha256sum | cut -c1-10)
  echo "$SKORVIN_QT_CACHE/qt${version%%+*}-i686-static-$hash"
}

# ensure_windows_qt: builds Qt once (about 40 minutes on two cores, 1.5 GB of disk while it
# builds; only the installed prefix of about 110 MB is kept) and prints its prefix.
ensure_windows_qt() {
  local prefix
  prefix=$(windows_qt_prefix) || { echo "No qtbase-opensource-src source package" >&2; return 1; }
  if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    return 0
  fi
  local work
  work=$(mktemp -d "${TMPDIR:-/tmp}/skorvin-qt.XXXXXX")
  echo "Building Qt for $SKORVIN_QT_TRIPLE into $prefix (once; about 40 minutes)" >&2
  (
    set -e
    cd "$work"
    apt-get source -qq qtbase-opensource-src >/dev/null 2>&1
    local src
    src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qtbase-opensource-src-*' | head -n 1)
    mkdir -p "$work/build"
    cd "$work/build"
    local options
    mapfile -t options < <(windows_qt_options)
    "$src/configure" -prefix "$prefix" "${options[@]}" >"$work/configure.log" 2>&1 ||
      { tail -n 40 "$work/configure.log" >&2; exit 1; }
    make -j"$(nproc)" >"$work/build.log" 2>&1 || { tail -n 40 "$work/build.log" >&2; exit 1; }
    rm -rf "$prefix"
    make install >/dev/null 2>&1
    touch "$prefix/.complete"
  ) || { rm -rf "$work"; return 1; }
  rm -rf "$work"
  echo "$prefix"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  SKORVIN_ROOT=$(cd "$(dirname "$0")/.." && pwd)
  source "$SKORVIN_ROOT/scripts/common.sh"
  SKORVIN_PACKAGES=(g++-mingw-w64-i686-posix dpkg-dev make perl python3)
  ensure_packages
  ensure_source_list
  ensure_windows_qt
fi
