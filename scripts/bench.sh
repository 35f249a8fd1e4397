#!/usr/bin/env bash
# Builds in Release and runs every benchmark on nationwide data (the bundled
# archives of resources/data), printing one table: each operation, its
# median, and its ratio to the grep baseline where one is measured; then
# yubin-cli's searches as whole processes beside grep, with their peak
# memory. Exits 1 with the benchmark's message when any benchmark fails.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
build="$top/build/bench"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DYUBIN_TESTS=OFF -DYUBIN_BENCH=ON >/dev/null
cmake --build "$build" >/dev/null
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for b in browse search nationwide update startup address labels postcards; do
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

# Whole process: yubin-cli's searches beside `LC_ALL=C grep -F -c` for the
# word's code page 932 bytes over the same files, in the same hyperfine run,
# on the nationwide data laid out by yubin-cli's own preparation; then the
# peak memory of each search (the median of three runs).
echo "running yubin-cli beside grep ..." >&2
cli="$build/bin/yubin-cli"
data="$results/data/DATA"
mkdir -p "$data"
if ! "$cli" --data "$data" prepare nationwide "$top/resources/data" >"$results/prepare.log" 2>&1; then
  cat "$results/prepare.log" >&2
  echo "bench.sh: the nationwide preparation failed" >&2
  exit 1
fi
# A user's data files were prepared long before a search. A file changed in
# the last two seconds is read afresh and its fold key is not kept, so the
# search is measured on files that have settled.
sleep 3
files=("$data"/*)
searches=("search 川崎|川崎" "search かわさき --fold|かわさき" "search '川崎 かわさき'|川崎"
  "code 2100001|2100001")
commands=()
: >"$results/rss.tsv"
for i in "${!searches[@]}"; do
  args=${searches[$i]%|*}
  word=${searches[$i]#*|}
  printf '%s' "$word" | iconv -f UTF-8 -t CP932 >"$results/pattern$i"
  commands+=(-n "yubin-cli $args" "$cli --data $data $args")
  commands+=(-n "grep $word" "env LC_ALL=C grep -F -c -f $results/pattern$i ${files[*]}")
  eval "set -- $args"
  for _ in 1 2 3; do
    /usr/bin/time -f %M -o "$results/rss" "$cli" --data "$data" "$@" >/dev/null 2>&1 || true
    printf '%s\t%s\n' "yubin-cli $args" "$(cat "$results/rss")" >>"$results/rss.tsv"
  done
done
if ! hyperfine -N -i --warmup 5 --runs 40 --export-json "$results/whole.hyperfine" \
  "${commands[@]}" >/dev/null 2>"$results/hyperfine.log"; then
  cat "$results/hyperfine.log" >&2
  echo "bench.sh: hyperfine failed" >&2
  exit 1
fi

# The resolver as a whole process: 10,000 addresses spread over every
# prefecture (one in ten without its prefecture) through standard input, with
# hyperfine; then a million lines streamed, timed with their peak memory
# (the median of three runs).
echo "running yubin-cli resolve ..." >&2
python3 "$top/scripts/bench_addresses.py" "$data" 10000 "$results/10k.txt"
python3 "$top/scripts/bench_addresses.py" "$data" 10000 "$results/1m.txt" --repeat 100
hyperfine --warmup 2 --runs 15 --export-json "$results/resolve.hyperfine" \
  -n "yubin-cli resolve (10,000 addresses)" "$cli --data $data resolve < $results/10k.txt" \
  >/dev/null 2>"$results/hyperfine-resolve.log" || cat "$results/hyperfine-resolve.log" >&2
: >"$results/stream.tsv"
for _ in 1 2 3; do
  /usr/bin/time -f '%e\t%M' -o "$results/stream" "$cli" --data "$data" resolve \
    <"$results/1m.txt" >/dev/null || true
  cat "$results/stream" >>"$results/stream.tsv"
done
# The labels as a whole process: a list of 10,000 rows spread over every
# prefecture, four in five with their postal code, checked to the report
# alone and to the report and the PDF.
python3 "$top/scripts/bench_addresses.py" "$data" 10000 "$results/list.csv" --list
hyperfine --warmup 2 --runs 15 -i --export-json "$results/labels.hyperfine" \
  -n "yubin-cli labels, report" "$cli --data $data labels $results/list.csv --report $results/r.csv" \
  -n "yubin-cli labels, report and PDF" \
  "$cli --data $data labels $results/list.csv --report $results/r.csv --pdf $results/l.pdf" \
  >/dev/null 2>"$results/hyperfine-labels.log" || cat "$results/hyperfine-labels.log" >&2
python3 - "$results/resolve.hyperfine" "$results/stream.tsv" "$results/labels.hyperfine" <<'PY'
import json, statistics, sys
runs = json.load(open(sys.argv[1]))["results"][0]
print(f"yubin-cli resolve, 10,000 addresses: median {runs['median']:.3f} s")
for r in json.load(open(sys.argv[3]))["results"]:
    print(f"{r['command']}, 10,000 rows: median {r['median']:.3f} s")
rows = [line.split("\t") for line in open(sys.argv[2]) if line.strip()]
seconds = statistics.median(float(r[0]) for r in rows)
peak = statistics.median(int(r[1]) for r in rows) / 1024
print(f"yubin-cli resolve, 1,000,000 addresses streamed: median {seconds:.2f} s, peak {peak:.1f} MB")
PY

# Fails, naming each, when a benchmark reported an error instead of a figure.
python3 "$top/scripts/bench_table.py" "$results"/*.json --whole "$results/whole.hyperfine" \
  --rss "$results/rss.tsv"
