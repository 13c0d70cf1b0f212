#!/usr/bin/env bash
# test.sh [ctest arguments...]
# Installs what is missing, builds both trees and runs every test of both:
# the library's unit tests on Linux (sanitizers) and under Wine, the fuzz
# targets for a short time, and the end-to-end scenarios under Wine on Xvfb.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${BUILD_ROOT:-$top/build}
"$top/scripts/prereqs.sh"
BUILD_ROOT=$root "$top/scripts/build.sh" all
# One CTest run over both trees, so that one summary line covers everything.
cat > "$root/CTestTestfile.cmake" <<CT
subdirs("host")
subdirs("win32")
CT
# The Wine tests run twice, as on a 32-bit and on a 64-bit Windows: each kind
# has its prefix and virtual display in the win32 tree, started here, outside
# CTest, and stopped however the run ends.
stop_wine() {
  for kind in win32 win64; do
    WINE_WINDOWS=$kind "$top/scripts/wine-prefix.sh" "$root/win32" stop >/dev/null
    WINE_WINDOWS=$kind "$top/scripts/xvfb.sh" "$root/win32" stop >/dev/null
  done
}
trap stop_wine EXIT
# Wine runs our 32-bit programs with a 32-bit loader of its own; a kernel
# without 32-bit support refuses it ("Exec format error"). There the Wine
# tests cannot run at all: they are left out, and the run says so loudly.
skip=()
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  for kind in win32 win64; do
    WINE_WINDOWS=$kind "$top/scripts/wine-prefix.sh" "$root/win32"
    WINE_WINDOWS=$kind "$top/scripts/xvfb.sh" "$root/win32" start
  done
  echo "test: running every test"
else
  skip=(-LE '^win(32|64)$')
  wine_tests=$(ctest --test-dir "$root" -N -L '^win(32|64)$' | sed -n 's/^Total Tests: //p')
  echo "test: THIS MACHINE CANNOT RUN 32-BIT PROGRAMS (its kernel refuses Wine's 32-bit loader):"
  echo "test: the ${wine_tests:-?} Wine tests (unit tests under Wine, end-to-end scenarios, signed release) are NOT run;"
  echo "test: running the Linux unit tests, the fuzz targets and the checks of the built programs"
fi
start=$(date +%s)
status=0
ctest --test-dir "$root" --output-on-failure -j 2 "${skip[@]}" "$@" || status=$?
echo "test: took $(( $(date +%s) - start )) s"
exit $status
