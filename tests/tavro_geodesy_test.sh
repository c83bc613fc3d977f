#!/usr/bin/env bash
# End-to-end checks of tavro's geodetic verbs: answers worked out independently (exact
# transverse Mercator values from GeographicLib, similarities made by hand), round trips through
# the verbs, and clear failures with the right exit status on bad input.
set -u
tavro=$1
source "$(dirname "$0")/cli_support.sh"
cd "$work"

# gauss-inverse. Exact transverse Mercator, CGCS 2000 (a and 1/f), meridian 117, scale 1
# (GeographicLib: TransverseMercatorProj -r -k 1 -l 117 -e 6378137 1/298.257222101 -p 12):
# (x 136937.6509, y 3875621.1817) -> 35.000000000058 N, 118.499999999709 E;
# (x 0, y -3697111.2523) -> 33.400000000598 S.
printf 'id,northing,easting,code\nP1,3875621.1817,636937.6509,a\nP2,3875621.1817,39636937.6509,b\nP3,-3697111.2523,500000,c\n' >plane.csv
"$tavro" gauss-inverse --ellipsoid cgcs2000 --central-meridian 117 plane.csv >geo.csv || fail "gauss-inverse failed"
head -1 geo.csv | grep -qx 'id,northing,easting,code,longitude,latitude' || fail "gauss-inverse header: $(head -1 geo.csv)"
near "P1 longitude" "$(field geo.csv P1 5)" 118.499999999709 1e-9
near "P1 latitude" "$(field geo.csv P1 6)" 35.000000000058 1e-9
[ "$(field geo.csv P1 5)" = "$(field geo.csv P2 5)" ] || fail "the zone prefix changed the longitude"
near "P3 latitude" "$(field geo.csv P3 6)" -33.400000000598 1e-9
grep -q '^P3,-3697111.2523,500000,c,117.000000000,' geo.csv || fail "P3 not on the meridian: $(cat geo.csv)"
out=$("$tavro" gauss-inverse --ellipsoid=cgcs2000 --central-meridian=117 --dms - <plane.csv)
grep -qF "P1,3875621.1817,636937.6509,a,\"118°30'0.00\"\"\",\"35°00'0.00\"\"\"" <<<"$out" || fail "dms texts: $out"
grep -qF "\"-33°24'0.00\"\"\"" <<<"$out" || fail "southern dms text: $out"

printf 'northing,easting\n1,2\nabc,3\n4\n5,inf\n' >bad.csv
out=$("$tavro" gauss-inverse --ellipsoid wgs84 --central-meridian 117 bad.csv 2>err.txt)
[ $? -eq 1 ] || fail "bad rows did not fail"
[ -z "$out" ] || fail "bad rows still printed: $out"
grep -q 'bad.csv:3: column "northing": "abc" is not a finite number' err.txt || fail "line 3 not reported: $(cat err.txt)"
grep -q 'bad.csv:4: expected 2 fields, found 1' err.txt || fail "line 4 not reported"
grep -q 'bad.csv:5: column "easting"' err.txt || fail "line 5 not reported"
expect 2 'ellipsoid must be' -- gauss-inverse --ellipsoid grs67 --central-meridian 117 plane.csv
expect 2 'central-meridian' -- gauss-inverse --ellipsoid wgs84 plane.csv

# fit4: a quarter turn with scale 2 (X = -2y, Y = 2x) and a shift of (1000, -500).
printf 'id,x,y,X,Y\nA,0,0,1000,-500\nB,100,50,900,-300\nC,30,70,860,-440\nD,-20,10,980,-540\n' >pairs4.csv
"$tavro" fit4 pairs4.csv >fit4.csv || fail "fit4 failed"
near "fit4 dx" "$(field fit4.csv dx 2)" 1000 1e-9
near "fit4 dy" "$(field fit4.csv dy 2)" -500 1e-9
near "fit4 rotation" "$(field fit4.csv rotation 2)" 1.5707963267949 1e-12
near "fit4 scale" "$(field fit4.csv scale 2)" 2 1e-12
near "fit4 rms" "$(field fit4.csv rms 2)" 0 1e-9
grep -q '^id,x,y,X,Y,vX,vY,v$' fit4.csv || fail "fit4 residual header"
grep -q '^C,30,70,860,-440,0.0000,0.0000,0.0000$' fit4.csv || fail "fit4 residual row: $(cat fit4.csv)"
# One target 3 cm off: residuals appear and the rms lies between 0 and 3 cm.
sed 's/^D,-20,10,980,-540$/D,-20,10,980.03,-540/' pairs4.csv >noisy4.csv
"$tavro" fit4 noisy4.csv >fitn.csv || fail "fit4 noisy failed"
rms=$(field fitn.csv rms 2)
awk -v r="$rms" 'BEGIN { exit !(r > 0.005 && r < 0.03) }' || fail "noisy rms $rms"
awk -F, '$1 == "D" { exit !($6 > 0.005 && $6 < 0.03) }' fitn.csv || fail "D residual: $(cat fitn.csv)"
# The shifts absorb the mean: the residuals sum to zero.
near "sum of vX" "$(awk -F, 'NF == 8 && $1 != "id" { s += $6 } END { print s }' fitn.csv)" 0 1e-9
printf 'x,y,X,Y\n5,5,0,0\n5,5,1,1\n5,5,2,7\n' >same.csv
expect 1 'singular' -- fit4 same.csv
printf 'x,y,X,Y\n5,5,0,0\n' >one.csv
expect 1 'needs at least 2 points, found 1' -- fit4 one.csv
printf 'x,y,X,Y\n5,5,0,0\n6,x6,1,1\n' >badpair.csv
expect 1 'badpair.csv:3: column "y"' -- fit4 badpair.csv

# transform with the fitted plane parameters, then the same numbers given inline.
printf 'id,x,y\nQ,10,20\n' >q.csv
expect 0 '^Q,10,20,960.0000,-480.0000,0.0000$' -- transform --chain pm4:@fit4.csv q.csv
expect 0 '^Q,10,20,960.0000,-480.0000,0.0000$' -- transform --chain pm4:1000:-500:1.5707963267948966:2 q.csv
expect 1 'holds parameters of model "pm4", not kj7' -- transform --chain kj7:@fit4.csv q.csv
expect 2 'unknown model "foo"' -- transform --chain foo q.csv
expect 2 'pm4 takes @FILE or 4 numbers' -- transform --chain pm4:1:2 q.csv
expect 2 'pmdd takes ELLIPSOID:DEG' -- transform --chain pmdd:cgcs2000 q.csv

# Plane to geodetic against the exact inverse (degrees at the geodetic end), WGS 84 this time
# (TransverseMercatorProj -r -k 1 -l 117 -e 6378137 0.0033528106718309896 -p 12):
# (x 136937.6509, y 3875621.1818) -> 35.000000000417 N, 118.499999999720 E. Then plane ->
# geodetic -> plane comes back to the millimetre.
printf 'id,x,y\nP1,636937.6509,3875621.1818\n' >en.csv
"$tavro" transform --chain pmdd:wgs84:117 en.csv >bl.csv || fail "pmdd failed"
near "pmdd latitude" "$(field bl.csv P1 4)" 35.000000000417 2e-8
near "pmdd longitude" "$(field bl.csv P1 5)" 118.499999999720 2e-8
"$tavro" transform --chain pmdd:cgcs2000:117,ddpm:cgcs2000:117 en.csv >back.csv || fail "round trip failed"
near "round trip easting" "$(field back.csv P1 4)" 636937.6509 0.002
near "round trip northing" "$(field back.csv P1 5)" 3875621.1818 0.002

# fit7: Cartesian points from geodetic ones (ddkj), targets through a known 7-parameter model.
printf 'id,x,y,z\nK1,35.0,117.0,50\nK2,35.4,117.0,80\nK3,35.0,117.6,20\nK4,35.5,117.5,120\nK5,34.8,116.7,10\n' >bl2.csv
"$tavro" transform --chain ddkj:beijing54 bl2.csv >src.csv || fail "ddkj failed"
"$tavro" transform --chain kj7:-15.4:120.7:84.2:3.2e-6:1.5e-6:-2.2e-6:4.1e-6 \
  <(awk -F, 'NR == 1 { print "id,x,y,z"; next } { print $1 "," $5 "," $6 "," $7 }' src.csv) >dst.csv ||
  fail "kj7 failed"
awk -F, 'NR == 1 { print "id,x,y,z,X,Y,Z"; next } { print $1 "," $2 "," $3 "," $4 "," $5 "," $6 "," $7 }' dst.csv >pairs7.csv
"$tavro" fit7 pairs7.csv >seven.csv || fail "fit7 failed: $(cat seven.csv)"
# The targets carry the model's (1 + m) * rotation products, which the linearised fit leaves
# out: millimetres on the shifts.
near "fit7 dx" "$(field seven.csv dx 2)" -15.4 0.01
near "fit7 dz" "$(field seven.csv dz 2)" 84.2 0.01
near "fit7 m" "$(field seven.csv m 2)" 3.2e-6 1e-9
near "fit7 ez" "$(field seven.csv ez 2)" 4.1e-6 1e-9
near "fit7 ez_arcsec" "$(field seven.csv ez_arcsec 2)" 0.8457 0.001
near "fit7 rms" "$(field seven.csv rms 2)" 0 0.001
head -3 pairs7.csv >two7.csv
expect 1 'needs at least 3 points, found 2' -- fit7 two7.csv

# The datum chain of the README example: Beijing 1954 plane to CGCS 2000 plane with the fitted
# parameters; with a zero 7-parameter set and one ellipsoid it is the identity.
printf 'id,x,y,z\nP1,39536125.214,3875310.552,48.2\n' >bj.csv
"$tavro" transform --chain pmdd:beijing54:117,ddkj:beijing54,kj7:@seven.csv,kjdd:cgcs2000,ddpm:cgcs2000:117 bj.csv >cg.csv ||
  fail "datum chain failed"
grep -q '^id,x,y,z,X,Y,Z$' cg.csv || fail "datum chain header"
e=$(field cg.csv P1 5)
awk -v e="$e" 'BEGIN { exit !(e > 536000 && e < 536300) }' || fail "datum chain easting $e"
"$tavro" transform --chain pmdd:beijing54:117,ddkj:beijing54,kj7:0:0:0:0:0:0:0,kjdd:beijing54,ddpm:beijing54:117 bj.csv >id.csv ||
  fail "identity chain failed"
near "identity easting" "$(field id.csv P1 5)" 536125.214 0.005
near "identity northing" "$(field id.csv P1 6)" 3875310.552 0.005
near "identity height" "$(field id.csv P1 7)" 48.2 0.001

# fit-height: H = h + 1.5 + 0.001 (x - x0) exactly, on 7 points over a 2 km by 1.6 km area.
awk 'BEGIN {
  print "id,x,y,h,H"
  for (i = 0; i < 7; i++) { x[i] = 1000 * (i % 3) + 7 * i; y[i] = 800 * int(i / 3) - 5 * i; s += x[i] }
  for (i = 0; i < 7; i++) printf "H%d,%d,%d,%d,%.6f\n", i, x[i], y[i], 40 + i, 41.5 + i + 0.001 * (x[i] - s / 7)
}' >hh.csv
mx=$(awk -F, 'NR > 1 { s += $2; n++ } END { printf "%.10f", s / n }' hh.csv)
"$tavro" fit-height hh.csv >hf.csv || fail "fit-height failed: $(cat hf.csv)"
near "fit-height x0" "$(field hf.csv x0 2)" "$mx" 1e-9
near "fit-height a0" "$(field hf.csv a0 2)" 1.5 1e-5
near "fit-height a1" "$(field hf.csv a1 2)" 0.001 1e-8
near "fit-height rms" "$(field hf.csv rms 2)" 0 1e-5
grep -q '^id,x,y,h,H,vH$' hf.csv || fail "fit-height residual header"
# At the mean x the surface adds a0 (the y terms are zero).
printf 'id,x,y,z\nZ,%s,200,10\n' "$mx" >hz.csv
"$tavro" transform --chain hf2:@hf.csv hz.csv >hzo.csv || fail "hf2 transform failed"
near "height at the mean x" "$(field hzo.csv Z 7)" 11.5 1e-4
printf 'x,y,h,H\n0,0,1,2\n1,1,1,2\n2,2,1,2\n3,3,1,2\n4,4,1,2\n5,5,1,2\n' >line.csv
expect 1 'singular' -- fit-height line.csv

finish geodesy
