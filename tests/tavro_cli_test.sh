#!/usr/bin/env bash
# End-to-end checks of the tavro program: answers on the bundled sample worked out by hand, and
# clear failures with the right exit status on bad input.
set -u
tavro=$1
samples=$2
source "$(dirname "$0")/cli_support.sh"

# Help, unknown verbs and options, and missing files are checked for every verb in the safety suite.
expect 2 'usage' --

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

printf '0,0,0,0,0\n1,1\n' >"$work/wide.csv"
expect 1 'wide.csv:1:1: expected 2 to 4 fields' -- measure "$work/wide.csv"
printf 'a,0,0,0\na,1,1\n' >"$work/ragged.csv"
expect 1 'ragged.csv:2:4: expected 4 fields, found 3' -- measure "$work/ragged.csv"
printf '0,0\nnan,1\n' >"$work/nan.csv"
expect 1 'nan.csv:2:1' -- measure "$work/nan.csv"
printf '# only a comment\n' >"$work/empty.csv"
expect 1 'no polyline found' -- measure "$work/empty.csv"
expect 2 'no input FILE given \(see tavro measure --help\)' -- measure

# flatten and recover-arcs. Parcel B's arc is a half circle of radius 40 about
# (500160, 3500040); a 50 degree step cuts it into trunc(180/50) + 1 = 4 pieces of 45 degrees,
# and the half 45-degree octagon has the area 4 * 40^2/2 * sin(45 deg) = 2262.741700 in place
# of 800 pi = 2513.274123.
out=$("$tavro" flatten --angle 50 "$samples/parcels.csv")
[ $? -eq 0 ] || fail "flatten on the sample failed"
check 'id,x,y,bulge'
check 'B,500200,3500040,0'
check 'B,500188.28427124745,3500011.7157287523,0'
[ "$(grep -c '^B,' <<<"$out")" -eq 8 ] || fail "flattened B should have 8 rows: $out"
[ "$(grep -c '^A,' <<<"$out")" -eq 5 ] || fail "flattened A should end on its first vertex: $out"
out=$("$tavro" flatten --angle=50 -o "$work/flat.csv" "$samples/parcels.csv" && "$tavro" measure "$work/flat.csv")
check 'signed area  -7062.741700'
check 'signed area  -8000.000000'
check 'signed area  12800.000000'

# Round trip: the chords come back as the arcs they were cut from, with the sample's areas.
for cut in '--angle 5' '--angle 5 --method keep-area' '--arc-step 10' '--arc-step 3 --method 1'; do
  "$tavro" flatten $cut "$samples/parcels.csv" >"$work/cut.csv" || fail "flatten $cut failed"
  out=$("$tavro" recover-arcs "$work/cut.csv")
  [ $? -eq 0 ] || fail "recover-arcs after flatten $cut failed"
  check 'C,500080,3500170,0'
  grep -qE '^B,500160,3500000,(1|0\.99999999|1\.00000000)' <<<"$out" || fail "flatten $cut: no arc back in: $out"
  [ "$(grep -c '^B,' <<<"$out")" -eq 5 ] || fail "flatten $cut: B should come back as 5 rows: $out"
  out=$("$tavro" recover-arcs "$work/cut.csv" | "$tavro" measure -)
  check 'signed area  -8000.000000'
  check 'signed area  -7313.27412'
  check 'signed area  12800.000000'
done

# The closing segment of a ring is bent by the last bulge (a half circle of radius 1 about
# (0,1), cut at 150 and 210 degrees); --open ignores that bulge. No ids: none written.
printf '0,0\n2,0\n2,2\n0,2,1\n' >"$work/ring.csv"
out=$("$tavro" flatten --angle 90 "$work/ring.csv")
check 'x,y,bulge'
check '-0.8660254037844385,1.5000000000000004,0'
[ "$(wc -l <<<"$out")" -eq 8 ] || fail "ring flattened to 7 vertices expected: $out"
out=$("$tavro" flatten --angle 90 --open - <"$work/ring.csv")
[ "$(wc -l <<<"$out")" -eq 5 ] || fail "open polyline flattened to 4 vertices expected: $out"

# Polylines without runs of equal chords are written as read.
out=$("$tavro" recover-arcs "$samples/parcels.csv")
check 'B,500160,3500000,1'
[ "$(grep -c ',' <<<"$out")" -eq 14 ] || fail "recover-arcs changed the sample: $out"

expect 2 'needs a number above 0' -- flatten --angle 0 "$samples/parcels.csv"
expect 2 'not both' -- flatten --angle 5 --arc-step 2 "$samples/parcels.csv"
expect 2 'on-arc or keep-area' -- flatten --method round "$samples/parcels.csv"
expect 2 'one input FILE expected, got 2' -- recover-arcs a.csv b.csv
expect 2 '--tol needs a number above 0, got "nan"' -- recover-arcs --tol nan "$samples/parcels.csv"

# The minimum rectangle of parcel A is the parcel itself; its label point is its centre.
out=$("$tavro" measure "$samples/parcels.csv")
check 'min rect     (500000.000000, 3500000.000000) (500000.000000, 3500080.000000) (500100.000000, 3500080.000000) (500100.000000, 3500000.000000) area 8000.000000'
check 'label        (500050.000000, 3500040.000000)'

# Relations between the sample parcels and what stands on them; codes read "a to b".
out=$("$tavro" relate "$samples/parcels.csv" "$samples/nested.csv")
[ $? -eq 0 ] || fail "relate on the samples failed"
check "$(printf 'A\tA\t0\tA and A coincide')"
check "$(printf 'A\tA1\t9\tA contains A1')"
check "$(printf 'A\tB\t5\tthe boundary of A lies outside B, touching its boundary')"
check "$(printf 'B\tpond\t4\tthe boundary of B lies outside pond')"
check "$(printf 'B\tB\t0\tB and B coincide')"
out=$("$tavro" relate "$samples/nested.csv" "$samples/parcels.csv")
check "$(printf 'pond\tA\t2\tpond lies inside A')"
check "$(printf 'A1-yard\tA\t2\tA1-yard lies inside A')"

# The containment tree: the courtyard in the building, building and pond in parcel A.
out=$("$tavro" nest "$samples/nested.csv")
[ "$out" = "$(printf 'A\n  A1\n    A1-yard\n  pond\nB')" ] || fail "nest printed: $out"
printf 'a,0,0\na,1,0\na,1,1\nb,0,0\nb,1,0\nb,1,1\n' >"$work/twins.csv"
out=$("$tavro" nest "$work/twins.csv")
[ "$(grep -c . <<<"$out")" -eq 2 ] || fail "coinciding rings should print once each: $out"

# The README's datum example: fit on the bundled control points, then move the parcel corners.
"$tavro" fit4 "$samples/control.csv" >"$work/fit.csv" || fail "fit4 on the sample control points failed"
out=$(cat "$work/fit.csv")
check 'rms,0.00087271932'
out=$("$tavro" transform --chain "pm4:@$work/fit.csv" "$samples/points.csv")
check 'J1,535000.000,3880000.000,534926.4993,3879934.6803,0.0000'
check 'J3,535120.500,3880085.250,535046.9946,3880019.9269,0.0000'

# Loops and joined polylines of two unit cells drawn as pieces a-f: a, b, c, d round the left
# cell, e the right cell's three outer sides, f a free spur up from (1, 1). The runs d-a and c
# pass through corners where only two pieces meet, so each is named by one piece.
printf 'id,x,y\na,0,0\na,1,0\nb,1,0\nb,1,1\nc,1,1\nc,0,1\nd,0,1\nd,0,0\ne,1,0\ne,2,0\ne,2,1\ne,1,1\nf,1,1\nf,1,2\n' >"$work/cells.csv"
out=$("$tavro" loops "$work/cells.csv")
[ $? -eq 0 ] || fail "loops on two cells failed"
[ "$(grep -c '^# face' <<<"$out")" -eq 2 ] || fail "two faces expected: $out"
check '# face 2: e b'
out=$("$tavro" loops --outer "$work/cells.csv" | "$tavro" measure -)
check 'signed area  2.000000'
check 'vertices     6'
out=$("$tavro" join - <"$work/cells.csv")
[ "$(grep -c '^# polyline' <<<"$out")" -eq 4 ] || fail "four polylines expected: $out"
check '# polyline 1: d c a'
check '# polyline 4: f'
# A closed piece is a loop of its own and keeps its name.
printf 'ring,0,0\nring,3,0\nring,0,4\nring,0,0\n' >"$work/triangle.csv"
out=$("$tavro" loops "$work/triangle.csv")
check '# face 1: ring ring'

finish command-line
