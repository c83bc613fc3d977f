#include "CTavroGeoArc.h"

#include "TavroKernel.h"

#include "AcGeCurves.h"
#include "CTavroGeoPoint.h"
#include "TavroTolerance.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

using Tavro::kPi;
using Tavro::kTol;
using Tavro::kTwoPi;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// The bulge of the counterclockwise (or clockwise) arc whose k = (1/b - b)/2 is given, written
// so that neither root cancels when |k| is large.
double bulgeFromK(double k, bool clockwise) {
    const double root = std::hypot(k, 1.0);
    if (!clockwise) return k >= 0.0 ? 1.0 / (root + k) : root - k;
    return k <= 0.0 ? -1.0 / (root - k) : -(root + k);
}

// The arc lengths from start to end, start to pt and pt to end, all in the arc's direction.
struct ArcSplit {
    double whole;
    double toPoint;
    double fromPoint;
};

ArcSplit splitArcAt(const AcGePoint2d& pt, const AcGePoint2d& start, const AcGePoint2d& end,
                    double bulge) {
    const AcGePoint2d center = CTavroGeoArc::geoArcCenter(start, end, bulge);
    const bool clockwise = bulge < 0.0;
    return {CTavroGeoArc::geoArcLength(center, start, end, clockwise),
            CTavroGeoArc::geoArcLength(center, start, pt, clockwise),
            CTavroGeoArc::geoArcLength(center, pt, end, clockwise)};
}
} // namespace

CTavroGeoArc::CTavroGeoArc() = default;
CTavroGeoArc::CTavroGeoArc(const CTavroGeoArc&) = default;
CTavroGeoArc& CTavroGeoArc::operator=(const CTavroGeoArc&) = default;
CTavroGeoArc::~CTavroGeoArc() = default;

double CTavroGeoArc::geoArcRadian(double bulge) {
    return TavroKernel::arcSweep(std::fabs(bulge));
}

double CTavroGeoArc::geoArcRadius(const AcGePoint2d& start, const AcGePoint2d& end, double bulge) {
    if (std::fabs(bulge) < kTol) return 0.0;
    const double chord = start.distanceTo(end);
    if (chord < kTol) return 0.0;
    return (chord / 2.0) / std::sin(geoArcRadian(bulge) / 2.0);
}

AcGePoint2d CTavroGeoArc::geoArcCenter(const AcGePoint2d& start, const AcGePoint2d& end,
                                       double bulge) {
    return TavroKernel::arcCenter(start, end, bulge);
}

void CTavroGeoArc::GetArcCoreRadius(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                                    AcGePoint2d& center, double& radius) {
    radius = geoArcRadius(start, end, bulge);
    center = geoArcCenter(start, end, bulge);
}

double CTavroGeoArc::geoArcLength(const AcGePoint2d& start, const AcGePoint2d& end, double bulge) {
    if (std::fabs(bulge) < kTol) return start.distanceTo(end);
    return geoArcRadius(start, end, bulge) * geoArcRadian(bulge);
}

double CTavroGeoArc::geoArcArea(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                                bool sectorOnly) {
    const double radius = geoArcRadius(start, end, bulge);
    // A straight or vanishing segment encloses nothing; its far-off centre must not be used.
    if (radius == 0.0) return 0.0;
    const double sector = radius * radius * std::fabs(TavroKernel::arcSweep(bulge)) / 2.0;
    if (sectorOnly) return sector;
    const AcGePoint2d middle = CTavroGeoPoint::geoCalculatePoint(start, end, Tavro::kCenter);
    const double triangle =
        geoArcCenter(start, end, bulge).distanceTo(middle) * start.distanceTo(end) / 2.0;
    // Beyond a half circle the centre lies inside the segment, so its triangle belongs to it.
    return std::fabs(bulge) > 1.0 ? sector + triangle : sector - triangle;
}

AcGePoint2d CTavroGeoArc::geoArcEndPoint(const AcGePoint2d& center, const AcGePoint2d& start,
                                         double bulge) {
    const double angle = CTavroGeoPoint::geoRadian(center, start) + TavroKernel::arcSweep(bulge);
    return CTavroGeoPoint::geoPolar(center, angle, start.distanceTo(center));
}

AcGePoint2d CTavroGeoArc::geoArcPointAtParam(double t, const AcGePoint2d& start,
                                             const AcGePoint2d& end, double bulge) {
    const AcGePoint2d center = geoArcCenter(start, end, bulge);
    const double angle =
        CTavroGeoPoint::geoRadian(center, start) + TavroKernel::arcSweep(bulge) * t;
    return CTavroGeoPoint::geoPolar(center, angle, start.distanceTo(center));
}

bool CTavroGeoArc::GetPointAtParam(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                                   double param, AcGePoint2d& out) {
    return CTavroGeoPoint::GetPointAtParam(start, end, bulge, param, out);
}

bool CTavroGeoArc::geoArcPtInArc(const AcGePoint2d& pt, const AcGePoint2d& start,
                                 const AcGePoint2d& end, double bulge) {
    const ArcSplit split = splitArcAt(pt, start, end, bulge);
    return std::fabs(split.whole - split.toPoint - split.fromPoint) < Tavro::kOnArcLength;
}

double CTavroGeoArc::GetParamAtArc(AcGePoint2d pt, AcGePoint2d center, AcGePoint2d start,
                                   AcGePoint2d end, bool clockwise) {
    const double aPt = CTavroGeoPoint::geoRadian(center, pt);
    const double aStart = CTavroGeoPoint::geoRadian(center, start);
    const double aEnd = CTavroGeoPoint::geoRadian(center, end);
    double u = clockwise ? aStart - aPt : aPt - aStart;
    double w = clockwise ? aStart - aEnd : aEnd - aStart;
    if (u < 0.0) u += kTwoPi;
    if (w < 0.0) w += kTwoPi;
    // A point in the gap nearer the start than the end counts backwards from the start.
    if (u > w / 2.0 + kPi) u -= kTwoPi;
    return u / w;
}

AcArray<AcGePoint2d> CTavroGeoArc::geoArcBrokenLine(const AcGePoint2d& start,
                                                    const AcGePoint2d& end, double bulge,
                                                    int perDegree) {
    AcArray<AcGePoint2d> points;
    if (perDegree < 0) return points;
    points.append(start);
    const double theta = TavroKernel::arcSweep(bulge);
    const double steps = perDegree * std::fabs(theta) * 180.0 / kPi;
    if (!std::isfinite(steps)) return points;
    // The array's length is an int, so no request may count past it.
    const double count =
        std::min(std::trunc(steps + Tavro::kArcStepSlack), static_cast<double>(INT_MAX));
    if (count < 2.0) return points;
    const AcGePoint2d center = geoArcCenter(start, end, bulge);
    const double radius = start.distanceTo(center);
    const double a0 = CTavroGeoPoint::geoRadian(center, start);
    const double step = std::copysign(kPi / 180.0 / perDegree, theta);
    const int last = static_cast<int>(count);
    for (int i = 1; i < last; ++i)
        points.append(CTavroGeoPoint::geoPolar(center, a0 + i * step, radius));
    return points;
}

AcGePoint2d CTavroGeoArc::geoArcCenter(const AcGePoint2d& start, const AcGePoint2d& end,
                                       double radius, bool clockwise) {
    // The centre solves the bisector and the circle about start; working relative to start
    // keeps the squares small at plane coordinates of 1e7.
    const double x2 = end.x - start.x;
    const double y2 = end.y - start.y;
    const double a = (x2 * x2 + y2 * y2) / (2.0 * x2);
    const double m = y2 / x2;
    const double qa = m * m + 1.0;
    const double qb = -2.0 * a * m;
    const double qc = a * a - radius * radius;
    const double root = std::sqrt(qb * qb - 4.0 * qa * qc);
    double y = (-qb + root) / (2.0 * qa);
    AcGePoint2d center(start.x + a - m * y, start.y + y);
    if (CTavroGeoPoint::geoIsDeasil(start, end, center) != clockwise) {
        y = (-qb - root) / (2.0 * qa);
        center = AcGePoint2d(start.x + a - m * y, start.y + y);
    }
    return center;
}

double CTavroGeoArc::geoArcBulge(const AcGePoint2d& start, const AcGePoint2d& end, double radius,
                                 bool clockwise) {
    return geoArcBulge(start, geoArcCenter(start, end, radius, clockwise), end, clockwise);
}

double CTavroGeoArc::geoArcBulge(const AcGePoint2d& start, const AcGePoint2d& center,
                                 const AcGePoint2d& end, bool clockwise) {
    const double dx = end.x - start.x;
    const double dy = end.y - start.y;
    if (dx == 0.0 && dy == 0.0) return 0.0;
    // Two estimates of k = (1/b - b)/2 of the counterclockwise arc, one per chord component;
    // each divides by its component, so a short component gives a poor estimate.
    const double kx = ((start.x - center.x) + (end.x - center.x)) / dy;
    const double ky = ((center.y - start.y) + (center.y - end.y)) / dx;
    double k = std::fabs(dy) >= std::fabs(dx) ? kx : ky;
    if (std::fabs(dx) > Tavro::kWideChord && std::fabs(dy) > Tavro::kWideChord) k = (kx + ky) / 2.0;
    return bulgeFromK(k, clockwise);
}

double CTavroGeoArc::geoArcRadian(const AcGePoint2d& start, const AcGePoint2d& center,
                                  const AcGePoint2d& end, bool clockwise) {
    const double a0 = CTavroGeoPoint::geoRadian(center, start);
    const double a1 = CTavroGeoPoint::geoRadian(center, end);
    double sweep = clockwise ? a0 - a1 : a1 - a0;
    if (sweep < 0.0) sweep += kTwoPi;
    return sweep;
}

double CTavroGeoArc::geoArcLength(const AcGePoint2d& center, const AcGePoint2d& start,
                                  const AcGePoint2d& end, bool clockwise) {
    return std::fabs(geoArcLength(start, end, geoArcBulge(start, center, end, clockwise)));
}

double CTavroGeoArc::geoArcLength(const AcGePoint2d& center, const AcGePoint2d& start,
                                  const AcGePoint2d& end, double radius, bool clockwise) {
    return radius * geoArcRadian(start, center, end, clockwise);
}

double CTavroGeoArc::geoArcArea(const AcGePoint2d& start, const AcGePoint2d& center,
                                const AcGePoint2d& end, bool clockwise, bool sectorOnly) {
    return geoArcArea(start, end, geoArcBulge(start, center, end, clockwise), sectorOnly);
}

bool CTavroGeoArc::Circle3Pt(AcGePoint2d p1, AcGePoint2d p2, AcGePoint2d p3, AcGePoint2d& center,
                             double& radius) {
    AcGe::ErrorCondition err = AcGe::kOk;
    AcGeCircArc2d arc;
    arc.set(p1, p2, p3, err);
    if (err != AcGe::kOk) return false;
    center = arc.center();
    radius = arc.radius();
    return true;
}

namespace {
// The circle through three points; NaN centre and radius when there is none.
struct Circle {
    AcGePoint2d center{kNaN, kNaN};
    double radius = kNaN;
};

Circle circleThrough(const AcGePoint2d& p1, const AcGePoint2d& p2, const AcGePoint2d& p3) {
    Circle circle;
    CTavroGeoArc::Circle3Pt(p1, p2, p3, circle.center, circle.radius);
    return circle;
}
} // namespace

AcGePoint2d CTavroGeoArc::geoArcCenterAny3Point(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                                const AcGePoint2d& p3) {
    return circleThrough(p1, p2, p3).center;
}

double CTavroGeoArc::geoArcRadiusAny3Point(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                           const AcGePoint2d& p3) {
    return circleThrough(p1, p2, p3).radius;
}

double CTavroGeoArc::geoArcRadianAny3Point(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                           const AcGePoint2d& p3) {
    const AcGePoint2d center = geoArcCenterAny3Point(p1, p2, p3);
    const double minor = CTavroGeoPoint::geoRadian(p1, center, p3, false);
    // An acute angle at p2 means p2 sees the chord from the major side.
    const bool throughMajor = CTavroGeoPoint::geoRadian(p1, p2, p3, false) < Tavro::kHalfPi;
    return throughMajor ? kTwoPi - minor : minor;
}

double CTavroGeoArc::geoArcLengthAny3Point(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                           const AcGePoint2d& p3) {
    const AcGePoint2d center = geoArcCenterAny3Point(p1, p2, p3);
    return geoArcLength(center, p1, p3, CTavroGeoPoint::geoIsDeasil(p1, p2, p3));
}

double CTavroGeoArc::geoArcAreaAny3Point(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                         const AcGePoint2d& p3) {
    const AcGePoint2d center = geoArcCenterAny3Point(p1, p2, p3);
    return geoArcArea(p1, center, p3, CTavroGeoPoint::geoIsDeasil(p1, p2, p3), true);
}

double CTavroGeoArc::geoArcBulgeAny3Point(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                          const AcGePoint2d& p3) {
    AcGePoint2d center;
    double radius = 0.0;
    if (!Circle3Pt(p1, p2, p3, center, radius)) return 0.0;
    return geoArcBulge(p1, center, p3, CTavroGeoPoint::geoIsDeasil(p1, p2, p3));
}

AcArray<AcGePoint2d> CTavroGeoArc::geoArcBrokenLineAny3Point(const AcGePoint2d& p1,
                                                             const AcGePoint2d& p2,
                                                             const AcGePoint2d& p3, int perDegree) {
    return geoArcBrokenLine(p1, p3, geoArcBulgeAny3Point(p1, p2, p3), perDegree);
}

void CTavroGeoArc::scale(AcGePoint2d& pt, const AcGePoint2d& base, double factor) {
    CTavroGeoPoint::scale(pt, base, factor);
}
