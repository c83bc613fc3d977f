// The relation engine: points, segments, rings with arcs, regions with islands and sets, the
// containment map with its progress meter, and the tests built on the point relation.

#include "TestSupport.h"

#include <random>

namespace {
using L = CTavroGeoLine;
using Regions = AcArray<Tavro::NodeIsland>;
const Pts kUnit = square(0, 0, 1);
const Pts kSmall = square(0.25, 0.25, 0.5);
// A comb with three teeth, open at the top between them.
const Pts kComb{P(0, 0), P(5, 0), P(5, 3), P(4, 3), P(4, 1), P(3, 1),
                P(3, 3), P(2, 3), P(2, 1), P(1, 1), P(1, 3), P(0, 3)};

Tavro::NodeIsland region(const Pts& outer, const AcArray<Pts>& islands = AcArray<Pts>()) {
    Tavro::NodeIsland r;
    r.outer = ring(outer);
    for (const Pts& island : islands)
        r.islands.append(ring(island));
    return r;
}

int rel(const AcGePoint2d& p, const Pts& nodes, const Doubles& bulges = Doubles()) {
    return L::geoPointWithPolygonRelation(p, nodes, bulges);
}

// A circle of radius 1 about the origin as two counterclockwise half circles, closed.
const Pts kCircle{P(1, 0), P(-1, 0), P(1, 0)};
const Doubles kCircleBulges{1, 1, 0};
} // namespace

TEST(GeoRelationPoint, StraightRingsAndRingsWithArcs) {
    EXPECT_EQ(rel(P(0.5, 0.5), kUnit), 2);
    EXPECT_EQ(rel(P(1, 0.5), kUnit), 1);
    EXPECT_EQ(rel(P(0, 0), kUnit), 1);
    EXPECT_EQ(rel(P(2, 0.5), kUnit), 4);
    // The boundary test compares |ab| with |pa| + |pb| within 1e-10: half-way along a unit edge
    // that admits points up to 7.07e-6 off it.
    EXPECT_EQ(rel(P(0.5, 1 + 5e-6), kUnit), 1);
    EXPECT_EQ(rel(P(0.5, 1 + 1e-5), kUnit), 4);
    EXPECT_EQ(rel(P(0.5, 0.5), Pts()), -1);
    EXPECT_EQ(rel(P(kNaN, 0.5), kUnit), 4);
    // Bulges all below 1e-6 leave the ring straight.
    EXPECT_EQ(rel(P(0.5, 0.5), kUnit, Doubles{1e-7, 0, 0, 0}), 2);

    // Rings with arcs go by ray cast.
    EXPECT_EQ(rel(P(0, 0), kCircle, kCircleBulges), 2);
    EXPECT_EQ(rel(P(0, -1), kCircle, kCircleBulges), 1);
    EXPECT_EQ(rel(P(0.6, 0.8), kCircle, kCircleBulges), 1);
    EXPECT_EQ(rel(P(0, 1.5), kCircle, kCircleBulges), 4);
    EXPECT_EQ(rel(P(2, 0), kCircle, kCircleBulges), 4);
    // Level with the vertices: the ray passes through (1,0) (and (-1,0)), each a crossing.
    EXPECT_EQ(rel(P(-0.5, 0), kCircle, kCircleBulges), 2);
    EXPECT_EQ(rel(P(-2, 0), kCircle, kCircleBulges), 4);
    // Far from the origin the same circle answers the same.
    const Pts far = shifted(kCircle, 500000, 3500000);
    EXPECT_EQ(rel(P(500000.5, 3500000), far, kCircleBulges), 2);
    EXPECT_EQ(rel(P(500002, 3500000), far, kCircleBulges), 4);
}

TEST(GeoRelationPoint, RayTouchesAndRunsAlongEdges) {
    // A rectangle whose bottom bulges up to (2,1): the ray from (1,1) touches the arc's top and
    // crosses the east side; the touch must not flip the parity.
    const Pts dented{P(0, 0), P(4, 0), P(4, 3), P(0, 3), P(0, 0)};
    const Doubles dent{-0.5, 0, 0, 0, 0};
    EXPECT_EQ(rel(P(1, 1), dented, dent), 2);
    EXPECT_EQ(rel(P(-1, 1), dented, dent), 4);
    EXPECT_EQ(rel(P(2, 0.5), dented, dent), 4);
    EXPECT_EQ(rel(P(2, 1), dented, dent), 1);
    // A ray running along the top edge is turned by 5 degrees and decides again.
    EXPECT_EQ(rel(P(-1, 3), dented, dent), 4);
    EXPECT_EQ(rel(P(3.9, 2.9), dented, dent), 2);
    // An open ring with arcs is not closed for the cast: only the upper half circle remains.
    EXPECT_EQ(rel(P(0, 1), Pts{P(1, 0), P(-1, 0)}, Doubles{1, 1}), 1);

    // The same straight rings through both routes: the crossing test, and the ray cast on the
    // polyline entity (rings listed closed so the entity closes them). Grid points hit vertices
    // and run along edges, so the cast's turns are exercised too.
    Pts closedComb = kComb;
    closedComb.append(kComb.first());
    const AcArray<Pts> rings{
        closedComb, Pts{P(0, 0), P(6, 0), P(6, 6), P(3, 2), P(0, 6), P(0, 0)},
        Pts{P(0, 0), P(4, 1), P(8, 0), P(7, 4), P(8, 8), P(4, 7), P(0, 8), P(1, 4), P(0, 0)}};
    std::mt19937 random(42);
    std::uniform_real_distribution<double> coordinate(-1.0, 9.0);
    std::uniform_int_distribution<int> grid(-2, 18);
    for (const Pts& r : rings)
        for (int k = 0; k < 400; ++k) {
            const AcGePoint2d p = k % 2 ? P(coordinate(random), coordinate(random))
                                        : P(grid(random) / 2.0, grid(random) / 2.0);
            EXPECT_EQ(CTavroGeoInternal::rayCastRelation(p, r, Doubles()), rel(p, r))
                << p.x << "," << p.y;
        }
    EXPECT_EQ(CTavroGeoInternal::rayCastRelation(P(0, 0), Pts(), Doubles()), -1);
}

TEST(GeoRelationPoint, RegionsSetsAndParity) {
    const Tavro::NodeIsland holed = region(square(0, 0, 10), {square(4, 4, 2)});
    EXPECT_EQ(L::geoPointWithPolygonRelation(P(5, 5), holed), 4);
    EXPECT_EQ(L::geoPointWithPolygonRelation(P(4, 5), holed), 2);
    EXPECT_EQ(L::geoPointInPolygon(holed, P(4, 5)), 1);
    EXPECT_EQ(L::geoPointInPolygon(holed, P(5, 5)), 4);
    EXPECT_EQ(L::geoPointWithPolygonRelation(P(1, 1), holed), 2);
    EXPECT_EQ(L::geoPointWithPolygonRelation(P(0, 5), holed), 1);
    EXPECT_EQ(L::geoPointWithPolygonRelation(P(11, 5), holed), 4);

    Regions set;
    EXPECT_EQ(L::geoPointWithPolygonRelation(P(1, 1), set), -1);
    EXPECT_EQ(L::geoPointInPolygon(set, P(1, 1)), 4);
    set.append(region(square(0, 0, 1)));
    EXPECT_EQ(L::geoPointWithPolygonRelation(P(1, 0.5), set), 1);
    set.append(region(square(5, 0, 1)));
    // Several members report only inside or outside.
    EXPECT_EQ(L::geoPointWithPolygonRelation(P(5.5, 0.5), set), 2);
    EXPECT_EQ(L::geoPointWithPolygonRelation(P(1, 0.5), set), 4);
    EXPECT_EQ(L::geoPointInPolygon(set, P(1, 0.5)), 1);
    EXPECT_EQ(L::geoPointInPolygon(set, P(5.5, 0.5)), 2);

    // From the comb's left edge a point in the middle tooth is crossed three times, in the last
    // tooth five times; in a gap four times.
    const Tavro::NodeBulge comb = ring(kComb);
    EXPECT_EQ(L::geoPointInPolygon(comb, P(2.5, 2)), 2);
    EXPECT_EQ(L::geoPointInPolygon(comb, P(4.5, 2)), 2);
    EXPECT_EQ(L::geoPointInPolygon(comb, P(3.5, 2)), 4);
    EXPECT_EQ(L::geoPointInPolygon(comb, P(3, 2)), 1);
    EXPECT_EQ(L::geoPointInPolygon(comb, P(9, 2)), 4);
    // Bulges count only when there is one per vertex.
    EXPECT_EQ(L::geoPointInPolygon(ring(Pts{P(1, 0), P(-1, 0)}, Doubles{1, 1}), P(0, 0.5)), 2);
    EXPECT_EQ(L::geoPointInPolygon(ring(Pts{P(1, 0), P(-1, 0)}, Doubles{1}), P(0, 0.5)), 4);
    EXPECT_EQ(L::geoPointInPolygon(ring(Pts()), P(0, 0)), 4);
}

// Winding number of a straight ring about pt, counted with orientations rather than a parity,
// as an independent verdict for points off the boundary.
int winding(const AcGePoint2d& pt, const Pts& nodes) {
    int w = 0;
    for (int i = 0; i < nodes.length(); ++i) {
        const AcGePoint2d& a = nodes[i];
        const AcGePoint2d& b = nodes[(i + 1) % nodes.length()];
        const double side = (b.x - a.x) * (pt.y - a.y) - (pt.x - a.x) * (b.y - a.y);
        if (a.y <= pt.y && b.y > pt.y && side > 0) ++w;
        if (a.y > pt.y && b.y <= pt.y && side < 0) --w;
    }
    return w;
}

TEST(GeoRelationPoint, PointInPolygonCountsTrueCrossings) {
    // Beside the ring's extents, and between two members of a set: outside.
    EXPECT_EQ(L::geoPointInPolygon(ring(kUnit), P(-0.5, 0.5)), 4);
    EXPECT_EQ(L::geoPointInPolygon(ring(kUnit), P(-0.5, 1)), 4);
    Regions pair;
    pair.append(region(kUnit));
    pair.append(region(square(2, 0, 1)));
    EXPECT_EQ(L::geoPointInPolygon(pair, P(1.5, 0.5)), 4);
    EXPECT_EQ(L::geoPointInPolygon(pair, P(-1, 0.5)), 4);
    EXPECT_EQ(L::geoPointInPolygon(pair, P(2.5, 0.5)), 2);
    // A notch whose vertex (1.5, 1) the row only touches: inside on both sides of it.
    const Tavro::NodeBulge notch = ring(Pts{P(0, 0), P(3, 0), P(3, 2), P(1.5, 1), P(0, 2)});
    EXPECT_EQ(L::geoPointInPolygon(notch, P(2.5, 1)), 2);
    EXPECT_EQ(L::geoPointInPolygon(notch, P(0.5, 1)), 2);
    EXPECT_EQ(L::geoPointInPolygon(notch, P(-1, 1)), 4);
    EXPECT_EQ(L::geoPointInPolygon(notch, P(1.5, 1.5)), 4);
    // The comb's row through the bottoms of its gaps passes five vertical edges.
    const Tavro::NodeBulge comb = ring(kComb);
    EXPECT_EQ(L::geoPointInPolygon(comb, P(0.5, 1)), 2);
    EXPECT_EQ(L::geoPointInPolygon(comb, P(-1, 1)), 4);
    EXPECT_EQ(L::geoPointInPolygon(comb, P(-1, 3)), 4);
    EXPECT_EQ(L::geoPointInPolygon(comb, P(1.5, 3)), 4);

    // A five-pointed star: points level with every vertex, either side of it and far out,
    // against the winding number.
    Pts star;
    for (int i = 0; i < 10; ++i) {
        const double a = Tavro::kPi * i / 5.0;
        star.append(P((i % 2 ? 1.0 : 2.5) * std::cos(a), (i % 2 ? 1.0 : 2.5) * std::sin(a)));
    }
    for (const AcGePoint2d& v : star) {
        for (double dx : {-3.0, -0.3, 0.3, 3.0}) {
            const AcGePoint2d q = P(v.x + dx, v.y);
            if (L::geoPointInPolygon(ring(star), q) == 1) continue;
            EXPECT_EQ(L::geoPointInPolygon(ring(star), q), winding(q, star) ? 2 : 4)
                << q.x << ", " << q.y;
        }
    }

    // The circle of two half circles: the row through the joins crosses once each side.
    const Tavro::NodeBulge circle = ring(Pts{P(1, 0), P(-1, 0)}, Doubles{1, 1});
    EXPECT_EQ(L::geoPointInPolygon(circle, P(0, 0)), 2);
    EXPECT_EQ(L::geoPointInPolygon(circle, P(-2, 0)), 4);
    EXPECT_EQ(L::geoPointInPolygon(circle, P(-0.5, 0)), 2);
    // Rows touching the top and the bottom of the circle.
    EXPECT_EQ(L::geoPointInPolygon(circle, P(-0.5, 1)), 4);
    EXPECT_EQ(L::geoPointInPolygon(circle, P(-0.5, -1)), 4);
    EXPECT_EQ(L::geoPointInPolygon(circle, P(0, 0.999)), 2);
    // A major arc (three quarters of a circle) crossed twice by one row, closed by its chord.
    const double major = std::tan(3 * Tavro::kPi / 8);
    const Tavro::NodeBulge pie = ring(Pts{P(1, 0), P(0, -1)}, Doubles{major, 0});
    EXPECT_EQ(L::geoPointInPolygon(pie, P(-0.5, -0.5)), 2);
    EXPECT_EQ(L::geoPointInPolygon(pie, P(-1.5, -0.5)), 4);
    EXPECT_EQ(L::geoPointInPolygon(pie, P(0.6, -0.6)), 4);

    // A flat arc of bulge 1e-9 on a 100 m top edge at Gauss-plane size rises 5e-8 m at its
    // middle: half that height is inside, one and a half times it outside.
    const double x0 = 500000, y0 = 3500000, s = 1e-9 * 100 / 2;
    const Tavro::NodeBulge flat =
        ring(Pts{P(x0, y0), P(x0 + 100, y0), P(x0 + 100, y0 + 100), P(x0, y0 + 100)},
             Doubles{0, 0, 1e-9, 0});
    EXPECT_EQ(L::geoPointInPolygon(flat, P(x0 + 50, y0 + 100 + 0.5 * s)), 2);
    EXPECT_EQ(L::geoPointInPolygon(flat, P(x0 + 50, y0 + 100 + 1.5 * s)), 4);
}

TEST(GeoRelationPoint, PointInPolygonAgreesWithTheRayCast) {
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int compared = 0;
    for (int round = 0; round < 40; ++round) {
        // A star-shaped ring of 7 to 14 vertices (40 to 47 from round 20 on, long enough for
        // the ray cast to read only the pieces near its ray), concave, every third edge an arc
        // in half the rounds, closed by repeating its first vertex.
        const int n = (round < 20 ? 7 : 40) + round % 8;
        Pts nodes;
        Doubles bulges;
        for (int i = 0; i < n; ++i) {
            const double a = Tavro::kTwoPi * (i + 0.4 * unit(rng)) / n;
            const double radius = 1.0 + 2.0 * unit(rng);
            nodes.append(P(100 + radius * std::cos(a), 200 + radius * std::sin(a)));
            bulges.append(round % 2 && i % 3 == 0 ? 0.6 * unit(rng) - 0.3 : 0.0);
        }
        nodes.append(nodes.first());
        bulges.append(0.0);
        for (int k = 0; k < 100; ++k) {
            // Every fourth point level with a vertex, so rays pass through vertices.
            const double y = k % 4 ? 196 + 8 * unit(rng) : nodes[k % n].y;
            const AcGePoint2d q = P(96 + 8 * unit(rng), y);
            const int byRow = L::geoPointInPolygon(ring(nodes, bulges), q);
            const int byRay = L::geoPointWithPolygonRelation(q, nodes, bulges);
            if (byRow == 1 || byRay == 1) continue;
            ASSERT_EQ(byRow, byRay) << "round " << round << " at " << q.x << ", " << q.y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 3900);
}

TEST(GeoRelationRing, SegmentsAndRings) {
    EXPECT_EQ(L::geoLineWithPolyRelation(kUnit, P(-1, 0.5), P(2, 0.5)), 6);
    EXPECT_EQ(L::geoLineWithPolyRelation(kUnit, P(0.2, 0.5), P(0.8, 0.5)), 2);
    EXPECT_EQ(L::geoLineWithPolyRelation(kUnit, P(0, 0), P(1, 0)), 1);
    EXPECT_EQ(L::geoLineWithPolyRelation(kUnit, P(2, 0), P(3, 0)), 4);
    EXPECT_EQ(L::geoLineWithPolyRelation(kUnit, P(0.5, 0.5), P(1, 0.5)), 3);
    EXPECT_EQ(L::geoLineWithPolyRelation(kUnit, P(1, 0.5), P(2, 0.5)), 5);
    // In, out through a corner and along an edge: all three kinds.
    EXPECT_EQ(L::geoLineWithPolyRelation(kUnit, P(0.5, 0.5), P(1.5, -0.5)) & 6, 6);
    EXPECT_EQ(L::geoLineWithPolyRelation(Pts(), P(0, 0), P(1, 1)), -1);

    EXPECT_EQ(L::geoPolyWithPolyRelation(kUnit, kUnit, 1e-10), 0);
    EXPECT_EQ(L::geoPolyWithPolyRelation(kSmall, kUnit, 1e-10), 2);
    EXPECT_EQ(L::geoPolyWithPolyRelation(kUnit, kSmall, 1e-10), 9);
    EXPECT_EQ(L::geoPolyWithPolyRelation(kUnit, square(3, 3, 1), 1e-10), 4);
    EXPECT_EQ(L::geoPolyWithPolyRelation(kUnit, square(0.5, 0.5, 1), 1e-10), 6);
    const Pts leftHalf{P(0, 0.25), P(0.5, 0.25), P(0.5, 0.75), P(0, 0.75)};
    EXPECT_EQ(L::geoPolyWithPolyRelation(leftHalf, kUnit, 1e-10), 3);
    EXPECT_EQ(L::geoPolyWithPolyRelation(square(1, 0, 1), kUnit, 1e-10), 5);
    EXPECT_EQ(L::geoPolyWithPolyRelation(Pts(), kUnit, 1e-10), -1);

    EXPECT_TRUE(L::IsPolyInPoly(kSmall, kUnit, false));
    EXPECT_FALSE(L::IsPolyInPoly(kUnit, kSmall, false));
    EXPECT_TRUE(L::IsPolyInPoly(kUnit, kSmall, true));
    EXPECT_FALSE(L::IsPolyInPoly(kUnit, Pts(), true));
}

// The relations written plainly, every edge against every question, as a second route to the
// answers the indexed engine gives.
int plainPointRelation(const AcGePoint2d& pt, Pts closed) {
    const int n = closed.length();
    for (int i = 0; i < n; ++i)
        if (L::geoPointInLine(pt, closed[i], closed[(i + 1) % n], AcGeContext::gTol.equalPoint()))
            return 1;
    return CTavroGeoInternal::rowCrossingParity(pt, closed, Doubles()) ? 2 : 4;
}

int plainRule(const QMap<int, int>& tally, int expected) {
    int combined = 0;
    for (auto it = tally.cbegin(); it != tally.cend(); ++it) {
        if (it.value() == expected) return it.key();
        combined |= it.key();
    }
    return combined;
}

Pts closedCopy(const Pts& ring) {
    Pts closed = ring;
    if (closed.first().distanceTo(closed.last()) > 1e-6) closed.append(closed.first());
    return closed;
}

int plainSegmentRelation(const Pts& ring, const AcGePoint2d& a, const AcGePoint2d& b) {
    const Pts closed = closedCopy(ring);
    Pts hits;
    Doubles params;
    L::polylineIntersection(closed, Pts{a, b}, hits, params);
    QMap<int, int> tally;
    int expected = 2 + hits.length();
    ++tally[plainPointRelation(a, closed)];
    ++tally[plainPointRelation(b, closed)];
    if (hits.length() == 1 && !(plainPointRelation(hits[0], closed) & 3)) {
        ++tally[6];
        ++expected;
    }
    for (int i = 0; hits.length() > 1 && i + 1 < hits.length(); ++i) {
        ++tally[plainPointRelation(
            CTavroGeoPoint::geoCalculatePoint(hits[i], hits[i + 1], Tavro::kCenter), closed)];
        ++expected;
    }
    return plainRule(tally, expected);
}

int plainEdgeTally(const Pts& a, const Pts& b) {
    auto edges = [](const Pts& r) {
        return r.first().distanceTo(r.last()) < 1e-6 ? r.length() - 1 : r.length();
    };
    QMap<int, int> tally;
    for (int i = 0; i < edges(a); ++i)
        ++tally[plainSegmentRelation(b, a[i], a[(i + 1) % a.length()])];
    int expected = edges(a);
    if (tally.size() == 1 && tally.contains(4)) {
        for (int i = 0; i < edges(b); ++i) {
            const int r = plainSegmentRelation(a, b[i], b[(i + 1) % b.length()]);
            ++tally[r == 2 ? 9 : r];
        }
        expected = edges(b);
    }
    return plainRule(tally, expected);
}

TEST(GeoRelationRing, IndexedRelationsMatchThePlainWalk) {
    // Jittered rings of 40 vertices at Gauss-plane size, questioned with segments whose ends
    // sit on vertices, on edges, a hair off them (1e-7 to 1e-5: either side of the tolerance
    // tests) or anywhere, and with copies of the rings shifted by such hairs.
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double hairs[] = {0.0, 1e-7, 1e-6, 3e-6, 1e-5, 1e-3};
    auto pick = [&](const Pts& ring) {
        const int k = static_cast<int>(unit(rng) * ring.length()) % ring.length();
        const AcGePoint2d& v = ring[k];
        const AcGePoint2d& w = ring[(k + 1) % ring.length()];
        const double hair = hairs[static_cast<int>(unit(rng) * 6) % 6];
        switch (static_cast<int>(unit(rng) * 3)) {
        case 0:
            return P(v.x + hair, v.y - hair);
        case 1: {
            const double t = unit(rng);
            return P(v.x + t * (w.x - v.x) + hair, v.y + t * (w.y - v.y) - hair);
        }
        default:
            return P(v.x + 30 * (unit(rng) - 0.5), v.y + 30 * (unit(rng) - 0.5));
        }
    };
    int compared = 0;
    for (int round = 0; round < 12; ++round) {
        Pts ring;
        for (int i = 0; i < 40; ++i) {
            const double a = Tavro::kTwoPi * i / 40, r = 10 + 5 * unit(rng);
            ring.append(P(500000 + r * std::cos(a), 3500000 + r * std::sin(a)));
        }
        // Two edges 200 km long beside 10 m ones, one of them level, whose box has no height:
        // each edge's own reach must be searched.
        if (round % 3 == 2) ring[0] = P(700000, ring[1].y);
        if (round % 2) ring.append(ring.first());
        for (int k = 0; k < 150; ++k) {
            const AcGePoint2d a = pick(ring), b = pick(ring);
            ASSERT_EQ(L::geoLineWithPolyRelation(ring, a, b), plainSegmentRelation(ring, a, b))
                << round << " " << k;
            ASSERT_EQ(L::geoPointWithPolygonRelation(a, ring, Doubles()),
                      plainPointRelation(a, closedCopy(ring)));
            ++compared;
        }
        for (double hair : hairs) {
            const Pts moved = shifted(ring, hair, -hair);
            Pts inner;
            for (const AcGePoint2d& v : ring)
                inner.append(P(500000 + (v.x - 500000) * 0.5, 3500000 + (v.y - 3500000) * 0.5));
            for (const Pts& other : {moved, inner}) {
                EXPECT_EQ(CTavroGeoInternal::edgeTally(ring, other), plainEdgeTally(ring, other));
                EXPECT_EQ(CTavroGeoInternal::edgeTally(other, ring), plainEdgeTally(other, ring));
            }
        }
    }
    EXPECT_EQ(compared, 1800);
}

TEST(GeoRelationRing, RingsWithArcsIslandsAndSets) {
    // Broken into 0.1 degree chords without closing: the circle is listed closed.
    const Tavro::NodeBulge circle = ring(kCircle, kCircleBulges);
    const Tavro::NodeBulge big = ring(square(-2, -2, 4));
    EXPECT_EQ(L::GetRelation(circle, big), 2);
    EXPECT_EQ(L::GetRelation(big, circle), 9);
    EXPECT_EQ(L::GetRelation(circle, ring(square(0.5, 0.5, 3))), 6);
    // Listed open, the second half circle is left out and its chord closes the ring: a half
    // disc on the square's edge, partly inside, partly outside, partly on it.
    EXPECT_EQ(L::GetRelation(ring(Pts{P(1, 0), P(-1, 0)}, Doubles{1, 1}), ring(square(0, 0, 3))),
              7);

    const Tavro::NodeIsland holed = region(square(0, 0, 10), {square(4, 4, 2)});
    EXPECT_EQ(L::GetRelation(ring(square(1, 1, 1)), holed), 2);
    EXPECT_EQ(L::GetRelation(ring(square(4.5, 4.5, 1)), holed), 4);
    EXPECT_EQ(L::GetRelation(ring(square(3, 3, 2)), holed), 6);
    EXPECT_EQ(L::GetRelation(ring(square(0, 0, 10)), holed), 6);
    EXPECT_EQ(L::GetRelation(holed, ring(square(0, 0, 10))), 6);
    EXPECT_EQ(L::GetRelation(holed, ring(square(20, 0, 1))), 4);
    EXPECT_EQ(L::GetRelation(holed, region(square(0, 0, 10), {square(4, 4, 2)})), 0);
    EXPECT_EQ(L::GetRelation(holed, region(square(0, 0, 10), {square(1, 1, 2)})), 6);
    EXPECT_EQ(L::GetRelation(holed, region(square(0, 0, 10))), 6);
    EXPECT_EQ(L::GetRelation(region(square(1, 1, 1)), holed), 2);
    // The holed square contains a region whose island sits in its own island.
    const Tavro::NodeIsland wide = region(square(-1, -1, 12), {square(3.5, 3.5, 3)});
    EXPECT_EQ(L::GetRelation(wide, holed), 9);
    EXPECT_EQ(L::GetRelation(wide, region(square(0, 0, 10), {square(1, 1, 1)})), 6);

    const Regions one{region(square(0, 0, 10))};
    const Regions two{region(square(1, 1, 1)), region(square(3, 3, 1))};
    EXPECT_EQ(L::GetPolygonRelation(two, one), 2);
    EXPECT_EQ(L::GetPolygonRelation(one, two), 9);
    EXPECT_EQ(L::GetPolygonRelation(Regions(), two), -1);
    // One member outside, one touching from outside.
    const Regions apart{region(square(20, 0, 1)), region(square(10, 0, 1))};
    EXPECT_EQ(L::GetPolygonRelation(apart, one), 5);
    EXPECT_EQ(L::GetPolygonRelation(two, apart), 4);
    EXPECT_EQ(L::GetPolygonRelation(one, Regions{holed}), 6);
}

TEST(GeoRelationMap, NestedAndSideBySideRingsWithTheMeter) {
    // The last ring is the only one with an arc, bowing out of its east side but staying in 3.
    const QVector<Pts> rings{square(0, 0, 10), square(2, 2, 6), square(4, 4, 2), square(20, 0, 3),
                             square(21, 1, 1)};
    const QVector<Doubles> bulges{Doubles(), Doubles(), Doubles(), Doubles(),
                                  Doubles{0, 0.2, 0, 0}};
    QStringList calls;
    QMap<int, QList<int>> map;
    {
        const ProgressRecorder meter;
        map = L::geoPolyInPolyMap(rings, bulges);
        calls = meter.calls;
    }
    const QMap<int, QList<int>> want{{0, {1}}, {1, {2}}, {2, {}}, {3, {4}}, {4, {}}};
    EXPECT_EQ(map, want);
    QStringList expected{u8("start 正在进行拓扑分析 0 5")};
    for (int i = 1; i <= 4; ++i)
        expected << QString("pos %1").arg(i) << "pump";
    expected << "end" << u8("start 构建拓扑关系 0 4");
    for (int i = 0; i <= 4; ++i)
        expected << QString("pos %1").arg(i) << "pump";
    expected << "end";
    EXPECT_EQ(calls, expected);
    EXPECT_TRUE(L::geoPolyInPolyMap({}, {}).isEmpty());

    // With many rings the meter steps in hundredths. Phase one: trunc(i * 0.4) reaches
    // 1 ... 99; phase two: one step per key.
    QVector<Pts> many;
    for (int i = 0; i < 250; ++i)
        many.append(square(2.0 * i, 0, 1));
    const ProgressRecorder meter;
    EXPECT_EQ(L::geoPolyInPolyMap(many, {}).size(), 250);
    EXPECT_EQ(meter.count("pos"), 99 + 250);
    EXPECT_EQ(meter.calls.filter("pos ").last(), "pos 249");
}

TEST(GeoRelationTests, ConcaveVerticesInnerPointsMatchesAndLabels) {
    const Pts ell{P(0, 0), P(2, 0), P(2, 1), P(1, 1), P(1, 2), P(0, 2)};
    EXPECT_TRUE(L::isConcavePoint(ell, 3));
    EXPECT_FALSE(L::isConcavePoint(ell, 1));
    EXPECT_FALSE(L::isConcavePoint(ell, 6));
    EXPECT_FALSE(L::isConcavePoint(Pts{P(0, 0), P(1, 0), P(0, 1)}, 0));
    EXPECT_TRUE(L::isConcavePoly(ell));
    EXPECT_FALSE(L::isConcavePoly(kUnit));

    AcGePoint2d out(9, 9);
    EXPECT_TRUE(L::getRandomPointInNodesB(Pts{P(0, 0), P(3, 0), P(0, 3)}, out));
    EXPECT_EQ(out, P(1, 1));
    out = P(9, 9);
    EXPECT_TRUE(L::getRandomPointInNodesB(Pts{P(0, 0), P(3, 0), P(0, 3), P(0, 0)}, out));
    EXPECT_EQ(out, P(1, 1));
    // The L's first triangle (0,0),(2,0),(2,1) has its middle inside.
    EXPECT_TRUE(L::getRandomPointInNodesB(ell, out));
    EXPECT_EQ(rel(out, ell), 2);
    out = P(9, 9);
    EXPECT_FALSE(L::getRandomPointInNodesB(Pts{P(0, 0), P(0, 0), P(1, 1)}, out));
    EXPECT_EQ(out, P(9, 9));

    EXPECT_TRUE(L::isLineSegmentInPoly(Pts{P(0, 0), P(1, 0), P(1, 1)}, kUnit));
    EXPECT_FALSE(L::isLineSegmentInPoly(Pts{P(0, 0), P(0.5, 0.5)}, kUnit));
    EXPECT_FALSE(L::isLineSegmentInPoly(Pts(), kUnit));

    EXPECT_TRUE(L::isPolyMatch(kUnit, Pts{P(1, 1), P(0, 1), P(0, 0), P(1, 0)}, 0));
    const Pts nudged{P(0, 0.001), P(1, 0), P(1, 1), P(0, 1)};
    EXPECT_TRUE(L::isPolyMatch(kUnit, nudged, 1.1e-6));
    EXPECT_FALSE(L::isPolyMatch(kUnit, nudged, 0.9e-6));
    EXPECT_FALSE(L::isPolyMatch(kUnit, Pts{P(0, 0), P(1, 1)}, 1));

    // A convex ring: the centre of its box.
    EXPECT_EQ(CTavroGeoGlobal::GetPlineMiddlePoint(square(0, 0, 4)), P(2, 2));
    EXPECT_EQ(CTavroGeoGlobal::GetPlineMiddlePoint(Pts()), P(0, 0));
    // A thin L: box centre, vertex mean and centroid fall outside; the chord midpoint nearest
    // to all vertices on average, (0.5, 0.5) in the corner, is inside.
    const Pts thinEll{P(0, 0), P(10, 0), P(10, 1), P(1, 1), P(1, 10), P(0, 10)};
    EXPECT_EQ(CTavroGeoGlobal::GetPlineMiddlePoint(thinEll), P(0.5, 0.5));
    // A thin C: the best chord midpoint (5,5) lies in the opening, so the label falls back to
    // the open polyline's half-way point, (1,5) on the inner side, closed or not.
    Pts cee{P(0, 0), P(10, 0), P(10, 1), P(1, 1), P(1, 9), P(10, 9), P(10, 10), P(0, 10)};
    EXPECT_EQ(CTavroGeoGlobal::GetPlineMiddlePoint(cee), P(1, 5));
    cee.append(P(0, 0));
    EXPECT_EQ(CTavroGeoGlobal::GetPlineMiddlePoint(cee), P(1, 5));
}
