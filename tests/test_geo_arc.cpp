// Bulge arcs: centre, radius, angles, lengths, areas, points at parameters, membership, broken
// lines, and the two-point-and-radius, centre and three-point forms.

#include "TestSupport.h"

namespace {
const double kGauss = 1e7; // plane coordinates of a Gauss zone are of this size
const double kQuarter = std::tan(kPi / 8), kThreeQuarters = std::tan(3 * kPi / 8);
using Arc = CTavroGeoArc;

struct Chord {
    AcGePoint2d start;
    AcGePoint2d end;
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
    expectNear(Arc::geoArcCenter(P(1, 0), P(-1, 0), 1.0), 0, 0);
    EXPECT_DOUBLE_EQ(Arc::geoArcRadius(P(1, 0), P(-1, 0), 1.0), 1.0);
    EXPECT_DOUBLE_EQ(Arc::geoArcLength(P(1, 0), P(-1, 0), 1.0), kPi);
    // k = (2 - 0.5)/2 = 0.75: centre above the chord, radius 1/sin(2 atan 0.5) = 1.25.
    expectNear(Arc::geoArcCenter(P(0, 0), P(2, 0), 0.5), 1, 0.75);
    EXPECT_DOUBLE_EQ(Arc::geoArcRadius(P(0, 0), P(2, 0), 0.5), 1.25);
    EXPECT_DOUBLE_EQ(Arc::geoArcRadian(-1.0), kPi);
    EXPECT_DOUBLE_EQ(Arc::geoArcRadian(0.5), 4 * std::atan(0.5));
    // A quarter circle of radius 2, either way round.
    EXPECT_DOUBLE_EQ(Arc::geoArcLength(P(2, 0), P(0, 2), kQuarter), kPi);
    EXPECT_DOUBLE_EQ(Arc::geoArcLength(P(2, 0), P(0, 2), -kQuarter), kPi);
    AcGePoint2d c(9, 9);
    double r = -1;
    Arc::GetArcCoreRadius(P(0, 0), P(2, 0), -0.5, c, r);
    expectNear(c, 1, -0.75);
    EXPECT_DOUBLE_EQ(r, 1.25);

    // Bulge 2e-6 gives theta/2 = 4e-6 rad, radius 1/sin(4e-6); a zero bulge is the chord.
    EXPECT_NEAR(Arc::geoArcRadius(P(0, 0), P(2, 0), 2e-6), 1 / std::sin(4e-6), 1e-3);
    EXPECT_NEAR(Arc::geoArcLength(P(0, 0), P(3, 4), 2e-6), 5.0, 1e-9);
    EXPECT_EQ(Arc::geoArcLength(P(0, 0), P(3, 4), 0.0), 5.0);
    // Bulges and chords below kTol have no radius; a straight segment's length is its chord,
    // not 0.
    using Tavro::kTol;
    EXPECT_ACROSS_TOL(kTol, Arc::geoArcRadius(P(0, 0), P(2, 0), d) > 0.0, false, true);
    EXPECT_ACROSS_TOL(kTol, Arc::geoArcRadius(P(0, 0), P(2, 0), -d) > 0.0, false, true);
    EXPECT_ACROSS_TOL(kTol, Arc::geoArcLength(P(0, 0), P(3, 4), d) == 5.0, true, false);
    // A half circle's radius is half its chord.
    EXPECT_ACROSS_TOL(kTol, std::fabs(Arc::geoArcRadius(P(0, 0), P(d, 0), 1.0) - d / 2) < 1e-18,
                      false, true);
}

TEST(GeoArcChord, IdentitiesOverManyArcs) {
    for (const Chord& a : kArcs) {
        SCOPED_TRACE(a.bulge);
        const AcGePoint2d c = Arc::geoArcCenter(a.start, a.end, a.bulge);
        const double r = Arc::geoArcRadius(a.start, a.end, a.bulge);
        const double tol = 1e-8 * std::max(1.0, r);
        const bool cw = a.bulge < 0;
        EXPECT_NEAR(c.distanceTo(a.start), r, tol);
        EXPECT_NEAR(c.distanceTo(a.end), r, tol);
        expectNear(Arc::geoArcEndPoint(c, a.start, a.bulge), a.end.x, a.end.y, tol);
        expectNear(Arc::geoArcPointAtParam(0.0, a.start, a.end, a.bulge), a.start.x, a.start.y,
                   tol);
        expectNear(Arc::geoArcPointAtParam(1.0, a.start, a.end, a.bulge), a.end.x, a.end.y, tol);
        // Length is radius times the included angle; the centre form agrees.
        const double length = Arc::geoArcLength(a.start, a.end, a.bulge);
        EXPECT_NEAR(length, r * 4 * std::atan(std::fabs(a.bulge)), tol);
        EXPECT_NEAR(Arc::geoArcLength(c, a.start, a.end, r, cw), length, tol);
        // The centre form gives the bulge back, whatever the chord's size.
        EXPECT_NEAR(Arc::geoArcBulge(a.start, c, a.end, cw), a.bulge,
                    1e-7 * std::max(1.0, std::fabs(a.bulge)));
        // The middle of the arc is on it, a point of the opposite arc is not.
        const AcGePoint2d middle = Arc::geoArcPointAtParam(0.5, a.start, a.end, a.bulge);
        EXPECT_TRUE(Arc::geoArcPtInArc(middle, a.start, a.end, a.bulge));
        EXPECT_NEAR(Arc::GetParamAtArc(middle, c, a.start, a.end, cw), 0.5, 1e-7);
        const AcGePoint2d opposite(2 * c.x - middle.x, 2 * c.y - middle.y); // middle of the rest
        EXPECT_FALSE(Arc::geoArcPtInArc(opposite, a.start, a.end, a.bulge));
        // An arc and the rest of its circle, run back, make the whole disc.
        const double disc = kPi * r * r, rest = 1.0 / a.bulge;
        for (bool sector : {false, true})
            EXPECT_NEAR(Arc::geoArcArea(a.start, a.end, a.bulge, sector) +
                            Arc::geoArcArea(a.end, a.start, rest, sector),
                        disc, 1e-9 * disc);
    }
}

TEST(GeoArcChord, SectorAndSegmentAreas) {
    EXPECT_DOUBLE_EQ(Arc::geoArcArea(P(1, 0), P(-1, 0), 1.0, true), kPi / 2);
    EXPECT_DOUBLE_EQ(Arc::geoArcArea(P(1, 0), P(-1, 0), 1.0, false), kPi / 2);
    // Quarter of the unit circle: sector pi/4, segment pi/4 minus the triangle 1/2.
    EXPECT_DOUBLE_EQ(Arc::geoArcArea(P(1, 0), P(0, 1), kQuarter, true), kPi / 4);
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, 1), kQuarter, false), kPi / 4 - 0.5, 1e-15);
    // Three quarters: the centre lies inside the segment, so the triangle is added.
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, -1), kThreeQuarters, true), 3 * kPi / 4, 1e-14);
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, -1), kThreeQuarters, false), 3 * kPi / 4 + 0.5,
                1e-14);
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, -1), -kThreeQuarters, false), 3 * kPi / 4 + 0.5,
                1e-14);
    // A flat arc (bulge below kTol) encloses nothing.
    for (bool sector : {false, true})
        EXPECT_EQ(Arc::geoArcArea(P(0, 0), P(100, 0), 0.9 * Tavro::kTol, sector), 0.0);
    // Centre form: quarter counterclockwise, three quarters clockwise.
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, 0), P(0, 1), false, false), kPi / 4 - 0.5, 1e-15);
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, 0), P(0, 1), true, false), 3 * kPi / 4 + 0.5, 1e-14);
    EXPECT_NEAR(Arc::geoArcArea(P(1, 0), P(0, 0), P(0, 1), true, true), 3 * kPi / 4, 1e-14);
}

TEST(GeoArcChord, EndPointAndAngularParameter) {
    expectNear(Arc::geoArcEndPoint(P(0, 0), P(1, 0), 1.0), -1, 0, 1e-15);
    expectNear(Arc::geoArcEndPoint(P(0, 0), P(1, 0), kQuarter), 0, 1, 1e-15);
    expectNear(Arc::geoArcEndPoint(P(0, 0), P(1, 0), -kQuarter), 0, -1, 1e-15);
    expectNear(Arc::geoArcPointAtParam(0.5, P(1, 0), P(-1, 0), 1.0), 0, 1, 1e-15);
    expectNear(Arc::geoArcPointAtParam(0.5, P(1, 0), P(-1, 0), -1.0), 0, -1, 1e-15);
    EXPECT_FALSE(isFinite(Arc::geoArcPointAtParam(0.5, P(1, 0), P(-1, 0), 0.0)));

    // Quarter arc about the origin from (1,0) to (0,1).
    const AcGePoint2d o(0, 0), s(1, 0), e(0, 1);
    EXPECT_EQ(Arc::GetParamAtArc(s, o, s, e, false), 0.0);
    EXPECT_EQ(Arc::GetParamAtArc(e, o, s, e, false), 1.0);
    EXPECT_DOUBLE_EQ(Arc::GetParamAtArc(P(1, 1), o, s, e, false), 0.5);
    // In the gap: 10 degrees before the start is -1/9; 100 degrees past it is 10/9.
    const double d10 = 10 * kDeg;
    EXPECT_NEAR(Arc::GetParamAtArc(P(std::cos(d10), -std::sin(d10)), o, s, e, false), -1.0 / 9,
                1e-15);
    EXPECT_NEAR(Arc::GetParamAtArc(P(-std::sin(d10), std::cos(d10)), o, s, e, false), 10.0 / 9,
                1e-15);
    // Clockwise the same ends span three quarters; (0,-1) lies a third of the way.
    EXPECT_EQ(Arc::GetParamAtArc(s, o, s, e, true), 0.0);
    EXPECT_EQ(Arc::GetParamAtArc(e, o, s, e, true), 1.0);
    EXPECT_DOUBLE_EQ(Arc::GetParamAtArc(P(0, -1), o, s, e, true), 1.0 / 3);
}

TEST(GeoArcCentreForm, SweptAngleLengthAndBulge) {
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

    EXPECT_DOUBLE_EQ(Arc::geoArcBulge(P(1, 0), P(0, 0), P(0, 1), false), kQuarter);
    EXPECT_DOUBLE_EQ(Arc::geoArcBulge(P(1, 0), P(0, 0), P(0, 1), true), -kThreeQuarters);
    EXPECT_DOUBLE_EQ(Arc::geoArcBulge(P(1, 0), P(0, 0), P(-1, 0), false), 1.0);
    EXPECT_DOUBLE_EQ(Arc::geoArcBulge(P(1, 0), P(0, 0), P(-1, 0), true), -1.0);
    EXPECT_EQ(Arc::geoArcBulge(P(1, 0), P(0, 0), P(1, 0), false), 0.0);
    // Chord (0.1, 0.15): both components within 0.2, and still the true bulge.
    const AcGePoint2d c = Arc::geoArcCenter(P(0, 0), P(0.1, 0.15), 0.4);
    EXPECT_NEAR(Arc::geoArcBulge(P(0, 0), c, P(0.1, 0.15), false), 0.4, 1e-14);
    // Either side of the 0.2 switch gives the same bulge.
    for (double dy : {0.19, 0.2, 0.21}) {
        const AcGePoint2d e(0.5, dy);
        EXPECT_NEAR(Arc::geoArcBulge(P(0, 0), Arc::geoArcCenter(P(0, 0), e, -0.7), e, true), -0.7,
                    1e-14)
            << dy;
    }
    // A tiny arc keeps its bulge: no cancellation in sqrt(k^2 + 1) - k.
    const AcGePoint2d tiny = Arc::geoArcCenter(P(0, 0), P(1, 0), 1e-9);
    EXPECT_NEAR(Arc::geoArcBulge(P(0, 0), tiny, P(1, 0), false), 1e-9, 1e-15);
}

TEST(GeoArcRadiusForm, CentreAndBulgeFromRadius) {
    // Chord (0,0)-(2,0), radius 1.25: centre 0.75 left (counterclockwise) or right of it.
    expectNear(Arc::geoArcCenter(P(0, 0), P(2, 0), 1.25, false), 1, 0.75, 1e-15);
    expectNear(Arc::geoArcCenter(P(0, 0), P(2, 0), 1.25, true), 1, -0.75, 1e-15);
    EXPECT_NEAR(Arc::geoArcBulge(P(0, 0), P(2, 0), 1.25, false), 0.5, 1e-15);
    EXPECT_NEAR(Arc::geoArcBulge(P(0, 0), P(2, 0), 1.25, true), -0.5, 1e-15);
    // Half circle: radius equals half the chord.
    expectNear(Arc::geoArcCenter(P(0, 0), P(2, 0), 1.0, true), 1, 0, 1e-15);
    // At plane coordinates the centre stays exact; chord (30,-40), radius 125.
    const AcGePoint2d s(kGauss + 5, kGauss + 7), e(kGauss + 35, kGauss - 33);
    const AcGePoint2d c = Arc::geoArcCenter(s, e, 125.0, false);
    EXPECT_NEAR(c.distanceTo(s), 125.0, 1e-8);
    EXPECT_NEAR(c.distanceTo(e), 125.0, 1e-8);
    EXPECT_FALSE(CTavroGeoPoint::geoIsDeasil(s, e, c));
    EXPECT_NEAR(Arc::geoArcRadius(s, e, Arc::geoArcBulge(s, e, 125.0, true)), 125.0, 1e-7);
    // Equal x and a radius below half the chord have no usable centre.
    EXPECT_FALSE(isFinite(Arc::geoArcCenter(P(1, 0), P(1, 5), 10.0, false)));
    EXPECT_FALSE(isFinite(Arc::geoArcCenter(P(0, 0), P(2, 0), 0.9, false)));
}

TEST(GeoArcMembership, PointsOnAndOffTheArc) {
    // The middle and the opposite point of every arc are checked with the identities above.
    EXPECT_TRUE(Arc::geoArcPtInArc(P(1, 0), P(1, 0), P(-1, 0), 1.0));
    EXPECT_TRUE(Arc::geoArcPtInArc(P(-1, 0), P(1, 0), P(-1, 0), 1.0));
    // A quarter arc of radius 0.1 tells its own points from the rest of its circle.
    const double h = 0.1 / std::sqrt(2.0);
    EXPECT_TRUE(Arc::geoArcPtInArc(P(h, h), P(0.1, 0), P(0, 0.1), kQuarter));
    EXPECT_FALSE(Arc::geoArcPtInArc(P(-h, -h), P(0.1, 0), P(0, 0.1), kQuarter));
    EXPECT_FALSE(Arc::geoArcPtInArc(P(-0.1, 0), P(0.1, 0), P(0, 0.1), kQuarter));
    // A zero bulge has no finite centre; off the chord the answer is no.
    EXPECT_FALSE(Arc::geoArcPtInArc(P(0.5, 3), P(0, 0), P(1, 0), 0.0));
}

TEST(GeoArcBrokenLine, StepsAlongTheArc) {
    // Half circle, one point per degree: start plus 179 points, the end left out. Clockwise
    // arcs step the other way, as many points.
    const Pts upper = Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), 1.0, 1);
    const Pts lower = Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), -1.0, 1);
    ASSERT_EQ(upper.length(), 180);
    ASSERT_EQ(lower.length(), 180);
    expectNear(upper[0], 1, 0);
    for (int i : {1, 45, 90, 179}) {
        SCOPED_TRACE(i);
        expectNear(upper[i], std::cos(i * kDeg), std::sin(i * kDeg), 1e-14);
        expectNear(lower[i], std::cos(i * kDeg), -std::sin(i * kDeg), 1e-14);
    }
    // Whole numbers of steps keep their last point although pi * 180 / pi * 9 rounds below.
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), 1.0, 9).length(), 1620);
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), -1.0, 2).length(), 360);
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(0, 1), kQuarter, 1).length(), 90);
    // Every point lies on the arc's circle.
    const Chord a = kArcs[6];
    const AcGePoint2d c = Arc::geoArcCenter(a.start, a.end, a.bulge);
    for (const AcGePoint2d& p : Arc::geoArcBrokenLine(a.start, a.end, a.bulge, 3))
        EXPECT_NEAR(p.distanceTo(c), c.distanceTo(a.start), 1e-6);

    // Degenerate requests: no steps, a start point alone, or a bounded number of points.
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), 1.0, -1).length(), 0);
    const Pts none = Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), 1.0, 0);
    ASSERT_EQ(none.length(), 1);
    expectNear(none[0], 1, 0);
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), 0.0, 5).length(), 1);
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), kNaN, 5).length(), 1);
    EXPECT_EQ(Arc::geoArcBrokenLine(P(1, 0), P(-1, 0), 1e-4, 1).length(), 1);
    EXPECT_EQ(Arc::geoArcBrokenLine(P(kNaN, 0), P(-1, 0), 1.0, 1).length(), 180);
}

TEST(GeoArcThreePoints, CircleThroughThreePoints) {
    AcGePoint2d c(9, 9);
    double r = -1;
    ASSERT_TRUE(Arc::Circle3Pt(P(0, 0), P(1, 1), P(2, 0), c, r));
    expectNear(c, 1, 0);
    EXPECT_DOUBLE_EQ(r, 1.0);
    c = P(9, 9);
    r = -1;
    EXPECT_FALSE(Arc::Circle3Pt(P(0, 0), P(1, 1), P(2, 2), c, r));
    EXPECT_FALSE(Arc::Circle3Pt(P(0, 0), P(0, 0), P(2, 2), c, r));
    expectNear(c, 9, 9);
    EXPECT_EQ(r, -1.0);

    // p3 (and below p2) share p1's y: the centre still exists.
    expectNear(Arc::geoArcCenterAny3Point(P(0, 0), P(1, 1), P(2, 0)), 1, 0);
    EXPECT_DOUBLE_EQ(Arc::geoArcRadiusAny3Point(P(0, 0), P(1, 1), P(2, 0)), 1.0);
    expectNear(Arc::geoArcCenterAny3Point(P(0, 0), P(2, 0), P(1, 1)), 1, 0);
    // A circle of radius 100 about (1e7 + 50, 1e7 + 30), sampled at 10, 100 and 200 degrees.
    const AcGePoint2d o(kGauss + 50, kGauss + 30);
    const AcGePoint2d p1 = CTavroGeoPoint::geoPolar(o, 10 * kDeg, 100);
    const AcGePoint2d p2 = CTavroGeoPoint::geoPolar(o, 100 * kDeg, 100);
    const AcGePoint2d p3 = CTavroGeoPoint::geoPolar(o, 200 * kDeg, 100);
    expectNear(Arc::geoArcCenterAny3Point(p1, p2, p3), o.x, o.y, 1e-6);
    EXPECT_NEAR(Arc::geoArcRadiusAny3Point(p1, p2, p3), 100.0, 1e-6);
    // Collinear points have no centre.
    EXPECT_FALSE(isFinite(Arc::geoArcCenterAny3Point(P(0, 0), P(1, 1), P(2, 2))));
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
    EXPECT_DOUBLE_EQ(Arc::geoArcBulgeAny3Point(P(1, 0), P(-1, 0), P(0, 1)), -kThreeQuarters);
    // (1,0) -> (cos 45, sin 45) -> (0,1): the minor quarter.
    const double h = std::sqrt(0.5);
    EXPECT_DOUBLE_EQ(Arc::geoArcRadianAny3Point(P(1, 0), P(h, h), P(0, 1)), kPi / 2);
    EXPECT_DOUBLE_EQ(Arc::geoArcLengthAny3Point(P(1, 0), P(h, h), P(0, 1)), kPi / 2);
    // Small and far: radius 0.1 at plane coordinates, the quarter through 45 degrees.
    const AcGePoint2d s(kGauss + 0.1, kGauss), m(kGauss + 0.1 * h, kGauss + 0.1 * h),
        e(kGauss, kGauss + 0.1);
    EXPECT_NEAR(Arc::geoArcLengthAny3Point(s, m, e), 0.05 * kPi, 1e-8);
    EXPECT_NEAR(Arc::geoArcBulgeAny3Point(s, m, e), kQuarter, 1e-7);
    // The broken line through three points is the chord form's on the bulge above.
    EXPECT_EQ(Arc::geoArcBrokenLineAny3Point(P(1, 0), P(-1, 0), P(0, 1), 1).length(), 270);
    // Collinear points: bulge 0, lengths and angles non-finite, a lone start point.
    EXPECT_EQ(Arc::geoArcBulgeAny3Point(P(0, 0), P(1, 1), P(2, 2)), 0.0);
    EXPECT_TRUE(std::isnan(Arc::geoArcRadianAny3Point(P(0, 0), P(1, 1), P(2, 2))));
    EXPECT_FALSE(std::isfinite(Arc::geoArcLengthAny3Point(P(0, 0), P(1, 1), P(2, 2))));
    EXPECT_FALSE(std::isfinite(Arc::geoArcAreaAny3Point(P(0, 0), P(1, 1), P(2, 2))));
    EXPECT_EQ(Arc::geoArcBrokenLineAny3Point(P(0, 0), P(1, 1), P(2, 2), 4).length(), 1);
}

// Non-finite points and bulges, zero chords and huge or tiny bulges: no crash and nothing the
// sanitizers object to.
TEST(GeoArcBadInput, CallsSurvive) {
    Arc a;
    Arc b(a);
    a = b;
    const AcGePoint2d bad(kNaN, kInf);
    for (double bulge : {0.0, kNaN, 1e300, -1e-300}) {
        Arc::geoArcRadius(bad, P(0, 0), bulge);
        Arc::geoArcCenter(P(0, 0), P(0, 0), bulge);
        Arc::geoArcLength(bad, P(1, 1), bulge);
        Arc::geoArcArea(P(0, 0), P(1, 1), bulge, false);
        Arc::geoArcEndPoint(bad, P(1, 1), bulge);
        Arc::geoArcPointAtParam(0.5, P(0, 0), P(1, 1), bulge);
        Arc::geoArcPtInArc(bad, P(0, 0), P(1, 1), bulge);
        Arc::geoArcBrokenLine(P(0, 0), P(1, 1), bulge, 100);
        AcGePoint2d out;
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
    AcGePoint2d pt = bad;
    Arc::scale(pt, P(0, 0), 2.0);
}
