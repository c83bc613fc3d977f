"""Point relations, vectorised against one call per point, and ring relations."""

import numpy as np
import pytest

import tavro

SQUARE = np.array([[0, 0], [10, 0], [10, 10], [0, 10]], float)
HOLE = np.array([[4, 4], [6, 4], [6, 6], [4, 6]], float)


def test_codes_of_points_inside_on_and_outside_a_ring():
    # A micrometre off the side is on it; a millimetre off is outside.
    codes = tavro.point_relation([[5, 5], [10, 5], [0, 0], [11, 5], [5, -1e-6], [5, -1e-3]], SQUARE)
    assert codes.dtype == np.int32
    assert list(codes) == [2, 1, 1, 4, 1, 4]
    assert tavro.Relation(codes[0]) is tavro.Relation.INSIDE
    assert list(tavro.point_relation(np.empty((0, 2)), SQUARE)) == []
    assert list(tavro.point_relation([[0, 0]], np.empty((0, 2)))) == [tavro.Relation.ERROR]


def test_a_half_circle_side_counts_its_bulge():
    ring = np.array([[0, 0], [10, 0], [10, 10], [0, 10]], float)
    bulges = np.array([0, 1, 0, 0], float)  # east side bowed out to x = 15
    points = [[14, 5], [15, 5], [16, 5], [14.9, 9]]
    assert list(tavro.point_relation(points, ring, bulges)) == [2, 1, 4, 4]


def test_islands_and_sets_of_regions():
    points = [[5, 5], [4, 5], [2, 2], [22, 22], [25, 25]]
    assert list(tavro.point_relation(points, SQUARE, islands=[HOLE])) == [4, 2, 2, 4, 4]
    far = SQUARE + 20
    codes = tavro.point_relation_set(points, [SQUARE, far], islands=[[HOLE], []])
    assert list(codes) == [4, 2, 2, 2, 2]
    assert list(tavro.point_relation_set(points, [SQUARE, far], bulges=[None, np.zeros(4)])) == [
        2, 2, 2, 2, 2]


def test_vectorised_answers_equal_one_call_per_point():
    rng = np.random.default_rng(7)
    ring = np.array([[0, 0], [40, 0], [40, 30], [20, 45], [0, 30]], float)
    bulges = np.array([0.3, 0, -0.2, 0, 0.1])
    grid = np.array([(x, y) for x in range(-5, 46, 5) for y in range(-5, 51, 5)], float)
    points = np.vstack([grid, rng.uniform(-10, 50, size=(300, 2))])
    codes = tavro.point_relation(points, ring, bulges)
    one_by_one = [tavro.point_relation(p[None, :], ring, bulges)[0] for p in points]
    assert list(codes) == one_by_one
    assert set(codes) == {1, 2, 4}


def test_ring_relations_and_the_containment_map():
    inner = SQUARE * 0.5 + 2.5
    assert tavro.ring_relation(inner, SQUARE) is tavro.Relation.INSIDE
    assert tavro.ring_relation(SQUARE, inner) is tavro.Relation.CONTAINS
    assert tavro.ring_relation(SQUARE, SQUARE.copy()) is tavro.Relation.COINCIDE
    assert tavro.ring_relation(SQUARE + 5, SQUARE) is tavro.Relation.CROSS
    assert tavro.ring_relation(SQUARE + 20, SQUARE) is tavro.Relation.OUTSIDE
    rings = [SQUARE + 100, SQUARE * 3, SQUARE, HOLE]
    assert tavro.containment_map(rings) == {0: [], 1: [2], 2: [3], 3: []}
