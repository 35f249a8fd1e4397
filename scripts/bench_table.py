#!/usr/bin/env python3
"""Prints the medians of Google Benchmark JSON files as one table; exits 1,
naming each, when a benchmark reported an error instead of a figure."""
import json
import sys

# The figures the product promises, in milliseconds.
TARGETS = {
    "BM_PrefectureClick": 15, "BM_BusinessOfficeClick": 40,
    "BM_SearchRawDecided": 40, "BM_SearchFoldedWordInNoLine": 150, "BM_SearchTwoWords": 150,
    "BM_SearchPostalCode": 40, "BM_SearchFirstAfterStart": 200,
    "NationwideRun/lzh:0/offices:1/pause:1": 1500, "NationwideRun/lzh:1/offices:1/pause:1": 1500,
    "BM_StartUpToMainWindowShown": 300, "BM_TenThousandLabelsToPdfAndReport": 5000,
}

rows = []
failures = []
for path in sys.argv[1:]:
    with open(path) as f:
        for b in json.load(f)["benchmarks"]:
            if b.get("error_occurred"):
                failures.append(f"{b['name']}: {b.get('error_message', 'failed')}")
                continue
            if b.get("aggregate_name") != "median":
                continue
            name = b["run_name"].split("/iterations")[0].split("/repeats")[0]
            name = name.replace("/real_time", "")
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
            ms = b["real_time"] * scale
            grep = b.get("grep_ms")
            rows.append((name, ms, grep, TARGETS.get(name)))

if failures or not rows:
    for failure in sorted(set(failures)) or ["no benchmark reported a figure"]:
        print(f"bench: {failure}", file=sys.stderr)
    sys.exit(1)

width = max(len(r[0]) for r in rows)
print(f"{'operation':<{width}}  {'median':>10}  {'target':>8}  {'grep':>9}  {'ratio':>6}")
for name, ms, grep, target in rows:
    target_text = f"{target} ms" if target else ""
    grep_text = f"{grep:.1f} ms" if grep else ""
    ratio = f"{ms / grep:.1f}x" if grep else ""
    print(f"{name:<{width}}  {ms:>7.1f} ms  {target_text:>8}  {grep_text:>9}  {ratio:>6}")
