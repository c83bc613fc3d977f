// The host's temporary polyline, line and ray entities: parameters, derivatives, closest points
// and intersections on straight and arc segments.

#include "TavroGeometric142.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
const double kPi = 3.14159265358979323846;

AcGePoint3d p3(double x, double y) {
    return AcGePoint3d(x, y, 0.0);
}

// The unit square from (0,0) counterclockwise, with a half circle of radius 1 bulging out of
// the east side when withArc is set: (2,0) -> (2,2) with bulge 1 passes through (3,1).
AcDbPolyline squareWithArc(bool withArc, bool closed = true) {
    AcDbPolyline pl;
    pl.addVertexAt(0, AcGePoint2d(0, 0));
    pl.addVertexAt(1, AcGePoint2d(2, 0), withArc ? 1.0 : 0.0);
    pl.addVertexAt(2, AcGePoint2d(2, 2));
    pl.addVertexAt(3, AcGePoint2d(0, 2));
    pl.setClosed(closed);
    return pl;
}

void expectPoint(const AcGePoint3d& p, double x, double y, double tol = 1e-12) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}
} // namespace

TEST(PolylineEntity, ParametersRunByVertexIndex) {
    AcDbPolyline open = squareWithArc(true, false);
    double s = -1, e = -1;
    EXPECT_EQ(open.getStartParam(s), Acad::eOk);
    EXPECT_EQ(open.getEndParam(e), Acad::eOk);
    EXPECT_EQ(s, 0.0);
    EXPECT_EQ(e, 3.0);
    AcDbPolyline closed = squareWithArc(true);
    closed.getEndParam(e);
    EXPECT_EQ(e, 4.0);

    AcGePoint3d p;
    ASSERT_EQ(closed.getPointAtParam(0.5, p), Acad::eOk);
    expectPoint(p, 1, 0);
    ASSERT_EQ(closed.getPointAtParam(1.5, p), Acad::eOk); // halfway round the half circle
    expectPoint(p, 3, 1);
    ASSERT_EQ(closed.getPointAtParam(3.5, p), Acad::eOk); // the closing segment
    expectPoint(p, 0, 1);
    EXPECT_EQ(closed.getPointAtParam(4.5, p), Acad::eInvalidInput);
    EXPECT_EQ(closed.getPointAtParam(-0.1, p), Acad::eInvalidInput);

    double param = -1;
    ASSERT_EQ(closed.getParamAtPoint(p3(3, 1), param), Acad::eOk);
    EXPECT_NEAR(param, 1.5, 1e-12);
    const double r = std::sqrt(0.5);
    ASSERT_EQ(closed.getParamAtPoint(p3(2 + r, 1 - r), param), Acad::eOk); // 45 degrees in
    EXPECT_NEAR(param, 1.25, 1e-12);
    ASSERT_EQ(closed.getParamAtPoint(p3(0, 0.5), param), Acad::eOk);
    EXPECT_NEAR(param, 3.75, 1e-12);
    EXPECT_EQ(closed.getParamAtPoint(p3(1, 1), param), Acad::eInvalidInput);
    EXPECT_EQ(closed.getParamAtPoint(p3(1, 1e-7), param), Acad::eInvalidInput);
    EXPECT_EQ(closed.getParamAtPoint(p3(1, 1e-9), param), Acad::eOk);

    double dist = 0;
    ASSERT_EQ(closed.getDistAtParam(2.0, dist), Acad::eOk);
    EXPECT_NEAR(dist, 2 + kPi, 1e-12);
}

TEST(PolylineEntity, DerivativesOnLinesAndArcs) {
    AcDbPolyline pl = squareWithArc(true);
    AcGeVector3d d;
    ASSERT_EQ(pl.getFirstDeriv(0.3, d), Acad::eOk);
    EXPECT_TRUE(d.isEqualTo(AcGeVector3d(2, 0, 0)));
    ASSERT_EQ(pl.getSecondDeriv(0.3, d), Acad::eOk);
    EXPECT_TRUE(d.isZeroLength());
    // On the half circle (radius 1, sweep pi) at its middle (3,1): tangent straight up with
    // speed r*sweep, curvature pointing back at the centre (2,1) with size r*sweep^2.
    ASSERT_EQ(pl.getFirstDeriv(1.5, d), Acad::eOk);
    EXPECT_NEAR(d.x, 0.0, 1e-12);
    EXPECT_NEAR(d.y, kPi, 1e-12);
    ASSERT_EQ(pl.getSecondDeriv(1.5, d), Acad::eOk);
    EXPECT_NEAR(d.x, -kPi * kPi, 1e-12);
    EXPECT_NEAR(d.y, 0.0, 1e-12);
    // At a vertex the segment leaving it answers (the arc leaves (2,0) heading east); at the
    // end, the last segment.
    ASSERT_EQ(pl.getFirstDeriv(1.0, d), Acad::eOk);
    EXPECT_NEAR(d.x, kPi, 1e-12);
    EXPECT_NEAR(d.y, 0.0, 1e-12);
    ASSERT_EQ(pl.getFirstDeriv(4.0, d), Acad::eOk);
    EXPECT_TRUE(d.isEqualTo(AcGeVector3d(0, -2, 0)));
    EXPECT_EQ(pl.getFirstDeriv(5.0, d), Acad::eInvalidInput);
}

TEST(PolylineEntity, ClosestPointAndExtentsIncludeTheArc) {
    AcDbPolyline pl = squareWithArc(true);
    AcGePoint3d c;
    ASSERT_EQ(pl.getClosestPointTo(p3(5, 1), c), Acad::eOk);
    expectPoint(c, 3, 1);
    ASSERT_EQ(pl.getClosestPointTo(p3(1, -3), c), Acad::eOk);
    expectPoint(c, 1, 0);
    ASSERT_EQ(pl.getClosestPointTo(p3(-1, 3), c), Acad::eOk);
    expectPoint(c, 0, 2);
    AcDbExtents box;
    ASSERT_EQ(pl.getGeomExtents(box), Acad::eOk);
    expectPoint(box.minPoint(), 0, 0);
    expectPoint(box.maxPoint(), 3, 2);
    AcDbPolyline empty;
    EXPECT_NE(empty.getClosestPointTo(p3(0, 0), c), Acad::eOk);
    EXPECT_NE(empty.getGeomExtents(box), Acad::eOk);
}

TEST(PolylineEntity, IntersectionsWithRaysLinesAndPolylines) {
    AcDbPolyline pl = squareWithArc(true);
    AcDbRay ray;
    ray.setBasePoint(p3(1, 1));
    ray.setUnitDir(AcGeVector3d(1, 0, 0));
    AcArray<AcGePoint3d> hits;
    ASSERT_EQ(pl.intersectWith(&ray, AcDb::kOnBothOperands, AcGePlane::kXYPlane, hits), Acad::eOk);
    ASSERT_EQ(hits.length(), 1);
    expectPoint(hits[0], 3, 1);

    // A ray through a shared vertex meets the ring there once, not once per segment.
    hits.removeAll();
    ray.setBasePoint(p3(-1, -1));
    ray.setUnitDir(AcGeVector3d(1, 1, 0));
    pl.intersectWith(&ray, AcDb::kOnBothOperands, hits);
    ASSERT_EQ(hits.length(), 2);

    // A line ending short of the ring meets nothing; the unextended line is respected.
    hits.removeAll();
    AcDbLine shortLine(p3(-5, 1), p3(-1, 1));
    pl.intersectWith(&shortLine, AcDb::kOnBothOperands, hits);
    EXPECT_EQ(hits.length(), 0);
    AcDbLine across(p3(-5, 1.5), p3(10, 1.5));
    pl.intersectWith(&across, AcDb::kOnBothOperands, hits);
    ASSERT_EQ(hits.length(), 2);
    const int west = hits[0].x < hits[1].x ? 0 : 1;
    expectPoint(hits[west], 0, 1.5);
    expectPoint(hits[1 - west], 2 + std::sqrt(0.75), 1.5);

    // Arc against arc: the east half circle about (2,1) and the west half circle about (3,1)
    // cross at x = 2.5; the east half about (3,1) would miss it.
    AcDbPolyline other;
    other.addVertexAt(0, AcGePoint2d(3, 0), -1.0);
    other.addVertexAt(1, AcGePoint2d(3, 2));
    hits.removeAll();
    pl.intersectWith(&other, AcDb::kOnBothOperands, hits);
    ASSERT_EQ(hits.length(), 2);
    for (const AcGePoint3d& h : hits)
        EXPECT_NEAR(h.x, 2.5, 1e-12);

    // A ray tangent to the arc touches it once.
    hits.removeAll();
    ray.setBasePoint(p3(3, -5));
    ray.setUnitDir(AcGeVector3d(0, 1, 0));
    pl.intersectWith(&ray, AcDb::kOnBothOperands, hits);
    ASSERT_EQ(hits.length(), 1);
    expectPoint(hits[0], 3, 1, 1e-6);
}

TEST(PolylineEntity, DegenerateInputNeverBreaksIt) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    AcDbPolyline pl;
    pl.addVertexAt(0, AcGePoint2d(0, 0), 1.0);
    pl.addVertexAt(1, AcGePoint2d(0, 0), 0.5); // zero chord with a bulge
    pl.addVertexAt(7, AcGePoint2d(nan, 1), nan);
    pl.setClosed(true);
    AcArray<AcGePoint3d> hits;
    AcDbLine line(p3(-1, -1), p3(1, 1));
    EXPECT_EQ(pl.intersectWith(&line, AcDb::kOnBothOperands, hits), Acad::eOk);
    EXPECT_EQ(pl.intersectWith(nullptr, AcDb::kOnBothOperands, hits), Acad::eInvalidInput);
    AcGePoint3d c;
    pl.getClosestPointTo(p3(1, 1), c);
    double param = 0;
    pl.getParamAtPoint(p3(0, 0), param);
    AcGeVector3d d;
    pl.getFirstDeriv(nan, d);
    EXPECT_EQ(pl.getPointAtParam(nan, c), Acad::eInvalidInput);
    AcDbRay ray;
    EXPECT_EQ(ray.setUnitDir(AcGeVector3d(0, 0, 0)), Acad::eInvalidInput);
    EXPECT_EQ(pl.removeVertexAt(9), Acad::eInvalidInput);
}
