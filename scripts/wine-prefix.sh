#!/usr/bin/env bash
# wine-prefix.sh BUILD_DIR [stop]
# Creates the build tree's Wine prefix of the kind WINE_WINDOWS names
# (wine-kind.sh) once (10 to 20 seconds) and starts a persistent wineserver
# for it, so that later program starts are quick.
# With "stop": ends every Wine process of that prefix.
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-kind.sh"
if [ "${2:-}" = stop ]; then
  wineserver -k 2>/dev/null || true
  echo "wine-prefix: stopped the wineserver of $WINEPREFIX"
  exit 0
fi
if [ "$wine" = wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "wine-prefix: this machine cannot run 32-bit programs (its kernel refuses Wine's 32-bit loader): only the x64 test build can run here (scripts/build.sh x64, WINE_WINDOWS=x64)" >&2
  exit 3
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-prefix: creating $WINEPREFIX ($WINEARCH)"
  "$here/detach.sh" "$wine" wineboot.exe -i
  wineserver -w
fi
"$here/detach.sh" wineserver -p || true
# Start Wine's background services now, detached: whichever program starts
# them hands them its standard error, and a test runner would then wait for
# that pipe until the services end.
"$here/detach.sh" "$wine" wineboot.exe || true
echo "wine-prefix: ready ($WINEPREFIX)"
