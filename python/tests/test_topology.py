"""Loops from pieces and regions from parcel linework."""

import numpy as np
import pytest

import tavro
from conftest import read_polylines


def cells():
    """The README's two unit cells drawn as pieces a-e, with a free spur f."""
    return [np.array(p, float) for p in (
        [[0, 0], [1, 0]], [[1, 0], [1, 1]], [[1, 1], [0, 1]], [[0, 1], [0, 0]],
        [[1, 0], [2, 0], [2, 1], [1, 1]], [[1, 1], [1, 2]])]


def test_faces_and_outer_boundary_of_two_cells():
    faces = tavro.loops(cells())
    assert [sorted(f.pieces) for f in faces] == [[1, 2], [1, 4]]
    assert sorted(tavro.area(f.vertices, f.bulges) for f in faces) == [-1, -1]
    (outer,) = tavro.loops(cells(), outer=True)
    assert tavro.area(outer.vertices, outer.bulges) == pytest.approx(2)
    assert isinstance(outer, tavro.Loop)


def test_a_closed_piece_is_a_face_of_its_own_with_its_index():
    ring = np.array([[0, 0], [4, 0], [4, 4], [0, 4], [0, 0]], float)
    (face,) = tavro.loops([np.array([[10, 10], [11, 10]]), (ring, [0, 0.5, 0, 0, 0])])
    assert face.pieces == [1]
    assert tavro.area(face.vertices, face.bulges) == pytest.approx(
        tavro.area(ring[:-1], [0, 0.5, 0, 0]))


def grid_parcels(columns, rows, size=10.0):
    """Each parcel of a grid drawn by itself, closed and counterclockwise: every inner side twice."""
    parcels = []
    for j in range(rows):
        for i in range(columns):
            x, y = i * size, j * size
            parcels.append(np.array([[x, y], [x + size, y], [x + size, y + size], [x, y + size],
                                     [x, y]]))
    return parcels


def test_borders_of_a_grid_drawn_parcel_by_parcel():
    parcels = grid_parcels(3, 2)
    regions = tavro.borders(parcels)
    assert len(regions) == 6
    assert all(r.area == pytest.approx(100) for r in regions)
    for r in regions:
        centre = np.mean(r.vertices, axis=0)
        owner = int(centre[1] // 10) * 3 + int(centre[0] // 10)
        assert owner in r.pieces
        # The parcel itself and the neighbours that share a side with it, and no others.
        i, j = owner % 3, owner // 3
        neighbours = {owner} | {n for n, ok in ((owner - 1, i > 0), (owner + 1, i < 2),
                                                (owner - 3, j > 0), (owner + 3, j < 1)) if ok}
        assert set(r.pieces) == neighbours
    (outer,) = tavro.borders(parcels, outer=True)
    assert outer.area == pytest.approx(600)
    assert tavro.orientation(outer.vertices, outer.bulges) is tavro.Orientation.CLOCKWISE


def test_borders_min_area_bounds():
    parcels = grid_parcels(2, 1) + [np.array([[0, 0], [10, 10]])]
    regions = sorted(tavro.borders(parcels), key=lambda r: r.area)
    assert [r.area for r in regions] == pytest.approx([50, 50, 100])
    # The triangle on the shared side runs along both squares; the long diagonal bounds both.
    assert sorted(r.pieces for r in regions) == [[0, 1], [0, 1, 2], [0, 2]]
    assert len(tavro.borders(parcels, min_area=50)) == 1  # regions of min_area or less go
    assert len(tavro.borders(parcels, min_area=49.999)) == 3


def test_borders_agree_with_the_tavro_program(cli, sample, tmp_path):
    for name in ("parcels.csv", "nested.csv"):
        out = tmp_path / "regions.csv"
        cli("borders", sample(name), "-o", str(out))
        program = read_polylines(str(out))
        mine = tavro.borders([(v, b) for _, v, b in read_polylines(sample(name))])
        assert len(mine) == len(program)
        for region, (_, vertices, bulges) in zip(mine, program):
            assert np.vstack([region.vertices, region.vertices[:1]]) == pytest.approx(vertices)
            assert region.bulges == pytest.approx(bulges[:-1])
            assert region.area == pytest.approx(abs(tavro.area(vertices[:-1], bulges[:-1])))


def test_divide_cuts_at_crossings_and_keeps_shared_pieces_once():
    east = np.array([[0, 0], [2, 0]], float)
    north = np.array([[1, -1], [1, 1]], float)
    pieces = tavro.divide([east, north, east[::-1]])
    assert len(pieces) == 4
    assert all(isinstance(p, tavro.Piece) and p.bulge == 0 for p in pieces)
    owners = {tuple(map(tuple, p.vertices)): p.owners for p in pieces}
    assert owners[((0, 0), (1, 0))] == [0, 2]  # drawn twice, once each way
    assert owners[((1, 0), (1, 1))] == [1]
    # A half circle below its chord, cut at its lowest point by a vertical line: two quarter
    # arcs of bulge tan(22.5 degrees).
    arc = tavro.divide([(east, [1, 0]), np.array([[1, -2], [1, 2]], float)])
    bulges = sorted(p.bulge for p in arc)
    assert bulges == pytest.approx([0, 0, np.tan(np.pi / 8), np.tan(np.pi / 8)])
    lengths = sum(tavro.length(p.vertices, [p.bulge, 0]) for p in arc)
    assert lengths == pytest.approx(np.pi + 4)
    assert tavro.divide([]) == []
