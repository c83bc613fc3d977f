// Lines and segments: line equations and their relation, segment tests, nearest points, lengths,
// parameters along segments and bulge polylines, vertex insertion and lookup, point in polygon,
// point on polyline and polyline extents.

#include "TestSupport.h"

#include <type_traits>

namespace {
using L = CTavroGeoLine;
const double kSentinelDistance = 99999999.0;
const Pts kHook{P(0, 0), P(2, 0), P(2, 2)};

bool isEmptyBox(const AcDbExtents& e) {
    return e.minPoint().x > e.maxPoint().x;
}

// The parameter of pt on the segment a-b with the caller's tolerance.
double paramOn(const AcGePoint2d& pt, const AcGePoint2d& a, const AcGePoint2d& b, double bulge,
               double tol = 1e-10) {
    return L::geoPointAtParam(pt, a, b, bulge, tol);
}
} // namespace

static_assert(std::has_virtual_destructor<CTavroGeoLine>::value, "a base class");
static_assert(std::is_copy_constructible<CTavroGeoLine>::value &&
                  std::is_copy_assignable<CTavroGeoLine>::value,
              "a value type");

// Coefficients by hand: slope (y2-y1)/(x2-x1) made non-negative, c = -(a*x1 + b*y1).
TEST(GeoLineEquation, CoefficientsAndRelations) {
    using Tavro::kTol;
    EXPECT_TRUE(isLine(L::geoCreateLinearEquation(P(2, 0), P(2, 5)), 1, 0, -2));
    EXPECT_TRUE(isLine(L::geoCreateLinearEquation(P(0, 0), P(2, -2)), 1, 1, 0));
    // Slope 2 through (0,1): 2x - y + 1 = 0. A default line is (1, -1, 0).
    EXPECT_TRUE(isLine(L::geoCreateLinearEquation(P(0, 1), P(2, 5)), 2, -1, 1));
    EXPECT_TRUE(isLine(TavroLine(), 1, -1, 0));
    // The three coefficients construct in the order a, b, c, as brace initialisation does.
    EXPECT_TRUE(isLine(TavroLine(1.0, -2.0, 3.0), 1, -2, 3));
    EXPECT_TRUE(isLine(TavroLine{4.0, 5.0, 6.0}, 4, 5, 6));
    // dx just inside kTol is vertical x = x1; just outside it is a steep line through both.
    EXPECT_TRUE(isLine(L::geoCreateLinearEquation(P(3, 0), P(3 + 0.9 * kTol, 1)), 1, 0, -3));
    const TavroLine steep = L::geoCreateLinearEquation(P(3, 0), P(3 + 1.1 * kTol, 1));
    EXPECT_EQ(steep.b, -1.0);
    EXPECT_NEAR(steep.a, 1.0 / (1.1 * kTol), 1e-3);
    EXPECT_NEAR(steep.a * (3 + 1.1 * kTol) + steep.b * 1 + steep.c, 0.0, 1e-6);

    const TavroLine diag = L::geoCreateLinearEquation(P(0, 0), P(1, 1));    // y = x
    const TavroLine anti = L::geoCreateLinearEquation(P(0, 0), P(1, -1));   // y = -x
    const TavroLine shifted = L::geoCreateLinearEquation(P(0, 1), P(1, 2)); // y = x + 1
    const TavroLine steeper = L::geoCreateLinearEquation(P(0, 0), P(1, 2)); // y = 2x
    EXPECT_EQ(L::geoLineRelation(diag, anti), Tavro::kLinePerpendicular);
    EXPECT_EQ(L::geoLineRelation(diag, shifted), Tavro::kLineParallel);
    EXPECT_EQ(L::geoLineRelation(diag, steeper), Tavro::kLineCross);
    // Horizontal and vertical are perpendicular in either order.
    const TavroLine horizontal = L::geoCreateLinearEquation(P(0, 0), P(1, 0));
    const TavroLine vertical = L::geoCreateLinearEquation(P(0, 0), P(0, 1));
    EXPECT_EQ(L::geoLineRelation(horizontal, vertical), Tavro::kLinePerpendicular);
    EXPECT_EQ(L::geoLineRelation(vertical, horizontal), Tavro::kLinePerpendicular);
    // The dot product a1*a2 + b1*b2, and the cross product a1*b2 - a2*b1, against kTol.
    const TavroLine l1{1.0, 0.0, 0.0}, l2{1.0, -1.0, 0.0};
    EXPECT_ACROSS_TOL(kTol, L::geoLineRelation(l1, TavroLine{d, 1.0, 0.0}),
                      Tavro::kLinePerpendicular, Tavro::kLineCross);
    EXPECT_ACROSS_TOL(kTol, L::geoLineRelation(l2, TavroLine{1.0 + d, -1.0, 7.0}),
                      Tavro::kLineParallel, Tavro::kLineCross);
    // Degenerate and non-finite coefficients still answer one of the three codes.
    EXPECT_EQ(L::geoLineRelation(TavroLine{0, 0, 0}, l2), Tavro::kLinePerpendicular);
    EXPECT_EQ(L::geoLineRelation(TavroLine{kNaN, kNaN, kNaN}, l2), Tavro::kLineCross);
}

TEST(GeoLineSegments, ParallelAndIntersecting) {
    EXPECT_TRUE(L::geoLineIsParallel(P(0, 0), P(1, 0), P(0, 1), P(2, 1)));
    // The same tiny turn of 1e-8 rad is parallel for a unit segment and not for a long one:
    // the cross product 1000 * 1e-8 = 1e-5 is not normalised.
    EXPECT_TRUE(L::geoLineIsParallel(P(0, 0), P(1, 0), P(0, 0), P(1, 1e-8)));
    EXPECT_FALSE(L::geoLineIsParallel(P(0, 0), P(1000, 0), P(0, 0), P(1, 1e-8)));
    // A zero-length segment is parallel to everything.
    EXPECT_TRUE(L::geoLineIsParallel(P(1, 1), P(1, 1), P(0, 0), P(3, 7)));

    // End of one on the other: d1*d2 = 0 counts only with includeEnds.
    EXPECT_TRUE(L::geoIntersectWith(P(0, 0), P(2, 0), P(1, 0), P(1, 1), true));
    EXPECT_FALSE(L::geoIntersectWith(P(0, 0), P(2, 0), P(1, 0), P(1, 1), false));
    EXPECT_TRUE(L::geoIntersectWith(P(1, 0), P(1, 1), P(0, 0), P(2, 0), true));
    EXPECT_FALSE(L::geoIntersectWith(P(1, 0), P(1, 1), P(0, 0), P(2, 0), false));
    // (2,0)-(0,3) straddles the line of (0,0)-(1,1) (d1 = -2, d2 = 3), but (0,0)-(1,1) lies
    // wholly on one side of the line through (2,0) and (0,3) (6 and 1): no meeting.
    EXPECT_FALSE(L::geoIntersectWith(P(0, 0), P(1, 1), P(2, 0), P(0, 3), true));
    EXPECT_FALSE(L::geoIntersectWith(P(2, 0), P(0, 3), P(0, 0), P(1, 1), true));
    // A proper crossing.
    EXPECT_TRUE(L::geoIntersectWith(P(0, 0), P(2, 2), P(0, 2), P(2, 0), false));
    // Collinear: overlapping counts only with ends; apart is rejected by the boxes.
    EXPECT_TRUE(L::geoIntersectWith(P(0, 0), P(2, 0), P(1, 0), P(3, 0), true));
    EXPECT_FALSE(L::geoIntersectWith(P(0, 0), P(2, 0), P(1, 0), P(3, 0), false));
    EXPECT_FALSE(L::geoIntersectWith(P(0, 0), P(1, 0), P(2, 0), P(3, 0), true));
    EXPECT_FALSE(L::geoIntersectWith(P(0, 0), P(1, 1), P(2, 2), P(3, 3), true));
    // Boxes closed: touching corners meet with ends.
    EXPECT_TRUE(L::geoIntersectWith(P(0, 0), P(1, 1), P(1, 1), P(2, 0), true));
    EXPECT_FALSE(L::geoIntersectWith(P(0, 0), P(1, 1), P(1, 1), P(2, 0), false));
    EXPECT_FALSE(L::geoIntersectWith(P(kNaN, 0), P(2, 2), P(0, 2), P(2, 0), true));
    EXPECT_FALSE(L::geoIntersectWith(P(0, 0), P(2, 2), P(0, kNaN), P(2, 0), true));
}

TEST(GeoLineSegments, BoxOverlapPointInLineAndHorizontal) {
    // Corner of box 1 in box 2; containment either way.
    EXPECT_TRUE(L::geoIsIntersection(P(0, 0), P(2, 2), P(1, 1), P(3, 3)));
    EXPECT_TRUE(L::geoIsIntersection(P(0, 0), P(3, 3), P(1, 1), P(2, 2)));
    EXPECT_TRUE(L::geoIsIntersection(P(1, 1), P(2, 2), P(0, 0), P(3, 3)));
    // A plus sign: no corner inside either box, yet they overlap.
    EXPECT_TRUE(L::geoIsIntersection(P(1, 0), P(2, 3), P(0, 1), P(3, 2)));
    EXPECT_TRUE(L::geoIsIntersection(P(0, 1), P(3, 2), P(1, 0), P(2, 3)));
    // Closed: a shared edge overlaps; a gap of 1e-9 does not.
    EXPECT_TRUE(L::geoIsIntersection(P(0, 0), P(1, 1), P(1, 0), P(2, 1)));
    EXPECT_FALSE(L::geoIsIntersection(P(0, 0), P(1, 1), P(1 + 1e-9, 0), P(2, 1)));
    EXPECT_FALSE(L::geoIsIntersection(P(0, 0), P(1, 1), P(0, 5), P(1, 6)));
    EXPECT_FALSE(L::geoIsIntersection(P(kNaN, kNaN), P(kNaN, kNaN), P(0, 0), P(1, 1)));
    // The point-in-line test is strict, so tol 0 accepts nothing.
    EXPECT_TRUE(L::geoPointInLine(P(1, 0), P(0, 0), P(2, 0), 1e-12));
    EXPECT_FALSE(L::geoPointInLine(P(1, 0), P(0, 0), P(2, 0), 0.0));
    EXPECT_FALSE(L::geoPointInLine(P(kNaN, 0), P(0, 0), P(2, 0), 1.0));
    // Horizontal runs only towards +x.
    EXPECT_TRUE(L::geoIsHorizontal(P(0, 0), P(1, 0)));
    EXPECT_FALSE(L::geoIsHorizontal(P(1, 0), P(0, 0)));
    EXPECT_TRUE(L::geoIsHorizontal(P(5, 5), P(5, 5)));
    EXPECT_FALSE(L::geoIsHorizontal(P(0, 0), P(0, 1)));
}

TEST(GeoLineSegments, ToleranceBoundaries) {
    using Tavro::kTol;
    const double callerTol = 0.01, looseTol = 1e-4;
    // The cross product (1,0) x (2,d) = d, not normalised.
    EXPECT_ACROSS_TOL(kTol, L::geoLineIsParallel(P(0, 0), P(1, 0), P(5, 5), P(7, 5 + d)), true,
                      false);
    // (2+e, 0) beyond the end of (0,0)-(2,0): the excess |2 - (2+e) - e| is 2e = d.
    EXPECT_ACROSS_TOL(callerTol, L::geoPointInLine(P(2 + d / 2, 0), P(0, 0), P(2, 0), callerTol),
                      true, false);
    // Off the middle by h: the excess 2*sqrt(1 + h^2) - 2 is h^2 = d.
    EXPECT_ACROSS_TOL(looseTol, L::geoPointInLine(P(1, std::sqrt(d)), P(0, 0), P(2, 0), looseTol),
                      true, false);
    // A direction angle of atan(d) above 0, or 2pi - d below 2pi.
    EXPECT_ACROSS_TOL(kTol, L::geoIsHorizontal(P(0, 0), P(1000, 1000 * d)), true, false);
    EXPECT_ACROSS_TOL(kTol, L::geoIsHorizontal(P(0, 0), P(1000, -1000 * d)), true, false);
}

TEST(GeoLineNearest, NearestPointFootAndDistance) {
    // Ends only: the nearer end, b on a tie.
    expectNear(L::geoNearestPoint(P(0.4, 1), P(0, 0), P(1, 0), true), 0, 0);
    expectNear(L::geoNearestPoint(P(0.5, 1), P(0, 0), P(1, 0), true), 1, 0);
    expectNear(L::geoNearestPoint(P(0.6, 1), P(0, 0), P(1, 0), true), 1, 0);
    // Whole segment: the projection, clamped to the ends.
    expectNear(L::geoNearestPoint(P(0.5, 1), P(0, 0), P(1, 0), false), 0.5, 0);
    expectNear(L::geoNearestPoint(P(0, 2), P(0, 0), P(2, 2), false), 1, 1);
    expectNear(L::geoNearestPoint(P(-1, 1), P(0, 0), P(1, 0), false), 0, 0);
    expectNear(L::geoNearestPoint(P(3, 1), P(0, 0), P(1, 0), false), 1, 0);
    expectNear(L::geoNearestPoint(P(3, 1), P(2, 2), P(2, 2), false), 2, 2);

    // The perpendicular foot is not clamped. Above a->b the first step (to the left) misses and
    // the foot is found on the way back; below it the first step hits.
    expectNear(L::geoVerticalPoint(P(1, 1), P(0, 0), P(2, 0)), 1, 0);
    expectNear(L::geoVerticalPoint(P(5, -3), P(0, 0), P(2, 0)), 5, 0);
    // Foot of (0,2) on y = x is (1,1), whichever way the segment runs.
    expectNear(L::geoVerticalPoint(P(0, 2), P(0, 0), P(2, 2)), 1, 1);
    expectNear(L::geoVerticalPoint(P(0, 2), P(2, 2), P(0, 0)), 1, 1);
    // A point on the line is its own foot; a zero-length segment gives the point back.
    expectNear(L::geoVerticalPoint(P(7, 0), P(0, 0), P(2, 0)), 7, 0);
    expectNear(L::geoVerticalPoint(P(3, 4), P(1, 1), P(1, 1)), 3, 4);

    EXPECT_EQ(L::geoPointDistPolyline(P(1, 1), Pts()), kSentinelDistance);
    EXPECT_EQ(L::geoPointDistPolyline(P(1, 1), Pts{P(0, 0)}), kSentinelDistance);
    EXPECT_NEAR(L::geoPointDistPolyline(P(1, 0.5), kHook), 0.5, 1e-12);
    EXPECT_NEAR(L::geoPointDistPolyline(P(3, 1), kHook), 1.0, 1e-12);
    // Open: the missing closing edge (2,2)-(0,0) would be at distance 0 from (1,1).
    EXPECT_NEAR(L::geoPointDistPolyline(P(1, 1), kHook), 1.0, 1e-12);
    EXPECT_NEAR(L::geoPointDistPolyline(P(-3, -4), kHook), 5.0, 1e-12);
}

TEST(GeoLineLength, BulgeSegmentArcAndPolyline) {
    // A half circle on chord 2 has radius 1 and length pi, either way round.
    EXPECT_NEAR(L::GetBulgeLineLength(P(0, 0), P(2, 0), 1.0), kPi, 1e-12);
    EXPECT_NEAR(L::GetBulgeLineLength(P(0, 0), P(2, 0), -1.0), kPi, 1e-12);
    // Quarter circle of radius 1 (bulge tan(pi/8)); three quarters (bulge tan(3pi/8)).
    EXPECT_NEAR(L::GetBulgeLineLength(P(1, 0), P(0, 1), std::tan(kPi / 8)), kPi / 2, 1e-12);
    EXPECT_NEAR(L::GetBulgeLineLength(P(1, 0), P(0, -1), std::tan(3 * kPi / 8)), 1.5 * kPi, 1e-12);
    EXPECT_NEAR(L::GetBulgeLineLength(P(1, 0), P(0, 1), -std::tan(3 * kPi / 8)), 1.5 * kPi, 1e-12);
    EXPECT_EQ(L::GetBulgeLineLength(P(0, 0), P(3, 4), 0.0), 5.0);
    // Below kLengthStraightBulge the chord itself; just above, a very flat arc of nearly the
    // same length, and not the zero the arc radius (straight below kTol) would give.
    const double straight = Tavro::kLengthStraightBulge;
    EXPECT_EQ(L::GetBulgeLineLength(P(0, 0), P(2, 0), 0.9 * straight), 2.0);
    EXPECT_NEAR(L::GetBulgeLineLength(P(0, 0), P(2, 0), 1.1 * straight), 2.0, 1e-7);
    EXPECT_NEAR(L::GetBulgeLineLength(P(0, 0), P(2, 0), -1.1 * straight), 2.0, 1e-7);
    // A zero chord has no arc to measure.
    EXPECT_NEAR(L::GetBulgeLineLength(P(1, 1), P(1, 1), 1.0), 0.0, 1e-12);
    EXPECT_FALSE(std::isfinite(L::GetBulgeLineLength(P(0, 0), P(2, 0), kNaN)));

    EXPECT_NEAR(L::GetArcLength(P(0, 0), 2.0, P(2, 0), P(0, 2), false), kPi, 1e-12);
    EXPECT_NEAR(L::GetArcLength(P(0, 0), 2.0, P(2, 0), P(0, 2), true), 3 * kPi, 1e-12);
    EXPECT_NEAR(L::GetArcLength(P(0, 0), 2.0, P(0, 2), P(2, 0), true), kPi, 1e-12);
    // Equal angles give 0, never a whole circle.
    EXPECT_EQ(L::GetArcLength(P(0, 0), 2.0, P(2, 0), P(2, 0), false), 0.0);
    EXPECT_EQ(L::GetArcLength(P(0, 0), 2.0, P(2, 0), P(5, 0), true), 0.0);

    EXPECT_NEAR(L::GetBulgeLineLength(kHook, Doubles{0, 0, 0}, false), 4.0, 1e-12);
    EXPECT_NEAR(L::GetBulgeLineLength(kHook, Doubles{0, 0, 0}, true), 4.0 + 2 * std::sqrt(2.0),
                1e-12);
    EXPECT_NEAR(L::GetBulgeLineLength(kHook, Doubles{1, 0, 0}, false), kPi + 2, 1e-12);
    // The closing segment takes the last vertex's bulge: a half circle on chord 1.
    EXPECT_NEAR(L::GetBulgeLineLength(square(0, 0, 1), Doubles{0, 0, 0, 1}, true), 3 + kPi / 2,
                1e-12);
    EXPECT_NEAR(L::GetBulgeLineLength(square(0, 0, 1), Doubles{0, 0, 0, 1}, false), 3.0, 1e-12);
    // Two half circles make a whole one.
    EXPECT_NEAR(L::GetBulgeLineLength(Pts{P(0, 0), P(2, 0)}, Doubles{1, 1}, true), 2 * kPi, 1e-12);
    // Bad input: too few vertices, or a bulge count other than the vertex count.
    EXPECT_EQ(L::GetBulgeLineLength(Pts(), Doubles(), false), -1.0);
    EXPECT_EQ(L::GetBulgeLineLength(Pts{P(0, 0)}, Doubles{0}, true), -1.0);
    EXPECT_EQ(L::GetBulgeLineLength(kHook, Doubles(), false), -1.0);
    EXPECT_EQ(L::GetBulgeLineLength(kHook, Doubles{0, 0}, false), -1.0);
    EXPECT_EQ(L::GetBulgeLineLength(kHook, Doubles{0, 0, 0, 0}, true), -1.0);
}

TEST(GeoLineParam, Segment) {
    const AcGePoint2d a(0, 0), b(2, 0);
    EXPECT_EQ(paramOn(P(0.5, 0), a, b, 0.0), 0.25);
    EXPECT_EQ(paramOn(P(0, 0), a, b, 0.0), 0.0);
    EXPECT_EQ(paramOn(P(2, 0), a, b, 0.0), 1.0);
    EXPECT_EQ(paramOn(P(1, 1), a, b, 0.0), -1.0);
    // The caller's tol: excess 2e for a point e beyond the end; the fraction is not clamped.
    EXPECT_NEAR(paramOn(P(2.0049, 0), a, b, 0.0, 0.01), 1.00245, 1e-12);
    // A point on a zero-length segment sits at 0; a zero chord carries no arc.
    const AcGePoint2d c(1, 1);
    EXPECT_EQ(paramOn(P(1, 1), c, c, 0.0, Tavro::kTol), 0.0);
    EXPECT_EQ(paramOn(P(5, 5), c, c, 0.0, Tavro::kTol), -1.0);
    EXPECT_EQ(paramOn(P(1, 1), c, c, 1.0, Tavro::kTol), 0.0);
    EXPECT_EQ(paramOn(P(2, 1), c, c, -0.5, Tavro::kTol), -1.0);
    EXPECT_EQ(paramOn(P(2.0051, 0), a, b, 0.0, 0.01), -1.0);
    using Tavro::kTol;
    // A straight bulge puts the chord midpoint at 0.5; an arc leaves it d off the curve.
    EXPECT_ACROSS_TOL(kTol, paramOn(P(1, 0), a, b, d), 0.5, -1.0);
    EXPECT_ACROSS_TOL(kTol, paramOn(P(1, 0), a, b, -d), 0.5, -1.0);
    // A point d from a zero-length segment; a segment shorter than kTol is zero-length (its far
    // end answers 0, not 1).
    EXPECT_ACROSS_TOL(kTol, paramOn(P(1 + d, 1), c, c, 0.0, kTol), 0.0, -1.0);
    EXPECT_ACROSS_TOL(kTol, paramOn(P(d, 0), a, P(d, 0), 0.0), 0.0, 1.0);
    // Non-finite input is simply off.
    EXPECT_EQ(paramOn(P(kNaN, 0), a, b, 0.0, 1e-6), -1.0);
    EXPECT_EQ(paramOn(P(1, 0), P(kNaN, 0), P(kNaN, 0), 0.0, 1e-6), -1.0);
    EXPECT_EQ(paramOn(P(1, 0), a, b, 0.0, kNaN), -1.0);
}

TEST(GeoLineParam, Polyline) {
    const Pts line{P(0, 0), P(1, 0), P(2, 0)};
    const Doubles none;
    EXPECT_EQ(L::geoPointAtParam(P(1, 0), line, none, 1e-10), 1.0);
    EXPECT_EQ(L::geoPointAtParam(P(1.5, 0), line, none, 1e-10), 1.5);
    EXPECT_EQ(L::geoPointAtParam(P(0.5, 1), line, none, 1e-10), -1.0);
    EXPECT_EQ(L::geoPointAtParam(P(0, 0), line, none, 1e-10), 0.0);
    EXPECT_EQ(L::geoPointAtParam(P(2, 0), line, none, 1e-10), 2.0);
    EXPECT_EQ(L::geoPointAtParam(P(1, 0), Pts(), none, 1e-10), -1.0);
    EXPECT_EQ(L::geoPointAtParam(P(1, 0), Pts{P(1, 0)}, none, 1e-10), -1.0);
    // The local parameter is cut down to a multiple of 1e-6.
    EXPECT_NEAR(L::geoPointAtParam(P(0.1234567891, 0), line, none, 1e-10), 0.123456, 1e-15);
    // Caller's tol: (-e, 0) lies e before the start, excess 2e, fraction e/1.
    EXPECT_NEAR(L::geoPointAtParam(P(-0.0049, 0), line, none, 0.01), 0.0049, 1e-15);
    EXPECT_EQ(L::geoPointAtParam(P(-0.0051, 0), line, none, 0.01), -1.0);
    // The smallest local parameter wins, not the earliest segment: (3,0) is at 0.75 of segment
    // 0 and at the start of segment 3. On equal local parameters the later segment wins: (1,0)
    // at 0.5 of both.
    const Pts loop{P(0, 0), P(4, 0), P(4, 2), P(3, 0), P(3, -5)};
    EXPECT_EQ(L::geoPointAtParam(P(3, 0), loop, none, 1e-10), 3.0);
    EXPECT_EQ(L::geoPointAtParam(P(1, 0), Pts{P(0, 0), P(2, 0), P(0, 0)}, none, 1e-10), 1.5);

    // A half circle on the first segment.
    const Pts wide{P(0, 0), P(2, 0), P(4, 0)};
    EXPECT_NEAR(L::geoPointAtParam(P(1, -1), wide, Doubles{1, 0, 0}, 1e-10), 0.5, 1e-12);
    EXPECT_EQ(L::geoPointAtParam(P(1, 0), wide, Doubles{1, 0, 0}, 1e-10), -1.0);
    EXPECT_EQ(L::geoPointAtParam(P(3, 0), wide, Doubles{1, 0, 0}, 1e-10), 1.5);
    // A short bulge array: the missing bulges are straight. A long one: the extra is ignored.
    EXPECT_NEAR(L::geoPointAtParam(P(1, -1), wide, Doubles{1}, 1e-10), 0.5, 1e-12);
    EXPECT_EQ(L::geoPointAtParam(P(3, 0), wide, Doubles{1}, 1e-10), 1.5);
    EXPECT_EQ(L::geoPointAtParam(P(3, 0), wide, Doubles{0, 0, 0, 9, 9}, 1e-10), 1.5);
    // A zero-length segment in the middle does not spoil the rest.
    const Pts stutter{P(0, 0), P(2, 0), P(2, 0), P(4, 0)};
    EXPECT_EQ(L::geoPointAtParam(P(3, 0), stutter, none, 1e-10), 2.5);
    EXPECT_EQ(L::geoPointAtParam(P(2, 0), stutter, none, 1e-10), 2.0);
    // Non-finite bulges or points leave the polyline without a place for the point.
    EXPECT_EQ(L::geoPointAtParam(P(3, 0), wide, Doubles{kNaN, kNaN, kNaN}, 1e-10), -1.0);
    EXPECT_EQ(L::geoPointAtParam(P(kNaN, 0), wide, none, 1e-10), -1.0);
}

TEST(GeoLineVertices, AddAndFind) {
    Pts pts = kHook;
    // An existing vertex, or a point off the polyline, goes nowhere.
    EXPECT_FALSE(L::geoAddPointToLine(pts, P(2, 0)));
    EXPECT_FALSE(L::geoAddPointToLine(pts, P(1, 1)));
    EXPECT_TRUE(L::geoAddPointToLine(pts, P(2, 1)));
    EXPECT_TRUE(L::geoAddPointToLine(pts, P(1, 0)));
    EXPECT_EQ(pts, (Pts{P(0, 0), P(1, 0), P(2, 0), P(2, 1), P(2, 2)}));
    Pts empty;
    EXPECT_FALSE(L::geoAddPointToLine(empty, P(0, 0)));
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(L::geoAddPointToLine(pts, P(kNaN, 0)));

    // (0.5,0) goes into the segment (0,0)-(1,0) made by the first insertion; the repeated (1,0)
    // is then a vertex.
    pts = kHook;
    const Pts add{P(1, 0), P(0.5, 0), P(2, 1), P(5, 5), P(1, 0)};
    EXPECT_EQ(L::geoAddPointToLine(pts, add), 3);
    ASSERT_EQ(pts.length(), 6);
    const double want[6][2] = {{0, 0}, {0.5, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}};
    for (int i = 0; i < 6; ++i)
        expectNear(pts[i], want[i][0], want[i][1]);
    // Adding a polyline's own vertices to itself inserts nothing; a self-overlapping polyline
    // takes its own vertex (1,0) into the overlapping segment.
    EXPECT_EQ(L::geoAddPointToLine(pts, pts), 0);
    EXPECT_EQ(pts.length(), 6);
    Pts fold{P(0, 0), P(2, 0), P(1, 0)};
    EXPECT_EQ(L::geoAddPointToLine(fold, fold), 1);
    EXPECT_EQ(L::geoAddPointToLine(empty, add), 0);

    const Pts withRepeat{P(0, 0), P(2, 0), P(2, 2), P(2, 0)};
    int index = 42;
    EXPECT_TRUE(L::geoFindPtInNode(withRepeat, P(2, 0), index));
    EXPECT_EQ(index, 1);
    index = 42;
    EXPECT_FALSE(L::geoFindPtInNode(Pts(), P(0, 0), index));
    EXPECT_FALSE(L::geoFindPtInNode(withRepeat, P(kNaN, 0), index));
    EXPECT_EQ(index, 42);
}

TEST(GeoLineVertices, ToleranceBoundaries) {
    using Tavro::kTol;
    const double equalPoint = Tavro::kEqualPointDefault;
    // Whether the point joins a fresh (0,0)-(2,0) as a new vertex.
    auto added = [](const AcGePoint2d& p) {
        Pts seg{P(0, 0), P(2, 0)};
        return L::geoAddPointToLine(seg, p) && seg.length() == 3;
    };
    // Within kTol of a vertex is that vertex; on the segment within the host's point tolerance
    // (off the middle by h, excess h^2).
    EXPECT_ACROSS_TOL(kTol, added(P(d, 0)), false, true);
    EXPECT_ACROSS_TOL(equalPoint, added(P(1, std::sqrt(d))), true, false);
    EXPECT_ACROSS_TOL(equalPoint, L::geoPointOnPoly(P(1, std::sqrt(d)), kHook, Doubles()), true,
                      false);
    const Pts withRepeat{P(0, 0), P(2, 0), P(2, 2), P(2, 0)};
    int index = -1;
    EXPECT_ACROSS_TOL(kTol, L::geoFindPtInNode(withRepeat, P(2, 2 + d), index) ? index : -1, 2, -1);
}

TEST(GeoLinePolygon, PointInRingAndOnPolyline) {
    const Pts sq = square(0, 0, 2);
    EXPECT_TRUE(L::geoPointInNode(sq, P(1, 1), 0));
    EXPECT_FALSE(L::geoPointInNode(sq, P(3, 1), 0));
    EXPECT_FALSE(L::geoPointInNode(sq, P(-1, 1), 0));
    EXPECT_FALSE(L::geoPointInNode(sq, P(1, 3), 0));
    // tol takes no part.
    EXPECT_FALSE(L::geoPointInNode(sq, P(2.5, 1), 100.0));
    // A closing vertex repeated at the end changes nothing.
    EXPECT_TRUE(L::geoPointInNode(closedSquare(0, 0, 2), P(1, 1), 0));
    // The notch of an L-shape is outside; both arms are inside.
    const Pts ell{P(0, 0), P(2, 0), P(2, 1), P(1, 1), P(1, 2), P(0, 2)};
    EXPECT_TRUE(L::geoPointInNode(ell, P(1.5, 0.5), 0));
    EXPECT_TRUE(L::geoPointInNode(ell, P(0.5, 1.5), 0));
    EXPECT_FALSE(L::geoPointInNode(ell, P(1.5, 1.5), 0));
    // Degenerate rings.
    EXPECT_FALSE(L::geoPointInNode(Pts(), P(0, 0), 0));
    EXPECT_FALSE(L::geoPointInNode(Pts{P(0, 0)}, P(0, 0), 0));
    EXPECT_FALSE(L::geoPointInNode(Pts{P(0, 0), P(0, 5)}, P(-1, 1), 0));
    EXPECT_FALSE(L::geoPointInNode(sq, P(kNaN, 1), 0));

    // On the polyline means a parameter found at the host's point tolerance: the cases are
    // those of GeoLineParam.Polyline, the tolerance is crossed in ToleranceBoundaries. The
    // bulges go along.
    EXPECT_TRUE(L::geoPointOnPoly(P(1, -1), kHook, Doubles{1, 0, 0}));
    EXPECT_FALSE(L::geoPointOnPoly(P(1, 0), kHook, Doubles{1, 0, 0}));
}

TEST(GeoLineExtents, VerticesAndArcs) {
    EXPECT_TRUE(isEmptyBox(L::geoLineExtends(Pts(), Doubles())));
    const Pts tri{P(0, 0), P(2, 1), P(-1, 3)};
    expectBox(L::geoLineExtends(tri, Doubles()), -1, 0, 2, 3);
    expectBox(L::geoLineExtends(tri, Doubles{0, 0, 0}), -1, 0, 2, 3);
    // A bulge count other than the vertex count gives empty extents.
    EXPECT_TRUE(isEmptyBox(L::geoLineExtends(tri, Doubles{0, 0})));
    EXPECT_TRUE(isEmptyBox(L::geoLineExtends(tri, Doubles{0, 0, 0, 0})));
    // Half circle from (0,0) to (2,0) counterclockwise about (1,0) dips to y = -1; a bulge on
    // the last vertex closes back to the first: (2,0) to (0,0) counterclockwise passes (1,1).
    const Pts chord{P(0, 0), P(2, 0)};
    expectBox(L::geoLineExtends(chord, Doubles{0, 1}), 0, 0, 2, 1);
    expectBox(L::geoLineExtends(chord, Doubles{1, 1}), 0, -1, 2, 1);
    // A single vertex with a bulge is an arc of zero chord: the vertex alone.
    expectBox(L::geoLineExtends(Pts{P(3, 4)}, Doubles{1}), 3, 4, 3, 4);
    // Bulges just inside kTol add the vertices only.
    const double flat = 0.9 * Tavro::kTol;
    expectBox(L::geoLineExtends(chord, Doubles{flat, -flat}), 0, 0, 2, 0);
}

// Non-finite points and bulges, zero-length segments and bulge arrays of the wrong length: no
// crash and nothing the sanitizers object to; what the calls answer is checked elsewhere.
TEST(GeoLineBadInput, CallsSurvive) {
    const AcGePoint2d bad(kNaN, kInf), o(0, 0);
    const Pts chord{o, P(2, 0)}, badNodes{P(kNaN, 0), P(1, kInf)};
    for (const Doubles& bulges : {Doubles{kNaN, kInf}, Doubles{1, -1}, Doubles{1}, Doubles()}) {
        L::geoLineExtends(chord, bulges);
        L::geoLineExtends(badNodes, bulges);
        L::GetBulgeLineLength(badNodes, bulges, true);
        L::geoPointAtParam(bad, chord, bulges, 1e-10);
        L::geoPointOnPoly(o, badNodes, bulges);
    }
    for (double bulge : {kInf, kNaN, -1e300}) {
        L::GetBulgeLineLength(o, P(2, 0), bulge);
        L::GetBulgeLineLength(o, o, bulge);
        paramOn(P(1, 0), o, bad, bulge);
    }
    L::geoNearestPoint(P(kNaN, 1), o, P(1, 0), false);
    L::geoNearestPoint(P(kNaN, 1), o, P(1, 0), true);
    L::geoVerticalPoint(bad, o, P(2, 0));
    L::geoVerticalPoint(o, bad, bad);
    L::geoPointDistPolyline(bad, badNodes);
    L::GetArcLength(o, kNaN, bad, P(0, 2), false);
}
