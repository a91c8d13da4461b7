#!/usr/bin/env bash
# scripts/windows-dist.sh <win32 build dir> <dist dir>: the folder a site copies beside its
# host program: SkorvinDLL.dll (stripped; Qt, the runtime and Qt's Chinese texts inside), the
# report template in 报表/, and 说明.txt. Run by ./test --windows after the build.
set -euo pipefail
build=$1
dist=$2
SKORVIN_ROOT=$(cd "$(dirname "$0")/.." && pwd)

rm -rf "$dist"
mkdir -p "$dist/报表"
i686-w64-mingw32-strip -o "$dist/SkorvinDLL.dll" "$build/src/host/SkorvinDLL.dll"
cp "$SKORVIN_ROOT"/resources/*.rtpl "$dist/报表/"
# In the code page a Chinese Windows reads a text file in, with Windows line ends.
iconv -f UTF-8 -t GBK "$SKORVIN_ROOT/resources/windows/说明.txt" | sed 's/$/\r/' >"$dist/说明.txt"
(cd "$dist" && find . -type f -printf '%P\n' | sort | while read -r f; do
  printf '%10d  %s\n' "$(stat -c %s "$f")" "$f"
done) | sed 's/^/  /' | { echo "dist: $dist"; cat; }
