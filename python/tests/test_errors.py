"""Bad input is a ValueError that names the argument, never a crash or a silent NaN."""

import numpy as np
import pytest

import tavro

SQUARE = np.array([[0, 0], [1, 0], [1, 1], [0, 1]], float)
NAN = float("nan")

BAD_CALLS = [
    ("vertices", lambda: tavro.area([[0, 0], [1, NAN]])),
    ("vertices", lambda: tavro.area([[0, 0], [float("inf"), 1]])),
    ("vertices", lambda: tavro.area([1.0, 2.0, 3.0])),
    ("vertices", lambda: tavro.area(np.zeros((3, 3)))),
    ("vertices", lambda: tavro.area("a square")),
    ("vertices", lambda: tavro.area(None)),
    ("bulges", lambda: tavro.area(SQUARE, [0, 0, 0])),
    ("bulges", lambda: tavro.length(SQUARE, [0, 0, NAN, 0])),
    ("bulges", lambda: tavro.centroid(SQUARE, np.zeros((4, 1)))),
    ("points", lambda: tavro.point_relation([[0, NAN]], SQUARE)),
    ("points", lambda: tavro.point_relation([0.5, 0.5], SQUARE)),
    ("bulges", lambda: tavro.point_relation([[0, 0]], SQUARE, [1])),
    ("islands", lambda: tavro.point_relation([[0, 0]], SQUARE, islands=[[[0, NAN]]])),
    ("islands", lambda: tavro.point_relation_set([[0, 0]], [SQUARE], islands=[])),
    ("rings", lambda: tavro.point_relation_set([[0, 0]], [SQUARE], bulges=[None, None])),
    ("bulges\\[0\\]", lambda: tavro.containment_map([SQUARE], bulges=[[0, 0]])),
    ("b_bulges", lambda: tavro.ring_relation(SQUARE, SQUARE, b_bulges=[0])),
    ("pieces\\[1\\] bulges", lambda: tavro.borders([SQUARE, (SQUARE, [0])])),
    ("rings", lambda: tavro.containment_map(SQUARE)),
    ("a", lambda: tavro.ring_relation(SQUARE[:, :1], SQUARE)),
    ("max_angle", lambda: tavro.flatten(SQUARE, max_angle=0)),
    ("max_angle", lambda: tavro.flatten(SQUARE, max_angle=NAN)),
    ("tol", lambda: tavro.recover_arcs(SQUARE, tol=-1)),
    ("pieces", lambda: tavro.loops([SQUARE, [[0, 0], [NAN, 1]]])),
    ("pieces", lambda: tavro.borders([SQUARE, [[0, 0]]])),
    ("polylines", lambda: tavro.divide([SQUARE, [[0, 0], [1, NAN]]])),
    ("min_area", lambda: tavro.borders([SQUARE], min_area=NAN)),
    ("northing", lambda: tavro.gauss_inverse([NAN], [500000.0], 117, 1)),
    ("easting", lambda: tavro.gauss_inverse([0.0, 1.0], [500000.0], 117, 1)),
    ("northing", lambda: tavro.gauss_inverse([2e7], [500000.0], 117, 1)),
    ("system", lambda: tavro.gauss_inverse([0.0], [500000.0], 117, 0)),
    ("system", lambda: tavro.gauss_inverse([0.0], [500000.0], 117, "wgs84")),
    ("system", lambda: tavro.gauss_inverse([0.0], [500000.0], 117, "3")),
    ("system", lambda: tavro.gauss_inverse([0.0], [500000.0], 117, 2**40)),
    ("central_meridian", lambda: tavro.gauss_inverse([0.0], [500000.0], 200, 1)),
    ("source", lambda: tavro.fit4(SQUARE[:, :1], SQUARE)),
    ("same number", lambda: tavro.fit4(SQUARE, SQUARE[:3])),
    ("at least 2", lambda: tavro.fit4(SQUARE[:1], SQUARE[:1])),
    ("do not fix", lambda: tavro.fit4(np.zeros((3, 2)), SQUARE[:3])),
    ("do not fix", lambda: tavro.fit7(np.zeros((3, 3)), np.ones((3, 3)))),
    ("target", lambda: tavro.fit_height(SQUARE, np.zeros(4), np.zeros(3))),
    ("at least 6", lambda: tavro.fit_height(SQUARE, np.zeros(4), np.zeros(4))),
    ("a", lambda: tavro.Chain().hf2(0, 0, [1, 2])),
    ("finite", lambda: tavro.Chain().pm4(0, 0, NAN, 1)),
    ("same shape", lambda: tavro.Chain().apply([1.0, 2.0], [1.0])),
    ("z", lambda: tavro.Chain().apply([1.0], [1.0], [NAN])),
    ("polygon", lambda: tavro.from_shapely(SQUARE)),
]


@pytest.mark.parametrize("name,call", BAD_CALLS, ids=[f"{i}-{n}" for i, (n, _) in enumerate(BAD_CALLS)])
def test_bad_input_raises_value_error_naming_it(name, call):
    with pytest.raises(ValueError, match=name):
        call()


def test_hostile_but_valid_input_gets_the_library_answer():
    assert tavro.area(np.empty((0, 2))) == 0
    assert tavro.length([[1, 1]]) == 0
    assert tavro.loops([]) == []
    assert tavro.borders([]) == []
    assert tavro.containment_map([]) == {}
    assert tavro.flatten(np.empty((0, 2))).shape == (0, 2)
    zero_length = np.array([[0, 0], [0, 0], [1, 0], [1, 1]], float)
    assert tavro.area(zero_length) == pytest.approx(-0.5)
    (triangle,) = tavro.borders([np.vstack([zero_length, zero_length[:1]]), zero_length[::-1]])
    assert triangle.area == pytest.approx(0.5) and triangle.pieces == [0, 1]
    lon, lat = tavro.gauss_inverse(np.empty(0), np.empty(0), 117, 1)
    assert lon.shape == (0,)
    lon, lat = tavro.gauss_inverse(3880000.0, 535000.0, 117, 4)  # scalars: 0-d arrays
    assert lon.shape == () and float(lat) == pytest.approx(35.047511909, abs=1e-9)
    # Two-vertex pieces written as tuples of points, beside a (vertices, bulges) pair.
    pieces = [((0, 0), (2, 0)), (np.array([[2, 0], [0, 0]], float), [1, 0])]
    (face,) = tavro.loops(pieces)
    assert sorted(face.pieces) == [0, 1]
