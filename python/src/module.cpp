// The extension module tavro._core: the library's geometry, topology and geodesy for Python,
// with NumPy arrays in and out. The package tavro re-exports it and adds the Shapely interop.

#include "bindings.h"

#include "TavroTypes.h"

namespace py = pybind11;

namespace {

py::object intEnum(const char* name, std::initializer_list<std::pair<const char*, int>> members) {
    py::list pairs;
    for (const auto& [key, value] : members)
        pairs.append(py::make_tuple(key, value));
    return py::module_::import("enum").attr("IntEnum")(name, pairs, py::arg("module") = "tavro");
}

py::object record(const char* name, const char* fields) {
    return py::module_::import("collections")
        .attr("namedtuple")(name, fields, py::arg("module") = "tavro");
}

void addTypes(py::module_& m) {
    m.attr("Relation") = intEnum("Relation", {{"ERROR", Tavro::kRelationError},
                                              {"COINCIDE", Tavro::kRelationCoincide},
                                              {"BOUNDARY", Tavro::kRelationBoundary},
                                              {"INSIDE", Tavro::kRelationInside},
                                              {"INSIDE_TOUCH", Tavro::kRelationInsideTouch},
                                              {"OUTSIDE", Tavro::kRelationOutside},
                                              {"OUTSIDE_TOUCH", Tavro::kRelationOutsideTouch},
                                              {"CROSS", Tavro::kRelationCross},
                                              {"ALL", Tavro::kRelationAll},
                                              {"TANGENT", Tavro::kRelationTangent},
                                              {"CONTAINS", Tavro::kRelationContains}});
    m.attr("CoordinateSystem") =
        intEnum("CoordinateSystem", {{"WGS84", Tavro::kCoorWGS84},
                                     {"XIAN80", Tavro::kCoorXian80},
                                     {"CGCS2000", Tavro::kCoorCGCS2000},
                                     {"BEIJING54", Tavro::kCoorBeijing54}});
    m.attr("Orientation") =
        intEnum("Orientation", {{"COUNTERCLOCKWISE", -1}, {"NONE", 0}, {"CLOCKWISE", 1}});
    m.attr("Loop") = record("Loop", "vertices bulges pieces");
    m.attr("Region") = record("Region", "vertices bulges area pieces");
    m.attr("Piece") = record("Piece", "vertices bulge owners");
    m.attr("Fit4") = record("Fit4", "dx dy rotation scale residuals rms");
    m.attr("Fit7") = record("Fit7", "dx dy dz m ex ey ez residuals rms");
    m.attr("FitHeight") = record("FitHeight", "x0 y0 a residuals rms");
}

} // namespace

PYBIND11_MODULE(_core, m) {
    m.doc() = "The TavroGeometric142 library: plane geometry of bulge polylines and geodesy.";
    addTypes(m);
    tavropy::bindGeometry(m);
    tavropy::bindTopology(m);
    tavropy::bindGeodesy(m);
    tavropy::bindBenchLoops(m);
}
