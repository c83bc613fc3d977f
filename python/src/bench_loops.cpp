// The same work as the vectorised calls, as a C++ program would write it: a loop over the
// library calls on arrays it already holds. Each answers the CPU seconds of its loop alone, so
// the benchmark can set the module's cost against it in the same run.

#include "arrays.h"
#include "bindings.h"

#include "CTavroGeoLine.h"
#include "TavroGeoCoorTrans.h"

#include <ctime>
#include <vector>

namespace tavropy {

namespace {

double cpuSeconds(std::clock_t start) {
    return double(std::clock() - start) / CLOCKS_PER_SEC;
}

double gaussInverseLoop(py::handle northingObj, py::handle eastingObj, double meridian,
                        int system) {
    const DoubleArray north = finiteArray(northingObj, "northing");
    const DoubleArray east = finiteArray(eastingObj, "easting");
    std::vector<AcGePoint2d> plane;
    for (py::ssize_t i = 0; i < north.size(); ++i)
        plane.emplace_back(north.data()[i], east.data()[i]);
    std::vector<double> lon(plane.size()), lat(plane.size());
    py::gil_scoped_release unlocked;
    const std::clock_t start = std::clock();
    const CTavroGeoCoorTrans trans;
    AcGePoint2d geodetic;
    for (size_t i = 0; i < plane.size(); ++i) {
        trans.gaussUncompute(geodetic, plane[i], meridian, Tavro::TavroCoorSystem(system));
        lon[i] = geodetic.x;
        lat[i] = geodetic.y;
    }
    return cpuSeconds(start);
}

double pointRelationLoop(py::handle pointObj, py::handle ringObj, py::handle bulgeObj) {
    const AcArray<AcGePoint2d> points = vertices(pointObj, "points");
    const Tavro::NodeBulge ring = tavropy::ring(ringObj, bulgeObj, "ring", "bulges");
    std::vector<int> codes(size_t(points.length()));
    py::gil_scoped_release unlocked;
    const std::clock_t start = std::clock();
    for (int i = 0; i < points.length(); ++i)
        codes[size_t(i)] =
            CTavroGeoLine::geoPointWithPolygonRelation(points[i], ring.nodes, ring.bulges);
    return cpuSeconds(start);
}

} // namespace

void bindBenchLoops(py::module_& m) {
    m.def("_gauss_inverse_loop", &gaussInverseLoop,
          "CPU seconds of a C++ loop of the inverse projection over the points (benchmark).");
    m.def("_point_relation_loop", &pointRelationLoop,
          "CPU seconds of a C++ loop of point relations against the ring (benchmark).");
}

} // namespace tavropy
