#!/usr/bin/env bash
# detach.sh COMMAND [ARGS...]
# Runs a command that may leave long-lived processes behind (Xvfb, wineserver)
# with every inherited descriptor closed, so that a test runner waiting for
# its test's output pipe is not held open by them.
for fd in /proc/$$/fd/*; do
  fd=${fd##*/}
  [ "$fd" -gt 2 ] 2>/dev/null && eval "exec $fd>&-"
done
exec "$@" </dev/null >/dev/null 2>&1
