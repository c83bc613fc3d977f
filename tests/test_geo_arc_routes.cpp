// The arc questions answered through the line layer: the parameter of a point on a bulge segment
// and the extents of a bulge arc.

#include "TestSupport.h"

namespace {
using A = CTavroGeoArc;
const double kH = std::sqrt(0.5); // cos 45 degrees
const AcGePoint2d kA(0, 0), kB(2, 0);
} // namespace

TEST(GeoArcParam, StraightPartIsTheSegmentForm) {
    // Below kTol the bulge is a segment, measured along the chord.
    EXPECT_EQ(A::geoPointAtParam(P(0.5, 0), kA, kB, 0.0, 1e-10), 0.25);
    // Just above kTol the arc answers: the chord midpoint is off it.
    EXPECT_ACROSS_TOL(Tavro::kTol, A::geoPointAtParam(P(1, 0), kA, kB, d, 1e-10), 0.5, -1.0);
    EXPECT_ACROSS_TOL(Tavro::kTol, A::geoPointAtParam(P(1, 0), kA, kB, -d, 1e-10), 0.5, -1.0);
    // A zero chord is a point, whatever the bulge.
    EXPECT_EQ(A::geoPointAtParam(P(1, 1), P(1, 1), P(1, 1), 0.0, 1e-6), 0.0);
    EXPECT_EQ(A::geoPointAtParam(P(1, 1), P(1, 1), P(1, 1), 1.0, 1e-6), 0.0);
    EXPECT_EQ(A::geoPointAtParam(P(2, 1), P(1, 1), P(1, 1), 1.0, 1e-6), -1.0);
}

TEST(GeoArcParam, FractionOfTheArcLength) {
    // Bulge 1 on (0,0)-(2,0): counterclockwise half circle about (1,0) through (1,-1).
    EXPECT_NEAR(A::geoPointAtParam(kA, kA, kB, 1.0, 1e-10), 0.0, 1e-12);
    EXPECT_NEAR(A::geoPointAtParam(kB, kA, kB, 1.0, 1e-10), 1.0, 1e-12);
    EXPECT_NEAR(A::geoPointAtParam(P(1, -1), kA, kB, 1.0, 1e-10), 0.5, 1e-12);
    EXPECT_NEAR(A::geoPointAtParam(P(1 - kH, -kH), kA, kB, 1.0, 1e-10), 0.25, 1e-12);
    EXPECT_NEAR(A::geoPointAtParam(P(1 + kH, -kH), kA, kB, 1.0, 1e-10), 0.75, 1e-12);
    // The other half of the circle is off this arc but on the clockwise one.
    EXPECT_EQ(A::geoPointAtParam(P(1, 1), kA, kB, 1.0, 1e-10), -1.0);
    EXPECT_NEAR(A::geoPointAtParam(P(1, 1), kA, kB, -1.0, 1e-10), 0.5, 1e-12);
    EXPECT_NEAR(A::geoPointAtParam(P(1 + kH, kH), kA, kB, -1.0, 1e-10), 0.75, 1e-12);
    // Quarter circle (1,0) to (0,1) about the origin: 30 degrees in is a third of it.
    const double quarter = std::tan(kPi / 8);
    const AcGePoint2d at30(std::cos(kPi / 6), std::sin(kPi / 6));
    EXPECT_NEAR(A::geoPointAtParam(at30, P(1, 0), P(0, 1), quarter, 1e-10), 1.0 / 3, 1e-12);
    EXPECT_EQ(A::geoPointAtParam(P(-1, 0), P(1, 0), P(0, 1), quarter, 1e-10), -1.0);
    // Short chords measure too: the middle of a half circle on a chord of 0.1, and a point 0.1
    // along a half circle of radius 10 (a thousandth of its length pi * 10, over pi).
    EXPECT_NEAR(A::geoPointAtParam(P(0.05, -0.05), kA, P(0.1, 0), 1.0, 1e-10), 0.5, 1e-9);
    const AcGePoint2d near(10 + 10 * std::cos(kPi + 0.01), 10 * std::sin(kPi + 0.01));
    EXPECT_NEAR(A::geoPointAtParam(near, kA, P(20, 0), 1.0, 1e-9), 0.01 / kPi, 1e-9);

    // The arc lengths through any point of the half circle's diameter add up to the whole, so
    // the distance to the circle decides: the centre is not on the arc.
    EXPECT_EQ(A::geoPointAtParam(P(1, 0), kA, kB, 1.0, 1e-10), -1.0);
    EXPECT_EQ(A::geoPointAtParam(P(0.5, 0), kA, kB, 1.0, 1e-10), -1.0);
    // With the caller's tol 0.5: (0.49,0) is 0.49 inside the circle and passes at the fraction
    // of its half circles, 0.245; (0.51,0), 0.51 inside, does not.
    EXPECT_NEAR(A::geoPointAtParam(P(0.49, 0), kA, kB, 1.0, 0.5), 0.245, 1e-12);
    EXPECT_EQ(A::geoPointAtParam(P(0.51, 0), kA, kB, 1.0, 0.5), -1.0);
    // Outside the circle on the arc's radius: 1.5 out is off even with a loose tol.
    EXPECT_EQ(A::geoPointAtParam(P(1, -2.5), kA, kB, 1.0, 1.0), -1.0);

    // Non-finite input is off.
    EXPECT_EQ(A::geoPointAtParam(P(1, -1), kA, kB, kNaN, 1e-6), -1.0);
    EXPECT_EQ(A::geoPointAtParam(P(kNaN, -1), kA, kB, 1.0, 1e-6), -1.0);
    EXPECT_EQ(A::geoPointAtParam(P(1, -1), kA, kB, 1.0, kNaN), -1.0);
}

TEST(GeoArcExtents, EndsQuadrantPointsAndDegenerateArcs) {
    // Half circles about (1,0): counterclockwise dips to y = -1, clockwise rises to y = 1.
    expectBox(A::geoArcExtends(kA, kB, 1.0), 0, -1, 2, 0);
    expectBox(A::geoArcExtends(kA, kB, -1.0), 0, 0, 2, 1);
    // Quarter circles about the origin hold no quadrant point beyond their ends.
    const double quarter = std::tan(kPi / 8);
    expectBox(A::geoArcExtends(P(1, 0), P(0, 1), quarter), 0, 0, 1, 1);
    expectBox(A::geoArcExtends(P(0, 1), P(1, 0), -quarter), 0, 0, 1, 1);
    // Three quarters pass (0,1) and (-1,0), or (0,-1) and (-1,0) the other way round.
    const double threeQuarters = std::tan(3 * kPi / 8);
    expectBox(A::geoArcExtends(P(1, 0), P(0, -1), threeQuarters), -1, -1, 1, 1);
    expectBox(A::geoArcExtends(P(1, 0), P(0, 1), -threeQuarters), -1, -1, 1, 1);
    // 120 degrees of radius 2 from 30 to 150 degrees (bulge tan 30) peaks at (0,2), also in a
    // Gauss plane frame.
    const double s3 = std::sqrt(3.0);
    expectBox(A::geoArcExtends(P(s3, 1), P(-s3, 1), std::tan(kPi / 6)), -s3, 1, s3, 2);
    const double x0 = 500000.0, y0 = 4000000.0;
    expectBox(A::geoArcExtends(P(x0 + s3, y0 + 1), P(x0 - s3, y0 + 1), std::tan(kPi / 6)), x0 - s3,
              y0 + 1, x0 + s3, y0 + 2, 1e-6);

    expectBox(A::geoArcExtends(kA, P(2, 1), 0.0), 0, 0, 2, 1);
    expectBox(A::geoArcExtends(P(2, 1), kA, 0.9 * Tavro::kTol), 0, 0, 2, 1);
    // Just above kTol the arc is so flat that its box is the ends' box within its sagitta.
    expectBox(A::geoArcExtends(kA, kB, 1.1 * Tavro::kTol), 0, 0, 2, 0, 2e-6);
    expectBox(A::geoArcExtends(P(3, 4), P(3, 4), 1.0), 3, 4, 3, 4);
    expectBox(A::geoArcExtends(kA, kB, kNaN), 0, 0, 2, 0);

    // Nearly full circles on the chord (0,0)-(10,10): with k = (1/b - b)/2 the centre is
    // (5 - 5k, 5 + 5k) and the radius its distance from (0,0). The arc leaves out only a sliver
    // next to its chord, which faces the centre's upper left (135 degrees), so all four quadrant
    // points lie on it and the box is the circle's. For b = 1e7: centre (25000005, -24999995),
    // radius 35355339.06; for b = 1e12: centre (2.5e12, -2.5e12), radius 3.5355e12.
    for (const double b : {1e7, 1e12, -1e7, -1e12}) {
        const double k = (1.0 / b - b) / 2.0;
        const AcGePoint2d c(5.0 - 5.0 * k, 5.0 + 5.0 * k);
        const double r = std::hypot(c.x, c.y);
        const AcDbExtents box = A::geoArcExtends(kA, P(10, 10), b);
        SCOPED_TRACE(b);
        expectBox(box, c.x - r, c.y - r, c.x + r, c.y + r, r * 1e-9);
    }
    // At b = 1e6 the arc is still found by its lengths; the angular span gives the same box.
    {
        const double b = 1e6, k = (1.0 / b - b) / 2.0;
        const AcGePoint2d c(5.0 - 5.0 * k, 5.0 + 5.0 * k);
        const double r = std::hypot(c.x, c.y);
        expectBox(A::geoArcExtends(kA, P(10, 10), b), c.x - r, c.y - r, c.x + r, c.y + r, r * 1e-9);
    }

    // A closed ring: (0,0)-(2,0) half circle down, straight up to (2,2), half circle back up
    // over (1,3) to (0,2), and the closing bulge 0 back to (0,0).
    expectBox(CTavroGeoLine::geoLineExtends(square(0, 0, 2), Doubles{1.0, 0.0, 1.0, 0.0}), 0, -1, 2,
              3);
}

// Infinite and overflowing bulges and non-finite points: no crash and nothing the sanitizers
// object to.
TEST(GeoArcRoutesBadInput, CallsSurvive) {
    for (double bulge : {kInf, -kInf, 1e300, -1e300, kNaN}) {
        A::geoArcExtends(kA, P(10, 10), bulge);
        A::geoPointAtParam(P(1, -1), kA, kB, bulge, 1e-6);
    }
    A::geoArcExtends(P(kNaN, 0), P(2, kInf), 1.0);
    A::geoPointAtParam(P(1, -1), P(kInf, 0), kB, 1.0, 1e-6);
}
