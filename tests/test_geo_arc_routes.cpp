// The arc questions answered through the line layer: the parameter of a point on a bulge segment
// and the extents of a bulge arc.

#include "TavroGeometric142.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
using Pt = AcGePoint2d;
using A = CTavroGeoArc;
const double kPi = 3.14159265358979323846;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const double kH = std::sqrt(0.5); // cos 45 degrees

void expectBox(const AcDbExtents& e, double x0, double y0, double x1, double y1,
               double tol = 1e-12) {
    EXPECT_NEAR(e.minPoint().x, x0, tol);
    EXPECT_NEAR(e.minPoint().y, y0, tol);
    EXPECT_NEAR(e.maxPoint().x, x1, tol);
    EXPECT_NEAR(e.maxPoint().y, y1, tol);
    EXPECT_EQ(e.minPoint().z, 0.0);
    EXPECT_EQ(e.maxPoint().z, 0.0);
}
} // namespace

TEST(GeoArcParam, StraightPartIsTheSegmentForm) {
    // Below 1e-6 the bulge is a segment: the same answer as the line layer's segment form.
    const Pt a(0, 0), b(2, 0);
    const Pt probes[] = {Pt(0.5, 0), Pt(0, 0), Pt(2, 0), Pt(1, 1), Pt(2.0049, 0), Pt(-3, 0)};
    for (const Pt& p : probes) {
        EXPECT_EQ(A::geoPointAtParam(p, a, b, 0.0, 0.01),
                  CTavroGeoLine::geoPointAtParam(p, a, b, 0.0, 0.01));
        EXPECT_EQ(A::geoPointAtParam(p, a, b, 0.9e-6, 0.01),
                  CTavroGeoLine::geoPointAtParam(p, a, b, 0.0, 0.01));
    }
    EXPECT_EQ(A::geoPointAtParam(Pt(0.5, 0), a, b, 0.0, 1e-10), 0.25);
    EXPECT_EQ(A::geoPointAtParam(Pt(1, 0), a, b, -0.9e-6, 1e-10), 0.5);
    // Just above 1e-6 the arc answers: the chord midpoint is 1.1e-6 off it.
    EXPECT_EQ(A::geoPointAtParam(Pt(1, 0), a, b, 1.1e-6, 1e-10), -1.0);
    // A zero chord is a point, whatever the bulge.
    EXPECT_EQ(A::geoPointAtParam(Pt(1, 1), Pt(1, 1), Pt(1, 1), 0.0, 1e-6), 0.0);
    EXPECT_EQ(A::geoPointAtParam(Pt(1, 1), Pt(1, 1), Pt(1, 1), 1.0, 1e-6), 0.0);
    EXPECT_EQ(A::geoPointAtParam(Pt(2, 1), Pt(1, 1), Pt(1, 1), 1.0, 1e-6), -1.0);
}

TEST(GeoArcParam, FractionOfTheArcLength) {
    // Bulge 1 on (0,0)-(2,0): counterclockwise half circle about (1,0) through (1,-1).
    const Pt a(0, 0), b(2, 0);
    EXPECT_NEAR(A::geoPointAtParam(a, a, b, 1.0, 1e-10), 0.0, 1e-12);
    EXPECT_NEAR(A::geoPointAtParam(b, a, b, 1.0, 1e-10), 1.0, 1e-12);
    EXPECT_NEAR(A::geoPointAtParam(Pt(1, -1), a, b, 1.0, 1e-10), 0.5, 1e-12);
    EXPECT_NEAR(A::geoPointAtParam(Pt(1 - kH, -kH), a, b, 1.0, 1e-10), 0.25, 1e-12);
    EXPECT_NEAR(A::geoPointAtParam(Pt(1 + kH, -kH), a, b, 1.0, 1e-10), 0.75, 1e-12);
    // The other half of the circle is off this arc but on the clockwise one.
    EXPECT_EQ(A::geoPointAtParam(Pt(1, 1), a, b, 1.0, 1e-10), -1.0);
    EXPECT_NEAR(A::geoPointAtParam(Pt(1, 1), a, b, -1.0, 1e-10), 0.5, 1e-12);
    EXPECT_NEAR(A::geoPointAtParam(Pt(1 + kH, kH), a, b, -1.0, 1e-10), 0.75, 1e-12);
    // Quarter circle (1,0) to (0,1) about the origin: 30 degrees in is a third of it.
    const double quarter = std::tan(kPi / 8);
    const Pt at30(std::cos(kPi / 6), std::sin(kPi / 6));
    EXPECT_NEAR(A::geoPointAtParam(at30, Pt(1, 0), Pt(0, 1), quarter, 1e-10), 1.0 / 3, 1e-12);
    EXPECT_EQ(A::geoPointAtParam(Pt(-1, 0), Pt(1, 0), Pt(0, 1), quarter, 1e-10), -1.0);
    // Short chords measure too: the middle of a half circle on a chord of 0.1, and a point 0.1
    // along a half circle of radius 10 (a thousandth of its length pi * 10, over pi).
    EXPECT_NEAR(A::geoPointAtParam(Pt(0.05, -0.05), Pt(0, 0), Pt(0.1, 0), 1.0, 1e-10), 0.5, 1e-9);
    const Pt near(10 + 10 * std::cos(kPi + 0.01), 10 * std::sin(kPi + 0.01));
    EXPECT_NEAR(A::geoPointAtParam(near, Pt(0, 0), Pt(20, 0), 1.0, 1e-9), 0.01 / kPi, 1e-9);
}

TEST(GeoArcParam, PointMustLieOnTheCircle) {
    // The arc lengths through any point of the half circle's diameter add up to the whole, so
    // the distance to the circle decides: the centre is not on the arc.
    const Pt a(0, 0), b(2, 0);
    EXPECT_EQ(A::geoPointAtParam(Pt(1, 0), a, b, 1.0, 1e-10), -1.0);
    EXPECT_EQ(A::geoPointAtParam(Pt(0.5, 0), a, b, 1.0, 1e-10), -1.0);
    // With the caller's tol 0.5: (0.49,0) is 0.49 inside the circle and passes at the fraction
    // of its half circles, 0.245; (0.51,0), 0.51 inside, does not.
    EXPECT_NEAR(A::geoPointAtParam(Pt(0.49, 0), a, b, 1.0, 0.5), 0.245, 1e-12);
    EXPECT_EQ(A::geoPointAtParam(Pt(0.51, 0), a, b, 1.0, 0.5), -1.0);
    // Outside the circle on the arc's radius: 1.5 out is off even with a loose tol.
    EXPECT_EQ(A::geoPointAtParam(Pt(1, -2.5), a, b, 1.0, 1.0), -1.0);
}

TEST(GeoArcParam, DegenerateInput) {
    const Pt a(0, 0), b(2, 0);
    EXPECT_EQ(A::geoPointAtParam(Pt(1, -1), a, b, kNaN, 1e-6), -1.0);
    EXPECT_EQ(A::geoPointAtParam(Pt(kNaN, -1), a, b, 1.0, 1e-6), -1.0);
    EXPECT_EQ(A::geoPointAtParam(Pt(1, -1), a, b, 1.0, kNaN), -1.0);
    A::geoPointAtParam(Pt(1, -1), a, b, kInf, 1e-6);
    A::geoPointAtParam(Pt(1, -1), Pt(kInf, 0), b, 1.0, 1e-6);
}

TEST(GeoArcExtents, EndsAndQuadrantPoints) {
    // Half circles about (1,0): counterclockwise dips to y = -1, clockwise rises to y = 1.
    expectBox(A::geoArcExtends(Pt(0, 0), Pt(2, 0), 1.0), 0, -1, 2, 0);
    expectBox(A::geoArcExtends(Pt(0, 0), Pt(2, 0), -1.0), 0, 0, 2, 1);
    // Quarter circles about the origin hold no quadrant point beyond their ends.
    const double quarter = std::tan(kPi / 8);
    expectBox(A::geoArcExtends(Pt(1, 0), Pt(0, 1), quarter), 0, 0, 1, 1);
    expectBox(A::geoArcExtends(Pt(0, 1), Pt(1, 0), -quarter), 0, 0, 1, 1);
    // Three quarters pass (0,1) and (-1,0), or (0,-1) and (-1,0) the other way round.
    const double threeQuarters = std::tan(3 * kPi / 8);
    expectBox(A::geoArcExtends(Pt(1, 0), Pt(0, -1), threeQuarters), -1, -1, 1, 1);
    expectBox(A::geoArcExtends(Pt(1, 0), Pt(0, 1), -threeQuarters), -1, -1, 1, 1);
    // 120 degrees of radius 2 from 30 to 150 degrees (bulge tan 30) peaks at (0,2).
    const double s3 = std::sqrt(3.0);
    expectBox(A::geoArcExtends(Pt(s3, 1), Pt(-s3, 1), std::tan(kPi / 6)), -s3, 1, s3, 2);
    // The same arc in a Gauss plane frame.
    const double x0 = 500000.0, y0 = 4000000.0;
    expectBox(A::geoArcExtends(Pt(x0 + s3, y0 + 1), Pt(x0 - s3, y0 + 1), std::tan(kPi / 6)),
              x0 - s3, y0 + 1, x0 + s3, y0 + 2, 1e-6);
}

TEST(GeoArcExtents, StraightAndDegenerate) {
    expectBox(A::geoArcExtends(Pt(0, 0), Pt(2, 1), 0.0), 0, 0, 2, 1);
    expectBox(A::geoArcExtends(Pt(2, 1), Pt(0, 0), 0.9e-6), 0, 0, 2, 1);
    // Just above 1e-6 the arc is so flat that its box is the ends' box within its sagitta.
    expectBox(A::geoArcExtends(Pt(0, 0), Pt(2, 0), 1.1e-6), 0, 0, 2, 0, 2e-6);
    expectBox(A::geoArcExtends(Pt(3, 4), Pt(3, 4), 1.0), 3, 4, 3, 4);
    expectBox(A::geoArcExtends(Pt(0, 0), Pt(2, 0), kNaN), 0, 0, 2, 0);
    A::geoArcExtends(Pt(0, 0), Pt(2, 0), kInf);
    A::geoArcExtends(Pt(kNaN, 0), Pt(2, kInf), 1.0);
}

TEST(GeoArcExtents, PolylineExtentsAreTheUnionOfItsPieces) {
    // A closed ring: (0,0)-(2,0) half circle down, straight up to (2,2), half circle back up
    // over (1,3) to (0,2), and the closing bulge 0 back to (0,0).
    const AcArray<Pt> pts{Pt(0, 0), Pt(2, 0), Pt(2, 2), Pt(0, 2)};
    const AcArray<double> bulges{1.0, 0.0, 1.0, 0.0};
    AcDbExtents pieces;
    for (int i = 0; i < 4; ++i)
        pieces.addExt(A::geoArcExtends(pts[i], pts[(i + 1) % 4], bulges[i]));
    const AcDbExtents whole = CTavroGeoLine::geoLineExtends(pts, bulges);
    expectBox(whole, pieces.minPoint().x, pieces.minPoint().y, pieces.maxPoint().x,
              pieces.maxPoint().y);
    expectBox(whole, 0, -1, 2, 3);
}
