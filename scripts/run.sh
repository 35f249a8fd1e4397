#!/usr/bin/env bash
# Sets up, builds in Release and starts the desktop program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DYUBIN_TESTS=OFF >/dev/null
cmake --build "$top/build/release"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display found: run it under a virtual one, e.g. xvfb-run -a scripts/run.sh" >&2
  exit 1
fi
# The first start fills an empty data folder from the bundled archives.
export YUBIN_BUNDLED_DATA="$top/resources/data"
exec "$top/build/release/bin/yubin" "$@"
