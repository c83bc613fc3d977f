#!/usr/bin/env bash
# Builds the tavro program and measures the bundled sample parcels.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2 --target tavro >/dev/null
./build/tools/tavro measure samples/parcels.csv
