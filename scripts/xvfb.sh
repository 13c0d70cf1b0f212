#!/usr/bin/env bash
# xvfb.sh BUILD_DIR start|stop
# Starts or stops the virtual X display that the tests of a build tree use.
set -eu
build=$(cd "$1" && pwd)
case "$2" in
start)
  if [ -f "$build/xvfb.pid" ] && kill -0 "$(cat "$build/xvfb.pid")" 2>/dev/null; then
    echo "xvfb: already running on $(cat "$build/xvfb.display")"; exit 0
  fi
  n=91
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  setsid "$(dirname "$0")/detach.sh" Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp &
  echo $! > "$build/xvfb.pid"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "xvfb: display :$n did not come up"; exit 1; }
  echo ":$n" > "$build/xvfb.display"
  echo "xvfb: display :$n is up"
  ;;
stop)
  if [ -f "$build/xvfb.pid" ]; then kill "$(cat "$build/xvfb.pid")" 2>/dev/null || true; fi
  rm -f "$build/xvfb.pid" "$build/xvfb.display"
  echo "xvfb: stopped"
  ;;
esac
