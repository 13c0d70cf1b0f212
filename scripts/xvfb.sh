#!/usr/bin/env bash
# xvfb.sh BUILD_DIR start|stop
# Starts or stops the virtual X display that the tests of a build tree use,
# one for each kind of Windows (WINE_WINDOWS, wine-kind.sh), so that the two
# kinds' programs never take the keyboard focus from each other.
set -eu
build=$(cd "$1" && pwd)
. "$(dirname "$0")/wine-kind.sh"
case "$2" in
start)
  if [ -f "$xvfb_pid" ] && kill -0 "$(cat "$xvfb_pid")" 2>/dev/null; then
    echo "xvfb: already running on $(cat "$xvfb_display")"; exit 0
  fi
  n=91
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  setsid "$(dirname "$0")/detach.sh" Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp &
  echo $! > "$xvfb_pid"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "xvfb: display :$n did not come up"; exit 1; }
  echo ":$n" > "$xvfb_display"
  echo "xvfb: display :$n is up"
  ;;
stop)
  if [ -f "$xvfb_pid" ]; then kill "$(cat "$xvfb_pid")" 2>/dev/null || true; fi
  rm -f "$xvfb_pid" "$xvfb_display"
  echo "xvfb: stopped"
  ;;
esac
