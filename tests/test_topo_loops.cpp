// The loop builder and its drivers: faces and outer boundaries of double graphs, ids carried per
// face, arcs, dangling pieces, the merge of pass-through nodes, polylines and components.

#include "TestSupport.h"

#include <algorithm>
#include <map>

namespace {

using Ids = std::vector<std::uint64_t>;

// Shoelace area, positive counterclockwise (the opposite of the library's sign).
double ccwArea(const Pts& ring) {
    double sum = 0.0;
    for (int i = 0; i < ring.length(); ++i) {
        const AcGePoint2d& a = ring[i];
        const AcGePoint2d& b = ring[(i + 1) % ring.length()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum / 2.0;
}

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
        EXPECT_DOUBLE_EQ(ccwArea(ring), 1.0); // counterclockwise unit cell
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
    EXPECT_DOUBLE_EQ(ccwArea(outer.m_loops[0]), -9.0); // clockwise
    EXPECT_EQ(outer.m_loopIds[0].size(), 12u - 4u);    // the merged corner runs carry one id each
}
