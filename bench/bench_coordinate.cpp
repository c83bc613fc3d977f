// Per-point cost of the inverse Gauss-Krueger projection and of the datum chain
// plane -> geodetic -> Cartesian -> 7-parameter -> geodetic -> plane, beside the same
// conversions through PROJ on the same 100,000 points when PROJ is available.

#include "TavroGeometric142.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#ifdef TAVRO_BENCH_WITH_PROJ
#include <proj.h>
#endif

namespace {
constexpr int kPoints = 100000;
constexpr double kDeg = 3.141592653589793 / 180.0;
constexpr double kMeridianDeg = 117.0;

// Source datum Beijing 1954 (Krassovsky), target CGCS 2000.
constexpr double kSourceA = 6378245.0, kSourceRf = 298.3;
constexpr double kTargetA = 6378137.0, kTargetRf = 298.257222101;
// A 7-parameter set of the size met between these datums: metres, scale change, radians.
constexpr double kShift[3] = {-15.4, 120.7, 84.2};
constexpr double kScaleChange = 3.2e-6;
constexpr double kRotation[3] = {1.5e-6, -2.2e-6, 4.1e-6};

struct PlanePoint {
    double easting;
    double northing;
};

// 100,000 points of a Gauss plane near 35 N, within 100 km of the central meridian.
const std::vector<PlanePoint>& points() {
    static const std::vector<PlanePoint> all = [] {
        std::vector<PlanePoint> p;
        p.reserve(kPoints);
        unsigned long long state = 88172645463325252ULL;
        auto uniform = [&state] {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            return static_cast<double>(state >> 11) / 9007199254740992.0;
        };
        for (int i = 0; i < kPoints; ++i)
            p.push_back({400000.0 + 200000.0 * uniform(), 3800000.0 + 150000.0 * uniform()});
        return p;
    }();
    return all;
}

void perPoint(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kPoints);
    state.counters["per_point"] = benchmark::Counter(
        kPoints, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_GaussUncompute(benchmark::State& state) {
    const CTavroGeoCoorTrans trans;
    AcGePoint2d out;
    for (auto _ : state) {
        for (const PlanePoint& p : points()) {
            trans.gaussUncompute(out, AcGePoint2d(p.northing, p.easting), kMeridianDeg,
                                 Tavro::kCoorBeijing54);
            benchmark::DoNotOptimize(out);
        }
    }
    perPoint(state);
}
BENCHMARK(BM_GaussUncompute)->Unit(benchmark::kMillisecond);

// Beijing 1954 plane -> geodetic -> Cartesian -> 7-parameter -> CGCS 2000 geodetic -> plane.
void buildDatumChain(CTavroPCoreTransform& chain) {
    auto* toGeodetic = new CTavroPCorePMDD;
    toGeodetic->setParam(kSourceA, kSourceRf, kMeridianDeg * kDeg);
    auto* toCartesian = new CTavroPCoreDDKJ;
    toCartesian->setParam(kSourceA, kSourceRf);
    auto* seven = new CTavroPCoreKJ7;
    seven->setParam(kShift[0], kShift[1], kShift[2], kScaleChange, kRotation[0], kRotation[1],
                    kRotation[2]);
    auto* backToGeodetic = new CTavroPCoreKJDD;
    backToGeodetic->setParam(kTargetA, kTargetRf);
    auto* toPlane = new CTavroPCoreDDPM;
    toPlane->setParam(kTargetA, kTargetRf, kMeridianDeg * kDeg);
    chain.addPCCoreObject(toGeodetic);
    chain.addPCCoreObject(toCartesian);
    chain.addPCCoreObject(seven);
    chain.addPCCoreObject(backToGeodetic);
    chain.addPCCoreObject(toPlane);
}

void BM_DatumChain(benchmark::State& state) {
    CTavroPCoreTransform chain;
    chain.beginTransform();
    buildDatumChain(chain);
    double X = 0, Y = 0, Z = 0;
    for (auto _ : state) {
        for (const PlanePoint& p : points()) {
            chain.transform(p.easting, p.northing, 0.0, X, Y, Z);
            benchmark::DoNotOptimize(X);
            benchmark::DoNotOptimize(Y);
        }
    }
    chain.endTransform();
    perPoint(state);
}
BENCHMARK(BM_DatumChain)->Unit(benchmark::kMillisecond);

#ifdef TAVRO_BENCH_WITH_PROJ
// One PROJ pipeline, created once per benchmark; its cost is excluded from the timing.
class ProjPipeline {
public:
    explicit ProjPipeline(const char* definition)
        : m_context(proj_context_create()), m_pj(proj_create(m_context, definition)) {}
    ~ProjPipeline() {
        proj_destroy(m_pj);
        proj_context_destroy(m_context);
    }
    ProjPipeline(const ProjPipeline&) = delete;
    ProjPipeline& operator=(const ProjPipeline&) = delete;
    bool ok() const { return m_pj != nullptr; }
    PJ_COORD run(double x, double y) const {
        return proj_trans(m_pj, PJ_FWD, proj_coord(x, y, 0.0, 0.0));
    }

private:
    PJ_CONTEXT* m_context;
    PJ* m_pj;
};

// The Krassovsky inverse transverse Mercator, scale 1 (PROJ's default exact algorithm).
const char* const kProjInverse =
    "+proj=pipeline +step +inv +proj=tmerc +lon_0=117 +k=1 +x_0=500000 +y_0=0 +ellps=krass "
    "+step +proj=unitconvert +xy_in=rad +xy_out=deg";

// The same datum chain. PROJ's coordinate-frame Helmert has this library's rotation signs.
const char* const kProjChain =
    "+proj=pipeline "
    "+step +inv +proj=tmerc +lon_0=117 +k=1 +x_0=500000 +y_0=0 +ellps=krass "
    "+step +proj=cart +ellps=krass "
    "+step +proj=helmert +x=-15.4 +y=120.7 +z=84.2 +s=3.2 +rx=0.309397 +ry=-0.453783 "
    "+rz=0.845686 +convention=coordinate_frame "
    "+step +inv +proj=cart +a=6378137 +rf=298.257222101 "
    "+step +proj=tmerc +lon_0=117 +k=1 +x_0=500000 +y_0=0 +a=6378137 +rf=298.257222101";

void runProj(benchmark::State& state, const char* definition) {
    const ProjPipeline pipeline(definition);
    if (!pipeline.ok()) {
        state.SkipWithError("PROJ could not build the pipeline");
        return;
    }
    for (auto _ : state) {
        for (const PlanePoint& p : points()) {
            PJ_COORD c = pipeline.run(p.easting, p.northing);
            benchmark::DoNotOptimize(c);
        }
    }
    perPoint(state);
}

void BM_ProjInverseTM(benchmark::State& state) {
    runProj(state, kProjInverse);
}
BENCHMARK(BM_ProjInverseTM)->Unit(benchmark::kMillisecond);

void BM_ProjDatumChain(benchmark::State& state) {
    runProj(state, kProjChain);
}
BENCHMARK(BM_ProjDatumChain)->Unit(benchmark::kMillisecond);

// Not a timing: how far this library's answers lie from PROJ's on the same points, in
// degrees for the projection and metres for the chain (reported as counters).
void BM_AgreementWithProj(benchmark::State& state) {
    const ProjPipeline inverse(kProjInverse);
    const ProjPipeline chainProj(kProjChain);
    if (!inverse.ok() || !chainProj.ok()) {
        state.SkipWithError("PROJ could not build the pipelines");
        return;
    }
    CTavroPCoreTransform chain;
    buildDatumChain(chain);
    const CTavroGeoCoorTrans trans;
    double worstDeg = 0, worstMetres = 0;
    for (auto _ : state) {
        for (const PlanePoint& p : points()) {
            AcGePoint2d geodetic;
            trans.gaussUncompute(geodetic, AcGePoint2d(p.northing, p.easting), kMeridianDeg,
                                 Tavro::kCoorBeijing54);
            const PJ_COORD g = inverse.run(p.easting, p.northing);
            worstDeg = std::max(
                {worstDeg, std::fabs(geodetic.x - g.xy.x), std::fabs(geodetic.y - g.xy.y)});
            double X, Y, Z;
            chain.transform(p.easting, p.northing, 0.0, X, Y, Z);
            const PJ_COORD q = chainProj.run(p.easting, p.northing);
            worstMetres = std::max({worstMetres, std::fabs(X - q.xy.x), std::fabs(Y - q.xy.y)});
        }
    }
    chain.endTransform();
    state.counters["gauss_vs_proj_deg"] = worstDeg;
    state.counters["chain_vs_proj_m"] = worstMetres;
}
BENCHMARK(BM_AgreementWithProj)->Iterations(1)->Unit(benchmark::kMillisecond);
#endif
} // namespace
