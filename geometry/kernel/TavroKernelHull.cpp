// Convex hulls of point sets.

#include "TavroKernel.h"

#include <algorithm>

namespace TavroKernel {

double turn(const AcGePoint2d& o, const AcGePoint2d& a, const AcGePoint2d& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

std::vector<AcGePoint2d> convexHull(std::vector<AcGePoint2d> points) {
    std::sort(points.begin(), points.end(), [](const AcGePoint2d& a, const AcGePoint2d& b) {
        return a.x < b.x || (a.x == b.x && a.y < b.y);
    });
    std::vector<AcGePoint2d> hull(2 * points.size());
    size_t k = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && turn(hull[k - 2], hull[k - 1], points[i]) <= 0.0)
            --k;
        hull[k++] = points[i];
    }
    for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && turn(hull[k - 2], hull[k - 1], points[i]) <= 0.0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k > 1 ? k - 1 : k);
    return hull;
}

} // namespace TavroKernel
