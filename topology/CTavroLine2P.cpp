#include "CTavroLine2P.h"
#include "TavroTolerance.h"

#include <cmath>
#include <utility>

namespace {} // namespace

bool CTavroLine2P::m_bCompareWithDirect = true;

// A default piece is straight: its bulge is set rather than left to chance.
CTavroLine2P::CTavroLine2P() : m_bulge(0.0) {}

CTavroLine2P::CTavroLine2P(const AcGePoint2d& start, const AcGePoint2d& end, double bulge)
    : m_bulge(bulge), m_start(start), m_end(end) {}

CTavroLine2P::CTavroLine2P(const CTavroLine2P& other) = default;
CTavroLine2P& CTavroLine2P::operator=(const CTavroLine2P& other) = default;
CTavroLine2P::~CTavroLine2P() = default;

int CTavroLine2P::CompareNode(const AcGePoint2d& p, const AcGePoint2d& q) {
    const bool sameX = std::fabs(p.x - q.x) < Tavro::kNodeCoordinateTol;
    if (sameX && std::fabs(p.y - q.y) < Tavro::kNodeCoordinateTol) return 0;
    if (sameX) return q.y > p.y ? -1 : 1;
    return q.x > p.x ? -1 : 1;
}

int CTavroLine2P::CompareLine(AcGePoint2d a1, AcGePoint2d a2, double bulgeA, AcGePoint2d b1,
                              AcGePoint2d b2, double bulgeB) {
    if (!m_bCompareWithDirect) {
        if (CompareNode(a1, a2) == 1) {
            std::swap(a1, a2);
            bulgeA = -bulgeA;
        }
        if (CompareNode(b1, b2) == 1) {
            std::swap(b1, b2);
            bulgeB = -bulgeB;
        }
    }
    if (const int r = CompareNode(a1, b1)) return r;
    if (const int r = CompareNode(a2, b2)) return r;
    if (std::fabs(bulgeA - bulgeB) < Tavro::kSameBulgeTol) return 0;
    return bulgeB > bulgeA ? -1 : 1;
}

bool CTavroLine2P::operator==(const CTavroLine2P& other) const {
    return CompareLine(m_start, m_end, m_bulge, other.m_start, other.m_end, other.m_bulge) == 0;
}

bool operator<(const CTavroLine2P& l, const CTavroLine2P& r) {
    return CTavroLine2P::CompareLine(l.m_start, l.m_end, l.m_bulge, r.m_start, r.m_end,
                                     r.m_bulge) == -1;
}
