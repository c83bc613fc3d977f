// CTavroEdge: measures, projection tests, searches and the three ways of splitting an edge.

#include "TestSupport.h"

namespace {

using Edges = std::vector<CTavroEdge>;

CTavroEdge E(double x1, double y1, double x2, double y2) {
    return CTavroEdge(P(x1, y1), P(x2, y2));
}

// The pieces as "x1,y1-x2,y2 ..." for compact comparisons.
std::string text(const Edges& edges) {
    std::string out;
    for (const CTavroEdge& e : edges) {
        char piece[128];
        std::snprintf(piece, sizeof(piece), "%s%g,%g-%g,%g", out.empty() ? "" : " ", e.m_start.x,
                      e.m_start.y, e.m_end.x, e.m_end.y);
        out += piece;
    }
    return out;
}

} // namespace

TEST(TopoEdge, MeasuresAndConstruction) {
    EXPECT_DOUBLE_EQ(E(1, 0, 0, 0).Angle(), kPi); // exactly pi is not folded
    EXPECT_DOUBLE_EQ(E(0, 0, 1, 0).Angle(), 0.0);
    EXPECT_DOUBLE_EQ(E(0, 1, 0, 0).Angle(), kPi / 2); // 3pi/2 folded by pi
    EXPECT_DOUBLE_EQ(E(0, 0, 1, 1).Angle(), E(1, 1, 0, 0).Angle());

    CTavroEdge e = E(1, 2, 4, 6);
    EXPECT_DOUBLE_EQ(e.Dist(), 5.0);
    expectNear(e.MidPoint(), 2.5, 4.0);
    EXPECT_EQ(e.getVector(), AcGeVector2d(3, 4));
    EXPECT_EQ(e.getNormal(), AcGeVector2d(-4, 3));
    EXPECT_DOUBLE_EQ(e.GetParamAtPoint(P(4, 6)), 25.0); // the squared length at the end
    EXPECT_DOUBLE_EQ(e.GetParamAtPoint(P(1, 2)), 0.0);
    EXPECT_DOUBLE_EQ(E(0, 0, 1e-6, 0).GetParamAtPoint(P(5, 0)), 0.0); // below 1e-10 squared
    // (p - start) = (4, -3) is perpendicular: distance 5, cross product 25 = length * distance.
    EXPECT_DOUBLE_EQ(e.SquareDistance(P(5, -1)), 25.0);
    EXPECT_DOUBLE_EQ(e.SquareDistLine(P(5, -1)), 25.0);
    EXPECT_DOUBLE_EQ(e.SquareDistance(P(7, 10)), 25.0);  // beyond the end: (3, 4) from it
    EXPECT_DOUBLE_EQ(e.SquareDistance(P(-2, -2)), 25.0); // behind the start
    e.Swap();
    expectNear(e.m_start, 4, 6);
    expectNear(e.m_end, 1, 2);

    const CTavroEdge three(P3(1, 2, 7), P3(3, 4, 9));
    expectNear(three.m_end, 3, 4);
    EXPECT_DOUBLE_EQ(three.m_tol.equalPoint(), 1e-6);
    EXPECT_DOUBLE_EQ(three.m_tol.equalVector(), 0.1);
    CTavroEdge copy;
    copy = three;
    EXPECT_DOUBLE_EQ(copy.m_tol.equalVector(), 0.1);
    expectNear(copy.m_start, 1, 2);
}

TEST(TopoEdge, ProjectionTestsIgnoreTheDistanceFromTheLine) {
    const CTavroEdge e = E(0, 0, 10, 0);
    EXPECT_TRUE(e.IsPointInLine(P(5, 100)));
    EXPECT_TRUE(e.IsPointOnLine(P(5, 100)));
    EXPECT_TRUE(e.IsPointOnLine(P(10, 0)));
    EXPECT_FALSE(e.IsPointInLine(P(10, 0)));
    EXPECT_FALSE(e.IsPointInLine(P(0, 3)));
    EXPECT_FALSE(e.IsPointOnLine(P(10.001, 0)));
    EXPECT_FALSE(e.IsPointOnLine(P(-0.001, 0)));
    EXPECT_TRUE(e.IsPointOnEdges({E(20, 0, 30, 0), e}, P(0, 0)));
    EXPECT_FALSE(e.IsPointOnEdges({}, P(0, 0)));

    bool same = false;
    EXPECT_TRUE(e.IsLineOnEdges({E(0, 0, 10, 0)}, P(2, 0), P(4, 0), same));
    EXPECT_TRUE(same);
    EXPECT_TRUE(e.IsLineOnEdges({E(0, 0, 10, 0)}, P(4, 0), P(2, 0), same));
    EXPECT_FALSE(same);
    same = true;
    EXPECT_FALSE(e.IsLineOnEdges({E(0, 0, 10, 0)}, P(10, 0), P(12, 0), same)); // midpoint 11
    EXPECT_TRUE(same);                                                         // untouched
}

TEST(TopoEdge, FindNodeIsABinarySearchWithInsertionIndex) {
    CTavroEdge e;
    Doubles empty;
    int index = -5;
    EXPECT_FALSE(e.FindNode(empty, 1.0, index));
    EXPECT_EQ(index, 0);
    Doubles values{1, 2, 3, 5};
    EXPECT_TRUE(e.FindNode(values, 2.00000005, index)); // within 1e-7
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(e.FindNode(values, 4.0, index));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(e.FindNode(values, 9.0, index));
    EXPECT_EQ(index, 4);
    EXPECT_FALSE(e.FindNode(values, 0.0, index));
    EXPECT_EQ(index, 0);
}

TEST(TopoEdge, ClassifyFindsWhereAnotherEdgeMeetsTheLine) {
    const CTavroEdge e = E(0, 0, 10, 0);
    Pts pts;
    e.Classify(E(2, 0, 4, 0), pts);    // on the line: both ends
    e.Classify(E(5, 0, 5, 3), pts);    // start on it
    e.Classify(E(6, 3, 6, 0), pts);    // end on it
    e.Classify(E(7, -1, 9, 3), pts);   // crosses the line at x = 7.5
    e.Classify(E(0, 1, 5, 2), pts);    // one side only
    e.Classify(E(20, -1, 20, 1), pts); // the infinite line: beyond the segment too
    ASSERT_EQ(pts.length(), 6);
    expectNear(pts[0], 2, 0);
    expectNear(pts[1], 4, 0);
    expectNear(pts[2], 5, 0);
    expectNear(pts[3], 6, 0);
    expectNear(pts[4], 7.5, 0);
    expectNear(pts[5], 20, 0);
}

TEST(TopoEdge, SplittingAtEndsAndCrossings) {
    CTavroEdge e = E(0, 0, 10, 0);
    Edges pieces{E(9, 9, 9, 9)}; // replaced
    const Edges others{E(3, -1, 3, 1), E(7, 0, 7, 5), E(2, 0, 2.00001, 0), E(12, 0, 15, 0)};
    e.DivEdge(others, pieces);
    // Only ends on the line cut: (7, 0) and (2, 0); (2.00001, 0) is 0.0001 from it in parameter.
    EXPECT_EQ(text(pieces), "0,0-2,0 2,0-7,0 7,0-10,0");
    Edges others2 = others;
    e.GetDivEdges(others2, pieces);
    EXPECT_EQ(text(pieces), "0,0-2,0 2,0-3,0 3,0-7,0 7,0-10,0"); // the crossing at x = 3 too

    Edges itself{e, E(10, 0, 0, 0)};
    e.GetDivEdges(itself, pieces);
    EXPECT_EQ(text(pieces), "0,0-10,0");
    CTavroEdge zero = E(1, 1, 1, 1);
    zero.GetDivEdges(others2, pieces);
    EXPECT_EQ(text(pieces), "1,1-1,1");
}

TEST(TopoEdge, IntersectionSortsPiecesByCover) {
    const CTavroEdge e = E(0, 0, 10, 0);
    Edges same, opposite, uncovered;
    e.Intersection(Edges(), same, opposite, uncovered);
    EXPECT_EQ(text(uncovered), "0,0-10,0");
    EXPECT_TRUE(same.empty() && opposite.empty());

    // A chain 7-8-9 in this edge's direction merges into one cover: no cut at 8.
    const Edges others{E(2, 0, 4, 0), E(6, 0, 5, 0), E(7, 0, 8, 0), E(8, 0, 9, 0)};
    e.Intersection(others, same, opposite, uncovered);
    EXPECT_EQ(text(same), "2,0-4,0 7,0-9,0");
    EXPECT_EQ(text(opposite), "5,0-6,0");
    EXPECT_EQ(text(uncovered), "0,0-2,0 4,0-5,0 6,0-7,0 9,0-10,0");

    // The single-edge form is the list form with one edge.
    e.Intersection(E(8, 0, 3, 0), same, opposite, uncovered);
    EXPECT_TRUE(same.empty());
    EXPECT_EQ(text(opposite), "3,0-8,0");
    EXPECT_EQ(text(uncovered), "0,0-3,0 8,0-10,0");
}
