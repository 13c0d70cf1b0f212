#!/usr/bin/env bash
# wine.sh BUILD_DIR PROGRAM [ARGS...]
# Runs a Windows program in the build tree's own Wine prefix of the kind
# WINE_WINDOWS names (wine-kind.sh), on the virtual display that xvfb.sh
# started for it, if any.
set -eu
build=$(cd "$1" && pwd); shift
. "$(dirname "$0")/wine-kind.sh"
if [ -f "$xvfb_display" ]; then
  DISPLAY=$(cat "$xvfb_display"); export DISPLAY
fi
exec "$wine" "$@"
