#include "CTavroGeoVector.h"

#include "TavroTolerance.h"

#include <cmath>

double CTavroGeoVector::crossMultiply(const AcGePoint2d& a, const AcGePoint2d& b) {
    return a.x * b.y - a.y * b.x;
}

double CTavroGeoVector::crossMultiply(const AcGeVector2d& a, const AcGeVector2d& b) {
    return a.x * b.y - a.y * b.x;
}

double CTavroGeoVector::crossMultiply(const AcGePoint2d& A, const AcGePoint2d& B,
                                      const AcGePoint2d& C) {
    return crossMultiply(B - A, B - C);
}

double CTavroGeoVector::dotMultiply(const AcGePoint2d& a, const AcGePoint2d& b) {
    return a.x * b.x + a.y * b.y;
}

double CTavroGeoVector::dotMultiply(const AcGePoint2d& a, const AcGeVector2d& b) {
    return a.x * b.x + a.y * b.y;
}

double CTavroGeoVector::dotMultiply(const AcGePoint2d& A, const AcGePoint2d& B,
                                    const AcGePoint2d& C) {
    return (B - A).dotProduct(B - C);
}

int CTavroGeoVector::directionVector(const AcGeVector2d& u, const AcGeVector2d& v) {
    const double cross = crossMultiply(u, v);
    if (std::fabs(cross) < Tavro::kTol) return 0;
    return cross > 0.0 ? 1 : -1;
}

int CTavroGeoVector::directionVector(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                     const AcGePoint2d& p3, const AcGePoint2d& p4) {
    return directionVector(p2 - p1, p4 - p3);
}
