// Lines and segments: line equations and their relation, segment tests, nearest points, lengths,
// parameters along segments and bulge polylines, vertex insertion and lookup, point in polygon,
// point on polyline and polyline extents.

#include "TavroGeometric142.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <type_traits>

namespace {
using Pt = AcGePoint2d;
using L = CTavroGeoLine;
const double kPi = 3.14159265358979323846;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const double kSentinelDistance = 99999999.0;

AcArray<Pt> nodes(std::initializer_list<Pt> pts) {
    return AcArray<Pt>(pts);
}

void expectPoint(const Pt& p, double x, double y, double tol = 1e-12) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

void expectBox(const AcDbExtents& e, double x0, double y0, double x1, double y1,
               double tol = 1e-12) {
    EXPECT_NEAR(e.minPoint().x, x0, tol);
    EXPECT_NEAR(e.minPoint().y, y0, tol);
    EXPECT_NEAR(e.maxPoint().x, x1, tol);
    EXPECT_NEAR(e.maxPoint().y, y1, tol);
    EXPECT_EQ(e.minPoint().z, 0.0);
    EXPECT_EQ(e.maxPoint().z, 0.0);
}

bool isEmptyBox(const AcDbExtents& e) {
    return e.minPoint().x > e.maxPoint().x;
}
} // namespace

TEST(GeoLineClass, CopyableWithVirtualDestructor) {
    EXPECT_TRUE(std::has_virtual_destructor<CTavroGeoLine>::value);
    EXPECT_TRUE(std::is_copy_constructible<CTavroGeoLine>::value);
    EXPECT_TRUE(std::is_copy_assignable<CTavroGeoLine>::value);
    CTavroGeoLine a;
    CTavroGeoLine b(a);
    b = a;
    std::unique_ptr<CTavroGeoLine> owned(new CTavroGeoLine(b));
    EXPECT_NE(owned, nullptr);
}

// Coefficients by hand: slope (y2-y1)/(x2-x1) made non-negative, c = -(a*x1 + b*y1).
TEST(GeoLineEquation, CoefficientsAndVerticalTolerance) {
    TavroLine l = L::geoCreateLinearEquation(Pt(2, 0), Pt(2, 5));
    EXPECT_EQ(l.a, 1.0);
    EXPECT_EQ(l.b, 0.0);
    EXPECT_EQ(l.c, -2.0);

    l = L::geoCreateLinearEquation(Pt(0, 0), Pt(2, -2));
    EXPECT_EQ(l.a, 1.0);
    EXPECT_EQ(l.b, 1.0);
    EXPECT_EQ(l.c, 0.0);

    // Slope 2 through (0,1): 2x - y + 1 = 0.
    l = L::geoCreateLinearEquation(Pt(0, 1), Pt(2, 5));
    EXPECT_EQ(l.a, 2.0);
    EXPECT_EQ(l.b, -1.0);
    EXPECT_EQ(l.c, 1.0);

    // A default line is (1, -1, 0).
    const TavroLine plain;
    EXPECT_EQ(plain.a, 1.0);
    EXPECT_EQ(plain.b, -1.0);
    EXPECT_EQ(plain.c, 0.0);

    // dx just inside 1e-6 is vertical x = x1; just outside it is a steep line through both.
    l = L::geoCreateLinearEquation(Pt(3, 0), Pt(3 + 0.9e-6, 1));
    EXPECT_EQ(l.b, 0.0);
    EXPECT_EQ(l.c, -3.0);
    l = L::geoCreateLinearEquation(Pt(3, 0), Pt(3 + 1.1e-6, 1));
    EXPECT_EQ(l.b, -1.0);
    EXPECT_NEAR(l.a, 1.0 / 1.1e-6, 1e-3);
    EXPECT_NEAR(l.a * (3 + 1.1e-6) + l.b * 1 + l.c, 0.0, 1e-6);
}

TEST(GeoLineRelation, PerpendicularParallelCrossing) {
    const TavroLine diag = L::geoCreateLinearEquation(Pt(0, 0), Pt(1, 1));    // y = x
    const TavroLine anti = L::geoCreateLinearEquation(Pt(0, 0), Pt(1, -1));   // y = -x
    const TavroLine shifted = L::geoCreateLinearEquation(Pt(0, 1), Pt(1, 2)); // y = x + 1
    const TavroLine steeper = L::geoCreateLinearEquation(Pt(0, 0), Pt(1, 2)); // y = 2x
    EXPECT_EQ(L::geoLineRelation(diag, anti), Tavro::kLinePerpendicular);
    EXPECT_EQ(L::geoLineRelation(diag, shifted), Tavro::kLineParallel);
    EXPECT_EQ(L::geoLineRelation(diag, diag), Tavro::kLineParallel);
    EXPECT_EQ(L::geoLineRelation(diag, steeper), Tavro::kLineCross);
    EXPECT_EQ(static_cast<int>(L::geoLineRelation(diag, steeper)), 3);

    // Horizontal first, vertical second is perpendicular (11), as is the reverse order.
    const TavroLine horizontal = L::geoCreateLinearEquation(Pt(0, 0), Pt(1, 0));
    const TavroLine vertical = L::geoCreateLinearEquation(Pt(0, 0), Pt(0, 1));
    EXPECT_EQ(static_cast<int>(L::geoLineRelation(horizontal, vertical)), 11);
    EXPECT_EQ(static_cast<int>(L::geoLineRelation(vertical, horizontal)), 11);
    EXPECT_EQ(L::geoLineRelation(horizontal, horizontal), Tavro::kLineParallel);
}

TEST(GeoLineRelation, ToleranceOfBothProducts) {
    // Dot product a1*a2 + b1*b2 = 0.9e-6 is perpendicular; 1.1e-6 is not and crosses.
    const TavroLine l1{1.0, 0.0, 0.0};
    EXPECT_EQ(L::geoLineRelation(l1, TavroLine{0.9e-6, 1.0, 0.0}), Tavro::kLinePerpendicular);
    EXPECT_EQ(L::geoLineRelation(l1, TavroLine{1.1e-6, 1.0, 0.0}), Tavro::kLineCross);

    // Cross product a1*b2 - a2*b1 = 0.9e-6 is parallel; 1.1e-6 crosses.
    const TavroLine l2{1.0, -1.0, 0.0};
    EXPECT_EQ(L::geoLineRelation(l2, TavroLine{1.0 + 0.9e-6, -1.0, 7.0}), Tavro::kLineParallel);
    EXPECT_EQ(L::geoLineRelation(l2, TavroLine{1.0 + 1.1e-6, -1.0, 7.0}), Tavro::kLineCross);

    // Degenerate and non-finite coefficients still answer one of the three codes.
    const int degenerate = L::geoLineRelation(TavroLine{0, 0, 0}, l2);
    EXPECT_EQ(degenerate, 11);
    const int nan = L::geoLineRelation(TavroLine{kNaN, kNaN, kNaN}, l2);
    EXPECT_EQ(nan, 3);
}

TEST(GeoLineSegments, ParallelDependsOnLength) {
    EXPECT_TRUE(L::geoLineIsParallel(Pt(0, 0), Pt(1, 0), Pt(0, 1), Pt(2, 1)));
    EXPECT_TRUE(L::geoLineIsParallel(Pt(0, 0), Pt(1, 0), Pt(5, 5), Pt(7, 5 + 0.9e-6)));
    EXPECT_FALSE(L::geoLineIsParallel(Pt(0, 0), Pt(1, 0), Pt(5, 5), Pt(7, 5 + 1.1e-6)));
    // The same tiny turn of 1e-8 rad is parallel for a unit segment and not for a long one:
    // the cross product 1000 * 1e-8 = 1e-5 is not normalised.
    EXPECT_TRUE(L::geoLineIsParallel(Pt(0, 0), Pt(1, 0), Pt(0, 0), Pt(1, 1e-8)));
    EXPECT_FALSE(L::geoLineIsParallel(Pt(0, 0), Pt(1000, 0), Pt(0, 0), Pt(1, 1e-8)));
    // A zero-length segment is parallel to everything.
    EXPECT_TRUE(L::geoLineIsParallel(Pt(1, 1), Pt(1, 1), Pt(0, 0), Pt(3, 7)));
}

TEST(GeoLineSegments, IntersectWithTestsBothStraddles) {
    // End of one on the other: d1*d2 = 0 counts only with includeEnds.
    EXPECT_TRUE(L::geoIntersectWith(Pt(0, 0), Pt(2, 0), Pt(1, 0), Pt(1, 1), true));
    EXPECT_FALSE(L::geoIntersectWith(Pt(0, 0), Pt(2, 0), Pt(1, 0), Pt(1, 1), false));
    EXPECT_TRUE(L::geoIntersectWith(Pt(1, 0), Pt(1, 1), Pt(0, 0), Pt(2, 0), true));
    EXPECT_FALSE(L::geoIntersectWith(Pt(1, 0), Pt(1, 1), Pt(0, 0), Pt(2, 0), false));

    // (2,0)-(0,3) straddles the line of (0,0)-(1,1) (d1 = -2, d2 = 3), but (0,0)-(1,1) lies
    // wholly on one side of the line through (2,0) and (0,3) (6 and 1): no meeting.
    EXPECT_FALSE(L::geoIntersectWith(Pt(0, 0), Pt(1, 1), Pt(2, 0), Pt(0, 3), true));
    EXPECT_FALSE(L::geoIntersectWith(Pt(0, 0), Pt(1, 1), Pt(2, 0), Pt(0, 3), false));
    EXPECT_FALSE(L::geoIntersectWith(Pt(2, 0), Pt(0, 3), Pt(0, 0), Pt(1, 1), true));

    // A proper crossing, either way round.
    EXPECT_TRUE(L::geoIntersectWith(Pt(0, 0), Pt(2, 2), Pt(0, 2), Pt(2, 0), false));
    EXPECT_TRUE(L::geoIntersectWith(Pt(0, 2), Pt(2, 0), Pt(0, 0), Pt(2, 2), false));

    // Collinear: overlapping counts only with ends; apart is rejected by the boxes.
    EXPECT_TRUE(L::geoIntersectWith(Pt(0, 0), Pt(2, 0), Pt(1, 0), Pt(3, 0), true));
    EXPECT_FALSE(L::geoIntersectWith(Pt(0, 0), Pt(2, 0), Pt(1, 0), Pt(3, 0), false));
    EXPECT_FALSE(L::geoIntersectWith(Pt(0, 0), Pt(1, 0), Pt(2, 0), Pt(3, 0), true));
    EXPECT_FALSE(L::geoIntersectWith(Pt(0, 0), Pt(1, 1), Pt(2, 2), Pt(3, 3), true));

    // Boxes closed: touching corners meet with ends.
    EXPECT_TRUE(L::geoIntersectWith(Pt(0, 0), Pt(1, 1), Pt(1, 1), Pt(2, 0), true));
    EXPECT_FALSE(L::geoIntersectWith(Pt(0, 0), Pt(1, 1), Pt(1, 1), Pt(2, 0), false));

    EXPECT_FALSE(L::geoIntersectWith(Pt(kNaN, 0), Pt(2, 2), Pt(0, 2), Pt(2, 0), true));
    EXPECT_FALSE(L::geoIntersectWith(Pt(0, 0), Pt(2, 2), Pt(0, kNaN), Pt(2, 0), true));
}

TEST(GeoLineSegments, BoxOverlap) {
    // Corner of box 1 in box 2, and the reverse.
    EXPECT_TRUE(L::geoIsIntersection(Pt(0, 0), Pt(2, 2), Pt(1, 1), Pt(3, 3)));
    EXPECT_TRUE(L::geoIsIntersection(Pt(1, 1), Pt(3, 3), Pt(0, 0), Pt(2, 2)));
    // Containment.
    EXPECT_TRUE(L::geoIsIntersection(Pt(0, 0), Pt(3, 3), Pt(1, 1), Pt(2, 2)));
    EXPECT_TRUE(L::geoIsIntersection(Pt(1, 1), Pt(2, 2), Pt(0, 0), Pt(3, 3)));
    // A plus sign: no corner inside either box, yet they overlap.
    EXPECT_TRUE(L::geoIsIntersection(Pt(1, 0), Pt(2, 3), Pt(0, 1), Pt(3, 2)));
    EXPECT_TRUE(L::geoIsIntersection(Pt(0, 1), Pt(3, 2), Pt(1, 0), Pt(2, 3)));
    // Closed: a shared edge overlaps; a gap of 1e-9 does not.
    EXPECT_TRUE(L::geoIsIntersection(Pt(0, 0), Pt(1, 1), Pt(1, 0), Pt(2, 1)));
    EXPECT_FALSE(L::geoIsIntersection(Pt(0, 0), Pt(1, 1), Pt(1 + 1e-9, 0), Pt(2, 1)));
    EXPECT_FALSE(L::geoIsIntersection(Pt(0, 0), Pt(1, 1), Pt(0, 5), Pt(1, 6)));
    EXPECT_FALSE(L::geoIsIntersection(Pt(kNaN, kNaN), Pt(kNaN, kNaN), Pt(0, 0), Pt(1, 1)));
}

TEST(GeoLineSegments, PointInLineWithCallersTolerance) {
    // (2+e, 0) beyond the end of (0,0)-(2,0): |2 - (2+e) - e| = 2e against tol 0.01.
    EXPECT_TRUE(L::geoPointInLine(Pt(2.0049, 0), Pt(0, 0), Pt(2, 0), 0.01));
    EXPECT_FALSE(L::geoPointInLine(Pt(2.0051, 0), Pt(0, 0), Pt(2, 0), 0.01));
    EXPECT_TRUE(L::geoPointInLine(Pt(1, 0), Pt(0, 0), Pt(2, 0), 1e-12));
    // The test is strict, so tol 0 accepts nothing.
    EXPECT_FALSE(L::geoPointInLine(Pt(1, 0), Pt(0, 0), Pt(2, 0), 0.0));
    // Off the middle by h: the excess is 2*sqrt(1 + h^2) - 2 = h^2 against tol 1e-4.
    EXPECT_TRUE(L::geoPointInLine(Pt(1, std::sqrt(0.9e-4)), Pt(0, 0), Pt(2, 0), 1e-4));
    EXPECT_FALSE(L::geoPointInLine(Pt(1, std::sqrt(1.1e-4)), Pt(0, 0), Pt(2, 0), 1e-4));
    EXPECT_FALSE(L::geoPointInLine(Pt(kNaN, 0), Pt(0, 0), Pt(2, 0), 1.0));
}

TEST(GeoLineSegments, HorizontalOnlyTowardsPlusX) {
    EXPECT_TRUE(L::geoIsHorizontal(Pt(0, 0), Pt(1, 0)));
    EXPECT_FALSE(L::geoIsHorizontal(Pt(1, 0), Pt(0, 0)));
    EXPECT_TRUE(L::geoIsHorizontal(Pt(5, 5), Pt(5, 5)));
    EXPECT_FALSE(L::geoIsHorizontal(Pt(0, 0), Pt(0, 1)));
    // Direction angle atan(0.9e-6) just above 0 and 2pi - 0.9e-6 just below 2pi count;
    // 1.1e-6 either way does not.
    EXPECT_TRUE(L::geoIsHorizontal(Pt(0, 0), Pt(1000, 0.9e-3)));
    EXPECT_FALSE(L::geoIsHorizontal(Pt(0, 0), Pt(1000, 1.1e-3)));
    EXPECT_TRUE(L::geoIsHorizontal(Pt(0, 0), Pt(1000, -0.9e-3)));
    EXPECT_FALSE(L::geoIsHorizontal(Pt(0, 0), Pt(1000, -1.1e-3)));
}

TEST(GeoLineNearest, NearestPointAndEnds) {
    // Ends only: the nearer end, b on a tie.
    expectPoint(L::geoNearestPoint(Pt(0.4, 1), Pt(0, 0), Pt(1, 0), true), 0, 0);
    expectPoint(L::geoNearestPoint(Pt(0.5, 1), Pt(0, 0), Pt(1, 0), true), 1, 0);
    expectPoint(L::geoNearestPoint(Pt(0.6, 1), Pt(0, 0), Pt(1, 0), true), 1, 0);
    // Whole segment: the projection, clamped to the ends.
    expectPoint(L::geoNearestPoint(Pt(0.5, 1), Pt(0, 0), Pt(1, 0), false), 0.5, 0);
    expectPoint(L::geoNearestPoint(Pt(0, 2), Pt(0, 0), Pt(2, 2), false), 1, 1);
    expectPoint(L::geoNearestPoint(Pt(-1, 1), Pt(0, 0), Pt(1, 0), false), 0, 0);
    expectPoint(L::geoNearestPoint(Pt(3, 1), Pt(0, 0), Pt(1, 0), false), 1, 0);
    expectPoint(L::geoNearestPoint(Pt(3, 1), Pt(2, 2), Pt(2, 2), false), 2, 2);
    L::geoNearestPoint(Pt(kNaN, 1), Pt(0, 0), Pt(1, 0), false);
}

TEST(GeoLineNearest, PerpendicularFootNotClamped) {
    // Above a->b the first step (to the left) misses and the foot is found on the way back.
    expectPoint(L::geoVerticalPoint(Pt(1, 1), Pt(0, 0), Pt(2, 0)), 1, 0);
    // Below it the first step hits; beyond the end the foot stays on the infinite line.
    expectPoint(L::geoVerticalPoint(Pt(5, -3), Pt(0, 0), Pt(2, 0)), 5, 0);
    // Foot of (0,2) on y = x is (1,1); distance sqrt(2).
    expectPoint(L::geoVerticalPoint(Pt(0, 2), Pt(0, 0), Pt(2, 2)), 1, 1);
    expectPoint(L::geoVerticalPoint(Pt(0, 2), Pt(2, 2), Pt(0, 0)), 1, 1);
    // A point on the line is its own foot; a zero-length segment gives the point back.
    expectPoint(L::geoVerticalPoint(Pt(7, 0), Pt(0, 0), Pt(2, 0)), 7, 0);
    expectPoint(L::geoVerticalPoint(Pt(3, 4), Pt(1, 1), Pt(1, 1)), 3, 4);
    L::geoVerticalPoint(Pt(kNaN, kInf), Pt(0, 0), Pt(2, 0));
}

TEST(GeoLineNearest, DistanceToOpenPolyline) {
    EXPECT_EQ(L::geoPointDistPolyline(Pt(1, 1), AcArray<Pt>()), kSentinelDistance);
    EXPECT_EQ(L::geoPointDistPolyline(Pt(1, 1), nodes({Pt(0, 0)})), kSentinelDistance);
    const AcArray<Pt> hook = nodes({Pt(0, 0), Pt(2, 0), Pt(2, 2)});
    EXPECT_NEAR(L::geoPointDistPolyline(Pt(1, 0.5), hook), 0.5, 1e-12);
    EXPECT_NEAR(L::geoPointDistPolyline(Pt(3, 1), hook), 1.0, 1e-12);
    // Open: the missing closing edge (2,2)-(0,0) would be at distance 0 from (1,1).
    EXPECT_NEAR(L::geoPointDistPolyline(Pt(1, 1), hook), 1.0, 1e-12);
    EXPECT_NEAR(L::geoPointDistPolyline(Pt(-3, -4), hook), 5.0, 1e-12);
}

TEST(GeoLineLength, BulgeSegment) {
    // A half circle on chord 2 has radius 1 and length pi, either way round.
    EXPECT_NEAR(L::GetBulgeLineLength(Pt(0, 0), Pt(2, 0), 1.0), kPi, 1e-12);
    EXPECT_NEAR(L::GetBulgeLineLength(Pt(0, 0), Pt(2, 0), -1.0), kPi, 1e-12);
    // Quarter circle of radius 1 (bulge tan(pi/8)); three quarters (bulge tan(3pi/8)).
    EXPECT_NEAR(L::GetBulgeLineLength(Pt(1, 0), Pt(0, 1), std::tan(kPi / 8)), kPi / 2, 1e-12);
    EXPECT_NEAR(L::GetBulgeLineLength(Pt(1, 0), Pt(0, -1), std::tan(3 * kPi / 8)), 1.5 * kPi,
                1e-12);
    EXPECT_NEAR(L::GetBulgeLineLength(Pt(1, 0), Pt(0, 1), -std::tan(3 * kPi / 8)), 1.5 * kPi,
                1e-12);
    EXPECT_EQ(L::GetBulgeLineLength(Pt(0, 0), Pt(3, 4), 0.0), 5.0);

    // Below 1e-7 the chord itself; just above, a very flat arc of nearly the same length, and
    // not the zero the arc radius (which reads bulges below 1e-6 as straight) would give.
    EXPECT_EQ(L::GetBulgeLineLength(Pt(0, 0), Pt(2, 0), 0.9e-7), 2.0);
    EXPECT_EQ(L::GetBulgeLineLength(Pt(0, 0), Pt(2, 0), -0.9e-7), 2.0);
    EXPECT_NEAR(L::GetBulgeLineLength(Pt(0, 0), Pt(2, 0), 1.1e-7), 2.0, 1e-7);
    EXPECT_NEAR(L::GetBulgeLineLength(Pt(0, 0), Pt(2, 0), -1.1e-7), 2.0, 1e-7);
    EXPECT_NEAR(L::GetBulgeLineLength(Pt(0, 0), Pt(2, 0), 0.5e-6), 2.0, 1e-7);

    // A zero chord has no arc to measure.
    EXPECT_NEAR(L::GetBulgeLineLength(Pt(1, 1), Pt(1, 1), 1.0), 0.0, 1e-12);
    const double nan = L::GetBulgeLineLength(Pt(0, 0), Pt(2, 0), kNaN);
    EXPECT_FALSE(std::isfinite(nan));
    L::GetBulgeLineLength(Pt(0, 0), Pt(2, 0), kInf);
}

TEST(GeoLineLength, ArcAboutCentre) {
    EXPECT_NEAR(L::GetArcLength(Pt(0, 0), 2.0, Pt(2, 0), Pt(0, 2), false), kPi, 1e-12);
    EXPECT_NEAR(L::GetArcLength(Pt(0, 0), 2.0, Pt(2, 0), Pt(0, 2), true), 3 * kPi, 1e-12);
    EXPECT_NEAR(L::GetArcLength(Pt(0, 0), 2.0, Pt(0, 2), Pt(2, 0), true), kPi, 1e-12);
    // Equal angles give 0, never a whole circle.
    EXPECT_EQ(L::GetArcLength(Pt(0, 0), 2.0, Pt(2, 0), Pt(2, 0), false), 0.0);
    EXPECT_EQ(L::GetArcLength(Pt(0, 0), 2.0, Pt(2, 0), Pt(5, 0), true), 0.0);
}

TEST(GeoLineLength, BulgePolyline) {
    const AcArray<Pt> hook = nodes({Pt(0, 0), Pt(2, 0), Pt(2, 2)});
    EXPECT_NEAR(L::GetBulgeLineLength(hook, AcArray<double>{0, 0, 0}, false), 4.0, 1e-12);
    EXPECT_NEAR(L::GetBulgeLineLength(hook, AcArray<double>{0, 0, 0}, true),
                4.0 + 2 * std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(L::GetBulgeLineLength(hook, AcArray<double>{1, 0, 0}, false), kPi + 2, 1e-12);
    // The closing segment takes the last vertex's bulge: a half circle on chord 1.
    const AcArray<Pt> square = nodes({Pt(0, 0), Pt(1, 0), Pt(1, 1), Pt(0, 1)});
    EXPECT_NEAR(L::GetBulgeLineLength(square, AcArray<double>{0, 0, 0, 1}, true), 3 + kPi / 2,
                1e-12);
    EXPECT_NEAR(L::GetBulgeLineLength(square, AcArray<double>{0, 0, 0, 1}, false), 3.0, 1e-12);
    // Two half circles make a whole one.
    EXPECT_NEAR(L::GetBulgeLineLength(nodes({Pt(0, 0), Pt(2, 0)}), AcArray<double>{1, 1}, true),
                2 * kPi, 1e-12);

    // Bad input: too few vertices, or a bulge count other than the vertex count.
    EXPECT_EQ(L::GetBulgeLineLength(AcArray<Pt>(), AcArray<double>(), false), -1.0);
    EXPECT_EQ(L::GetBulgeLineLength(nodes({Pt(0, 0)}), AcArray<double>{0}, true), -1.0);
    EXPECT_EQ(L::GetBulgeLineLength(hook, AcArray<double>(), false), -1.0);
    EXPECT_EQ(L::GetBulgeLineLength(hook, AcArray<double>{0, 0}, false), -1.0);
    EXPECT_EQ(L::GetBulgeLineLength(hook, AcArray<double>{0, 0, 0, 0}, true), -1.0);
}

TEST(GeoLineParam, StraightSegment) {
    EXPECT_EQ(L::geoPointAtParam(Pt(0.5, 0), Pt(0, 0), Pt(2, 0), 0.0, 1e-10), 0.25);
    EXPECT_EQ(L::geoPointAtParam(Pt(0, 0), Pt(0, 0), Pt(2, 0), 0.0, 1e-10), 0.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(2, 0), Pt(0, 0), Pt(2, 0), 0.0, 1e-10), 1.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 1), Pt(0, 0), Pt(2, 0), 0.0, 1e-10), -1.0);
    // The caller's tol: excess 2e for a point e beyond the end, against tol 0.01; the fraction
    // itself is not clamped.
    EXPECT_NEAR(L::geoPointAtParam(Pt(2.0049, 0), Pt(0, 0), Pt(2, 0), 0.0, 0.01), 1.00245, 1e-12);
    EXPECT_EQ(L::geoPointAtParam(Pt(2.0051, 0), Pt(0, 0), Pt(2, 0), 0.0, 0.01), -1.0);
    // Bulge just inside 1e-6 is straight: the chord midpoint sits at 0.5. Just outside, the arc
    // takes over and the chord midpoint, 1.1e-6 off the arc, is not on it.
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 0), Pt(0, 0), Pt(2, 0), 0.9e-6, 1e-10), 0.5);
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 0), Pt(0, 0), Pt(2, 0), -0.9e-6, 1e-10), 0.5);
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 0), Pt(0, 0), Pt(2, 0), 1.1e-6, 1e-10), -1.0);
}

TEST(GeoLineParam, ArcSegmentRoutesToTheArc) {
    // Bulge 1 on (0,0)-(2,0) runs counterclockwise about (1,0), through (1,-1) at its middle.
    EXPECT_NEAR(L::geoPointAtParam(Pt(1, -1), Pt(0, 0), Pt(2, 0), 1.0, 1e-10), 0.5, 1e-12);
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 1), Pt(0, 0), Pt(2, 0), 1.0, 1e-10), -1.0);
    EXPECT_NEAR(L::geoPointAtParam(Pt(1, 1), Pt(0, 0), Pt(2, 0), -1.0, 1e-10), 0.5, 1e-12);
    // 45 degrees into the half circle is a quarter of its length.
    const double h = std::sqrt(0.5);
    EXPECT_NEAR(L::geoPointAtParam(Pt(1 - h, -h), Pt(0, 0), Pt(2, 0), 1.0, 1e-10), 0.25, 1e-12);
}

TEST(GeoLineParam, ZeroLengthSegment) {
    // A point within tol of a zero-length segment sits at 0; farther, it is off.
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 1), Pt(1, 1), Pt(1, 1), 0.0, 1e-6), 0.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(1 + 0.9e-6, 1), Pt(1, 1), Pt(1, 1), 0.0, 1e-6), 0.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(1 + 1.1e-6, 1), Pt(1, 1), Pt(1, 1), 0.0, 1e-6), -1.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(5, 5), Pt(1, 1), Pt(1, 1), 0.0, 1e-6), -1.0);
    // The same with a bulge: a zero chord carries no arc.
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 1), Pt(1, 1), Pt(1, 1), 1.0, 1e-6), 0.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(2, 1), Pt(1, 1), Pt(1, 1), -0.5, 1e-6), -1.0);
    // A segment shorter than 1e-6 counts as zero-length (its far end answers 0), one just longer
    // does not (its far end answers 1).
    EXPECT_EQ(L::geoPointAtParam(Pt(0.9e-6, 0), Pt(0, 0), Pt(0.9e-6, 0), 0.0, 1e-10), 0.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(1.1e-6, 0), Pt(0, 0), Pt(1.1e-6, 0), 0.0, 1e-10), 1.0);
    // Non-finite input is simply off.
    EXPECT_EQ(L::geoPointAtParam(Pt(kNaN, 0), Pt(0, 0), Pt(2, 0), 0.0, 1e-6), -1.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 0), Pt(kNaN, 0), Pt(kNaN, 0), 0.0, 1e-6), -1.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 0), Pt(0, 0), Pt(2, 0), 0.0, kNaN), -1.0);
}

TEST(GeoLineParam, Polyline) {
    const AcArray<Pt> line = nodes({Pt(0, 0), Pt(1, 0), Pt(2, 0)});
    const AcArray<double> none;
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 0), line, none, 1e-10), 1.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(1.5, 0), line, none, 1e-10), 1.5);
    EXPECT_EQ(L::geoPointAtParam(Pt(0.5, 1), line, none, 1e-10), -1.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(0, 0), line, none, 1e-10), 0.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(2, 0), line, none, 1e-10), 2.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 0), AcArray<Pt>(), none, 1e-10), -1.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 0), nodes({Pt(1, 0)}), none, 1e-10), -1.0);

    // The local parameter is cut down to a multiple of 1e-6.
    EXPECT_NEAR(L::geoPointAtParam(Pt(0.1234567891, 0), line, none, 1e-10), 0.123456, 1e-15);

    // Caller's tol: (-e, 0) lies e before the start, excess 2e, fraction e/1.
    EXPECT_NEAR(L::geoPointAtParam(Pt(-0.0049, 0), line, none, 0.01), 0.0049, 1e-15);
    EXPECT_EQ(L::geoPointAtParam(Pt(-0.0051, 0), line, none, 0.01), -1.0);

    // The smallest local parameter wins, not the earliest segment: (3,0) is at 0.75 of segment
    // 0 and at the start of segment 3.
    const AcArray<Pt> loop = nodes({Pt(0, 0), Pt(4, 0), Pt(4, 2), Pt(3, 0), Pt(3, -5)});
    EXPECT_EQ(L::geoPointAtParam(Pt(3, 0), loop, none, 1e-10), 3.0);
    // On equal local parameters the later segment wins: (1,0) at 0.5 of both.
    const AcArray<Pt> back = nodes({Pt(0, 0), Pt(2, 0), Pt(0, 0)});
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 0), back, none, 1e-10), 1.5);
}

TEST(GeoLineParam, PolylineBulgeArrays) {
    const AcArray<Pt> line = nodes({Pt(0, 0), Pt(2, 0), Pt(4, 0)});
    // A half circle on the first segment.
    EXPECT_NEAR(L::geoPointAtParam(Pt(1, -1), line, AcArray<double>{1, 0, 0}, 1e-10), 0.5, 1e-12);
    EXPECT_EQ(L::geoPointAtParam(Pt(1, 0), line, AcArray<double>{1, 0, 0}, 1e-10), -1.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(3, 0), line, AcArray<double>{1, 0, 0}, 1e-10), 1.5);
    // A short bulge array: the missing bulges are straight. A long one: the extra is ignored.
    EXPECT_NEAR(L::geoPointAtParam(Pt(1, -1), line, AcArray<double>{1}, 1e-10), 0.5, 1e-12);
    EXPECT_EQ(L::geoPointAtParam(Pt(3, 0), line, AcArray<double>{1}, 1e-10), 1.5);
    EXPECT_EQ(L::geoPointAtParam(Pt(3, 0), line, AcArray<double>{0, 0, 0, 9, 9}, 1e-10), 1.5);
    // A zero-length segment in the middle does not spoil the rest.
    const AcArray<Pt> stutter = nodes({Pt(0, 0), Pt(2, 0), Pt(2, 0), Pt(4, 0)});
    EXPECT_EQ(L::geoPointAtParam(Pt(3, 0), stutter, AcArray<double>(), 1e-10), 2.5);
    EXPECT_EQ(L::geoPointAtParam(Pt(2, 0), stutter, AcArray<double>(), 1e-10), 2.0);
    // Non-finite bulges or points leave the polyline without a place for the point.
    EXPECT_EQ(L::geoPointAtParam(Pt(3, 0), line, AcArray<double>{kNaN, kNaN, kNaN}, 1e-10), -1.0);
    EXPECT_EQ(L::geoPointAtParam(Pt(kNaN, 0), line, AcArray<double>(), 1e-10), -1.0);
}

TEST(GeoLineVertices, AddOnePoint) {
    AcArray<Pt> pts = nodes({Pt(0, 0), Pt(2, 0), Pt(2, 2)});
    // An existing vertex, or a point off the polyline, goes nowhere.
    EXPECT_FALSE(L::geoAddPointToLine(pts, Pt(2, 0)));
    EXPECT_FALSE(L::geoAddPointToLine(pts, Pt(1, 1)));
    EXPECT_EQ(pts.length(), 3);
    EXPECT_TRUE(L::geoAddPointToLine(pts, Pt(2, 1)));
    ASSERT_EQ(pts.length(), 4);
    expectPoint(pts[2], 2, 1);
    EXPECT_TRUE(L::geoAddPointToLine(pts, Pt(1, 0)));
    ASSERT_EQ(pts.length(), 5);
    expectPoint(pts[1], 1, 0);

    // Within 1e-6 of a vertex counts as that vertex; just outside is inserted.
    AcArray<Pt> seg = nodes({Pt(0, 0), Pt(2, 0)});
    EXPECT_FALSE(L::geoAddPointToLine(seg, Pt(0.9e-6, 0)));
    EXPECT_TRUE(L::geoAddPointToLine(seg, Pt(1.1e-6, 0)));
    EXPECT_EQ(seg.length(), 3);

    // On-segment test with the global point tolerance 1e-10: off the middle by h, excess h^2.
    seg = nodes({Pt(0, 0), Pt(2, 0)});
    EXPECT_FALSE(L::geoAddPointToLine(seg, Pt(1, std::sqrt(1.1e-10))));
    EXPECT_TRUE(L::geoAddPointToLine(seg, Pt(1, std::sqrt(0.9e-10))));

    AcArray<Pt> empty;
    EXPECT_FALSE(L::geoAddPointToLine(empty, Pt(0, 0)));
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(L::geoAddPointToLine(seg, Pt(kNaN, 0)));
}

TEST(GeoLineVertices, AddManyPoints) {
    AcArray<Pt> pts = nodes({Pt(0, 0), Pt(2, 0), Pt(2, 2)});
    const AcArray<Pt> add = nodes({Pt(1, 0), Pt(0.5, 0), Pt(2, 1), Pt(5, 5), Pt(1, 0)});
    // (0.5,0) goes into the segment (0,0)-(1,0) made by the first insertion; the repeated (1,0)
    // is then a vertex.
    EXPECT_EQ(L::geoAddPointToLine(pts, add), 3);
    ASSERT_EQ(pts.length(), 6);
    const double want[6][2] = {{0, 0}, {0.5, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}};
    for (int i = 0; i < 6; ++i)
        expectPoint(pts[i], want[i][0], want[i][1]);

    // Adding a polyline's own vertices to itself inserts nothing.
    EXPECT_EQ(L::geoAddPointToLine(pts, pts), 0);
    EXPECT_EQ(pts.length(), 6);
    // A self-overlapping polyline takes its own vertex (1,0) into the overlapping segment.
    AcArray<Pt> fold = nodes({Pt(0, 0), Pt(2, 0), Pt(1, 0)});
    EXPECT_EQ(L::geoAddPointToLine(fold, fold), 1);
    AcArray<Pt> empty;
    EXPECT_EQ(L::geoAddPointToLine(empty, add), 0);
}

TEST(GeoLineVertices, FindVertex) {
    const AcArray<Pt> pts = nodes({Pt(0, 0), Pt(2, 0), Pt(2, 2), Pt(2, 0)});
    int index = 42;
    EXPECT_TRUE(L::geoFindPtInNode(pts, Pt(2, 0), index));
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(L::geoFindPtInNode(pts, Pt(2, 2 + 0.9e-6), index));
    EXPECT_EQ(index, 2);
    index = 42;
    EXPECT_FALSE(L::geoFindPtInNode(pts, Pt(2, 2 + 1.1e-6), index));
    EXPECT_EQ(index, 42);
    EXPECT_FALSE(L::geoFindPtInNode(AcArray<Pt>(), Pt(0, 0), index));
    EXPECT_FALSE(L::geoFindPtInNode(pts, Pt(kNaN, 0), index));
    EXPECT_EQ(index, 42);
}

TEST(GeoLinePolygon, PointInStraightRing) {
    const AcArray<Pt> square = nodes({Pt(0, 0), Pt(2, 0), Pt(2, 2), Pt(0, 2)});
    EXPECT_TRUE(L::geoPointInNode(square, Pt(1, 1), 0));
    EXPECT_FALSE(L::geoPointInNode(square, Pt(3, 1), 0));
    EXPECT_FALSE(L::geoPointInNode(square, Pt(-1, 1), 0));
    EXPECT_FALSE(L::geoPointInNode(square, Pt(1, 3), 0));
    // tol takes no part.
    EXPECT_FALSE(L::geoPointInNode(square, Pt(2.5, 1), 100.0));
    // A closing vertex repeated at the end changes nothing.
    const AcArray<Pt> closed = nodes({Pt(0, 0), Pt(2, 0), Pt(2, 2), Pt(0, 2), Pt(0, 0)});
    EXPECT_TRUE(L::geoPointInNode(closed, Pt(1, 1), 0));
    // The notch of an L-shape is outside; both arms are inside.
    const AcArray<Pt> ell = nodes({Pt(0, 0), Pt(2, 0), Pt(2, 1), Pt(1, 1), Pt(1, 2), Pt(0, 2)});
    EXPECT_TRUE(L::geoPointInNode(ell, Pt(1.5, 0.5), 0));
    EXPECT_TRUE(L::geoPointInNode(ell, Pt(0.5, 1.5), 0));
    EXPECT_FALSE(L::geoPointInNode(ell, Pt(1.5, 1.5), 0));
    // Degenerate rings.
    EXPECT_FALSE(L::geoPointInNode(AcArray<Pt>(), Pt(0, 0), 0));
    EXPECT_FALSE(L::geoPointInNode(nodes({Pt(0, 0)}), Pt(0, 0), 0));
    EXPECT_FALSE(L::geoPointInNode(nodes({Pt(0, 0), Pt(0, 5)}), Pt(-1, 1), 0));
    EXPECT_FALSE(L::geoPointInNode(square, Pt(kNaN, 1), 0));
}

TEST(GeoLinePolygon, PointOnAnySegmentOfThePolyline) {
    const AcArray<Pt> hook = nodes({Pt(0, 0), Pt(2, 0), Pt(2, 2)});
    EXPECT_TRUE(L::geoPointOnPoly(Pt(1, 0), hook, AcArray<double>()));
    // On the second segment (parameter 1.5) and at the last vertex (parameter 2).
    EXPECT_TRUE(L::geoPointOnPoly(Pt(2, 1), hook, AcArray<double>()));
    EXPECT_TRUE(L::geoPointOnPoly(Pt(2, 2), hook, AcArray<double>()));
    EXPECT_FALSE(L::geoPointOnPoly(Pt(1, 1), hook, AcArray<double>()));
    // Global point tolerance 1e-10: off (1,0) by h, excess h^2.
    EXPECT_TRUE(L::geoPointOnPoly(Pt(1, std::sqrt(0.9e-10)), hook, AcArray<double>()));
    EXPECT_FALSE(L::geoPointOnPoly(Pt(1, std::sqrt(1.1e-10)), hook, AcArray<double>()));
    // With a half circle on the first segment (through (1,-1)).
    EXPECT_TRUE(L::geoPointOnPoly(Pt(1, -1), hook, AcArray<double>{1, 0, 0}));
    EXPECT_FALSE(L::geoPointOnPoly(Pt(1, 0), hook, AcArray<double>{1, 0, 0}));
    EXPECT_TRUE(L::geoPointOnPoly(Pt(2, 1), hook, AcArray<double>{1, 0, 0}));
    EXPECT_FALSE(L::geoPointOnPoly(Pt(0, 0), AcArray<Pt>(), AcArray<double>()));
    EXPECT_FALSE(L::geoPointOnPoly(Pt(kNaN, kNaN), hook, AcArray<double>{1}));
}

TEST(GeoLineExtents, VerticesAndArcs) {
    EXPECT_TRUE(isEmptyBox(L::geoLineExtends(AcArray<Pt>(), AcArray<double>())));
    const AcArray<Pt> tri = nodes({Pt(0, 0), Pt(2, 1), Pt(-1, 3)});
    expectBox(L::geoLineExtends(tri, AcArray<double>()), -1, 0, 2, 3);
    expectBox(L::geoLineExtends(tri, AcArray<double>{0, 0, 0}), -1, 0, 2, 3);
    // A bulge count other than the vertex count gives empty extents.
    EXPECT_TRUE(isEmptyBox(L::geoLineExtends(tri, AcArray<double>{0, 0})));
    EXPECT_TRUE(isEmptyBox(L::geoLineExtends(tri, AcArray<double>{0, 0, 0, 0})));

    // Half circle from (0,0) to (2,0) counterclockwise about (1,0) dips to y = -1.
    const AcArray<Pt> chord = nodes({Pt(0, 0), Pt(2, 0)});
    expectBox(L::geoLineExtends(chord, AcArray<double>{1, 0}), 0, -1, 2, 0);
    expectBox(L::geoLineExtends(chord, AcArray<double>{-1, 0}), 0, 0, 2, 1);
    // A bulge on the last vertex closes back to the first: (2,0) to (0,0) counterclockwise
    // passes (1,1).
    expectBox(L::geoLineExtends(chord, AcArray<double>{0, 1}), 0, 0, 2, 1);
    expectBox(L::geoLineExtends(chord, AcArray<double>{1, 1}), 0, -1, 2, 1);
    // A single vertex with a bulge is an arc of zero chord: the vertex alone.
    expectBox(L::geoLineExtends(nodes({Pt(3, 4)}), AcArray<double>{1}), 3, 4, 3, 4);
    // Bulges just inside 1e-6 add the vertices only.
    expectBox(L::geoLineExtends(chord, AcArray<double>{0.9e-6, -0.9e-6}), 0, 0, 2, 0);

    // Non-finite bulges and points do not crash.
    L::geoLineExtends(chord, AcArray<double>{kNaN, kInf});
    L::geoLineExtends(nodes({Pt(kNaN, 0), Pt(1, kInf)}), AcArray<double>{1, -1});
}
