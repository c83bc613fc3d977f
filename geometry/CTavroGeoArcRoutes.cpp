// The two arc questions that hand their straight part to the line layer: the parameter of a point
// (a negligible bulge is a segment) and the extents (the arc's ends and quadrant points are
// boxed as a straight vertex list).

#include "CTavroGeoArc.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "TavroTolerance.h"

#include <cmath>

double CTavroGeoArc::geoPointAtParam(const AcGePoint2d& pt, const AcGePoint2d& start,
                                     const AcGePoint2d& end, double bulge, double tol) {
    // A zero chord carries no arc to measure along; the segment form answers it as a point.
    if (std::fabs(bulge) < Tavro::kTol || start.distanceTo(end) < Tavro::kTol)
        return CTavroGeoLine::geoPointAtParam(pt, start, end, 0.0, tol);
    const AcGePoint2d center = geoArcCenter(start, end, bulge);
    // The length sum below cannot tell how far pt is from the circle (every point of a half
    // circle's diameter passes it), so pt must first lie on the circle within tol.
    if (!(std::fabs(pt.distanceTo(center) - start.distanceTo(center)) < tol)) return -1.0;
    const bool clockwise = bulge < 0.0;
    const double whole = geoArcLength(center, start, end, clockwise);
    const double toPoint = geoArcLength(center, start, pt, clockwise);
    const double fromPoint = geoArcLength(center, pt, end, clockwise);
    return std::fabs(whole - toPoint - fromPoint) < tol ? toPoint / whole : -1.0;
}

AcDbExtents CTavroGeoArc::geoArcExtends(const AcGePoint2d& start, const AcGePoint2d& end,
                                        double bulge) {
    AcArray<AcGePoint2d> pts{start, end};
    if (std::fabs(bulge) > Tavro::kTol) {
        // The arc reaches beyond its ends only where it passes a quadrant point of its circle.
        const AcGePoint2d center = geoArcCenter(start, end, bulge);
        const double radius = start.distanceTo(center);
        const bool clockwise = bulge < 0.0;
        for (int quadrant = 0; quadrant < 4; ++quadrant) {
            const AcGePoint2d q =
                CTavroGeoPoint::geoPolar(center, quadrant * Tavro::kHalfPi, radius);
            // The length test takes each length's radius from the sine of half its sweep,
            // which for a nearly full circle is close to pi and carries a relative error
            // growing with the bulge (0.2 of 2.2e8 at a bulge of 1e7 on a chord of 14): a
            // quadrant point inside the arc's angular span therefore counts as well.
            const double t = GetParamAtArc(q, center, start, end, clockwise);
            if (geoArcPtInArc(q, start, end, bulge) || (t > 0.0 && t < 1.0)) pts.append(q);
        }
    }
    return CTavroGeoLine::geoLineExtends(pts, AcArray<double>());
}
