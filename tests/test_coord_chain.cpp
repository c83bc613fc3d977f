// The transformation models, their chain and its ownership, the process-wide chain and the
// angle conversions.

#include "TestSupport.h"

#include <array>
#include <chrono>
#include <cmath>

namespace {
// Krassovsky, as the chain models take it, with its semi-minor axis.
const double kA = 6378245.0;
const double kRf = 298.3;
const double kB = kA * (1 - 1 / kRf);

using Xyz = std::array<double, 3>;

// One point through a model or a chain; out holds what an untouched output would keep.
template <class Model> Xyz run(Model& m, double x, double y, double z, Xyz out = {}) {
    m.transform(x, y, z, out[0], out[1], out[2]);
    return out;
}
Xyz runProcessChain(double x, double y, double z, Xyz out = {}) {
    pcoreTransform(x, y, z, out[0], out[1], out[2]);
    return out;
}
void expectNear(const Xyz& got, const Xyz& want, double tol) {
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(got[k], want[k], tol) << "coordinate " << k;
}

// A model that counts its deletions and adds 1 to x.
class CountingModel : public CTavroPCoreObject {
public:
    ~CountingModel() override { ++deleted; }
    void transform(double x, double y, double z, double& X, double& Y, double& Z) override {
        X = x + 1.0;
        Y = y;
        Z = z;
    }
    static int deleted;
};
int CountingModel::deleted = 0;

double seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
} // namespace

TEST(CoordModels, PlaneSimilarityAndHeightSurface) {
    CTavroPCorePM4 pm4;
    pm4.setParam(10, 20, 0, 1);
    EXPECT_EQ(run(pm4, 1, 2, 3), (Xyz{11, 22, 3}));
    // A quarter turn with scale 2 takes (1, 0) to (0, 2).
    pm4.setParam(0, 0, kPi / 2, 2);
    expectNear(run(pm4, 1, 0, 5), {0, 2, 5}, 1e-15);

    CTavroPCoreHF2 hf2;
    hf2.setParam(100, 200, 1.5, 0.1, 0.2, 0.01, 0.02, 0.03);
    EXPECT_EQ(run(hf2, 100, 200, 40), (Xyz{100, 200, 41.5})); // at (x0, y0) exactly a0 is added
    // u = 1, v = 2: 1.5 + 0.1 + 0.4 + 0.01 + 0.04 + 0.12.
    EXPECT_NEAR(run(hf2, 101, 202, 0)[2], 2.17, 1e-12);
}

TEST(CoordModels, GeodeticCartesianRoundTrip) {
    CTavroPCoreDDKJ toCartesian;
    CTavroPCoreKJDD toGeodetic;
    toCartesian.setParam(kA, kRf);
    toGeodetic.setParam(kA, kRf);
    // Hand values: on the equator at L = 0 the point is (a + h, 0, 0); the pole is at b.
    const Xyz equator = run(toCartesian, 0, 0, 10);
    EXPECT_DOUBLE_EQ(equator[0], kA + 10);
    EXPECT_EQ(equator[1], 0.0);
    EXPECT_NEAR(run(toCartesian, kPi / 2, 0, 0)[2], kB, 1e-6);

    // Up to the pole, where cos B vanishes, the height comes back within 0.1 mm.
    for (double lat : {0.0, 1e-7, 22.5, 35.0, -33.4, 45.0, 60.0, 80.0, 85.0, 89.99, 89.9999999,
                       -89.9999999, 90.0}) {
        for (double lon : {0.0, 117.0, -75.5, 179.9}) {
            for (double height : {0.0, 100.0, 1234.5, -80.0}) {
                const Xyz c = run(toCartesian, lat * kDeg, lon * kDeg, height);
                const Xyz g = run(toGeodetic, c[0], c[1], c[2]);
                // The latitude is the earlier of the iteration's last two values, within its
                // stopping bound of 1e-10 rad.
                EXPECT_NEAR(g[0], lat * kDeg, 1e-10) << lat;
                EXPECT_NEAR(g[1], lon * kDeg, 1e-14) << lon;
                EXPECT_NEAR(g[2], height, 1e-4) << lat;
            }
        }
    }
}

TEST(CoordModels, CartesianToGeodeticOnTheAxisAndAtTheCentre) {
    CTavroPCoreKJDD toGeodetic;
    toGeodetic.setParam(kA, kRf);
    const auto start = std::chrono::steady_clock::now();
    Xyz g = run(toGeodetic, 0, 0, kB + 100);
    EXPECT_TRUE(g[0] == kPi / 2 && g[1] == 0.0);
    EXPECT_NEAR(g[2], 100.0, 1e-9);
    g = run(toGeodetic, 0, 0, -(kB + 100));
    EXPECT_EQ(g[0], -kPi / 2);
    EXPECT_NEAR(g[2], 100.0, 1e-9);
    // Inside the earth on the axis the height is negative.
    EXPECT_NEAR(run(toGeodetic, 0, 0, 1000)[2], 1000 - kB, 1e-9);
    // The centre has no nearest surface point: not-a-number, at once.
    g = run(toGeodetic, 0, 0, 0);
    EXPECT_TRUE(std::isnan(g[0]) && std::isnan(g[2]));
    // Input that never settles stops at the iteration bound.
    run(toGeodetic, kNaN, 1, 1);
    run(toGeodetic, 1e300, 1e300, 1e300);
    EXPECT_LT(seconds(start), 10.0); // a hang guard, not a speed target
}

TEST(CoordModels, GaussForwardAndInverseRoundTrip) {
    CTavroPCoreDDPM toPlane;
    CTavroPCorePMDD toGeodetic;
    const double meridian = 117 * kDeg;
    toPlane.setParam(kA, kRf, meridian);
    toGeodetic.setParam(kA, kRf, meridian);
    // On the central meridian the easting is exactly the false easting.
    const Xyz onMeridian = run(toPlane, 35 * kDeg, meridian, 7);
    EXPECT_TRUE(onMeridian[0] == 500000.0 && onMeridian[2] == 7.0);
    // Within a 3-degree zone the two series agree to 5e-10 rad (3 mm).
    double worst = 0;
    for (double lat : {0.5, 22.3, 35.0, 45.7, -33.4, 55.2, 70.1}) {
        for (double dl : {-1.5, -0.7, 0.0, 0.4, 1.5}) {
            const Xyz plane = run(toPlane, lat * kDeg, meridian + dl * kDeg, 0);
            const Xyz g = run(toGeodetic, plane[0], plane[1], 0);
            worst = std::max(
                {worst, std::fabs(g[0] - lat * kDeg), std::fabs(g[1] - meridian - dl * kDeg)});
        }
    }
    EXPECT_LT(worst, 5e-10);
    RecordProperty("worstRoundTripRad", QString::number(worst, 'g', 3).toStdString());
    // A zone prefix in front of the easting changes nothing.
    const Xyz bare = run(toGeodetic, 500000.0 + 1234.5, 3874000, 0);
    EXPECT_EQ(run(toGeodetic, 38500000.0 + 1234.5, 3874000, 0), bare);
    EXPECT_EQ(run(toGeodetic, 500000.0, 3874000, 0)[1], meridian);
}

TEST(CoordModels, GaussForwardAgainstExactTransverseMercator) {
    // GeographicLib 2.1: printf '35 118.5\n-33.4 115.5\n70.1 116.25\n' |
    //   TransverseMercatorProj -k 1 -l 117 -e 6378137.0 0.0033528599338647005 -p 4
    struct Row {
        double lat, lon, easting, northing;
    };
    const Row rows[] = {{35.0, 118.5, 136937.6531, 3875620.8648},
                        {-33.4, 115.5, -139550.2023, -3698116.6509},
                        {70.1, 116.25, -28502.0102, 7780312.0593}};
    CTavroPCoreDDPM toPlane;
    toPlane.setParam(6378137.0, 1 / 0.0033528599338647005, 117 * kDeg);
    for (const Row& r : rows) {
        const Xyz plane = run(toPlane, r.lat * kDeg, r.lon * kDeg, 0);
        // The series' order: millimetres.
        expectNear(P(plane[0] - 500000.0, plane[1]), r.easting, r.northing, 2e-3);
    }
}

TEST(CoordChain, RunsModelsInOrder) {
    CTavroPCoreTransform chain;
    EXPECT_EQ(run(chain, 10, 20, 30, {1, 2, 3}), (Xyz{1, 2, 3})); // empty: outputs left alone

    // Plane -> geodetic -> Cartesian -> identity 7-parameter -> geodetic -> plane.
    chain.beginTransform();
    auto* pmdd = new CTavroPCorePMDD;
    pmdd->setParam(kA, kRf, 117 * kDeg);
    auto* ddkj = new CTavroPCoreDDKJ;
    ddkj->setParam(kA, kRf);
    auto* kj7 = new CTavroPCoreKJ7;
    auto* kjdd = new CTavroPCoreKJDD;
    kjdd->setParam(kA, kRf);
    auto* ddpm = new CTavroPCoreDDPM;
    ddpm->setParam(kA, kRf, 117 * kDeg);
    for (CTavroPCoreObject* m :
         std::initializer_list<CTavroPCoreObject*>{pmdd, ddkj, kj7, kjdd, ddpm})
        chain.addPCCoreObject(m);
    EXPECT_EQ(chain.objectCount(), 5);
    // The zone prefix is gone (the class family's zone number is 0); the point comes back.
    const Xyz back = run(chain, 38563210.5, 3874000.25, 52.0);
    expectNear(P(back[0], back[1]), 563210.5, 3874000.25, 5e-3);
    EXPECT_NEAR(back[2], 52.0, 1e-4);

    // A 7-parameter shift of 1 m in Z moves the height by about sin(B) m.
    kj7->setParam(0, 0, 1, 0, 0, 0, 0);
    EXPECT_NEAR(run(chain, 563210.5, 3874000.25, 52.0)[2] - 52.0, std::sin(35.0 * kDeg), 0.01);
    chain.endTransform();
    EXPECT_EQ(chain.objectCount(), 0);
}

TEST(CoordChain, CopiesShareModelsWithoutDoubleDelete) {
    CountingModel::deleted = 0;
    {
        CTavroPCoreTransform a;
        a.beginTransform();
        a.addPCCoreObject(new CountingModel);
        a.addPCCoreObject(new CountingModel);
        a.addPCCoreObject(nullptr); // ignored
        EXPECT_EQ(a.objectCount(), 2);
        CTavroPCoreTransform b(a);
        CTavroPCoreTransform c;
        c = a;
        // Both copies end their run; the models die once, when the last holder lets go.
        a.endTransform();
        EXPECT_EQ(CountingModel::deleted, 0);
        EXPECT_EQ(run(b, 0, 0, 0)[0], 2.0);
        b.endTransform();
        b.endTransform(); // a second end finds an empty chain
        EXPECT_EQ(CountingModel::deleted, 0);
        c.endTransform();
        EXPECT_EQ(CountingModel::deleted, 2);
    }
    EXPECT_EQ(CountingModel::deleted, 2);

    CountingModel::deleted = 0;
    {
        // The same model twice in one chain runs twice and is deleted once; so is a model
        // handed to a second, unrelated chain.
        auto* model = new CountingModel;
        CTavroPCoreTransform one, two;
        one.addPCCoreObject(model);
        one.addPCCoreObject(model);
        two.addPCCoreObject(model);
        EXPECT_EQ(run(one, 0, 0, 0)[0], 2.0);
        one.beginTransform();
        EXPECT_EQ(CountingModel::deleted, 0);
        EXPECT_EQ(run(two, 5, 0, 0)[0], 6.0);
    }
    // A chain destroyed without endTransform leaves no model behind.
    EXPECT_EQ(CountingModel::deleted, 1);

    CountingModel::deleted = 0;
    {
        CTavroPCoreTransform a, b;
        a.addPCCoreObject(new CountingModel);
        b.addPCCoreObject(new CountingModel);
        b = a; // b's own model has no other holder
        EXPECT_EQ(CountingModel::deleted, 1);
    }
    EXPECT_EQ(CountingModel::deleted, 2);
}

TEST(CoordProcessChain, FreeFunctionsZonesAndEllipsoidNumbers) {
    // CGCS 2000 (number 3), 3-degree zone 39: meridian 117.
    pcoreBegin();
    pcoreAddPMDD(3, 3, 39);
    pcoreAddDDPM(3, 3, 39);
    pcoreSetZone(39);
    // A prefixed input keeps the prefix that the forward projection writes; back and forth
    // through the two series costs a fraction of a millimetre.
    Xyz out = runProcessChain(39563210.5, 3874000.25, 10);
    expectNear(P(out[0], out[1]), 39563210.5, 3874000.25, 1e-3);
    EXPECT_EQ(out[2], 10.0);
    // An input without prefix (below 1e7) gets it removed again.
    EXPECT_NEAR(runProcessChain(563210.5, 3874000.25, 10)[0], 563210.5, 1e-3);

    // The same models built by numbers, by a and 1/f, and by meridian agree with the classes.
    pcoreBegin();
    pcoreAddPMDD(6378137.0, 298.257222101, 117 * kDeg);
    pcoreAddDDKJ(4);
    CTavroPCorePMDD pmdd;
    pmdd.setParam(6378137.0, 298.257222101, 117 * kDeg);
    CTavroPCoreDDKJ ddkj;
    ddkj.setParam(6378137.0, 298.257223563);
    Xyz g = run(pmdd, 563210.5, 3874000.25, 10);
    EXPECT_EQ(runProcessChain(563210.5, 3874000.25, 10), run(ddkj, g[0], g[1], g[2]));

    // Number 1 is Krassovsky and 6-degree zone 20 has meridian 117 as well; the model before
    // KJDD in the chain is PMDD, so KJDD reads a geodetic triple as Cartesian.
    pcoreBegin();
    pcoreAddPMDD(1, 6, 20);
    pcoreAddKJDD(6378245.0, 298.3);
    pcoreAddDDKJ(1);
    CTavroPCorePMDD krassovsky;
    krassovsky.setParam(kA, kRf, 117 * kDeg);
    CTavroPCoreDDKJ cartesian;
    cartesian.setParam(kA, kRf);
    CTavroPCoreKJDD geodetic;
    geodetic.setParam(kA, kRf);
    g = run(krassovsky, 563210.5, 3874000.25, 10);
    g = run(geodetic, g[0], g[1], g[2]);
    EXPECT_EQ(runProcessChain(563210.5, 3874000.25, 10), run(cartesian, g[0], g[1], g[2]));

    // Unknown numbers and zone widths append nothing; an empty chain leaves the outputs.
    pcoreBegin();
    pcoreAddDDKJ(0);
    pcoreAddKJDD(5);
    pcoreAddPMDD(7, 0.5);
    pcoreAddDDPM(2, 4, 20);
    pcoreAddDDPM(6378137.0, 298.257, 5, 20);
    EXPECT_EQ(runProcessChain(100, 200, 300, {1.5, 2.5, 3.5}), (Xyz{1.5, 2.5, 3.5}));
    // Once a zone is set, even an empty chain takes its millions off X for a bare input.
    pcoreSetZone(2);
    EXPECT_EQ(runProcessChain(100, 200, 300, {1.5, 2.5, 3.5})[0], 1.5 - 2000000.0);
    pcoreEnd();
    // pcoreEnd put the zone back to 0.
    EXPECT_EQ(runProcessChain(100, 200, 300, {1.5, 2.5, 3.5})[0], 1.5);

    // The remaining models of the family.
    pcoreAddPM4(10, 20, 0, 1);
    pcoreAddHF2(11, 22, 0.5, 0, 0, 0, 0, 0);
    pcoreAddKJ7(1, 2, 3, 0, 0, 0, 0);
    EXPECT_EQ(runProcessChain(1, 2, 3), (Xyz{12.0, 24.0, 6.5}));
    pcoreEnd();
}

TEST(CoordAngles, ConversionsAndPackedDegrees) {
    EXPECT_EQ(pcoreRadToDeg(kPi), 180.0);
    EXPECT_EQ(pcoreDegToRad(180.0), kPi);
    EXPECT_EQ(pcoreSecToDeg(5400.0), 1.5);
    EXPECT_EQ(pcoreDegToSec(1.5), 5400.0);
    EXPECT_DOUBLE_EQ(pcoreRadToSec(kPi / 180), 3600.0);
    EXPECT_DOUBLE_EQ(pcoreSecToRad(3600.0), kPi / 180);

    EXPECT_EQ(pcoreDmsToDeg(0.0), 0.0);
    EXPECT_EQ(pcoreDegToDms(0.0), 0.0);
    // 112 deg 15 min 30 s.
    EXPECT_NEAR(pcoreDmsToDeg(112.1530), 112.0 + 15 / 60.0 + 30 / 3600.0, 1e-12);
    EXPECT_NEAR(pcoreDmsToDeg(-112.1530), -(112.0 + 15 / 60.0 + 30 / 3600.0), 1e-12);
    // 120.3 is stored as 120.29999...: read digit by digit it would be 29 min 99.99 s (40 s
    // too many); the lost carry is restored.
    EXPECT_NEAR(pcoreDmsToDeg(120.3), 120.5, 1e-12);
    EXPECT_NEAR(pcoreDmsToDeg(-0.3), -0.5, 1e-12);
    EXPECT_NEAR(pcoreDmsToRad(30.0), 30 * kDeg, 1e-15);
    EXPECT_NEAR(pcoreDmsToSec(0.0001), 1.0, 1e-9);

    EXPECT_NEAR(pcoreDegToDms(120.5), 120.30, 1e-12);
    EXPECT_NEAR(pcoreDegToDms(-33.4), -33.24, 1e-12);
    // 30.2 deg comes out of the arithmetic as 11 min 59.99999999998 s: carried to 12 min.
    EXPECT_NEAR(pcoreDegToDms(30.2), 30.12, 1e-12);
    EXPECT_NEAR(pcoreDegToDms(112.0 + 15 / 60.0 + 30.5 / 3600.0), 112.15305, 1e-11);
    EXPECT_NEAR(pcoreRadToDms(kPi / 4), 45.0, 1e-12);
    EXPECT_NEAR(pcoreSecToDms(3661.0), 1.0101, 1e-12);

    // Round trips through the packed form.
    for (double deg : {0.001, 1.0 / 3.0, 30.2, 45.75, 89.999, 117.123456, 179.5, -65.4321})
        EXPECT_NEAR(pcoreDmsToDeg(pcoreDegToDms(deg)), deg, 1e-11) << deg;
    for (double packed : {0.0001, 10.0959, 30.12, 45.4530, 120.3, 359.5959})
        EXPECT_NEAR(pcoreDegToDms(pcoreDmsToDeg(packed)), packed, 1e-11) << packed;
    EXPECT_TRUE(std::isnan(pcoreDmsToDeg(kNaN)));
}
