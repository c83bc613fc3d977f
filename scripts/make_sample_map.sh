#!/usr/bin/env bash
# Writes the bundled sample map, samples/parcel_map.dxf: a block of 6 x 5 parcels of 40 m x 30 m
# on the Gauss plane, each parcel drawn by itself as a closed lightweight polyline
# (counterclockwise), so every edge inside the block is drawn twice, once by each neighbour and
# the other way round. Some edges are arcs: inside ones (each neighbour gives the bulge of its
# own direction), the east side (bowed out, bulge 0.2 per parcel) and every other parcel's south
# side (bowed out, bulge 0.08). A LINE cuts parcel (1, 1) along its diagonal and an ARC cuts
# parcel (3, 2) from corner to corner, so the map holds 32 regions. Its area is
# 240 x 150 plus the circular segments of the bowed outer arcs (see tests/tavro_borders_test.sh).
#
# usage: bash scripts/make_sample_map.sh [OUTPUT]   (default samples/parcel_map.dxf)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-samples/parcel_map.dxf}
awk '
function v(k, j) { # bulge of the vertical edge k (0..6) of row j, drawn upward
  if (k == 6) return 0.2
  if (k == 0) return 0
  if ((k + j) % 3 == 0) return (k % 2) ? 0.15 : -0.15
  return 0
}
function h(i, k) { # bulge of the horizontal edge k (0..5) of column i, drawn eastward
  if (k == 0) return (i % 2 == 0) ? 0.08 : 0
  if (k == 5) return 0
  if ((i + k) % 4 == 1) return (i % 2) ? 0.1 : -0.1
  return 0
}
function pair(code, value) { printf "%d\n%s\n", code, value }
function num(code, value) { printf "%d\n%.12f\n", code, value }
function entity(type, layer) {
  pair(0, type); pair(5, sprintf("%X", ++handle)); pair(100, "AcDbEntity"); pair(8, layer)
}
function vertex(x, y, b) { num(10, x); num(20, y); if (b != 0) num(42, b) }
BEGIN {
  X0 = 500000; Y0 = 3500000; W = 40; H = 30; handle = 32
  pair(0, "SECTION"); pair(2, "HEADER")
  pair(9, "$ACADVER"); pair(1, "AC1015")
  pair(9, "$INSUNITS"); pair(70, 6)
  pair(0, "ENDSEC")
  pair(0, "SECTION"); pair(2, "ENTITIES")
  for (j = 0; j < 5; j++)
    for (i = 0; i < 6; i++) {
      x0 = X0 + i * W; x1 = x0 + W; y0 = Y0 + j * H; y1 = y0 + H
      entity("LWPOLYLINE", "PARCELS"); pair(100, "AcDbPolyline"); pair(90, 4); pair(70, 1)
      vertex(x0, y0, h(i, j)); vertex(x1, y0, v(i + 1, j))
      vertex(x1, y1, -h(i, j + 1)); vertex(x0, y1, -v(i, j))
    }
  # The diagonal of parcel (1, 1).
  entity("LINE", "DIVISIONS"); pair(100, "AcDbLine")
  num(10, X0 + W); num(20, Y0 + H); num(30, 0); num(11, X0 + 2 * W); num(21, Y0 + 2 * H); num(31, 0)
  # An arc of bulge 0.25 across parcel (3, 2), counterclockwise from its south-west corner to its
  # north-east corner: centre and angles from the bulge.
  ax = X0 + 3 * W; ay = Y0 + 2 * H; bx = ax + W; by = ay + H; b = 0.25
  k = (1 / b - b) / 2
  cx = (ax + bx) / 2 - k / 2 * (by - ay); cy = (ay + by) / 2 + k / 2 * (bx - ax)
  r = sqrt((ax - cx) ^ 2 + (ay - cy) ^ 2)
  a1 = atan2(ay - cy, ax - cx) * 45 / atan2(1, 1); a2 = atan2(by - cy, bx - cx) * 45 / atan2(1, 1)
  if (a1 < 0) a1 += 360
  if (a2 < 0) a2 += 360
  entity("ARC", "DIVISIONS"); pair(100, "AcDbCircle")
  num(10, cx); num(20, cy); num(30, 0); num(40, r); pair(100, "AcDbArc"); num(50, a1); num(51, a2)
  pair(0, "ENDSEC"); pair(0, "EOF")
}' >"$out"
echo "wrote $out"
