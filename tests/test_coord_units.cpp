// The ellipsoid table and its three keys, the Gauss-Krueger unit's zone rules and footpoint
// methods, and the fit reports of the transformation models.

#include "TestSupport.h"

#include <cmath>
#include <vector>

namespace {
using GK = CTavroGaussKrueger;

// The legacy numbers as the pcore functions have always known them (a, 1/f).
struct Legacy {
    int number;
    double a, rf;
    Tavro::TavroCoorSystem system;
    const char* name;
};
const Legacy kLegacy[] = {{1, 6378245.0, 298.3, Tavro::kCoorBeijing54, "beijing54"},
                          {2, 6378140.0, 298.257, Tavro::kCoorXian80, "xian80"},
                          {3, 6378137.0, 298.257222101, Tavro::kCoorCGCS2000, "cgcs2000"},
                          {4, 6378137.0, 298.257223563, Tavro::kCoorWGS84, "wgs84"}};
} // namespace

TEST(CoordEllipsoidTable, OneRowPerSystemFoundByEveryKey) {
    for (const Legacy& l : kLegacy) {
        SCOPED_TRACE(l.name);
        const TavroEllipsoidConstants* bySystem = CTavroEllipsoid::constantsOf(l.system);
        ASSERT_NE(bySystem, nullptr);
        EXPECT_EQ(CTavroEllipsoid::constantsOfNumber(l.number), bySystem);
        EXPECT_EQ(CTavroEllipsoid::constantsOfName(QString(l.name).toUpper()), bySystem);
        EXPECT_EQ((Doubles{bySystem->semiMajor, bySystem->inverseFlattening}),
                  (Doubles{l.a, l.rf}));
        // The chain's numbered models take these rows; test_coord_chain runs them.
    }
    EXPECT_EQ(CTavroEllipsoid::constantsOf(Tavro::kCoorUnknown), nullptr);
    EXPECT_EQ(CTavroEllipsoid::constantsOf(Tavro::kCoorUserGRS80), nullptr);
    for (int number : {0, 5, -1})
        EXPECT_EQ(CTavroEllipsoid::constantsOfNumber(number), nullptr);
    for (const char* name : {"", "grs80", "wgs 84", "wgs84 "})
        EXPECT_EQ(CTavroEllipsoid::constantsOfName(name), nullptr) << name;
}

TEST(CoordGaussKrueger, ZonePrefixRulesAndZoneBounds) {
    struct Case {
        double easting, positiveRule, towardZero;
    };
    const Case cases[] = {
        {500000.0, 0.0, 0.0},
        {38500000.0, 0.0, 0.0},
        {38999999.5, 499999.5, 499999.5},
        {999999.5, 499999.5, 499999.5},
        {-300000.0, -800000.0, -800000.0},
        // A negative easting carries no zone for gaussUncompute; the chain models cut -1e6.
        {-1500000.0, -2000000.0, -1000000.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GK::meridianOffset(c.easting, GK::kPrefixOfPositive), c.positiveRule)
            << c.easting;
        EXPECT_EQ(GK::meridianOffset(c.easting, GK::kPrefixTowardZero), c.towardZero) << c.easting;
    }
    EXPECT_EQ(GK::zoneNumber(38500000.0), 38);
    EXPECT_EQ(GK::zoneNumber(999999.0), 0);
    EXPECT_EQ(GK::zoneNumber(kNaN), 0);
    EXPECT_EQ(GK::zoneNumber(1e300), 0);

    // The bounds hold on themselves and fail just beyond.
    EXPECT_TRUE(GK::northingInZone(GK::kMostNorthing) && GK::northingInZone(-GK::kMostNorthing));
    EXPECT_FALSE(GK::northingInZone(std::nextafter(GK::kMostNorthing, kInf)));
    EXPECT_TRUE(GK::eastingInZone(38500000.0 + GK::kMostMeridianOffset));
    EXPECT_TRUE(GK::eastingInZone(0.0));
    EXPECT_FALSE(GK::eastingInZone(-1e-9));
    EXPECT_FALSE(GK::eastingInZone(kInf) || GK::eastingInZone(kNaN) || GK::northingInZone(kNaN));
}

TEST(CoordGaussKrueger, FootpointMethodsAgainstTheIntegratedArc) {
    // Krueger's series inverts the numerically integrated meridian arc to its 1e-5 m tolerance;
    // the chain models' truncated series stays within its stated 4e-11 rad of it.
    for (const Legacy& l : kLegacy) {
        double worstTruncated = 0.0;
        for (double deg = -80.0; deg <= 85.0; deg += 5.0) {
            const double arc = GK::meridianArcIntegral(deg * kDeg, 1e-7, l.a, l.rf);
            const double krueger = GK::footpointLatitude(l.a, l.rf, arc, GK::kFootpointKrueger);
            const double truncated = GK::footpointLatitude(l.a, l.rf, arc, GK::kFootpointTruncated);
            EXPECT_NEAR(krueger, deg * kDeg, 1e-13) << l.name << " " << deg;
            worstTruncated = std::max(worstTruncated, std::fabs(truncated - deg * kDeg));
        }
        EXPECT_LT(worstTruncated, 4e-11) << l.name;
        EXPECT_GT(worstTruncated, 1e-13) << l.name; // a different method, not the same one twice
    }
}

TEST(CoordGaussKrueger, InverseUndoesForwardAndBothPublicRoutesAgree) {
    // Forward then inverse within a 3-degree zone: the two series' truncations, 5e-10 rad.
    const Legacy& k = kLegacy[2];
    for (double lat : {-45.0, 0.0, 22.5, 40.0, 70.0}) {
        for (double dl : {-1.5, -0.2, 0.0, 1.0, 1.5}) {
            double offset = 0.0, northing = 0.0, B = 0.0, L = 0.0;
            GK::forward(k.a, k.rf, lat * kDeg, dl * kDeg, offset, northing);
            const double footpoint =
                GK::footpointLatitude(k.a, k.rf, northing, GK::kFootpointKrueger);
            GK::inverse(k.a, k.rf, footpoint, offset, B, L);
            EXPECT_NEAR(B, lat * kDeg, 5e-10);
            EXPECT_NEAR(L, dl * kDeg, 5e-10);
            // gaussUncompute (degrees, Krueger footpoint) and the chain's PMDD (radians,
            // truncated footpoint) read the same plane point to within the footpoints' 4e-11.
            const double easting = 39000000.0 + GK::kFalseEasting + offset;
            AcGePoint2d degrees;
            CTavroGeoCoorTrans().gaussUncompute(degrees, P(northing, easting), 117.0, k.system);
            CTavroPCorePMDD pmdd;
            pmdd.setParam(k.a, k.rf, 117.0 * kDeg);
            double radians[3];
            pmdd.transform(easting, northing, 0.0, radians[0], radians[1], radians[2]);
            EXPECT_NEAR(degrees.y * kDeg, radians[0], 4e-11);
            EXPECT_NEAR(degrees.x * kDeg, radians[1], 4e-11);
        }
    }
}

TEST(CoordFitReport, ResidualsAndRmsOfEachModel) {
    // Plane: X = 1000 - 2y, Y = -500 + 2x, with D's target moved 3 cm in X. The shifts absorb
    // the mean, so the residuals sum to zero; each misfit is the length of its residual.
    const std::vector<double> pm4 = {0,  0,  1000, -500, 100, 50, 900,    -300,
                                     30, 70, 860,  -440, -20, 10, 980.03, -540};
    TavroFitReport plane;
    ASSERT_TRUE(CTavroTransFit::fitPlaneFour(pm4.data(), int(pm4.size()), plane));
    // The parameters in the estimator's order: shifts, rotation, scale, moved by D's 3 cm.
    ASSERT_EQ(plane.parameters.size(), 4u);
    EXPECT_NEAR(plane.parameters[0], 1000.0, 0.03);
    EXPECT_NEAR(plane.parameters[1], -500.0, 0.03);
    EXPECT_NEAR(plane.parameters[2], kPi / 2, 3e-4);
    EXPECT_NEAR(plane.parameters[3], 2.0, 3e-4);
    ASSERT_EQ(plane.axes, 2);
    ASSERT_EQ(plane.residuals.size(), 8u);
    double sumX = 0.0, sumSquares = 0.0;
    for (int i = 0; i < 4; ++i) {
        const double vx = plane.residuals[2 * i], vy = plane.residuals[2 * i + 1];
        sumX += vx;
        EXPECT_NEAR(plane.misfits[i], std::hypot(vx, vy), 1e-15);
        sumSquares += vx * vx + vy * vy;
    }
    EXPECT_NEAR(sumX, 0.0, 1e-9);
    EXPECT_NEAR(plane.rms, std::sqrt(sumSquares / 4), 1e-15);
    EXPECT_GT(plane.residuals[6], 0.005); // D's residual points the way its target moved
    EXPECT_TRUE(plane.finite());

    // Height: H = h + 1.5 + 0.001 x on seven points: residuals vanish, the one component is its
    // own misfit, and a0 is the surface at the mean x0.
    std::vector<double> hf2;
    for (int i = 0; i < 7; ++i) {
        const double x = 1000.0 * (i % 3) + 7 * i, y = 800.0 * (i / 3) - 5 * i;
        hf2.insert(hf2.end(), {x, y, 40.0 + i, 41.5 + i + 0.001 * x});
    }
    TavroFitReport height;
    ASSERT_TRUE(CTavroTransFit::fitHeightSurface(hf2.data(), int(hf2.size()), height));
    EXPECT_EQ(height.axes, 1);
    EXPECT_EQ(height.residuals, height.misfits);
    EXPECT_LT(height.rms, 1e-9);
    EXPECT_NEAR(height.parameters[3], 0.001, 1e-12);
    EXPECT_NEAR(height.parameters[2], 1.5 + 0.001 * height.parameters[0], 1e-9);

    // Too few points or no data: false, the report as it was.
    TavroFitReport untouched;
    untouched.rms = 7.0;
    EXPECT_FALSE(CTavroTransFit::fitPlaneFour(pm4.data(), 7, untouched));
    EXPECT_FALSE(CTavroTransFit::fitSevenParameter(nullptr, 18, untouched));
    EXPECT_FALSE(CTavroTransFit::fitHeightSurface(hf2.data(), 20, untouched));
    EXPECT_EQ(untouched.rms, 7.0);
}

TEST(CoordFitReport, SevenParameterResidualsSumToZeroOnEachAxis) {
    // Cartesian points near 35 N and a 7-parameter model with 2 cm of noise on one target.
    CTavroPCoreDDKJ toCartesian;
    toCartesian.setParam(6378245.0, 298.3);
    CTavroPCoreKJ7 model;
    model.setParam(-15.4, 120.7, 84.2, 3.2e-6, 1.5e-6, -2.2e-6, 4.1e-6);
    std::vector<double> data;
    const double places[][2] = {{35.0, 117.0}, {35.4, 117.0}, {35.0, 117.6}, {35.5, 117.5}};
    for (const auto& p : places) {
        double s[3], t[3];
        toCartesian.transform(p[0] * kDeg, p[1] * kDeg, 50.0, s[0], s[1], s[2]);
        model.transform(s[0], s[1], s[2], t[0], t[1], t[2]);
        data.insert(data.end(), {s[0], s[1], s[2], t[0], t[1], t[2]});
    }
    data[5] += 0.02;
    TavroFitReport report;
    ASSERT_TRUE(CTavroTransFit::fitSevenParameter(data.data(), int(data.size()), report));
    ASSERT_EQ(report.axes, 3);
    ASSERT_EQ(report.parameters.size(), 7u);
    for (int axis = 0; axis < 3; ++axis) {
        double sum = 0.0;
        for (int i = 0; i < 4; ++i)
            sum += report.residuals[3 * i + axis];
        EXPECT_NEAR(sum, 0.0, 1e-8) << axis; // 2e-15 of the coordinates
    }
    EXPECT_GT(report.rms, 0.001);
    EXPECT_LT(report.rms, 0.02);
}

TEST(CoordUnits, HostileInputsGiveAnswersNotCrashes) {
    // Run under the sanitizers: every routine finishes on numbers that are no coordinates.
    const double bad[] = {kNaN, kInf, -kInf, 0.0, -0.0, 1e300, -1e300};
    for (double v : bad) {
        double x = 0.0, y = 0.0;
        GK::inverse(6378137.0, 298.257222101, v, v, x, y);
        GK::forward(6378137.0, 298.257222101, v, v, x, y);
        GK::inverse(v, v, 0.5, 1000.0, x, y);
        for (GK::Footpoint method : {GK::kFootpointKrueger, GK::kFootpointTruncated}) {
            GK::footpointLatitude(6378137.0, 298.257222101, v, method);
            GK::footpointLatitude(v, v, 1000.0, method);
        }
        GK::latitudeOfArcIntegral(v, 1e-5, 6378137.0, 298.257222101);
        GK::meridianArcIntegral(v, v, 6378137.0, 298.257222101);
        const std::vector<double> data(24, v);
        TavroFitReport report;
        CTavroTransFit::fitPlaneFour(data.data(), 24, report);
        CTavroTransFit::fitSevenParameter(data.data(), 24, report);
        CTavroTransFit::fitHeightSurface(data.data(), 24, report);
        EXPECT_EQ(std::isnan(GK::meridianOffset(v, GK::kPrefixTowardZero)), !std::isfinite(v));
    }
}
