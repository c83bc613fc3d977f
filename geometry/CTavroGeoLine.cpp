#include "CTavroGeoLine.h"

#include "CTavroGeoArc.h"
#include "CTavroGeoPoint.h"
#include "CTavroGeoVector.h"
#include "AcGeCurves.h"
#include "TavroTolerance.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// The distance a polyline answers when it has no segment to measure to.
constexpr double kNoDistance = 99999999.0;

AcGePoint3d toPoint3d(const AcGePoint2d& p) {
    return AcGePoint3d(p.x, p.y, 0.0);
}

bool within(double v, double lo, double hi) {
    return lo <= v && v <= hi;
}

// Some x and some y of the first box fall in the second, i.e. one of its corners does.
bool cornerInBox(const AcGePoint2d& min1, const AcGePoint2d& max1, const AcGePoint2d& min2,
                 const AcGePoint2d& max2) {
    return (within(min1.x, min2.x, max2.x) || within(max1.x, min2.x, max2.x)) &&
           (within(min1.y, min2.y, max2.y) || within(max1.y, min2.y, max2.y));
}

// The first box is narrower and taller than the second and crosses it like a plus sign, so no
// corner of either lies in the other.
bool spansAcross(const AcGePoint2d& min1, const AcGePoint2d& max1, const AcGePoint2d& min2,
                 const AcGePoint2d& max2) {
    return min2.x <= min1.x && max1.x <= max2.x && min1.y <= min2.y && max2.y <= max1.y;
}

// p3 and p4 lie on opposite sides of the line p1p2 (or on it, when ends count).
bool straddles(const AcGePoint2d& p1, const AcGePoint2d& p2, const AcGePoint2d& p3,
               const AcGePoint2d& p4, bool includeEnds) {
    const double d1 = CTavroGeoVector::crossMultiply(p2, p1, p3);
    const double d2 = CTavroGeoVector::crossMultiply(p2, p1, p4);
    return includeEnds ? d1 * d2 <= 0.0 : d1 * d2 < 0.0;
}

// A segment this short has no direction to measure a fraction along; a point close to it sits
// at its start.
double zeroLengthParam(const AcGePoint2d& pt, const AcGePoint2d& a, const AcGePoint2d& b,
                       double tol) {
    const AcGePoint2d nearest = CTavroGeoLine::geoNearestPoint(pt, a, b, false);
    return pt.distanceTo(nearest) < tol ? 0.0 : -1.0;
}

double straightParam(const AcGePoint2d& pt, const AcGePoint2d& a, const AcGePoint2d& b,
                     double tol) {
    const double length = a.distanceTo(b);
    const double d1 = pt.distanceTo(a);
    const double d2 = pt.distanceTo(b);
    return std::fabs(length - d1 - d2) < tol ? d1 / length : -1.0;
}

} // namespace

CTavroGeoLine::CTavroGeoLine() = default;
CTavroGeoLine::CTavroGeoLine(const CTavroGeoLine&) = default;
CTavroGeoLine& CTavroGeoLine::operator=(const CTavroGeoLine&) = default;
CTavroGeoLine::~CTavroGeoLine() = default;

// ---- Line equations ----

TavroLine CTavroGeoLine::geoCreateLinearEquation(const AcGePoint2d& p1, const AcGePoint2d& p2) {
    TavroLine line;
    const double dx = p2.x - p1.x;
    if (std::fabs(dx) < Tavro::kTol) {
        line.b = 0.0;
    } else {
        line.a = (p2.y - p1.y) / dx;
        if (line.a < 0.0) {
            line.a = -line.a;
            line.b = 1.0;
        }
    }
    line.c = -(line.a * p1.x + line.b * p1.y);
    return line;
}

Tavro::RelationEnum CTavroGeoLine::geoLineRelation(const TavroLine& l1, const TavroLine& l2) {
    // A horizontal first line against a vertical second one has a zero dot product, so the
    // perpendicular test answers that pair without a special case.
    if (std::fabs(l1.a * l2.a + l1.b * l2.b) < Tavro::kTol) return Tavro::kLinePerpendicular;
    if (std::fabs(l1.a * l2.b - l2.a * l1.b) < Tavro::kTol) return Tavro::kLineParallel;
    return Tavro::kLineCross;
}

// ---- Segment tests ----

bool CTavroGeoLine::geoLineIsParallel(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                      const AcGePoint2d& p3, const AcGePoint2d& p4) {
    const AcGeVector2d u = p2 - p1;
    const AcGeVector2d v = p4 - p3;
    return std::fabs(u.x * v.y - u.y * v.x) < Tavro::kTol;
}

bool CTavroGeoLine::geoIntersectWith(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                     const AcGePoint2d& p3, const AcGePoint2d& p4,
                                     bool includeEnds) {
    if (!(std::max(p3.y, p4.y) >= std::min(p1.y, p2.y))) return false;
    if (!(std::max(p1.x, p2.x) >= std::min(p3.x, p4.x))) return false;
    if (!(std::max(p1.y, p2.y) >= std::min(p3.y, p4.y))) return false;
    if (!(std::max(p3.x, p4.x) >= std::min(p1.x, p2.x))) return false;
    // Each segment must straddle the other's line: one straddle alone accepts a segment that
    // crosses the other's line beyond its end.
    return straddles(p1, p2, p3, p4, includeEnds) && straddles(p3, p4, p1, p2, includeEnds);
}

bool CTavroGeoLine::geoIsIntersection(const AcGePoint2d& min1, const AcGePoint2d& max1,
                                      const AcGePoint2d& min2, const AcGePoint2d& max2) {
    return cornerInBox(min1, max1, min2, max2) || cornerInBox(min2, max2, min1, max1) ||
           spansAcross(min1, max1, min2, max2) || spansAcross(min2, max2, min1, max1);
}

bool CTavroGeoLine::geoPointInLine(const AcGePoint2d& pt, const AcGePoint2d& a,
                                   const AcGePoint2d& b, double tol) {
    return std::fabs(a.distanceTo(b) - pt.distanceTo(a) - pt.distanceTo(b)) < tol;
}

bool CTavroGeoLine::geoIsHorizontal(const AcGePoint2d& a, const AcGePoint2d& b) {
    const double r = CTavroGeoPoint::geoRadian(a, b);
    return std::fabs(r) < Tavro::kTol || std::fabs(r - Tavro::kTwoPi) < Tavro::kTol;
}

// ---- Nearest and perpendicular points ----

AcGePoint2d CTavroGeoLine::geoNearestPoint(const AcGePoint2d& pt, const AcGePoint2d& a,
                                           const AcGePoint2d& b, bool endsOnly) {
    if (endsOnly) return pt.distanceTo(a) < pt.distanceTo(b) ? a : b;
    return AcGeLineSeg2d(a, b).closestPointTo(pt, AcGeContext::gTol);
}

AcGePoint2d CTavroGeoLine::geoVerticalPoint(const AcGePoint2d& pt, const AcGePoint2d& a,
                                            const AcGePoint2d& b) {
    const double d = CTavroGeoPoint::geoVerticalDistance(pt, a, b, false);
    const double theta = CTavroGeoPoint::geoRadian(a, b) + Tavro::kHalfPi;
    // The distance has no sign, so step to the left of a->b first and turn back if that misses.
    const AcGePoint2d left = CTavroGeoPoint::geoPolar(pt, theta, d);
    if (CTavroGeoPoint::geoPointCollinear(a, b, left)) return left;
    return CTavroGeoPoint::geoPolar(pt, theta, -d);
}

double CTavroGeoLine::geoPointDistPolyline(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& pts) {
    double best = kNoDistance;
    for (int i = 0; i + 1 < pts.length(); ++i)
        best = std::min(best, CTavroGeoPoint::geoNearestDistance(pt, pts[i], pts[i + 1]));
    return best;
}

// ---- Lengths ----

double CTavroGeoLine::GetBulgeLineLength(const AcGePoint2d& a, const AcGePoint2d& b,
                                         const double& bulge) {
    if (std::fabs(bulge) < Tavro::kLengthStraightBulge) return a.distanceTo(b);
    AcGePoint2d center;
    double radius = 0.0;
    CTavroGeoArc::GetArcCoreRadius(a, b, bulge, center, radius);
    // The arc radius reads bulges below 1e-6 as straight and answers 0; this length counts
    // them as arcs from 1e-7 on, so it takes the radius from the centre instead of measuring 0.
    if (radius == 0.0) radius = center.distanceTo(a);
    return GetArcLength(center, radius, a, b, bulge < 0.0);
}

double CTavroGeoLine::GetBulgeLineLength(const AcArray<AcGePoint2d>& pts,
                                         const AcArray<double>& bulges, const bool& closed) {
    const int n = pts.length();
    if (n < 2 || bulges.length() != n) return -1.0;
    double total = 0.0;
    for (int i = 0; i + 1 < n; ++i)
        total += GetBulgeLineLength(pts[i], pts[i + 1], bulges[i]);
    if (closed) total += GetBulgeLineLength(pts[n - 1], pts[0], bulges[n - 1]);
    return total;
}

double CTavroGeoLine::GetArcLength(const AcGePoint2d& center, double radius, const AcGePoint2d& a,
                                   const AcGePoint2d& b, const bool& clockwise) {
    const double alpha = CTavroGeoPoint::geoRadian(center, a);
    const double beta = CTavroGeoPoint::geoRadian(center, b);
    double sweep = clockwise ? alpha - beta : beta - alpha;
    if (sweep < 0.0) sweep += Tavro::kTwoPi;
    return radius * sweep;
}

// ---- Parameters along segments and polylines ----

double CTavroGeoLine::geoPointAtParam(const AcGePoint2d& pt, const AcGePoint2d& a,
                                      const AcGePoint2d& b, double bulge, double tol) {
    if (a.distanceTo(b) < Tavro::kTol) return zeroLengthParam(pt, a, b, tol);
    if (std::fabs(bulge) < Tavro::kTol) return straightParam(pt, a, b, tol);
    return CTavroGeoArc::geoPointAtParam(pt, a, b, bulge, tol);
}

double CTavroGeoLine::geoPointAtParam(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& pts,
                                      const AcArray<double>& bulges, double tol) {
    // Smallest cut local parameter wins; on a tie the later segment, as a later entry of a map
    // keyed by that parameter would overwrite the earlier one.
    bool found = false;
    double bestLocal = 0.0;
    double result = -1.0;
    for (int i = 0; i + 1 < pts.length(); ++i) {
        const double bulge = i < bulges.length() ? bulges[i] : 0.0;
        const double t = geoPointAtParam(pt, pts[i], pts[i + 1], bulge, tol);
        if (!(t >= 0.0 && t <= 1.0)) continue;
        const double local =
            static_cast<std::int32_t>(t / Tavro::kParamCutStep) * Tavro::kParamCutStep;
        if (found && local > bestLocal) continue;
        found = true;
        bestLocal = local;
        result = i + local;
    }
    return result;
}

// ---- Vertex lists ----

bool CTavroGeoLine::geoAddPointToLine(AcArray<AcGePoint2d>& pts, const AcGePoint2d& pt) {
    for (int i = 0; i + 1 < pts.length(); ++i) {
        const AcGePoint2d start = pts[i];
        const AcGePoint2d end = pts[i + 1];
        if (pt.distanceTo(start) < Tavro::kTol || pt.distanceTo(end) < Tavro::kTol) continue;
        if (geoPointInLine(pt, start, end, AcGeContext::gTol.equalPoint())) {
            pts.insertAt(i + 1, pt);
            return true;
        }
    }
    return false;
}

int CTavroGeoLine::geoAddPointToLine(AcArray<AcGePoint2d>& pts, const AcArray<AcGePoint2d>& add) {
    // A copy, because the caller may pass the same array twice and it grows as points go in.
    const AcArray<AcGePoint2d> toAdd = add;
    const int before = pts.length();
    for (const AcGePoint2d& pt : toAdd)
        geoAddPointToLine(pts, pt);
    return pts.length() - before;
}

bool CTavroGeoLine::geoFindPtInNode(const AcArray<AcGePoint2d>& pts, const AcGePoint2d& pt,
                                    int& index) {
    for (int i = 0; i < pts.length(); ++i) {
        if (pts[i].distanceTo(pt) < Tavro::kTol) {
            index = i;
            return true;
        }
    }
    return false;
}

// ---- Polygons and polylines ----

bool CTavroGeoLine::geoPointInNode(const AcArray<AcGePoint2d>& pts, const AcGePoint2d& pt,
                                   double /*tol*/) {
    bool inside = false;
    const int n = pts.length();
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const AcGePoint2d& pi = pts[i];
        const AcGePoint2d& pj = pts[j];
        const bool spansY = (pi.y < pt.y && pt.y <= pj.y) || (pj.y < pt.y && pt.y <= pi.y);
        if (!spansY || !(pi.x <= pt.x || pj.x <= pt.x)) continue;
        // spansY keeps the two y values apart, so the division is safe.
        if (pi.x + (pt.y - pi.y) / (pj.y - pi.y) * (pj.x - pi.x) < pt.x) inside = !inside;
    }
    return inside;
}

bool CTavroGeoLine::geoPointOnPoly(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& pts,
                                   const AcArray<double>& bulges) {
    // Any parameter from 0 on is a place on some segment, not only those of the first one.
    return geoPointAtParam(pt, pts, bulges, AcGeContext::gTol.equalPoint()) >= 0.0;
}

AcDbExtents CTavroGeoLine::geoLineExtends(const AcArray<AcGePoint2d>& pts,
                                          const AcArray<double>& bulges) {
    AcDbExtents extents;
    const int n = pts.length();
    if (n == 0 || (!bulges.isEmpty() && bulges.length() != n)) return extents;
    for (int i = 0; i < n; ++i) {
        if (bulges.isEmpty() || std::fabs(bulges[i]) < Tavro::kTol) {
            extents.addPoint(toPoint3d(pts[i]));
        } else {
            // The arc's extents hold its start vertex as well.
            extents.addExt(CTavroGeoArc::geoArcExtends(pts[i], pts[(i + 1) % n], bulges[i]));
        }
    }
    return extents;
}
