#!/usr/bin/env bash
# Builds the tavro program and extracts the regions of the bundled sample map
# (samples/parcel_map.dxf): writes them to out/regions.dxf and out/regions.csv and draws them,
# over the map's linework, in out/regions.svg; then measures the first region.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2 --target tavro >/dev/null
mkdir -p out
./build/tools/tavro borders samples/parcel_map.dxf -o out/regions.dxf --svg out/regions.svg
./build/tools/tavro borders samples/parcel_map.dxf -o out/regions.csv 2>/dev/null
head -7 out/regions.csv
echo "wrote out/regions.dxf, out/regions.csv and the picture out/regions.svg"
