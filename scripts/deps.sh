#!/usr/bin/env bash
# Installs what building and testing need, only when something is missing (Debian 12, as root).
# Extra arguments name further packages a caller needs (the fuzz harnesses add clang).
set -euo pipefail
# libdxflib-dev: DXF files for tavro borders; libxml2-utils: xmllint, which its test parses the
# SVG picture with; the python3 packages and pybind11-dev: the Python module and its tests.
packages=(g++ make cmake pkg-config qtbase5-dev libgtest-dev libbenchmark-dev libdxflib-dev
  libxml2-utils python3-dev python3-numpy pybind11-dev python3-pytest python3-shapely "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
