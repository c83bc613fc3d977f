// The walks of the loop graph. Each keeps its own stack of visited nodes on the heap, so a path
// of any length is walked without deep calls; the order in which candidates are tried, the path
// entries kept and the edges consumed are those of a walk that calls itself once per edge.

#include "CTavroLoopGraph.h"
#include "TavroTolerance.h"

#include "CTavroGeoArc.h"
#include "CTavroGeoGlobal.h"
#include "CTavroGeoPoint.h"
#include "TavroLoopTrace.h"

#include <cmath>
#include <unordered_set>

namespace {

using Points = AcArray<AcGePoint2d>;
using Bulges = AcArray<double>;

double bulgeAt(const Bulges& bulges, int i) {
    return i >= 0 && i < bulges.length() ? bulges[i] : 0.0;
}

// The edge just taken into a node.
struct Arrival {
    const Points* points;
    const Bulges* bulges;
    std::uint64_t id;
    const CTavroLoopEdge* edge; // null for the first edge, which the caller passes as arrays
};

Arrival arrivalOf(const CTavroLoopEdge* k) {
    return Arrival{&k->m_points, &k->m_bulges, k->m_id, k};
}

// The vertex before node on the arriving edge (the previous node's point for an edge too short
// to have one).
AcGePoint2d vertexBefore(const Arrival& in, const CTavroLoopNode* node,
                         const CTavroLoopNode* previous) {
    const int n = in.points->length();
    if (n >= 2) return (*in.points)[n - 2];
    return previous ? previous->m_point : node->m_point;
}

enum class Turn { SharpestLeft, SharpestRight };
enum class WayBack { ToPrevious, AlongEdge, AlongArc };
enum class BackSkip { None, Straight, Arc, Near };

struct WalkRule {
    Turn turn;
    WayBack back;
    BackSkip skip;
    bool stopAtInputEdge; // the X walks end on an edge in input direction
};

AcGeVector2d wayBack(const WalkRule& rule, const CTavroLoopNode* node,
                     const CTavroLoopNode* previous, const Arrival& in) {
    if (rule.back == WayBack::ToPrevious)
        return previous ? previous->m_point - node->m_point : AcGeVector2d();
    const AcGePoint2d before = vertexBefore(in, node, previous);
    if (rule.back == WayBack::AlongArc && in.points->length() >= 2) {
        AcGePoint2d q;
        const double bulge = bulgeAt(*in.bulges, in.points->length() - 2);
        if (CTavroGeoArc::GetPointAtParam(before, node->m_point, bulge, Tavro::kArrivingParam, q))
            return q - node->m_point;
    }
    return before - node->m_point;
}

// The index of the first candidate: the first edge clockwise (descending list) or
// counterclockwise (ascending list) from the way back; the list length when there is none.
int firstCandidate(const WalkRule& rule, const CTavroLoopNode* node, const AcGeVector2d& back) {
    const double angle = back.angle();
    const int count = node->m_edges.GetSize();
    for (int k = 0; k < count; ++k) {
        const double a = node->m_edges[k]->m_direction.angle();
        if (rule.turn == Turn::SharpestLeft ? a < angle : a > angle) return k;
    }
    return count;
}

// The candidate is the arriving edge run backwards, which the rule does not take.
bool isStraightBack(BackSkip skip, const CTavroLoopEdge* k, const CTavroLoopNode* node,
                    const CTavroLoopNode* previous, const Arrival& in) {
    if (skip == BackSkip::None || k->m_to != previous || k->m_points.length() < 2) return false;
    const AcGePoint2d before = vertexBefore(in, node, previous);
    if (skip == BackSkip::Near) return k->m_points[1].distanceTo(before) < Tavro::kBackDist;
    if (CTavroGeoGlobal::square2dDist(k->m_points[1], before) >= Tavro::kBackSquaredDist)
        return false;
    if (skip == BackSkip::Straight) return true;
    const double arriving = bulgeAt(*in.bulges, in.points->length() - 2);
    return std::fabs(arriving + bulgeAt(k->m_bulges, 0)) < Tavro::kBackBulgeSum;
}

// One node on the walk's stack.
struct Frame {
    CTavroLoopNode* node;
    CTavroLoopNode* previous;
    Arrival in;
    int first;
    int tried;
    int count;
    int chosen;
};

void removeEdge(CTavroLoopNode* node, int index) {
    delete node->m_edges[index];
    node->m_edges.RemoveAt(index);
}

// The loop walk shared by the S, R, D and X families. The recorder keeps the path entries:
// push and pop them, and say what a loop closed at the target counts as (0 or 1). Returns 0 or 1
// when a loop closed (the edges taken are then removed from their nodes), 2 when none did.
template <class Recorder>
int walkLoop(const WalkRule& rule, Recorder& rec, int mark, const CTavroLoopNode* target,
             CTavroLoopNode* start, CTavroLoopNode* previous, const Arrival& first) {
    std::vector<Frame> stack;
    constexpr int kGoOn = -1;
    auto enter = [&](CTavroLoopNode* node, CTavroLoopNode* from, const Arrival& in) {
        rec.push(in);
        if (node == target) return rec.closed();
        if (node->m_mark == mark) {
            rec.pop();
            return 2;
        }
        node->m_mark = mark;
        const int k = firstCandidate(rule, node, wayBack(rule, node, from, in));
        stack.push_back(Frame{node, from, in, k, 0, node->m_edges.GetSize(), -1});
        return kGoOn;
    };
    // Every node on the stack took one edge of the closed path: remove them.
    auto consume = [&](size_t frames) {
        for (size_t i = 0; i < frames; ++i)
            removeEdge(stack[i].node, stack[i].chosen);
    };

    int result = enter(start, previous, first);
    if (result != kGoOn) return result;
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.tried == f.count) {
            rec.pop();
            stack.pop_back();
            continue;
        }
        const int index = (f.first + f.tried) % f.count;
        ++f.tried;
        CTavroLoopEdge* k = f.node->m_edges[index];
        if (isStraightBack(rule.skip, k, f.node, f.previous, f.in)) continue;
        if (rule.stopAtInputEdge && !k->m_reverse) {
            removeEdge(f.node, index);
            consume(stack.size() - 1);
            return 1;
        }
        f.chosen = index;
        result = enter(k->m_to, f.node, arrivalOf(k)); // may move the stack: f is not used after
        if (result == 0 || result == 1) {
            consume(stack.size());
            return result;
        }
    }
    return 2;
}

// Path recorders of the walk families.
struct ChainPath {
    CTavroPathArray& path;
    void push(const Arrival& in) { path.Add(*in.points); }
    void pop() { path.RemoveAt(path.GetSize() - 1); }
    int closed() const { return 1; }
};

struct ChainArcPath {
    CTavroPathArray& path;
    CTavroBulgePathArray& bulges;
    void push(const Arrival& in) {
        path.Add(*in.points);
        bulges.Add(*in.bulges);
    }
    void pop() {
        path.RemoveAt(path.GetSize() - 1);
        bulges.RemoveAt(bulges.GetSize() - 1);
    }
    int closed() const { return 1; }
};

// The orientation tests over any path: entry(i) gives the points (bulges) of entry i.

// All points of all entries read as one ring (joints counted twice, adding nothing): the shoelace
// sum (c.y + p.y)(c.x - p.x)/2 is >= 0, clockwise or of zero area.
template <class Entry> bool pathIsClockwise(size_t count, Entry entry) {
    double sum = 0.0;
    const AcGePoint2d* first = nullptr;
    const AcGePoint2d* previous = nullptr;
    for (size_t i = 0; i < count; ++i) {
        for (const AcGePoint2d& c : entry(i)) {
            if (previous)
                sum += (c.y + previous->y) * (c.x - previous->x) / 2.0;
            else
                first = &c;
            previous = &c;
        }
    }
    if (previous) sum += (first->y + previous->y) * (first->x - previous->x) / 2.0;
    return sum >= 0.0;
}

// The entries joined into one ring (each later entry replaces the last point and bulge gathered
// so far) is clockwise by CTavroGeoPoint::geoArea. An entry without bulges is straight.
template <class Entry, class EntryBulges>
bool pathIsBulgeClockwise(size_t count, Entry entry, EntryBulges entryBulges) {
    Points ring;
    Bulges bulges;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) {
            ring.removeLast();
            bulges.removeLast();
        }
        const Points& points = entry(i);
        const Bulges& given = entryBulges(i);
        ring.append(points);
        for (int k = 0; k < points.length(); ++k)
            bulges.append(k < given.length() ? given[k] : 0.0);
    }
    return CTavroGeoPoint::geoArea(ring, bulges) > 0.0;
}

// Closes with 1 when the loop has the wanted orientation, else 0.
struct OrientedPath {
    std::vector<Points>& path;
    std::vector<std::uint64_t>& ids;
    bool clockwise;
    void push(const Arrival& in) {
        path.push_back(*in.points);
        ids.push_back(in.id);
    }
    void pop() {
        path.pop_back();
        ids.pop_back();
    }
    int closed() const {
        return pathIsClockwise(path.size(),
                               [this](size_t i) -> const Points& { return path[i]; }) == clockwise
                   ? 1
                   : 0;
    }
};

struct OrientedArcPath {
    std::vector<Points>& path;
    std::vector<Bulges>& bulges;
    std::vector<std::uint64_t>& ids;
    bool clockwise;
    void push(const Arrival& in) {
        path.push_back(*in.points);
        bulges.push_back(*in.bulges);
        ids.push_back(in.id);
    }
    void pop() {
        path.pop_back();
        bulges.pop_back();
        ids.pop_back();
    }
    int closed() const { return CTavroLoopNode::IsBulgeDeasil(path, bulges) == clockwise ? 1 : 0; }
};

// The path as pointers to the arrays of its edges, for the drivers: a loop closed with result 0
// is joined into the traced loop before its edges are consumed.
struct TracedPath {
    std::vector<Arrival> entries;
    bool arcs;
    bool clockwise;
    Tavro::detail::TracedLoop& loop;
    void push(const Arrival& in) { entries.push_back(in); }
    void pop() { entries.pop_back(); }
    int closed() {
        const auto points = [this](size_t i) -> const Points& { return *entries[i].points; };
        const auto bulges = [this](size_t i) -> const Bulges& { return *entries[i].bulges; };
        const bool cw = arcs ? pathIsBulgeClockwise(entries.size(), points, bulges)
                             : pathIsClockwise(entries.size(), points);
        if (cw == clockwise) return 1;
        int total = 0;
        for (const Arrival& in : entries)
            total += in.points->length();
        loop.ring.setPhysicalLength(total);
        loop.ids.reserve(entries.size());
        for (const Arrival& in : entries) {
            loop.ring.append(*in.points);
            loop.ring.removeLast();
            if (arcs) {
                loop.bulges.append(*in.bulges);
                loop.bulges.removeLast();
            }
            loop.ids.push_back(in.id);
        }
        return 0;
    }
};

constexpr WalkRule kRuleS{Turn::SharpestLeft, WayBack::ToPrevious, BackSkip::None, false};
constexpr WalkRule kRuleR{Turn::SharpestRight, WayBack::ToPrevious, BackSkip::None, false};
constexpr WalkRule kRuleD{Turn::SharpestLeft, WayBack::AlongEdge, BackSkip::Straight, false};
constexpr WalkRule kRuleDBulge{Turn::SharpestLeft, WayBack::AlongArc, BackSkip::Arc, false};
constexpr WalkRule kRuleX{Turn::SharpestLeft, WayBack::AlongEdge, BackSkip::Near, true};
constexpr WalkRule kRuleXBulge{Turn::SharpestLeft, WayBack::AlongArc, BackSkip::Arc, true};

const Bulges kNoBulges;

} // namespace

bool CTavroLoopNode::NextNodeS(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                               const AcArray<AcGePoint2d>& points, CTavroPathArray& path) {
    ChainPath rec{path};
    return walkLoop(kRuleS, rec, mark, target, this, previous, {&points, &kNoBulges, 0, nullptr}) !=
           2;
}

bool CTavroLoopNode::NextNodeR(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                               const AcArray<AcGePoint2d>& points, CTavroPathArray& path) {
    ChainPath rec{path};
    return walkLoop(kRuleR, rec, mark, target, this, previous, {&points, &kNoBulges, 0, nullptr}) !=
           2;
}

bool CTavroLoopNode::NextNodeRBulge(int mark, const CTavroLoopNode* target,
                                    CTavroLoopNode* previous, const AcArray<AcGePoint2d>& points,
                                    const AcArray<double>& bulges, CTavroPathArray& path,
                                    CTavroBulgePathArray& bulgePath) {
    ChainArcPath rec{path, bulgePath};
    return walkLoop(kRuleR, rec, mark, target, this, previous, {&points, &bulges, 0, nullptr}) != 2;
}

int CTavroLoopNode::NextNodeD(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                              const AcArray<AcGePoint2d>& points, std::uint64_t id,
                              std::vector<AcArray<AcGePoint2d>>& path,
                              std::vector<std::uint64_t>& ids, bool clockwise) {
    OrientedPath rec{path, ids, clockwise};
    return walkLoop(kRuleD, rec, mark, target, this, previous, {&points, &kNoBulges, id, nullptr});
}

int CTavroLoopNode::NextNodeDBulge(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                                   const AcArray<AcGePoint2d>& points,
                                   const AcArray<double>& bulges, std::uint64_t id,
                                   std::vector<AcArray<AcGePoint2d>>& path,
                                   std::vector<AcArray<double>>& bulgePath,
                                   std::vector<std::uint64_t>& ids, bool clockwise) {
    OrientedArcPath rec{path, bulgePath, ids, clockwise};
    return walkLoop(kRuleDBulge, rec, mark, target, this, previous,
                    {&points, &bulges, id, nullptr});
}

int CTavroLoopNode::NextNodeX(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                              const AcArray<AcGePoint2d>& points, std::uint64_t id,
                              std::vector<AcArray<AcGePoint2d>>& path,
                              std::vector<std::uint64_t>& ids) {
    OrientedPath rec{path, ids, true};
    return walkLoop(kRuleX, rec, mark, target, this, previous, {&points, &kNoBulges, id, nullptr});
}

int CTavroLoopNode::NextNodeXBulge(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                                   const AcArray<AcGePoint2d>& points,
                                   const AcArray<double>& bulges, std::uint64_t id,
                                   std::vector<AcArray<AcGePoint2d>>& path,
                                   std::vector<AcArray<double>>& bulgePath,
                                   std::vector<std::uint64_t>& ids) {
    OrientedArcPath rec{path, bulgePath, ids, true};
    return walkLoop(kRuleXBulge, rec, mark, target, this, previous,
                    {&points, &bulges, id, nullptr});
}

int Tavro::detail::traceLoop(CTavroLoopNode* start, const CTavroLoopEdge* k, int mark, bool arcs,
                             bool inputStops, bool clockwise, TracedLoop& loop) {
    TracedPath rec{{}, arcs, inputStops || clockwise, loop};
    const WalkRule& rule =
        inputStops ? (arcs ? kRuleXBulge : kRuleX) : (arcs ? kRuleDBulge : kRuleD);
    return walkLoop(rule, rec, mark, start, k->m_to, start, arrivalOf(k));
}

int CTavroLoopNode::NextLine(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                             const AcArray<AcGePoint2d>& points, const AcArray<double>& bulges,
                             std::uint64_t id, std::vector<AcArray<AcGePoint2d>>& path,
                             std::vector<AcArray<double>>& bulgePath,
                             std::vector<std::uint64_t>& ids, bool /*unused*/) {
    struct LineFrame {
        CTavroLoopNode* node;
        CTavroLoopNode* previous;
        Arrival in;
        int tried;
    };
    std::vector<LineFrame> stack;
    // Edges by which a node on the stack was entered. Entering by one of them again would repeat
    // the same steps for ever (nothing a chain walk reads changes on the way), so that step backs
    // out instead.
    std::unordered_set<const CTavroLoopEdge*> entered;
    auto pushEntry = [&](const Arrival& in) {
        path.push_back(*in.points);
        bulgePath.push_back(*in.bulges);
        ids.push_back(in.id);
    };
    auto popEntry = [&] {
        path.pop_back();
        bulgePath.pop_back();
        ids.pop_back();
    };
    constexpr int kGoOn = -1;
    auto enter = [&](CTavroLoopNode* node, CTavroLoopNode* from, const Arrival& in) {
        if (in.edge && entered.count(in.edge)) return 2;
        pushEntry(in);
        if (node == target) return 0;
        node->m_mark = mark;
        if (node->m_edges.GetSize() != 2) return 0;
        if (in.edge) entered.insert(in.edge);
        stack.push_back(LineFrame{node, from, in, 0});
        return kGoOn;
    };

    if (enter(this, previous, {&points, &bulges, id, nullptr}) == 0) return 0;
    while (!stack.empty()) {
        LineFrame& f = stack.back();
        if (f.tried == 2) {
            popEntry();
            if (f.in.edge) entered.erase(f.in.edge);
            stack.pop_back();
            continue;
        }
        CTavroLoopEdge* k = f.node->m_edges[f.tried++];
        if (isStraightBack(BackSkip::Arc, k, f.node, f.previous, f.in)) continue;
        if (enter(k->m_to, f.node, arrivalOf(k)) == 0) return 0;
    }
    return 2;
}

int CTavroLoopNode::SortID(int mark, const CTavroLoopNode* /*target*/, CTavroLoopNode* /*previous*/,
                           const AcArray<AcGePoint2d>& /*points*/, std::uint64_t id,
                           std::vector<AcArray<AcGePoint2d>>& /*path*/,
                           std::set<std::uint64_t>& ids) {
    struct FloodFrame {
        CTavroLoopNode* node;
        int next;
    };
    std::vector<FloodFrame> stack;
    auto enter = [&](CTavroLoopNode* node, std::uint64_t arriving) {
        if (node->m_mark == mark) return;
        node->m_mark = mark;
        ids.insert(arriving);
        stack.push_back(FloodFrame{node, 0});
    };
    enter(this, id);
    while (!stack.empty()) {
        FloodFrame& f = stack.back();
        if (f.next == f.node->m_edges.GetSize()) {
            stack.pop_back();
            continue;
        }
        const CTavroLoopEdge* k = f.node->m_edges[f.next++];
        enter(k->m_to, k->m_id); // may move the stack: f is not used after
    }
    return 2;
}

bool CTavroLoopNode::IsDeasil(std::vector<AcArray<AcGePoint2d>>& path) const {
    return pathIsClockwise(path.size(), [&path](size_t i) -> const Points& { return path[i]; });
}

bool CTavroLoopNode::IsBulgeDeasil(std::vector<AcArray<AcGePoint2d>>& path,
                                   std::vector<AcArray<double>>& bulgePath) {
    const Bulges none;
    return pathIsBulgeClockwise(
        path.size(), [&path](size_t i) -> const Points& { return path[i]; },
        [&](size_t i) -> const Bulges& { return i < bulgePath.size() ? bulgePath[i] : none; });
}
