#!/usr/bin/env bash
# Builds in Release and runs every benchmark on nationwide data (the bundled
# archives of resources/data), printing one table: each operation, its
# median, and its ratio to the grep baseline where one is measured. Exits 1
# with the benchmark's message when any benchmark fails.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
build="$top/build/bench"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DYUBIN_TESTS=OFF -DYUBIN_BENCH=ON >/dev/null
cmake --build "$build" >/dev/null
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for b in browse search nationwide startup address labels; do
  echo "running bench_$b ..." >&2
  # The console output is not needed, but a failing benchmark's own message
  # is: shown, and the script fails.
  if ! "$build/bin/bench_$b" --benchmark_format=json --benchmark_out="$results/$b.json" \
    --benchmark_out_format=json >/dev/null 2>"$results/$b.err"; then
    cat "$results/$b.err" >&2
    echo "bench.sh: bench_$b failed" >&2
    exit 1
  fi
done
# Fails, naming each, when a benchmark reported an error instead of a figure.
python3 "$top/scripts/bench_table.py" "$results"/*.json
