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
# Wine runs our 32-bit programs with a 32-bit loader of its own; a kernel
# without 32-bit support refuses it ("Exec format error"), and then no 32-bit
# code runs at all, under WoW64 neither. There the same sources are built for
# x64 as well and their Wine tests run in a 64-bit prefix with Wine's 64-bit
# loader: every scenario still runs the real programs, but not the 32-bit
# files we ship, and the run says so loudly.
trees=(host win32)
skip=()
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  kinds=(win32:win32 win64:win32)
else
  BUILD_ROOT=$root "$top/scripts/build.sh" x64
  trees+=(x64)
  kinds=(x64:x64)
  skip=(-LE '^win(32|64)$')
fi
# One CTest run over every tree, so that one summary line covers everything.
printf 'subdirs("%s")\n' "${trees[@]}" > "$root/CTestTestfile.cmake"
# Each kind of Windows has its prefix and virtual display in its tree,
# started here, outside CTest, and stopped however the run ends.
stop_wine() {
  for k in "${kinds[@]}"; do
    WINE_WINDOWS=${k%%:*} "$top/scripts/wine-prefix.sh" "$root/${k#*:}" stop >/dev/null
    WINE_WINDOWS=${k%%:*} "$top/scripts/xvfb.sh" "$root/${k#*:}" stop >/dev/null
  done
}
trap stop_wine EXIT
for k in "${kinds[@]}"; do
  WINE_WINDOWS=${k%%:*} "$top/scripts/wine-prefix.sh" "$root/${k#*:}"
  WINE_WINDOWS=${k%%:*} "$top/scripts/xvfb.sh" "$root/${k#*:}" start
done
if [ ${#skip[@]} -gt 0 ]; then
  wine_tests=$(ctest --test-dir "$root/win32" -N -L '^win(32|64)$' | sed -n 's/^Total Tests: //p')
  echo "test: THIS MACHINE CANNOT RUN 32-BIT CODE (its kernel refuses Wine's 32-bit loader):"
  echo "test: the ${wine_tests:-?} Wine tests of the shipped 32-bit programs are NOT run;"
  echo "test: the unit tests and end-to-end scenarios run instead on the x64 build of the same sources"
else
  echo "test: running every test"
fi
start=$(date +%s)
status=0
ctest --test-dir "$root" --output-on-failure -j 2 "${skip[@]}" "$@" || status=$?
echo "test: took $(( $(date +%s) - start )) s"
exit $status
