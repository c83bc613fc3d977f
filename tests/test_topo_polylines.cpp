// The polyline drivers of the loop builder (maximal polylines through pass-through nodes, piece
// ids by component) and the remaining loop drivers: single graphs, inter loops, the picked face.

#include "TestSupport.h"

namespace {

using Ids = std::vector<std::uint64_t>;

// A straight piece with zero bulges, as the polyline drivers expect.
void addPiece(CTavroAutoLoop& loop, Pts pts, std::uint64_t id) {
    Doubles bulges;
    bulges.setLogicalLength(pts.length());
    loop.AddEdge(pts, bulges, true, id);
}

Pts reversed(Pts pts) {
    pts.reverse();
    return pts;
}

std::vector<std::vector<std::uint64_t>> groupsOf(CTavroAutoLoop& loop) {
    std::vector<AcArray<AcDbObjectId>> groups;
    loop.SortPolyline(groups);
    std::vector<std::vector<std::uint64_t>> out;
    for (const AcArray<AcDbObjectId>& g : groups) {
        out.emplace_back();
        for (const AcDbObjectId& id : g)
            out.back().push_back(id.asOldId());
    }
    return out;
}

} // namespace

TEST(TopoPolylines, ConnectPolylineJoinsRunsThroughPassNodes) {
    // Three segments a-b, b-c, c-d: one polyline a, b, c, d (or its reverse).
    CTavroAutoLoop chain;
    addPiece(chain, {P(0, 0), P(1, 0)}, 1);
    addPiece(chain, {P(1, 0), P(2, 1)}, 2);
    addPiece(chain, {P(2, 1), P(3, 1)}, 3);
    chain.ConnectPolyline();
    ASSERT_EQ(chain.m_loops.size(), 1);
    const Pts abcd{P(0, 0), P(1, 0), P(2, 1), P(3, 1)};
    EXPECT_TRUE(chain.m_loops[0] == abcd || chain.m_loops[0] == reversed(abcd));
    Ids ids = chain.m_loopIds[0];
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (Ids{1, 2, 3}));
    EXPECT_EQ(chain.m_loopBulges[0].length(), 4);

    // A closed ring of pass-through nodes is joined on the deep ring in test_topo_walks.

    // A lone segment (two end nodes) is not output.
    CTavroAutoLoop lone;
    addPiece(lone, {P(0, 0), P(1, 0)}, 1);
    lone.ConnectPolyline();
    EXPECT_TRUE(lone.m_loops.isEmpty());

    // A junction with three arms: the arm through a pass node is joined up to the junction; the
    // two plain arms (junction to end node) come out once each, unchanged.
    CTavroAutoLoop star;
    addPiece(star, {P(0, 0), P(1, 0)}, 1);
    addPiece(star, {P(0, 0), P(-1, 0)}, 2);
    addPiece(star, {P(0, 0), P(0, 1)}, 3);
    addPiece(star, {P(0, 1), P(0, 2)}, 4);
    star.ConnectPolyline();
    ASSERT_EQ(star.m_loops.size(), 3);
    ASSERT_EQ(star.m_loopIds.size(), 3u);
    ASSERT_EQ(star.m_loopBulges.size(), 3);
    const Pts arm{P(0, 0), P(0, 1), P(0, 2)};
    EXPECT_TRUE(star.m_loops[0] == arm || star.m_loops[0] == reversed(arm)); // pass nodes first
    EXPECT_EQ(star.m_loopIds[1].size(), 1u);
    EXPECT_EQ(star.m_loops[1].length(), 2);
    EXPECT_EQ(star.m_loops[2].length(), 2);
    Ids armIds{star.m_loopIds[1][0], star.m_loopIds[2][0]};
    std::sort(armIds.begin(), armIds.end());
    EXPECT_EQ(armIds, (Ids{1, 2}));

    // Two junctions joined by a piece: output once, from the first junction.
    CTavroAutoLoop bar;
    addPiece(bar, {P(0, 0), P(1, 0)}, 1);
    for (const AcGePoint2d& end : {P(-1, 1), P(-1, -1)})
        addPiece(bar, {P(0, 0), end}, 2);
    for (const AcGePoint2d& end : {P(2, 1), P(2, -1)})
        addPiece(bar, {P(1, 0), end}, 3);
    bar.ConnectPolyline();
    EXPECT_EQ(bar.m_loops.size(), 5);
}

TEST(TopoPolylines, SortPolylineGroupsIdsByComponent) {
    // Two separate pieces: one group each, in the order of their start nodes (ends by x).
    CTavroAutoLoop apart;
    addPiece(apart, {P(5, 0), P(6, 0)}, 7);
    addPiece(apart, {P(0, 0), P(1, 0)}, 3);
    EXPECT_EQ(groupsOf(apart), (std::vector<Ids>{{3}, {7}}));

    // Pieces meeting at a point: one group, ids ascending; the edges are not consumed.
    CTavroAutoLoop meet;
    addPiece(meet, {P(0, 0), P(1, 0)}, 9);
    addPiece(meet, {P(1, 0), P(1, 1)}, 5);
    addPiece(meet, {P(1, 0), P(2, 0)}, 7);
    addPiece(meet, {P(10, 10), P(11, 10)}, 1);
    EXPECT_EQ(groupsOf(meet), (std::vector<Ids>{{5, 7, 9}, {1}}));
    EXPECT_EQ(meet.GetNodes(P(1, 0))->m_edges.GetSize(), 3);

    CTavroAutoLoop empty;
    EXPECT_TRUE(groupsOf(empty).empty());
}

TEST(TopoPolylines, GetBoundaryFindsTheFaceAroundAPick) {
    auto twoCells = [](CTavroAutoLoop& loop) {
        // Pieces meet only at their ends: the middle side ends where the outline is cut.
        Pts left{P(1, 1), P(0, 1), P(0, 0), P(1, 0)}, right{P(1, 0), P(2, 0), P(2, 1), P(1, 1)};
        Pts middle{P(1, 0), P(1, 1)};
        loop.AddEdge(left, true, 1);
        loop.AddEdge(right, true, 2);
        loop.AddEdge(middle, true, 3);
    };
    CTavroAutoLoop right;
    twoCells(right);
    EXPECT_TRUE(right.GetBoundary(P(1.5, 0.5)));
    ASSERT_EQ(right.m_loops.size(), 1);
    double minX = 9;
    for (const AcGePoint2d& p : right.m_loops[0])
        minX = std::min(minX, p.x);
    EXPECT_EQ(minX, 1.0); // the right cell
    CTavroAutoLoop outside;
    twoCells(outside);
    EXPECT_FALSE(outside.GetBoundary(P(5, 5)));
    EXPECT_TRUE(outside.m_loops.isEmpty());
    CTavroAutoLoop empty;
    EXPECT_FALSE(empty.GetBoundary(P(0, 0)));
}

TEST(TopoPolylines, SingleGraphAndInterLoops) {
    // A square as one-way edges, counterclockwise. The S walk turns sharpest left over
    // descending lists, the R walk sharpest right over ascending ones; each finds the square.
    const Pts sq = square(0, 0, 1);
    CTavroAutoLoop s, r, rb;
    for (int i = 0; i < 4; ++i) {
        s.AddEdge(sq[i], sq[(i + 1) % 4], i);
        r.AddEdgeR(sq[i], sq[(i + 1) % 4], i);
        rb.AddEdgeR(sq[i], sq[(i + 1) % 4], i == 1 ? 0.5 : 0.0, i);
    }
    s.AddEdge(P(1, 1), P(3, 3), 9); // a dangling edge: its two-edge "loop" needs a way back
    s.GetSingleLoops();
    ASSERT_EQ(s.m_loops.size(), 1);
    EXPECT_EQ(s.m_loops[0].length(), 4);
    r.GetSingleLoopsR();
    ASSERT_EQ(r.m_loops.size(), 1);
    EXPECT_EQ(r.m_loops[0].length(), 4);
    rb.GetBulgesSingleLoopsR();
    ASSERT_EQ(rb.m_loops.size(), 1);
    ASSERT_EQ(rb.m_loopBulges.size(), 1);
    EXPECT_EQ(rb.m_loopBulges[0].length(), 4);
    double bulgeSum = 0;
    for (double b : rb.m_loopBulges[0])
        bulgeSum += b;
    EXPECT_DOUBLE_EQ(bulgeSum, 0.5);

    // Inter loops start only from reversed copies and keep counterclockwise rings: a square given
    // clockwise has its reversed copies running counterclockwise.
    for (int clockwise = 0; clockwise < 2; ++clockwise) {
        CTavroAutoLoop inter, bulgeInter;
        for (int i = 0; i < 4; ++i) {
            const int a = clockwise ? (4 - i) % 4 : i, b = clockwise ? 3 - i : (i + 1) % 4;
            Pts piece{sq[a], sq[b]}, same{sq[a], sq[b]};
            inter.AddEdge(same, true, i + 1);
            Doubles zero{0, 0};
            bulgeInter.AddEdge(piece, zero, true, i + 1);
        }
        inter.GetInterLoops();
        bulgeInter.GetBulgesInterLoops();
        EXPECT_EQ(inter.m_loops.size(), clockwise ? 1 : 0);
        EXPECT_EQ(inter.m_loopIds.size(), clockwise ? 1u : 0u);
        EXPECT_EQ(bulgeInter.m_loops.size(), clockwise ? 1 : 0);
        EXPECT_EQ(bulgeInter.m_loopBulges.size(), clockwise ? 1 : 0);
    }
}

TEST(TopoPolylines, CopiesOwnTheirGraph) {
    CTavroAutoLoop source;
    const Pts sq = square(0, 0, 1);
    for (int i = 0; i < 4; ++i) {
        Pts piece{sq[i], sq[(i + 1) % 4]};
        source.AddEdge(piece, true, i + 1);
    }
    CTavroAutoLoop copy(source);
    CTavroAutoLoop assigned;
    Pts other{P(5, 5), P(6, 6)};
    assigned.AddEdge(other, true, 1);
    assigned = source;
    assigned = assigned;
    copy.GetDoubleLoops(0);
    assigned.GetDoubleLoops(1);
    EXPECT_EQ(copy.m_loops.size(), 1);
    EXPECT_EQ(assigned.m_loops.size(), 1);
    EXPECT_EQ(assigned.m_nodes.size(), 4u);
    source.GetDoubleLoops(0); // the source's graph is whole
    ASSERT_EQ(source.m_loops.size(), 1);
    EXPECT_EQ(source.m_loops[0], copy.m_loops[0]);
}
