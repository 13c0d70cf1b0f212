#!/usr/bin/env bash
# fuzz.sh [seconds]   (default 300)
# Builds the host tree and runs every fuzz target for the given number of
# seconds, one after the other, each from its seeds in fuzz/corpus/NAME/ and
# the corpus it has grown in the build tree. A crash leaves its input in
# build/host/fuzz/artifacts/NAME/. Ends with one result line.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${BUILD_ROOT:-$top/build}
seconds=${1:-300}
case "$seconds" in
  ''|*[!0-9]*) echo "usage: fuzz.sh [seconds]" >&2; exit 2 ;;
esac

BUILD_ROOT=$root "$top/scripts/build.sh" host
shopt -s nullglob
targets=()
for candidate in "$root"/host/fuzz/fuzz_*; do
  case "$candidate" in *.*) continue ;; esac     # logs and other files beside the programs
  [ -f "$candidate" ] && [ -x "$candidate" ] && targets+=("$candidate")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: FAILED: no fuzz targets in $root/host/fuzz (is clang installed?)"
  exit 1
fi

failed=()
total=0
for target in "${targets[@]}"; do
  name=$(basename "$target"); short=${name#fuzz_}
  corpus="$root/host/fuzz/corpus/$short"
  artifacts="$root/host/fuzz/artifacts/$short/"
  log="$root/host/fuzz/logs/$name.log"
  mkdir -p "$corpus" "$artifacts" "$root/host/fuzz/logs"
  echo "fuzz: running $name for $seconds s (log $log)"
  status=0
  ASAN_OPTIONS=detect_leaks=0 "$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$artifacts" "$corpus" "$top/fuzz/corpus/$short" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $status -eq 0 ]; then
    echo "fuzz: $name clean, ${runs:-?} executions"
    total=$(( total + ${runs:-0} ))
  else
    echo "fuzz: $name FAILED (exit $status); last lines of its log:"
    tail -n 20 "$log" | sed 's/^/    /'
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -eq 0 ]; then
  echo "fuzz: PASSED: ${#targets[@]} target(s), $seconds s each, $total executions in all"
else
  echo "fuzz: FAILED: ${failed[*]}"
  exit 1
fi
