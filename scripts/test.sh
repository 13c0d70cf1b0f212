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
for kind in win32 win64; do
  WINE_WINDOWS=$kind "$top/scripts/wine-prefix.sh" "$root/win32"
  WINE_WINDOWS=$kind "$top/scripts/xvfb.sh" "$root/win32" start
done
echo "test: running every test"
start=$(date +%s)
status=0
ctest --test-dir "$root" --output-on-failure -j 2 "$@" || status=$?
echo "test: took $(( $(date +%s) - start )) s"
exit $status
