// Clean-up of vertex arrays, the split filters, extents, rectangles, offsets, directions,
// annotations and the NodeBulge conversions.

#include "TestSupport.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

namespace {
using Pt = CTavroGeoPoint;

Pts filtered(const Pts& in, int from, int to, double tol) {
    Pts out;
    Pt::geoFilterPoint(in, out, from, to, tol);
    return out;
}

// The all-duplicates rule read the other way round: a node stays when no node kept before it
// lies closer than tol; its bulge goes with it, and bulges past the last node stay.
void removeSameNodesPairwise(Pts& nodes, Doubles& bulges, double tol) {
    Pts keptNodes;
    Doubles keptBulges;
    for (int j = 0; j < nodes.length(); ++j) {
        const bool near =
            std::any_of(keptNodes.begin(), keptNodes.end(),
                        [&](const AcGePoint2d& k) { return nodes[j].distanceTo(k) < tol; });
        if (near) continue;
        keptNodes.append(nodes[j]);
        if (j < bulges.length()) keptBulges.append(bulges[j]);
    }
    for (int j = nodes.length(); j < bulges.length(); ++j)
        keptBulges.append(bulges[j]);
    nodes = keptNodes;
    bulges = keptBulges;
}

// The minimum-area rectangle as first written: every node rotated for every edge direction that
// is not within 0.001 of one already tried; equal areas go to the later direction.
Pts minAreaRectByAllNodes(const Pts& nodes) {
    const int count = nodes.length();
    if (count < 3) return nodes;
    const bool closed = nodes.first().distanceTo(nodes.last()) < 1e-6;
    std::vector<double> tried;
    double bestArea = std::numeric_limits<double>::max();
    Pts best;
    for (int i = 0; i < count - (closed ? 1 : 0); ++i) {
        double t = Pt::geoRadian(nodes[i], nodes[(i + 1) % count]);
        if (t > kPi) t -= kPi;
        bool seen = false;
        for (double u : tried)
            seen = seen || std::fabs(u - t) < 0.001;
        if (seen) continue;
        tried.push_back(t);
        Pts turned = nodes;
        Pt::geoRotate(turned, nodes[i], -t);
        AcGePoint2d lo, hi;
        Pt::geoNodeExtents(turned, lo, hi, 0.0);
        Pts box{lo, P(lo.x, hi.y), hi, P(hi.x, lo.y)};
        const double area = std::fabs(Pt::geoArea(box));
        if (area > bestArea) continue;
        bestArea = area;
        Pt::geoRotate(box, nodes[i], t);
        best = box;
    }
    if (best.isEmpty()) return nodes;
    AcGePoint2d lo, hi;
    Pt::geoNodeExtents(best, lo, hi, 0.0);
    int start = 0;
    for (int k = 1; k < 4; ++k)
        if (best[k].distanceTo(lo) < best[start].distanceTo(lo)) start = k;
    Pts result;
    for (int k = 0; k < 4; ++k)
        result.append(best[(start + k) % 4]);
    return result;
}

bool sameBits(const Pts& a, const Pts& b) {
    if (a.length() != b.length()) return false;
    for (int i = 0; i < a.length(); ++i)
        if (std::memcmp(&a[i].x, &b[i].x, sizeof(double)) != 0 ||
            std::memcmp(&a[i].y, &b[i].y, sizeof(double)) != 0)
            return false;
    return true;
}

// Random rings of five kinds: convex (an ellipse), star-shaped concave, both with extra nodes
// on their edges (exact midpoints and random fractions) and repeated nodes, and small integer
// grids whose boxes tie exactly. Some sit on a Gauss plane, some are closed by a repeat.
Pts randomRing(std::mt19937& rng, int kind) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<int> size(3, 120);
    const int n = size(rng);
    Pts ring;
    if (kind == 4) {
        std::uniform_int_distribution<int> grid(0, 6);
        for (int i = 0; i < std::min(n, 12); ++i)
            ring.append(P(grid(rng), grid(rng)));
        return ring;
    }
    const double a = 1.0 + 200.0 * unit(rng), b = 1.0 + 200.0 * unit(rng);
    const double tilt = kPi * unit(rng);
    std::vector<double> angles(static_cast<size_t>(n));
    for (double& t : angles)
        t = 2.0 * kPi * unit(rng);
    std::sort(angles.begin(), angles.end());
    for (double t : angles) {
        const double r = kind == 0 || kind == 2 ? 1.0 : 0.3 + 0.7 * unit(rng);
        const double x = a * r * std::cos(t), y = b * r * std::sin(t);
        ring.append(
            P(x * std::cos(tilt) - y * std::sin(tilt), x * std::sin(tilt) + y * std::cos(tilt)));
    }
    if (kind >= 2) {
        Pts dense;
        for (int i = 0; i < ring.length(); ++i) {
            const AcGePoint2d& p = ring[i];
            const AcGePoint2d& q = ring[(i + 1) % ring.length()];
            dense.append(p);
            if (unit(rng) < 0.3) dense.append(p);
            if (unit(rng) < 0.5) dense.append(P((p.x + q.x) / 2, (p.y + q.y) / 2));
            const double f = unit(rng);
            if (unit(rng) < 0.5) dense.append(P(p.x + f * (q.x - p.x), p.y + f * (q.y - p.y)));
        }
        ring = dense;
    }
    if (unit(rng) < 0.5) ring = shifted(ring, 500000.0 + unit(rng), 3500000.0 + unit(rng));
    if (unit(rng) < 0.5) ring.append(ring.first());
    return ring;
}
} // namespace

TEST(GeoPointCleanup, DuplicateStraightThroughAndCollinearNodes) {
    Pts pts{P(0, 0), P(0, 5e-7), P(1, 0), P(1, 0.9e-6), P(1, 2.1e-6)};
    Pt::geoRemoveSame(pts);
    // Each node is compared with its predecessor: (1, 2.1e-6) is 1.2e-6 from (1, 0.9e-6).
    EXPECT_EQ(pts, (Pts{P(0, 0), P(1, 0), P(1, 2.1e-6)}));
    AcArray<AcGePoint3d> p3{P3(0, 0, 0), P3(0, 0, 5e-7), P3(0, 0, 2e-6)};
    Pt::geoRemoveSame(p3);
    EXPECT_EQ(p3.length(), 2);
    // geoRemoveSameNodes (all pairs, not only neighbours) is checked against the pairwise rule
    // below.

    const Pts withMiddle{P(0, 0), P(1, 0), P(2, 0), P(2, 2), P(0, 2), P(0, 0)};
    pts = withMiddle;
    EXPECT_TRUE(Pt::geoRemoveCollinear(pts));
    EXPECT_EQ(pts, (Pts{P(0, 0), P(2, 0), P(2, 2), P(0, 2), P(0, 0)}));
    pts = withMiddle;
    Doubles bulges{0, 0.5, 0, 0, 0, 0};
    EXPECT_TRUE(Pt::geoRemoveCollinear(pts, bulges));
    EXPECT_EQ(pts.length(), 6);
    Doubles wrong{0, 1};
    EXPECT_FALSE(Pt::geoRemoveCollinear(pts, wrong));
    EXPECT_EQ(pts.length(), 6);
    Pts empty;
    EXPECT_TRUE(Pt::geoRemoveCollinear(empty));

    // Straight-through nodes between straight segments go; the tolerance is on the angle.
    pts = Pts{P(0, 0), P(1, 0), P(2, 0), P(2, 1)};
    bulges = Doubles{0, 0, 0, 0};
    Pt::geoRemoveSameLinePoint(pts, bulges, 1e-6);
    EXPECT_EQ(pts, (Pts{P(0, 0), P(2, 0), P(2, 1)}));
    pts = Pts{P(0, 0), P(1, 0), P(2, 1e-5), P(2, 1)};
    bulges = Doubles{0, 0, 0, 0};
    Pt::geoRemoveSameLinePoint(pts, bulges, 1e-6);
    EXPECT_EQ(pts.length(), 4);
    Pt::geoRemoveSameLinePoint(pts, bulges, 1e-4);
    EXPECT_EQ(pts.length(), 3);
    // An arc on either side keeps the node.
    pts = Pts{P(0, 0), P(1, 0), P(2, 0), P(2, 1)};
    bulges = Doubles{0.3, 0, 0, 0};
    Pt::geoRemoveSameLinePoint(pts, bulges, 1e-6);
    EXPECT_EQ(pts.length(), 4);

    // A reversed ring has reversed bulges.
    Doubles b{0.1, 0.2, 0.3}, one{0.5};
    Pt::geoReverseBulge(b);
    Pt::geoReverseBulge(one);
    EXPECT_EQ(b, (Doubles{-0.2, -0.1, -0.3}));
    EXPECT_EQ(one, (Doubles{0.5}));
    pts = Pts{P(0, 0), P(2, 0), P(2, 2)};
    Pt::geoReverseNode(pts);
    EXPECT_EQ(pts, (Pts{P(2, 2), P(2, 0), P(0, 0)}));
}

// The cell-filed removal against the pairwise rule: clustered points at Gauss-plane size and
// near the origin, chains where a removed node no longer removes its neighbour, distances at
// tol, bulge arrays short and long, non-finite nodes and the degenerate tolerances.
TEST(GeoPointCleanup, RemoveSameNodesMatchesPairwiseRule) {
    std::mt19937 rng(7);
    const double nan = std::nan(""), inf = HUGE_VAL;
    for (int round = 0; round < 300; ++round) {
        const double tol = std::vector<double>{1e-12, 1e-6, 0.5, 3.0}[round % 4];
        const double base = round % 2 ? 4.0e7 : 0.0;
        std::uniform_int_distribution<int> cluster(0, 5);
        std::uniform_real_distribution<double> jitter(-tol, tol);
        Pts nodes;
        for (int k = 0; k < (round % 7 == 0 ? 12 : 60); ++k) { // few nodes take another path
            const double cx = base + cluster(rng) * 2.5 * tol, cy = base - cluster(rng) * tol;
            nodes.append(P(cx + jitter(rng), cy + (k % 3 == 0 ? 0.0 : jitter(rng))));
            if (k % 7 == 0) nodes.append(P(cx + tol, cy)); // exactly tol from the cluster point
        }
        if (round % 11 == 0) { // spread apart, no pair within tol: nothing to remove
            nodes.removeAll();
            for (int k = 0; k < 60; ++k)
                nodes.append(P(base + k * 3 * tol, base + k * 0.5 * tol));
        }
        if (round % 5 == 0) nodes.append(P(nan, 1.0));
        if (round % 5 == 1) nodes.append(P(inf, inf));
        Doubles bulges;
        for (int k = 0; k < nodes.length() + (round % 3) * 4 - 4; ++k)
            bulges.append(k * 0.01);
        Pts wantNodes = nodes, gotNodes = nodes;
        Doubles wantBulges = bulges, gotBulges = bulges;
        removeSameNodesPairwise(wantNodes, wantBulges, tol);
        Pt::geoRemoveSameNodes(gotNodes, gotBulges, tol);
        ASSERT_EQ(gotNodes.length(), wantNodes.length()) << "round " << round;
        for (int k = 0; k < wantNodes.length(); ++k)
            EXPECT_EQ(std::memcmp(&gotNodes[k], &wantNodes[k], sizeof(AcGePoint2d)), 0);
        EXPECT_EQ(gotBulges, wantBulges) << "round " << round;
        if (nodes.length() > 60 && round % 11 != 0) {
            EXPECT_LT(gotNodes.length(), nodes.length());
        }
    }
    // Zero, negative and NaN tolerances keep everything; an infinite one keeps the first finite
    // node and the non-finite ones.
    for (double tol : {0.0, -1.0, nan}) {
        Pts nodes{P(0, 0), P(0, 0)};
        Doubles bulges{1, 2};
        Pt::geoRemoveSameNodes(nodes, bulges, tol);
        EXPECT_EQ(nodes.length(), 2);
    }
    Pts nodes{P(5, 5), P(1e300, -1e300), P(nan, 0), P(-3, 2)};
    Doubles bulges{1, 2, 3, 4};
    Pt::geoRemoveSameNodes(nodes, bulges, inf);
    EXPECT_EQ(nodes.length(), 2);
    EXPECT_EQ(bulges, (Doubles{1, 3}));
    // Thousands of hits along one vertical line, each a hair apart: every one stays.
    nodes.removeAll();
    for (int k = 0; k < 20000; ++k)
        nodes.append(P(3.5e7, 4.0e6 + k * 1e-3));
    Doubles none;
    Pt::geoRemoveSameNodes(nodes, none, 1e-6);
    EXPECT_EQ(nodes.length(), 20000);
}

TEST(GeoPointFilter, KeepsTheFirstNodeOfEveryStretch) {
    const Pts in{P(0, 0), P(1, 0.1), P(2, 0)};
    EXPECT_EQ(filtered(in, 0, 2, 1.0), (Pts{P(0, 0)}));
    EXPECT_EQ(filtered(in, 0, 2, 0.05), (Pts{P(0, 0), P(1, 0.1)}));
    // A zigzag at tolerance 0.5: (1,1) splits first, then (3,-1) (1.46 off the chord from
    // (1,1) to (5,0)); (2,0) lies on the chord (1,1)-(3,-1) and goes; (4,0.1) is 0.54 off the
    // chord (3,-1)-(5,0) and stays.
    const Pts zig{P(0, 0), P(1, 1), P(2, 0), P(3, -1), P(4, 0.1), P(5, 0)};
    EXPECT_EQ(filtered(zig, 0, 5, 0.5), (Pts{P(0, 0), P(1, 1), P(3, -1), P(4, 0.1)}));

    // With tol 0 and points on the line, every stretch is split down to single segments.
    const Pts line{P(0, 0), P(1, 0), P(2, 0), P(3, 0)};
    EXPECT_EQ(filtered(line, 0, 3, 0.0), (Pts{P(0, 0), P(1, 0), P(2, 0)}));
    EXPECT_EQ(filtered(line, 1, 2, -1.0), (Pts{P(1, 0)}));
    EXPECT_EQ(filtered(line, 2, 2, 0.0), (Pts{P(2, 0)}));
    // Ends outside the array or backwards, and a NaN tolerance, add nothing.
    Pts out;
    Pt::geoFilterPoint(line, out, 0, 9, 1.0);
    Pt::geoFilterPoint(line, out, -1, 2, 1.0);
    Pt::geoFilterPoint(line, out, 3, 1, 1.0);
    Pt::geoFilterPoint(line, out, 0, 3, kNaN);
    EXPECT_EQ(out, (Pts{P(0, 0)}));

    // A long curve is filtered without deep recursion.
    Pts spiral;
    for (int i = 0; i < 200000; ++i)
        spiral.append(P(i, 1e-3 * i * i));
    EXPECT_EQ(filtered(spiral, 0, spiral.length() - 1, 0.0).length(), spiral.length() - 1);

    // A closed ring splits at the node farthest from the start, (4,3), and each half keeps its
    // corner; open, the chord from (0,0) to itself has zero length and nothing is kept.
    const Pts ring{P(0, 0), P(4, 0), P(4, 3), P(0, 3), P(0, 0)};
    out.removeAll();
    Pt::geoLvbo2d(ring, out, 0, 4, 0.5, true);
    EXPECT_EQ(out, (Pts{P(0, 0), P(4, 0), P(4, 3), P(0, 3)}));
    out.removeAll();
    Pt::geoLvbo2d(ring, out, 0, 4, 0.5, false);
    EXPECT_EQ(out, (Pts{P(0, 0)}));
}

TEST(GeoPointShapes, ExtentsAndRectangles) {
    const Pts pts{P(1, 2), P(-3, 5), P(4, -1)};
    AcDbExtents box = Pt::geoNodeExtents(pts, 0.5);
    EXPECT_EQ(box.minPoint(), P3(-3.5, -1.5));
    EXPECT_EQ(box.maxPoint(), P3(4.5, 5.5));
    AcGePoint2d lo(9, 9), hi(9, 9);
    EXPECT_FALSE(Pt::geoNodeExtents(Pts(), lo, hi, 1));
    EXPECT_EQ(lo, P(9, 9));
    EXPECT_TRUE(Pt::geoNodeExtents(pts, lo, hi, 0));
    EXPECT_EQ(lo, P(-3, -1));
    EXPECT_EQ(hi, P(4, 5));

    EXPECT_EQ(Pt::geoMakeRect(P(0, 0), 2, 4), (Pts{P(-1, -2), P(-1, 2), P(1, 2), P(1, -2)}));
    EXPECT_EQ(Pt::geoRectangle(P(2, 3), P(0, 0)), (Pts{P(0, 0), P(2, 0), P(2, 3), P(0, 3)}));
    EXPECT_EQ(Pt::geoPolyOffset(P(1, 1), 1), (Pts{P(0, 0), P(0, 2), P(2, 2), P(2, 0)}));
    EXPECT_EQ(Pt::geoMovePoly(Pts{P(1, 1)}, 2, -1), (Pts{P(3, 0)}));

    Pts tilt = Pt::geoTiltRect(P(0, 0), P(2, 0), P(5, 3));
    ASSERT_EQ(tilt.length(), 4);
    expectNear(tilt[2], 2, 3);
    expectNear(tilt[3], 0, 3);
    tilt = Pt::geoTiltRect(P(0, 0), P(2, 0), P(5, -3));
    expectNear(tilt[2], 2, -3);
    expectNear(tilt[3], 0, -3);
}

TEST(GeoPointShapes, MinimumAreaRectangle) {
    // The tilted square (area 2) beats its axis-aligned box (area 4).
    const Pts diamond{P(0, 0), P(1, 1), P(2, 0), P(1, -1)};
    const Pts rect = Pt::geoMinAreaRect(diamond);
    ASSERT_EQ(rect.length(), 4);
    EXPECT_NEAR(Pt::geoArea(rect), 2.0, 1e-12);
    for (const AcGePoint2d& corner : rect)
        EXPECT_TRUE(diamond.contains(corner));
    // It starts at the corner nearest the lower left of its extents: (0,0) or (1,-1), both at
    // distance 1 from (0,-1); the first in the stored order wins and the order is clockwise.
    EXPECT_TRUE(rect[0] == P(0, 0) || rect[0] == P(1, -1));
    EXPECT_GT(Pt::geoArea(rect[0], rect[1], rect[2]), 0.0);

    // A right triangle: the box on its legs has area 12, also when listed closed.
    const Pts box = Pt::geoMinAreaRect(Pts{P(0, 0), P(4, 0), P(0, 3)});
    EXPECT_NEAR(Pt::geoArea(box), 12.0, 1e-9);
    expectNear(box[0], 0, 0, 1e-9);
    EXPECT_NEAR(Pt::geoArea(Pt::geoMinAreaRect(Pts{P(0, 0), P(4, 0), P(0, 3), P(0, 0)})), 12.0,
                1e-9);
    // Fewer than three nodes come back as they are.
    EXPECT_EQ(Pt::geoMinAreaRect(Pts{P(1, 1), P(2, 2)}), (Pts{P(1, 1), P(2, 2)}));
    EXPECT_LE(Pt::geoMinAreaRect(Pts{P(kNaN, 0), P(1, kNaN), P(2, 2)}).length(), 4);
}

TEST(GeoPointShapes, MinimumAreaRectangleMatchesTheAllNodesRoutineBitForBit) {
    std::mt19937 rng(20261206);
    for (int trial = 0; trial < 400; ++trial) {
        const Pts ring = randomRing(rng, trial % 5);
        SCOPED_TRACE(trial);
        EXPECT_TRUE(sameBits(Pt::geoMinAreaRect(ring), minAreaRectByAllNodes(ring)));
    }
    // The direction standing for near-parallel edges is the first in ring order, even when it
    // is not a hull edge: the notch edge (1,1)-(3,1.0015) stands for the top edge (3,2)-(4,2)
    // after it and is measured about (1,1).
    const Pts notch{P(1, 1), P(3, 1.0015), P(3, 2), P(4, 2), P(4, 0), P(0, 0), P(0, 2), P(1, 2)};
    EXPECT_TRUE(sameBits(Pt::geoMinAreaRect(notch), minAreaRectByAllNodes(notch)));
    // Long thin tilted rectangles on a Gauss plane whose long sides carry hundreds of nodes
    // that lie on them only within rounding: the rotated extents along a long side are taken
    // from those nodes as often as from the corners.
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 40; ++trial) {
        const double t = kPi * unit(rng), length = 50.0 + 100.0 * unit(rng), width = unit(rng);
        const AcGePoint2d a(500000.0 + unit(rng), 3500000.0 + unit(rng));
        const AcGeVector2d along(std::cos(t), std::sin(t)), across(-std::sin(t), std::cos(t));
        const AcGePoint2d b = a + along * length, c = b + across * width, d = a + across * width;
        Pts thin;
        for (const auto& [p, q] :
             {std::pair{a, b}, std::pair{b, c}, std::pair{c, d}, std::pair{d, a}}) {
            const int steps = p.distanceTo(q) > 10.0 ? 300 : 1;
            for (int i = 0; i < steps; ++i)
                thin.append(p + (q - p) * unit(rng) * (i > 0 ? 1.0 : 0.0));
        }
        SCOPED_TRACE(trial);
        EXPECT_TRUE(sameBits(Pt::geoMinAreaRect(thin), minAreaRectByAllNodes(thin)));
    }
    // Hostile input takes the same answer as well.
    for (const Pts& bad :
         {Pts{P(kNaN, 0), P(1, kNaN), P(2, 2), P(3, 0)}, Pts{P(0, 0), P(kInf, 0), P(1, 1), P(0, 1)},
          Pts{P(1e200, 0), P(0, 1e200), P(-1e200, 0), P(0, -1e200)},
          Pts{P(1, 1), P(1, 1), P(1, 1), P(1, 1)}, Pts{P(0, 0), P(1, 1), P(2, 2), P(3, 3)}})
        EXPECT_TRUE(sameBits(Pt::geoMinAreaRect(bad), minAreaRectByAllNodes(bad)));
}

TEST(GeoPointShapes, OffsetsMoveCornersAlongTheirBisectors) {
    const double h = std::sqrt(0.5);
    const Pts ccw = square(0, 0, 1);
    Pts out = Pt::geoPolyOffset(ccw, 1.0);
    ASSERT_EQ(out.length(), 4);
    expectNear(out[0], -h, -h);
    expectNear(out[2], 1 + h, 1 + h);
    out = Pt::geoPolyOffset(Pts{P(0, 0), P(0, 1), P(1, 1), P(1, 0)}, 1.0);
    expectNear(out[0], -h, -h);
    expectNear(out[1], -h, 1 + h);
    // A closed listing gets its closing node back.
    out = Pt::geoPolyOffset(closedSquare(0, 0), -0.5);
    ASSERT_EQ(out.length(), 5);
    expectNear(out[0], 0.5 * h, 0.5 * h);
    EXPECT_EQ(out[4], out[0]);
    EXPECT_TRUE(Pt::geoPolyOffset(Pts(), 1).isEmpty());

    // At (1,0) of the ccw square the bisector's left normal points in, at 3pi/4.
    EXPECT_NEAR(Pt::geoBisectorRadian(P(0, 0), P(1, 0), P(1, 1), false), 3 * kPi / 4, 1e-12);
    EXPECT_NEAR(Pt::geoBisectorRadian(P(0, 0), P(1, 0), P(1, 1), true), 7 * kPi / 4, 1e-12);
    QMap<int, double> map;
    map[7] = 1.0; // never cleared
    Pt::geoBisectorRadian(map, ccw, false);
    EXPECT_EQ(map.size(), 5);
    EXPECT_NEAR(map[0], kPi / 4, 1e-12);
}

TEST(GeoPointShapes, EdgeDirectionsAndAnnotations) {
    QMap<int, double> dirs;
    Pt::geoEdgeRadian(dirs, Pts{P(0, 0), P(0, 1), P(-1, 1)});
    ASSERT_EQ(dirs.size(), 2);
    EXPECT_NEAR(dirs[0], kPi / 2, 1e-15);
    EXPECT_NEAR(dirs[1], kPi, 1e-15);

    QMap<unsigned int, Tavro::EdgeAnnPosRadian> ann;
    Pt::geoEdgeAnnPosRadian(ann, Pts{P(0, 0), P(-1, 0)}, 1.0, true);
    EXPECT_NEAR(ann[0].radian, 2 * kPi, 1e-15);
    Pt::geoEdgeAnnPosRadian(ann, Pts{P(0, 0), P(0, -1)}, 1.0, true);
    EXPECT_NEAR(ann[0].radian, 3 * kPi / 2, 1e-15);
    Pt::geoEdgeAnnPosRadian(ann, Pts{P(0, 0), P(-1, -1)}, 1.0, true);
    EXPECT_NEAR(ann[0].radian, kPi / 4, 1e-15);
    // Counterclockwise square, outside: the bottom edge's label sits below it.
    ann.clear();
    Pt::geoEdgeAnnPosRadian(ann, square(0, 0, 2), 0.5, true);
    ASSERT_EQ(ann.size(), 3);
    expectNear(ann[0].position, 1, -0.5);
    expectNear(ann[1].position, 2.5, 1);
    Pt::geoEdgeAnnPosRadian(ann, square(0, 0, 2), 0.5, false);
    expectNear(ann[0].position, 1, 0.5);
}

TEST(GeoPointShapes, DominantDirectionLongestEdgeNorthWestAndSameness) {
    // A trapezoid: the east base (10) outweighs every other direction (4.24, 4, 4.24).
    EXPECT_NEAR(Pt::geoMaxEdgeRadian(Pts{P(0, 0), P(10, 0), P(7, 3), P(3, 3)}), 0.0, 1e-6);
    // Two east edges (2 + 2) outweigh the longest single edge, the closing one (3.6 west).
    EXPECT_NEAR(
        Pt::geoMaxEdgeRadian(Pts{P(0, 0), P(2, 0), P(2, 1), P(4, 1), P(4, 1.5), P(0.5, 1.5)}), 0.0,
        1e-6);
    // All four sides tie; the largest key (3pi/2) wins.
    EXPECT_NEAR(Pt::geoMaxEdgeRadian(square(0, 0, 2)), 3 * kPi / 2, 1e-6);
    EXPECT_EQ(Pt::geoMaxEdgeRadian(Pts()), 0.0);

    AcGePoint2d s(9, 9), e(9, 9);
    double angle = -1;
    Pt::geoMaxEdgeRadian(Pts{P(0, 0), P(1, 0), P(4, 0), P(4, 1), P(1, 2)}, s, e, angle);
    // (0,0)-(1,0)-(4,0) merge into one edge of length 4, longer than the rest (3.16 at most).
    EXPECT_EQ(s, P(0, 0));
    EXPECT_EQ(e, P(4, 0));
    EXPECT_EQ(angle, 0.0);
    s = P(9, 9);
    Pt::geoMaxEdgeRadian(Pts(), s, e, angle);
    EXPECT_EQ(s, P(9, 9));

    EXPECT_EQ(Pt::GetNWPoint(Pts{P(0, 0), P(-1, 5), P(3, 3)}), 1);
    EXPECT_EQ(Pt::GetNWPoint(Pts()), 0);
    EXPECT_EQ(Pt::GetNWPoint(Pts{P(1, 1), P(0, 0)}), 0);

    const Pts sq = square(0, 0, 2);
    EXPECT_TRUE(Pt::isPolygonSame(sq, Pts{P(2, 2), P(0, 2), P(0, 0), P(2, 0)}));
    EXPECT_TRUE(Pt::isPolygonSame(sq, Pts{P(0, 0), P(1, 0), P(2, 0), P(2, 2), P(0, 2)}));
    EXPECT_FALSE(Pt::isPolygonSame(sq, square(5, 0, 2)));
    EXPECT_FALSE(Pt::isPolygonSame(sq, Pts{P(0, 0), P(2, 0)}));
}

TEST(GeoPointShapes, NodeBulgeConversions) {
    Tavro::NodeBulge nb = ring(Pts{P(0, 0), P(1, 0), P(1, 1)}, Doubles{0.1, 0.2, 0.3, 0.4, 0.5});
    EXPECT_EQ(Pt::geoSafeTavroNodeBulge(nb).bulges, (Doubles{0.1, 0.2, 0.3}));
    nb.bulges = Doubles();
    const Tavro::NodeBulge safe = Pt::geoSafeTavroNodeBulge(nb);
    EXPECT_EQ(safe.bulges, (Doubles{0, 0, 0}));
    EXPECT_TRUE(Pt::geoIsValidNodeBulges(safe));

    nb.bulges = Doubles{1};
    const Tavro::NodeBulge3d lifted = Pt::geoTavroNodeBulgeTo3d(nb);
    EXPECT_EQ(lifted.nodes[2], P3(1, 1, 0));
    EXPECT_EQ(lifted.bulges, (Doubles{1}));
    const Tavro::NodeBulge back = Pt::geoTavroNodeBulge3dTo2d(lifted);
    EXPECT_EQ(back.nodes, nb.nodes);
    EXPECT_EQ(back.bulges, nb.bulges);
}

TEST(GeoPointRings, BulgeRingAreaIsSignedClockwisePositive) {
    const Pts ccw = square(0, 0, 1);
    EXPECT_DOUBLE_EQ(Pt::geoArea(ccw, Doubles{0, 0, 0, 0}), -1.0);
    EXPECT_DOUBLE_EQ(Pt::geoArea(Pts{P(0, 0), P(0, 1), P(1, 1), P(1, 0)}, Doubles()), 1.0);
    // A circle of radius 1 as two counterclockwise half circles, then reversed.
    Pts circle{P(1, 0), P(-1, 0)};
    Doubles halves{1, 1};
    EXPECT_NEAR(Pt::geoArea(circle, halves), -kPi, 1e-14);
    Pt::geoReverseNode(circle);
    Pt::geoReverseBulge(halves);
    EXPECT_NEAR(Pt::geoArea(circle, halves), kPi, 1e-14);

    // The closing segment carries the last bulge: a half circle out of the west side adds pi/2,
    // whether or not the first node is repeated.
    const Pts sq = square(0, 0, 2);
    EXPECT_NEAR(Pt::geoArea(sq, Doubles{0, 0, 0, 1}), -(4 + kPi / 2), 1e-13);
    EXPECT_NEAR(Pt::geoArea(closedSquare(0, 0, 2), Doubles{0, 0, 0, 1, 0}), -(4 + kPi / 2), 1e-13);
    // A clockwise bulge on a counterclockwise ring cuts the half disc out.
    EXPECT_NEAR(Pt::geoArea(sq, Doubles{0, -1, 0, 0}), -(4 - kPi / 2), 1e-13);
    // A three-quarter circle closed by its chord: the segment is sector plus triangle.
    EXPECT_NEAR(Pt::geoArea(Pts{P(0, 0), P(2, 0)}, Doubles{std::tan(3 * kPi / 8), 0}),
                -(3 * kPi / 2 + 1), 1e-13);
    // At Gauss-plane coordinates: 60 x 80 with a half circle of radius 40 outside.
    const Pts parcel = shifted(Pts{P(0, 0), P(60, 0), P(60, 80), P(0, 80)}, 500100, 3500000);
    EXPECT_NEAR(Pt::geoArea(parcel, Doubles{0, 1, 0, 0}), -(4800 + 800 * kPi), 1e-7);
    // A short bulge array counts the rest as straight; nothing at all measures 0.
    EXPECT_DOUBLE_EQ(Pt::geoArea(ccw, Doubles{0}), -1.0);
    EXPECT_EQ(Pt::geoArea(Pts(), Doubles{1}), 0.0);
    EXPECT_EQ(Pt::geoArea(Pts{P(3, 3)}, Doubles{1}), 0.0);
}

TEST(GeoPointRings, GridPositionInTheMinimumRectangle) {
    EXPECT_EQ(Pt::geoCalculatePoint(Pts(), Tavro::kCenter), P(0, 0));
    EXPECT_EQ(Pt::geoCalculatePoint(Pts{P(3, 4)}, Tavro::kCenter), P(3, 4));
    EXPECT_EQ(Pt::geoCalculatePoint(Pts{P(0, 0), P(4, 2)}, Tavro::kTopMiddle), P(2, 2));
    const Pts rect{P(0, 0), P(4, 0), P(4, 2), P(0, 2)};
    expectNear(Pt::geoCalculatePoint(rect, Tavro::kCenter), 2, 1);
    expectNear(Pt::geoCalculatePoint(rect, Tavro::kLeftTop), 0, 2);
    expectNear(Pt::geoCalculatePoint(rect, Tavro::kRightBottom), 4, 0);
    expectNear(Pt::geoCalculatePoint(rect, Tavro::kBottomMiddle), 2, 0);
    EXPECT_EQ(Pt::geoCalculatePoint(rect, static_cast<Tavro::PointLocal>(9)), P(0, 0));
    // The tilted square's own centre, not the centre of its corners' bounding box shifted.
    expectNear(Pt::geoCalculatePoint(Pts{P(0, 0), P(1, 1), P(2, 0), P(1, -1)}, Tavro::kCenter), 1,
               0);
}
