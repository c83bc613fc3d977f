// polylineArcInter on two polylines of 1,000 pieces each, half of them arcs: every piece of one
// is tried against every piece of the other, so the figure of interest is the time per piece
// pair (the "per_pair" counter). Two layouts: wandering polylines that cross now and then, and
// zigzags in which every pair crosses.

#include "TavroGeometric142.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

constexpr int kPieces = 1000;

// A deterministic generator, the same on every platform.
class Lcg {
public:
    double next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(m_state >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t m_state = 7;
};

// Odd pieces are arcs with bulges between 0.1 and 0.8 of alternating sign.
double bulgeOf(int i, Lcg& rng) {
    if (i % 2 == 0) return 0.0;
    return (i % 4 == 1 ? 1.0 : -1.0) * (0.1 + 0.7 * rng.next());
}

// A walk of steps up to 40 units that turns back at the edges of a 1000-unit square.
void wander(Lcg& rng, AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges) {
    AcGePoint2d at(1000.0 * rng.next(), 1000.0 * rng.next());
    for (int i = 0; i <= kPieces; ++i) {
        nodes.append(at);
        bulges.append(i < kPieces ? bulgeOf(i, rng) : 0.0);
        const double dx = 80.0 * (rng.next() - 0.5), dy = 80.0 * (rng.next() - 0.5);
        at.x += (at.x + dx < 0.0 || at.x + dx > 1000.0) ? -dx : dx;
        at.y += (at.y + dy < 0.0 || at.y + dy > 1000.0) ? -dy : dy;
    }
}

// Steep zigzags across the square (across when vertical), so that every piece of one meets
// every piece of the other.
void zigzag(Lcg& rng, bool vertical, AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges) {
    for (int i = 0; i <= kPieces; ++i) {
        const double along = 5.0 + i * 0.99, across = i % 2 == 0 ? 0.0 : 1010.0;
        nodes.append(vertical ? AcGePoint2d(across, along) : AcGePoint2d(along, across));
        bulges.append(i < kPieces ? 0.1 * bulgeOf(i, rng) : 0.0);
    }
}

void run(benchmark::State& state, AcArray<AcGePoint2d>& a, AcArray<double>& ba,
         AcArray<AcGePoint2d>& b, AcArray<double>& bb) {
    AcArray<AcGePoint2d> pts;
    AcArray<double> params;
    int hits = 0;
    for (auto _ : state) {
        hits = CTavroGeoArc::polylineArcInter(a, ba, b, bb, pts, params);
        benchmark::DoNotOptimize(hits);
    }
    const double pairs = static_cast<double>(kPieces) * kPieces;
    state.counters["hits"] = hits;
    state.counters["per_pair"] = benchmark::Counter(
        pairs, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_PolylineArcInterWandering(benchmark::State& state) {
    Lcg rng;
    AcArray<AcGePoint2d> a, b;
    AcArray<double> ba, bb;
    wander(rng, a, ba);
    wander(rng, b, bb);
    run(state, a, ba, b, bb);
}

void BM_PolylineArcInterEveryPairCrosses(benchmark::State& state) {
    Lcg rng;
    AcArray<AcGePoint2d> a, b;
    AcArray<double> ba, bb;
    zigzag(rng, false, a, ba);
    zigzag(rng, true, b, bb);
    run(state, a, ba, b, bb);
}

} // namespace

BENCHMARK(BM_PolylineArcInterWandering)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolylineArcInterEveryPairCrosses)->Unit(benchmark::kMillisecond);
