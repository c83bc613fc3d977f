#!/usr/bin/env python3
"""The vectorised calls of the tavro module against the same library calls in a C++ loop, in
one run on the same 100,000 points: the inverse projection and point relations against a
parcel with arcs. Prints the CPU time of each and their ratio (the module's cost over the
loop's); exits 1 when a ratio exceeds 1.5.

usage: /usr/bin/python3 python/bench/bench_vectorised.py [BUILD_DIR]   (default build)
"""

import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "build")
sys.path.insert(0, os.path.join(build, "python"))

import numpy as np  # noqa: E402

import tavro  # noqa: E402
from tavro import _core  # noqa: E402

POINTS = 100_000
REPEATS = 25
LIMIT = 1.5


def cpu_seconds(call):
    start = time.process_time()
    call()
    return time.process_time() - start


def compare(name, module_call, loop_seconds):
    """The least CPU time of each of REPEATS runs, the two taken in turn so that a busy spell of
    the machine falls on both alike."""
    module_call()
    loop_seconds()
    module, loop = [], []
    for _ in range(REPEATS):
        module.append(cpu_seconds(module_call))
        loop.append(loop_seconds())
    ratio = min(module) / min(loop)
    print(f"{name:<26} module {min(module) * 1e3:7.2f} ms   C++ loop {min(loop) * 1e3:7.2f} ms"
          f"   ratio {ratio:4.2f}")
    return ratio


def main():
    rng = np.random.default_rng(1)
    north = rng.uniform(2.5e6, 5e6, POINTS)
    east = rng.uniform(350000, 650000, POINTS)
    system = tavro.CoordinateSystem.CGCS2000
    ratios = [compare("gauss_inverse",
                      lambda: tavro.gauss_inverse(north, east, 117, system),
                      lambda: _core._gauss_inverse_loop(north, east, 117, int(system)))]

    ring = np.array([[0, 0], [60, 0], [60, 80], [30, 95], [0, 80]], float)
    bulges = np.array([0.1, 0.4, 0, -0.2, 0], float)
    points = rng.uniform(-20, 120, size=(POINTS, 2))
    ratios.append(compare("point_relation (arcs)",
                          lambda: tavro.point_relation(points, ring, bulges),
                          lambda: _core._point_relation_loop(points, ring, bulges)))
    ratios.append(compare("point_relation (straight)",
                          lambda: tavro.point_relation(points, ring),
                          lambda: _core._point_relation_loop(points, ring, None)))
    if max(ratios) > LIMIT:
        print(f"FAIL: a ratio exceeds {LIMIT}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
