"""Shapely interop: polygons out with arcs as chords, and vertex arrays back."""

import math

import numpy as np
import pytest

import tavro

shapely = pytest.importorskip("shapely")
from shapely.geometry import Polygon  # noqa: E402

B = np.array([[500100, 3500000], [500160, 3500000], [500160, 3500080], [500100, 3500080]], float)
B_BULGES = np.array([0, 1, 0, 0], float)


def test_to_shapely_flattens_arcs_and_keeps_holes():
    polygon = tavro.to_shapely(B, B_BULGES, max_angle=1)
    chords = tavro.flatten(B, B_BULGES, max_angle=1)
    assert polygon.area == pytest.approx(abs(tavro.area(chords)))
    assert polygon.area == pytest.approx(4800 + 800 * math.pi, rel=1e-4)
    hole = np.array([[500110, 3500010], [500120, 3500010], [500120, 3500020], [500110, 3500020]])
    with_hole = tavro.to_shapely(B, B_BULGES, max_angle=1, islands=[hole])
    assert with_hole.area == pytest.approx(polygon.area - 100)
    assert with_hole.contains(shapely.geometry.Point(500190, 3500040))


def test_from_shapely_round_trips_with_and_without_arcs():
    vertices, bulges = tavro.from_shapely(Polygon(B))
    assert vertices == pytest.approx(B) and list(bulges) == [0, 0, 0, 0]
    polygon = tavro.to_shapely(B, B_BULGES, max_angle=5)
    vertices, bulges = tavro.from_shapely(polygon, recover_arcs=True)
    assert vertices == pytest.approx(B)
    assert bulges == pytest.approx(B_BULGES)
    assert tavro.area(vertices, bulges) == pytest.approx(tavro.area(B, B_BULGES))


def test_holes_are_asked_for():
    hole = [(1, 1), (2, 1), (2, 2), (1, 2)]
    polygon = Polygon([(0, 0), (4, 0), (4, 4), (0, 4)], [hole])
    with pytest.raises(ValueError, match="holes"):
        tavro.from_shapely(polygon)
    vertices, bulges, islands = tavro.from_shapely(polygon, holes=True)
    assert len(vertices) == 4 and len(islands) == 1
    assert islands[0][0] == pytest.approx(np.array(hole, float))
    codes = tavro.point_relation([[1.5, 1.5], [3, 3]], vertices, bulges, islands=islands)
    assert list(codes) == [tavro.Relation.OUTSIDE, tavro.Relation.INSIDE]
