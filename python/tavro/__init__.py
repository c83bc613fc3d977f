"""The TavroGeometric142 library from Python.

Plane coordinates are metres of a Gauss projection plane. A bulge polyline is an (n, 2) float64
array of vertices with an (n,) array of bulges: bulge i is tan(angle/4) of the arc from vertex i
to vertex i + 1, positive counterclockwise, 0 for a straight side (a missing bulge array means
every side is straight). Ring areas are signed, positive for clockwise order. Bad input (wrong
shapes, bulge arrays of the wrong length, numbers that are not finite) raises ValueError naming
the argument. Long calls release the GIL.

Shapely is optional: to_shapely and from_shapely import it when called.
"""

from ._core import (  # noqa: F401
    Chain,
    CoordinateSystem,
    Fit4,
    Fit7,
    FitHeight,
    Loop,
    Piece,
    Orientation,
    Region,
    Relation,
    area,
    borders,
    centroid,
    containment_map,
    divide,
    extents,
    fit4,
    fit7,
    fit_height,
    flatten,
    gauss_inverse,
    label_point,
    length,
    loops,
    min_area_rect,
    orientation,
    point_relation,
    point_relation_set,
    recover_arcs,
    ring_relation,
)
from ._core import recover_arcs as _recover_arcs

import numpy as _np

__all__ = [name for name in dir() if not name.startswith("_")] + ["to_shapely", "from_shapely"]


def to_shapely(ring, bulges=None, max_angle=5.0, islands=None):
    """A shapely.Polygon of the ring with its arcs cut into chords of at most max_angle degrees
    of arc (vertices on the arc). islands: an optional list of rings (each an (n, 2) array or a
    (vertices, bulges) pair) that become the polygon's holes. Needs Shapely."""
    import shapely.geometry

    def chords(spec, spec_bulges=None):
        if isinstance(spec, tuple) and len(spec) == 2 and spec_bulges is None:
            spec, spec_bulges = spec
        return flatten(spec, spec_bulges, closed=True, max_angle=max_angle)

    holes = [chords(island) for island in (islands or [])]
    return shapely.geometry.Polygon(chords(ring, bulges), holes)


def _ring_from_coords(coords, recover, tol):
    vertices = _np.asarray(coords, dtype=float)[:, :2]
    if len(vertices) > 1 and _np.array_equal(vertices[0], vertices[-1]):
        vertices = vertices[:-1]  # Shapely repeats the first vertex; the library does not
    vertices = _np.ascontiguousarray(vertices)
    if recover:
        return _recover_arcs(vertices, None, closed=True, tol=tol)
    return vertices, _np.zeros(len(vertices))


def from_shapely(polygon, recover_arcs=False, tol=0.001, holes=False):
    """The exterior ring of a Shapely Polygon as (vertices, bulges), the first vertex not
    repeated: bulges all 0, or with recover_arcs=True runs of equal chords on one circle (within
    tol metres) turned back into arcs. With holes=True answers (vertices, bulges, islands), the
    islands a list of (vertices, bulges) pairs, one per interior ring. A polygon with holes
    needs holes=True (ValueError otherwise), so that no hole is dropped unseen."""
    geom_type = getattr(polygon, "geom_type", None)
    if geom_type != "Polygon":
        raise ValueError("polygon must be a shapely Polygon, got %s" % (geom_type or type(polygon).__name__))
    if polygon.is_empty:
        raise ValueError("polygon is empty")
    exterior = _ring_from_coords(polygon.exterior.coords, recover_arcs, tol)
    interiors = [_ring_from_coords(r.coords, recover_arcs, tol) for r in polygon.interiors]
    if holes:
        return exterior[0], exterior[1], interiors
    if interiors:
        raise ValueError("polygon has %d holes; pass holes=True to receive them" % len(interiors))
    return exterior
