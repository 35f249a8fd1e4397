#!/usr/bin/env python3
"""Prints the medians of Google Benchmark JSON files as one table, and with
--whole (a hyperfine JSON export of yubin-cli commands, each followed by its
grep) and --rss (command, peak memory in KB per line) a second table of the
whole-process figures; exits 1, naming each, when a benchmark reported an
error instead of a figure."""
import argparse
import json
import statistics
import sys
import unicodedata

# The figures the product promises: milliseconds, or a ratio to grep ("x").
TARGETS = {
    "BM_PrefectureClick": 15, "BM_BusinessOfficeClick": 40,
    "BM_SearchRawDecided": "1.5x", "BM_SearchFoldedWordInNoLine": "3x", "BM_SearchTwoWords": "3x",
    "BM_SearchPostalCode": "1.5x", "BM_SearchFirstAfterStart": "5x",
    "BM_SearchFoldedFirstAfterStart": "5x",
    "NationwideRun/lzh:0/offices:1/pause:1": 1500, "NationwideRun/lzh:1/offices:1/pause:1": 1500,
    "BM_StartUpToMainWindowShown": 300, "BM_TenThousandLabelsToPdfAndReport": 5000,
    "UpdateTwelveMonths": 1000,
}
# Whole process, as a ratio to grep, and the peak memory in MB.
WHOLE_TARGETS = {"search 川崎": "3x", "search かわさき --fold": "5x",
                 "search '川崎 かわさき'": "5x", "code 2100001": "3x"}
PEAK_MEMORY_MB = 40

parser = argparse.ArgumentParser()
parser.add_argument("benchmarks", nargs="+")
parser.add_argument("--whole")
parser.add_argument("--rss")
args = parser.parse_args()

rows = []
failures = []
for path in args.benchmarks:
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


def padded(text, width):
    """The text and blanks to `width` columns, a wide character taking two."""
    columns = sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)
    return text + " " * max(0, width - columns)


def target_text(target):
    if target is None:
        return ""
    return f"{target} grep" if isinstance(target, str) else f"{target} ms"


width = max(len(r[0]) for r in rows)
print(f"{'operation':<{width}}  {'median':>10}  {'target':>9}  {'grep':>9}  {'ratio':>6}")
for name, ms, grep, target in rows:
    grep_text = f"{grep:.1f} ms" if grep else ""
    ratio = f"{ms / grep:.1f}x" if grep else ""
    print(f"{name:<{width}}  {ms:>7.1f} ms  {target_text(target):>9}  {grep_text:>9}  {ratio:>6}")

if args.whole:
    with open(args.whole) as f:
        results = json.load(f)["results"]
    peaks = {}
    if args.rss:
        with open(args.rss) as f:
            for line in f:
                command, kb = line.rstrip("\n").split("\t")
                peaks.setdefault(command, []).append(int(kb))
    print()
    print(f"{'whole process':<36}  {'median':>9}  {'grep':>8}  {'ratio':>6}  {'target':>9}"
          f"  {'peak memory':>11}")
    for cli, grep in zip(results[0::2], results[1::2]):
        name = cli["command"]
        ms, grep_ms = cli["median"] * 1e3, grep["median"] * 1e3
        verb = name.removeprefix("yubin-cli ")
        peak = f"{statistics.median(peaks[name]) / 1024:.1f} MB" if name in peaks else ""
        print(f"{padded(name, 36)}  {ms:>6.1f} ms  {grep_ms:>5.1f} ms  {ms / grep_ms:>5.1f}x"
              f"  {target_text(WHOLE_TARGETS.get(verb)):>9}  {peak:>11}")
    print(f"(peak memory target: under {PEAK_MEMORY_MB} MB)")
