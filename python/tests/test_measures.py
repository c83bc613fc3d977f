"""Measures of bulge rings: hand-worked values, the tavro program's answers on the sample
parcels, and Shapely-free cross-checks between two routes to one answer."""

import math
import re

import numpy as np
import pytest

import tavro
from conftest import read_polylines

# Parcel B: 60 m x 80 m with a half circle of radius 40 bowed out of its east side.
B = np.array([[500100, 3500000], [500160, 3500000], [500160, 3500080], [500100, 3500080]], float)
B_BULGES = np.array([0, 1, 0, 0], float)


def test_hand_worked_measures_of_a_parcel_with_a_half_circle():
    half_disc = math.pi * 40**2 / 2
    assert tavro.area(B, B_BULGES) == pytest.approx(-(4800 + half_disc), abs=1e-6)
    assert tavro.area(B[::-1], -np.roll(B_BULGES[::-1], -1)) == pytest.approx(4800 + half_disc)
    assert tavro.area(B) == pytest.approx(-4800)
    assert tavro.length(B, B_BULGES) == pytest.approx(60 + 40 * math.pi + 60)
    assert tavro.length(B, B_BULGES, closed=True) == pytest.approx(200 + 40 * math.pi)
    assert tavro.extents(B, B_BULGES) == pytest.approx((500100, 3500000, 500200, 3500080))
    assert tavro.orientation(B, B_BULGES) is tavro.Orientation.COUNTERCLOCKWISE
    assert tavro.orientation(B[::-1]) == tavro.Orientation.CLOCKWISE
    # The half disc's centroid lies 4r/(3 pi) east of the chord x = 500160.
    disc_x = 500160 + 4 * 40 / (3 * math.pi)
    cx = (4800 * 500130 + half_disc * disc_x) / (4800 + half_disc)
    assert tavro.centroid(B, B_BULGES) == pytest.approx((cx, 3500040), abs=1e-6)
    rect = tavro.min_area_rect(B, B_BULGES)
    assert rect.shape == (4, 2)
    assert abs(tavro.area(rect)) == pytest.approx(100 * 80)


def test_degenerate_rings_have_no_centroid_label_or_extents():
    line = np.array([[0, 0], [1, 1], [2, 2]], float)
    assert tavro.area(line) == 0
    assert tavro.orientation(line) is tavro.Orientation.NONE
    assert tavro.centroid(line) is None
    assert tavro.label_point(line) is None
    assert tavro.extents(np.empty((0, 2))) is None
    assert tavro.length([[5, 5]], closed=True) == 0
    assert tavro.min_area_rect([[5, 5]]).shape == (0, 2)


def test_label_point_lies_inside_and_centroid_matches_fine_chords():
    c_shape = np.array([[0, 0], [30, 0], [30, 10], [10, 10], [10, 20], [30, 20], [30, 30], [0, 30]],
                       float)
    label = tavro.label_point(c_shape)
    assert tavro.point_relation([label], c_shape)[0] == tavro.Relation.INSIDE
    chords = tavro.flatten(B, B_BULGES, max_angle=0.01)
    assert tavro.centroid(chords) == pytest.approx(tavro.centroid(B, B_BULGES), abs=1e-4)


def numbers(text):
    return [float(v) for v in re.findall(r"-?\d+\.\d+", text)]


def test_measures_agree_with_the_tavro_program(cli, sample):
    report = cli("measure", sample("parcels.csv")).split("\n\n")
    for block, (_, vertices, bulges) in zip(report, read_polylines(sample("parcels.csv"))):
        rows = dict(re.match(r"\s+(\w+(?: \w+)?)\s+(.*)", line).groups()
                    for line in block.splitlines()[1:])
        assert float(rows["length"]) == pytest.approx(tavro.length(vertices, bulges), abs=1e-6)
        assert float(rows["perimeter"]) == pytest.approx(
            tavro.length(vertices, bulges, closed=True), abs=1e-6)
        assert numbers(rows["signed area"])[0] == pytest.approx(tavro.area(vertices, bulges), abs=1e-6)
        assert numbers(rows["extents"]) == pytest.approx(tavro.extents(vertices, bulges), abs=1e-6)
        assert numbers(rows["centroid"]) == pytest.approx(tavro.centroid(vertices, bulges), abs=1e-6)
        assert numbers(rows["label"]) == pytest.approx(tavro.label_point(vertices, bulges), abs=1e-6)
        rect = numbers(rows["min rect"])
        assert rect[:8] == pytest.approx(tavro.min_area_rect(vertices, bulges).ravel(), abs=1e-6)


def test_lists_and_arrays_of_other_types_are_taken_as_float64():
    ints = [[0, 0], [2, 0], [2, 2], [0, 2]]
    assert tavro.area(ints) == tavro.area(np.array(ints, dtype=np.float32)) == -4
    strided = np.array([[0, 0, 9], [2, 0, 9], [2, 2, 9], [0, 2, 9]], float)[:, :2]
    assert tavro.area(strided) == -4
    assert tavro.area(np.asfortranarray(np.array(ints, float))) == -4
