// The loop builder: node index, edge insertion in angle order, start orders, the merge of
// pass-through nodes, self-splitting of a segment set and the small searches.

#include "CTavroAutoLoop.h"

#include "CTavroGeoPoint.h"
#include "TavroSortedSearch.h"
#include "TavroTolerance.h"

#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace {

using Points = AcArray<AcGePoint2d>;
using Bulges = AcArray<double>;

double angleOf(const CTavroLoopEdge* e) {
    return e->m_direction.angle();
}

// Inserts before the first edge whose angle is smaller (descending) or greater (ascending); equal
// angles put the new edge last.
void insertOrdered(CTavroLoopNode* node, CTavroLoopEdge* edge, bool descending) {
    const double angle = angleOf(edge);
    int at = 0;
    const int count = node->m_edges.GetSize();
    while (at < count) {
        const double a = angleOf(node->m_edges[at]);
        if (descending ? a < angle : a > angle) break;
        ++at;
    }
    node->m_edges.InsertAt(at, edge);
}

// Descending order; within 1e-7 of an existing angle the new edge goes first when its reverse
// mark equals inputDirection.
void insertPiece(CTavroLoopNode* node, CTavroLoopEdge* edge, bool inputDirection) {
    const double angle = angleOf(edge);
    int at = 0;
    const int count = node->m_edges.GetSize();
    for (; at < count; ++at) {
        const double a = angleOf(node->m_edges[at]);
        if (std::fabs(a - angle) >= Tavro::kAngleTieTol) {
            if (a < angle) break;
        } else if (edge->m_reverse == inputDirection) {
            break;
        }
    }
    node->m_edges.InsertAt(at, edge);
}

bool allFinite(const Points& points, const Bulges* bulges) {
    for (const AcGePoint2d& p : points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    if (bulges)
        for (double b : *bulges)
            if (!std::isfinite(b)) return false;
    return true;
}

double squared(const AcGePoint2d& a, const AcGePoint2d& b) {
    return (a - b).lengthSqrd();
}

// Removes count elements from the front of the array in one pass.
template <typename T> void dropFront(AcArray<T>& a, int count) {
    if (count <= 0) return;
    AcArray<T> rest;
    rest.setPhysicalLength(a.length() - count);
    for (int i = count; i < a.length(); ++i)
        rest.append(a[i]);
    a = rest;
}

template <typename T> AcArray<T> slice(const AcArray<T>& a, int from, int to) {
    AcArray<T> out;
    for (int i = std::max(from, 0); i <= to && i < a.length(); ++i)
        out.append(a[i]);
    return out;
}

// ---- The merge of pass-through nodes ----
//
// Merging node N joins the edge of each neighbour that leads to N with N's edge beyond it. Done on
// the arrays this copies a growing chain at every node of a run; here every edge's content is a
// rope (a leaf: the edge's own arrays; or a join: left without its last point, then right), so a
// merge costs constant time and each surviving edge is written out once at the end.
class RopeMerge {
public:
    // The edge now runs on along tail.
    void extend(CTavroLoopEdge* edge, CTavroLoopEdge* tail) {
        const int left = ropeOf(edge);
        const int right = ropeOf(tail);
        Rope join;
        join.left = left;
        join.right = right;
        join.points = std::max(m_ropes[left].points - 1, 0) + m_ropes[right].points;
        join.bulges = std::max(m_ropes[left].bulges - 1, 0) + m_ropes[right].bulges;
        m_ropes.push_back(join);
        m_current[edge] = static_cast<int>(m_ropes.size()) - 1;
    }

    // The new arrays of every joined edge that the keep test accepts, written into the edges
    // after all are read (an edge's old arrays may be a part of another's).
    template <class Keep> void writeBack(Keep keep) {
        std::vector<std::pair<CTavroLoopEdge*, std::pair<Points, Bulges>>> out;
        for (const auto& [edge, rope] : m_current) {
            if (m_ropes[rope].leaf || !keep(edge)) continue;
            out.emplace_back(edge, std::pair<Points, Bulges>());
            unfold(rope, out.back().second.first, out.back().second.second);
        }
        for (auto& [edge, arrays] : out) {
            edge->m_points = std::move(arrays.first);
            edge->m_bulges = std::move(arrays.second);
        }
    }

private:
    struct Rope {
        const CTavroLoopEdge* leaf = nullptr;
        int left = -1;
        int right = -1;
        int points = 0;
        int bulges = 0;
    };

    int ropeOf(CTavroLoopEdge* edge) {
        const auto found = m_current.find(edge);
        if (found != m_current.end()) return found->second;
        Rope leaf;
        leaf.leaf = edge;
        leaf.points = edge->m_points.length();
        leaf.bulges = edge->m_bulges.length();
        m_ropes.push_back(leaf);
        const int index = static_cast<int>(m_ropes.size()) - 1;
        m_current[edge] = index;
        return index;
    }

    // Writes the rope out in order: a join emits its left part, drops that part's last point (and
    // last bulge, when it has bulges), then emits its right part.
    void unfold(int rope, Points& points, Bulges& bulges) const {
        points.setPhysicalLength(m_ropes[rope].points);
        bulges.setPhysicalLength(m_ropes[rope].bulges);
        struct Step {
            int rope;
            bool trim; // drop the last point and bulge of the part just emitted
        };
        std::vector<Step> todo{{rope, false}};
        while (!todo.empty()) {
            const Step step = todo.back();
            todo.pop_back();
            const Rope& r = m_ropes[step.rope];
            if (step.trim) {
                if (r.points > 0) points.removeLast();
                if (r.bulges > 0) bulges.removeLast();
            } else if (r.leaf) {
                points.append(r.leaf->m_points);
                bulges.append(r.leaf->m_bulges);
            } else {
                todo.push_back({r.right, false});
                todo.push_back({r.left, true});
                todo.push_back({r.left, false});
            }
        }
    }

    std::vector<Rope> m_ropes;
    std::unordered_map<CTavroLoopEdge*, int> m_current;
};

CTavroLoopEdge* firstEdgeTo(CTavroLoopNode* node, const CTavroLoopNode* to) {
    for (int i = 0; i < node->m_edges.GetSize(); ++i)
        if (node->m_edges[i]->m_to == to) return node->m_edges[i];
    return nullptr;
}

} // namespace

// ---- Life ----

CTavroAutoLoop::CTavroAutoLoop() = default;

CTavroAutoLoop::CTavroAutoLoop(const CTavroAutoLoop& other) {
    copyGraph(other);
}

CTavroAutoLoop& CTavroAutoLoop::operator=(const CTavroAutoLoop& other) {
    if (this != &other) {
        clearGraph();
        copyGraph(other);
    }
    return *this;
}

CTavroAutoLoop::~CTavroAutoLoop() {
    clearGraph();
}

void CTavroAutoLoop::clearGraph() {
    for (const CTavroPtNode& n : m_nodes)
        delete n.m_node;
    m_nodes.clear();
}

void CTavroAutoLoop::copyGraph(const CTavroAutoLoop& other) {
    m_loops = other.m_loops;
    m_loopIds = other.m_loopIds;
    m_loopBulges = other.m_loopBulges;
    m_edges = other.m_edges;
    // The index is copied whole, so its shape is the source's; only the node pointers change
    // (they take no part in the order).
    m_nodes = other.m_nodes;
    std::unordered_map<const CTavroLoopNode*, CTavroLoopNode*> map;
    for (const CTavroPtNode& n : m_nodes) {
        if (!n.m_node) continue;
        CTavroLoopNode* copy = new CTavroLoopNode(n.m_node->m_point);
        copy->m_mark = n.m_node->m_mark;
        map[n.m_node] = copy;
        const_cast<CTavroPtNode&>(n).m_node = copy;
    }
    auto remap = [&map](CTavroLoopNode* node) -> CTavroLoopNode* {
        const auto found = map.find(node);
        return found == map.end() ? nullptr : found->second;
    };
    for (const auto& [source, copy] : map) {
        for (int i = 0; i < source->m_edges.GetSize(); ++i) {
            CTavroLoopEdge* edge = new CTavroLoopEdge(*source->m_edges[i]);
            edge->m_from = remap(edge->m_from);
            edge->m_to = remap(edge->m_to);
            copy->m_edges.Add(edge);
        }
    }
    auto remapList = [&remap](const std::vector<CTavroPtNode>& from,
                              std::vector<CTavroPtNode>& to) {
        to = from;
        for (CTavroPtNode& n : to)
            n.m_node = remap(n.m_node);
    };
    remapList(other.m_startNodes, m_startNodes);
    remapList(other.m_endNodes, m_endNodes);
    remapList(other.m_passNodes, m_passNodes);
    remapList(other.m_junctionNodes, m_junctionNodes);
}

// ---- Filling ----

CTavroLoopNode* CTavroAutoLoop::GetNodes(AcGePoint2d p) {
    // One search: the lower bound is the node a lookup would find, or the place for a new one.
    const CTavroPtNode key(nullptr, p);
    const auto at = m_nodes.lower_bound(key);
    if (at != m_nodes.end() && !(key < *at)) return at->m_node;
    CTavroLoopNode* node = new CTavroLoopNode(p);
    m_nodes.insert(at, CTavroPtNode(node, p));
    return node;
}

namespace {
// One directed edge a -> b (an arc when bulges are given) in descending or ascending order; a
// non-finite end or bulge adds nothing.
void addOneWay(CTavroAutoLoop& loop, const Points& ends, const Bulges* bulges, std::uint64_t id,
               bool descending) {
    if (!allFinite(ends, bulges)) return;
    CTavroLoopNode* from = loop.GetNodes(ends[0]);
    CTavroLoopNode* to = loop.GetNodes(ends[1]);
    insertOrdered(from,
                  bulges ? new CTavroLoopEdge(from, to, ends, *bulges, id)
                         : new CTavroLoopEdge(from, to, ends[0], ends[1], id),
                  descending);
}
} // namespace

void CTavroAutoLoop::AddEdge(AcGePoint2d a, AcGePoint2d b, std::uint64_t id) {
    addOneWay(*this, Points{a, b}, nullptr, id, true);
}

void CTavroAutoLoop::AddEdgeR(AcGePoint2d a, AcGePoint2d b, std::uint64_t id) {
    addOneWay(*this, Points{a, b}, nullptr, id, false);
}

void CTavroAutoLoop::AddEdgeR(AcGePoint2d a, AcGePoint2d b, double bulge, std::uint64_t id) {
    const Bulges bulges{bulge, 0.0};
    addOneWay(*this, Points{a, b}, &bulges, id, false);
}

void CTavroAutoLoop::AddEdge(AcArray<AcGePoint2d>& points, bool inputDirection, std::uint64_t id) {
    addPiece(points, nullptr, inputDirection, id);
}

void CTavroAutoLoop::AddEdge(AcArray<AcGePoint2d>& points, AcArray<double>& bulges,
                             bool inputDirection, std::uint64_t id) {
    // One bulge per point: a short array counts its missing bulges as straight.
    if (bulges.length() != points.length()) bulges.setLogicalLength(points.length());
    addPiece(points, &bulges, inputDirection, id);
}

void CTavroAutoLoop::addPiece(AcArray<AcGePoint2d>& points, AcArray<double>* bulges,
                              bool inputDirection, std::uint64_t id) {
    if (!allFinite(points, bulges)) return;
    int lead = 0;
    while (points.length() - lead >= 2 &&
           sqrDist(points[lead], points[lead + 1]) <= Tavro::kRepeatSquaredDist)
        ++lead;
    dropFront(points, lead);
    if (bulges) dropFront(*bulges, lead);
    if (points.length() < 2) return;
    while (points.length() >= 2 &&
           sqrDist(points.last(), points[points.length() - 2]) <= Tavro::kRepeatSquaredDist) {
        points.removeLast();
        if (bulges) bulges->removeLast();
    }
    if (points.length() < 2 || sqrDist(points[0], points[1]) <= Tavro::kRepeatSquaredDist) return;

    if (!inputDirection) {
        points.reverse();
        if (bulges) CTavroGeoPoint::geoReverseBulge(*bulges);
    }
    if (sqrDist(points.first(), points.last()) <= Tavro::kRepeatSquaredDist) {
        Points first, second;
        Bulges firstBulges, secondBulges;
        if (bulges) {
            DivideNodes(points, *bulges, first, firstBulges, second, secondBulges);
            AddEdge(first, firstBulges, true, 0);
            AddEdge(second, secondBulges, true, 0);
        } else {
            DivideNodes(points, first, second);
            AddEdge(first, true, 0);
            AddEdge(second, true, 0);
        }
        return;
    }
    CTavroLoopNode* from = GetNodes(points.first());
    CTavroLoopNode* to = GetNodes(points.last());
    CTavroLoopEdge* forward = bulges ? new CTavroLoopEdge(from, to, points, *bulges, id)
                                     : new CTavroLoopEdge(from, to, points, id);
    forward->m_reverse = false;
    insertPiece(from, forward, inputDirection);
    points.reverse();
    if (bulges) CTavroGeoPoint::geoReverseBulge(*bulges);
    CTavroLoopEdge* backward = bulges ? new CTavroLoopEdge(to, from, points, *bulges, id)
                                      : new CTavroLoopEdge(to, from, points, id);
    insertPiece(to, backward, inputDirection);
}

void CTavroAutoLoop::AddEdges(CArray<AcArray<AcGePoint2d>, AcArray<AcGePoint2d>>& pieces,
                              bool inputDirection, std::uint64_t id) {
    for (int i = 0; i < pieces.GetSize(); ++i)
        AddEdge(pieces[i], inputDirection, id);
}

void CTavroAutoLoop::AddEdges(CArray<AcArray<AcGePoint2d>, AcArray<AcGePoint2d>>& pieces,
                              CArray<AcArray<double>, AcArray<double>>& bulges, bool inputDirection,
                              std::uint64_t id) {
    for (int i = 0; i < pieces.GetSize(); ++i) {
        if (i < bulges.GetSize()) {
            AddEdge(pieces[i], bulges[i], inputDirection, id);
        } else {
            Bulges straight;
            AddEdge(pieces[i], straight, inputDirection, id);
        }
    }
}

void CTavroAutoLoop::DivideNodes(AcArray<AcGePoint2d>& points, AcArray<AcGePoint2d>& first,
                                 AcArray<AcGePoint2d>& second) {
    const int n = points.length();
    const int middle = std::max(n - 1, 0) / 2;
    first = slice(points, 0, middle);
    second = n > 0 ? slice(points, middle, n - 1) : Points();
}

void CTavroAutoLoop::DivideNodes(AcArray<AcGePoint2d>& points, AcArray<double>& bulges,
                                 AcArray<AcGePoint2d>& first, AcArray<double>& firstBulges,
                                 AcArray<AcGePoint2d>& second, AcArray<double>& secondBulges) {
    DivideNodes(points, first, second);
    const int n = points.length();
    const int middle = std::max(n - 1, 0) / 2;
    firstBulges = slice(bulges, 0, middle);
    secondBulges = n > 0 ? slice(bulges, middle, n - 1) : Bulges();
}

void CTavroAutoLoop::SelfDivEdges(std::vector<CTavroEdge>& edges) {
    std::vector<CTavroEdge> recorded;
    for (CTavroEdge& edge : edges) {
        std::vector<CTavroEdge> pieces;
        edge.GetDivEdges(edges, pieces);
        for (const CTavroEdge& piece : pieces) {
            int index = 0;
            FindEdge(piece, index);
            recorded.push_back(piece);
            Points ends{piece.m_start, piece.m_end};
            AddEdge(ends, true, 0);
        }
    }
    // Each piece went to the front as it came: the newest first.
    m_edges.insert(m_edges.begin(), recorded.rbegin(), recorded.rend());
}

// ---- Start order ----

void CTavroAutoLoop::sortByDegree(bool withEnds) {
    m_passNodes.clear();
    m_junctionNodes.clear();
    for (const CTavroPtNode& n : m_nodes) {
        const int degree = n.m_node ? n.m_node->m_edges.GetSize() : 0;
        if (degree == 1 && withEnds)
            m_endNodes.push_back(n);
        else if (degree == 2)
            m_passNodes.push_back(n);
        else if (degree > 2)
            m_junctionNodes.push_back(n);
    }
}

namespace {
void appendList(std::vector<CTavroPtNode>& to, const std::vector<CTavroPtNode>& from) {
    to.insert(to.end(), from.begin(), from.end());
}
} // namespace

void CTavroAutoLoop::ReorderNodes() {
    sortByDegree(true);
    m_startNodes = m_junctionNodes;
    appendList(m_startNodes, m_passNodes);
    appendList(m_startNodes, m_endNodes);
}

void CTavroAutoLoop::ReorderNodesR() {
    sortByDegree(true);
    m_startNodes = m_endNodes;
    appendList(m_startNodes, m_passNodes);
    appendList(m_startNodes, m_junctionNodes);
}

void CTavroAutoLoop::ReorderNodesBD() {
    sortByDegree(false);
    m_startNodes = m_junctionNodes;
    appendList(m_startNodes, m_passNodes);
}

void CTavroAutoLoop::Reorder2Nodes() {
    sortByDegree(false);
    m_startNodes = m_passNodes;
    appendList(m_startNodes, m_junctionNodes);
}

void CTavroAutoLoop::ReorderSimplyNodes() {
    sortByDegree(true);
    mergePassNodes();
    m_startNodes = m_junctionNodes;
    appendList(m_startNodes, m_passNodes);
    appendList(m_startNodes, m_endNodes);
}

void CTavroAutoLoop::mergePassNodes() {
    RopeMerge ropes;
    std::vector<CTavroPtNode> kept;
    std::unordered_set<const CTavroLoopNode*> merged;
    for (const CTavroPtNode& n : m_passNodes) {
        CTavroLoopNode* node = n.m_node;
        CTavroLoopEdge* toA = node->m_edges[0];
        CTavroLoopEdge* toB = node->m_edges[1];
        CTavroLoopNode* a = toA->m_to;
        CTavroLoopNode* b = toB->m_to;
        if (a == b) {
            kept.push_back(n);
            continue;
        }
        if (CTavroLoopEdge* fromA = firstEdgeTo(a, node)) {
            fromA->m_to = b;
            ropes.extend(fromA, toB);
        }
        if (CTavroLoopEdge* fromB = firstEdgeTo(b, node)) {
            fromB->m_to = a;
            ropes.extend(fromB, toA);
        }
        merged.insert(node);
    }
    m_passNodes = kept;
    if (merged.empty()) return;

    // Merged nodes that an edge of the graph still leads to (only where a neighbour held two
    // edges to one node) stay part of it; the others are cut off and keep no edges.
    std::unordered_set<const CTavroLoopNode*> reached;
    std::vector<const CTavroLoopNode*> todo;
    for (const CTavroPtNode& n : m_nodes)
        if (n.m_node && !merged.count(n.m_node)) todo.push_back(n.m_node);
    while (!todo.empty()) {
        const CTavroLoopNode* node = todo.back();
        todo.pop_back();
        for (int i = 0; i < node->m_edges.GetSize(); ++i) {
            const CTavroLoopNode* to = node->m_edges[i]->m_to;
            if (merged.count(to) && reached.insert(to).second) todo.push_back(to);
        }
    }
    ropes.writeBack([&](const CTavroLoopEdge* edge) {
        return !merged.count(edge->m_from) || reached.count(edge->m_from);
    });
    for (const CTavroLoopNode* node : merged) {
        if (reached.count(node)) continue;
        CTavroLoopNode* cut = const_cast<CTavroLoopNode*>(node);
        for (int i = 0; i < cut->m_edges.GetSize(); ++i)
            delete cut->m_edges[i];
        cut->m_edges.RemoveAll();
    }
}

// ---- Small searches ----

int CTavroAutoLoop::CompareEdge(CTavroEdge a, CTavroEdge b) {
    const AcGePoint2d ma = a.MidPoint(), mb = b.MidPoint();
    const bool sameX = std::fabs(ma.x - mb.x) < Tavro::kSameEdgeTol;
    const bool sameY = std::fabs(ma.y - mb.y) < Tavro::kSameEdgeTol;
    if (sameX && sameY) {
        const double la = a.Dist(), lb = b.Dist();
        if (std::fabs(la - lb) < Tavro::kSameEdgeTol) {
            const double ta = a.Angle(), tb = b.Angle();
            const double d = std::fabs(ta - tb);
            if (d < Tavro::kSameEdgeAngleTol ||
                std::fabs(Tavro::kPi - d) < Tavro::kSameEdgeAngleTol)
                return 0;
            return ta < tb ? -1 : 1;
        }
        return la < lb ? -1 : 1;
    }
    if (!sameX) return mb.x <= ma.x ? 1 : -1;
    return mb.y <= ma.y ? 1 : -1;
}

bool CTavroAutoLoop::FindEdge(CTavroEdge /*edge*/, int& /*index*/) {
    return false;
}

bool CTavroAutoLoop::FindDist(AcArray<double> values, double value, int& index) {
    return Tavro::detail::searchSorted(
        values.length(), [&](int i) { return values[i] == value; },
        [&](int i) { return value > values[i]; }, index);
}

bool CTavroAutoLoop::FindNode(CArray<CTavroLoopNode*, CTavroLoopNode*>& nodes, CTavroLoopNode* node,
                              int& index) {
    const auto address = [](const CTavroLoopNode* n) {
        return reinterpret_cast<std::uintptr_t>(n);
    };
    return Tavro::detail::searchSorted(
        nodes.GetSize(), [&](int i) { return nodes[i] == node; },
        [&](int i) { return address(node) > address(nodes[i]); }, index);
}

bool CTavroAutoLoop::PointInSegment(AcGePoint2d p, AcGePoint2d a, AcGePoint2d b) {
    const bool nearB = squared(p, b) <= squared(p, a);
    const AcGeVector2d v = nearB ? a - b : b - a;
    const AcGeVector2d w = nearB ? p - b : p - a;
    const double t = v.dotProduct(w);
    const double length2 = v.lengthSqrd();
    if (t < -Tavro::kSegmentSlack) return false;
    if (t > length2 + Tavro::kSegmentRelSlack * std::sqrt(length2) + Tavro::kSegmentSlack)
        return false;
    return w.lengthSqrd() - t * t / length2 < Tavro::kSegmentSlack;
}

double CTavroAutoLoop::sqrDist(AcGePoint2d a, AcGePoint2d b) {
    return squared(a, b);
}
