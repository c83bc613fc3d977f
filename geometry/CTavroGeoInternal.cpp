#include "CTavroGeoInternal.h"

#include "AcDbCurves.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "TavroTolerance.h"

#include <cmath>

CTavroGeoInternal::CTavroGeoInternal() = default;
CTavroGeoInternal::~CTavroGeoInternal() = default;

int CTavroGeoInternal::buildPolyline(AcDbPolyline* polyline, const AcArray<AcGePoint2d>& nodes,
                                     const AcArray<double>& bulges) {
    if (!polyline || nodes.isEmpty()) return Acad::eInvalidInput;
    int count = nodes.length();
    const bool closed = count > 1 && nodes.first().distanceTo(nodes.last()) < Tavro::kTol;
    if (closed) --count;
    for (int i = 0; i < count; ++i) {
        const double bulge = i < bulges.length() ? bulges[i] : 0.0;
        polyline->addVertexAt(static_cast<unsigned int>(i), nodes[i], bulge, -1.0, -1.0);
    }
    polyline->setClosed(closed);
    return Acad::eOk;
}

int CTavroGeoInternal::curveSide(const AcDbPolyline& curve, double param, const AcGeVector3d& dir) {
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

int CTavroGeoInternal::tallyRule(const QMap<int, int>& tally, int expected) {
    int combined = 0;
    for (auto it = tally.cbegin(); it != tally.cend(); ++it) {
        if (it.value() == expected) return it.key();
        combined |= it.key();
    }
    return combined;
}

namespace {
// Edges of a ring, its closing edge included and a repeated first vertex not doubled.
int edgeCount(const AcArray<AcGePoint2d>& ring) {
    const int n = ring.length();
    const bool closed = n > 1 && ring.first().distanceTo(ring.last()) < Tavro::kTol;
    return closed ? n - 1 : n;
}

void tallyEdges(const AcArray<AcGePoint2d>& edges, const AcArray<AcGePoint2d>& against,
                bool insideCountsNine, QMap<int, int>& tally) {
    const int n = edges.length();
    for (int i = 0; i < edgeCount(edges); ++i) {
        int r = CTavroGeoLine::geoLineWithPolyRelation(against, edges[i], edges[(i + 1) % n]);
        if (insideCountsNine && r == Tavro::kRelationInside) r = Tavro::kRelationContains;
        ++tally[r];
    }
}
} // namespace

int CTavroGeoInternal::edgeTally(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b) {
    if (a.isEmpty() || b.isEmpty()) return Tavro::kRelationError;
    QMap<int, int> tally;
    tallyEdges(a, b, false, tally);
    int expected = edgeCount(a);
    if (tally.size() == 1 && tally.contains(Tavro::kRelationOutside)) {
        tallyEdges(b, a, true, tally);
        expected = edgeCount(b);
    }
    return tallyRule(tally, expected);
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
