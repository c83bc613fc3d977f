"""Arcs to chords and back, against the tavro program and the README's figures."""

import math

import numpy as np
import pytest

import tavro
from conftest import read_polylines

B = np.array([[500100, 3500000], [500160, 3500000], [500160, 3500080], [500100, 3500080]], float)
B_BULGES = np.array([0, 1, 0, 0], float)


def test_half_circle_in_chords_of_5_degrees_and_back():
    chords = tavro.flatten(B, B_BULGES, max_angle=5)
    assert len(chords) == 4 + 36  # 37 chords replace the arc
    assert tavro.area(chords) == pytest.approx(-7310.255364, abs=1e-6)
    vertices, bulges = tavro.recover_arcs(chords)
    assert vertices == pytest.approx(B)
    assert bulges == pytest.approx(B_BULGES)
    assert tavro.area(vertices, bulges) == pytest.approx(tavro.area(B, B_BULGES), abs=1e-6)


def test_keep_area_chords_keep_the_arc_area():
    exact = tavro.area(B, B_BULGES)
    kept = tavro.flatten(B, B_BULGES, max_angle=5, keep_area=True)
    # The chords lose 3 m2 with their vertices on the arc; pushed out they keep it to 0.1 mm2.
    assert tavro.area(kept) == pytest.approx(exact, abs=1e-4)
    # One chord of a quarter circle cuts off its segment: r^2 (pi/4 - 1/2).
    quarter = np.array([[1, 0], [0, 1]], float)
    bulge = math.tan(math.pi / 8)
    chord = tavro.flatten(quarter, [bulge, 0], closed=False, max_angle=90.0001)
    assert chord == pytest.approx(quarter)


def test_recovery_without_a_run_gives_the_input_back():
    square = np.array([[0, 0], [1, 0], [1, 1], [0, 1]], float)
    vertices, bulges = tavro.recover_arcs(square)
    assert vertices == pytest.approx(square)
    assert list(bulges) == [0, 0, 0, 0]


def test_flatten_agrees_with_the_tavro_program(cli, sample, tmp_path):
    out = tmp_path / "chords.csv"
    out.write_text(cli("flatten", "--angle", "5", sample("parcels.csv")))
    program = {key: vertices for key, vertices, _ in read_polylines(str(out))}
    for key, vertices, bulges in read_polylines(sample("parcels.csv")):
        mine = tavro.flatten(vertices, bulges, max_angle=5)
        assert mine == pytest.approx(program[key][:-1], abs=1e-6)  # the program repeats the start
