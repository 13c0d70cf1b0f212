#!/usr/bin/env bash
# wine-locale.sh BUILD_DIR LOCALE PROGRAM [ARGS...]
# Runs a Windows program of the kind WINE_WINDOWS names (wine-kind.sh) in a
# Wine prefix of its own whose system locale is LOCALE (ja_JP: code page
# 932). The locale is compiled with localedef into the build tree and the
# prefix made there the first time (about 15 seconds), so that a new machine
# needs nothing more; the prefix's wineserver is stopped at the end. Windows
# appear on the kind's virtual display when xvfb.sh started one.
set -eu
build=$(cd "$1" && pwd); locale=$2; shift 2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-kind.sh"
export LOCPATH="$build/locale"
if [ ! -d "$LOCPATH/$locale.UTF-8" ]; then
  mkdir -p "$LOCPATH"
  localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8"
fi
export LC_ALL="$locale.UTF-8"
export WINEPREFIX="$WINEPREFIX-$locale"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-locale: creating $WINEPREFIX ($locale)"
  "$here/detach.sh" "$wine" wineboot.exe -i
  wineserver -w
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null || true
fi
if [ -f "$xvfb_display" ]; then
  DISPLAY=$(cat "$xvfb_display"); export DISPLAY
fi
status=0
"$wine" "$@" || status=$?
"$here/detach.sh" wineserver -k || true
exit $status
