// The loop builder and its drivers: faces and outer boundaries of double graphs, ids carried per
// face, arcs, dangling pieces, the merge of pass-through nodes, polylines and components.

#include "TestSupport.h"

#include <algorithm>
#include <map>

namespace {

using Ids = std::vector<std::uint64_t>;

void addSegment(CTavroAutoLoop& loop, AcGePoint2d a, AcGePoint2d b, std::uint64_t id) {
    Pts piece{a, b};
    loop.AddEdge(piece, true, id);
}

// An n x n grid of unit cells, every cell side a separate segment; horizontal side (i, j) from
// (i, j) to (i + 1, j) has id 1000 * j + i + 1, vertical side id 500000 + 1000 * i + j + 1.
void addGrid(CTavroAutoLoop& loop, int n) {
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i < n; ++i)
            addSegment(loop, P(i, j), P(i + 1, j), 1000 * j + i + 1);
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j < n; ++j)
            addSegment(loop, P(i, j), P(i, j + 1), 500000 + 1000 * i + j + 1);
}

// The ids of the four sides of grid cell (i, j).
Ids cellIds(int i, int j) {
    Ids ids{static_cast<std::uint64_t>(1000 * j + i + 1),
            static_cast<std::uint64_t>(1000 * (j + 1) + i + 1),
            static_cast<std::uint64_t>(500000 + 1000 * i + j + 1),
            static_cast<std::uint64_t>(500000 + 1000 * (i + 1) + j + 1)};
    std::sort(ids.begin(), ids.end());
    return ids;
}

AcGePoint2d centroidOf(const Pts& ring) {
    double x = 0.0, y = 0.0;
    for (const AcGePoint2d& p : ring) {
        x += p.x;
        y += p.y;
    }
    return P(x / ring.length(), y / ring.length());
}

int edgeCount(const CTavroAutoLoop& loop) {
    int count = 0;
    for (const CTavroPtNode& n : loop.m_nodes)
        count += n.m_node->m_edges.GetSize();
    return count;
}

} // namespace

TEST(TopoDoubleLoops, GridOfSeparateSegmentsGivesNineFacesOrOneOuterRing) {
    CTavroAutoLoop faces;
    addGrid(faces, 3);
    faces.GetDoubleLoops(0);
    ASSERT_EQ(faces.m_loops.size(), 9);
    ASSERT_EQ(faces.m_loopIds.size(), 9u);
    std::map<std::pair<int, int>, int> seen;
    for (int f = 0; f < 9; ++f) {
        const Pts& ring = faces.m_loops[f];
        EXPECT_EQ(ring.length(), 4);
        EXPECT_DOUBLE_EQ(shoelaceArea(ring), 1.0); // counterclockwise unit cell
        const AcGePoint2d c = centroidOf(ring);
        const int i = static_cast<int>(std::floor(c.x)), j = static_cast<int>(std::floor(c.y));
        ++seen[{i, j}];
        Ids ids = faces.m_loopIds[f];
        std::sort(ids.begin(), ids.end());
        const Ids all = cellIds(i, j);
        const bool corner = (i == 0 || i == 2) && (j == 0 || j == 2);
        // A grid corner is a pass-through node, merged into one edge that carries the id of the
        // piece by which the face reaches the corner; every other cell keeps its four ids.
        EXPECT_EQ(ids.size(), corner ? 3u : 4u) << "cell " << i << "," << j;
        EXPECT_TRUE(std::includes(all.begin(), all.end(), ids.begin(), ids.end()));
        if (i == 0 && j == 0) {
            EXPECT_EQ(ids, (Ids{1001, 500001, 501001})); // enters (0,0) from (0,1)
        }
    }
    EXPECT_EQ(seen.size(), 9u); // every cell once
    EXPECT_TRUE(faces.m_loopBulges.isEmpty());

    CTavroAutoLoop outer;
    addGrid(outer, 3);
    outer.GetDoubleLoops(1);
    ASSERT_EQ(outer.m_loops.size(), 1);
    // The corners and the side midpoints of the 3 x 3 block are junctions or pass-through nodes
    // merged away: the ring keeps every vertex of the boundary, 12 of them.
    EXPECT_EQ(outer.m_loops[0].length(), 12);
    EXPECT_DOUBLE_EQ(shoelaceArea(outer.m_loops[0]), -9.0); // clockwise
    EXPECT_EQ(outer.m_loopIds[0].size(), 12u - 4u); // the merged corner runs carry one id each
}

TEST(TopoDoubleLoops, SquaresDanglingPiecesAndDoubleRuns) {
    // A lone square of four polylines: one counterclockwise face, or the same square clockwise.
    for (int mode = 0; mode < 2; ++mode) {
        CTavroAutoLoop loop;
        const Pts sq = square(0, 0, 2);
        for (int i = 0; i < 4; ++i)
            addSegment(loop, sq[i], sq[(i + 1) % 4], i + 1);
        loop.GetDoubleLoops(mode);
        ASSERT_EQ(loop.m_loops.size(), 1);
        EXPECT_EQ(loop.m_loops[0].length(), 4);
        EXPECT_DOUBLE_EQ(shoelaceArea(loop.m_loops[0]), mode == 1 ? -4.0 : 4.0);
        EXPECT_EQ(edgeCount(loop), 0); // both ways round were walked and consumed
    }

    // A dangling segment lies on no ring: faces and boundary are the square's, its edges stay.
    for (int mode = 0; mode < 2; ++mode) {
        CTavroAutoLoop loop;
        Pts ring = closedSquare(0, 0, 2);
        loop.AddEdge(ring, true, 1); // closed: two halves
        addSegment(loop, P(2, 2), P(3, 3), 9);
        addSegment(loop, P(1, 0), P(1, 0.5), 8); // into the square, from a side's middle
        loop.GetDoubleLoops(mode);
        ASSERT_EQ(loop.m_loops.size(), 1) << "mode " << mode;
        EXPECT_DOUBLE_EQ(std::fabs(shoelaceArea(loop.m_loops[0])), 4.0);
        for (std::uint64_t id : loop.m_loopIds[0])
            EXPECT_EQ(id, 0u); // the halves of a closed piece carry id 0
        EXPECT_EQ(edgeCount(loop), 4);
    }

    // Two straight pieces between the same two points make a two-point ring: dropped by size.
    CTavroAutoLoop twice;
    addSegment(twice, P(0, 0), P(1, 0), 1);
    addSegment(twice, P(1, 0), P(0, 0), 2);
    twice.GetDoubleLoops(0);
    EXPECT_TRUE(twice.m_loops.isEmpty());
    EXPECT_TRUE(twice.m_loopIds.empty());
}

TEST(TopoDoubleLoops, LensOfTwoArcsIsKeptWithItsBulges) {
    // The unit circle about (1, 0) as two half circles from (0, 0) to (2, 0): bulge 1 runs
    // counterclockwise below the chord, bulge -1 clockwise above it.
    for (int mode = 0; mode < 2; ++mode) {
        CTavroAutoLoop loop;
        Pts below{P(0, 0), P(2, 0)}, above{P(0, 0), P(2, 0)};
        Doubles bBelow{1.0, 0.0}, bAbove{-1.0, 0.0};
        loop.AddEdge(below, bBelow, true, 11);
        loop.AddEdge(above, bAbove, true, 12);
        loop.GetBulgesDoubleLoops(mode);
        ASSERT_EQ(loop.m_loops.size(), 1);
        ASSERT_EQ(loop.m_loops[0].length(), 2);
        ASSERT_EQ(loop.m_loopBulges.size(), 1);
        ASSERT_EQ(loop.m_loopBulges[0].length(), 2);
        // geoArea is positive for clockwise: -pi for the face, pi for the outer boundary.
        const double area = CTavroGeoPoint::geoArea(loop.m_loops[0], loop.m_loopBulges[0]);
        EXPECT_NEAR(area, mode == 1 ? kPi : -kPi, 1e-9);
        Ids ids = loop.m_loopIds[0];
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(ids, (Ids{11, 12}));
    }
}

TEST(TopoBuilder, AddingTrimsSplitsSnapsAndBreaksTies) {
    CTavroAutoLoop loop;
    Pts repeated{P(0, 0), P(0, 0), P(1, 0), P(1, 0)};
    loop.AddEdge(repeated, true, 5);
    ASSERT_EQ(repeated.length(), 2); // trimmed and left reversed
    expectNear(repeated[0], 1, 0);
    expectNear(repeated[1], 0, 0);
    ASSERT_EQ(loop.m_nodes.size(), 2u);
    CTavroLoopNode* origin = loop.GetNodes(P(0, 0));
    ASSERT_EQ(origin->m_edges.GetSize(), 1);
    EXPECT_FALSE(origin->m_edges[0]->m_reverse); // the copy in input order
    EXPECT_TRUE(loop.GetNodes(P(1, 0))->m_edges[0]->m_reverse);
    EXPECT_EQ(origin->m_edges[0]->m_id, 5u);

    // Nothing is added for a piece with one distinct point or a non-finite coordinate.
    Pts single{P(3, 3), P(3, 3)}, bad{P(0, 0), P(kNaN, 1)};
    loop.AddEdge(single, true, 1);
    loop.AddEdge(bad, true, 1);
    EXPECT_EQ(loop.m_nodes.size(), 2u);

    // Snapping: within kNodeCoordinateTol in x and y is the first node, at the first point seen.
    const double node = Tavro::kNodeCoordinateTol;
    EXPECT_EQ(loop.GetNodes(P(0.9 * node, -0.9 * node)), origin);
    EXPECT_ACROSS_TOL(node, CTavroPtNode::CompareNode(P(d, 0), P(0, 0)), 0, 1);
    EXPECT_ACROSS_TOL(node, CTavroPtNode::CompareNode(P(0, d), P(0, 0)), 0, 1);
    EXPECT_NE(loop.GetNodes(P(2 * node, 0)), origin);
    EXPECT_EQ(CTavroPtNode::CompareNode(P(-1, 5), P(0, 0)), -1);

    // A closed triangle: halves p0, p1 and p1, p2, p0 with id 0.
    CTavroAutoLoop tri;
    Pts closed{P(0, 0), P(4, 0), P(0, 3), P(0, 0)};
    tri.AddEdge(closed, true, 7);
    CTavroLoopNode* p0 = tri.GetNodes(P(0, 0));
    CTavroLoopNode* p1 = tri.GetNodes(P(4, 0));
    EXPECT_EQ(tri.m_nodes.size(), 2u);
    ASSERT_EQ(p0->m_edges.GetSize(), 2);
    ASSERT_EQ(p1->m_edges.GetSize(), 2);
    // Descending angle at p0: the way back of p1, p2, p0 leaves upward (pi/2) before the
    // way to p1 (0).
    EXPECT_EQ(p0->m_edges[0]->m_points, (Pts{P(0, 0), P(0, 3), P(4, 0)}));
    EXPECT_EQ(p0->m_edges[1]->m_points, (Pts{P(0, 0), P(4, 0)}));
    EXPECT_EQ(p0->m_edges[0]->m_id, 0u);

    // Ties within 1e-7: the forward copy of a later piece goes after, its backward copy before.
    CTavroAutoLoop ties;
    Pts first{P(0, 0), P(1, 0)}, second{P(0, 0), P(2, 0)};
    ties.AddEdge(first, true, 1);
    ties.AddEdge(second, true, 2);
    CTavroLoopNode* o = ties.GetNodes(P(0, 0));
    ASSERT_EQ(o->m_edges.GetSize(), 2);
    EXPECT_EQ(o->m_edges[0]->m_id, 1u);
    EXPECT_EQ(o->m_edges[1]->m_id, 2u);
    Pts third{P(5, 0), P(0, 0)}; // its backward copy leaves o along +x too
    ties.AddEdge(third, true, 3);
    EXPECT_EQ(o->m_edges[0]->m_id, 3u);

    // Pair-wise edges: descending or ascending angle order, equal angles last.
    CTavroAutoLoop pairs;
    pairs.AddEdge(P(0, 0), P(1, 0), 1);
    pairs.AddEdge(P(0, 0), P(0, 1), 2);
    pairs.AddEdge(P(0, 0), P(-1, 0), 3);
    pairs.AddEdgeR(P(5, 5), P(6, 5), 1);
    pairs.AddEdgeR(P(5, 5), P(5, 6), 2);
    pairs.AddEdgeR(P(5, 5), P(4, 5), 3);
    pairs.AddEdgeR(P(5, 5), P(6, 5), 0.5, 4);
    CTavroLoopNode* d = pairs.GetNodes(P(0, 0));
    CTavroLoopNode* a = pairs.GetNodes(P(5, 5));
    EXPECT_EQ(d->m_edges[0]->m_id, 3u);
    EXPECT_EQ(d->m_edges[2]->m_id, 1u);
    EXPECT_TRUE(pairs.GetNodes(P(1, 0))->m_edges.IsEmpty()); // one directed edge only
    // The arc of bulge 0.5 leaves below the chord (angle just under 2pi): last.
    ASSERT_EQ(a->m_edges.GetSize(), 4);
    EXPECT_EQ(a->m_edges[0]->m_id, 1u);
    EXPECT_EQ(a->m_edges[3]->m_id, 4u);
    EXPECT_EQ(a->m_edges[3]->m_bulges, (Doubles{0.5, 0.0}));
}

TEST(TopoBuilder, DivideNodesSplitsAtTheLowerMiddle) {
    CTavroAutoLoop loop;
    Pts first, second;
    Pts five{P(0, 0), P(1, 0), P(1, 1), P(0, 1), P(0, 0)};
    loop.DivideNodes(five, first, second);
    EXPECT_EQ(first, (Pts{P(0, 0), P(1, 0), P(1, 1)}));
    EXPECT_EQ(second, (Pts{P(1, 1), P(0, 1), P(0, 0)}));
    Pts four{P(0, 0), P(1, 0), P(1, 1), P(0, 0)};
    Doubles bulges{0.1, 0.2, 0.3, 0.0}, b1, b2;
    loop.DivideNodes(four, bulges, first, b1, second, b2);
    EXPECT_EQ(first, (Pts{P(0, 0), P(1, 0)}));
    EXPECT_EQ(second, (Pts{P(1, 0), P(1, 1), P(0, 0)}));
    EXPECT_EQ(b1, (Doubles{0.1, 0.2}));
    EXPECT_EQ(b2, (Doubles{0.2, 0.3, 0.0}));
    Pts none;
    loop.DivideNodes(none, first, second);
    EXPECT_TRUE(first.isEmpty() && second.isEmpty());
}

TEST(TopoBuilder, StartOrdersAndTheMergeOfPassNodes) {
    // A T: junction (1, 0), end nodes (0, 0), (2, 0), (1, 1); and a pass node at (1, 0.5).
    auto addT = [](CTavroAutoLoop& loop) {
        addSegment(loop, P(0, 0), P(1, 0), 1);
        addSegment(loop, P(1, 0), P(2, 0), 2);
        addSegment(loop, P(1, 0), P(1, 0.5), 3);
        addSegment(loop, P(1, 0.5), P(1, 1), 4);
    };
    CTavroAutoLoop t;
    addT(t);
    t.ReorderNodes();
    ASSERT_EQ(t.m_startNodes.size(), 5u);
    expectNear(t.m_startNodes[0].m_point, 1, 0);   // junction
    expectNear(t.m_startNodes[1].m_point, 1, 0.5); // pass
    expectNear(t.m_startNodes[2].m_point, 0, 0);   // ends by x, then y
    expectNear(t.m_startNodes[3].m_point, 1, 1);
    expectNear(t.m_startNodes[4].m_point, 2, 0);
    t.ReorderNodesR();
    EXPECT_EQ(t.m_startNodes.size(), 8u); // end nodes are never cleared: listed twice
    expectNear(t.m_startNodes.back().m_point, 1, 0);
    t.ReorderNodesBD();
    EXPECT_EQ(t.m_startNodes.size(), 2u);
    t.Reorder2Nodes();
    expectNear(t.m_startNodes[0].m_point, 1, 0.5);

    CTavroAutoLoop merged;
    addT(merged);
    merged.ReorderSimplyNodes();
    EXPECT_TRUE(merged.m_passNodes.empty());
    CTavroLoopNode* j = merged.GetNodes(P(1, 0));
    const CTavroLoopEdge* up = j->m_edges[1]; // descending: pi, pi/2, 0
    EXPECT_EQ(up->m_points, (Pts{P(1, 0), P(1, 0.5), P(1, 1)}));
    EXPECT_EQ(up->m_to, merged.GetNodes(P(1, 1)));
    EXPECT_EQ(up->m_id, 3u);
    const CTavroLoopEdge* down = merged.GetNodes(P(1, 1))->m_edges[0];
    EXPECT_EQ(down->m_points, (Pts{P(1, 1), P(1, 0.5), P(1, 0)}));
    EXPECT_EQ(down->m_to, j);
    EXPECT_EQ(down->m_id, 4u);

    // A closed run without junctions ends as two pass nodes, each with both edges to the other.
    CTavroAutoLoop ring;
    const Pts sq = square(0, 0, 1);
    for (int i = 0; i < 4; ++i)
        addSegment(ring, sq[i], sq[(i + 1) % 4], i + 1);
    ring.ReorderSimplyNodes();
    ASSERT_EQ(ring.m_passNodes.size(), 2u);
    CTavroLoopNode* x = ring.m_passNodes[0].m_node;
    CTavroLoopNode* y = ring.m_passNodes[1].m_node;
    for (CTavroLoopNode* n : {x, y}) {
        ASSERT_EQ(n->m_edges.GetSize(), 2);
        EXPECT_EQ(n->m_edges[0]->m_to, n == x ? y : x);
        EXPECT_EQ(n->m_edges[1]->m_to, n == x ? y : x);
        EXPECT_EQ(n->m_edges[0]->m_points.length() + n->m_edges[1]->m_points.length(), 6);
    }
    // A closed polyline added whole is two halves on two nodes: left as it is.
    CTavroAutoLoop whole;
    Pts closed = closedSquare(0, 0);
    whole.AddEdge(closed, true, 1);
    whole.ReorderSimplyNodes();
    EXPECT_EQ(whole.m_passNodes.size(), 2u);
    EXPECT_EQ(whole.m_passNodes[0].m_node->m_edges[0]->m_points.length(), 3);
}

TEST(TopoBuilder, CompareSearchAndSegmentTests) {
    CTavroAutoLoop loop;
    const CTavroEdge a(P(0, 0), P(1, 0));
    EXPECT_EQ(loop.CompareEdge(a, CTavroEdge(P(1, 0), P(0, 0))), 0);
    EXPECT_EQ(loop.CompareEdge(a, CTavroEdge(P(0, 0), P(2, 0))), -1);
    EXPECT_EQ(loop.CompareEdge(CTavroEdge(P(0, 0), P(2, 0)), a), 1);
    // Same midpoint, other length; same midpoint and length, other angle; x agreeing, y not.
    EXPECT_EQ(loop.CompareEdge(CTavroEdge(P(-0.5, 0), P(1.5, 0)), a), 1);
    EXPECT_EQ(loop.CompareEdge(a, CTavroEdge(P(0.5, -0.5), P(0.5, 0.5))), -1);
    EXPECT_EQ(loop.CompareEdge(a, CTavroEdge(P(0, 1), P(1, 1))), -1);

    int index = 42;
    EXPECT_FALSE(loop.FindEdge(a, index));
    EXPECT_EQ(index, 42);
    EXPECT_TRUE(loop.FindDist(Doubles{1, 2, 3}, 2.0, index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(loop.FindDist(Doubles{1, 2, 3}, 2.0000001, index)); // exact
    EXPECT_EQ(index, 2);
    CTavroLoopNode n1(P(0, 0)), n2(P(0, 0)), n3(P(0, 0));
    CTavroLoopNode* sorted[3] = {&n1, &n2, &n3};
    std::sort(sorted, sorted + 3);
    CArray<CTavroLoopNode*, CTavroLoopNode*> nodes;
    nodes.Add(sorted[0]);
    nodes.Add(sorted[2]);
    EXPECT_TRUE(loop.FindNode(nodes, sorted[2], index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(loop.FindNode(nodes, sorted[1], index));
    EXPECT_EQ(index, 1);

    EXPECT_TRUE(loop.PointInSegment(P(0, 0), P(0, 0), P(4, 0)));
    EXPECT_TRUE(loop.PointInSegment(P(4, 0), P(0, 0), P(4, 0)));
    EXPECT_TRUE(loop.PointInSegment(P(2, 5e-7), P(0, 0), P(4, 0))); // squared 2.5e-13
    EXPECT_FALSE(loop.PointInSegment(P(2, 1e-3), P(0, 0), P(4, 0)));
    EXPECT_FALSE(loop.PointInSegment(P(4.001, 0), P(0, 0), P(4, 0)));
    EXPECT_DOUBLE_EQ(loop.sqrDist(P(1, 1), P(4, 5)), 25.0);

    // Self-splitting: two crossing segments give four pieces, recorded newest first.
    std::vector<CTavroEdge> cross{CTavroEdge(P(0, 0), P(2, 2)), CTavroEdge(P(0, 2), P(2, 0))};
    loop.SelfDivEdges(cross);
    ASSERT_EQ(loop.m_edges.size(), 4u);
    expectNear(loop.m_edges[0].m_start, 1, 1);
    expectNear(loop.m_edges[0].m_end, 2, 0);
    expectNear(loop.m_edges[3].m_start, 0, 0);
    EXPECT_EQ(loop.GetNodes(P(1, 1))->m_edges.GetSize(), 4);
    loop.GetDoubleLoops(1);
    ASSERT_EQ(loop.m_loops.size(), 0); // a cross encloses nothing
}

TEST(TopoBuilder, HostileInputsAreIgnoredOrSurvived) {
    // Pieces with non-finite points, too few points, repeated points only, or bulge arrays of the
    // wrong length: nothing bad happens, and every driver runs on what was kept.
    auto fill = [](CTavroAutoLoop& loop) {
        std::vector<Pts> pieces{Pts(),
                                Pts{P(0, 0)},
                                Pts{P(1, 1), P(1, 1), P(1, 1)},
                                Pts{P(kNaN, 0), P(1, 0)},
                                Pts{P(0, 0), P(kInf, 5)},
                                Pts{P(0, 0), P(1, 0), P(1, 1), P(0, 0)},
                                Pts{P(0, 0), P(0, 0)},
                                Pts{P(0, 0), P(2, 0)}};
        std::uint64_t id = 0;
        for (Pts& piece : pieces) {
            Pts copy = piece;
            ++id;
            loop.AddEdge(copy, id % 2 == 0, id);
            Doubles shortBulges{0.5};
            loop.AddEdge(piece, shortBulges, true, id);
        }
        Doubles nanBulge{kNaN, 0};
        Pts arc{P(5, 5), P(6, 5)};
        loop.AddEdge(arc, nanBulge, true, 99);
        loop.AddEdge(P(0, 0), P(0, 0), 7); // a zero-length one-way edge
        loop.AddEdgeR(P(3, 3), P(3, 3), 1.0, 8);
        loop.AddEdge(P(kNaN, 0), P(1, 1), 9);
        loop.AddEdgeR(P(0, 0), P(1, kInf), 9);
        loop.AddEdgeR(P(0, 0), P(1, 1), kNaN, 9);
        CArray<Pts, Pts> many;
        many.Add(Pts{P(9, 9), P(10, 9)});
        many.Add(Pts{P(10, 9), P(9, 9)});
        CArray<Doubles, Doubles> fewBulges;
        loop.AddEdges(many, fewBulges, true, 3);
    };
    using Driver = void (*)(CTavroAutoLoop&);
    const Driver drivers[] = {
        [](CTavroAutoLoop& l) { l.GetSingleLoops(); },
        [](CTavroAutoLoop& l) { l.GetSingleLoopsR(); },
        [](CTavroAutoLoop& l) { l.GetBulgesSingleLoopsR(); },
        [](CTavroAutoLoop& l) { l.GetDoubleLoops(0); },
        [](CTavroAutoLoop& l) { l.GetDoubleLoops(1); },
        [](CTavroAutoLoop& l) { l.GetBulgesDoubleLoops(0); },
        [](CTavroAutoLoop& l) { l.GetBulgesDoubleLoops(7); },
        [](CTavroAutoLoop& l) { l.GetInterLoops(); },
        [](CTavroAutoLoop& l) { l.GetBulgesInterLoops(); },
        [](CTavroAutoLoop& l) { l.GetBoundary(P(kNaN, kNaN)); },
        [](CTavroAutoLoop& l) { l.ConnectPolyline(); },
        [](CTavroAutoLoop& l) {
            std::vector<AcArray<AcDbObjectId>> groups;
            l.SortPolyline(groups);
        },
    };
    for (const Driver& drive : drivers) {
        CTavroAutoLoop empty;
        drive(empty);
        EXPECT_TRUE(empty.m_loops.isEmpty());
        CTavroAutoLoop loop;
        fill(loop);
        for (const CTavroPtNode& n : loop.m_nodes) {
            EXPECT_TRUE(isFinite(n.m_point));
        }
        drive(loop);
        drive(loop); // a second driver sees what the first left
        for (const Pts& ring : loop.m_loops)
            for (const AcGePoint2d& p : ring)
                EXPECT_TRUE(isFinite(p));
    }

    // Walks called straight on a node with arrays too short to have a vertex before the node,
    // or with no previous node.
    CTavroAutoLoop loop;
    Pts sq = closedSquare(0, 0);
    loop.AddEdge(sq, true, 1);
    CTavroLoopNode* n = loop.GetNodes(P(0, 0));
    std::vector<Pts> path;
    std::vector<Doubles> bulgePath;
    Ids ids;
    CTavroPathArray chain;
    CTavroBulgePathArray chainBulges;
    const Pts none;
    const Doubles noBulges;
    for (int mark = 100; mark < 104; ++mark) {
        n->NextNodeD(mark, nullptr, nullptr, none, 1, path, ids, true);
        n->NextNodeDBulge(mark, nullptr, nullptr, none, noBulges, 1, path, bulgePath, ids, true);
        n->NextNodeX(mark, nullptr, nullptr, none, 1, path, ids);
        n->NextNodeS(mark, nullptr, nullptr, none, chain);
        n->NextNodeR(mark, nullptr, nullptr, none, chain);
        n->NextNodeRBulge(mark, nullptr, nullptr, none, noBulges, chain, chainBulges);
        n->NextLine(mark, nullptr, nullptr, none, noBulges, 1, path, bulgePath, ids, true);
    }
    std::set<std::uint64_t> idSet;
    EXPECT_EQ(n->SortID(500, nullptr, nullptr, none, 4, path, idSet), 2);
    EXPECT_EQ(idSet, (std::set<std::uint64_t>{0, 4})); // the arriving id, the halves' id 0
    n->IsDeasil(path);
    std::vector<Pts> onePoint{Pts{P(0, 0)}};
    std::vector<Doubles> noneBulges;
    EXPECT_FALSE(CTavroLoopNode::IsBulgeDeasil(onePoint, noneBulges));

    // Edges of non-finite points split into themselves and compare without trouble.
    CTavroEdge bad(P(kNaN, 0), P(1, kInf));
    std::vector<CTavroEdge> others{bad, CTavroEdge(P(0, 0), P(1, 1))}, pieces;
    bad.GetDivEdges(others, pieces);
    EXPECT_EQ(pieces.size(), 1u);
    CTavroEdge(P(0, 0), P(1, 1)).GetDivEdges(others, pieces);
    EXPECT_EQ(pieces.size(), 1u);
    std::vector<CTavroEdge> same, opposite, uncovered;
    bad.Intersection(others, same, opposite, uncovered);
    EXPECT_FALSE(loop.PointInSegment(P(0, 0), P(0, 0), P(0, 0)));
}

TEST(TopoBuilder, ChainWalkNeverRepeatsAStepItIsIn) {
    // One-way edges t -> a; a -> b, a -> t; b -> c, b -> a; c -> a, c -> b. Walking the chain
    // from t, a step that calls itself would run a, b, c, a, b, ... for ever; here the second
    // step along a -> b backs out, and the walk goes on from a to t.
    CTavroAutoLoop loop;
    const AcGePoint2d t(0, 0), a(1, 0), b(2, 1), c(2, -1);
    for (const auto& [from, to] : std::vector<std::pair<AcGePoint2d, AcGePoint2d>>{
             {t, a}, {a, b}, {a, t}, {b, c}, {b, a}, {c, a}, {c, b}})
        loop.AddEdgeR(from, to, 0.0, 1);
    CTavroLoopNode* start = loop.GetNodes(t);
    std::vector<Pts> path;
    std::vector<Doubles> bulges;
    Ids ids;
    const CTavroLoopEdge* k = start->m_edges[0];
    EXPECT_EQ(k->m_to->NextLine(1, start, start, k->m_points, k->m_bulges, k->m_id, path, bulges,
                                ids, true),
              0);
    EXPECT_EQ(path.size(), 5u); // t a, a b, b c, c a, a t
    expectNear(path.back().last(), 0, 0);
    loop.ConnectPolyline(); // runs the same walks from every pass node
}
