#!/usr/bin/env bash
# build.sh [host|win32|all]   (default: all)
# Configures and builds the two trees under ${BUILD_ROOT:-build}:
#   win32: the Windows programs and the library's tests, cross-built with MinGW;
#   host:  the library and its tests for Linux under ASan/UBSan, and the fuzz targets;
# and, only when named (build.sh x64), the x64 test build of the Windows programs
# and their Wine tests, for a machine that cannot run 32-bit code.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${BUILD_ROOT:-$top/build}
mkdir -p "$root"
jobs=${JOBS:-2}
what=${1:-all}

if [ "$what" = all ] || [ "$what" = win32 ]; then
  echo "build: win32 tree ($root/win32)"
  cmake -S "$top" -B "$root/win32" -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/i686-w64-mingw32.cmake" >/dev/null
  cmake --build "$root/win32" -j "$jobs"
fi
if [ "$what" = x64 ]; then
  echo "build: x64 tree ($root/x64)"
  cmake -S "$top" -B "$root/x64" -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/x86_64-w64-mingw32.cmake" >/dev/null
  cmake --build "$root/x64" -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = host ]; then
  echo "build: host tree ($root/host)"
  CC=clang CXX=clang++ cmake -S "$top" -B "$root/host" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$root/host" -j "$jobs"
fi
echo "build: done"
