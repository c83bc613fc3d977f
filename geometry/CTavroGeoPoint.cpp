#include "CTavroGeoPoint.h"

#include "CTavroGeoArc.h"
#include "CTavroGeoGlobal.h"
#include "CTavroGeoVector.h"
#include "TavroTolerance.h"
#include "acut.h"

#include <algorithm>
#include <cmath>
#include <limits>

using Tavro::kHalfPi;
using Tavro::kPi;
using Tavro::kTol;
using Tavro::kTwoPi;

namespace {
AcGePoint2d notAPoint() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return AcGePoint2d(nan, nan);
}

// 0, 1 or 2 for the left, middle or right column of a box (or bottom, middle, top row).
double gridCoordinate(double low, double high, int slot) {
    if (slot == 0) return low;
    if (slot == 1) return low + (high - low) / 2.0;
    return high;
}

// Turns pt about base by the angle whose cosine and sine are given.
void rotateAbout(AcGePoint2d& pt, const AcGePoint2d& base, double c, double s) {
    const double dx = pt.x - base.x;
    const double dy = pt.y - base.y;
    pt.x = c * dx - s * dy + base.x;
    pt.y = s * dx + c * dy + base.y;
}
} // namespace

double CTavroGeoPoint::geoRadian(const AcGePoint2d& from, const AcGePoint2d& to) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const bool flatX = std::fabs(dx) < kTol;
    const bool flatY = std::fabs(dy) < kTol;
    if (flatX && flatY) return 0.0;
    if (flatX) return dy > 0.0 ? kHalfPi : 3.0 * kHalfPi;
    if (flatY) return dx > 0.0 ? 0.0 : kPi;
    const double t = std::atan(dy / dx);
    double angle = kPi + t;
    if (dx > 0.0) angle = dy > 0.0 ? t : kTwoPi + t;
    // A tiny negative slope rounds 2pi + t up to 2pi; keep the range half-open.
    return angle >= kTwoPi ? 0.0 : angle;
}

double CTavroGeoPoint::geoRadian(const AcGePoint2d& p0, const AcGePoint2d& vertex,
                                 const AcGePoint2d& p2, bool reflex) {
    const double d = CTavroGeoVector::dotMultiply(p0, vertex, p2);
    double angle = kHalfPi;
    // Written as "not within" so that a NaN product stays NaN instead of posing as a right angle.
    if (!(std::fabs(d) <= kTol)) {
        const double cosine = d / p0.distanceTo(vertex) / p2.distanceTo(vertex);
        // Rounding can carry the cosine of (anti)parallel rays just past 1.
        angle = std::acos(std::clamp(cosine, -1.0, 1.0));
    }
    return reflex ? kTwoPi - angle : angle;
}

AcArray<double> CTavroGeoPoint::geoRadian(const AcArray<AcGePoint2d>& nodes, bool inner) {
    AcArray<AcGePoint2d> ring = nodes;
    if (geoArea(nodes) > 0.0) ring.reverse();
    if (!ring.isEmpty() && ring.last() == ring.first()) ring.removeLast();
    const int n = ring.length();
    AcArray<double> angles(n);
    for (int i = 0; i < n; ++i) {
        const AcGePoint2d& prev = ring[(i + n - 1) % n];
        const AcGePoint2d& next = ring[(i + 1) % n];
        const double a = geoRadian(prev, ring[i], next, false);
        angles.append(inner ? a : kTwoPi - a);
    }
    return angles;
}

AcGePoint2d CTavroGeoPoint::geoPolar(const AcGePoint2d& base, double angle, double distance) {
    AcGePoint3d out;
    acutPolar(AcGePoint3d(base.x, base.y, 0.0), angle, distance, out);
    return AcGePoint2d(out.x, out.y);
}

AcGePoint3d CTavroGeoPoint::geoPolar(const AcGePoint3d& base, double angle, double distance) {
    AcGePoint3d out;
    acutPolar(base, angle, distance, out);
    return out;
}

void CTavroGeoPoint::geoRotate(AcGePoint2d& pt, const AcGePoint2d& base, double angle) {
    rotateAbout(pt, base, std::cos(angle), std::sin(angle));
}

void CTavroGeoPoint::geoRotate(AcArray<AcGePoint2d>& nodes, const AcGePoint2d& base, double angle) {
    // One cosine and sine for the whole array; each point turns exactly as it would alone.
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    for (AcGePoint2d& pt : nodes)
        rotateAbout(pt, base, c, s);
}

void CTavroGeoPoint::scale(AcGePoint2d& pt, const AcGePoint2d& base, double factor) {
    // Scaling the offset itself keeps the direction exactly; a rebuild through the snapped
    // direction angle would move points that lie within 1e-6 of an axis through base.
    pt = base + (pt - base) * factor;
}

AcGePoint2d CTavroGeoPoint::getMiddlePoint(const AcGePoint2d& a, const AcGePoint2d& b) {
    return AcGePoint2d((a.x + b.x) / 2.0, (a.y + b.y) / 2.0);
}

void CTavroGeoPoint::GetNodesMiddlePoint(const AcArray<AcGePoint2d>& nodes, AcGePoint2d& out) {
    out = AcGePoint2d::kOrigin;
    for (const AcGePoint2d& pt : nodes) {
        out.x += pt.x;
        out.y += pt.y;
    }
    const double count = nodes.length();
    out.x /= count;
    out.y /= count;
}

AcGePoint2d CTavroGeoPoint::geoBaryCenterPoint(const AcArray<AcGePoint2d>& nodes) {
    const int n = nodes.length();
    if (n == 0) return notAPoint();
    // Sums are taken relative to the first node so that plane coordinates of 1e7 keep their
    // precision; each edge adds its triangle with that node (twice its signed area) and the
    // triangle's first moments.
    const AcGePoint2d origin = nodes[0];
    double twiceArea = 0.0;
    double momentX = 0.0;
    double momentY = 0.0;
    for (int i = 0; i < n; ++i) {
        const AcGeVector2d a = nodes[i] - origin;
        const AcGeVector2d b = nodes[(i + 1) % n] - origin;
        const double cross = a.crossProduct(b);
        twiceArea += cross;
        momentX += (a.x + b.x) * cross;
        momentY += (a.y + b.y) * cross;
    }
    if (!(std::fabs(twiceArea) / 2.0 >= Tavro::kArcTol)) return notAPoint();
    return AcGePoint2d(origin.x + momentX / (3.0 * twiceArea),
                       origin.y + momentY / (3.0 * twiceArea));
}

bool CTavroGeoPoint::geoPointCollinear(const AcGePoint2d& a, const AcGePoint2d& b,
                                       const AcGePoint2d& c) {
    return std::fabs(geoArea(a, b, c)) < kTol;
}

bool CTavroGeoPoint::geoIsDeasil(const AcArray<AcGePoint2d>& nodes) {
    const int n = nodes.length();
    if (n < 3) return false;
    // The x differences around the ring sum to zero, so measuring y from the first node changes
    // nothing but the rounding at large plane coordinates.
    const double y0 = nodes[0].y;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        const AcGePoint2d& prev = nodes[(i + n - 1) % n];
        const AcGePoint2d& next = nodes[(i + 1) % n];
        sum += (nodes[i].y - y0) * (prev.x - next.x);
    }
    return sum < 0.0;
}

bool CTavroGeoPoint::geoIsDeasil(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c) {
    return geoArea(a, b, c) > 0.0;
}

double CTavroGeoPoint::geoArea(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c) {
    return CTavroGeoVector::crossMultiply(a, b, c) / 2.0;
}

double CTavroGeoPoint::geoArea(const AcArray<AcGePoint2d>& nodes) {
    double area = 0.0;
    for (int i = 2; i < nodes.length(); ++i)
        area += std::fabs(geoArea(nodes[0], nodes[i - 1], nodes[i]));
    return area;
}

double CTavroGeoPoint::geoArea(const AcArray<AcGePoint2d>& nodes, const AcArray<double>& bulges) {
    // Arcs split at their extreme points, so every piece is at most a half circle.
    AcArray<AcGePoint2d> pts;
    AcArray<double> pieceBulges;
    CTavroGeoGlobal::AnalyzeBulgePolyline(nodes, bulges, true, false, true, pts, pieceBulges);
    if (pts.isEmpty()) return 0.0;
    if (CTavroGeoGlobal::square2dDist(pts.first(), pts.last()) > Tavro::kSquaredTol) {
        pts.append(pts.first());
        pieceBulges.append(0.0);
    }
    // Trapezoids measured from the first node keep their precision at Gauss-plane coordinates;
    // the ring is closed, so the shift does not change the sum.
    const double x0 = pts.first().x;
    double area = 0.0;
    for (int i = 0; i + 1 < pts.length(); ++i) {
        const AcGePoint2d& a = pts[i];
        const AcGePoint2d& b = pts[i + 1];
        const double bulge = i < pieceBulges.length() ? pieceBulges[i] : 0.0;
        const double cap = CTavroGeoGlobal::Get2BulgeLineArea(a, b, bulge);
        area += (a.x - x0 + b.x - x0) / 2.0 * (a.y - b.y) - (bulge < 0.0 ? -cap : cap);
    }
    return area;
}

double CTavroGeoPoint::geoLength(const AcArray<AcGePoint2d>& nodes) {
    double length = 0.0;
    for (int i = 1; i < nodes.length(); ++i)
        length += nodes[i - 1].distanceTo(nodes[i]);
    return length;
}

double CTavroGeoPoint::geoLength(const AcArray<AcGePoint2d>& nodes, const AcArray<double>& bulges) {
    double length = 0.0;
    for (int i = 1; i < nodes.length(); ++i) {
        const double bulge = i - 1 < bulges.length() ? bulges[i - 1] : 0.0;
        // The arc length is the chord itself for a bulge below 1e-6.
        length += CTavroGeoArc::geoArcLength(nodes[i - 1], nodes[i], bulge);
    }
    return length;
}

bool CTavroGeoPoint::geoHaveBulge(const AcArray<double>& bulges) {
    return std::any_of(bulges.begin(), bulges.end(), [](double b) { return std::fabs(b) > kTol; });
}

bool CTavroGeoPoint::geoIsValidNodeBulges(const Tavro::NodeBulge& nb) {
    if (nb.nodes.isEmpty()) return false;
    return nb.bulges.isEmpty() || nb.bulges.length() == nb.nodes.length();
}

double CTavroGeoPoint::geoCalculateBulge(const AcGePoint2d& p0, const AcGePoint2d& p1,
                                         const AcGePoint2d& p2, double radius, bool minor) {
    double turn = acutAngle(p1, p2) - acutAngle(p0, p1);
    if (turn < 0.0) turn += kTwoPi;
    const double h = p1.distanceTo(p2) / 2.0;
    if (h >= radius) return minor ? -1.0 : 1.0;
    const double rise = std::sqrt(radius * radius - h * h);
    // A straight turn-back (exactly pi) keeps the minor sagitta.
    const double sagitta = (!minor && turn != kPi) ? radius + rise : radius - rise;
    return minor ? sagitta / h : -sagitta / h;
}

AcGePoint2d CTavroGeoPoint::geoCalculatePoint(const AcGePoint2d& a, const AcGePoint2d& b,
                                              Tavro::PointLocal where) {
    const int slot = static_cast<int>(where);
    if (slot < 0 || slot > 8) return AcGePoint2d::kOrigin;
    const double x = gridCoordinate(std::min(a.x, b.x), std::max(a.x, b.x), slot % 3);
    const double y = gridCoordinate(std::min(a.y, b.y), std::max(a.y, b.y), 2 - slot / 3);
    return AcGePoint2d(x, y);
}

AcGePoint2d CTavroGeoPoint::geoCalculatePoint(const AcArray<AcGePoint2d>& nodes,
                                              Tavro::PointLocal where) {
    if (nodes.isEmpty()) return AcGePoint2d::kOrigin;
    if (nodes.length() == 1) return nodes.first();
    if (nodes.length() == 2) return geoCalculatePoint(nodes.first(), nodes.last(), where);
    // Corners in the rectangle's own frame: lower left, upper left, upper right, lower right.
    const AcArray<AcGePoint2d> r = geoMinAreaRect(nodes);
    if (r.length() != 4) return AcGePoint2d::kOrigin;
    switch (static_cast<int>(where)) {
    case Tavro::kLeftTop:
        return r[1];
    case Tavro::kTopMiddle:
        return geoCalculatePoint(r[1], r[2], where);
    case Tavro::kRightTop:
        return r[2];
    case Tavro::kLeftMiddle:
        return geoCalculatePoint(r[0], r[1], where);
    case Tavro::kCenter:
        return geoCalculatePoint(r[0], r[2], where);
    case Tavro::kRightMiddle:
        return geoCalculatePoint(r[2], r[3], where);
    case Tavro::kLeftBottom:
        return r[0];
    case Tavro::kBottomMiddle:
        return geoCalculatePoint(r[0], r[3], where);
    case Tavro::kRightBottom:
        return r[3];
    default:
        return AcGePoint2d::kOrigin;
    }
}

bool CTavroGeoPoint::GetPointAtParam(AcGePoint2d start, AcGePoint2d end, double bulge, double param,
                                     AcGePoint2d& out) {
    // Written as "not inside" so that a NaN parameter is refused too.
    if (!(param >= Tavro::kParamLow && param <= Tavro::kParamHigh)) return false;
    if (std::fabs(bulge) < Tavro::kArcTol) {
        out = start + (end - start) * param;
        return true;
    }
    // The radius is the centre's distance to the start: the arc radius counts bulges below 1e-6
    // as straight (radius 0), which would put every point of such a flat arc on its far centre.
    const AcGePoint2d center = CTavroGeoArc::geoArcCenter(start, end, bulge);
    const double radius = start.distanceTo(center);
    const double a0 = geoRadian(center, start);
    const double a1 = geoRadian(center, end);
    double sweep = bulge < 0.0 ? a0 - a1 : a1 - a0;
    if (sweep < 0.0) sweep += kTwoPi;
    const double angle = bulge < 0.0 ? a0 - sweep * param : a0 + sweep * param;
    out = geoPolar(center, angle, radius);
    return true;
}

double CTavroGeoPoint::geoNearestDistance(const AcGePoint2d& p, const AcGePoint2d& a,
                                          const AcGePoint2d& b) {
    // A segment shorter than 1e-6 is its start point; the line distance would answer 0.
    if (a.distanceTo(b) < kTol) return p.distanceTo(a);
    if (geoRadian(p, a, b, false) > kHalfPi) return p.distanceTo(a);
    if (geoRadian(p, b, a, false) > kHalfPi) return p.distanceTo(b);
    return geoVerticalDistance(p, a, b, false);
}

double CTavroGeoPoint::geoVerticalDistance(const AcGePoint2d& p, const AcGePoint2d& a,
                                           const AcGePoint2d& b, bool toStart) {
    if (toStart) return p.distanceTo(a);
    const double chord = a.distanceTo(b);
    if (chord < kTol) return 0.0;
    return 2.0 * std::fabs(geoArea(p, a, b)) / chord;
}

bool CTavroGeoPoint::modifyLbRtPoint(AcGePoint2d& lb, AcGePoint2d& rt) {
    const AcGePoint2d low(std::min(lb.x, rt.x), std::min(lb.y, rt.y));
    const AcGePoint2d high(std::max(lb.x, rt.x), std::max(lb.y, rt.y));
    lb = low;
    rt = high;
    return true;
}

Tavro::TavroPointAround CTavroGeoPoint::geoNodedArround(const AcGePoint2d& a,
                                                        const AcGePoint2d& b) {
    AcGePoint2d lb = a;
    AcGePoint2d rt = b;
    modifyLbRtPoint(lb, rt);
    Tavro::TavroPointAround frame;
    frame.leftTop = AcGePoint2d(lb.x, rt.y);
    frame.rightBottom = AcGePoint2d(rt.x, lb.y);
    frame.topMiddle = getMiddlePoint(frame.leftTop, rt);
    frame.bottomMiddle = getMiddlePoint(lb, frame.rightBottom);
    frame.leftMiddle = getMiddlePoint(lb, frame.leftTop);
    frame.rightMiddle = getMiddlePoint(frame.rightBottom, rt);
    frame.center = getMiddlePoint(lb, rt);
    return frame;
}

AcGePoint2d CTavroGeoPoint::geoCalculateExpandedMidpoint(const AcGePoint2d& a, const AcGePoint2d& b,
                                                         double width) {
    const AcGeVector2d d = b - a;
    const double length = d.length();
    const AcGeVector2d right(d.y / length, -d.x / length);
    return getMiddlePoint(a, b) + right * (width / 2.0);
}
