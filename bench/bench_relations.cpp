// Cost of the relation engine against GEOS on the same input: the containment map of jittered
// parcels at Gauss-plane size (10 % with an arc side, 16 % holding a nested parcel), the point
// relation against one ring of 10,000 vertices with arcs, and a ring of many vertices related to
// itself. With GEOS installed, the containment pairs are also found with an STRtree and
// prepared covers (arcs as 5 degree chords), and the two maps must agree.

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#ifdef TAVRO_BENCH_WITH_GEOS
#include <geos_c.h>
#endif

#include <QMap>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using namespace bench;

struct Parcels {
    QVector<Pts> rings;
    QVector<Doubles> bulges;
};

// About `count` rings: a grid of 20 m parcels with jittered shared corners, one in ten with an
// arc on its east side, one in six holding a smaller parcel.
Parcels makeParcels(int count) {
    Parcels p;
    const int side = static_cast<int>(std::ceil(std::sqrt(count / 1.16)));
    const double e0 = 500000.0, n0 = 3500000.0, cell = 20.0;
    Random rng{12345};
    std::vector<AcGePoint2d> corners;
    for (int row = 0; row <= side; ++row)
        for (int col = 0; col <= side; ++col)
            corners.emplace_back(e0 + col * cell + 4.0 * (rng.next() - 0.5),
                                 n0 + row * cell + 4.0 * (rng.next() - 0.5));
    auto corner = [&](int row, int col) {
        return corners[static_cast<size_t>(row * (side + 1) + col)];
    };
    for (int row = 0; row < side && p.rings.size() < count; ++row) {
        for (int col = 0; col < side && p.rings.size() < count; ++col) {
            p.rings.append(Pts{corner(row, col), corner(row, col + 1), corner(row + 1, col + 1),
                               corner(row + 1, col)});
            p.bulges.append(rng.next() < 0.1 ? Doubles{0, 0.08, 0, 0} : Doubles{0, 0, 0, 0});
            if (rng.next() < 0.16 && p.rings.size() < count) {
                const AcGePoint2d c(e0 + (col + 0.5) * cell, n0 + (row + 0.5) * cell);
                const double r = 3.0 + 2.0 * rng.next();
                p.rings.append(Pts{{c.x - r, c.y - r},
                                   {c.x + r, c.y - r},
                                   {c.x + r, c.y + r},
                                   {c.x - r, c.y + r}});
                p.bulges.append(Doubles());
            }
        }
    }
    return p;
}

#ifdef TAVRO_BENCH_WITH_GEOS
// The ring as a GEOS polygon, each arc as chords of at most 5 degrees.
GEOSGeometry* geosRing(GEOSContextHandle_t h, const Pts& ring, const Doubles& bulges) {
    const std::vector<AcGePoint2d> pts = flattened(ring, bulges, true);
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, static_cast<unsigned>(pts.size()), 2);
    for (size_t i = 0; i < pts.size(); ++i)
        GEOSCoordSeq_setXY_r(h, seq, static_cast<unsigned>(i), pts[i].x, pts[i].y);
    return GEOSGeom_createPolygon_r(h, GEOSGeom_createLinearRing_r(h, seq), nullptr, 0);
}

struct GeosQuery {
    GEOSContextHandle_t h;
    std::vector<GEOSGeometry*>* polys;
    int outer;
    QList<int>* inside;
};

// Containment pairs with an STRtree over the envelopes and prepared covers, then the same
// reduction to direct children as the library's map.
QMap<int, QList<int>> geosMap(const Parcels& p) {
    GEOSContextHandle_t h = GEOS_init_r();
    std::vector<GEOSGeometry*> polys;
    for (int i = 0; i < p.rings.size(); ++i)
        polys.push_back(geosRing(h, p.rings[i], p.bulges[i]));
    GEOSSTRtree* tree = GEOSSTRtree_create_r(h, 10);
    for (size_t i = 0; i < polys.size(); ++i)
        GEOSSTRtree_insert_r(h, tree, polys[i], reinterpret_cast<void*>(i));
    QMap<int, QList<int>> inside;
    for (int i = 0; i < static_cast<int>(polys.size()); ++i) {
        const GEOSPreparedGeometry* prepared = GEOSPrepare_r(h, polys[static_cast<size_t>(i)]);
        QList<int>& list = inside[i];
        std::vector<int> found;
        GEOSSTRtree_query_r(
            h, tree, polys[static_cast<size_t>(i)],
            [](void* item, void* data) {
                static_cast<std::vector<int>*>(data)->push_back(
                    static_cast<int>(reinterpret_cast<std::uintptr_t>(item)));
            },
            &found);
        std::sort(found.begin(), found.end());
        for (int j : found)
            if (j != i && GEOSPreparedCovers_r(h, prepared, polys[static_cast<size_t>(j)]) == 1)
                list.append(j);
        GEOSPreparedGeom_destroy_r(h, prepared);
    }
    for (auto it = inside.begin(); it != inside.end(); ++it) {
        const QList<int> direct = it.value();
        for (int j : direct)
            for (int deeper : inside.value(j))
                it.value().removeAll(deeper);
    }
    GEOSSTRtree_destroy_r(h, tree);
    for (GEOSGeometry* g : polys)
        GEOSGeom_destroy_r(h, g);
    GEOS_finish_r(h);
    return inside;
}

void BM_GeosContainment(benchmark::State& state) {
    const Parcels p = makeParcels(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(geosMap(p));
    state.counters["rings"] = p.rings.size();
}
BENCHMARK(BM_GeosContainment)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
#endif

void BM_PolyInPolyMap(benchmark::State& state) {
    const Parcels p = makeParcels(static_cast<int>(state.range(0)));
    QMap<int, QList<int>> map;
    for (auto _ : state)
        benchmark::DoNotOptimize(map = CTavroGeoLine::geoPolyInPolyMap(p.rings, p.bulges));
    int pairs = 0;
    for (const QList<int>& list : map)
        pairs += list.size();
    state.counters["rings"] = p.rings.size();
    state.counters["pairs"] = pairs;
#ifdef TAVRO_BENCH_WITH_GEOS
    if (geosMap(p) != map) state.SkipWithError("the containment map differs from GEOS's");
#endif
}
BENCHMARK(BM_PolyInPolyMap)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

// A ring of 10,000 vertices round a circle of 1 km, every other segment a slight arc.
void BM_PointRelationRing10000(benchmark::State& state) {
    const int n = 10000;
    Pts ring;
    Doubles bulges;
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * kPi * i / n;
        ring.append(AcGePoint2d(500000.0 + 1000.0 * std::cos(a), 3500000.0 + 1000.0 * std::sin(a)));
        bulges.append(i % 2 ? 0.01 : 0.0);
    }
    ring.append(ring.first());
    bulges.append(0.0);
    const AcGePoint2d inside(500123.4, 3500321.0);
    for (auto _ : state)
        benchmark::DoNotOptimize(CTavroGeoLine::geoPointWithPolygonRelation(inside, ring, bulges));
    state.SetLabel("per point");
}
BENCHMARK(BM_PointRelationRing10000)->Unit(benchmark::kMicrosecond);

// A jittered ring of n vertices related to itself (what tavro relate does with one file twice).
void BM_RingWithItself(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Random rng{7};
    Pts ring;
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * kPi * i / n, r = 1000.0 + 5.0 * rng.next();
        ring.append(AcGePoint2d(500000.0 + r * std::cos(a), 3500000.0 + r * std::sin(a)));
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(
            CTavroGeoLine::geoPolyWithPolyRelation(ring, ring, AcGeContext::gTol.equalPoint()));
    state.SetComplexityN(n);
}
BENCHMARK(BM_RingWithItself)
    ->Arg(5000)
    ->Arg(25000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
