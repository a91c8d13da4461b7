#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted as .clang-format says; names each one.
set -euo pipefail
SKORVIN_ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$SKORVIN_ROOT/scripts/common.sh"
ensure_packages
cd "$SKORVIN_ROOT"
files=$(git ls-files '*.cpp' '*.hpp' '*.c')
if ! clang-format --dry-run -Werror $files; then
  echo "Some files are not formatted: run clang-format -i on them." >&2
  exit 1
fi
echo "Formatting: every C++ file as .clang-format says."
