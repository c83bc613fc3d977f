#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/ from the sample drawings and a few shapes of the
test suite, in the byte format FuzzInput.h decodes (numbers as raw doubles)."""
import csv
import math
import shutil
import struct
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
OUT = ROOT / "fuzz" / "corpus"


def num(v):
    return bytes([255]) + struct.pack("<d", v)


def line(pts, bulges=None):
    out = bytes([len(pts)])
    for x, y in pts:
        out += num(x) + num(y)
    out += bytes([0])  # one bulge per point
    for b in bulges or [0.0] * len(pts):
        out += num(b)
    return out


def lines(polys):
    return bytes([len(polys)]) + b"".join(line(p, b) for p, b in polys)


def read_csv(path):
    polys, cur = [], None
    rows = [r for r in csv.reader(l for l in open(path) if not l.startswith("#"))]
    for r in rows[1:]:
        if not r:
            continue
        if cur is None or cur[0] != r[0]:
            cur = [r[0], [], []]
            polys.append(cur)
        cur[1].append((float(r[1]), float(r[2])))
        cur[2].append(float(r[3]) if len(r) > 3 else 0.0)
    return [(p, b) for _, p, b in polys]


def square(x, y, s=1.0):
    return [(x, y), (x + s, y), (x + s, y + s), (x, y + s), (x, y)]


def chords(cx, cy, r, a0, a1, n):
    return [(cx + r * math.cos(a0 + (a1 - a0) * i / n), cy + r * math.sin(a0 + (a1 - a0) * i / n))
            for i in range(n + 1)]


def shapes():
    parcels = read_csv(ROOT / "samples" / "parcels.csv")
    nested = read_csv(ROOT / "samples" / "nested.csv")
    squares = [(square(0, 0), None), (square(1, 0), None), (square(0.5, 0.5), None)]
    circle = [([(0, 0), (2, 0)], [1.0, 1.0])]
    return {"parcels": parcels, "nested": nested, "squares": squares, "circle": circle}


def write(harness, name, data):
    d = OUT / harness
    d.mkdir(parents=True, exist_ok=True)
    (d / name).write_bytes(data)


def main():
    if OUT.exists():
        shutil.rmtree(OUT)
    sets = shapes()
    arc = chords(0, 0, 10, 0, math.pi / 2, 12) + [(20, 20)]
    for name, polys in sets.items():
        write("borders", name, bytes([0]) + num(0.0) + lines(polys))
        write("borders", name + "-outer", bytes([1]) + num(1e-4) + lines(polys))
        forms = b"".join(bytes([2 | 8, i + 1]) + line(p, b) for i, (p, b) in enumerate(polys))
        write("division", name, bytes([0, 0, len(polys)]) + forms)
        write("division", name + "-removed", bytes([1, 3, len(polys)]) + forms)
        pieces = b"".join(bytes([4 | 8, i + 1]) + line(p, b) for i, (p, b) in enumerate(polys))
        for drive in (3, 4, 8, 9, 10):
            write("loops", f"{name}-{drive}", bytes([len(polys)]) + pieces + bytes([5, drive, 1]))
        first, bulges = polys[0][0], polys[0][1]
        inner = num(first[0][0] + 0.5) + num(first[0][1] + 0.5)
        write("relations", name + "-point", bytes([0]) + inner + line(first, bulges))
        if len(polys) > 1:
            write("relations", name + "-rings",
                  bytes([3]) + inner + line(first, bulges) + line(*polys[1]))
            write("arc_intersections", name, bytes([0]) + line(first, bulges) + line(*polys[1]))
        write("relations", name + "-map", bytes([7]) + inner + lines(polys))
        write("arcs", name + "-flatten", bytes([2]) + num(1.0) + line(first, bulges))
        write("arcs", name + "-pieces", bytes([3]) + num(0.5) + line(first[:4], bulges and bulges[:4]))
    write("arcs", "chords", bytes([0]) + num(1e-3) + line(arc))
    write("arcs", "chords-breaks", bytes([1]) + num(1e-3) + bytes([len(arc)])
          + b"".join(num(x) + num(y) for x, y in arc) + bytes([5]))
    write("arc_intersections", "arc-segment",
          bytes([2]) + num(0) + num(0) + num(2) + num(0) + num(1.0) + num(0) + num(1)
          + line([(1, -2), (1, 2)]))
    control = list(csv.reader(l for l in open(ROOT / "samples" / "control.csv")
                              if not l.startswith("#")))[1:]
    data = [float(v) for r in control for v in r[1:]]
    for kind in range(5):
        write("coordinate", f"estimate-{kind}",
              bytes([0, len(data)]) + b"".join(num(v) for v in data) + bytes([kind]))
    chain = bytes([1, 64 + 20, 2]) + bytes([12 | 0x30]) + num(0) * 8 + bytes([0])
    chain += bytes([9 | 0x10]) + num(117 * math.pi / 180) + num(0) * 7 + bytes([0])
    chain += bytes([1]) + num(3500000) + num(500000) + num(0) + num(120.3015)
    write("coordinate", "chain", chain)
    write("coordinate", "projection",
          bytes([2]) + num(3880000) + num(535000) + num(117) + bytes([4]) + num(0) + bytes([2, 1, 0]))
    for f in ("parcels.csv", "nested.csv", "points.csv", "control.csv"):
        write("csv", f, (ROOT / "samples" / f).read_bytes())
    write("dxf", "parcel_map.dxf", (ROOT / "samples" / "parcel_map.dxf").read_bytes())


if __name__ == "__main__":
    main()
