#!/usr/bin/env bash
# Builds in Release and runs every benchmark on nationwide data, printing one
# table: each operation, its median, and its ratio to the grep baseline where
# one is measured.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
build="$top/build/bench"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DYUBIN_TESTS=OFF -DYUBIN_BENCH=ON >/dev/null
cmake --build "$build" >/dev/null
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for b in browse search nationwide startup address; do
  echo "running bench_$b ..." >&2
  "$build/bin/bench_$b" --benchmark_format=json --benchmark_out="$results/$b.json" \
    --benchmark_out_format=json >/dev/null 2>&1
done
python3 "$top/scripts/bench_table.py" "$results"/*.json
