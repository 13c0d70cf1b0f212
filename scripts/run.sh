#!/usr/bin/env bash
# run.sh: builds the Windows programs and runs the library's test program under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${BUILD_ROOT:-$top/build}
"$top/scripts/prereqs.sh"
BUILD_ROOT=$root "$top/scripts/build.sh" win32
"$top/scripts/wine-prefix.sh" "$root/win32"
echo "run: the library's tests under Wine"
"$top/scripts/wine.sh" "$root/win32" "$root/win32/tests/unit/unit_tests.exe"
