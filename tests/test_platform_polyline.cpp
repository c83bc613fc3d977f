// The host's temporary polyline, line and ray entities: parameters, derivatives, closest points
// and intersections on straight and arc segments.

#include "TestSupport.h"

#include <cmath>

namespace {
// The square (0,0) (2,0) (2,2) (0,2) counterclockwise, with a half circle of radius 1 bulging
// out of the east side when withArc is set: (2,0) -> (2,2) with bulge 1 passes through (3,1).
AcDbPolyline squareWithArc(bool withArc, bool closed = true) {
    AcDbPolyline pl;
    pl.addVertexAt(0, P(0, 0));
    pl.addVertexAt(1, P(2, 0), withArc ? 1.0 : 0.0);
    pl.addVertexAt(2, P(2, 2));
    pl.addVertexAt(3, P(0, 2));
    pl.setClosed(closed);
    return pl;
}

AcArray<AcGePoint3d> hitsOf(AcDbPolyline& pl, const AcDbEntity* other) {
    AcArray<AcGePoint3d> hits;
    pl.intersectWith(other, AcDb::kOnBothOperands, hits);
    return hits;
}
} // namespace

TEST(PolylineEntity, ParametersRunByVertexIndex) {
    AcDbPolyline open = squareWithArc(true, false), closed = squareWithArc(true);
    double s = -1, e = -1;
    EXPECT_EQ(open.getStartParam(s), Acad::eOk);
    EXPECT_EQ(open.getEndParam(e), Acad::eOk);
    EXPECT_TRUE(s == 0.0 && e == 3.0);
    closed.getEndParam(e);
    EXPECT_EQ(e, 4.0);

    // Halfway along the bottom, round the half circle and along the closing segment.
    const struct { double param, x, y; } points[] = {{0.5, 1, 0}, {1.5, 3, 1}, {3.5, 0, 1}};
    AcGePoint3d p;
    for (const auto& c : points) {
        ASSERT_EQ(closed.getPointAtParam(c.param, p), Acad::eOk) << c.param;
        expectNear(p, c.x, c.y);
    }
    EXPECT_EQ(closed.getPointAtParam(4.5, p), Acad::eInvalidInput);
    EXPECT_EQ(closed.getPointAtParam(-0.1, p), Acad::eInvalidInput);

    // The arc point 45 degrees in from (2,0) sits at a quarter of its segment.
    const double r = std::sqrt(0.5);
    const struct {
        double x, y, param;
    } params[] = {{3, 1, 1.5}, {2 + r, 1 - r, 1.25}, {0, 0.5, 3.75}};
    double param = -1;
    for (const auto& c : params) {
        ASSERT_EQ(closed.getParamAtPoint(P3(c.x, c.y), param), Acad::eOk) << c.param;
        EXPECT_NEAR(param, c.param, 1e-12);
    }
    EXPECT_EQ(closed.getParamAtPoint(P3(1, 1), param), Acad::eInvalidInput);
    EXPECT_EQ(closed.getParamAtPoint(P3(1, 1e-7), param), Acad::eInvalidInput);
    EXPECT_EQ(closed.getParamAtPoint(P3(1, 1e-9), param), Acad::eOk);

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
    expectNear(P3(d.x, d.y), 0.0, kPi);
    ASSERT_EQ(pl.getSecondDeriv(1.5, d), Acad::eOk);
    expectNear(P3(d.x, d.y), -kPi * kPi, 0.0);
    // At a vertex the segment leaving it answers (the arc leaves (2,0) heading east); at the
    // end, the last segment.
    ASSERT_EQ(pl.getFirstDeriv(1.0, d), Acad::eOk);
    expectNear(P3(d.x, d.y), kPi, 0.0);
    ASSERT_EQ(pl.getFirstDeriv(4.0, d), Acad::eOk);
    EXPECT_TRUE(d.isEqualTo(AcGeVector3d(0, -2, 0)));
    EXPECT_EQ(pl.getFirstDeriv(5.0, d), Acad::eInvalidInput);
}

TEST(PolylineEntity, ClosestPointAndExtentsIncludeTheArc) {
    AcDbPolyline pl = squareWithArc(true);
    const struct {
        double fromX, fromY, x, y;
    } cases[] = {{5, 1, 3, 1}, {1, -3, 1, 0}, {-1, 3, 0, 2}};
    AcGePoint3d c;
    for (const auto& k : cases) {
        ASSERT_EQ(pl.getClosestPointTo(P3(k.fromX, k.fromY), c), Acad::eOk);
        expectNear(c, k.x, k.y);
    }
    AcDbExtents box;
    ASSERT_EQ(pl.getGeomExtents(box), Acad::eOk);
    expectNear(box.minPoint(), 0, 0);
    expectNear(box.maxPoint(), 3, 2);
    AcDbPolyline empty;
    EXPECT_NE(empty.getClosestPointTo(P3(0, 0), c), Acad::eOk);
    EXPECT_NE(empty.getGeomExtents(box), Acad::eOk);
}

TEST(PolylineEntity, IntersectionsWithRaysLinesAndPolylines) {
    AcDbPolyline pl = squareWithArc(true);
    AcDbRay ray;
    ray.setBasePoint(P3(1, 1));
    ray.setUnitDir(AcGeVector3d(1, 0, 0));
    AcArray<AcGePoint3d> hits;
    ASSERT_EQ(pl.intersectWith(&ray, AcDb::kOnBothOperands, AcGePlane::kXYPlane, hits), Acad::eOk);
    ASSERT_EQ(hits.length(), 1);
    expectNear(hits[0], 3, 1);

    // A ray through a shared vertex meets the ring there once, not once per segment.
    ray.setBasePoint(P3(-1, -1));
    ray.setUnitDir(AcGeVector3d(1, 1, 0));
    EXPECT_EQ(hitsOf(pl, &ray).length(), 2);

    // A line ending short of the ring meets nothing; the unextended line is respected.
    AcDbLine shortLine(P3(-5, 1), P3(-1, 1)), across(P3(-5, 1.5), P3(10, 1.5));
    EXPECT_EQ(hitsOf(pl, &shortLine).length(), 0);
    hits = hitsOf(pl, &across);
    ASSERT_EQ(hits.length(), 2);
    const int west = hits[0].x < hits[1].x ? 0 : 1;
    expectNear(hits[west], 0, 1.5);
    expectNear(hits[1 - west], 2 + std::sqrt(0.75), 1.5);

    // Arc against arc: the east half circle about (2,1) and the west half circle about (3,1)
    // cross at x = 2.5; the east half about (3,1) would miss it.
    AcDbPolyline other;
    other.addVertexAt(0, P(3, 0), -1.0);
    other.addVertexAt(1, P(3, 2));
    hits = hitsOf(pl, &other);
    ASSERT_EQ(hits.length(), 2);
    for (const AcGePoint3d& h : hits)
        EXPECT_NEAR(h.x, 2.5, 1e-12);

    // A ray tangent to the arc touches it once.
    ray.setBasePoint(P3(3, -5));
    ray.setUnitDir(AcGeVector3d(0, 1, 0));
    hits = hitsOf(pl, &ray);
    ASSERT_EQ(hits.length(), 1);
    expectNear(hits[0], 3, 1, 1e-6);
}

TEST(PolylineEntity, DegenerateInputNeverBreaksIt) {
    AcDbPolyline pl;
    pl.addVertexAt(0, P(0, 0), 1.0);
    pl.addVertexAt(1, P(0, 0), 0.5); // zero chord with a bulge
    pl.addVertexAt(7, P(kNaN, 1), kNaN);
    pl.setClosed(true);
    AcArray<AcGePoint3d> hits;
    AcDbLine line(P3(-1, -1), P3(1, 1));
    EXPECT_EQ(pl.intersectWith(&line, AcDb::kOnBothOperands, hits), Acad::eOk);
    EXPECT_EQ(pl.intersectWith(nullptr, AcDb::kOnBothOperands, hits), Acad::eInvalidInput);
    AcGePoint3d c;
    pl.getClosestPointTo(P3(1, 1), c);
    double param = 0;
    pl.getParamAtPoint(P3(0, 0), param);
    AcGeVector3d d;
    pl.getFirstDeriv(kNaN, d);
    EXPECT_EQ(pl.getPointAtParam(kNaN, c), Acad::eInvalidInput);
    AcDbRay ray;
    EXPECT_EQ(ray.setUnitDir(AcGeVector3d(0, 0, 0)), Acad::eInvalidInput);
    EXPECT_EQ(pl.removeVertexAt(9), Acad::eInvalidInput);
}

namespace {
// The same curve as its pieces, built once and bounded by whole circles: a second route to the
// polyline's answers, which it works out piece by piece from boxes of its own.
class PieceList : public AcDbEntity {
public:
    explicit PieceList(const AcDbPolyline& pl) : m_pieces(pl.pieces()) {}
    std::vector<AcDbCurvePiece> pieces() const override { return m_pieces; }

private:
    std::vector<AcDbCurvePiece> m_pieces;
};
} // namespace

TEST(PolylineEntity, PrunedQuestionsMatchEveryPiece) {
    // Random polylines of 30 pieces at Gauss-plane size with minor, major, flat and nearly
    // full arcs; closest points, parameters at points and ray hits against a plain pass.
    std::uint64_t seed = 3;
    auto unit = [&] { return nextUnit(seed); };
    const double bulges[] = {0, 0, 0.2, -0.7, 1e-9, 3.0, -40.0, 1e7};
    for (int round = 0; round < 30; ++round) {
        AcDbPolyline pl;
        for (int i = 0; i < 30; ++i)
            pl.addVertexAt(static_cast<unsigned>(i),
                           P(500000 + 100 * unit(), 3500000 + 100 * unit()),
                           bulges[static_cast<int>(unit() * 8) % 8]);
        pl.setClosed(round % 2 == 0);
        const PieceList plain(pl);
        for (int k = 0; k < 20; ++k) {
            const AcGePoint3d q = P3(500000 - 50 + 200 * unit(), 3500000 - 50 + 200 * unit());
            // Closest point: the first nearest piece in order, as a plain pass finds it.
            AcGePoint2d want;
            pl.getPointAt(0, want);
            double wantDist = q.convert2d().distanceTo(want);
            for (const AcDbCurvePiece& piece : pl.pieces()) {
                const AcGePoint2d p = piece.pointAt(piece.closestParam(q.convert2d()));
                if (q.convert2d().distanceTo(p) < wantDist) {
                    wantDist = q.convert2d().distanceTo(p);
                    want = p;
                }
            }
            AcGePoint3d got;
            ASSERT_EQ(pl.getClosestPointTo(q, got), Acad::eOk);
            ASSERT_EQ(got.x, want.x);
            ASSERT_EQ(got.y, want.y);
            // The parameter of the closest point: the first piece nearest to it, when that
            // lies within 1e-8 (points on the huge arcs round off farther than that).
            double wantParam = 0, best = std::numeric_limits<double>::infinity();
            for (int i = 0; i < static_cast<int>(pl.pieces().size()); ++i) {
                const AcDbCurvePiece piece = pl.pieces()[static_cast<size_t>(i)];
                const double t = piece.closestParam(got.convert2d());
                if (got.convert2d().distanceTo(piece.pointAt(t)) < best) {
                    best = got.convert2d().distanceTo(piece.pointAt(t));
                    wantParam = i + t;
                }
            }
            double param = -1;
            ASSERT_EQ(pl.getParamAtPoint(got, param) == Acad::eOk, best <= 1e-8);
            if (best <= 1e-8) {
                ASSERT_EQ(param, wantParam);
            }
            // The hits of rays in two directions.
            for (const AcGeVector3d& dir : {AcGeVector3d(1, 0, 0), AcGeVector3d(0.3, -0.8, 0)}) {
                AcDbRay ray;
                ray.setBasePoint(q);
                ray.setUnitDir(dir);
                AcArray<AcGePoint3d> pruned, full;
                pl.intersectWith(&ray, AcDb::kOnBothOperands, pruned);
                plain.intersectWith(&ray, AcDb::kOnBothOperands, full);
                ASSERT_EQ(pruned.length(), full.length());
                for (int h = 0; h < pruned.length(); ++h)
                    ASSERT_TRUE(pruned[h].x == full[h].x && pruned[h].y == full[h].y);
            }
        }
    }
}

TEST(PolylineEntity, BandAnswersAsTheWholePolylineNearItsRay) {
    // Random polylines of 40 pieces with straight, minor, flat and major arcs; rays from random
    // points, from points on the curve and from points level with a vertex. Wherever the band
    // vouches for an answer it must be the whole polyline's, bit for bit.
    std::uint64_t seed = 11;
    auto unit = [&] { return nextUnit(seed); };
    const double kinds[] = {0, 0, 0, 0.01, -0.4, 1e-9, 2.5, -30.0};
    int vouched = 0;
    for (int round = 0; round < 20; ++round) {
        std::vector<AcGePoint2d> points;
        std::vector<double> bulges;
        AcDbPolyline pl;
        for (int i = 0; i < 40; ++i) {
            points.push_back(P(500000 + 100 * unit(), 3500000 + 100 * unit()));
            bulges.push_back(kinds[static_cast<int>(unit() * 8) % 8]);
            pl.addVertexAt(static_cast<unsigned>(i), points.back(), bulges.back());
        }
        const bool closed = round % 3 != 0;
        pl.setClosed(closed);
        for (int k = 0; k < 30; ++k) {
            AcGePoint2d from(500000 + 100 * unit(), 3500000 + 100 * unit());
            if (k % 3 == 1) from.y = points[static_cast<size_t>(k)].y;
            AcGePoint3d onCurve;
            if (k % 3 == 2 && pl.getPointAtParam(unit() * 39, onCurve) == Acad::eOk)
                from = onCurve.convert2d();
            const AcGeVector3d dir = k % 5 ? AcGeVector3d(1, 0, 0) : AcGeVector3d(0.6, 0.8, 0);
            AcDbRay ray;
            ray.setBasePoint(P3(from.x, from.y));
            ray.setUnitDir(dir);
            const AcDbPolylineBand band(points.data(), 40, bulges.data(), 40, closed, ray, 2e-6);
            ASSERT_TRUE(band.isBounded());
            AcGePoint3d nearBand, nearAll;
            band.getClosestPointTo(P3(from.x, from.y), nearBand);
            pl.getClosestPointTo(P3(from.x, from.y), nearAll);
            const double dBand = nearBand.distanceTo(P3(from.x, from.y));
            const double dAll = nearAll.distanceTo(P3(from.x, from.y));
            ASSERT_EQ(dBand < 1e-6, dAll < 1e-6);
            if (dAll < 2e-6) {
                ASSERT_EQ(dBand, dAll);
            }
            AcArray<AcGePoint3d> hitsBand, hitsAll;
            band.intersectWith(&ray, AcDb::kOnBothOperands, hitsBand);
            pl.intersectWith(&ray, AcDb::kOnBothOperands, hitsAll);
            ASSERT_EQ(hitsBand.length(), hitsAll.length());
            for (int h = 0; h < hitsAll.length(); ++h) {
                ASSERT_TRUE(hitsBand[h].x == hitsAll[h].x && hitsBand[h].y == hitsAll[h].y);
                double pBand = -1, pAll = -1;
                const Acad::ErrorStatus es = band.getParamAtPoint(hitsAll[h], pBand);
                if (es == Acad::eNotApplicable) continue;
                ++vouched;
                ASSERT_EQ(es, pl.getParamAtPoint(hitsAll[h], pAll));
                ASSERT_EQ(pBand, pAll);
                for (double at : {pAll - 2e-6, pAll + 2e-6}) {
                    AcGeVector3d d1, d2, e1, e2;
                    ASSERT_EQ(band.getFirstDeriv(at, d1), pl.getFirstDeriv(at, e1));
                    ASSERT_EQ(band.getSecondDeriv(at, d2), pl.getSecondDeriv(at, e2));
                    ASSERT_TRUE(d1.x == e1.x && d1.y == e1.y && d2.x == e2.x && d2.y == e2.y);
                }
            }
        }
    }
    EXPECT_GT(vouched, 300);
    // Non-finite vertices leave the band unable to vouch; a NaN bulge is a straight piece.
    const AcGePoint2d bad[] = {P(0, 0), P(NAN, 1), P(2, 0)};
    const double straight[] = {NAN, 0, 0};
    AcDbRay ray;
    ray.setBasePoint(P3(0, 0.5));
    EXPECT_FALSE(AcDbPolylineBand(bad, 3, straight, 3, true, ray, 2e-6).isBounded());
    EXPECT_TRUE(AcDbPolylineBand(bad, 1, straight, 3, true, ray, 2e-6).isBounded());
    EXPECT_EQ(AcDbPolylineBand(bad, 0, nullptr, 0, true, ray, 2e-6).pieceCount(), 0);
}

// A flat arc (radius 1e8 over a 60 m chord, sagitta 4.5e-6 m) against a vertical line and a
// circle of radius 10: its hits follow from the circle's equation, y = -x^2 / (R + sqrt(R^2 -
// x^2)) without cancellation. Taken about the far centre, r^2 - d^2 cancels to whole units and
// the hits came out metres away, or not at all.
TEST(PolylineEntity, FlatArcsMeetLinesAndCirclesWhereTheyAre) {
    const double R = 1e8;
    auto below = [&](double x) { return -x * x / (R + std::sqrt(R * R - x * x)); };
    const double bulge = std::tan(std::asin(30.0 / R) / 2.0); // a quarter of the sweep 2 asin(30/R)
    AcDbPolyline flat;
    flat.addVertexAt(0, P(30, below(30)), bulge); // counterclockwise about (0, -R)
    flat.addVertexAt(1, P(-30, below(30)));
    AcDbLine line(P3(5, -1, 0), P3(5, 1, 0));
    AcArray<AcGePoint3d> hits = hitsOf(flat, &line);
    ASSERT_EQ(hits.length(), 1);
    EXPECT_NEAR(hits[0].x, 5.0, 1e-12);
    EXPECT_NEAR(hits[0].y, below(5), 1e-12);
    AcDbPolyline circle;
    circle.addVertexAt(0, P(10, 0), 1.0);
    circle.addVertexAt(1, P(-10, 0), 1.0);
    circle.setClosed(true);
    for (AcDbPolyline* first : {&flat, &circle}) {
        hits = hitsOf(*first, first == &flat ? static_cast<AcDbEntity*>(&circle) : &flat);
        ASSERT_EQ(hits.length(), 2);
        for (const AcGePoint3d& h : hits) {
            // On the circle, and at the flat arc's height for its x.
            EXPECT_NEAR(std::hypot(h.x, h.y), 10.0, 1e-12);
            EXPECT_NEAR(h.y, below(h.x), 1e-12);
        }
        EXPECT_NEAR(std::fabs(hits[0].x - hits[1].x), 20.0, 1e-9);
    }
}
