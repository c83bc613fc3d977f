// Faces of an n x n grid of 1 m cells whose sides are given as separate segments (already
// noded: 2n(n + 1) pieces meeting only at their ends), by the loop builder (filling it and
// GetDoubleLoops(0)) and, when GEOS is available, by GEOSPolygonize on the same segments.
// Run with n = 100 and n = 300 to read both the ratio and the growth.

#include "TavroGeometric142.h"

#include <benchmark/benchmark.h>

#include <vector>

#ifdef TAVRO_BENCH_WITH_GEOS
#include <geos_c.h>
#endif

namespace {

struct Segment {
    double x1, y1, x2, y2;
};

// Every cell side once, on a Gauss plane: rows of horizontal sides, then columns of vertical.
std::vector<Segment> gridSegments(int n) {
    const double e0 = 500000.0, n0 = 3500000.0;
    std::vector<Segment> out;
    out.reserve(static_cast<size_t>(2 * n * (n + 1)));
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i < n; ++i)
            out.push_back({e0 + i, n0 + j, e0 + i + 1, n0 + j});
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j < n; ++j)
            out.push_back({e0 + i, n0 + j, e0 + i, n0 + j + 1});
    return out;
}

void fill(CTavroAutoLoop& loop, const std::vector<Segment>& segments) {
    std::uint64_t id = 0;
    for (const Segment& s : segments) {
        AcArray<AcGePoint2d> piece{AcGePoint2d(s.x1, s.y1), AcGePoint2d(s.x2, s.y2)};
        loop.AddEdge(piece, true, ++id);
    }
}

// The whole job, as GEOSPolygonize does it: the graph built from the segments, the faces
// traced, the graph freed.
void BM_DoubleLoopsGrid(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<Segment> segments = gridSegments(n);
    int faces = 0;
    for (auto _ : state) {
        CTavroAutoLoop loop;
        fill(loop, segments);
        loop.GetDoubleLoops(0);
        faces = loop.m_loops.size();
        benchmark::DoNotOptimize(loop.m_loops.data());
    }
    if (faces != n * n) state.SkipWithError("wrong number of faces");
    state.counters["faces"] = faces;
    state.counters["segments"] = static_cast<double>(segments.size());
}
BENCHMARK(BM_DoubleLoopsGrid)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

// GetDoubleLoops(0) alone on a filled builder.
void BM_DoubleLoopsGridDriverOnly(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<Segment> segments = gridSegments(n);
    for (auto _ : state) {
        state.PauseTiming();
        auto* loop = new CTavroAutoLoop;
        fill(*loop, segments);
        state.ResumeTiming();
        loop->GetDoubleLoops(0);
        benchmark::DoNotOptimize(loop->m_loops.data());
        state.PauseTiming();
        delete loop;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DoubleLoopsGridDriverOnly)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

#ifdef TAVRO_BENCH_WITH_GEOS
void geosNotice(const char*, void*) {}

// GEOSPolygonize over the same segments as line strings; building the line strings is input
// preparation and is not timed.
void BM_GeosPolygonizeGrid(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<Segment> segments = gridSegments(n);
    GEOSContextHandle_t geos = GEOS_init_r();
    GEOSContext_setNoticeMessageHandler_r(geos, geosNotice, nullptr);
    GEOSContext_setErrorMessageHandler_r(geos, geosNotice, nullptr);
    std::vector<GEOSGeometry*> lines;
    lines.reserve(segments.size());
    for (const Segment& s : segments) {
        GEOSCoordSequence* seq = GEOSCoordSeq_create_r(geos, 2, 2);
        GEOSCoordSeq_setXY_r(geos, seq, 0, s.x1, s.y1);
        GEOSCoordSeq_setXY_r(geos, seq, 1, s.x2, s.y2);
        lines.push_back(GEOSGeom_createLineString_r(geos, seq));
    }
    int faces = 0;
    for (auto _ : state) {
        GEOSGeometry* result =
            GEOSPolygonize_r(geos, lines.data(), static_cast<unsigned>(lines.size()));
        faces = result ? GEOSGetNumGeometries_r(geos, result) : 0;
        if (result) GEOSGeom_destroy_r(geos, result);
    }
    for (GEOSGeometry* g : lines)
        GEOSGeom_destroy_r(geos, g);
    GEOS_finish_r(geos);
    if (faces != n * n) state.SkipWithError("wrong number of faces");
    state.counters["faces"] = faces;
    state.counters["segments"] = static_cast<double>(segments.size());
}
BENCHMARK(BM_GeosPolygonizeGrid)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);
#endif

} // namespace
