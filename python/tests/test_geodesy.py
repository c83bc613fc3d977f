"""Inverse projection, parameter fits and the transformation chain."""

import csv
import math

import numpy as np
import pytest

import tavro


def table(path):
    rows = [line for line in open(path, encoding="utf-8") if not line.startswith("#")]
    return list(csv.DictReader(rows))


def test_gauss_inverse_agrees_with_the_tavro_program(cli, tmp_path):
    north = np.array([3880000.0, 3500000.0, 2500000.0, 4400000.0])
    east = np.array([535000.0, 20500000.0, 420000.0, 610000.0])
    path = tmp_path / "plane.csv"
    path.write_text("northing,easting\n" + "".join(f"{n},{e}\n" for n, e in zip(north, east)))
    out = cli("gauss-inverse", "--ellipsoid", "beijing54", "--central-meridian", "117", str(path))
    rows = list(csv.DictReader(out.splitlines()))
    lon, lat = tavro.gauss_inverse(north, east, 117, tavro.CoordinateSystem.BEIJING54)
    assert lon == pytest.approx([float(r["longitude"]) for r in rows], abs=1e-9)
    assert lat == pytest.approx([float(r["latitude"]) for r in rows], abs=1e-9)


def test_gauss_inverse_keeps_the_shape_and_matches_single_calls():
    rng = np.random.default_rng(3)
    north = rng.uniform(2.5e6, 5e6, size=(4, 5))
    east = rng.uniform(350000, 650000, size=(4, 5))
    lon, lat = tavro.gauss_inverse(north, east, 111, 3)
    assert lon.shape == lat.shape == (4, 5)
    for idx in np.ndindex(north.shape):
        one = tavro.gauss_inverse([north[idx]], [east[idx]], 111, tavro.CoordinateSystem.CGCS2000)
        assert (one[0][0], one[1][0]) == (lon[idx], lat[idx])
    # On the central meridian the longitude is the meridian's, on the equator the latitude is 0.
    lon, lat = tavro.gauss_inverse([4e6, 0.0], [500000.0, 600000.0], 117, 1)
    assert lon[0] == pytest.approx(117, abs=1e-12) and lat[1] == pytest.approx(0, abs=1e-12)


def test_chain_inverse_projection_is_gauss_inverse_in_radians():
    north, east = np.array([3880000.0, 3300000.0]), np.array([535000.0, 460000.0])
    lat, lon, _ = tavro.Chain().plane_to_geodetic(tavro.CoordinateSystem.XIAN80, 117).apply(east, north)
    lon_deg, lat_deg = tavro.gauss_inverse(north, east, 117, tavro.CoordinateSystem.XIAN80)
    assert np.degrees(lon) == pytest.approx(lon_deg, abs=1e-8)
    assert np.degrees(lat) == pytest.approx(lat_deg, abs=1e-8)


def test_fit4_gives_the_readme_parameters_and_the_chain_its_points(sample):
    control = table(sample("control.csv"))
    source = np.array([[float(r["x"]), float(r["y"])] for r in control])
    target = np.array([[float(r["X"]), float(r["Y"])] for r in control])
    fit = tavro.fit4(source, target)
    assert (fit.dx, fit.dy) == pytest.approx((-52.893546534935, 87.8548935740255), abs=1e-9)
    assert fit.rotation == pytest.approx(-1.29902796876595e-07, rel=1e-9)
    assert fit.scale == pytest.approx(0.999960539926216, abs=1e-14)
    assert fit.rms == pytest.approx(0.000872719320940602, rel=1e-9)
    assert fit.residuals.shape == (5, 2)
    assert fit.residuals.sum(axis=0) == pytest.approx([0, 0], abs=1e-9)
    chain = tavro.Chain().pm4(*fit[:4])
    X, Y, _ = chain.apply([535000.0, 535120.5], [3880000.0, 3880085.25])
    assert np.round(X, 4) == pytest.approx([534926.4993, 535046.9946])
    assert np.round(Y, 4) == pytest.approx([3879934.6803, 3880019.9269])


def test_fit7_recovers_known_parameters():
    truth = (-15.2, 148.7, 92.1, 4.5e-6, 1.2e-6, -2.3e-6, 3.1e-6)
    lat = np.radians([30.1, 30.4, 31.0, 30.7, 30.2])
    lon = np.radians([114.2, 114.9, 114.5, 115.3, 115.0])
    to_xyz = tavro.Chain().geodetic_to_cartesian(tavro.CoordinateSystem.BEIJING54)
    source = np.column_stack(to_xyz.apply(lat, lon, np.full(5, 50.0)))
    target = np.column_stack(tavro.Chain().kj7(*truth).apply(*source.T))
    fit = tavro.fit7(source, target)
    assert fit[:3] == pytest.approx(truth[:3], abs=1e-4)
    assert fit[3:7] == pytest.approx(truth[3:], abs=1e-10)
    assert np.abs(fit.residuals).max() < 1e-4
    back = tavro.Chain().cartesian_to_geodetic(tavro.CoordinateSystem.BEIJING54).apply(*source.T)
    assert back[0] == pytest.approx(lat, abs=1e-11) and back[2] == pytest.approx(50, abs=1e-6)


def test_fit_height_recovers_a_quadratic_surface():
    rng = np.random.default_rng(5)
    points = rng.uniform(0, 1000, size=(12, 2))
    h = rng.uniform(10, 20, size=12)
    u, v = points[:, 0] - points[:, 0].mean(), points[:, 1] - points[:, 1].mean()
    a = [0.5, 1e-3, -2e-3, 1e-6, -2e-6, 3e-6]
    target = h + a[0] + a[1] * u + a[2] * v + a[3] * u * u + a[4] * u * v + a[5] * v * v
    fit = tavro.fit_height(points, h, target)
    assert (fit.x0, fit.y0) == pytest.approx(tuple(points.mean(axis=0)))
    assert fit.a == pytest.approx(a, rel=1e-6)
    assert fit.rms < 1e-8
    _, _, H = tavro.Chain().hf2(fit.x0, fit.y0, fit.a).apply(points[:, 0], points[:, 1], h)
    assert H == pytest.approx(target, abs=1e-8)


def test_projection_forward_then_inverse_is_the_identity():
    east, north = np.array([535000.0, 480000.0]), np.array([3880000.0, 2900000.0])
    chain = (tavro.Chain().plane_to_geodetic(tavro.CoordinateSystem.CGCS2000, 117)
             .geodetic_to_plane(tavro.CoordinateSystem.CGCS2000, 117))
    assert len(chain) == 2
    assert chain.pm4(0, 0, 0, 1) is chain and len(chain) == 3
    chain = (tavro.Chain().plane_to_geodetic(tavro.CoordinateSystem.CGCS2000, 117)
             .geodetic_to_plane(tavro.CoordinateSystem.CGCS2000, 117))
    X, Y, _ = chain.apply(east, north)
    # The series of the two directions agree to 0.2 mm.
    assert X == pytest.approx(east, abs=2e-4) and Y == pytest.approx(north, abs=2e-4)
    assert tavro.Chain().apply([1.0], [2.0])[1] == pytest.approx([2.0])
