#!/usr/bin/env bash
# scripts/windows-e2e.sh <win32 build dir>: the real 32-bit library run as a site runs it, under
# 32-bit Wine on a virtual display. Called by scripts/windows.sh with Wine started, only where
# this machine can start 32-bit programs.
#   - the C host (tests/windows/CHost.c) keys a score through two ShowForm calls and checks
#     what a host relies on;
#   - skorvin-host.exe opens its demo database and saves a screenshot of the score window
#     (build/win32/e2e/screenshot.png), drawn with the system's fonts through Wine.
set -euo pipefail
build=$(cd "$1" && pwd)
wine=/usr/lib/wine/wine
work=$build/e2e
rm -rf "$work" && mkdir -p "$work"

Xvfb :91 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=:91
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X91 ] && break; sleep 0.1; done

cd "$build/src/host"
# Windows programs take Windows paths: the Unix root is drive Z: in a Wine prefix.
win() { echo "Z:${1//\//\\}"; }
"$wine" skorvin-host.exe --make-demo-db "$(win "$work/c-host.sqlite")" --candidates 3000
"$wine" c-host.exe "$(win "$work/c-host.sqlite")"

"$wine" skorvin-host.exe --make-demo-db "$(win "$work/demo.sqlite")" --candidates 3000
"$wine" skorvin-host.exe --connection "Provider=SQLite;Data Source=$(win "$work/demo.sqlite")" \
  --screenshot "$(win "$work/screenshot.png")"
if [ ! -s "$work/screenshot.png" ]; then
  echo "skorvin-host.exe saved no screenshot" >&2
  exit 1
fi
echo "Windows end-to-end: the C host passed; screenshot: $work/screenshot.png"
