#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number
# of seconds (default 60), starting from the committed seed corpora. A crash,
# a sanitizer report or a failed property stops that target and fails the
# script; the input that did it is left in build/fuzz/findings.
set -euo pipefail
seconds=${1:-60}
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/fuzz"
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DYUBIN_FUZZ=ON -DYUBIN_TESTS=OFF >/dev/null
cmake --build "$build" --target yubin_fuzz_targets
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$build/findings"
failed=()
for seeds in "$top"/fuzz/corpus/*/; do
  name=$(basename "$seeds")
  corpus="$build/corpus/$name" # grows between runs; the seeds stay as committed
  mkdir -p "$corpus"
  echo "fuzz_$name: ${seconds} s"
  if ! "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -rss_limit_mb=3072 -timeout=25 \
    -print_final_stats=1 -artifact_prefix="$build/findings/${name}-" "$corpus" "$seeds" \
    >"$build/findings/$name.log" 2>&1; then
    failed+=("$name")
    tail -n 40 "$build/findings/$name.log"
  fi
  grep -E '^stat::number_of_executed_units' "$build/findings/$name.log" || true
done
if ((${#failed[@]})); then
  echo "fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzzing passed: every target ran ${seconds} s"
