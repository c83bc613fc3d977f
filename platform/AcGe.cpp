#include "AcGe.h"

#include <cmath>

AcGeTol AcGeContext::gTol;

const AcGePoint2d AcGePoint2d::kOrigin(0.0, 0.0);
const AcGeVector2d AcGeVector2d::kXAxis(1.0, 0.0);
const AcGeVector2d AcGeVector2d::kYAxis(0.0, 1.0);
const AcGePoint3d AcGePoint3d::kOrigin(0.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kXAxis(1.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kYAxis(0.0, 1.0, 0.0);
const AcGeVector3d AcGeVector3d::kZAxis(0.0, 0.0, 1.0);
const AcGePlane AcGePlane::kXYPlane;

namespace {
using Tavro::kTwoPi;
}

double AcGeVector2d::length() const {
    return std::hypot(x, y);
}

double AcGeVector2d::angle() const {
    double a = std::atan2(y, x);
    if (a < 0.0) a += kTwoPi;
    // atan2 of a tiny negative y rounds to exactly 2pi after the shift; keep the range half-open.
    return a >= kTwoPi ? 0.0 : a;
}

AcGeVector2d AcGeVector2d::normal(const AcGeTol& tol) const {
    AcGeVector2d v = *this;
    return v.normalize(tol);
}

AcGeVector2d& AcGeVector2d::normalize(const AcGeTol& tol) {
    const double len = length();
    if (len > tol.equalVector()) {
        x /= len;
        y /= len;
    }
    return *this;
}

bool AcGeVector2d::isZeroLength(const AcGeTol& tol) const {
    return length() <= tol.equalVector();
}

bool AcGeVector2d::isCodirectionalTo(const AcGeVector2d& v, const AcGeTol& tol) const {
    if (isZeroLength(tol) || v.isZeroLength(tol)) return false;
    const AcGeVector2d a = normal(tol);
    const AcGeVector2d b = v.normal(tol);
    return (a - b).length() <= tol.equalVector();
}

bool AcGeVector2d::isParallelTo(const AcGeVector2d& v, const AcGeTol& tol) const {
    if (isZeroLength(tol) || v.isZeroLength(tol)) return false;
    const AcGeVector2d a = normal(tol);
    const AcGeVector2d b = v.normal(tol);
    return std::fabs(a.crossProduct(b)) <= tol.equalVector();
}

bool AcGeVector2d::isEqualTo(const AcGeVector2d& v, const AcGeTol& tol) const {
    return (*this - v).length() <= tol.equalVector();
}

double AcGePoint2d::distanceTo(const AcGePoint2d& p) const {
    return std::hypot(x - p.x, y - p.y);
}

bool AcGePoint2d::isEqualTo(const AcGePoint2d& p, const AcGeTol& tol) const {
    return distanceTo(p) <= tol.equalPoint();
}

AcGePoint2d& AcGePoint2d::set(double px, double py) {
    x = px;
    y = py;
    return *this;
}

AcGePoint2d& AcGePoint2d::operator+=(const AcGeVector2d& v) {
    x += v.x;
    y += v.y;
    return *this;
}

AcGePoint2d& AcGePoint2d::operator-=(const AcGeVector2d& v) {
    x -= v.x;
    y -= v.y;
    return *this;
}

double AcGeVector3d::length() const {
    return std::sqrt(lengthSqrd());
}

AcGeVector3d AcGeVector3d::crossProduct(const AcGeVector3d& v) const {
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
}

AcGeVector3d AcGeVector3d::normal(const AcGeTol& tol) const {
    const double len = length();
    if (len <= tol.equalVector()) return *this;
    return {x / len, y / len, z / len};
}

AcGeVector3d AcGeVector3d::perpVector() const {
    // Cross with the axis least aligned to this vector; the z axis maps to the x axis.
    if (std::fabs(x) < 1.0 / 64 && std::fabs(y) < 1.0 / 64)
        return kYAxis.crossProduct(*this).normal();
    return kZAxis.crossProduct(*this).normal();
}

AcGeVector3d& AcGeVector3d::rotateBy(double angle, const AcGeVector3d& axis) {
    // Rodrigues' rotation formula about the unit axis.
    const AcGeVector3d k = axis.normal();
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const AcGeVector3d v = *this;
    *this = v * c + k.crossProduct(v) * s + k * (k.dotProduct(v) * (1.0 - c));
    return *this;
}

bool AcGeVector3d::isZeroLength(const AcGeTol& tol) const {
    return length() <= tol.equalVector();
}

bool AcGeVector3d::isParallelTo(const AcGeVector3d& v, const AcGeTol& tol) const {
    if (isZeroLength(tol) || v.isZeroLength(tol)) return false;
    return normal(tol).crossProduct(v.normal(tol)).length() <= tol.equalVector();
}

bool AcGeVector3d::isEqualTo(const AcGeVector3d& v, const AcGeTol& tol) const {
    return (*this - v).length() <= tol.equalVector();
}

double AcGePoint3d::distanceTo(const AcGePoint3d& p) const {
    return (*this - p).length();
}

bool AcGePoint3d::isEqualTo(const AcGePoint3d& p, const AcGeTol& tol) const {
    return distanceTo(p) <= tol.equalPoint();
}
