// Measures, relations and arc conversion of bulge polylines.

#include "arrays.h"
#include "bindings.h"

#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"

#include <cmath>

namespace tavropy {

namespace {

const char* const kRingArgs = "vertices: (n, 2) array of x, y in metres; bulges: (n,) array, "
                              "bulge i = tan(angle/4) of the arc from vertex i to vertex i + 1, "
                              "positive counterclockwise, or None for straight sides.";

// Rings here never repeat their first vertex; the library's closed broken lines end on it.
void dropRepeatedStart(AcArray<AcGePoint2d>& nodes, AcArray<double>* bulges = nullptr) {
    if (nodes.length() < 2 || !(nodes.last() == nodes.first())) return;
    nodes.removeLast();
    if (bulges && bulges->length() > nodes.length()) bulges->setLogicalLength(nodes.length());
}

double area(py::handle v, py::handle b) {
    const Tavro::NodeBulge r = ring(v, b, "vertices", "bulges");
    return CTavroGeoPoint::geoArea(r.nodes, r.bulges);
}

double length(py::handle v, py::handle b, bool closed) {
    const Tavro::NodeBulge r = ring(v, b, "vertices", "bulges");
    if (!closed) return CTavroGeoPoint::geoLength(r.nodes, r.bulges);
    if (r.nodes.length() < 2) return 0.0;
    return CTavroGeoLine::GetBulgeLineLength(r.nodes, r.bulges, true);
}

py::object centroid(py::handle v, py::handle b) {
    const Tavro::NodeBulge r = ring(v, b, "vertices", "bulges");
    AcGePoint2d c;
    if (!CTavroGeoPoint::geoBaryCenterPoint(r.nodes, r.bulges, c)) return py::none();
    return pointTuple(c);
}

py::object extents(py::handle v, py::handle b) {
    const Tavro::NodeBulge r = ring(v, b, "vertices", "bulges");
    if (r.nodes.isEmpty()) return py::none();
    const AcDbExtents e = CTavroGeoLine::geoLineExtends(r.nodes, r.bulges);
    return py::make_tuple(e.minPoint().x, e.minPoint().y, e.maxPoint().x, e.maxPoint().y);
}

py::object orientation(py::handle v, py::handle b) {
    const double a = area(v, b);
    return recordType("Orientation")(a > 0.0 ? 1 : a < 0.0 ? -1 : 0);
}

py::array_t<double> minAreaRect(py::handle v, py::handle b) {
    const Tavro::NodeBulge r = ring(v, b, "vertices", "bulges");
    AcArray<AcGePoint2d> rect = CTavroGeoPoint::geoMinAreaRect(r.nodes, r.bulges);
    if (rect.length() != 4) rect.removeAll();
    return fromPoints(rect);
}

py::object labelPoint(py::handle v, py::handle b) {
    const Tavro::NodeBulge r = ring(v, b, "vertices", "bulges");
    AcGePoint2d label;
    bool found = false;
    {
        py::gil_scoped_release unlocked;
        found = CTavroGeoPoint::geoLabelPoint(r.nodes, r.bulges, label);
    }
    if (!found) return py::none();
    return pointTuple(label);
}

// Relation codes of every point against one answer function, computed without the GIL.
template <typename Relate> py::array_t<int> relateEach(py::handle pointObj, Relate relate) {
    const DoubleArray points = pointArray(pointObj, "points");
    const py::ssize_t m = points.shape(0);
    py::array_t<int> codes(m);
    const double* xy = points.data();
    int* out = codes.mutable_data();
    {
        py::gil_scoped_release unlocked;
        for (py::ssize_t i = 0; i < m; ++i)
            out[i] = relate(AcGePoint2d(xy[2 * i], xy[2 * i + 1]));
    }
    return codes;
}

AcArray<Tavro::NodeBulge> islandRings(py::handle islands) {
    AcArray<Tavro::NodeBulge> out;
    if (islands.is_none()) return out;
    for (const Tavro::NodeBulge& r : ringList(islands, py::none(), "islands"))
        out.append(r);
    return out;
}

py::array_t<int> pointRelation(py::handle points, py::handle v, py::handle b, py::handle islands) {
    const Tavro::NodeBulge r = ring(v, b, "ring", "bulges");
    if (islands.is_none())
        return relateEach(points, [&](const AcGePoint2d& p) {
            return int(CTavroGeoLine::geoPointWithPolygonRelation(p, r.nodes, r.bulges));
        });
    Tavro::NodeIsland region;
    region.outer = r;
    region.islands = islandRings(islands);
    return relateEach(points, [&](const AcGePoint2d& p) {
        return int(CTavroGeoLine::geoPointWithPolygonRelation(p, region));
    });
}

py::array_t<int> pointRelationSet(py::handle points, py::handle rings, py::handle b,
                                  py::handle islands) {
    const std::vector<Tavro::NodeBulge> outers = ringList(rings, b, "rings");
    AcArray<Tavro::NodeIsland> regions;
    if (!islands.is_none() &&
        (!py::isinstance<py::sequence>(islands) || py::len(islands) != outers.size()))
        throw py::value_error("islands must be a list with one list of islands per ring");
    for (size_t i = 0; i < outers.size(); ++i) {
        Tavro::NodeIsland region;
        region.outer = outers[i];
        if (!islands.is_none()) region.islands = islandRings(islands[py::int_(i)]);
        regions.append(region);
    }
    return relateEach(points, [&](const AcGePoint2d& p) {
        return int(CTavroGeoLine::geoPointWithPolygonRelation(p, regions));
    });
}

py::object ringRelation(py::handle a, py::handle b, py::handle aBulges, py::handle bBulges) {
    const Tavro::NodeBulge ra = ring(a, aBulges, "a", "a_bulges"),
                           rb = ring(b, bBulges, "b", "b_bulges");
    int code = 0;
    {
        py::gil_scoped_release unlocked;
        code = CTavroGeoLine::GetRelation(ra, rb);
    }
    return recordType("Relation")(code);
}

py::dict containmentMap(py::handle rings, py::handle b) {
    QVector<AcArray<AcGePoint2d>> nodes;
    QVector<AcArray<double>> bulges;
    for (const Tavro::NodeBulge& r : ringList(rings, b, "rings")) {
        nodes.append(r.nodes);
        bulges.append(r.bulges);
    }
    QMap<int, QList<int>> inside;
    {
        py::gil_scoped_release unlocked;
        inside = CTavroGeoLine::geoPolyInPolyMap(nodes, bulges);
    }
    py::dict out;
    for (auto it = inside.cbegin(); it != inside.cend(); ++it) {
        py::list children;
        for (int child : it.value())
            children.append(child);
        out[py::int_(it.key())] = children;
    }
    return out;
}

py::array_t<double> flatten(py::handle v, py::handle b, bool closed, double maxAngle,
                            bool keepArea) {
    const Tavro::NodeBulge r = ring(v, b, "vertices", "bulges");
    if (!(std::isfinite(maxAngle) && maxAngle > 0.0 && maxAngle <= 180.0))
        throw py::value_error("max_angle must be a number of degrees above 0, at most 180");
    AcArray<AcGePoint2d> out;
    {
        py::gil_scoped_release unlocked;
        CTavroGeoLine::GetNodesHaveArc(r.nodes, r.bulges, out, closed, maxAngle,
                                       keepArea ? Tavro::kKeepArea : Tavro::kVerticesOnArc);
    }
    if (closed) dropRepeatedStart(out);
    return fromPoints(out);
}

py::tuple recoverArcs(py::handle v, py::handle b, bool closed, double tol) {
    const Tavro::NodeBulge r = ring(v, b, "vertices", "bulges");
    if (!(std::isfinite(tol) && tol >= 0.0))
        throw py::value_error("tol must be a finite distance of at least 0");
    // The recovery reads a ring as a run that ends on its first vertex again.
    Tavro::NodeBulge run = r;
    if (closed && !run.nodes.isEmpty() && !(run.nodes.last() == run.nodes.first())) {
        run.nodes.append(run.nodes.first());
        run.bulges.append(0.0);
    }
    Tavro::NodeBulge out;
    bool found = false;
    {
        py::gil_scoped_release unlocked;
        found = CTavroGeoLine::geoDeconvolution(out.nodes, out.bulges, run.nodes, run.bulges,
                                                closed, tol) &&
                !out.nodes.isEmpty();
    }
    if (!found) out = r;
    if (closed) dropRepeatedStart(out.nodes, &out.bulges);
    return py::make_tuple(fromPoints(out.nodes), fromBulges(out.bulges, out.nodes.length()));
}

} // namespace

void bindGeometry(py::module_& m) {
    using namespace pybind11::literals;
    const std::string args = kRingArgs;
    m.def("area", &area, "vertices"_a, "bulges"_a = py::none(),
          ("Signed area of the ring (closed back to its first vertex, the last bulge bending the "
           "closing side), in square metres: positive for clockwise order.\n\n" +
           args)
              .c_str());
    m.def("length", &length, "vertices"_a, "bulges"_a = py::none(), "closed"_a = false,
          ("Length in metres along the polyline, arcs along their curve; with closed=True the "
           "closing side is included (0 for fewer than 2 vertices).\n\n" +
           args)
              .c_str());
    m.def("centroid", &centroid, "vertices"_a, "bulges"_a = py::none(),
          ("Area centroid (x, y) of the ring with its arcs, or None for a ring without area.\n\n" +
           args)
              .c_str());
    m.def("extents", &extents, "vertices"_a, "bulges"_a = py::none(),
          ("Axis-aligned box (min_x, min_y, max_x, max_y) of the ring with its arcs (the last "
           "bulge closing to the first vertex), or None for no vertices.\n\n" +
           args)
              .c_str());
    m.def("orientation", &orientation, "vertices"_a, "bulges"_a = py::none(),
          ("Orientation of the ring by the sign of its area: Orientation.CLOCKWISE (1), "
           "COUNTERCLOCKWISE (-1) or NONE (0, no area).\n\n" +
           args)
              .c_str());
    m.def("min_area_rect", &minAreaRect, "vertices"_a, "bulges"_a = py::none(),
          ("The minimum-area rectangle round the ring with its arcs: a (4, 2) array of corners, "
           "clockwise in its own frame from the corner nearest its lower left; (0, 2) for fewer "
           "than 2 vertices.\n\n" +
           args)
              .c_str());
    m.def("label_point", &labelPoint, "vertices"_a, "bulges"_a = py::none(),
          ("A point (x, y) strictly inside the ring, as far from its boundary as found, or None "
           "for a ring without area.\n\n" +
           args)
              .c_str());
    m.def("point_relation", &pointRelation, "points"_a, "ring"_a, "bulges"_a = py::none(),
          "islands"_a = py::none(),
          "Relation of every point of an (m, 2) array to a ring: an (m,) int32 array of "
          "Relation codes, BOUNDARY (1), INSIDE (2) or OUTSIDE (4); ERROR (-1) for an empty "
          "ring. ring and bulges as for area(). With islands (a list of rings, each an (n, 2) "
          "array or a (vertices, bulges) pair) the ring is a region: a point inside an island "
          "is outside, one on an island's boundary counts inside.");
    m.def("point_relation_set", &pointRelationSet, "points"_a, "rings"_a, "bulges"_a = py::none(),
          "islands"_a = py::none(),
          "Relation of every point to a set of regions (rings, an optional parallel list of "
          "bulge arrays, an optional parallel list of island lists): an (m,) int32 array of "
          "Relation codes; with several regions only INSIDE (2, in some region) or OUTSIDE (4).");
    m.def("ring_relation", &ringRelation, "a"_a, "b"_a, "a_bulges"_a = py::none(),
          "b_bulges"_a = py::none(),
          "Where ring a lies with respect to ring b, as a Relation: bits over a's edges, 1 on "
          "b's boundary, 2 inside b, 4 outside b; 0 when they coincide, 9 when a contains b. "
          "Rings with arcs are compared as broken lines of 0.1 degree steps.");
    m.def("containment_map", &containmentMap, "rings"_a, "bulges"_a = py::none(),
          "Which rings lie directly inside which: a dict from the index of a ring to the list "
          "of indices of the rings directly inside it (rings sharing boundary with the one "
          "round them count as inside). rings: a list of (n, 2) arrays; bulges: None or a "
          "parallel list of bulge arrays (or None each).");
    m.def("flatten", &flatten, "vertices"_a, "bulges"_a = py::none(), "closed"_a = true,
          "max_angle"_a = 5.0, "keep_area"_a = false,
          ("Arcs cut into chords: an (m, 2) array of vertices. Each arc becomes trunc(sweep / "
           "max_angle) + 1 chords (max_angle in degrees), with the new vertices on the arc or, "
           "with keep_area=True, pushed out so the chords keep the arc's area. A closed ring "
           "bends its closing side by the last bulge; like every ring here it does not repeat "
           "its first vertex.\n\n" +
           args)
              .c_str());
    m.def("recover_arcs", &recoverArcs, "vertices"_a, "bulges"_a = py::none(), "closed"_a = true,
          "tol"_a = 0.001,
          "Runs of equal chords that follow one circle (within tol metres) turned back into "
          "single arcs: a (vertices, bulges) pair; the input unchanged when no run is found or "
          "there are fewer than 4 vertices. A closed ring is given and answered without its "
          "first vertex repeated.");
}

} // namespace tavropy
