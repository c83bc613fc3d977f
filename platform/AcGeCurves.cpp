#include "AcGeCurves.h"
#include "TavroTolerance.h"

#include "TavroKernel.h"

#include <algorithm>
#include <cmath>

namespace {
bool finitePoint(const AcGePoint2d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}
} // namespace

AcGeCircArc2d& AcGeCircArc2d::set(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                  const AcGePoint2d& p3, AcGe::ErrorCondition& err) {
    if (p1.isEqualTo(p2)) {
        err = AcGe::kEqualArg1Arg2;
        return *this;
    }
    if (p1.isEqualTo(p3)) {
        err = AcGe::kEqualArg1Arg3;
        return *this;
    }
    if (p2.isEqualTo(p3)) {
        err = AcGe::kEqualArg2Arg3;
        return *this;
    }
    // Circumcentre relative to p1, which keeps full precision at large plane coordinates.
    const AcGeVector2d a = p2 - p1;
    const AcGeVector2d b = p3 - p1;
    const double d = 2.0 * a.crossProduct(b);
    const double sine = std::fabs(d) / 2.0 / (a.length() * b.length());
    if (!finitePoint(p1) || !finitePoint(p2) || !finitePoint(p3) ||
        !(sine > Tavro::kParallelSine)) {
        err = AcGe::kLinearlyDependentArg1Arg2Arg3;
        return *this;
    }
    const double ux = (b.y * a.lengthSqrd() - a.y * b.lengthSqrd()) / d;
    const double uy = (a.x * b.lengthSqrd() - b.x * a.lengthSqrd()) / d;
    m_center = AcGePoint2d(p1.x + ux, p1.y + uy);
    m_radius = std::hypot(ux, uy);
    m_start = p1;
    m_end = p3;
    err = AcGe::kOk;
    return *this;
}

AcGeLineSeg2d& AcGeLineSeg2d::set(const AcGePoint2d& start, const AcGePoint2d& end) {
    m_start = start;
    m_end = end;
    return *this;
}

double AcGeLineSeg2d::paramOf(const AcGePoint2d& pt, const AcGeTol&) const {
    const AcGeVector2d d = m_end - m_start;
    const double len2 = d.lengthSqrd();
    if (!(len2 > 0.0)) return 0.0;
    return (pt - m_start).dotProduct(d) / len2;
}

AcGePoint2d AcGeLineSeg2d::closestPointTo(const AcGePoint2d& pt, const AcGeTol& tol) const {
    const double t = std::clamp(paramOf(pt, tol), 0.0, 1.0);
    if (std::isnan(t)) return m_start;
    return m_start + (m_end - m_start) * t;
}

bool AcGeLineSeg2d::intersectWith(const AcGeLineSeg2d& other, AcGePoint2d& pt,
                                  const AcGeTol& tol) const {
    const AcGeVector2d r = m_end - m_start;
    const AcGeVector2d s = other.m_end - other.m_start;
    const TavroKernel::LineCross cross = TavroKernel::lineCross(m_start, r, other.m_start, s);
    if (r.isParallelTo(s, tol) || !(std::fabs(cross.denom) > 0.0)) return false;
    const double t = cross.t;
    const double u = cross.u;
    // Accept a crossing just beyond an end by the point tolerance, measured along each segment.
    const double slackT = tol.equalPoint() / r.length();
    const double slackU = tol.equalPoint() / s.length();
    if (t < -slackT || t > 1.0 + slackT || u < -slackU || u > 1.0 + slackU) return false;
    pt = m_start + r * t;
    return true;
}

bool AcGeLineSeg2d::overlap(const AcGeLineSeg2d& other, AcGeLineSeg2d& common,
                            const AcGeTol& tol) const {
    const AcGeVector2d r = m_end - m_start;
    const double len = r.length();
    if (!(len > tol.equalPoint())) return false;
    // Both ends of the other segment must lie on this segment's line.
    const AcGeVector2d unit = r / len;
    const double off1 = unit.crossProduct(other.m_start - m_start);
    const double off2 = unit.crossProduct(other.m_end - m_start);
    if (!(std::fabs(off1) <= tol.equalPoint() && std::fabs(off2) <= tol.equalPoint())) return false;
    const double a = unit.dotProduct(other.m_start - m_start);
    const double b = unit.dotProduct(other.m_end - m_start);
    const double lo = std::max(0.0, std::min(a, b));
    const double hi = std::min(len, std::max(a, b));
    if (!(hi - lo > tol.equalPoint())) return false;
    common.set(m_start + unit * lo, m_start + unit * hi);
    return true;
}
