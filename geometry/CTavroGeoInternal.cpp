#include "CTavroGeoInternal.h"

#include "TavroKernel.h"

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
    return TavroKernel::polylineVertexCount(nodes, closed);
}

int CTavroGeoInternal::buildPolyline(AcDbPolyline* polyline, const AcArray<AcGePoint2d>& nodes,
                                     const AcArray<double>& bulges) {
    return TavroKernel::buildPolyline(polyline, nodes, bulges);
}

int CTavroGeoInternal::rowCrossings(const AcGePoint2d& pt, const AcGePoint2d& a,
                                    const AcGePoint2d& b, double bulge) {
    return TavroKernel::rowCrossings(pt, a, b, bulge);
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
    return TavroKernel::partBulge(bulge, fraction);
}

void CTavroGeoInternal::snapVertices(QVector<AcArray<AcGePoint2d>>& polylines) {
    SnapPool pool;
    for (AcArray<AcGePoint2d>& polyline : polylines)
        for (AcGePoint2d& p : polyline)
            p = pool.snap(p);
}
