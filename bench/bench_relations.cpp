// Cost of the relation engine: the containment map of 2,000 parcels (a grid, some with arc
// edges, some holding a smaller parcel) and the point relation against one ring of 10,000
// vertices with arcs.

#include "TavroGeometric142.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using Pts = AcArray<AcGePoint2d>;
using Doubles = AcArray<double>;

// 1,600 grid parcels of 20 m, every seventh with its east side bowed out by an arc, and 400 of
// them holding a parcel half their size: 2,000 rings on a Gauss plane.
void makeParcels(QVector<Pts>& rings, QVector<Doubles>& bulges) {
    const double e0 = 500000.0, n0 = 3500000.0, side = 20.0;
    for (int row = 0; row < 40; ++row) {
        for (int col = 0; col < 40; ++col) {
            const double x = e0 + col * side, y = n0 + row * side;
            const int k = row * 40 + col;
            rings.append(Pts{{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}});
            bulges.append(k % 7 == 0 ? Doubles{0, 0.1, 0, 0} : Doubles{0, 0, 0, 0});
            if (k % 4 == 0) {
                const double q = side / 4;
                rings.append(Pts{{x + q, y + q},
                                 {x + 3 * q, y + q},
                                 {x + 3 * q, y + 3 * q},
                                 {x + q, y + 3 * q}});
                bulges.append(Doubles());
            }
        }
    }
}

void BM_PolyInPolyMap2000(benchmark::State& state) {
    QVector<Pts> rings;
    QVector<Doubles> bulges;
    makeParcels(rings, bulges);
    for (auto _ : state)
        benchmark::DoNotOptimize(CTavroGeoLine::geoPolyInPolyMap(rings, bulges));
    state.counters["rings"] = rings.size();
}
BENCHMARK(BM_PolyInPolyMap2000)->Unit(benchmark::kMillisecond);

// A ring of 10,000 vertices round a circle of 1 km, every other segment a slight arc.
void BM_PointRelationRing10000(benchmark::State& state) {
    const int n = 10000;
    Pts ring;
    Doubles bulges;
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * 3.141592653589793 * i / n;
        ring.append(AcGePoint2d(500000.0 + 1000.0 * std::cos(a), 3500000.0 + 1000.0 * std::sin(a)));
        bulges.append(i % 2 ? 0.01 : 0.0);
    }
    ring.append(ring.first());
    bulges.append(0.0);
    const AcGePoint2d inside(500123.4, 3500321.0);
    for (auto _ : state)
        benchmark::DoNotOptimize(CTavroGeoLine::geoPointWithPolygonRelation(inside, ring, bulges));
}
BENCHMARK(BM_PointRelationRing10000)->Unit(benchmark::kMillisecond);

} // namespace
