#!/usr/bin/env bash
# Fails when library code holds a bare tolerance: a number written with a negative exponent
# (1e-6) or as a small decimal fraction (0.001) outside module/TavroTolerance.h, where every
# tolerance is named by what it measures. Comments and string literals (help texts) are passed
# over.
set -euo pipefail
cd "$(dirname "$0")/.."
dirs=(module platform geometry topology coordinate tools)
found=$(grep -rnE --include='*.cpp' --include='*.h' \
  '([0-9]\.?[0-9]*[eE]-[0-9]+|\b0\.0[0-9]*[1-9])' "${dirs[@]}" |
  grep -v '^module/TavroTolerance.h:' |
  sed -E 's#"([^"\\]|\\.)*"#""#g; s#//.*$##' | grep -E ':[0-9]+:.*([0-9]\.?[0-9]*[eE]-[0-9]+|\b0\.0[0-9]*[1-9])' || true)
if [ -n "$found" ]; then
  echo "bare tolerances (name them in module/TavroTolerance.h):"
  echo "$found"
  exit 1
fi
echo "no bare tolerances in ${dirs[*]}"
