#!/usr/bin/env bash
# tavro borders end to end: the bundled DXF map and a CSV map give the region counts and areas
# worked out by hand (circular segments from the bulges), the SVG parses as XML, the written DXF
# reads back to the same regions and the written CSV through tavro measure; bad input ends in a
# message naming the file and entity or line, status 1, and no output file touched.
set -u
tavro=$1
samples=$2
source "$(dirname "$0")/cli_support.sh"
cd "$work"

# seg CHORD BULGE: the area between a bulge arc and its chord, r^2/2 (theta - sin theta).
seg() { awk -v c="$1" -v b="$2" 'BEGIN { t = 4 * atan2(b, 1); r = c / (2 * sin(t / 2)); printf "%.9f", r * r / 2 * (t - sin(t)) }'; }
# sum EXPR...: the sum of the numbers given.
sum() { awk 'BEGIN { s = 0; for (i = 1; i < ARGC; i++) s += ARGV[i]; printf "%.9f", s }' "$@"; }
# summary STDERR: "COUNT TOTAL" from the verb's closing line on standard error.
summary() { sed -n 's/^tavro borders: \([0-9]*\) regions, total area \([0-9.]*\)$/\1 \2/p' "$1"; }
# areas CSV: the areas of the written regions, sorted, from the comment lines.
areas() { sed -n 's/^# R[0-9]*: area \([0-9.]*\),.*/\1/p' "$1" | sort -n; }
# measured CSV: the absolute signed areas tavro measure gives for each ring of CSV, sorted.
measured() { "$tavro" measure "$1" | awk '/signed area/ { a = $3; if (a < 0) a = -a; printf "%.6f\n", a }' | sort -n; }
# xml FILE: FILE is well-formed XML, by xmllint (or python3's parser when xmllint is missing).
xml() {
  if command -v xmllint >/dev/null; then
    xmllint --noout "$1" || fail "$1 is not well-formed XML"
  else
    python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$1" ||
      fail "$1 is not well-formed XML"
  fi
}

# ---- the bundled map: 30 parcels of 40 x 30 m, one cut by a line and one by an arc ----
# Its area: 240 x 150 plus the circular segments of the outer arcs, five east sides (chord 30,
# bulge 0.2) and three south sides (chord 40, bulge 0.08); the shared arcs inside cancel.
map_area=$(sum 36000 "$(seg 30 0.2)" "$(seg 30 0.2)" "$(seg 30 0.2)" "$(seg 30 0.2)" "$(seg 30 0.2)" \
  "$(seg 40 0.08)" "$(seg 40 0.08)" "$(seg 40 0.08)")
"$tavro" borders "$samples/parcel_map.dxf" -o map.csv --svg map.svg 2>map.err ||
  fail "borders on the sample map failed: $(cat map.err)"
read -r count total < <(summary map.err)
[ "$count" = 32 ] || fail "the sample map gave $count regions, expected 32"
near "the sample map's total area" "$total" "$map_area" 1e-5
[ "$(grep -c '^# R' map.csv)" -eq 32 ] || fail "map.csv lacks 32 region comments"
near "the sum of map.csv's areas" "$(sum $(areas map.csv))" "$map_area" 1e-4
# Parcels with straight sides keep their 1200 m2; the diagonal halves parcel (1, 1), whose right
# side (bulge -0.15 drawn upward, chord 30) bows into the half below the diagonal: 600 and
# 600 - seg(30, 0.15).
grep -q '^# R[0-9]*: area 1200.000000,' map.csv || fail "no straight 40 x 30 parcel in map.csv"
grep -q '^# R[0-9]*: area 600.000000,' map.csv || fail "no half of the diagonal cut in map.csv"
half=$(sum 600 -"$(seg 30 0.15)")
grep -q "^# R[0-9]*: area $(printf %.6f "$half")," map.csv || fail "no region of area $half in map.csv"

# The SVG parses, holds one filled path per region, draws arcs as arcs and labels every region.
xml map.svg
[ "$(grep -c '<path id="R' map.svg)" -eq 32 ] || fail "map.svg lacks 32 region paths"
grep -q ' A[0-9.]* [0-9.]* 0 [01] [01] ' map.svg || fail "map.svg draws no arcs"
[ "$(grep -c '<text ' map.svg)" -eq 32 ] || fail "map.svg lacks 32 area labels"

# The written CSV reads through tavro measure: one polyline per region, ids R1..R32, the same areas.
out=$("$tavro" measure map.csv) || fail "tavro measure could not read map.csv"
[ "$(grep -c '^polyline [0-9]* "R[0-9]*"' <<<"$out")" -eq 32 ] || fail "measure saw other than 32 regions"
[ "$(measured map.csv)" = "$(areas map.csv)" ] || fail "measure's areas differ from map.csv's comments"

# The written DXF reads back through the same reader to the same regions, and so does the CSV.
"$tavro" borders "$samples/parcel_map.dxf" -o map.dxf 2>/dev/null || fail "borders -o map.dxf failed"
"$tavro" borders map.dxf -o back.csv 2>back.err || fail "borders on its own DXF failed: $(cat back.err)"
[ "$(summary back.err)" = "$(summary map.err)" ] || fail "the DXF read back: $(summary back.err)"
[ "$(areas back.csv)" = "$(areas map.csv)" ] || fail "the DXF read back gives other areas"
"$tavro" borders map.csv -o again.csv 2>/dev/null || fail "borders on its own CSV failed"
[ "$(areas again.csv)" = "$(areas map.csv)" ] || fail "the CSV read back gives other areas"
grep -q '^REGIONS$' map.dxf && grep -q '^AREAS$' map.dxf || fail "map.dxf lacks its layers"
# A DXF from standard input is known by its text.
"$tavro" borders - <map.dxf 2>stdin.err >/dev/null || fail "borders - <map.dxf failed"
[ "$(summary stdin.err)" = "$(summary map.err)" ] || fail "the DXF from standard input: $(summary stdin.err)"

# ---- a CSV map: two squares sharing an arc side (bulge 0.5, chord 10) drawn by both ----
printf 'id,x,y,bulge\nA,0,0,0\nA,10,0,0.5\nA,10,10,0\nA,0,10,0\nA,0,0,0\nB,10,0,0\nB,20,0,0\nB,20,10,0\nB,10,10,-0.5\nB,10,0,0\n' >two.csv
s=$(seg 10 0.5)
"$tavro" borders two.csv -o two.out.csv 2>two.err || fail "borders two.csv failed"
read -r count total < <(summary two.err)
[ "$count" = 2 ] || fail "two.csv gave $count regions"
near "two.csv's total area" "$total" 200 1e-9
[ "$(areas two.out.csv | tr '\n' ' ')" = "$(printf '%.6f %.6f ' "$(sum 100 -"$s")" "$(sum 100 "$s")")" ] ||
  fail "two.csv's areas: $(areas two.out.csv | tr '\n' ' ')"
"$tavro" borders --outer two.csv -o outer.csv 2>outer.err || fail "borders --outer failed"
[ "$(summary outer.err)" = "1 200.000000" ] || fail "--outer: $(summary outer.err)"
"$tavro" borders --min-area 100 two.csv -o big.csv 2>big.err || fail "borders --min-area failed"
[ "$(areas big.csv)" = "$(printf %.6f "$(sum 100 "$s")")" ] || fail "--min-area 100 kept: $(areas big.csv)"

# ---- LINE, ARC and CIRCLE entities: a circle of radius 10 cut by a line through its centre,
# and a half disc of an arc (0 to 180 degrees) closed by a line ----
# regions FILE COUNT AREA: borders finds COUNT regions in FILE, of total AREA (within 1e-6).
regions() {
  "$tavro" borders "$1" -o "$1.csv" 2>"$1.err" || fail "borders $1 failed: $(cat "$1.err")"
  read -r count total < <(summary "$1.err")
  [ "$count" = "$2" ] || fail "$1 gave $count regions, expected $2"
  near "the area of $1's regions" "$total" "$3" 1e-6
}
dxf_entities() {
  printf '0\nSECTION\n2\nENTITIES\n'
  cat
  printf '0\nENDSEC\n0\nEOF\n'
}
printf '0\nCIRCLE\n5\n1F\n8\nC\n10\n0\n20\n0\n30\n0\n40\n10\n0\nLINE\n8\nC\n10\n-10\n20\n0\n11\n10\n21\n0\n' |
  dxf_entities >circle.dxf
regions circle.dxf 2 314.159265
printf '0\nARC\n8\nA\n10\n100\n20\n0\n30\n0\n40\n10\n50\n0\n51\n180\n0\nLINE\n8\nA\n10\n90\n20\n0\n11\n110\n21\n0\n' |
  dxf_entities >half.dxf
regions half.dxf 1 157.079633
# The same arc seen from below (extrusion 0,0,-1): its own x axis runs along the plane's -x, so
# centre x -100 there is x 100 here, and it still closes with the line.
printf '0\nARC\n8\nA\n10\n-100\n20\n0\n30\n0\n40\n10\n210\n0\n220\n0\n230\n-1\n50\n0\n51\n180\n0\nLINE\n8\nA\n10\n90\n20\n0\n11\n110\n21\n0\n' |
  dxf_entities >below.dxf
regions below.dxf 1 157.079633

# ---- bad input: status 1, the file and entity or line named, no output file touched ----
# bad STATUS PATTERN -- ARGS...: guarded, writing to keep.txt and keep.svg.
bad() { guarded "$@" -o keep.txt --svg keep.svg; }
bad 1 '^tavro borders: missing.dxf: cannot open' -- borders missing.dxf
printf '0\nTEXT\n8\n0\n10\n0\n20\n0\n1\nhello\n' | dxf_entities >text.dxf
bad 1 '^tavro borders: text.dxf: no usable entities' -- borders text.dxf
printf 'not a drawing\n' >junk.dxf
bad 1 '^tavro borders: junk.dxf:1: "not a drawing" is not a group code' -- borders junk.dxf
# A vertex count far above the vertices given is not trusted (nor allocated).
printf '0\nLWPOLYLINE\n90\n2147483647\n70\n1\n10\n0\n20\n0\n10\n1\n20\n0\n10\n1\n20\n1\n' | dxf_entities >count.dxf
regions count.dxf 1 0.5
printf '0\nLINE\n5\n2B\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n0\nLWPOLYLINE\n5\n2C\n8\nP\n90\n2\n70\n0\n10\n0\n20\nnan\n10\n1\n20\n1\n' |
  dxf_entities >nan.dxf
bad 1 '^tavro borders: nan.dxf:32: entity 2 \(LWPOLYLINE, handle 2C\), group code 20: "nan" is not a finite number$' -- borders nan.dxf
printf '0\nLINE\n5\n2B\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n0\nLWPOLYLINE\n5\n2C\n8\nP\n90\n1\n70\n0\n10\n5\n20\n5\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n0\n' |
  dxf_entities >single.dxf
bad 1 '^tavro borders: single.dxf:19: entity 2 \(LWPOLYLINE, handle 2C, layer P\) has a single vertex$' -- borders single.dxf
printf 'id,x,y\na,0,0\na,1,nan\n' >nan.csv
bad 1 '^tavro borders: nan.csv:3:3: "nan" is not a finite number' -- borders nan.csv
printf 'id,x,y\na,0,0\na,1,0\na,1,1\nb,5,5\nc,0,0\nc,1,1\n' >single.csv
bad 1 '^tavro borders: single.csv:5: polyline 2 "b" has a single vertex$' -- borders single.csv
printf 'AutoCAD Binary DXF\r\n\032\0' >binary.dxf
bad 1 'binary.dxf: a binary DXF file; save it as ASCII DXF' -- borders binary.dxf
bad 2 '--min-area needs a number of at least 0, got "-1"' -- borders --min-area -1 two.csv
bad 2 '--min-area needs a number of at least 0, got "nan"' -- borders --min-area nan two.csv
expect 2 '--svg and -o name the same file' -- borders two.csv --svg x.svg -o x.svg
expect 2 '--svg needs a file name' -- borders two.csv --svg -
# A picture that cannot be written leaves the regions file as it was.
printf 'precious\n' >keep.txt
expect 1 'no/such/map.svg: cannot write' -- borders two.csv --svg no/such/map.svg -o keep.txt
[ "$(cat keep.txt)" = precious ] || fail "a failed picture changed the regions file"

# ---- progress: a bar on a terminal (through script(1)'s pseudo-terminal), silence otherwise ----
# 441 parcels make enough pieces for the division engine to run its meter.
awk 'BEGIN { print "id,x,y"; for (j = 0; j < 21; j++) for (i = 0; i < 21; i++) {
  id = "p" i "_" j; x = i * 10; y = j * 10
  printf "%s,%d,%d\n%s,%d,%d\n%s,%d,%d\n%s,%d,%d\n%s,%d,%d\n", id, x, y, id, x + 10, y, id, x + 10, y + 10, id, x, y + 10, id, x, y } }' >grid.csv
"$tavro" borders grid.csv -o grid.out.csv 2>grid.err || fail "borders grid.csv failed"
[ "$(summary grid.err)" = "441 44100.000000" ] || fail "grid.csv: $(summary grid.err)"
grep -q '正在切割' grid.err && fail "a progress bar was shown when standard error is no terminal"
if command -v script >/dev/null; then
  bar=$(script -qec "'$tavro' borders grid.csv -o grid.out.csv" /dev/null 2>&1)
  grep -qF '正在切割... [#' <<<"$bar" || fail "no progress bar on a terminal: $(head -c 300 <<<"$bar")"
fi

finish borders
