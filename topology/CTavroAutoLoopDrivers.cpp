// The drivers of the loop builder: loop extraction from every edge of every start node, the
// face around a picked point, maximal polylines through pass-through nodes and the grouping of
// piece ids by component.

#include "CTavroAutoLoop.h"

#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "TavroLoopTrace.h"
#include "TavroTolerance.h"

namespace {

using Points = AcArray<AcGePoint2d>;
using Bulges = AcArray<double>;

// The marks of the polyline drivers: a chain ran through the node; a junction was done.
constexpr int kChainMark = 1;
constexpr int kJunctionMark = 2;

// A path, one entry per edge, joined as a ring that lists every vertex once (bulges likewise,
// dropping the last after each entry when there is one).
template <class Path> auto ringOf(const Path& path, int entries) {
    std::decay_t<decltype(path[0])> ring;
    for (int i = 0; i < entries; ++i) {
        ring.append(path[i]);
        ring.removeLast();
    }
    return ring;
}

// The walks' path arrays, fresh for each attempt.
struct WalkPath {
    std::vector<Points> points;
    std::vector<Bulges> bulges;
    std::vector<std::uint64_t> ids;
    CTavroPathArray chain;
    CTavroBulgePathArray chainBulges;
    Tavro::detail::TracedLoop traced;
    void clear() {
        points.clear();
        bulges.clear();
        ids.clear();
        chain.RemoveAll();
        chainBulges.RemoveAll();
        traced = Tavro::detail::TracedLoop();
    }
};

// Runs walk from every edge of every start node in order (skipping edges refused by starts).
// walk(edge, attempt, path) returns 0 or 1 when a loop closed, 2 otherwise; on a close, take
// (result, path) sees the loop, and the start edge is deleted. take returns false to stop.
template <class Starts, class Walk, class Take>
void runLoops(const std::vector<CTavroPtNode>& startNodes, Starts starts, Walk walk, Take take) {
    int attempt = 0;
    WalkPath path; // emptied for each attempt; its arrays keep their room
    for (const CTavroPtNode& s : startNodes) {
        CTavroLoopNode* node = s.m_node;
        if (!node) continue;
        int n = node->m_edges.GetSize();
        for (int j = 0; j < n; ++j) {
            CTavroLoopEdge* k = node->m_edges[j];
            if (!starts(k)) continue;
            ++attempt;
            path.clear();
            const int result = walk(k, node, attempt, path);
            if (result != 0 && result != 1) continue;
            delete k;
            node->m_edges.RemoveAt(j);
            --j;
            --n;
            if (!take(result, path)) return;
        }
    }
}

bool everyEdge(const CTavroLoopEdge*) {
    return true;
}

bool reversedCopies(const CTavroLoopEdge* k) {
    return k->m_reverse;
}

} // namespace

namespace {
// GetSingleLoops (S walk over descending lists) and GetSingleLoopsR (R walk, ascending).
template <class Walk>
void singleLoops(const std::vector<CTavroPtNode>& starts, Walk walk, QVector<Points>& loops) {
    runLoops(
        starts, everyEdge,
        [walk](CTavroLoopEdge* k, CTavroLoopNode* s, int attempt, WalkPath& p) {
            return (k->m_to->*walk)(attempt, s, s, k->m_points, p.chain) ? 1 : 2;
        },
        [&loops](int, const WalkPath& p) {
            const Points ring = ringOf(p.chain, p.chain.GetSize());
            if (ring.length() > 2) loops.append(ring);
            return true;
        });
}
} // namespace

void CTavroAutoLoop::GetSingleLoops() {
    ReorderNodes();
    singleLoops(m_startNodes, &CTavroLoopNode::NextNodeS, m_loops);
}

void CTavroAutoLoop::GetSingleLoopsR() {
    ReorderNodesR();
    singleLoops(m_startNodes, &CTavroLoopNode::NextNodeR, m_loops);
}

void CTavroAutoLoop::GetBulgesSingleLoopsR() {
    ReorderNodesR();
    runLoops(
        m_startNodes, everyEdge,
        [](CTavroLoopEdge* k, CTavroLoopNode* s, int attempt, WalkPath& p) {
            return k->m_to->NextNodeRBulge(attempt, s, s, k->m_points, k->m_bulges, p.chain,
                                           p.chainBulges)
                       ? 1
                       : 2;
        },
        [this](int, const WalkPath& p) {
            const Points ring = ringOf(p.chain, p.chain.GetSize());
            if (ring.length() > 1) {
                m_loops.append(ring);
                m_loopBulges.append(ringOf(p.chainBulges, p.chainBulges.GetSize()));
            }
            return true;
        });
}

namespace {
// The double-graph drivers: the D walk (or the X walk with inputStops), with arcs or without,
// from every start edge that starts accepts; take(loop) sees each loop closed with result 0 and
// returns false to stop.
template <class Starts, class Take>
void tracedLoops(const std::vector<CTavroPtNode>& startNodes, Starts starts, bool arcs,
                 bool inputStops, bool clockwise, Take take) {
    runLoops(
        startNodes, starts,
        [=](CTavroLoopEdge* k, CTavroLoopNode* s, int attempt, WalkPath& p) {
            return Tavro::detail::traceLoop(s, k, attempt, arcs, inputStops, clockwise, p.traced);
        },
        [&](int result, WalkPath& p) { return result != 0 || take(p.traced); });
}
} // namespace

void CTavroAutoLoop::GetDoubleLoops(int mode) {
    ReorderSimplyNodes();
    tracedLoops(m_startNodes, everyEdge, false, false, mode != 1,
                [this](Tavro::detail::TracedLoop& loop) {
                    if (loop.ring.length() > 2) {
                        m_loops.append(std::move(loop.ring));
                        m_loopIds.push_back(std::move(loop.ids));
                    }
                    return true;
                });
}

void CTavroAutoLoop::GetBulgesDoubleLoops(int mode) {
    ReorderSimplyNodes();
    tracedLoops(m_startNodes, everyEdge, true, false, mode != 1,
                [this](Tavro::detail::TracedLoop& loop) {
                    m_loops.append(std::move(loop.ring));
                    m_loopBulges.append(std::move(loop.bulges));
                    m_loopIds.push_back(std::move(loop.ids));
                    return true;
                });
}

void CTavroAutoLoop::GetInterLoops() {
    ReorderSimplyNodes();
    tracedLoops(m_startNodes, reversedCopies, false, true, true,
                [this](Tavro::detail::TracedLoop& loop) {
                    if (loop.ring.length() <= 2) return true;
                    for (const Points& known : m_loops)
                        if (known.length() == loop.ring.length() && known == loop.ring) return true;
                    m_loops.append(std::move(loop.ring));
                    m_loopIds.push_back(std::move(loop.ids));
                    return true;
                });
}

void CTavroAutoLoop::GetBulgesInterLoops() {
    ReorderNodes();
    tracedLoops(m_startNodes, reversedCopies, true, true, true,
                [this](Tavro::detail::TracedLoop& loop) {
                    if (loop.ring.length() <= 1) return true;
                    m_loops.append(std::move(loop.ring));
                    m_loopIds.push_back(std::move(loop.ids));
                    m_loopBulges.append(std::move(loop.bulges));
                    return true;
                });
}

bool CTavroAutoLoop::GetBoundary(AcGePoint2d pick) {
    ReorderNodesBD();
    bool found = false;
    tracedLoops(m_startNodes, everyEdge, false, false, true, [&](Tavro::detail::TracedLoop& loop) {
        if (loop.ring.length() <= 2) return true;
        if (CTavroGeoLine::geoPointWithPolygonRelation(pick, loop.ring, Bulges()) !=
            Tavro::kRelationInside)
            return true;
        m_loops.append(std::move(loop.ring));
        found = true;
        return false;
    });
    return found;
}

void CTavroAutoLoop::ConnectPolyline() {
    Reorder2Nodes();
    for (const CTavroPtNode& s : m_startNodes) {
        CTavroLoopNode* node = s.m_node;
        if (!node) continue;
        const int degree = node->m_edges.GetSize();
        if (degree <= 1) continue;
        Points joined;
        Bulges joinedBulges;
        std::vector<std::uint64_t> joinedIds;
        for (int j = 0; j < degree; ++j) {
            const CTavroLoopEdge* k = node->m_edges[j];
            if (degree > 2) {
                const CTavroLoopNode* to = k->m_to;
                if (to->m_mark != kJunctionMark && to->m_edges.GetSize() != 2) {
                    joinedIds.push_back(k->m_id);
                    m_loops.append(k->m_points);
                    m_loopBulges.append(k->m_bulges);
                    m_loopIds.push_back(joinedIds);
                    joinedIds.clear();
                }
                node->m_mark = kJunctionMark;
                continue;
            }
            if (node->m_mark == kChainMark) continue;
            WalkPath path;
            if (k->m_to->NextLine(kChainMark, node, node, k->m_points, k->m_bulges, k->m_id,
                                  path.points, path.bulges, path.ids, true) != 0)
                continue;
            Points run;
            Bulges runBulges;
            for (size_t i = 0; i < path.points.size(); ++i) {
                if (!run.isEmpty()) run.removeLast();
                if (!runBulges.isEmpty()) runBulges.removeLast();
                run.append(path.points[i]);
                runBulges.append(path.bulges[i]);
            }
            if (j == 0 || joined.isEmpty()) {
                joined = run;
                joinedBulges = runBulges;
                joinedIds = path.ids;
            } else {
                joined.reverse();
                CTavroGeoPoint::geoReverseBulge(joinedBulges);
                joined.removeLast();
                joinedBulges.removeLast();
                joined.append(run);
                joinedBulges.append(runBulges);
                joinedIds.insert(joinedIds.end(), path.ids.begin(), path.ids.end());
            }
            if (joined.first().distanceTo(joined.last()) < Tavro::kTol) break;
        }
        if (!joined.isEmpty()) {
            m_loops.append(joined);
            m_loopBulges.append(joinedBulges);
            m_loopIds.push_back(joinedIds);
        }
    }
}

void CTavroAutoLoop::SortPolyline(std::vector<AcArray<AcDbObjectId>>& groups) {
    ReorderNodes();
    for (const CTavroPtNode& s : m_startNodes) {
        CTavroLoopNode* node = s.m_node;
        if (!node || node->m_mark == kChainMark) continue;
        std::set<std::uint64_t> ids;
        for (int j = 0; j < node->m_edges.GetSize(); ++j) {
            const CTavroLoopEdge* k = node->m_edges[j];
            node->m_mark = kChainMark;
            std::vector<AcArray<AcGePoint2d>> unused;
            k->m_to->SortID(kChainMark, node, node, k->m_points, k->m_id, unused, ids);
        }
        if (ids.empty()) continue;
        AcArray<AcDbObjectId> group;
        for (std::uint64_t id : ids)
            group.append(AcDbObjectId().setFromOldId(id));
        groups.push_back(group);
    }
}
