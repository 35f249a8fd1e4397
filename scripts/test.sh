#!/usr/bin/env bash
# Sets up, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs every test headless through ctest, then builds and checks the Debian
# package (installing and removing it when run as root), then runs every fuzz
# target for 20 seconds.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
build="$top/build/test"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DYUBIN_SANITIZE=ON -DYUBIN_TESTS=ON >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
"$top/scripts/package_check.sh"
"$top/scripts/fuzz.sh" 20
