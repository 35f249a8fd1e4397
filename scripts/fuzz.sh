#!/usr/bin/env bash
# Runs every libFuzzer target for the given number of seconds (default 60),
# two at a time, from the committed seed corpora. The targets are built with
# clang in BUILD (default build/fuzz, configured here when it is not a
# build with the fuzz targets already). A crash, a sanitizer report or a
# failed property stops that target and fails the script; the input that
# did it is left in BUILD/findings.
#   scripts/fuzz.sh [SECONDS [BUILD]]
set -euo pipefail
seconds=${1:-60}
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${2:-$top/build/fuzz}")
if ! grep -q '^YUBIN_FUZZ:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
  CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DYUBIN_FUZZ=ON -DYUBIN_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target yubin_fuzz_targets
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
findings="$build/findings"
mkdir -p "$findings"
rm -f "$findings"/*.failed

run_target() {
  local seeds=$1 name corpus
  name=$(basename "$seeds")
  corpus="$build/corpus/$name" # grows between runs; the seeds stay as committed
  mkdir -p "$corpus"
  if ! "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -rss_limit_mb=3072 -timeout=25 \
    -print_final_stats=1 -artifact_prefix="$findings/${name}-" "$corpus" "$seeds" \
    >"$findings/$name.log" 2>&1; then
    touch "$findings/$name.failed"
  fi
}
running=0
for seeds in "$top"/fuzz/corpus/*/; do
  run_target "$seeds" &
  if ((++running >= 2)); then
    wait -n || true
    ((running--))
  fi
done
wait || true

failed=()
for seeds in "$top"/fuzz/corpus/*/; do
  name=$(basename "$seeds")
  if [[ -f "$findings/$name.failed" ]]; then
    failed+=("$name")
    tail -n 40 "$findings/$name.log"
  fi
  echo "fuzz_$name: $(grep -E '^stat::number_of_executed_units' "$findings/$name.log" || echo 'no stats')"
done
if ((${#failed[@]})); then
  echo "fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzzing passed: every target ran ${seconds} s"
