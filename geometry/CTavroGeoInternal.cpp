#include "CTavroGeoInternal.h"

#include "AcDbCurves.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "TavroTolerance.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

CTavroGeoInternal::CTavroGeoInternal() = default;
CTavroGeoInternal::~CTavroGeoInternal() = default;

int CTavroGeoInternal::polylineVertexCount(const AcArray<AcGePoint2d>& nodes, bool& closed) {
    const int count = nodes.length();
    closed = count > 1 && nodes.first().distanceTo(nodes.last()) < Tavro::kTol;
    return closed ? count - 1 : count;
}

int CTavroGeoInternal::buildPolyline(AcDbPolyline* polyline, const AcArray<AcGePoint2d>& nodes,
                                     const AcArray<double>& bulges) {
    if (!polyline || nodes.isEmpty()) return Acad::eInvalidInput;
    bool closed = false;
    const int count = polylineVertexCount(nodes, closed);
    for (int i = 0; i < count; ++i) {
        const double bulge = i < bulges.length() ? bulges[i] : 0.0;
        polyline->addVertexAt(static_cast<unsigned int>(i), nodes[i], bulge, -1.0, -1.0);
    }
    polyline->setClosed(closed);
    return Acad::eOk;
}

namespace {
template <class Curve> int sideOf(const Curve& curve, double param, const AcGeVector3d& dir) {
    const AcGeVector3d normal = AcGeVector3d::kZAxis;
    AcGeVector3d tangent;
    if (curve.getFirstDeriv(param, tangent) != Acad::eOk) return 2;
    if (!tangent.isParallelTo(dir) && !tangent.isZeroLength())
        return tangent.crossProduct(dir).dotProduct(normal) >= 0.0 ? 1 : 0;
    AcGeVector3d bend;
    if (curve.getSecondDeriv(param, bend) != Acad::eOk) return 2;
    if (bend.isZeroLength() || bend.isParallelTo(dir)) return 2;
    return bend.crossProduct(dir).dotProduct(normal) < 0.0 ? 1 : 0;
}
} // namespace

int CTavroGeoInternal::curveSide(const AcDbPolyline& curve, double param, const AcGeVector3d& dir) {
    return sideOf(curve, param, dir);
}

int CTavroGeoInternal::curveSide(const AcDbPolylineBand& curve, double param,
                                 const AcGeVector3d& dir) {
    return sideOf(curve, param, dir);
}

namespace {
// A piece that rises or falls from p to q crosses the row y to the right of x (half-open in y).
bool straightCrosses(const AcGePoint2d& p, const AcGePoint2d& q, double x, double y) {
    const bool spans = (q.y <= y && y < p.y) || (p.y <= y && y < q.y);
    return spans && (p.x - q.x) * (y - q.y) / (p.y - q.y) + q.x > x;
}

// The same for a part of a circle (centre c) that rises or falls from p to q on the side of the
// vertical through c given by side (+1 east, -1 west). The crossing is found from p, so that
// flat arcs of huge radius keep their precision: with u = X - p.x,
// u^2 + 2 u (p.x - c.x) = (p.y - y)(p.y + y - 2 c.y).
bool arcPartCrosses(const AcGePoint2d& p, const AcGePoint2d& q, const AcGePoint2d& c, double side,
                    double x, double y) {
    const bool spans = (q.y <= y && y < p.y) || (p.y <= y && y < q.y);
    if (!spans) return false;
    const double dx = p.x - c.x;
    const double k = (p.y - y) * ((p.y - c.y) + (y - c.y));
    const double root = std::sqrt(std::max(0.0, dx * dx + k));
    const double u = dx * side > 0.0 ? k / (side * root + dx) : side * root - dx;
    return p.x + u > x;
}

// Crossings of the row with the arc from a to b (bulge, chord not zero), cut at the circle's
// highest and lowest points where they lie strictly within the sweep.
int arcCrossings(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, double x, double y) {
    // The centre as the host's polyline places it: the chord's middle plus k/2 times its left
    // normal, k = (1/bulge - bulge)/2.
    const double k = (1.0 / bulge - bulge) / 2.0;
    const AcGePoint2d c((a.x + b.x) / 2.0 - (b.y - a.y) * k / 2.0,
                        (a.y + b.y) / 2.0 + (b.x - a.x) * k / 2.0);
    const double r = a.distanceTo(c);
    const double sweep = 4.0 * std::atan(bulge);
    const double dx = a.x - c.x, dy = a.y - c.y;
    const double start = std::atan2(dy, dx);
    // Heights of the circle's top and bottom, taken from a so that a flat arc of huge radius
    // keeps its sagitta: r - dy = dx^2 / (r + dy) without the cancellation.
    const double top = a.y + (dy >= 0.0 ? dx * dx / (r + dy) : r - dy);
    const double bottom = a.y - (dy <= 0.0 ? dx * dx / (r - dy) : r + dy);
    // Fractions of the sweep at which the arc passes the top and the bottom of its circle.
    struct Cut {
        double at;
        AcGePoint2d pt;
    } cuts[4];
    int n = 0;
    cuts[n++] = {0.0, a};
    for (double extreme : {Tavro::kHalfPi, -Tavro::kHalfPi}) {
        double turn = std::fmod((extreme - start) * (sweep >= 0.0 ? 1.0 : -1.0), Tavro::kTwoPi);
        if (turn < 0.0) turn += Tavro::kTwoPi;
        const double at = turn / std::fabs(sweep);
        if (at > 0.0 && at < 1.0) cuts[n++] = {at, AcGePoint2d(c.x, extreme > 0 ? top : bottom)};
    }
    if (n == 3 && cuts[2].at < cuts[1].at) std::swap(cuts[1], cuts[2]);
    cuts[n++] = {1.0, b};
    int count = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const double middle = start + sweep * (cuts[i].at + cuts[i + 1].at) / 2.0;
        const double side = std::cos(middle) >= 0.0 ? 1.0 : -1.0;
        if (arcPartCrosses(cuts[i].pt, cuts[i + 1].pt, c, side, x, y)) ++count;
    }
    return count;
}
} // namespace

int CTavroGeoInternal::rowCrossings(const AcGePoint2d& pt, const AcGePoint2d& a,
                                    const AcGePoint2d& b, double bulge) {
    const bool arc = bulge != 0.0 && std::isfinite(bulge) && a.distanceTo(b) > 0.0;
    return arc ? arcCrossings(a, b, bulge, pt.x, pt.y) : straightCrosses(a, b, pt.x, pt.y);
}

bool CTavroGeoInternal::rowCrossingParity(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& ring,
                                          const AcArray<double>& bulges) {
    const int n = ring.length();
    int count = 0;
    for (int i = 0; i < n; ++i)
        count +=
            rowCrossings(pt, ring[i], ring[(i + 1) % n], i < bulges.length() ? bulges[i] : 0.0);
    return count % 2 == 1;
}

int CTavroGeoInternal::tallyRule(const QMap<int, int>& tally, int expected) {
    int combined = 0;
    for (auto it = tally.cbegin(); it != tally.cend(); ++it) {
        if (it.value() == expected) return it.key();
        combined |= it.key();
    }
    return combined;
}

int CTavroGeoInternal::startVertex(const AcArray<AcGePoint2d>& pts, Tavro::RearrangementMode mode,
                                   int start) {
    if (mode == Tavro::kStartAtIndex) return start;
    AcGePoint2d lo, hi;
    if (!CTavroGeoPoint::geoNodeExtents(pts, lo, hi, 0.0)) return -1;
    const AcGePoint2d center = CTavroGeoPoint::getMiddlePoint(lo, hi);
    const double cornerAngle = (45.0 + 90.0 * static_cast<int>(mode)) * Tavro::kPi / 180.0;
    const AcGeVector2d toCorner =
        CTavroGeoPoint::geoPolar(center, cornerAngle, lo.distanceTo(hi) / 2.0) - center;
    int best = -1;
    double bestReach = 0.0;
    for (int i = 0; i < pts.length(); ++i) {
        const double reach = (pts[i] - center).dotProduct(toCorner);
        if (reach >= bestReach) {
            bestReach = reach;
            best = i;
        }
    }
    return best;
}

namespace {
// The vertices kept so far, each later vertex within 1e-6 of one of them snapping to the newest
// such. A grid of cells twice the tolerance wide finds the candidates, so the pool answers as
// a scan from its newest vertex would, without the scan.
class SnapPool {
public:
    // The vertex pt snaps to, or pt itself after adding it to the pool.
    AcGePoint2d snap(const AcGePoint2d& pt) {
        const int found = newestNear(pt);
        if (found >= 0) return m_points[static_cast<size_t>(found)];
        add(pt);
        return pt;
    }

private:
    static constexpr double kCell = 2.0 * Tavro::kTol;
    // Cells are numbered while coordinates stay well inside the 64-bit range; points at the
    // grid's edge or beyond are also kept in a list checked one by one.
    static constexpr double kGridLimit = 1e12;

    static double reach(const AcGePoint2d& p) { return std::max(std::fabs(p.x), std::fabs(p.y)); }
    static std::int64_t cell(double v) { return static_cast<std::int64_t>(std::floor(v / kCell)); }
    static std::uint64_t key(std::int64_t cx, std::int64_t cy) {
        return static_cast<std::uint64_t>(cx) * 0x9E3779B97F4A7C15ULL ^
               static_cast<std::uint64_t>(cy);
    }

    void add(const AcGePoint2d& p) {
        const int index = static_cast<int>(m_points.size());
        m_points.push_back(p);
        // A point with an infinite or NaN coordinate is never within 1e-6 of anything.
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
        if (reach(p) < kGridLimit) m_cells[key(cell(p.x), cell(p.y))].push_back(index);
        if (reach(p) >= kGridLimit - 1.0) m_wide.push_back(index);
    }

    // The newest pool vertex closer than 1e-6 to pt, or -1.
    int newestNear(const AcGePoint2d& pt) const {
        if (!std::isfinite(pt.x) || !std::isfinite(pt.y)) return -1;
        int best = -1;
        auto consider = [&](int i) {
            if (i > best && m_points[static_cast<size_t>(i)].distanceTo(pt) < Tavro::kTol) best = i;
        };
        for (int i : m_wide)
            consider(i);
        if (reach(pt) >= kGridLimit) return best;
        const std::int64_t cx = cell(pt.x), cy = cell(pt.y);
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                const auto it = m_cells.find(key(cx + dx, cy + dy));
                if (it == m_cells.end()) continue;
                for (int i : it->second)
                    consider(i);
            }
        }
        return best;
    }

    std::vector<AcGePoint2d> m_points;
    std::unordered_map<std::uint64_t, std::vector<int>> m_cells;
    std::vector<int> m_wide;
};

} // namespace

double CTavroGeoInternal::partBulge(double bulge, double fraction) {
    return std::tan(std::atan(bulge) * fraction);
}

void CTavroGeoInternal::snapVertices(QVector<AcArray<AcGePoint2d>>& polylines) {
    SnapPool pool;
    for (AcArray<AcGePoint2d>& polyline : polylines)
        for (AcGePoint2d& p : polyline)
            p = pool.snap(p);
}
