#!/usr/bin/env bash
# wine.sh BUILD_DIR PROGRAM [ARGS...]
# Runs a Windows program in the build tree's own Wine prefix (never ~/.wine),
# on the virtual display that xvfb.sh started for that tree, if any.
set -eu
build=$(cd "$1" && pwd); shift
export WINEPREFIX="$build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -f "$build/xvfb.display" ]; then
  DISPLAY=$(cat "$build/xvfb.display"); export DISPLAY
fi
exec wine "$@"
