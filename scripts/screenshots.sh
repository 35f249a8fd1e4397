#!/usr/bin/env bash
# Writes the user guide's pictures: every window in a realistic state on the
# bundled nationwide data, under Xvfb.
#   scripts/screenshots.sh [OUTDIR [BUILDDIR]]   (defaults: docs, build/release)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$top/docs}")
build=$(realpath -m "${2:-$top/build/release}")
if [[ ! -x "$build/bin/yubin-screenshots" ]]; then
  "$top/scripts/setup.sh"
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DYUBIN_TESTS=OFF >/dev/null
  cmake --build "$build" --target yubin-screenshots yubin-cli
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data"
"$build/bin/yubin-cli" --data "$work/program/DATA" prepare nationwide "$top/resources/data" >/dev/null 2>&1
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bin/yubin-screenshots" "$out" "$work/program"
