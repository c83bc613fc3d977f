#include "CTavroEdge.h"

#include "TavroSortedSearch.h"
#include "TavroTolerance.h"

#include <cmath>

namespace {

AcGeTol edgeTolerance() {
    AcGeTol tol;
    tol.setEqualPoint(Tavro::kTol);
    tol.setEqualVector(Tavro::kLooseDirectionTol);
    return tol;
}

// The ordered cut points of one edge and their parameters: the scheme shared by the three splits.
class CutList {
public:
    explicit CutList(const CTavroEdge& edge) : m_edge(edge) {
        m_points.append(edge.m_start);
        m_points.append(edge.m_end);
        m_params.append(0.0);
        m_params.append(edge.GetParamAtPoint(edge.m_end));
    }

    // Adds q when its parameter lies strictly inside the edge and no cut lies within tol of it.
    void add(const AcGePoint2d& q, double tol) {
        const double t = m_edge.GetParamAtPoint(q);
        if (!(t > 0.0 && t < m_params.last())) return;
        for (int k = 0; k < m_params.length(); ++k) {
            if (std::fabs(t - m_params[k]) < tol) return;
            if (m_params[k] > t) {
                m_params.insertAt(k, t);
                m_points.insertAt(k, q);
                return;
            }
        }
    }

    std::vector<CTavroEdge> pieces() const {
        std::vector<CTavroEdge> out;
        for (int i = 0; i + 1 < m_points.length(); ++i)
            out.emplace_back(m_points[i], m_points[i + 1]);
        return out;
    }

private:
    const CTavroEdge& m_edge;
    AcArray<AcGePoint2d> m_points;
    AcArray<double> m_params;
};

// The unit left normal of the edge.
AcGeVector2d unitNormal(const CTavroEdge& edge) {
    const AcGeVector2d d = edge.m_end - edge.m_start;
    return AcGeVector2d(-d.y, d.x).normal();
}

// Signed distance of q from the edge's line, positive to the right.
double lineOffset(const CTavroEdge& edge, const AcGeVector2d& normal, const AcGePoint2d& q) {
    return -normal.dotProduct(q - edge.m_start);
}

// The projection parameter s of p from the edge end nearer p, and the squared length.
void nearEndProjection(const CTavroEdge& edge, const AcGePoint2d& p, double& s, double& length2) {
    const bool nearStart = (p - edge.m_end).lengthSqrd() > (p - edge.m_start).lengthSqrd();
    const AcGePoint2d base = nearStart ? edge.m_start : edge.m_end;
    const AcGeVector2d v = nearStart ? edge.m_end - edge.m_start : edge.m_start - edge.m_end;
    s = v.dotProduct(p - base);
    length2 = v.lengthSqrd();
}

// Joins, in a copy of the others, each run of codirectional edges that follow one another end to
// start into one edge.
std::vector<CTavroEdge> mergeChains(const std::vector<CTavroEdge>& others) {
    std::vector<CTavroEdge> list = others;
    AcGeTol tol;
    tol.setEqualPoint(Tavro::kChainJoinTol);
    tol.setEqualVector(Tavro::kChainJoinTol);
    for (size_t i = 0; i + 1 < list.size(); ++i) {
        size_t j = 1;
        while (j < list.size()) {
            if (j == i) { // an edge shorter than the join distance would swallow itself
                ++j;
                continue;
            }
            CTavroEdge& e = list[i];
            const CTavroEdge& o = list[j];
            const bool codirectional =
                (e.m_end - e.m_start).isCodirectionalTo(o.m_end - o.m_start, tol);
            if (codirectional && o.m_start.distanceTo(e.m_end) < Tavro::kChainJoinDist) {
                e.m_end = o.m_end;
            } else if (codirectional && o.m_end.distanceTo(e.m_start) < Tavro::kChainJoinDist) {
                e.m_start = o.m_start;
            } else {
                ++j;
                continue;
            }
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(j));
            if (j < i) --i; // the edge being grown moved one place forward
            j = 1;
        }
    }
    return list;
}

} // namespace

CTavroEdge::CTavroEdge() : m_tol(edgeTolerance()) {}

CTavroEdge::CTavroEdge(AcGePoint2d start, AcGePoint2d end)
    : m_start(start), m_end(end), m_tol(edgeTolerance()) {}

CTavroEdge::CTavroEdge(AcGePoint3d start, AcGePoint3d end)
    : m_start(start.x, start.y), m_end(end.x, end.y), m_tol(edgeTolerance()) {}

CTavroEdge::CTavroEdge(const CTavroEdge& other) = default;
CTavroEdge& CTavroEdge::operator=(const CTavroEdge& other) = default;
CTavroEdge::~CTavroEdge() = default;

double CTavroEdge::Angle() const {
    const double a = (m_end - m_start).angle();
    return a > Tavro::kPi ? a - Tavro::kPi : a;
}

double CTavroEdge::Dist() const {
    return m_start.distanceTo(m_end);
}

AcGePoint2d CTavroEdge::MidPoint() {
    return AcGePoint2d((m_start.x + m_end.x) / 2.0, (m_start.y + m_end.y) / 2.0);
}

AcGeVector2d CTavroEdge::getVector() {
    return m_end - m_start;
}

AcGeVector2d CTavroEdge::getNormal() {
    const AcGeVector2d d = m_end - m_start;
    return AcGeVector2d(-d.y, d.x);
}

void CTavroEdge::Swap() {
    std::swap(m_start, m_end);
}

double CTavroEdge::GetParamAtPoint(AcGePoint2d p) const {
    const AcGeVector2d v = m_end - m_start;
    if (v.lengthSqrd() < Tavro::kDegenerateSquaredLength) return 0.0;
    return v.dotProduct(p - m_start);
}

double CTavroEdge::SquareDistance(AcGePoint2d p) {
    const AcGeVector2d v = m_end - m_start;
    const AcGeVector2d w = p - m_start;
    const double t = v.dotProduct(w);
    if (t <= 0.0) return w.lengthSqrd();
    const double length2 = v.lengthSqrd();
    if (t >= length2) return (p - m_end).lengthSqrd();
    return w.lengthSqrd() - t * t / length2;
}

double CTavroEdge::SquareDistLine(AcGePoint2d p) const {
    return std::fabs((m_end - m_start).crossProduct(p - m_start));
}

bool CTavroEdge::IsPointInLine(AcGePoint2d p) const {
    double s = 0.0, length2 = 0.0;
    nearEndProjection(*this, p, s, length2);
    return s >= Tavro::kProjectionSlack && s <= length2 - Tavro::kProjectionSlack;
}

bool CTavroEdge::IsPointOnLine(AcGePoint2d p) const {
    double s = 0.0, length2 = 0.0;
    nearEndProjection(*this, p, s, length2);
    return s >= -Tavro::kProjectionSlack && s <= length2 + Tavro::kProjectionSlack;
}

bool CTavroEdge::FindNode(AcArray<double>& values, double value, int& index) {
    return Tavro::detail::searchSorted(
        values.length(), [&](int i) { return std::fabs(values[i] - value) < Tavro::kFindNodeTol; },
        [&](int i) { return value > values[i]; }, index);
}

bool CTavroEdge::IsPointOnEdges(const std::vector<CTavroEdge>& edges, AcGePoint2d p) const {
    for (const CTavroEdge& e : edges)
        if (e.IsPointOnLine(p)) return true;
    return false;
}

bool CTavroEdge::IsLineOnEdges(const std::vector<CTavroEdge>& edges, AcGePoint2d a, AcGePoint2d b,
                               bool& sameDirection) const {
    const AcGePoint2d mid((a.x + b.x) / 2.0, (a.y + b.y) / 2.0);
    for (const CTavroEdge& e : edges) {
        if (!e.IsPointInLine(mid)) continue;
        sameDirection = (b - a).isCodirectionalTo(e.m_end - e.m_start, m_tol);
        return true;
    }
    return false;
}

void CTavroEdge::Classify(CTavroEdge other, AcArray<AcGePoint2d>& points) const {
    const AcGeVector2d n = unitNormal(*this);
    const double d1 = lineOffset(*this, n, other.m_start);
    const double d2 = lineOffset(*this, n, other.m_end);
    const bool startOn = std::fabs(d1) < Tavro::kTol;
    const bool endOn = std::fabs(d2) < Tavro::kTol;
    if (startOn) points.append(other.m_start);
    if (endOn) points.append(other.m_end);
    if (!startOn && !endOn && d1 * d2 < 0.0)
        points.append(other.m_start + (other.m_end - other.m_start) * (d1 / (d1 - d2)));
}

void CTavroEdge::DivEdge(const std::vector<CTavroEdge>& others,
                         std::vector<CTavroEdge>& pieces) const {
    const AcGeVector2d n = unitNormal(*this);
    CutList cuts(*this);
    for (const CTavroEdge& o : others) {
        if (std::fabs(lineOffset(*this, n, o.m_start)) < Tavro::kTol)
            cuts.add(o.m_start, Tavro::kCutMergeTol);
        if (std::fabs(lineOffset(*this, n, o.m_end)) < Tavro::kTol)
            cuts.add(o.m_end, Tavro::kCutMergeTol);
    }
    pieces = cuts.pieces();
}

void CTavroEdge::GetDivEdges(std::vector<CTavroEdge>& others, std::vector<CTavroEdge>& pieces) {
    AcArray<AcGePoint2d> candidates;
    for (const CTavroEdge& o : others)
        Classify(o, candidates);
    CutList cuts(*this);
    for (const AcGePoint2d& q : candidates)
        cuts.add(q, Tavro::kCutMergeTol);
    pieces = cuts.pieces();
}

void CTavroEdge::Intersection(const std::vector<CTavroEdge>& others, std::vector<CTavroEdge>& same,
                              std::vector<CTavroEdge>& opposite,
                              std::vector<CTavroEdge>& uncovered) const {
    const std::vector<CTavroEdge> merged = mergeChains(others);
    CutList cuts(*this);
    for (const CTavroEdge& o : merged) {
        cuts.add(o.m_start, Tavro::kOverlapCutTol);
        cuts.add(o.m_end, Tavro::kOverlapCutTol);
    }
    same.clear();
    opposite.clear();
    uncovered.clear();
    for (const CTavroEdge& piece : cuts.pieces()) {
        bool sameDirection = false;
        if (!IsLineOnEdges(merged, piece.m_start, piece.m_end, sameDirection))
            uncovered.push_back(piece);
        else
            (sameDirection ? same : opposite).push_back(piece);
    }
}

void CTavroEdge::Intersection(CTavroEdge other, std::vector<CTavroEdge>& same,
                              std::vector<CTavroEdge>& opposite,
                              std::vector<CTavroEdge>& uncovered) const {
    Intersection(std::vector<CTavroEdge>{other}, same, opposite, uncovered);
}
