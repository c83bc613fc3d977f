// The crossing count of a row with bulge pieces, which the point-in-ring verdicts rest on.

#include "TavroKernel.h"

#include "TavroTolerance.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace TavroKernel {

namespace {
// A piece that rises or falls from p to q crosses the row y to the right of x (half-open in y).
bool straightCrosses(const AcGePoint2d& p, const AcGePoint2d& q, double x, double y) {
    const bool spans = (q.y <= y && y < p.y) || (p.y <= y && y < q.y);
    return spans && (p.x - q.x) * (y - q.y) / (p.y - q.y) + q.x > x;
}

// The same for a part of a circle (centre c) that rises or falls from p to q on the side of the
// vertical through c given by side (+1 east, -1 west). The crossing is found from p, so that
// flat arcs of huge radius keep their precision: with u = X - p.x,
// u^2 + 2 u (p.x - c.x) = (p.y - y)(p.y + y - 2 c.y).
bool arcPartCrosses(const AcGePoint2d& p, const AcGePoint2d& q, const AcGePoint2d& c, double side,
                    double x, double y) {
    const bool spans = (q.y <= y && y < p.y) || (p.y <= y && y < q.y);
    if (!spans) return false;
    const double dx = p.x - c.x;
    const double k = (p.y - y) * ((p.y - c.y) + (y - c.y));
    const double root = std::sqrt(std::max(0.0, dx * dx + k));
    const double u = dx * side > 0.0 ? k / (side * root + dx) : side * root - dx;
    return p.x + u > x;
}

// Crossings of the row with the arc from a to b (bulge, chord not zero), cut at the circle's
// highest and lowest points where they lie strictly within the sweep.
int arcCrossings(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, double x, double y) {
    const AcGePoint2d c = arcCenter(a, b, bulge);
    const double r = a.distanceTo(c);
    const double sweep = arcSweep(bulge);
    const double dx = a.x - c.x, dy = a.y - c.y;
    const double start = std::atan2(dy, dx);
    // Heights of the circle's top and bottom, taken from a so that a flat arc of huge radius
    // keeps its sagitta: r - dy = dx^2 / (r + dy) without the cancellation.
    const double top = a.y + (dy >= 0.0 ? dx * dx / (r + dy) : r - dy);
    const double bottom = a.y - (dy <= 0.0 ? dx * dx / (r - dy) : r + dy);
    // Fractions of the sweep at which the arc passes the top and the bottom of its circle.
    struct Cut {
        double at;
        AcGePoint2d pt;
    } cuts[4];
    int n = 0;
    cuts[n++] = {0.0, a};
    for (double extreme : {Tavro::kHalfPi, -Tavro::kHalfPi}) {
        const double at = sweepFraction(start, sweep, extreme);
        if (at > 0.0 && at < 1.0) cuts[n++] = {at, AcGePoint2d(c.x, extreme > 0 ? top : bottom)};
    }
    if (n == 3 && cuts[2].at < cuts[1].at) std::swap(cuts[1], cuts[2]);
    cuts[n++] = {1.0, b};
    int count = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const double middle = start + sweep * (cuts[i].at + cuts[i + 1].at) / 2.0;
        const double side = std::cos(middle) >= 0.0 ? 1.0 : -1.0;
        if (arcPartCrosses(cuts[i].pt, cuts[i + 1].pt, c, side, x, y)) ++count;
    }
    return count;
}
} // namespace

int rowCrossings(const AcGePoint2d& pt, const AcGePoint2d& a, const AcGePoint2d& b, double bulge) {
    const bool arc = bulge != 0.0 && std::isfinite(bulge) && a.distanceTo(b) > 0.0;
    return arc ? arcCrossings(a, b, bulge, pt.x, pt.y) : straightCrosses(a, b, pt.x, pt.y);
}

} // namespace TavroKernel
