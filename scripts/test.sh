#!/usr/bin/env bash
# Sets up, builds once with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# (the same build makes the tests and the fuzz targets), runs every test
# headless through ctest, then builds and checks the Debian package
# (installing and removing it when run as root) while every fuzz target
# runs for 15 seconds, two at a time (scripts/fuzz.sh runs them longer).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
build="$top/build/test"
# Line tables are all a sanitizer report needs for its stack, and far cheaper
# to make than full debugging information.
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG=-gline-tables-only -DYUBIN_SANITIZE=ON -DYUBIN_TESTS=ON -DYUBIN_FUZZ=ON >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
# The package's Release build compiles while the fuzz targets run: each is
# one process, and the machine has a core to spare between them.
"$top/scripts/fuzz.sh" 15 "$build" &
fuzzing=$!
"$top/scripts/package_check.sh"
wait "$fuzzing"
