// Border extraction against GEOS on the same parcel maps: a jittered grid of 20 m cells near
// (38500000, 3300000), a fraction of the shared sides drawn as arcs (the neighbour drawing the
// same arc reversed). This library works on the map with its arcs; GEOS, when installed, on
// the same map with the arcs flattened to 5 degree chords (GEOSUnaryUnion to node the lines,
// then GEOSPolygonize). Both must find one region per cell, and the regions found here must
// cover the map's exact area.

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#ifdef TAVRO_BENCH_WITH_GEOS
#include <geos_c.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using namespace bench;

struct Map {
    QVector<Pts> cells;
    QVector<Doubles> bulges;
    double area = 0.0; // exact, arcs included
};

struct Random {
    std::uint64_t state;
    double next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    }
};

// side x side cells; each interior side is an arc with probability arcShare.
Map makeMap(int side, double arcShare) {
    Map map;
    const double e0 = 38500000.0, n0 = 3300000.0, cell = 20.0;
    Random rng{2024};
    std::vector<AcGePoint2d> corners;
    for (int row = 0; row <= side; ++row)
        for (int col = 0; col <= side; ++col)
            corners.emplace_back(e0 + col * cell + 6.0 * (rng.next() - 0.5),
                                 n0 + row * cell + 6.0 * (rng.next() - 0.5));
    auto corner = [&](int row, int col) {
        return corners[static_cast<size_t>(row * (side + 1) + col)];
    };
    // Bulges of the east side of each cell (northwards) and of its north side (westwards).
    std::vector<double> east(static_cast<size_t>(side * side)), north(east.size());
    for (int row = 0; row < side; ++row) {
        for (int col = 0; col < side; ++col) {
            const size_t k = static_cast<size_t>(row * side + col);
            if (col + 1 < side && rng.next() < arcShare) east[k] = 0.1 + 0.1 * rng.next();
            if (row + 1 < side && rng.next() < arcShare) north[k] = -0.1 - 0.1 * rng.next();
        }
    }
    for (int row = 0; row < side; ++row) {
        for (int col = 0; col < side; ++col) {
            const size_t k = static_cast<size_t>(row * side + col);
            const double south = row > 0 ? -north[k - static_cast<size_t>(side)] : 0.0;
            const double west = col > 0 ? -east[k - 1] : 0.0;
            const Pts ring{corner(row, col), corner(row, col + 1), corner(row + 1, col + 1),
                           corner(row + 1, col), corner(row, col)};
            const Doubles b{south, east[k], north[k], west, 0.0};
            map.cells.append(ring);
            map.bulges.append(b);
            map.area += std::fabs(CTavroGeoPoint::geoArea(ring, b));
        }
    }
    return map;
}

void BM_Borders(benchmark::State& state) {
    const Map map = makeMap(static_cast<int>(state.range(0)), 0.1);
    QVector<Pts> regions;
    QVector<Doubles> bulges;
    for (auto _ : state) {
        regions.clear();
        bulges.clear();
        CTavroGeoBoder::geoGetBoders(regions, bulges, map.cells, map.bulges, false, 0.0);
    }
    double area = 0.0;
    for (int k = 0; k < regions.size(); ++k)
        area += std::fabs(CTavroGeoPoint::geoArea(regions[k], bulges[k]));
    state.counters["cells"] = map.cells.size();
    state.counters["regions"] = regions.size();
    if (regions.size() != map.cells.size()) state.SkipWithError("a region per cell expected");
    if (std::fabs(area - map.area) > 1e-6 * map.area) state.SkipWithError("areas differ");
}
BENCHMARK(BM_Borders)->Arg(32)->Arg(100)->Arg(224)->Unit(benchmark::kMillisecond);

#ifdef TAVRO_BENCH_WITH_GEOS
// The ring as a GEOS line string, arcs flattened.
GEOSGeometry* geosLine(GEOSContextHandle_t h, const Pts& ring, const Doubles& bulges) {
    const std::vector<AcGePoint2d> pts = flattened(ring, bulges, false);
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, static_cast<unsigned>(pts.size()), 2);
    for (size_t i = 0; i < pts.size(); ++i)
        GEOSCoordSeq_setXY_r(h, seq, static_cast<unsigned>(i), pts[i].x, pts[i].y);
    return GEOSGeom_createLineString_r(h, seq);
}

void BM_GeosPolygonize(benchmark::State& state) {
    const Map map = makeMap(static_cast<int>(state.range(0)), 0.1);
    GEOSContextHandle_t h = GEOS_init_r();
    int regions = 0;
    for (auto _ : state) {
        std::vector<GEOSGeometry*> lines;
        for (int k = 0; k < map.cells.size(); ++k)
            lines.push_back(geosLine(h, map.cells[k], map.bulges[k]));
        GEOSGeometry* all = GEOSGeom_createCollection_r(h, GEOS_MULTILINESTRING, lines.data(),
                                                        static_cast<unsigned>(lines.size()));
        GEOSGeometry* noded = GEOSUnaryUnion_r(h, all);
        const GEOSGeometry* parts[] = {noded};
        GEOSGeometry* polygons = GEOSPolygonize_r(h, parts, 1);
        regions = GEOSGetNumGeometries_r(h, polygons);
        GEOSGeom_destroy_r(h, polygons);
        GEOSGeom_destroy_r(h, noded);
        GEOSGeom_destroy_r(h, all);
    }
    GEOS_finish_r(h);
    state.counters["cells"] = map.cells.size();
    state.counters["regions"] = regions;
    if (regions != map.cells.size()) state.SkipWithError("a region per cell expected");
}
BENCHMARK(BM_GeosPolygonize)->Arg(32)->Arg(100)->Arg(224)->Unit(benchmark::kMillisecond);
#endif

} // namespace
