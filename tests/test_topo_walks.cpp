// The walks of the loop graph and the merge of pass-through nodes: cross-checked against the
// step-by-step statement of both (a walk that calls itself once per edge, a merge that copies
// the chain at every node) on random graphs, and run on rings far deeper than any call stack.

#include "TestSupport.h"

#include <random>

namespace {

using Ids = std::vector<std::uint64_t>;
using Path = std::vector<Pts>;

// ---- The step-by-step statement, as a reference ----

// The D walk (straight back skipped, way back along the arriving edge) or the S walk (no skip,
// way back to the previous node), calling itself once per edge.
int referenceWalk(bool dWalk, CTavroLoopNode* n, int mark, const CTavroLoopNode* target,
                  CTavroLoopNode* prev, const Pts& arriving, std::uint64_t id, Path& path, Ids& ids,
                  bool clockwise) {
    path.push_back(arriving);
    ids.push_back(id);
    if (n == target) return !dWalk || n->IsDeasil(path) == clockwise ? 1 : 0;
    if (n->m_mark == mark) {
        path.pop_back();
        ids.pop_back();
        return 2;
    }
    n->m_mark = mark;
    const AcGePoint2d before = arriving[arriving.length() - 2];
    const AcGeVector2d back = dWalk ? before - n->m_point : prev->m_point - n->m_point;
    const int count = n->m_edges.GetSize();
    int k = count;
    for (int i = 0; i < count; ++i) {
        if (n->m_edges[i]->m_direction.angle() < back.angle()) {
            k = i;
            break;
        }
    }
    for (int t = 0; t < count; ++t) {
        const int index = (k + t) % count;
        CTavroLoopEdge* e = n->m_edges[index];
        if (dWalk && e->m_to == prev &&
            CTavroGeoGlobal::square2dDist(e->m_points[1], before) < 1e-12)
            continue;
        const int r = referenceWalk(dWalk, e->m_to, mark, target, n, e->m_points, e->m_id, path,
                                    ids, clockwise);
        if (r == 0 || r == 1) {
            delete e;
            n->m_edges.RemoveAt(index);
            return r;
        }
    }
    path.pop_back();
    ids.pop_back();
    return 2;
}

CTavroLoopEdge* firstTo(CTavroLoopNode* node, const CTavroLoopNode* to) {
    for (int i = 0; i < node->m_edges.GetSize(); ++i)
        if (node->m_edges[i]->m_to == to) return node->m_edges[i];
    return nullptr;
}

// The merge as stated: the neighbour's edge copies the chain beyond the node at every step.
void referenceMerge(std::vector<CTavroPtNode>& pass) {
    std::vector<CTavroPtNode> kept;
    for (const CTavroPtNode& pn : pass) {
        CTavroLoopNode* n = pn.m_node;
        CTavroLoopEdge* e0 = n->m_edges[0];
        CTavroLoopEdge* e1 = n->m_edges[1];
        CTavroLoopNode* a = e0->m_to;
        CTavroLoopNode* b = e1->m_to;
        if (a == b) {
            kept.push_back(pn);
            continue;
        }
        if (CTavroLoopEdge* ea = firstTo(a, n)) {
            ea->m_to = b;
            ea->m_points.removeLast();
            ea->m_points.append(e1->m_points);
            if (!ea->m_bulges.isEmpty()) ea->m_bulges.removeLast();
            ea->m_bulges.append(e1->m_bulges);
        }
        if (CTavroLoopEdge* eb = firstTo(b, n)) {
            eb->m_to = a;
            eb->m_points.removeLast();
            eb->m_points.append(e0->m_points);
            if (!eb->m_bulges.isEmpty()) eb->m_bulges.removeLast();
            eb->m_bulges.append(e0->m_bulges);
        }
    }
    pass = kept;
}

// The start order of ReorderSimplyNodes with the stated merge.
std::vector<CTavroPtNode> referenceSimplyOrder(CTavroAutoLoop& loop) {
    loop.Reorder2Nodes();
    std::vector<CTavroPtNode> ends;
    for (const CTavroPtNode& n : loop.m_nodes)
        if (n.m_node->m_edges.GetSize() == 1) ends.push_back(n);
    referenceMerge(loop.m_passNodes);
    std::vector<CTavroPtNode> starts = loop.m_junctionNodes;
    starts.insert(starts.end(), loop.m_passNodes.begin(), loop.m_passNodes.end());
    starts.insert(starts.end(), ends.begin(), ends.end());
    return starts;
}

// GetDoubleLoops (dWalk) or GetSingleLoops as stated, into loops and ids; with publicWalks the
// steps are the library's NextNodeD and NextNodeS instead of the reference walk.
void referenceDriver(CTavroAutoLoop& loop, bool dWalk, int mode, QVector<Pts>& loops,
                     std::vector<Ids>& loopIds, bool publicWalks = false) {
    std::vector<CTavroPtNode> starts;
    if (dWalk) {
        starts = referenceSimplyOrder(loop);
    } else {
        loop.ReorderNodes();
        starts = loop.m_startNodes;
    }
    int attempt = 0;
    for (const CTavroPtNode& s : starts) {
        CTavroLoopNode* node = s.m_node;
        int n = node->m_edges.GetSize();
        for (int j = 0; j < n; ++j) {
            CTavroLoopEdge* k = node->m_edges[j];
            Path path;
            Ids ids;
            int r = 2;
            ++attempt;
            if (!publicWalks) {
                r = referenceWalk(dWalk, k->m_to, attempt, node, node, k->m_points, k->m_id, path,
                                  ids, mode != 1);
            } else if (dWalk) {
                r = k->m_to->NextNodeD(attempt, node, node, k->m_points, k->m_id, path, ids,
                                       mode != 1);
            } else {
                CTavroPathArray chain;
                r = k->m_to->NextNodeS(attempt, node, node, k->m_points, chain) ? 1 : 2;
                for (int i = 0; i < chain.GetSize(); ++i)
                    path.push_back(chain[i]);
            }
            if (r == 2) continue;
            Pts ring;
            for (const Pts& entry : path) {
                ring.append(entry);
                ring.removeLast();
            }
            if ((!dWalk || r == 0) && ring.length() > 2) {
                loops.append(ring);
                loopIds.push_back(ids);
            }
            delete k;
            node->m_edges.RemoveAt(j);
            --j;
            --n;
        }
    }
}

// A random soup on a 6 x 6 lattice: short segments (some repeated), chains of three to five
// points (runs of pass-through nodes), and closed chains; the lattice points make many junctions.
void addRandomSoup(CTavroAutoLoop& loop, std::mt19937& rng, int pieces) {
    std::uniform_int_distribution<int> coord(0, 5), step(-1, 1), kind(0, 9), length(3, 5);
    for (int p = 0; p < pieces; ++p) {
        Pts pts{P(coord(rng), coord(rng))};
        const int k = kind(rng);
        const int n = k < 6 ? 2 : length(rng);
        while (pts.length() < n) {
            const AcGePoint2d& last = pts.last();
            const AcGePoint2d next(std::clamp(last.x + step(rng), 0.0, 5.0),
                                   std::clamp(last.y + step(rng), 0.0, 5.0));
            pts.append(next);
        }
        if (k == 9) pts.append(pts.first());
        loop.AddEdge(pts, kind(rng) < 7, static_cast<std::uint64_t>(p + 1));
    }
}

// The edges of every node, as text, for comparing two graphs.
std::string graphText(const std::vector<CTavroPtNode>& nodes) {
    std::string out;
    char buf[96];
    for (const CTavroPtNode& n : nodes) {
        std::snprintf(buf, sizeof(buf), "node %g,%g:", n.m_point.x, n.m_point.y);
        out += buf;
        for (int i = 0; i < n.m_node->m_edges.GetSize(); ++i) {
            const CTavroLoopEdge* e = n.m_node->m_edges[i];
            std::snprintf(buf, sizeof(buf), " [id %llu rev %d to %g,%g dir %.17g:",
                          static_cast<unsigned long long>(e->m_id), e->m_reverse,
                          e->m_to->m_point.x, e->m_to->m_point.y, e->m_direction.angle());
            out += buf;
            for (const AcGePoint2d& p : e->m_points) {
                std::snprintf(buf, sizeof(buf), " %g,%g", p.x, p.y);
                out += buf;
            }
            out += "]";
        }
        out += "\n";
    }
    return out;
}

// A ring of n vertices on a circle of radius r about the origin, counterclockwise.
AcGePoint2d onCircle(int i, int n, double r) {
    const double a = 2.0 * kPi * i / n;
    return P(r * std::cos(a), r * std::sin(a));
}

// The size of the deep rings. A walk that called itself once per edge would overflow the stack
// long before either size; the sanitizer build, some ten times slower, walks the smaller one.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kDeepRing = 50000;
#else
constexpr int kDeepRing = 200000;
#endif

// The ring of n two-point pieces (ids 1 to n) on a circle of radius 1 km; with spurs, a 1 cm
// piece (ids n + 1 to 2n) at every vertex, alternately out of and into the ring (vertices lie
// 3 cm apart at the larger size).
void addDeepRing(CTavroAutoLoop& loop, int n, bool spurs) {
    const double r = 1000.0;
    for (int i = 0; i < n; ++i) {
        Pts piece{onCircle(i, n, r), onCircle(i + 1, n, r)};
        loop.AddEdge(piece, true, static_cast<std::uint64_t>(i + 1));
        if (!spurs) continue;
        Pts spur{onCircle(i, n, r), onCircle(i, n, i % 2 ? r + 0.01 : r - 0.01)};
        loop.AddEdge(spur, true, static_cast<std::uint64_t>(n + i + 1));
    }
}

// The area of the n-gon inscribed in the circle of radius 1 km: n/2 r^2 sin(2 pi / n).
double inscribedArea(int n) {
    return 0.5 * n * 1e6 * std::sin(2 * kPi / n);
}

} // namespace

TEST(TopoWalks, HeapStackedWalksAndLinearMergeMatchTheStepByStepStatement) {
    std::mt19937 rng(20261206);
    int faces = 0, singles = 0, merges = 0;
    for (int round = 0; round < 300; ++round) {
        CTavroAutoLoop built;
        addRandomSoup(built, rng, 6 + round % 25);
        for (int mode = 0; mode < 2; ++mode) {
            CTavroAutoLoop lib(built); // deep copies: each run consumes its own graph
            CTavroAutoLoop ref(built);
            lib.Reorder2Nodes();
            merges += static_cast<int>(lib.m_passNodes.size());
            lib.ReorderSimplyNodes();
            merges -= static_cast<int>(lib.m_passNodes.size());
            const std::vector<CTavroPtNode> refStarts = referenceSimplyOrder(ref);
            ASSERT_EQ(lib.m_startNodes.size(), refStarts.size());
            ASSERT_EQ(graphText(lib.m_startNodes), graphText(refStarts)) << "round " << round;

            CTavroAutoLoop lib2(built), ref2(built), pub2(built);
            lib2.GetDoubleLoops(mode);
            QVector<Pts> loops, pubLoops;
            std::vector<Ids> ids, pubIds;
            referenceDriver(ref2, true, mode, loops, ids);
            referenceDriver(pub2, true, mode, pubLoops, pubIds, true);
            ASSERT_EQ(lib2.m_loops, loops) << "round " << round << " mode " << mode;
            ASSERT_EQ(lib2.m_loopIds, ids) << "round " << round << " mode " << mode;
            ASSERT_EQ(pubLoops, loops) << "round " << round << " mode " << mode;
            ASSERT_EQ(pubIds, ids) << "round " << round << " mode " << mode;
            faces += static_cast<int>(loops.size());
        }
        CTavroAutoLoop lib(built), ref(built), pub(built);
        lib.GetSingleLoops();
        QVector<Pts> loops, pubLoops;
        std::vector<Ids> ids, pubIds;
        referenceDriver(ref, false, 0, loops, ids);
        referenceDriver(pub, false, 0, pubLoops, pubIds, true);
        ASSERT_EQ(lib.m_loops, loops) << "round " << round;
        ASSERT_EQ(pubLoops, loops) << "round " << round;
        singles += static_cast<int>(loops.size());
        // The source is untouched by its copies' runs.
        EXPECT_TRUE(built.m_loops.isEmpty());
    }
    // The soups are rich enough to test something: many loops, many merged nodes.
    EXPECT_GT(faces, 500);
    EXPECT_GT(singles, 1000);
    EXPECT_GT(merges, 1000);
}

// Without spurs the closed run merges down to two nodes and the face is two edges; with a spur
// at every vertex every vertex is a junction and the face walk is n edges deep.
TEST(TopoWalks, DeepRingsGiveOneFaceWithOrWithoutASpurAtEveryVertex) {
    const int n = kDeepRing;
    for (bool spurs : {false, true}) {
        CTavroAutoLoop loop;
        addDeepRing(loop, n, spurs);
        loop.GetDoubleLoops(0);
        ASSERT_EQ(loop.m_loops.size(), 1);
        EXPECT_EQ(loop.m_loops[0].length(), n);
        EXPECT_NEAR(shoelaceArea(loop.m_loops[0]), inscribedArea(n), 1e-3);
        Ids ids = loop.m_loopIds[0];
        ASSERT_EQ(ids.size(), spurs ? static_cast<size_t>(n) : 2u);
        std::sort(ids.begin(), ids.end());
        EXPECT_GE(ids.front(), 1u);
        EXPECT_LE(ids.back(), static_cast<std::uint64_t>(n)); // ring pieces only, no spur
        if (spurs) {
            EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end()); // so each ring piece once
        }
        // The spurs stay: the D walk never turns straight back at their free ends.
        int left = 0;
        for (const CTavroPtNode& node : loop.m_nodes)
            left += node.m_node->m_edges.GetSize();
        EXPECT_EQ(left, spurs ? 2 * n : 0);
    }
}

// The chain walk and the component flood on the deep ring: one closed polyline of every piece,
// and one group. The flood records the id of the edge by which it first reaches each node, so the
// piece that closes the ring, reaching no new node, is not in the group.
TEST(TopoWalks, DeepRingJoinsIntoOnePolylineAndOneGroup) {
    const int n = kDeepRing;
    CTavroAutoLoop joined, grouped;
    addDeepRing(joined, n, false);
    addDeepRing(grouped, n, false);
    joined.ConnectPolyline();
    ASSERT_EQ(joined.m_loops.size(), 1);
    EXPECT_EQ(joined.m_loops[0].length(), n + 1);
    EXPECT_EQ(joined.m_loops[0].first(), joined.m_loops[0].last());
    EXPECT_EQ(joined.m_loopIds[0].size(), static_cast<size_t>(n));
    std::vector<AcArray<AcDbObjectId>> groups;
    grouped.SortPolyline(groups);
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].length(), n - 1);
    EXPECT_LE(groups[0].last().asOldId(), static_cast<std::uint64_t>(n));
}
