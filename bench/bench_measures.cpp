// Cost of the ring measures behind `tavro measure`: the minimum-area rectangle of a parcel of
// 200,000 vertices, and the label point of a ring of 100,000 repeated vertices and of a jittered
// parcel of 100,000 vertices. With GEOS installed the rectangle is also taken by
// GEOSMinimumRotatedRectangle on the same ring in the same run; the counters give both areas.

#include "TavroGeometric142.h"

#include <benchmark/benchmark.h>

#ifdef TAVRO_BENCH_WITH_GEOS
#include <geos_c.h>
#endif

#include <cmath>
#include <random>

namespace {

using Pts = AcArray<AcGePoint2d>;

// A closed parcel of n vertices round (500000, 3500000) on a Gauss plane: an ellipse of
// 300 m by 120 m turned by 0.4 rad, every vertex moved in and out by up to 2 m.
Pts jitteredParcel(int n) {
    // The same jitter on every run and machine: the standard 64-bit Mersenne twister, its top
    // 53 bits as a fraction.
    std::mt19937_64 rng(20261206);
    auto unit = [&rng] { return static_cast<double>(rng() >> 11) / 9007199254740992.0; };
    Pts ring;
    const double c = std::cos(0.4), s = std::sin(0.4);
    for (int i = 0; i < n; ++i) {
        const double t = 2.0 * Tavro::kPi * i / n;
        const double x = (300.0 + 2.0 * (unit() - 0.5)) * std::cos(t);
        const double y = (120.0 + 2.0 * (unit() - 0.5)) * std::sin(t);
        ring.append(AcGePoint2d(500000.0 + c * x - s * y, 3500000.0 + s * x + c * y));
    }
    ring.append(ring.first());
    return ring;
}

void BM_MinAreaRect200000(benchmark::State& state) {
    const Pts ring = jitteredParcel(200000);
    Pts rect;
    for (auto _ : state) {
        rect = CTavroGeoPoint::geoMinAreaRect(ring);
        benchmark::DoNotOptimize(rect);
    }
    state.counters["area"] = rect.length() == 4 ? CTavroGeoPoint::geoArea(rect) : 0.0;
}
BENCHMARK(BM_MinAreaRect200000)->Unit(benchmark::kMillisecond);

#ifdef TAVRO_BENCH_WITH_GEOS
// The same ring through GEOS: building the polygon is part of the work a caller would do.
void BM_GeosMinimumRotatedRectangle200000(benchmark::State& state) {
    const Pts ring = jitteredParcel(200000);
    GEOSContextHandle_t geos = GEOS_init_r();
    double area = 0.0;
    for (auto _ : state) {
        GEOSCoordSequence* seq =
            GEOSCoordSeq_create_r(geos, static_cast<unsigned int>(ring.length()), 2);
        for (int i = 0; i < ring.length(); ++i)
            GEOSCoordSeq_setXY_r(geos, seq, static_cast<unsigned int>(i), ring[i].x, ring[i].y);
        GEOSGeometry* shell = GEOSGeom_createLinearRing_r(geos, seq);
        GEOSGeometry* polygon = GEOSGeom_createPolygon_r(geos, shell, nullptr, 0);
        GEOSGeometry* rect = GEOSMinimumRotatedRectangle_r(geos, polygon);
        GEOSArea_r(geos, rect, &area);
        GEOSGeom_destroy_r(geos, rect);
        GEOSGeom_destroy_r(geos, polygon);
    }
    GEOS_finish_r(geos);
    state.counters["area"] = area;
}
BENCHMARK(BM_GeosMinimumRotatedRectangle200000)->Unit(benchmark::kMillisecond);
#endif

void BM_LabelPointRepeated100000(benchmark::State& state) {
    Pts ring;
    for (int i = 0; i < 100000; ++i)
        ring.append(AcGePoint2d(500000.25, 3500000.5));
    for (auto _ : state)
        benchmark::DoNotOptimize(CTavroGeoGlobal::GetPlineMiddlePoint(ring));
}
BENCHMARK(BM_LabelPointRepeated100000)->Unit(benchmark::kMillisecond);

void BM_LabelPointJittered100000(benchmark::State& state) {
    const Pts ring = jitteredParcel(100000);
    for (auto _ : state)
        benchmark::DoNotOptimize(CTavroGeoGlobal::GetPlineMiddlePoint(ring));
}
BENCHMARK(BM_LabelPointJittered100000)->Unit(benchmark::kMillisecond);

} // namespace
