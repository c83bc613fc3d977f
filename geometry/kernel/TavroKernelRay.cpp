// The ray cast that decides a point against a ring with arcs, on the host's curve entities.

#include "TavroKernel.h"

#include "AcDbCurves.h"
#include "TavroTypes.h"

namespace TavroKernel {

int polylineVertexCount(const AcArray<AcGePoint2d>& nodes, bool& closed) {
    const int count = nodes.length();
    closed = count > 1 && nodes.first().distanceTo(nodes.last()) < Tavro::kTol;
    return closed ? count - 1 : count;
}

int buildPolyline(AcDbPolyline* polyline, const AcArray<AcGePoint2d>& nodes,
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

// The ray turns by 5 degrees whenever a cast meets the boundary where it cannot tell a crossing
// from a touch; 72 turns bring it back to where it started.
const double kRayTurn = 5.0 * Tavro::kPi / 180.0;
const int kRayCasts = 72;

// Which way the curve runs across the ray direction at param: 1 or 0 by the sign of
// (tangent x dir).z; where the tangent runs along the ray, by the second derivative; 2 when that
// is parallel too (the cast is then degenerate).
template <class Curve> int curveSide(const Curve& curve, double param, const AcGeVector3d& dir) {
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

// One ray cast from pt along dir: the number of boundary points met, touches counted again so
// that only crossings change the parity. False when a hit cannot be classified.
template <class Curve>
bool castRay(const Curve& curve, const AcDbRay& ray, const AcGeVector3d& dir, int& count) {
    AcArray<AcGePoint3d> hits;
    curve.intersectWith(&ray, AcDb::kOnBothOperands, AcGePlane::kXYPlane, hits);
    double s = 0.0, e = 0.0;
    curve.getStartParam(s);
    curve.getEndParam(e);
    count = hits.length();
    for (const AcGePoint3d& hit : hits) {
        double p = 0.0;
        if (curve.getParamAtPoint(hit, p) != Acad::eOk) return false;
        double before = p - Tavro::kRaySideStep;
        double after = p + Tavro::kRaySideStep;
        if (before < s) before = e - Tavro::kRaySideStep + (s - before);
        if (after > e) after = s + Tavro::kRaySideStep + (e - after);
        const int sideBefore = curveSide(curve, before, dir);
        const int sideAfter = curveSide(curve, after, dir);
        if (sideBefore == 2 || sideAfter == 2) return false;
        if (sideBefore != sideAfter) ++count;
    }
    return true;
}

AcGeVector3d firstRayDir() {
    return AcGeVector3d::kZAxis.perpVector();
}

AcDbRay rayFrom(const AcGePoint2d& pt, const AcGeVector3d& dir) {
    AcDbRay ray;
    ray.setBasePoint(AcGePoint3d(pt.x, pt.y, 0.0));
    ray.setUnitDir(dir);
    return ray;
}

template <class Curve> bool nearBoundary(const Curve& curve, const AcGePoint2d& pt) {
    AcGePoint3d closest;
    const AcGePoint3d at(pt.x, pt.y, 0.0);
    return curve.getClosestPointTo(at, closest, false) == Acad::eOk &&
           closest.distanceTo(at) < Tavro::kTol;
}

int parityRelation(int count) {
    return count % 2 == 1 ? Tavro::kRelationInside : Tavro::kRelationOutside;
}

// The ray cast's answer from the pieces near the first ray alone, when they can give it: the
// boundary test and the first cast see only pieces within the tolerances of the ray, so a long
// ring is read once instead of built. kUndecided when the first cast is ambiguous (the turned
// rays need the whole curve), a hit lies where the band cannot vouch for its parameter, or the
// input is not finite.
const int kUndecided = -2;
const int kBandFrom = 32;

int bandRelation(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& ring,
                 const AcArray<double>& bulges) {
    if (ring.length() < kBandFrom) return kUndecided;
    bool closed = false;
    const int count = polylineVertexCount(ring, closed);
    const AcGeVector3d dir = firstRayDir();
    const AcDbRay ray = rayFrom(pt, dir);
    // Wide enough for the boundary test and for the on-curve tolerance around every hit.
    const AcDbPolylineBand band(ring.asArrayPtr(), count, bulges.asArrayPtr(), bulges.length(),
                                closed, ray, 2.0 * Tavro::kTol);
    if (!band.isBounded()) return kUndecided;
    if (nearBoundary(band, pt)) return Tavro::kRelationBoundary;
    int met = 0;
    if (!castRay(band, ray, dir, met)) return kUndecided;
    return parityRelation(met);
}

} // namespace

int rayCastRelation(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& ring,
                    const AcArray<double>& bulges) {
    const int banded = bandRelation(pt, ring, bulges);
    if (banded != kUndecided) return banded;
    AcDbPolyline curve(static_cast<unsigned int>(ring.length()));
    if (buildPolyline(&curve, ring, bulges) != Acad::eOk) return Tavro::kRelationError;
    if (nearBoundary(curve, pt)) return Tavro::kRelationBoundary;
    AcGeVector3d dir = firstRayDir();
    int count = 0;
    for (int cast = 0; cast < kRayCasts; ++cast) {
        if (castRay(curve, rayFrom(pt, dir), dir, count)) break;
        dir.rotateBy(kRayTurn, AcGeVector3d::kZAxis);
    }
    return parityRelation(count);
}

} // namespace TavroKernel
