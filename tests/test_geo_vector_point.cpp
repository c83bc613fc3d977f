// Vector products and point measures: direction angles, rotation, centroids, orientation,
// areas, lengths, grid positions and distances.

#include "TestSupport.h"

namespace {
const double kGauss = 1e7; // plane coordinates of a Gauss zone are of this size
using Pt = CTavroGeoPoint;
using V = AcGeVector2d;

AcGePoint2d scaled(AcGePoint2d p, const AcGePoint2d& base, double factor) {
    Pt::scale(p, base, factor);
    return p;
}

// The point at parameter t of the bulge segment s-e, or (NaN, NaN) where it is refused.
AcGePoint2d pointAt(const AcGePoint2d& s, const AcGePoint2d& e, double bulge, double t) {
    AcGePoint2d out;
    return Pt::GetPointAtParam(s, e, bulge, t, out) ? out : P(kNaN, kNaN);
}
} // namespace

TEST(GeoVector, ProductsAndDirectionSign) {
    EXPECT_EQ(CTavroGeoVector::crossMultiply(P(1, 0), P(0, 1)), 1.0);
    EXPECT_EQ(CTavroGeoVector::crossMultiply(V(2, 3), V(4, 5)), -2.0);
    // (B - A) x (B - C) = (0,1) x (-1,1) = 1: (0,0) -> (0,1) -> (1,0) turns clockwise.
    EXPECT_EQ(CTavroGeoVector::crossMultiply(P(0, 0), P(0, 1), P(1, 0)), 1.0);
    EXPECT_EQ(CTavroGeoVector::dotMultiply(P(1, 2), P(3, 4)), 11.0);
    EXPECT_EQ(CTavroGeoVector::dotMultiply(P(1, 2), V(3, 4)), 11.0);
    // (B - A) . (B - C) = (-2,0) . (-3,-4) = 6.
    EXPECT_EQ(CTavroGeoVector::dotMultiply(P(2, 0), P(0, 0), P(3, 4)), 6.0);

    EXPECT_EQ(CTavroGeoVector::directionVector(V(0, 0), V(3, 4)), 0);
    // p2 - p1 = (1,0), p4 - p3 = (0,1).
    EXPECT_EQ(CTavroGeoVector::directionVector(P(0, 0), P(1, 0), P(5, 5), P(5, 6)), 1);
    EXPECT_EQ(CTavroGeoVector::directionVector(P(0, 0), P(1, 0), P(5, 6), P(5, 5)), -1);
}

// Every tolerance of the vector and point measures, a tenth either side.
TEST(GeoPointTolerances, JustInsideAndJustOutside) {
    using Tavro::kTol;
    const AcGePoint2d o(0, 0);
    // The cross product is the y of the second vector; its sign is the turn's.
    EXPECT_ACROSS_TOL(kTol, CTavroGeoVector::directionVector(V(1, 0), V(1, d)), 0, 1);
    EXPECT_ACROSS_TOL(kTol, CTavroGeoVector::directionVector(V(1, 0), V(1, -d)), 0, -1);
    // A coordinate difference below kTol is zero: straight up, or the right angle snapped.
    EXPECT_ACROSS_TOL(kTol, Pt::geoRadian(o, P(d, 1)) == kPi / 2, true, false);
    EXPECT_ACROSS_TOL(kTol, Pt::geoRadian(P(1, 0), o, P(d, 1), false) == kPi / 2, true, false);
    // The triangle area against kTol.
    EXPECT_ACROSS_TOL(kTol, Pt::geoPointCollinear(o, P(1, 0), P(0.5, 2 * d)), true, false);
    // A centroid needs an area above kArcTol (the triangle's is x * y / 2).
    EXPECT_ACROSS_TOL(Tavro::kArcTol,
                      isFinite(Pt::geoBaryCenterPoint(Pts{o, P(1e-5, 0), P(0, 2e5 * d)})), false,
                      true);
    EXPECT_ACROSS_TOL(kTol, Pt::geoHaveBulge(Doubles{0.0, -d}), false, true);
    // The foot on a segment shorter than kTol is not looked for.
    EXPECT_ACROSS_TOL(kTol, Pt::geoVerticalDistance(P(3, 4), o, P(d, 0), false) == 0.0, true,
                      false);
    // The parameter window [kParamLow, kParamHigh] of a point on a segment.
    EXPECT_ACROSS_TOL(-Tavro::kParamLow, isFinite(pointAt(o, P(1, 0), 0.0, -d)), true, false);
    EXPECT_ACROSS_TOL(Tavro::kParamHigh - 1.0, isFinite(pointAt(o, P(1, 0), 0.0, 1.0 + d)), true,
                      false);
}

TEST(GeoPointRadian, DirectionAngle) {
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(0, 0)), 0.0);
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(0, -1)), 3 * kPi / 2);
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(0, 1)), kPi / 2);
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(-1, 0)), kPi);
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(1, 0)), 0.0);
    // A difference below kTol counts as zero; the angle just beyond it is the true one.
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(-1, -5e-7)), kPi);
    EXPECT_NEAR(Pt::geoRadian(P(0, 0), P(2e-6, 1)), kPi / 2 - 2e-6, 1e-12);
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(4e-7, 9e-7)), 0.0);
    EXPECT_DOUBLE_EQ(Pt::geoRadian(P(kGauss, kGauss), P(kGauss - 3, kGauss + 3)), 3 * kPi / 4);
    // Every quadrant agrees with the vector's own angle.
    for (int i = 0; i < 360; i += 7) {
        const AcGePoint2d to(10 * std::cos(i * kDeg), 10 * std::sin(i * kDeg));
        if (std::fabs(to.x) < 1e-6 || std::fabs(to.y) < 1e-6) continue;
        EXPECT_NEAR(Pt::geoRadian(P(0, 0), to), (to - P(0, 0)).angle(), 1e-14) << i;
    }
    // atan of a tiny negative slope rounds 2pi + t to 2pi: the answer must still be below 2pi.
    const double flat = Pt::geoRadian(P(0, 0), P(1e12, -1e-6));
    EXPECT_TRUE(flat >= 0.0 && flat < 2 * kPi) << flat;
    EXPECT_TRUE(std::isnan(Pt::geoRadian(P(0, 0), P(kNaN, 1))));
}

TEST(GeoPointRadian, VertexAngle) {
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(0, 0), P(3, 1), false), kPi / 2); // p0 on the vertex
    EXPECT_DOUBLE_EQ(Pt::geoRadian(P(1, 0), P(0, 0), P(1, 1), false), kPi / 4);
    EXPECT_DOUBLE_EQ(Pt::geoRadian(P(1, 0), P(0, 0), P(1, 1), true), 7 * kPi / 4);
    EXPECT_DOUBLE_EQ(Pt::geoRadian(P(1, 0), P(0, 0), P(-3, 0), false), kPi);
    EXPECT_EQ(Pt::geoRadian(P(1, 0), P(0, 0), P(3, 0), false), 0.0);
    // The dot product here equals the x of p2: beyond kTol the angle is the true one.
    EXPECT_NEAR(Pt::geoRadian(P(1, 0), P(0, 0), P(2e-6, 1), false), kPi / 2 - 2e-6, 1e-12);
    // Rounding can carry the cosine of parallel rays past 1; the angle must stay 0, not NaN.
    for (int i = 1; i <= 60; ++i) {
        const double a = 0.1 * i;
        const double angle = Pt::geoRadian(P(a, 0.3 * a), P(0, 0), P(2.3 * a, 0.69 * a), false);
        EXPECT_TRUE(angle >= 0.0 && angle < 1e-7) << a << " " << angle;
    }
    EXPECT_TRUE(std::isnan(Pt::geoRadian(P(kNaN, 0), P(0, 0), P(1, 1), false)));
}

TEST(GeoPointRadian, RingAngles) {
    // Counterclockwise unit square: every corner is a right angle, 3pi/2 from outside.
    const Pts unit = square(0, 0, 1);
    const Doubles inner = Pt::geoRadian(unit, true);
    ASSERT_EQ(inner.length(), 4);
    for (double a : inner)
        EXPECT_DOUBLE_EQ(a, kPi / 2);
    for (double a : Pt::geoRadian(unit, false))
        EXPECT_DOUBLE_EQ(a, 3 * kPi / 2);
    // A closing node equal to the first is dropped.
    EXPECT_EQ(Pt::geoRadian(closedSquare(0, 0), true).length(), 4);
    // The fan area is positive, so the triangle is read backwards: (0,3), (4,0), (0,0).
    const Doubles tri = Pt::geoRadian(Pts{P(0, 0), P(4, 0), P(0, 3)}, true);
    ASSERT_EQ(tri.length(), 3);
    EXPECT_DOUBLE_EQ(tri[0], std::atan(4.0 / 3.0));
    EXPECT_DOUBLE_EQ(tri[1], std::atan(3.0 / 4.0));
    EXPECT_DOUBLE_EQ(tri[2], kPi / 2);
    EXPECT_EQ(Pt::geoRadian(Pts(), true).length(), 0);
    EXPECT_EQ(Pt::geoRadian(Pts{P(2, 2)}, true).length(), 0);
    EXPECT_EQ(Pt::geoRadian(Pts{P(0, 0), P(2, 2)}, false).length(), 2);
}

TEST(GeoPointTransform, PolarRotationAndScale) {
    expectNear(Pt::geoPolar(P(1, 2), kPi / 2, 3), 1, 5, 1e-15);
    expectNear(Pt::geoPolar(P(1, 2), kPi, -2), 3, 2, 1e-15);
    const AcGePoint3d lifted = Pt::geoPolar(AcGePoint3d(1, 2, 7), 0.0, 4);
    EXPECT_TRUE(lifted.x == 5.0 && lifted.y == 2.0 && lifted.z == 7.0);

    AcGePoint2d pt(2, 1);
    Pt::geoRotate(pt, P(1, 1), kPi / 2);
    expectNear(pt, 1, 2, 1e-15);
    Pts nodes{P(3, 0), P(0, 3), P(kGauss + 1, kGauss)};
    const Pts before = nodes;
    Pt::geoRotate(nodes, P(0, 0), kPi);
    expectNear(nodes[0], -3, 0, 1e-15);
    expectNear(nodes[1], 0, -3, 1e-15);
    // Rotating back restores every node.
    Pt::geoRotate(nodes, P(0, 0), -kPi);
    for (int i = 0; i < nodes.length(); ++i)
        expectNear(nodes[i], before[i].x, before[i].y, 1e-8);

    expectNear(scaled(P(3, 4), P(1, 1), 2.0), 5, 7); // offset (2,3) doubled
    expectNear(scaled(P(3, 4), P(1, 1), 0.0), 1, 1);
    expectNear(scaled(P(3, 4), P(1, 1), 1.0), 3, 4, 0);
    // An offset of 5e-7 from the vertical through base keeps its direction.
    expectNear(scaled(P(1 + 5e-7, 3), P(1, 1), 2.0), 1 + 1e-6, 5, 1e-15);
    // Distance multiplied, direction angle unchanged, at plane coordinates.
    const AcGePoint2d base(kGauss, kGauss);
    AcGePoint2d far(kGauss + 30, kGauss - 40);
    CTavroGeoArc::scale(far, base, 3.0);
    EXPECT_NEAR(far.distanceTo(base), 150.0, 1e-8);
    EXPECT_NEAR(Pt::geoRadian(base, far), Pt::geoRadian(P(0, 0), P(3, -4)), 1e-12);
}

TEST(GeoPointCentre, MiddleAndBaryCentre) {
    expectNear(Pt::getMiddlePoint(P(1, 2), P(3, -6)), 2, -2);
    AcGePoint2d mean(9, 9);
    Pt::GetNodesMiddlePoint(Pts{P(0, 0), P(4, 0), P(4, 2)}, mean);
    expectNear(mean, 8.0 / 3.0, 2.0 / 3.0, 1e-15);
    Pt::GetNodesMiddlePoint(Pts(), mean); // no usable point, no crash
    EXPECT_FALSE(isFinite(mean));

    // The diamond is symmetric about x = 0 and y = 1.
    expectNear(Pt::geoBaryCenterPoint(Pts{P(0, -1), P(2, 1), P(0, 3), P(-2, 1)}), 0, 1, 1e-14);
    // The L of three unit squares centred at (0.5,0.5), (1.5,0.5), (0.5,1.5): (5/6, 5/6),
    // whichever way round, closed or not, and shifted to plane coordinates.
    const Pts ell{P(2, 0), P(2, 1), P(1, 1), P(1, 2), P(0, 2), P(0, 0)};
    Pts reversed = ell, closed = ell;
    reversed.reverse();
    closed.append(ell.first());
    for (const Pts& r : {ell, reversed, closed})
        expectNear(Pt::geoBaryCenterPoint(r), 5.0 / 6.0, 5.0 / 6.0, 1e-14);
    expectNear(Pt::geoBaryCenterPoint(shifted(ell, kGauss, 3 * kGauss)), kGauss + 5.0 / 6.0,
               3 * kGauss + 5.0 / 6.0, 1e-7);
    // A triangle's area centroid is the mean of its corners.
    const Pts tri{P(0, 0), P(7, 1), P(2, 5)};
    Pt::GetNodesMiddlePoint(tri, mean);
    expectNear(Pt::geoBaryCenterPoint(tri), mean.x, mean.y, 1e-14);

    // Degenerate rings have no centroid.
    for (const Pts& r : {Pts{P(0, 0), P(1, 1), P(2, 2)}, Pts(), Pts{P(4, 4)}, Pts{P(4, 4), P(5, 5)},
                         Pts{P(0, 0), P(kNaN, 1), P(2, 0)}})
        EXPECT_FALSE(isFinite(Pt::geoBaryCenterPoint(r))) << r.length();
    // Just above the area that counts as zero the centroid is still the triangle's.
    expectNear(Pt::geoBaryCenterPoint(Pts{P(0, 0), P(1e-5, 0), P(0, 2.2e-5)}), 1e-5 / 3, 2.2e-5 / 3,
               1e-18);
}

TEST(GeoPointOrientation, DeasilCollinearAndAreas) {
    const Pts cw{P(0, 0), P(0, 1), P(1, 1), P(1, 0)};
    EXPECT_TRUE(Pt::geoIsDeasil(cw));
    EXPECT_FALSE(Pt::geoIsDeasil(square(0, 0, 1)));
    EXPECT_TRUE(Pt::geoIsDeasil(Pts{P(0, 0), P(0, 1), P(1, 1), P(1, 0), P(0, 0)}));
    EXPECT_FALSE(Pt::geoIsDeasil(Pts{P(0, 0), P(0, 1)}));
    EXPECT_FALSE(Pt::geoIsDeasil(Pts()));
    EXPECT_TRUE(Pt::geoIsDeasil(shifted(cw, kGauss, kGauss)));
    // Three points turn clockwise where their area below is positive.
    EXPECT_FALSE(Pt::geoIsDeasil(P(0, 0), P(1, 0), P(2, 0)));
    EXPECT_TRUE(Pt::geoPointCollinear(P(0, 0), P(0, 0), P(0, 0)));

    EXPECT_EQ(Pt::geoArea(P(0, 0), P(0, 1), P(1, 0)), 0.5);
    EXPECT_EQ(Pt::geoArea(P(0, 0), P(1, 0), P(0, 1)), -0.5);
    EXPECT_EQ(Pt::geoArea(P(kGauss, kGauss), P(kGauss, kGauss + 2), P(kGauss + 3, kGauss)), 3.0);
    // The L is not star-shaped from (2,0): its fan overcounts to 4; from (0,0) it is 3.
    EXPECT_DOUBLE_EQ(Pt::geoArea(Pts{P(2, 0), P(2, 1), P(1, 1), P(1, 2), P(0, 2), P(0, 0)}), 4.0);
    EXPECT_DOUBLE_EQ(Pt::geoArea(Pts{P(0, 0), P(2, 0), P(2, 1), P(1, 1), P(1, 2), P(0, 2)}), 3.0);
    EXPECT_DOUBLE_EQ(Pt::geoArea(cw), 1.0);
    EXPECT_EQ(Pt::geoArea(Pts{P(0, 0), P(1, 1)}), 0.0);
    EXPECT_EQ(Pt::geoArea(Pts()), 0.0);
}

TEST(GeoPointLength, OpenPolylines) {
    const Pts hook{P(0, 0), P(2, 0), P(2, 2)}, chord{P(0, 0), P(3, 4)};
    EXPECT_DOUBLE_EQ(Pt::geoLength(Pts{P(0, 0), P(3, 4), P(3, 0)}), 9.0);
    EXPECT_EQ(Pt::geoLength(Pts{P(1, 1)}), 0.0);
    EXPECT_EQ(Pt::geoLength(Pts()), 0.0);
    // Bulge 1 over a chord of 2 is a half circle of radius 1.
    EXPECT_DOUBLE_EQ(Pt::geoLength(Pts{P(0, 0), P(2, 0)}, Doubles{1.0}), kPi);
    EXPECT_DOUBLE_EQ(Pt::geoLength(hook, Doubles{1.0, 0.0}), kPi + 2);
    // Missing bulges count as straight; surplus ones are ignored.
    EXPECT_DOUBLE_EQ(Pt::geoLength(hook, Doubles{1.0}), kPi + 2);
    EXPECT_DOUBLE_EQ(Pt::geoLength(chord, Doubles()), 5.0);
    EXPECT_DOUBLE_EQ(Pt::geoLength(chord, Doubles{0.0, 7.0, 9.0}), 5.0);
}

TEST(GeoPointBulges, PresenceValidityAndBulgeFromRadius) {
    EXPECT_FALSE(Pt::geoHaveBulge(Doubles()));
    EXPECT_FALSE(Pt::geoHaveBulge(Doubles{0.0, Tavro::kTol, -Tavro::kTol}));
    const Pts tri{P(0, 0), P(1, 0), P(1, 1)};
    EXPECT_FALSE(Pt::geoIsValidNodeBulges(ring(Pts())));
    EXPECT_FALSE(Pt::geoIsValidNodeBulges(ring(Pts(), Doubles{0.0})));
    EXPECT_TRUE(Pt::geoIsValidNodeBulges(ring(tri)));
    EXPECT_FALSE(Pt::geoIsValidNodeBulges(ring(tri, Doubles{0.0, 0.5})));
    EXPECT_TRUE(Pt::geoIsValidNodeBulges(ring(tri, Doubles{0.0, 0.5, 0.0})));

    // Chord (0,0)-(2,0), radius 1.25: h = 1, rise 0.75; minor sagitta 0.5, major 2.
    EXPECT_DOUBLE_EQ(Pt::geoCalculateBulge(P(-1, 0), P(0, 0), P(2, 0), 1.25, true), 0.5);
    EXPECT_DOUBLE_EQ(Pt::geoCalculateBulge(P(-1, 0), P(0, 0), P(2, 0), 1.25, false), -2.0);
    // A turn of exactly pi at p1 keeps the minor sagitta.
    EXPECT_DOUBLE_EQ(Pt::geoCalculateBulge(P(3, 0), P(0, 0), P(2, 0), 1.25, false), -0.5);
    // Half the chord at or above the radius.
    EXPECT_EQ(Pt::geoCalculateBulge(P(-1, 0), P(0, 0), P(2, 0), 1.0, false), 1.0);
    EXPECT_EQ(Pt::geoCalculateBulge(P(-1, 0), P(0, 0), P(2, 0), 0.5, true), -1.0);
    // The bulge found gives back the radius.
    for (double r : {1.01, 1.5, 3.0, 40.0}) {
        const double b = Pt::geoCalculateBulge(P(-1, 0), P(0, 0), P(2, 0), r, true);
        EXPECT_NEAR(CTavroGeoArc::geoArcRadius(P(0, 0), P(2, 0), b), r, 1e-12 * r);
    }
}

TEST(GeoPointGrid, PositionsInABox) {
    const AcGePoint2d a(4, 1), b(0, 3);
    const AcGePoint2d want[9] = {P(0, 3), P(2, 3), P(4, 3), P(0, 2), P(2, 2),
                                 P(4, 2), P(0, 1), P(2, 1), P(4, 1)};
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        expectNear(Pt::geoCalculatePoint(a, b, Tavro::PointLocal(i)), want[i].x, want[i].y);
    }
    expectNear(Pt::geoCalculatePoint(a, b, Tavro::PointLocal(9)), 0, 0);
    expectNear(Pt::geoCalculatePoint(a, b, Tavro::PointLocal(-1)), 0, 0);

    AcGePoint2d lb(4, 1), rt(0, 3);
    EXPECT_TRUE(Pt::modifyLbRtPoint(lb, rt));
    expectNear(lb, 0, 1);
    expectNear(rt, 4, 3);
    // The frame's seven points are the grid's positions 0, 8, 1, 7, 3, 5 and 4.
    const Tavro::TavroPointAround f = Pt::geoNodedArround(a, b);
    const AcGePoint2d frame[7] = {f.leftTop,    f.rightBottom, f.topMiddle, f.bottomMiddle,
                                  f.leftMiddle, f.rightMiddle, f.center};
    const int slot[7] = {0, 8, 1, 7, 3, 5, 4};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        expectNear(frame[i], want[slot[i]].x, want[slot[i]].y);
    }
}

TEST(GeoPointParam, StraightAndArcPoints) {
    expectNear(pointAt(P(0, 0), P(4, 2), 0.0, 0.25), 1, 0.5);
    // Counterclockwise half circle from (1,0) to (-1,0) passes above; clockwise below.
    expectNear(pointAt(P(1, 0), P(-1, 0), 1.0, 0.5), 0, 1, 1e-15);
    expectNear(pointAt(P(1, 0), P(-1, 0), -1.0, 0.5), 0, -1, 1e-15);
    // Ends, and every point on the circle; the middle lies b * chord/2 right of the chord.
    const AcGePoint2d s(kGauss + 2, kGauss - 1), e(kGauss - 4, kGauss + 7); // chord 10, (-.6, .8)
    for (double b : {0.3, -0.3, 1.0, 2.5, -4.0}) {
        SCOPED_TRACE(b);
        const AcGePoint2d c = CTavroGeoArc::geoArcCenter(s, e, b);
        expectNear(pointAt(s, e, b, 0.0), s.x, s.y, 1e-7);
        expectNear(pointAt(s, e, b, 1.0), e.x, e.y, 1e-7);
        expectNear(pointAt(s, e, b, 0.5), kGauss - 1 + 5 * b * 0.8, kGauss + 3 + 5 * b * 0.6, 1e-7);
        EXPECT_NEAR(pointAt(s, e, b, 0.3).distanceTo(c), CTavroGeoArc::geoArcRadius(s, e, b), 1e-7);
    }

    // Outside the window the point is refused and the output left alone; the window's own
    // ends are kept.
    AcGePoint2d out(7, 7);
    EXPECT_FALSE(Pt::GetPointAtParam(P(1, 0), P(-1, 0), 1.0, 1.5, out));
    EXPECT_FALSE(Pt::GetPointAtParam(P(0, 0), P(1, 0), 0.0, kNaN, out));
    expectNear(out, 7, 7);
    expectNear(pointAt(P(0, 0), P(1, 0), 0.0, Tavro::kParamLow), Tavro::kParamLow, 0, 1e-20);
    expectNear(pointAt(P(1, 0), P(-1, 0), 1.0, Tavro::kParamHigh), -1, 0, 1e-6);
    // Below kArcTol the segment is straight.
    expectNear(pointAt(P(0, 0), P(2000, 0), 0.9 * Tavro::kArcTol, 0.5), 1000, 0, 0);
    // A flat arc (bulge 2e-7, sagitta 2e-4 below the chord) stays on its own circle.
    expectNear(pointAt(P(0, 0), P(2000, 0), 2e-7, 0.5), 1000, -2e-4, 1e-5);
    expectNear(pointAt(P(0, 0), P(2000, 0), 2e-9, 0.25), 500, 0, 1e-4);
}

TEST(GeoPointDistance, SegmentLineAndExpandedMidpoint) {
    EXPECT_DOUBLE_EQ(Pt::geoNearestDistance(P(3, 1), P(0, 0), P(2, 0)), std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(Pt::geoNearestDistance(P(1, 1), P(0, 0), P(2, 0)), 1.0);
    EXPECT_DOUBLE_EQ(Pt::geoNearestDistance(P(-3, 4), P(0, 0), P(2, 0)), 5.0);
    EXPECT_DOUBLE_EQ(Pt::geoNearestDistance(P(2, 0), P(0, 0), P(2, 0)), 0.0);
    EXPECT_DOUBLE_EQ(Pt::geoNearestDistance(P(5, 0), P(0, 0), P(0, 0)), 5.0);

    EXPECT_DOUBLE_EQ(Pt::geoVerticalDistance(P(3, 4), P(0, 0), P(1, 0), true), 5.0);
    EXPECT_DOUBLE_EQ(Pt::geoVerticalDistance(P(3, 4), P(0, 0), P(1, 0), false), 4.0);
    EXPECT_DOUBLE_EQ(Pt::geoVerticalDistance(P(3, 4), P(0, 0), P(-1, 0), false), 4.0);
    EXPECT_NEAR(Pt::geoVerticalDistance(P(3, 4), P(0, 0), P(1.1e-6, 0), false), 4.0, 1e-9);
    // |(3,4) x (4,3)| / 5 = 7/5 at plane coordinates.
    EXPECT_NEAR(Pt::geoVerticalDistance(P(kGauss + 3, kGauss + 4), P(kGauss, kGauss),
                                        P(kGauss + 8, kGauss + 6), false),
                1.4, 1e-9);

    expectNear(Pt::geoCalculateExpandedMidpoint(P(0, 0), P(2, 0), 2.0), 1, -1);
    expectNear(Pt::geoCalculateExpandedMidpoint(P(0, 0), P(2, 0), -2.0), 1, 1);
    expectNear(Pt::geoCalculateExpandedMidpoint(P(0, 0), P(0, 4), 6.0), 3, 2);
    EXPECT_FALSE(isFinite(Pt::geoCalculateExpandedMidpoint(P(1, 1), P(1, 1), 2.0)));
}

// Non-finite points, zero-length segments and bulge arrays of the wrong length: no crash and
// nothing the sanitizers object to.
TEST(GeoPointBadInput, CallsSurvive) {
    const AcGePoint2d bad(kNaN, kInf);
    for (const Pts& nodes : {Pts{P(0, 0), bad, P(1, 1), bad}, Pts{P(1, 1), P(1, 1)}, Pts()}) {
        Pt::geoRadian(nodes, true);
        Pt::geoRadian(nodes, false);
        Pt::geoBaryCenterPoint(nodes);
        Pt::geoIsDeasil(nodes);
        Pt::geoArea(nodes);
        for (const Doubles& bulges : {Doubles{kNaN, 1.0}, Doubles(), Doubles{1, 1, 1, 1, 1}}) {
            Pt::geoLength(nodes, bulges);
            Pt::geoArea(nodes, bulges);
        }
    }
    Pt::geoCalculateBulge(bad, bad, P(0, 0), kNaN, false);
    Pt::geoCalculateBulge(P(0, 0), P(1, 1), P(1, 1), 2.0, true);
    Pt::geoCalculatePoint(bad, P(0, 0), Tavro::kCenter);
    pointAt(bad, P(0, 0), 0.5, 0.5);
    pointAt(P(1, 1), P(1, 1), 0.5, 0.5);
    pointAt(P(0, 0), P(1, 1), kNaN, 0.5);
    Pt::geoNearestDistance(bad, P(0, 0), P(1, 0));
    Pt::geoVerticalDistance(P(0, 0), bad, P(1, 0), false);
    AcGePoint2d lb = bad, rt(0, 0);
    Pt::modifyLbRtPoint(lb, rt);
    Pt::geoNodedArround(bad, bad);
    Pts moved{P(0, 0), bad, P(1, 1)};
    Pt::geoRotate(moved, bad, kNaN);
    Pt::scale(lb, bad, kNaN);
}
