// Bulge arcs: centre, radius, angles, lengths, areas, points at parameters, membership, broken
// lines, and the two-point-and-radius, centre and three-point forms.

#include "TavroGeometric142.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
const double kPi = 3.14159265358979323846;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kGauss = 1e7; // plane coordinates of a Gauss zone are of this size

using P = AcGePoint2d;
using Arc = CTavroGeoArc;

::testing::AssertionResult near(const AcGePoint2d& got, double x, double y, double tol = 1e-12) {
    if (std::fabs(got.x - x) <= tol && std::fabs(got.y - y) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.x << ", " << got.y << "), want (" << x
                                         << ", " << y << ") within " << tol;
}

bool finite(const AcGePoint2d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

struct Chord {
    P start;
    P end;
    double bulge;
};

// Arcs in every direction and size, small ones and ones at plane coordinates included.
const Chord kArcs[] = {
    {P(1, 0), P(-1, 0), 1.0},
    {P(0, 0), P(2, 0), 0.5},
    {P(3, -1), P(-2, 4), -0.3},
    {P(0, 0), P(0.1, 0.15), 0.7},
    {P(0, 0), P(0.05, -0.02), -2.0},
    {P(5, 5), P(5, 9), 3.0},
    {P(kGauss + 12, kGauss - 7), P(kGauss - 30, kGauss + 41), 0.2},
    {P(kGauss, kGauss), P(kGauss + 0.12, kGauss + 0.03), -0.6},
};
} // namespace

TEST(GeoArcChord, CentreRadiusAngleAndLength) {
    EXPECT_TRUE(near(Arc::geoArcCenter(P(1, 0), P(-1, 0), 1.0), 0, 0));
    EXPECT_DOUBLE_EQ(Arc::geoArcRadius(P(1, 0), P(-1, 0), 1.0), 1.0);
    EXPECT_DOUBLE_EQ(Arc::geoArcLength(P(1, 0), P(-1, 0), 1.0), kPi);
    // k = (2 - 0.5)/2 = 0.75: centre above the chord, radius 1/sin(2 atan 0.5) = 1.25.
    EXPECT_TRUE(near(Arc::geoArcCenter(P(0, 0), P(2, 0), 0.5), 1, 0.75));
    EXPECT_DOUBLE_EQ(Arc::geoArcRadius(P(0, 0), P(2, 0), 0.5), 1.25);
    EXPECT_DOUBLE_EQ(Arc::geoArcRadian(-1.0), kPi);
    EXPECT_DOUBLE_EQ(Arc::geoArcRadian(0.5), 4 * std::atan(0.5));
    // A quarter circle of radius 2.
    EXPECT_DOUBLE_EQ(Arc::geoArcLength(P(2, 0), P(0, 2), std::tan(kPi / 8)), kPi);
    EXPECT_DOUBLE_EQ(Arc::geoArcLength(P(2, 0), P(0, 2), -std::tan(kPi / 8)), kPi);
    P c(9, 9);
    double r = -1;
    Arc::GetArcCoreRadius(P(0, 0), P(2, 0), -0.5, c, r);
    EXPECT_TRUE(near(c, 1, -0.75));
    EXPECT_DOUBLE_EQ(r, 1.25);
}

TEST(GeoArcChord, RadiusAndLengthTolerances) {
    EXPECT_EQ(Arc::geoArcRadius(P(0, 0), P(2, 0), 5e-7), 0.0);
    EXPECT_EQ(Arc::geoArcRadius(P(0, 0), P(2, 0), -5e-7), 0.0);
    // Bulge 2e-6: theta/2 = 4e-6 rad, radius 1/sin(4e-6).
    EXPECT_NEAR(Arc::geoArcRadius(P(0, 0), P(2, 0), 2e-6), 1 / std::sin(4e-6), 1e-3);
    EXPECT_EQ(Arc::geoArcRadius(P(0, 0), P(0.9e-6, 0), 1.0), 0.0);
    EXPECT_NEAR(Arc::geoArcRadius(P(0, 0), P(1.1e-6, 0), 1.0), 0.55e-6, 1e-18);
    // A bulge below 1e-6 is a straight segment: its length is the chord, not 0.
    EXPECT_EQ(Arc::geoArcLength(P(0, 0), P(3, 4), 5e-7), 5.0);
    EXPECT_EQ(Arc::geoArcLength(P(0, 0), P(3, 4), 0.0), 5.0);
    EXPECT_NEAR(Arc::geoArcLength(P(0, 0), P(3, 4), 2e-6), 5.0, 1e-9);
}

TEST(GeoArcChord, IdentitiesOverManyArcs) {
    for (const Chord& a : kArcs) {
        const P c = Arc::geoArcCenter(a.start, a.end, a.bulge);
        const double r = Arc::geoArcRadius(a.start, a.end, a.bulge);
        const double tol = 1e-8 * std::max(1.0, r);
        EXPECT_NEAR(c.distanceTo(a.start), r, tol) << a.bulge;
        EXPECT_NEAR(c.distanceTo(a.end), r, tol) << a.bulge;
        EXPECT_TRUE(near(Arc::geoArcEndPoint(c, a.start, a.bulge), a.end.x, a.end.y, tol));
        EXPECT_TRUE(
            near(Arc::geoArcPointAtParam(0.0, a.start, a.end, a.bulge), a.start.x, a.start.y, tol));
        EXPECT_TRUE(
            near(Arc::geoArcPointAtParam(1.0, a.start, a.end, a.bulge), a.end.x, a.end.y, tol));
        P out;
        ASSERT_TRUE(Arc::GetPointAtParam(a.start, a.end, a.bulge, 1.0, out));
        EXPECT_TRUE(near(out, a.end.x, a.end.y, tol));
        // Length is radius times the included angle; the centre form agrees.
        const double length = Arc::geoArcLength(a.start, a.end, a.bulge);
        EXPECT_NEAR(length, r * 4 * std::atan(std::fabs(a.bulge)), tol);
        EXPECT_NEAR(Arc::geoArcLength(c, a.start, a.end, a.bulge < 0), length, tol);
        EXPECT_NEAR(Arc::geoArcLength(c, a.start, a.end, r, a.bulge < 0), length, tol);
        // The centre form gives the bulge back, whatever the chord's size.
        EXPECT_NEAR(Arc::geoArcBulge(a.start, c, a.end, a.bulge < 0), a.bulge,
                    1e-7 * std::max(1.0, std::fabs(a.bulge)))
            << a.bulge;
        // The middle of the arc is on it, a point of the opposite arc is not.
        const P middle = Arc::geoArcPointAtParam(0.5, a.start, a.end, a.bulge);
        EXPECT_TRUE(Arc::geoArcPtInArc(middle, a.start, a.end, a.bulge));
        EXPECT_NEAR(Arc::GetParamAtArc(middle, c, a.start, a.end, a.bulge < 0), 0.5, 1e-7);
        const P opposite(2 * c.x - middle.x, 2 * c.y - middle.y); // middle of the rest
        EXPECT_FALSE(Arc::geoArcPtInArc(opposite, a.start, a.end, a.bulge)) << a.bulge;
    }
}

TEST(GeoArcChord, SectorAndSegmentAreas) {
    EXPECT_DOUBLE_EQ(Arc::geoArcArea(P(1, 0), P(-1, 0), 1.0, true), kPi / 2);
    EXPECT_DOUBLE_EQ(Arc::geoArcArea(P(1, 0), P(-1, 0), 1.0, false), kPi / 2);
    // Quarter of the unit circle: sector pi/4, segment pi/4 minus the triangle 1/2.
    const double quarter = std::tan(kPi / 8);
    EXPECT_DOUBLE_EQ(Arc::geoArcArea(P(1, 0), P(0, 1), quarter, true), kPi / 4);
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, 1), quarter, false), kPi / 4 - 0.5, 1e-15);
    // Three quarters: the centre lies inside the segment, so the triangle is added.
    const double threeQuarter = std::tan(3 * kPi / 8);
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, -1), threeQuarter, true), 3 * kPi / 4, 1e-14);
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, -1), threeQuarter, false), 3 * kPi / 4 + 0.5, 1e-14);
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, -1), -threeQuarter, false), 3 * kPi / 4 + 0.5, 1e-14);
    // An arc and the rest of its circle, run back, make the whole disc.
    for (const Chord& a : kArcs) {
        const double r = Arc::geoArcRadius(a.start, a.end, a.bulge);
        const double disc = kPi * r * r;
        const double rest = 1.0 / a.bulge;
        EXPECT_NEAR(Arc::geoArcArea(a.start, a.end, a.bulge, false) +
                        Arc::geoArcArea(a.end, a.start, rest, false),
                    disc, 1e-9 * disc)
            << a.bulge;
        EXPECT_NEAR(Arc::geoArcArea(a.start, a.end, a.bulge, true) +
                        Arc::geoArcArea(a.end, a.start, rest, true),
                    disc, 1e-9 * disc);
    }
    // A flat arc (bulge below 1e-6) encloses nothing.
    EXPECT_EQ(Arc::geoArcArea(P(0, 0), P(100, 0), 5e-7, false), 0.0);
    EXPECT_EQ(Arc::geoArcArea(P(0, 0), P(100, 0), 5e-7, true), 0.0);
    // Centre form: quarter counterclockwise, three quarters clockwise.
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, 0), P(0, 1), false, false), kPi / 4 - 0.5, 1e-15);
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, 0), P(0, 1), true, false), 3 * kPi / 4 + 0.5, 1e-14);
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, 0), P(0, 1), true, true), 3 * kPi / 4, 1e-14);
}

TEST(GeoArcChord, EndPointAndAngularParameter) {
    EXPECT_TRUE(near(Arc::geoArcEndPoint(P(0, 0), P(1, 0), 1.0), -1, 0, 1e-15));
    EXPECT_TRUE(near(Arc::geoArcEndPoint(P(0, 0), P(1, 0), -1.0), -1, 0, 1e-15));
    EXPECT_TRUE(near(Arc::geoArcEndPoint(P(0, 0), P(1, 0), std::tan(kPi / 8)), 0, 1, 1e-15));
    EXPECT_TRUE(near(Arc::geoArcEndPoint(P(0, 0), P(1, 0), -std::tan(kPi / 8)), 0, -1, 1e-15));
    EXPECT_TRUE(near(Arc::geoArcPointAtParam(0.5, P(1, 0), P(-1, 0), 1.0), 0, 1, 1e-15));
    EXPECT_TRUE(near(Arc::geoArcPointAtParam(0.5, P(1, 0), P(-1, 0), -1.0), 0, -1, 1e-15));
    EXPECT_FALSE(finite(Arc::geoArcPointAtParam(0.5, P(1, 0), P(-1, 0), 0.0)));
    P out;
    ASSERT_TRUE(Arc::GetPointAtParam(P(1, 0), P(-1, 0), 1.0, 0.5, out));
    EXPECT_TRUE(near(out, 0, 1, 1e-15));
    EXPECT_FALSE(Arc::GetPointAtParam(P(1, 0), P(-1, 0), 1.0, -1.1e-7, out));
}

TEST(GeoArcCentreForm, ParameterAlongAnArc) {
    // Quarter arc about the origin from (1,0) to (0,1).
    const P o(0, 0), s(1, 0), e(0, 1);
    EXPECT_EQ(Arc::GetParamAtArc(s, o, s, e, false), 0.0);
    EXPECT_EQ(Arc::GetParamAtArc(e, o, s, e, false), 1.0);
    EXPECT_DOUBLE_EQ(Arc::GetParamAtArc(P(1, 1), o, s, e, false), 0.5);
    // In the gap: 10 degrees before the start is -1/9; 100 degrees past it is 10/9.
    const double d10 = 10 * kPi / 180;
    EXPECT_NEAR(Arc::GetParamAtArc(P(std::cos(d10), -std::sin(d10)), o, s, e, false), -1.0 / 9,
                1e-15);
    EXPECT_NEAR(Arc::GetParamAtArc(P(-std::sin(d10), std::cos(d10)), o, s, e, false), 10.0 / 9,
                1e-15);
    // Clockwise the same ends span three quarters; (0,-1) lies a third of the way.
    EXPECT_EQ(Arc::GetParamAtArc(s, o, s, e, true), 0.0);
    EXPECT_EQ(Arc::GetParamAtArc(e, o, s, e, true), 1.0);
    EXPECT_DOUBLE_EQ(Arc::GetParamAtArc(P(0, -1), o, s, e, true), 1.0 / 3);
}

TEST(GeoArcCentreForm, SweptAngleAndLength) {
    EXPECT_DOUBLE_EQ(Arc::geoArcRadian(P(1, 0), P(0, 0), P(0, 1), false), kPi / 2);
    EXPECT_DOUBLE_EQ(Arc::geoArcRadian(P(1, 0), P(0, 0), P(0, 1), true), 3 * kPi / 2);
    EXPECT_EQ(Arc::geoArcRadian(P(1, 0), P(0, 0), P(1, 0), true), 0.0);
    EXPECT_DOUBLE_EQ(Arc::geoArcLength(P(0, 0), P(1, 0), P(0, 1), false), kPi / 2);
    EXPECT_DOUBLE_EQ(Arc::geoArcLength(P(0, 0), P(1, 0), P(0, 1), true), 3 * kPi / 2);
    EXPECT_DOUBLE_EQ(Arc::geoArcLength(P(0, 0), P(1, 0), P(0, 1), 2.0, false), kPi);
    EXPECT_DOUBLE_EQ(Arc::geoArcLength(P(0, 0), P(1, 0), P(0, 1), 2.0, true), 3 * kPi);
    // Arcs of radius 0.1 (chord components below 0.2) are measured too.
    EXPECT_NEAR(Arc::geoArcLength(P(0, 0), P(0.1, 0), P(0, 0.1), false), 0.05 * kPi, 1e-15);
    EXPECT_NEAR(Arc::geoArcLength(P(0, 0), P(0.1, 0), P(0, 0.1), true), 0.15 * kPi, 1e-15);
    EXPECT_NEAR(Arc::geoArcLength(P(kGauss, kGauss), P(kGauss + 0.1, kGauss),
                                  P(kGauss, kGauss + 0.1), false),
                0.05 * kPi, 1e-9);
    // A zero chord has bulge 0 and length 0.
    EXPECT_EQ(Arc::geoArcLength(P(0, 0), P(1, 0), P(1, 0), false), 0.0);
}

TEST(GeoArcCentreForm, BulgeFromCentre) {
    EXPECT_DOUBLE_EQ(Arc::geoArcBulge(P(1, 0), P(0, 0), P(0, 1), false), std::tan(kPi / 8));
    EXPECT_DOUBLE_EQ(Arc::geoArcBulge(P(1, 0), P(0, 0), P(0, 1), true), -std::tan(3 * kPi / 8));
    EXPECT_DOUBLE_EQ(Arc::geoArcBulge(P(1, 0), P(0, 0), P(-1, 0), false), 1.0);
    EXPECT_DOUBLE_EQ(Arc::geoArcBulge(P(1, 0), P(0, 0), P(-1, 0), true), -1.0);
    EXPECT_EQ(Arc::geoArcBulge(P(1, 0), P(0, 0), P(1, 0), false), 0.0);
    // Chord (0.1, 0.15): both components within 0.2, and still the true bulge.
    const P c = Arc::geoArcCenter(P(0, 0), P(0.1, 0.15), 0.4);
    EXPECT_NEAR(Arc::geoArcBulge(P(0, 0), c, P(0.1, 0.15), false), 0.4, 1e-14);
    // Either side of the 0.2 switch gives the same bulge.
    for (double dy : {0.19, 0.2, 0.21}) {
        const P e(0.5, dy);
        const P center = Arc::geoArcCenter(P(0, 0), e, -0.7);
        EXPECT_NEAR(Arc::geoArcBulge(P(0, 0), center, e, true), -0.7, 1e-14) << dy;
    }
    // A tiny arc keeps its bulge: no cancellation in sqrt(k^2 + 1) - k.
    const P tiny = Arc::geoArcCenter(P(0, 0), P(1, 0), 1e-9);
    EXPECT_NEAR(Arc::geoArcBulge(P(0, 0), tiny, P(1, 0), false), 1e-9, 1e-15);
}

TEST(GeoArcRadiusForm, CentreAndBulgeFromRadius) {
    // Chord (0,0)-(2,0), radius 1.25: centre 0.75 left (counterclockwise) or right of it.
    EXPECT_TRUE(near(Arc::geoArcCenter(P(0, 0), P(2, 0), 1.25, false), 1, 0.75, 1e-15));
    EXPECT_TRUE(near(Arc::geoArcCenter(P(0, 0), P(2, 0), 1.25, true), 1, -0.75, 1e-15));
    EXPECT_NEAR(Arc::geoArcBulge(P(0, 0), P(2, 0), 1.25, false), 0.5, 1e-15);
    EXPECT_NEAR(Arc::geoArcBulge(P(0, 0), P(2, 0), 1.25, true), -0.5, 1e-15);
    // Half circle: radius equals half the chord.
    EXPECT_TRUE(near(Arc::geoArcCenter(P(0, 0), P(2, 0), 1.0, true), 1, 0, 1e-15));
    // At plane coordinates the centre stays exact; chord (30,-40), radius 25 + 1e-9.
    const P s(kGauss + 5, kGauss + 7), e(kGauss + 35, kGauss - 33);
    const P c = Arc::geoArcCenter(s, e, 125.0, false);
    EXPECT_NEAR(c.distanceTo(s), 125.0, 1e-8);
    EXPECT_NEAR(c.distanceTo(e), 125.0, 1e-8);
    EXPECT_FALSE(CTavroGeoPoint::geoIsDeasil(s, e, c));
    EXPECT_NEAR(Arc::geoArcRadius(s, e, Arc::geoArcBulge(s, e, 125.0, true)), 125.0, 1e-7);
    // Equal x and a radius below half the chord have no usable centre.
    EXPECT_FALSE(finite(Arc::geoArcCenter(P(1, 0), P(1, 5), 10.0, false)));
    EXPECT_FALSE(finite(Arc::geoArcCenter(P(0, 0), P(2, 0), 0.9, false)));
}

TEST(GeoArcMembership, PointsOnAndOffTheArc) {
    EXPECT_TRUE(Arc::geoArcPtInArc(P(0, 1), P(1, 0), P(-1, 0), 1.0));
    EXPECT_FALSE(Arc::geoArcPtInArc(P(0, -1), P(1, 0), P(-1, 0), 1.0));
    EXPECT_TRUE(Arc::geoArcPtInArc(P(0, -1), P(1, 0), P(-1, 0), -1.0));
    EXPECT_FALSE(Arc::geoArcPtInArc(P(0, 1), P(1, 0), P(-1, 0), -1.0));
    EXPECT_TRUE(Arc::geoArcPtInArc(P(1, 0), P(1, 0), P(-1, 0), 1.0));
    EXPECT_TRUE(Arc::geoArcPtInArc(P(-1, 0), P(1, 0), P(-1, 0), 1.0));
    // A quarter arc of radius 0.1 tells its own points from the rest of its circle.
    const double q = std::tan(kPi / 8);
    const double h = 0.1 / std::sqrt(2.0);
    EXPECT_TRUE(Arc::geoArcPtInArc(P(h, h), P(0.1, 0), P(0, 0.1), q));
    EXPECT_FALSE(Arc::geoArcPtInArc(P(-h, -h), P(0.1, 0), P(0, 0.1), q));
    EXPECT_FALSE(Arc::geoArcPtInArc(P(-0.1, 0), P(0.1, 0), P(0, 0.1), q));
    // A zero bulge has no finite centre; off the chord the answer is no.
    EXPECT_FALSE(Arc::geoArcPtInArc(P(0.5, 3), P(0, 0), P(1, 0), 0.0));
}

TEST(GeoArcBrokenLine, StepsAlongTheArc) {
    // Half circle, one point per degree: start plus 179 points, the end left out.
    const AcArray<P> upper = Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), 1.0, 1);
    ASSERT_EQ(upper.length(), 180);
    EXPECT_TRUE(near(upper[0], 1, 0));
    for (int i : {1, 45, 90, 179}) {
        const double a = i * kPi / 180;
        EXPECT_TRUE(near(upper[i], std::cos(a), std::sin(a), 1e-14)) << i;
    }
    // Clockwise arcs step the other way, as many points.
    const AcArray<P> lower = Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), -1.0, 1);
    ASSERT_EQ(lower.length(), 180);
    for (int i : {1, 90, 179}) {
        const double a = i * kPi / 180;
        EXPECT_TRUE(near(lower[i], std::cos(a), -std::sin(a), 1e-14)) << i;
    }
    // Whole numbers of steps keep their last point although pi * 180 / pi * 9 rounds below.
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), 1.0, 9).length(), 1620);
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), -1.0, 2).length(), 360);
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(0, 1), std::tan(kPi / 8), 1).length(), 90);
    // Every point lies on the arc's circle.
    const Chord a = kArcs[6];
    const P c = Arc::geoArcCenter(a.start, a.end, a.bulge);
    for (const P& p : Arc::geoArcBrokenLine(a.start, a.end, a.bulge, 3))
        EXPECT_NEAR(p.distanceTo(c), c.distanceTo(a.start), 1e-6);
}

TEST(GeoArcBrokenLine, DegenerateRequests) {
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), 1.0, -1).length(), 0);
    const AcArray<P> none = Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), 1.0, 0);
    ASSERT_EQ(none.length(), 1);
    EXPECT_TRUE(near(none[0], 1, 0));
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), 0.0, 5).length(), 1);
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), kNaN, 5).length(), 1);
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), 1e-4, 1).length(), 1);
    EXPECT_EQ(Arc::geoArcBrokenLine(P(kNaN, 0), P(-1, 0), 1.0, 1).length(), 180);
}

TEST(GeoArcThreePoints, CircleThroughThreePoints) {
    P c(9, 9);
    double r = -1;
    ASSERT_TRUE(Arc::Circle3Pt(P(0, 0), P(1, 1), P(2, 0), c, r));
    EXPECT_TRUE(near(c, 1, 0));
    EXPECT_DOUBLE_EQ(r, 1.0);
    c = P(9, 9);
    r = -1;
    EXPECT_FALSE(Arc::Circle3Pt(P(0, 0), P(1, 1), P(2, 2), c, r));
    EXPECT_FALSE(Arc::Circle3Pt(P(0, 0), P(0, 0), P(2, 2), c, r));
    EXPECT_TRUE(near(c, 9, 9));
    EXPECT_EQ(r, -1.0);

    // p3 (and below p2) share p1's y: the centre still exists.
    EXPECT_TRUE(near(Arc::geoArcCenterAny3Point(P(0, 0), P(1, 1), P(2, 0)), 1, 0));
    EXPECT_DOUBLE_EQ(Arc::geoArcRadiusAny3Point(P(0, 0), P(1, 1), P(2, 0)), 1.0);
    EXPECT_TRUE(near(Arc::geoArcCenterAny3Point(P(0, 0), P(2, 0), P(1, 1)), 1, 0));
    // A circle of radius 100 about (1e7 + 50, 1e7 + 30), sampled at 10, 100 and 200 degrees.
    const P o(kGauss + 50, kGauss + 30);
    const P p1 = CTavroGeoPoint::geoPolar(o, 10 * kPi / 180, 100);
    const P p2 = CTavroGeoPoint::geoPolar(o, 100 * kPi / 180, 100);
    const P p3 = CTavroGeoPoint::geoPolar(o, 200 * kPi / 180, 100);
    EXPECT_TRUE(near(Arc::geoArcCenterAny3Point(p1, p2, p3), o.x, o.y, 1e-6));
    EXPECT_NEAR(Arc::geoArcRadiusAny3Point(p1, p2, p3), 100.0, 1e-6);
    // Collinear points have no centre.
    EXPECT_FALSE(finite(Arc::geoArcCenterAny3Point(P(0, 0), P(1, 1), P(2, 2))));
    EXPECT_TRUE(std::isnan(Arc::geoArcRadiusAny3Point(P(0, 0), P(1, 1), P(2, 2))));
}

TEST(GeoArcThreePoints, MeasuresOfTheArcThroughTheMiddlePoint) {
    // (1,0) -> (0,1) -> (-1,0): the upper half circle, counterclockwise.
    EXPECT_DOUBLE_EQ(Arc::geoArcRadianAny3Point(P(1, 0), P(0, 1), P(-1, 0)), kPi);
    EXPECT_DOUBLE_EQ(Arc::geoArcLengthAny3Point(P(1, 0), P(0, 1), P(-1, 0)), kPi);
    EXPECT_DOUBLE_EQ(Arc::geoArcAreaAny3Point(P(1, 0), P(0, 1), P(-1, 0)), kPi / 2);
    EXPECT_DOUBLE_EQ(Arc::geoArcBulgeAny3Point(P(1, 0), P(0, 1), P(-1, 0)), 1.0);
    // (1,0) -> (-1,0) -> (0,1): three quarters, clockwise through the bottom.
    EXPECT_DOUBLE_EQ(Arc::geoArcRadianAny3Point(P(1, 0), P(-1, 0), P(0, 1)), 3 * kPi / 2);
    EXPECT_DOUBLE_EQ(Arc::geoArcLengthAny3Point(P(1, 0), P(-1, 0), P(0, 1)), 3 * kPi / 2);
    EXPECT_NEAR(Arc::geoArcAreaAny3Point(P(1, 0), P(-1, 0), P(0, 1)), 3 * kPi / 4, 1e-14);
    EXPECT_DOUBLE_EQ(Arc::geoArcBulgeAny3Point(P(1, 0), P(-1, 0), P(0, 1)), -std::tan(3 * kPi / 8));
    // (1,0) -> (cos 45, sin 45) -> (0,1): the minor quarter.
    const double h = std::sqrt(0.5);
    EXPECT_DOUBLE_EQ(Arc::geoArcRadianAny3Point(P(1, 0), P(h, h), P(0, 1)), kPi / 2);
    EXPECT_DOUBLE_EQ(Arc::geoArcLengthAny3Point(P(1, 0), P(h, h), P(0, 1)), kPi / 2);
    // Small and far: radius 0.1 at plane coordinates, the quarter through 45 degrees.
    const P s(kGauss + 0.1, kGauss), m(kGauss + 0.1 * h, kGauss + 0.1 * h), e(kGauss, kGauss + 0.1);
    EXPECT_NEAR(Arc::geoArcLengthAny3Point(s, m, e), 0.05 * kPi, 1e-8);
    EXPECT_NEAR(Arc::geoArcBulgeAny3Point(s, m, e), std::tan(kPi / 8), 1e-7);
    // The broken line through three points is the chord form's.
    const AcArray<P> three = Arc::geoArcBrokenLineAny3Point(P(1, 0), P(-1, 0), P(0, 1), 1);
    const AcArray<P> chord = Arc::geoArcBrokenLine(P(1, 0), P(0, 1), -std::tan(3 * kPi / 8), 1);
    ASSERT_EQ(three.length(), chord.length());
    ASSERT_EQ(three.length(), 270);
    for (int i = 0; i < three.length(); ++i)
        EXPECT_TRUE(near(three[i], chord[i].x, chord[i].y, 1e-12));
    // Collinear points: bulge 0, lengths and angles non-finite, a lone start point.
    EXPECT_EQ(Arc::geoArcBulgeAny3Point(P(0, 0), P(1, 1), P(2, 2)), 0.0);
    EXPECT_TRUE(std::isnan(Arc::geoArcRadianAny3Point(P(0, 0), P(1, 1), P(2, 2))));
    EXPECT_FALSE(std::isfinite(Arc::geoArcLengthAny3Point(P(0, 0), P(1, 1), P(2, 2))));
    EXPECT_FALSE(std::isfinite(Arc::geoArcAreaAny3Point(P(0, 0), P(1, 1), P(2, 2))));
    EXPECT_EQ(Arc::geoArcBrokenLineAny3Point(P(0, 0), P(1, 1), P(2, 2), 4).length(), 1);
}

TEST(GeoArcClass, ValueSemanticsAndDegenerateInput) {
    Arc a;
    Arc b(a);
    a = b;
    Arc* heap = new Arc();
    delete heap;
    const P bad(kNaN, std::numeric_limits<double>::infinity());
    for (double bulge : {0.0, kNaN, 1e300, -1e-300}) {
        Arc::geoArcRadius(bad, P(0, 0), bulge);
        Arc::geoArcCenter(P(0, 0), P(0, 0), bulge);
        Arc::geoArcLength(bad, P(1, 1), bulge);
        Arc::geoArcArea(P(0, 0), P(1, 1), bulge, false);
        Arc::geoArcEndPoint(bad, P(1, 1), bulge);
        Arc::geoArcPointAtParam(0.5, P(0, 0), P(1, 1), bulge);
        Arc::geoArcPtInArc(bad, P(0, 0), P(1, 1), bulge);
        Arc::geoArcBrokenLine(P(0, 0), P(1, 1), bulge, 100);
        P out;
        Arc::GetPointAtParam(P(0, 0), P(0, 0), bulge, 0.5, out);
    }
    Arc::GetParamAtArc(P(1, 0), P(0, 0), P(1, 0), P(1, 0), false);
    Arc::geoArcCenter(bad, P(0, 0), 1.0, true);
    Arc::geoArcBulge(P(0, 0), bad, P(1, 1), false);
    Arc::geoArcBulge(P(0, 0), P(1, 1), kNaN, true);
    Arc::geoArcRadian(bad, P(0, 0), P(1, 1), true);
    Arc::geoArcArea(P(0, 0), P(0, 0), P(0, 0), true, false);
    Arc::geoArcCenterAny3Point(bad, bad, bad);
    Arc::geoArcBrokenLineAny3Point(bad, P(0, 0), P(1, 1), 3);
    P pt = bad;
    Arc::scale(pt, P(0, 0), 2.0);
    SUCCEED();
}
