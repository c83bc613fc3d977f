#!/usr/bin/env bash
# Builds everything (library, tools, tests, benchmarks) and runs the whole test suite.
# Extra arguments go to the CMake configure step; BUILD_DIR picks the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Release} "$@" >/dev/null
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2
