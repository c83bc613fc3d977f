// The low-level workers: lines through points, sides, crossings, windowed segment
// intersection, nearest points, chord-arc areas and the splitting of arcs at their extremes.

#include "TestSupport.h"

#include <random>

namespace {
using G = CTavroGeoGlobal;

// The hits of segment (p0, p0 + d0) with (p1, p1 + d1) inside both squared-length windows.
struct Hits {
    int n;
    Pts pts;
    Doubles params;
};
Hits segments(const AcGePoint2d& p0, const AcGePoint2d& d0, const AcGePoint2d& p1,
              const AcGePoint2d& d1, double lo0, double hi0, double lo1, double hi1) {
    Hits h{0, Pts(), Doubles()};
    h.n = G::FindIntersection(p0, d0, p1, d1, lo0, hi0, lo1, hi1, h.pts, h.params);
    return h;
}

Pts concaveRing(std::mt19937& rng, int kind) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Pts ring;
    if (kind == 0) {
        const int n = 6 + static_cast<int>(54 * unit(rng));
        const double gap = 0.3 + 1.5 * unit(rng), turn = 2.0 * kPi * unit(rng);
        const double outer = 10.0 + 50.0 * unit(rng), inner = outer * (0.6 + 0.3 * unit(rng));
        for (int k = 0; k < 2 * n; ++k) {
            const int m = k < n ? k : 2 * n - 1 - k;
            const double a = turn + gap / 2 + (2 * kPi - gap) * m / (n - 1);
            const double r = (k < n ? outer : inner) + 0.2 * (unit(rng) - 0.5);
            ring.append(P(r * std::cos(a), r * std::sin(a)));
        }
    } else {
        const int teeth = 2 + static_cast<int>(10 * unit(rng));
        const double depth = 5.0 + 20.0 * unit(rng);
        ring.append(P(0, 0));
        for (int t = 0; t < teeth; ++t) {
            const double x = 4.0 * t;
            ring.append(P(x + 1.0 + unit(rng), -depth * (0.5 + unit(rng))));
            ring.append(P(x + 2.5 + unit(rng), -depth * (0.5 + unit(rng))));
            ring.append(P(x + 4.0, 0.0));
        }
        ring.append(P(4.0 * teeth, 3.0));
        ring.append(P(0, 3.0));
    }
    if (unit(rng) < 0.5) ring = shifted(ring, 500000.0 + unit(rng), 3500000.0 + unit(rng));
    if (unit(rng) < 0.5) ring.append(ring.first());
    return ring;
}

} // namespace

TEST(GeoGlobal, LinesSidesAndCrossings) {
    EXPECT_TRUE(isLine(G::makeline(P(0, 0), P(0, 5)), 5, 0, 0));
    TavroLine l = G::makeline(P(0, 5), P(0, 0));
    EXPECT_TRUE(l.a == 5.0 && l.b == 0.0);
    // Through (1,3) and (3,2): both points satisfy a*x + b*y + c = 0 after the sign flip.
    l = G::makeline(P(1, 3), P(3, 2));
    EXPECT_GE(l.a, 0.0);
    EXPECT_DOUBLE_EQ(l.a * 1 + l.b * 3 + l.c, 0.0);
    EXPECT_DOUBLE_EQ(l.a * 3 + l.b * 2 + l.c, 0.0);
    EXPECT_DOUBLE_EQ(G::square2dDist(P(1, 1), P(4, 5)), 25.0);

    EXPECT_EQ(G::PointAtPlWhich(P(0, 0), P(1, 0), P(0, 1)), 1);
    EXPECT_EQ(G::PointAtPlWhich(P(0, 0), P(1, 0), P(0, -1)), -1);
    EXPECT_EQ(G::PointAtPlWhich(P(0, 0), P(1, 0), P(5, 0)), 0);
    EXPECT_EQ(G::PointAtPlWhich(P(0, 0), P(1, 0), P(5, 1e-300)), 1);

    EXPECT_TRUE(G::isPl1CrossPl2(P(0, -1), P(0, 1), P(-1, 0), P(1, 0)));
    EXPECT_FALSE(G::isPl1CrossPl2(P(0, 0), P(0, 1), P(-1, 0), P(1, 0)));
    EXPECT_FALSE(G::isPl1CrossPl2(P(0, 1), P(0, 2), P(-1, 0), P(1, 0)));
    const Pts sq = square(0, 0, 2);
    // Only the closing edge (0,2)-(0,0) is crossed.
    EXPECT_TRUE(G::isPlCrossPolygon(P(-1, 1), P(1, 1), sq));
    EXPECT_FALSE(G::isPlCrossPolygon(P(0.5, 1), P(1.5, 1.5), sq));
    // Running along an edge and through corners is touching, not crossing.
    EXPECT_FALSE(G::isPlCrossPolygon(P(-1, 0), P(3, 0), sq));
    EXPECT_FALSE(G::isPlCrossPolygon(P(-1, -1), P(3, 3), sq) &&
                 G::isPlCrossPolygon(P(-1, -1), P(0, 0), sq));
    EXPECT_FALSE(G::isPlCrossPolygon(P(-1, 1), P(1, 1), Pts()));
}

TEST(GeoGlobal, IntervalOverlap) {
    double w[2] = {-9, -9};
    EXPECT_EQ(G::FindIntersection(0, 1, 1, 2, w), 1);
    EXPECT_EQ(w[0], 1.0);
    EXPECT_EQ(G::FindIntersection(2, 3, 0, 2, w), 1);
    EXPECT_EQ(w[0], 2.0);
    EXPECT_EQ(G::FindIntersection(0, 2, 1, 3, w), 2);
    EXPECT_TRUE(w[0] == 1.0 && w[1] == 2.0);
    EXPECT_EQ(G::FindIntersection(0, 1, 2, 3, w), 0);
    EXPECT_EQ(G::FindIntersection(-1, 5, 0, 1, w), 2);
    EXPECT_TRUE(w[0] == 0.0 && w[1] == 1.0);
}

TEST(GeoGlobal, SegmentIntersectionHonoursItsWindows) {
    // (0,0)-(2,0) against (1,-1)-(1,1): s = 1/2, i.e. 1 unit of squared length along.
    Hits h = segments(P(0, 0), P(2, 0), P(1, -1), P(0, 2), -1e-12, 4, -1e-12, 4);
    EXPECT_EQ(h.n, 1);
    EXPECT_EQ(h.pts[0], P(1, 0));
    EXPECT_EQ(h.params[0], 0.5);
    // A miss leaves the arrays as they were.
    EXPECT_EQ(G::FindIntersection(P(0, 0), P(2, 0), P(1, -1), P(0, 2), -1e-12, 0.99, -1e-12, 4,
                                  h.pts, h.params),
              0);
    EXPECT_EQ(h.pts.length(), 1);
    // A hit at the first segment's end: the window with the 2|PQ|1e-6 margin added takes it,
    // the one with it subtracted leaves it to the next segment.
    const double include = 4 + 1e-12 + 4e-6, exclude = 4 + 1e-12 - 4e-6;
    EXPECT_EQ(segments(P(0, 0), P(2, 0), P(2, -1), P(0, 2), -1e-12, include, -1e-12, 4).n, 1);
    EXPECT_EQ(segments(P(0, 0), P(2, 0), P(2, -1), P(0, 2), -1e-12, exclude, -1e-12, 4).n, 0);
    // Just inside the excluded margin (0.5e-6 short of the end) is still cut off; 2e-6 short
    // is taken.
    EXPECT_EQ(segments(P(0, 0), P(2, 0), P(2 - 0.5e-6, -1), P(0, 2), -1e-12, exclude, -1e-12, 4).n,
              0);
    EXPECT_EQ(segments(P(0, 0), P(2, 0), P(2 - 2e-6, -1), P(0, 2), -1e-12, exclude, -1e-12, 4).n,
              1);
    // Behind the start the signed squared length is negative and the window refuses it.
    EXPECT_EQ(segments(P(0, 0), P(2, 0), P(-0.1, -1), P(0, 2), -1e-12, include, -1e-12, 4).n, 0);
    // Too short to intersect: |D0|^2 |D1|^2 below 1e-6.
    EXPECT_EQ(segments(P(0, 0), P(0.01, 0), P(0.005, -0.01), P(0, 0.02), -1, 1, -1, 1).n, 0);

    // Identical segments meet along their whole length.
    h = segments(P(1, 1), P(2, 0), P(1, 1), P(2, 0), -1, 9, -1, 9);
    EXPECT_EQ(h.n, 2);
    EXPECT_EQ(h.pts[1], P(3, 1));
    EXPECT_EQ(h.params[1], 1.0);
    // (0,0)-(4,0) and (2,0)-(6,0) share (2,0)-(4,0): s = 1/2 and 1.
    h = segments(P(0, 0), P(4, 0), P(2, 0), P(4, 0), -1e-12, 17, -1e-12, 17);
    EXPECT_EQ(h.n, 2);
    EXPECT_EQ(h.pts, (Pts{P(2, 0), P(4, 0)}));
    EXPECT_EQ(h.params, (Doubles{0.5, 1.0}));
    // Running the other way, (6,0)-(2,0): the same points, paired with swapped partners.
    h = segments(P(0, 0), P(4, 0), P(6, 0), P(-4, 0), -1e-12, 17, -1e-12, 17);
    EXPECT_EQ(h.n, 2);
    EXPECT_EQ(h.pts, (Pts{P(2, 0), P(4, 0)}));
    // The first segment's window cuts its own end off; parallel but apart meets nothing.
    EXPECT_EQ(segments(P(0, 0), P(4, 0), P(2, 0), P(4, 0), -1e-12, 15, -1e-12, 17).n, 1);
    EXPECT_EQ(segments(P(0, 0), P(4, 0), P(0, 1), P(4, 0), -1, 17, -1, 17).n, 0);
}

TEST(GeoGlobal, PolylineHitsAtInnerVerticesCountOnce) {
    const Pts zigzag{P(0, 0), P(1, 2), P(2, 0), P(3, 2)};
    Pts pts;
    Doubles params;
    // Along y = 2 the segment meets the inner vertex (1,2) and the last vertex (3,2).
    EXPECT_EQ(G::multiIntersection(P(-1, 2), P(4, 2), zigzag, -1e-12, 1e300, pts, params), 2);
    EXPECT_EQ(pts, (Pts{P(1, 2), P(3, 2)}));
    EXPECT_DOUBLE_EQ(params[0], 0.4);
    EXPECT_DOUBLE_EQ(params[1], 0.8);
    // Along y = 1 it crosses the three segments inside.
    EXPECT_EQ(G::multiIntersection(P(-1, 1), P(4, 1), zigzag, -1e-12, 1e300, pts, params), 3);
    EXPECT_EQ(pts[1], P(1.5, 1));
    EXPECT_EQ(G::multiIntersection(P(-1, 1), P(4, 1), Pts{P(0, 0)}, -1, 1e300, pts, params), 0);
    EXPECT_TRUE(pts.isEmpty());
}

TEST(GeoGlobal, MeanAndNearestDistances) {
    EXPECT_EQ(G::calPtToPl(P(0, 0), Pts()), 0.0);
    // An infinite distance early on does not hide a NaN one later: the mean is NaN.
    Pts far{P(kInf, 0)};
    for (int k = 0; k < 100; ++k)
        far.append(P(k, 0));
    far.append(P(kNaN, 0));
    EXPECT_TRUE(std::isnan(G::calPtToPl(P(0, 0), far)));
    EXPECT_DOUBLE_EQ(G::calPtToPl(P(0, 0), Pts{P(3, 4), P(0, 1)}), 3.0);
    AcGePoint2d out(7, 7);
    EXPECT_EQ(G::GetCloseDistOfNodes(out, P(0, 0), Pts(), true), -1.0);
    EXPECT_EQ(out, P(7, 7));
    const Pts sq = square(0, 0, 2);
    EXPECT_DOUBLE_EQ(G::GetCloseDistOfNodes(out, P(1, 5), sq, true), 3.0);
    EXPECT_EQ(out, P(1, 2));
    // Open, the west side is missing and the nearest points are the corners.
    EXPECT_DOUBLE_EQ(G::GetCloseDistOfNodes(out, P(-1, 1), sq, false), std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(G::GetCloseDistOfNodes(out, P(-1, 1), sq, true), 1.0);
    EXPECT_EQ(out, P(0, 1));
}

TEST(GeoGlobal, ChordArcAreaIsNeverNegative) {
    // Half circle of radius 1 over the chord (0,0)-(2,0), either way round.
    EXPECT_NEAR(G::Get2BulgeLineArea(P(0, 0), P(2, 0), 1.0), kPi / 2, 1e-15);
    EXPECT_NEAR(G::Get2BulgeLineArea(P(0, 0), P(2, 0), -1.0), kPi / 2, 1e-15);
    // Quarter circle of radius sqrt 2: sector pi/2 less the triangle 1.
    const double quarter = std::tan(kPi / 8);
    EXPECT_NEAR(G::Get2BulgeLineArea(P(0, 0), P(2, 0), quarter), kPi / 2 - 1, 1e-14);
    EXPECT_NEAR(G::Get2BulgeLineArea(P(2, 0), P(0, 0), -quarter), kPi / 2 - 1, 1e-14);
    // Three-quarter circle of radius sqrt 2: sector 3pi/2 plus the triangle 1.
    const double major = std::tan(3 * kPi / 8);
    EXPECT_NEAR(G::Get2BulgeLineArea(P(0, 0), P(2, 0), major), 3 * kPi / 2 + 1, 1e-14);
    EXPECT_NEAR(G::Get2BulgeLineArea(P(0, 0), P(2, 0), -major), 3 * kPi / 2 + 1, 1e-14);
    // Far from the origin the area is the same.
    EXPECT_NEAR(G::Get2BulgeLineArea(P(500000, 3500000), P(500002, 3500000), major),
                3 * kPi / 2 + 1, 1e-9);
    // A tiny bulge has a tiny area, about 2/3 of chord times sagitta (b * chord / 2).
    EXPECT_NEAR(G::Get2BulgeLineArea(P(0, 0), P(2, 0), 1e-9), 2.0 / 3 * 2 * 1e-9, 1e-20);
    EXPECT_NEAR(G::Get2BulgeLineArea(P(0, 0), P(2, 0), 2e-6), 2.0 / 3 * 2 * 2e-6, 1e-15);
    EXPECT_ACROSS_TOL(Tavro::kSquaredTol, G::Get2BulgeLineArea(P(0, 0), P(2, 0), d) > 0.0, false,
                      true);
    EXPECT_EQ(G::Get2BulgeLineArea(P(1, 1), P(1, 1), 1.0), 0.0);
}

TEST(GeoGlobal, ExtremePointsOfArcs) {
    // Upper half circle (1,0) -> (-1,0): only its top lies strictly inside, whether the
    // y extremes alone or both are asked for; the parameter adds the segment index.
    Pts pts;
    Doubles params;
    G::GetBugleLineDivPoint(3, P(1, 0), P(-1, 0), 1.0, true, true, pts, params);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(0, 1));
    EXPECT_DOUBLE_EQ(params[0], 3.5);
    G::GetBugleLineDivPoint(3, P(1, 0), P(-1, 0), 1.0, true, false, pts, params);
    EXPECT_EQ(pts.length(), 1);
    // Three quarters counterclockwise from (1,0) to (0,-1): top at 1/3, left at 2/3.
    pts.removeAll();
    params.removeAll();
    G::GetBugleLineDivPoint(0, P(1, 0), P(0, -1), std::tan(3 * kPi / 8), true, true, pts, params);
    EXPECT_EQ(pts, (Pts{P(0, 1), P(-1, 0)}));
    ASSERT_EQ(params.length(), 2);
    EXPECT_NEAR(params[0], 1.0 / 3, 1e-12);
    EXPECT_NEAR(params[1], 2.0 / 3, 1e-12);
    // The closing arc of a closed ring is its last segment.
    pts.removeAll();
    params.removeAll();
    EXPECT_TRUE(G::BulgePolyAddDivPoint(Pts{P(-1, 0), P(1, 0)}, Doubles{0, 1}, true, true, true,
                                        pts, params));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(0, 1));
    EXPECT_DOUBLE_EQ(params[0], 1.5);
    EXPECT_FALSE(G::BulgePolyAddDivPoint(Pts{P(0, 0)}, Doubles{1}, true, true, true, pts, params));
}

TEST(GeoGlobal, SplittingAtExtremesKeepsTheArcs) {
    // A circle of radius 1 as two half circles becomes four quarter circles, the sweep kept.
    Pts out;
    Doubles bulges;
    G::AnalyzeBulgePolyline(Pts{P(1, 0), P(-1, 0)}, Doubles{1, 1}, true, true, true, out, bulges);
    EXPECT_EQ(out, (Pts{P(1, 0), P(0, 1), P(-1, 0), P(0, -1), P(1, 0)}));
    ASSERT_EQ(bulges.length(), 5);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(bulges[i], std::tan(kPi / 8), 1e-15);
    EXPECT_EQ(bulges[4], 0.0);
    // A three-quarter circle (radius sqrt 2, centre (1,-1)) closed by its chord keeps its area,
    // sector plus triangle 3pi/2 + 1, and its sweep of 3pi/2 across the three pieces it becomes.
    const Doubles major{std::tan(3 * kPi / 8), 0};
    G::AnalyzeBulgePolyline(Pts{P(0, 0), P(2, 0)}, major, true, true, true, out, bulges);
    EXPECT_EQ(out, (Pts{P(0, 0), P(1 - std::sqrt(2.0), -1), P(1, -1 - std::sqrt(2.0)),
                        P(1 + std::sqrt(2.0), -1), P(2, 0), P(0, 0)}));
    double sweep = 0.0;
    for (double b : bulges)
        sweep += 4 * std::atan(b);
    EXPECT_NEAR(sweep, 3 * kPi / 2, 1e-14);
    EXPECT_NEAR(CTavroGeoPoint::geoArea(out, bulges), -(3 * kPi / 2 + 1), 1e-13);
    // Open, with a short bulge array: straight segments pass unchanged.
    G::AnalyzeBulgePolyline(Pts{P(0, 0), P(2, 0), P(2, 2)}, Doubles{0}, false, true, true, out,
                            bulges);
    EXPECT_EQ(out, (Pts{P(0, 0), P(2, 0), P(2, 2)}));
    EXPECT_EQ(bulges, (Doubles{0, 0, 0}));
    // Only the x extremes wanted: the quarter points at the top and bottom stay out.
    G::AnalyzeBulgePolyline(Pts{P(0, 1), P(0, -1)}, Doubles{1, 1}, true, true, false, out, bulges);
    EXPECT_EQ(out, (Pts{P(0, 1), P(-1, 0), P(0, -1), P(1, 0), P(0, 1)}));
    G::AnalyzeBulgePolyline(Pts(), Doubles{1}, true, true, true, out, bulges);
    EXPECT_TRUE(out.isEmpty() && bulges.isEmpty());
    G::AnalyzeBulgePolyline(Pts{P(kNaN, 0), P(1, kNaN)}, Doubles{kNaN, 1}, true, true, true, out,
                            bulges);
    EXPECT_EQ(out.length(), bulges.length());
}

TEST(GeoGlobal, SortByParameterMovesPointsAlong) {
    Doubles keys{2.5, 0.5, 1.5, kNaN, 0.0};
    Pts pts{P(2, 0), P(0, 0), P(1, 0), P(9, 9), P(-1, 0)};
    G::QuickSort(keys, pts, 7, -3);
    EXPECT_EQ(keys[0], 0.0);
    EXPECT_EQ(keys[3], 2.5);
    EXPECT_TRUE(std::isnan(keys[4]));
    EXPECT_EQ(pts, (Pts{P(-1, 0), P(0, 0), P(1, 0), P(2, 0), P(9, 9)}));
    Doubles shortKeys{1, 0};
    Pts three{P(1, 0), P(0, 0), P(5, 5)};
    G::QuickSort(shortKeys, three, 0, 0);
    EXPECT_EQ(three, (Pts{P(0, 0), P(1, 0), P(5, 5)}));
}

TEST(GeoInternal, PolylineBuilderClosesARepeatedRing) {
    AcDbPolyline pl;
    EXPECT_EQ(CTavroGeoInternal::buildPolyline(&pl, Pts(), Doubles()), 3);
    EXPECT_EQ(CTavroGeoInternal::buildPolyline(nullptr, Pts{P(0, 0)}, Doubles()), 3);
    EXPECT_EQ(CTavroGeoInternal::buildPolyline(&pl, Pts{P(0, 0), P(1, 0), P(1, 1), P(0, 0.5e-6)},
                                               Doubles{0, 0.5}),
              0);
    EXPECT_TRUE(pl.isClosed());
    EXPECT_EQ(pl.numVerts(), 3u);
    double bulge = -1;
    pl.getBulgeAt(1, bulge);
    EXPECT_EQ(bulge, 0.5);
    pl.getBulgeAt(2, bulge);
    EXPECT_EQ(bulge, 0.0);
    AcDbPolyline open;
    CTavroGeoInternal::buildPolyline(&open, Pts{P(0, 0), P(1, 0), P(0, 2e-6)}, Doubles());
    EXPECT_FALSE(open.isClosed());
    EXPECT_EQ(open.numVerts(), 3u);
}

TEST(GeoGlobal, LabelPointIgnoresRepeatedVertices) {
    std::mt19937 rng(61206);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 200; ++trial) {
        const Pts ring = concaveRing(rng, trial % 2);
        SCOPED_TRACE(trial);
        const AcGePoint2d label = G::GetPlineMiddlePoint(ring);
        // Vertices repeated exactly or within 1e-6 of their predecessor leave it where it is.
        Pts repeated;
        for (const AcGePoint2d& p : ring) {
            repeated.append(p);
            if (unit(rng) < 0.4) repeated.append(p);
            if (unit(rng) < 0.2) repeated.append(P(p.x + 4e-7, p.y - 4e-7));
        }
        const AcGePoint2d again = G::GetPlineMiddlePoint(repeated);
        EXPECT_EQ(again.x, label.x);
        EXPECT_EQ(again.y, label.y);
    }
    // The thin C by hand: its half-way point (1,5) stays with every vertex doubled.
    const Pts cee{P(0, 0), P(10, 0), P(10, 1), P(1, 1), P(1, 9), P(10, 9), P(10, 10), P(0, 10)};
    Pts doubled;
    for (const AcGePoint2d& p : cee) {
        doubled.append(p);
        doubled.append(p);
    }
    EXPECT_EQ(G::GetPlineMiddlePoint(doubled), P(1, 5));
    // A ring of one point repeated 2,000 times labels that point.
    Pts same;
    for (int k = 0; k < 2000; ++k)
        same.append(P(500000.25, 3500000.5));
    EXPECT_EQ(G::GetPlineMiddlePoint(same), P(500000.25, 3500000.5));
    // Hostile rings are answered without a fault.
    for (const Pts& bad : {Pts{P(kNaN, 0), P(kNaN, 0), P(1, 1)}, Pts{P(0, 0), P(kInf, 0), P(0, 1)},
                           Pts{P(1, 1)}, Pts{P(1, 1), P(1, 1)}})
        G::GetPlineMiddlePoint(bad);
}
