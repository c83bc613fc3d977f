#!/usr/bin/env bash
# End-to-end checks of the tavro program: answers on the bundled sample worked out by hand, and
# clear failures with the right exit status on bad input.
set -u
tavro=$1
samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS PATTERN -- ARGS...: the command exits with STATUS and its output matches PATTERN.
expect() {
  local status=$1 pattern=$2
  shift 3
  local out rc
  out=$("$tavro" "$@" 2>&1)
  rc=$?
  [ "$rc" -eq "$status" ] || fail "tavro $* exited $rc, expected $status: $out"
  grep -qE -- "$pattern" <<<"$out" || fail "tavro $*: no match for '$pattern' in: $out"
}

expect 0 'measure' -- --help
expect 0 'CSV' -- measure --help
expect 2 'usage' --
expect 2 'unknown verb' -- frobnicate

# Parcel A: 100 x 80 counterclockwise; B: 60 x 80 with a half circle of radius 40 outside;
# C: 160 x 70 under a roof of height 20, clockwise.
out=$("$tavro" measure "$samples/parcels.csv")
[ $? -eq 0 ] || fail "measure on the sample failed"
check() { grep -qF -- "$1" <<<"$out" || fail "sample output lacks '$1'"; }
check 'polyline 1 "A" (lines 4-7)'
check 'signed area  -8000.000000 (positive = clockwise)'
check 'length       280.000000'
check 'perimeter    360.000000'
check 'extents      (500000.000000, 3500000.000000) - (500100.000000, 3500080.000000)'
check 'centroid     (500050.000000, 3500040.000000)'
check 'signed area  -7313.274123'
check 'extents      (500100.000000, 3500000.000000) - (500200.000000, 3500080.000000)'
check 'signed area  12800.000000'
check 'orientation  clockwise'
check 'orientation  counterclockwise'

# The same rings without ids, split by blank lines, through standard input.
printf '0,0\n4,0\n4,3\n\n0,0\n0,2,1\n0,4\n' >"$work/plain.csv"
out=$("$tavro" measure - <"$work/plain.csv")
check 'polyline 2 (lines 5-7)'
check 'signed area  -6.000000'
check 'vertices     3'

printf 'x,y\n0,0\n1,zero\n' >"$work/bad.csv"
expect 1 'bad.csv:3:2: "zero" is not a finite number' -- measure "$work/bad.csv"
printf '0,0,0,0,0\n1,1\n' >"$work/wide.csv"
expect 1 'wide.csv:1:1: expected 2 to 4 fields' -- measure "$work/wide.csv"
printf 'a,0,0,0\na,1,1\n' >"$work/ragged.csv"
expect 1 'ragged.csv:2:4: expected 4 fields, found 3' -- measure "$work/ragged.csv"
printf '0,0\nnan,1\n' >"$work/nan.csv"
expect 1 'nan.csv:2:1' -- measure "$work/nan.csv"
printf '# only a comment\n' >"$work/empty.csv"
expect 1 'no polyline found' -- measure "$work/empty.csv"
expect 1 'cannot open' -- measure "$work/missing.csv"
expect 2 'usage' -- measure

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all tavro checks passed"
