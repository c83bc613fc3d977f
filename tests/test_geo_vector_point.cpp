// Vector products and point measures: direction angles, rotation, centroids, orientation,
// areas, lengths, grid positions and distances.

#include "TavroGeometric142.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
const double kPi = 3.14159265358979323846;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kGauss = 1e7; // plane coordinates of a Gauss zone are of this size

using P = AcGePoint2d;
using Pt = CTavroGeoPoint;

::testing::AssertionResult near(const AcGePoint2d& got, double x, double y, double tol = 1e-12) {
    if (std::fabs(got.x - x) <= tol && std::fabs(got.y - y) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.x << ", " << got.y << "), want (" << x
                                         << ", " << y << ") within " << tol;
}

bool finite(const AcGePoint2d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

AcArray<P> ring(std::initializer_list<P> pts) {
    return AcArray<P>(pts);
}

AcArray<P> shifted(const AcArray<P>& nodes, double dx, double dy) {
    AcArray<P> out;
    for (const P& p : nodes)
        out.append(P(p.x + dx, p.y + dy));
    return out;
}
} // namespace

TEST(GeoVector, CrossAndDotProducts) {
    EXPECT_EQ(CTavroGeoVector::crossMultiply(P(1, 0), P(0, 1)), 1.0);
    EXPECT_EQ(CTavroGeoVector::crossMultiply(AcGeVector2d(2, 3), AcGeVector2d(4, 5)), -2.0);
    // (B - A) x (B - C) = (0,1) x (-1,1) = 1: (0,0) -> (0,1) -> (1,0) turns clockwise.
    EXPECT_EQ(CTavroGeoVector::crossMultiply(P(0, 0), P(0, 1), P(1, 0)), 1.0);
    EXPECT_EQ(CTavroGeoVector::dotMultiply(P(1, 2), P(3, 4)), 11.0);
    EXPECT_EQ(CTavroGeoVector::dotMultiply(P(1, 2), AcGeVector2d(3, 4)), 11.0);
    // (B - A) . (B - C) = (-2,0) . (-3,-4) = 6.
    EXPECT_EQ(CTavroGeoVector::dotMultiply(P(2, 0), P(0, 0), P(3, 4)), 6.0);
    EXPECT_EQ(CTavroGeoVector::dotMultiply(P(0, 0), P(1, 0), P(1, 1)), 0.0);
}

TEST(GeoVector, DirectionSignAndTolerance) {
    EXPECT_EQ(CTavroGeoVector::directionVector(AcGeVector2d(1, 0), AcGeVector2d(0, 1)), 1);
    EXPECT_EQ(CTavroGeoVector::directionVector(AcGeVector2d(1, 0), AcGeVector2d(0, -1)), -1);
    EXPECT_EQ(CTavroGeoVector::directionVector(AcGeVector2d(1, 0), AcGeVector2d(2, 1e-7)), 0);
    // The cross product is the y of the second vector here: 0.9e-6 is parallel, 1.1e-6 is not.
    EXPECT_EQ(CTavroGeoVector::directionVector(AcGeVector2d(1, 0), AcGeVector2d(1, 0.9e-6)), 0);
    EXPECT_EQ(CTavroGeoVector::directionVector(AcGeVector2d(1, 0), AcGeVector2d(1, 1.1e-6)), 1);
    EXPECT_EQ(CTavroGeoVector::directionVector(AcGeVector2d(1, 0), AcGeVector2d(1, -1.1e-6)), -1);
    EXPECT_EQ(CTavroGeoVector::directionVector(AcGeVector2d(0, 0), AcGeVector2d(3, 4)), 0);
    // p2 - p1 = (1,0), p4 - p3 = (0,1).
    EXPECT_EQ(CTavroGeoVector::directionVector(P(0, 0), P(1, 0), P(5, 5), P(5, 6)), 1);
    EXPECT_EQ(CTavroGeoVector::directionVector(P(0, 0), P(1, 0), P(5, 6), P(5, 5)), -1);
}

TEST(GeoPointRadian, DirectionAngleQuadrantsAndAxes) {
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(0, 0)), 0.0);
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(0, -1)), 3 * kPi / 2);
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(0, 1)), kPi / 2);
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(-1, 0)), kPi);
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(1, 0)), 0.0);
    EXPECT_DOUBLE_EQ(Pt::geoRadian(P(0, 0), P(1, 1)), kPi / 4);
    EXPECT_DOUBLE_EQ(Pt::geoRadian(P(0, 0), P(-1, 1)), 3 * kPi / 4);
    EXPECT_DOUBLE_EQ(Pt::geoRadian(P(0, 0), P(-1, -1)), 5 * kPi / 4);
    EXPECT_DOUBLE_EQ(Pt::geoRadian(P(0, 0), P(1, -1)), 7 * kPi / 4);
    // A difference below 1e-6 counts as zero; 2e-6 does not.
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(5e-7, 1)), kPi / 2);
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(-1, -5e-7)), kPi);
    EXPECT_NEAR(Pt::geoRadian(P(0, 0), P(2e-6, 1)), kPi / 2 - 2e-6, 1e-12);
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(4e-7, 9e-7)), 0.0);
    // The same directions at plane coordinates of 1e7.
    EXPECT_DOUBLE_EQ(Pt::geoRadian(P(kGauss, kGauss), P(kGauss - 3, kGauss + 3)), 3 * kPi / 4);
}

TEST(GeoPointRadian, DirectionAngleAgreesWithVectorAngleAndStaysInRange) {
    for (int i = 0; i < 360; i += 7) {
        const double a = i * kPi / 180;
        const P to(10 * std::cos(a), 10 * std::sin(a));
        if (std::fabs(to.x) < 1e-6 || std::fabs(to.y) < 1e-6) continue;
        EXPECT_NEAR(Pt::geoRadian(P(0, 0), to), (to - P(0, 0)).angle(), 1e-14) << i;
    }
    // atan of a tiny negative slope rounds 2pi + t to 2pi: the answer must still be below 2pi.
    const double flat = Pt::geoRadian(P(0, 0), P(1e12, -1e-6));
    EXPECT_GE(flat, 0.0);
    EXPECT_LT(flat, 2 * kPi);
    EXPECT_TRUE(std::isnan(Pt::geoRadian(P(0, 0), P(kNaN, 1))));
}

TEST(GeoPointRadian, VertexAngle) {
    EXPECT_EQ(Pt::geoRadian(P(0, 0), P(0, 0), P(3, 1), false), kPi / 2); // p0 on the vertex
    EXPECT_EQ(Pt::geoRadian(P(1, 0), P(0, 0), P(0, 5), false), kPi / 2);
    EXPECT_DOUBLE_EQ(Pt::geoRadian(P(1, 0), P(0, 0), P(1, 1), false), kPi / 4);
    EXPECT_DOUBLE_EQ(Pt::geoRadian(P(1, 0), P(0, 0), P(1, 1), true), 7 * kPi / 4);
    EXPECT_DOUBLE_EQ(Pt::geoRadian(P(1, 0), P(0, 0), P(-3, 0), false), kPi);
    EXPECT_EQ(Pt::geoRadian(P(1, 0), P(0, 0), P(3, 0), false), 0.0);
    // The dot product here equals the x of p2: 0.9e-6 snaps to a right angle, 2e-6 does not.
    EXPECT_EQ(Pt::geoRadian(P(1, 0), P(0, 0), P(0.9e-6, 1), false), kPi / 2);
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
    const AcArray<P> square = ring({P(0, 0), P(1, 0), P(1, 1), P(0, 1)});
    const AcArray<double> inner = Pt::geoRadian(square, true);
    ASSERT_EQ(inner.length(), 4);
    for (double a : inner)
        EXPECT_DOUBLE_EQ(a, kPi / 2);
    for (double a : Pt::geoRadian(square, false))
        EXPECT_DOUBLE_EQ(a, 3 * kPi / 2);
    // A closing node equal to the first is dropped.
    EXPECT_EQ(Pt::geoRadian(ring({P(0, 0), P(1, 0), P(1, 1), P(0, 1), P(0, 0)}), true).length(), 4);
    // The fan area is positive, so the triangle is read backwards: (0,3), (4,0), (0,0).
    const AcArray<double> tri = Pt::geoRadian(ring({P(0, 0), P(4, 0), P(0, 3)}), true);
    ASSERT_EQ(tri.length(), 3);
    EXPECT_DOUBLE_EQ(tri[0], std::atan(4.0 / 3.0));
    EXPECT_DOUBLE_EQ(tri[1], std::atan(3.0 / 4.0));
    EXPECT_DOUBLE_EQ(tri[2], kPi / 2);
    EXPECT_EQ(Pt::geoRadian(AcArray<P>(), true).length(), 0);
    EXPECT_EQ(Pt::geoRadian(ring({P(2, 2)}), true).length(), 0);
    EXPECT_EQ(Pt::geoRadian(ring({P(0, 0), P(2, 2)}), false).length(), 2);
}

TEST(GeoPointTransform, PolarAndRotation) {
    EXPECT_TRUE(near(Pt::geoPolar(P(1, 2), kPi / 2, 3), 1, 5, 1e-15));
    EXPECT_TRUE(near(Pt::geoPolar(P(1, 2), kPi, -2), 3, 2, 1e-15));
    const AcGePoint3d lifted = Pt::geoPolar(AcGePoint3d(1, 2, 7), 0.0, 4);
    EXPECT_EQ(lifted.x, 5.0);
    EXPECT_EQ(lifted.y, 2.0);
    EXPECT_EQ(lifted.z, 7.0);

    P pt(2, 1);
    Pt::geoRotate(pt, P(1, 1), kPi / 2);
    EXPECT_TRUE(near(pt, 1, 2, 1e-15));
    AcArray<P> nodes = ring({P(3, 0), P(0, 3), P(kGauss + 1, kGauss)});
    const AcArray<P> before = nodes;
    Pt::geoRotate(nodes, P(0, 0), kPi);
    EXPECT_TRUE(near(nodes[0], -3, 0, 1e-15));
    EXPECT_TRUE(near(nodes[1], 0, -3, 1e-15));
    // Rotating back restores every node.
    Pt::geoRotate(nodes, P(0, 0), -kPi);
    for (int i = 0; i < nodes.length(); ++i)
        EXPECT_TRUE(near(nodes[i], before[i].x, before[i].y, 1e-8));
}

TEST(GeoPointTransform, ScaleAppliesTheFactor) {
    P pt(3, 4);
    Pt::scale(pt, P(1, 1), 2.0); // offset (2,3) doubled
    EXPECT_TRUE(near(pt, 5, 7));
    pt = P(3, 4);
    Pt::scale(pt, P(1, 1), 0.5);
    EXPECT_TRUE(near(pt, 2, 2.5));
    pt = P(3, 4);
    Pt::scale(pt, P(1, 1), 0.0);
    EXPECT_TRUE(near(pt, 1, 1));
    pt = P(3, 4);
    Pt::scale(pt, P(1, 1), 1.0);
    EXPECT_EQ(pt.x, 3.0);
    EXPECT_EQ(pt.y, 4.0);
    // An offset of 5e-7 from the vertical through base keeps its direction.
    pt = P(1 + 5e-7, 3);
    Pt::scale(pt, P(1, 1), 2.0);
    EXPECT_TRUE(near(pt, 1 + 1e-6, 5, 1e-15));
    // Distance multiplied, direction angle unchanged, at plane coordinates.
    const P base(kGauss, kGauss);
    P far(kGauss + 30, kGauss - 40);
    CTavroGeoArc::scale(far, base, 3.0);
    EXPECT_NEAR(far.distanceTo(base), 150.0, 1e-8);
    EXPECT_NEAR(Pt::geoRadian(base, far), Pt::geoRadian(P(0, 0), P(3, -4)), 1e-12);
}

TEST(GeoPointCentre, MiddlePoints) {
    EXPECT_TRUE(near(Pt::getMiddlePoint(P(1, 2), P(3, -6)), 2, -2));
    P mean(9, 9);
    Pt::GetNodesMiddlePoint(ring({P(0, 0), P(4, 0), P(4, 2)}), mean);
    EXPECT_TRUE(near(mean, 8.0 / 3.0, 2.0 / 3.0, 1e-15));
    Pt::GetNodesMiddlePoint(AcArray<P>(), mean); // no usable point, no crash
    EXPECT_FALSE(finite(mean));
}

TEST(GeoPointCentre, BaryCentreOfRings) {
    // The diamond is symmetric about x = 0 and y = 1.
    const AcArray<P> diamond = ring({P(0, -1), P(2, 1), P(0, 3), P(-2, 1)});
    EXPECT_TRUE(near(Pt::geoBaryCenterPoint(diamond), 0, 1, 1e-14));
    // The L of three unit squares centred at (0.5,0.5), (1.5,0.5), (0.5,1.5): (5/6, 5/6).
    const AcArray<P> ell = ring({P(2, 0), P(2, 1), P(1, 1), P(1, 2), P(0, 2), P(0, 0)});
    EXPECT_TRUE(near(Pt::geoBaryCenterPoint(ell), 5.0 / 6.0, 5.0 / 6.0, 1e-14));
    AcArray<P> reversed = ell;
    reversed.reverse();
    EXPECT_TRUE(near(Pt::geoBaryCenterPoint(reversed), 5.0 / 6.0, 5.0 / 6.0, 1e-14));
    AcArray<P> closed = ell;
    closed.append(ell.first());
    EXPECT_TRUE(near(Pt::geoBaryCenterPoint(closed), 5.0 / 6.0, 5.0 / 6.0, 1e-14));
    EXPECT_TRUE(near(Pt::geoBaryCenterPoint(shifted(ell, kGauss, 3 * kGauss)), kGauss + 5.0 / 6.0,
                     3 * kGauss + 5.0 / 6.0, 1e-7));
    // A triangle's area centroid is the mean of its corners.
    const AcArray<P> tri = ring({P(0, 0), P(7, 1), P(2, 5)});
    P mean;
    Pt::GetNodesMiddlePoint(tri, mean);
    EXPECT_TRUE(near(Pt::geoBaryCenterPoint(tri), mean.x, mean.y, 1e-14));
}

TEST(GeoPointCentre, BaryCentreOfDegenerateRings) {
    EXPECT_FALSE(finite(Pt::geoBaryCenterPoint(ring({P(0, 0), P(1, 1), P(2, 2)}))));
    EXPECT_FALSE(finite(Pt::geoBaryCenterPoint(AcArray<P>())));
    EXPECT_FALSE(finite(Pt::geoBaryCenterPoint(ring({P(4, 4)}))));
    EXPECT_FALSE(finite(Pt::geoBaryCenterPoint(ring({P(4, 4), P(5, 5)}))));
    EXPECT_FALSE(finite(Pt::geoBaryCenterPoint(ring({P(0, 0), P(kNaN, 1), P(2, 0)}))));
    // An area of 1.1e-10 still has a centroid, 0.9e-10 counts as zero.
    EXPECT_TRUE(near(Pt::geoBaryCenterPoint(ring({P(0, 0), P(1e-5, 0), P(0, 2.2e-5)})), 1e-5 / 3,
                     2.2e-5 / 3, 1e-18));
    EXPECT_FALSE(finite(Pt::geoBaryCenterPoint(ring({P(0, 0), P(1e-5, 0), P(0, 1.8e-5)}))));
}

TEST(GeoPointOrientation, DeasilAndCollinear) {
    EXPECT_TRUE(Pt::geoIsDeasil(ring({P(0, 0), P(0, 1), P(1, 1), P(1, 0)})));
    EXPECT_FALSE(Pt::geoIsDeasil(ring({P(0, 0), P(1, 0), P(1, 1), P(0, 1)})));
    EXPECT_TRUE(Pt::geoIsDeasil(ring({P(0, 0), P(0, 1), P(1, 1), P(1, 0), P(0, 0)})));
    EXPECT_FALSE(Pt::geoIsDeasil(ring({P(0, 0), P(0, 1)})));
    EXPECT_FALSE(Pt::geoIsDeasil(AcArray<P>()));
    EXPECT_TRUE(
        Pt::geoIsDeasil(shifted(ring({P(0, 0), P(0, 1), P(1, 1), P(1, 0)}), kGauss, kGauss)));
    EXPECT_TRUE(Pt::geoIsDeasil(P(0, 0), P(0, 1), P(1, 0)));
    EXPECT_FALSE(Pt::geoIsDeasil(P(0, 0), P(1, 0), P(0, 1)));
    EXPECT_FALSE(Pt::geoIsDeasil(P(0, 0), P(1, 0), P(2, 0)));
    // The triangle area is 1.8e-6 / 2 = 0.9e-6 (collinear) against 1.1e-6 (not).
    EXPECT_TRUE(Pt::geoPointCollinear(P(0, 0), P(1, 0), P(0.5, 1.8e-6)));
    EXPECT_FALSE(Pt::geoPointCollinear(P(0, 0), P(1, 0), P(0.5, 2.2e-6)));
    EXPECT_TRUE(Pt::geoPointCollinear(P(0, 0), P(0, 0), P(0, 0)));
}

TEST(GeoPointArea, TriangleAndFanAreas) {
    EXPECT_EQ(Pt::geoArea(P(0, 0), P(0, 1), P(1, 0)), 0.5);
    EXPECT_EQ(Pt::geoArea(P(0, 0), P(1, 0), P(0, 1)), -0.5);
    EXPECT_EQ(Pt::geoArea(P(kGauss, kGauss), P(kGauss, kGauss + 2), P(kGauss + 3, kGauss)), 3.0);
    // The L is not star-shaped from (2,0): its fan overcounts to 4; from (0,0) it is 3.
    EXPECT_DOUBLE_EQ(Pt::geoArea(ring({P(2, 0), P(2, 1), P(1, 1), P(1, 2), P(0, 2), P(0, 0)})),
                     4.0);
    EXPECT_DOUBLE_EQ(Pt::geoArea(ring({P(0, 0), P(2, 0), P(2, 1), P(1, 1), P(1, 2), P(0, 2)})),
                     3.0);
    EXPECT_DOUBLE_EQ(Pt::geoArea(ring({P(0, 0), P(0, 1), P(1, 1), P(1, 0)})), 1.0);
    EXPECT_EQ(Pt::geoArea(ring({P(0, 0), P(1, 1)})), 0.0);
    EXPECT_EQ(Pt::geoArea(AcArray<P>()), 0.0);
}

TEST(GeoPointLength, OpenPolylines) {
    EXPECT_DOUBLE_EQ(Pt::geoLength(ring({P(0, 0), P(3, 4), P(3, 0)})), 9.0);
    EXPECT_EQ(Pt::geoLength(ring({P(1, 1)})), 0.0);
    EXPECT_EQ(Pt::geoLength(AcArray<P>()), 0.0);
    // Bulge 1 over a chord of 2 is a half circle of radius 1.
    EXPECT_DOUBLE_EQ(Pt::geoLength(ring({P(0, 0), P(2, 0)}), AcArray<double>{1.0}), kPi);
    EXPECT_DOUBLE_EQ(Pt::geoLength(ring({P(0, 0), P(2, 0)}), AcArray<double>{-1.0}), kPi);
    EXPECT_DOUBLE_EQ(Pt::geoLength(ring({P(0, 0), P(2, 0), P(2, 2)}), AcArray<double>{1.0, 0.0}),
                     kPi + 2);
    // Missing bulges count as straight; surplus ones are ignored.
    EXPECT_DOUBLE_EQ(Pt::geoLength(ring({P(0, 0), P(2, 0), P(2, 2)}), AcArray<double>{1.0}),
                     kPi + 2);
    EXPECT_DOUBLE_EQ(Pt::geoLength(ring({P(0, 0), P(3, 4)}), AcArray<double>()), 5.0);
    EXPECT_DOUBLE_EQ(Pt::geoLength(ring({P(0, 0), P(3, 4)}), AcArray<double>{0.0, 7.0, 9.0}), 5.0);
    // Bulges just inside and just outside 1e-6 both measure the chord to 1e-9.
    EXPECT_EQ(Pt::geoLength(ring({P(0, 0), P(3, 4)}), AcArray<double>{9e-7}), 5.0);
    EXPECT_NEAR(Pt::geoLength(ring({P(0, 0), P(3, 4)}), AcArray<double>{2e-6}), 5.0, 1e-9);
}

TEST(GeoPointBulges, PresenceAndValidity) {
    EXPECT_FALSE(Pt::geoHaveBulge(AcArray<double>()));
    EXPECT_FALSE(Pt::geoHaveBulge(AcArray<double>{0.0, 1e-6, -1e-6}));
    EXPECT_TRUE(Pt::geoHaveBulge(AcArray<double>{0.0, -1.1e-6}));
    Tavro::NodeBulge nb;
    EXPECT_FALSE(Pt::geoIsValidNodeBulges(nb));
    nb.bulges = AcArray<double>{0.0};
    EXPECT_FALSE(Pt::geoIsValidNodeBulges(nb));
    nb.nodes = ring({P(0, 0), P(1, 0), P(1, 1)});
    nb.bulges = AcArray<double>();
    EXPECT_TRUE(Pt::geoIsValidNodeBulges(nb));
    nb.bulges = AcArray<double>{0.0, 0.5};
    EXPECT_FALSE(Pt::geoIsValidNodeBulges(nb));
    nb.bulges.append(0.0);
    EXPECT_TRUE(Pt::geoIsValidNodeBulges(nb));
}

TEST(GeoPointBulges, BulgeFromRadius) {
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
    const P a(4, 1), b(0, 3);
    const P want[9] = {P(0, 3), P(2, 3), P(4, 3), P(0, 2), P(2, 2),
                       P(4, 2), P(0, 1), P(2, 1), P(4, 1)};
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(near(Pt::geoCalculatePoint(a, b, Tavro::PointLocal(i)), want[i].x, want[i].y))
            << i;
    EXPECT_TRUE(near(Pt::geoCalculatePoint(a, b, Tavro::PointLocal(9)), 0, 0));
    EXPECT_TRUE(near(Pt::geoCalculatePoint(a, b, Tavro::PointLocal(-1)), 0, 0));

    P lb(4, 1), rt(0, 3);
    EXPECT_TRUE(Pt::modifyLbRtPoint(lb, rt));
    EXPECT_TRUE(near(lb, 0, 1));
    EXPECT_TRUE(near(rt, 4, 3));
    // The frame's seven points are the grid's positions 0, 8, 1, 7, 3, 5 and 4.
    const Tavro::TavroPointAround f = Pt::geoNodedArround(a, b);
    const P frame[7] = {f.leftTop,    f.rightBottom, f.topMiddle, f.bottomMiddle,
                        f.leftMiddle, f.rightMiddle, f.center};
    const int slot[7] = {0, 8, 1, 7, 3, 5, 4};
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(near(frame[i], want[slot[i]].x, want[slot[i]].y)) << i;
}

TEST(GeoPointParam, StraightAndArcPoints) {
    P out;
    ASSERT_TRUE(Pt::GetPointAtParam(P(0, 0), P(4, 2), 0.0, 0.25, out));
    EXPECT_TRUE(near(out, 1, 0.5));
    // Counterclockwise half circle from (1,0) to (-1,0) passes above; clockwise below.
    ASSERT_TRUE(Pt::GetPointAtParam(P(1, 0), P(-1, 0), 1.0, 0.5, out));
    EXPECT_TRUE(near(out, 0, 1, 1e-15));
    ASSERT_TRUE(Pt::GetPointAtParam(P(1, 0), P(-1, 0), -1.0, 0.5, out));
    EXPECT_TRUE(near(out, 0, -1, 1e-15));
    // Ends, and every point on the circle; the middle lies b * chord/2 right of the chord.
    const P s(kGauss + 2, kGauss - 1), e(kGauss - 4, kGauss + 7); // chord 10, direction (-0.6, 0.8)
    for (double b : {0.3, -0.3, 1.0, 2.5, -4.0}) {
        const P c = CTavroGeoArc::geoArcCenter(s, e, b);
        const double r = CTavroGeoArc::geoArcRadius(s, e, b);
        ASSERT_TRUE(Pt::GetPointAtParam(s, e, b, 0.0, out));
        EXPECT_TRUE(near(out, s.x, s.y, 1e-7)) << b;
        ASSERT_TRUE(Pt::GetPointAtParam(s, e, b, 1.0, out));
        EXPECT_TRUE(near(out, e.x, e.y, 1e-7)) << b;
        ASSERT_TRUE(Pt::GetPointAtParam(s, e, b, 0.5, out));
        EXPECT_TRUE(near(out, kGauss - 1 + 5 * b * 0.8, kGauss + 3 + 5 * b * 0.6, 1e-7)) << b;
        ASSERT_TRUE(Pt::GetPointAtParam(s, e, b, 0.3, out));
        EXPECT_NEAR(out.distanceTo(c), r, 1e-7) << b;
    }
}

TEST(GeoPointParam, ParameterWindowAndBulgeTolerance) {
    const P keep(7, 7);
    P out = keep;
    EXPECT_FALSE(Pt::GetPointAtParam(P(1, 0), P(-1, 0), 1.0, 1.5, out));
    EXPECT_TRUE(near(out, 7, 7));
    EXPECT_FALSE(Pt::GetPointAtParam(P(0, 0), P(1, 0), 0.0, -1.1e-7, out));
    EXPECT_FALSE(Pt::GetPointAtParam(P(0, 0), P(1, 0), 0.0, 1.0000002, out));
    EXPECT_FALSE(Pt::GetPointAtParam(P(0, 0), P(1, 0), 0.0, kNaN, out));
    EXPECT_TRUE(near(out, 7, 7));
    EXPECT_TRUE(Pt::GetPointAtParam(P(0, 0), P(1, 0), 0.0, -1e-7, out));
    EXPECT_TRUE(near(out, -1e-7, 0, 1e-20));
    EXPECT_TRUE(Pt::GetPointAtParam(P(1, 0), P(-1, 0), 1.0, 1.0000001, out));
    EXPECT_TRUE(near(out, -1, 0, 1e-6));
    // Below 1e-10 the segment is straight.
    ASSERT_TRUE(Pt::GetPointAtParam(P(0, 0), P(2000, 0), 0.9e-10, 0.5, out));
    EXPECT_EQ(out.x, 1000.0);
    EXPECT_EQ(out.y, 0.0);
    // A flat arc (bulge 2e-7, sagitta 2e-4 below the chord) stays on its own circle.
    ASSERT_TRUE(Pt::GetPointAtParam(P(0, 0), P(2000, 0), 2e-7, 0.5, out));
    EXPECT_TRUE(near(out, 1000, -2e-4, 1e-5));
    ASSERT_TRUE(Pt::GetPointAtParam(P(0, 0), P(2000, 0), 2e-9, 0.25, out));
    EXPECT_NEAR(out.x, 500, 1e-4);
    EXPECT_NEAR(out.y, 0, 1e-4);
}

TEST(GeoPointDistance, SegmentAndLine) {
    EXPECT_DOUBLE_EQ(Pt::geoNearestDistance(P(3, 1), P(0, 0), P(2, 0)), std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(Pt::geoNearestDistance(P(1, 1), P(0, 0), P(2, 0)), 1.0);
    EXPECT_DOUBLE_EQ(Pt::geoNearestDistance(P(-3, 4), P(0, 0), P(2, 0)), 5.0);
    EXPECT_DOUBLE_EQ(Pt::geoNearestDistance(P(2, 0), P(0, 0), P(2, 0)), 0.0);
    // A segment shorter than 1e-6 is its start point.
    EXPECT_DOUBLE_EQ(Pt::geoNearestDistance(P(5, 0), P(0, 0), P(0, 0)), 5.0);
    EXPECT_DOUBLE_EQ(Pt::geoNearestDistance(P(0, 5), P(0, 0), P(0.9e-6, 0)), 5.0);

    EXPECT_DOUBLE_EQ(Pt::geoVerticalDistance(P(3, 4), P(0, 0), P(1, 0), true), 5.0);
    EXPECT_DOUBLE_EQ(Pt::geoVerticalDistance(P(3, 4), P(0, 0), P(1, 0), false), 4.0);
    EXPECT_DOUBLE_EQ(Pt::geoVerticalDistance(P(3, 4), P(0, 0), P(-1, 0), false), 4.0);
    EXPECT_EQ(Pt::geoVerticalDistance(P(3, 4), P(0, 0), P(0.9e-6, 0), false), 0.0);
    EXPECT_NEAR(Pt::geoVerticalDistance(P(3, 4), P(0, 0), P(1.1e-6, 0), false), 4.0, 1e-9);
    EXPECT_NEAR(Pt::geoVerticalDistance(P(kGauss + 3, kGauss + 4), P(kGauss, kGauss),
                                        P(kGauss + 8, kGauss + 6), false),
                1.4, 1e-9); // |(3,4) x (4,3)| / 5 = 7/5
}

TEST(GeoPointDistance, ExpandedMidpoint) {
    EXPECT_TRUE(near(Pt::geoCalculateExpandedMidpoint(P(0, 0), P(2, 0), 2.0), 1, -1));
    EXPECT_TRUE(near(Pt::geoCalculateExpandedMidpoint(P(0, 0), P(2, 0), -2.0), 1, 1));
    EXPECT_TRUE(near(Pt::geoCalculateExpandedMidpoint(P(0, 0), P(0, 4), 6.0), 3, 2));
    EXPECT_FALSE(finite(Pt::geoCalculateExpandedMidpoint(P(1, 1), P(1, 1), 2.0)));
}

TEST(GeoPointDegenerate, NonFiniteInputDoesNotCrash) {
    const P bad(kNaN, std::numeric_limits<double>::infinity());
    const AcArray<P> nodes = ring({P(0, 0), bad, P(1, 1), bad});
    Pt::geoRadian(nodes, true);
    Pt::geoRadian(nodes, false);
    Pt::geoBaryCenterPoint(nodes);
    Pt::geoIsDeasil(nodes);
    Pt::geoArea(nodes);
    Pt::geoLength(nodes, AcArray<double>{kNaN, 1.0});
    Pt::geoCalculateBulge(bad, bad, P(0, 0), kNaN, false);
    Pt::geoCalculateBulge(P(0, 0), P(1, 1), P(1, 1), 2.0, true);
    Pt::geoCalculatePoint(bad, P(0, 0), Tavro::kCenter);
    P out;
    Pt::GetPointAtParam(bad, P(0, 0), 0.5, 0.5, out);
    Pt::GetPointAtParam(P(1, 1), P(1, 1), 0.5, 0.5, out);
    Pt::GetPointAtParam(P(0, 0), P(1, 1), kNaN, 0.5, out);
    Pt::geoNearestDistance(bad, P(0, 0), P(1, 0));
    Pt::geoVerticalDistance(P(0, 0), bad, P(1, 0), false);
    P lb = bad, rt(0, 0);
    Pt::modifyLbRtPoint(lb, rt);
    Pt::geoNodedArround(bad, bad);
    AcArray<P> moved = nodes;
    Pt::geoRotate(moved, bad, kNaN);
    Pt::scale(lb, bad, kNaN);
    SUCCEED();
}
