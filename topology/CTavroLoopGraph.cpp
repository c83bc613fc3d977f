#include "CTavroLoopGraph.h"
#include "TavroTolerance.h"

#include "CTavroGeoArc.h"

#include <cmath>

namespace {

AcGeVector2d chordDirection(const AcArray<AcGePoint2d>& points) {
    return points.length() < 2 ? AcGeVector2d() : points[1] - points[0];
}

// The chord from the first vertex to the point at 0.01 of the first arc; the first chord when
// that point cannot be had.
AcGeVector2d arcDirection(const AcArray<AcGePoint2d>& points, const AcArray<double>& bulges) {
    if (points.length() < 2) return AcGeVector2d();
    AcGePoint2d q;
    const double bulge = bulges.isEmpty() ? 0.0 : bulges[0];
    if (CTavroGeoArc::GetPointAtParam(points[0], points[1], bulge, Tavro::kLeavingParam, q))
        return q - points[0];
    return points[1] - points[0];
}

} // namespace

// ---- CTavroPtNode ----

CTavroPtNode::CTavroPtNode() : m_node(nullptr), m_count(0) {}

CTavroPtNode::CTavroPtNode(CTavroLoopNode* node, AcGePoint2d point)
    : m_node(node), m_point(point), m_count(0) {}

CTavroPtNode::CTavroPtNode(const CTavroPtNode& other) = default;
CTavroPtNode& CTavroPtNode::operator=(const CTavroPtNode& other) = default;
CTavroPtNode::~CTavroPtNode() = default;

int CTavroPtNode::CompareNode(AcGePoint2d a, AcGePoint2d b) {
    const bool sameX = std::fabs(a.x - b.x) < Tavro::kNodeCoordinateTol;
    if (sameX && std::fabs(a.y - b.y) < Tavro::kNodeCoordinateTol) return 0;
    if (sameX) return a.y >= b.y ? 1 : -1;
    return a.x >= b.x ? 1 : -1;
}

bool CTavroPtNode::operator==(const CTavroPtNode& other) const {
    return CompareNode(m_point, other.m_point) == 0;
}

bool CTavroPtNode::operator<(const CTavroPtNode& other) const {
    return CompareNode(m_point, other.m_point) == -1;
}

// ---- CTavroLoopEdge ----

CTavroLoopEdge::CTavroLoopEdge(CTavroLoopNode* from, CTavroLoopNode* to, AcGePoint2d a,
                               AcGePoint2d b, std::uint64_t id)
    : m_points{a, b}, m_reverse(true), m_direction(b - a), m_from(from), m_to(to), m_id(id) {}

CTavroLoopEdge::CTavroLoopEdge(CTavroLoopNode* from, CTavroLoopNode* to,
                               const AcArray<AcGePoint2d>& points, std::uint64_t id)
    : m_points(points), m_reverse(true), m_direction(chordDirection(points)), m_from(from),
      m_to(to), m_id(id) {}

CTavroLoopEdge::CTavroLoopEdge(CTavroLoopNode* from, CTavroLoopNode* to,
                               const AcArray<AcGePoint2d>& points, const AcArray<double>& bulges,
                               std::uint64_t id)
    : m_points(points), m_bulges(bulges), m_reverse(true),
      m_direction(arcDirection(points, bulges)), m_from(from), m_to(to), m_id(id) {}

CTavroLoopEdge::CTavroLoopEdge(const CTavroLoopEdge& other) = default;
CTavroLoopEdge& CTavroLoopEdge::operator=(const CTavroLoopEdge& other) = default;
CTavroLoopEdge::~CTavroLoopEdge() = default;

// ---- CTavroLoopNode ----

CTavroLoopNode::CTavroLoopNode(AcGePoint2d point) : m_point(point), m_mark(-1) {}

CTavroLoopNode::~CTavroLoopNode() {
    for (int i = 0; i < m_edges.GetSize(); ++i)
        delete m_edges[i];
}
