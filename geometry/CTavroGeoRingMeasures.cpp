// Measures of a ring whose edges may be bulge arcs, taken on the true shape rather than on its
// vertices: the area centroid with the moments of the circular segments, the minimum-area
// rectangle with the arcs' extreme points, and a label point strictly inside.

#include "CTavroGeoArc.h"
#include "CTavroGeoPoint.h"
#include "TavroKernel.h"
#include "TavroTolerance.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using Tavro::kPi;
using Tavro::kTwoPi;

// The spacing of the tangent directions tried for an arc's side of the minimum rectangle, before
// the best one is refined.
const double kTangentStep = kPi / 360.0;
// How many of the best directions by the sampled hull are measured on the true shape.
const int kExactCandidates = 8;
// The most scan lines tried for a label point.
const int kMostScanLines = 256;

// One edge of a ring, moved so that the ring's first vertex is the origin (coordinates of a
// Gauss plane are large, and the measures subtract them from one another).
struct Edge {
    AcGePoint2d from, to;
    bool arc = false;
    AcGePoint2d center;
    double radius = 0.0;
    double start = 0.0; // direction from the centre to from
    double sweep = 0.0; // signed: positive counterclockwise
};

double normalized(double angle) {
    angle = std::fmod(angle, kTwoPi);
    return angle < 0.0 ? angle + kTwoPi : angle;
}

// Whether the direction angle lies on the arc's sweep.
bool onArc(const Edge& e, double angle) {
    const double delta = e.sweep > 0.0 ? normalized(angle - e.start) : normalized(e.start - angle);
    return delta <= std::fabs(e.sweep);
}

// The ring's edges about its first vertex; the closing edge included, a zero one left out. False
// for fewer than two vertices or a non-finite number.
bool ringEdges(const AcArray<AcGePoint2d>& nodes, const AcArray<double>& bulges,
               std::vector<Edge>& edges, AcGePoint2d& origin) {
    const int n = nodes.length();
    if (n < 2) return false;
    origin = nodes[0];
    for (int i = 0; i < n; ++i) {
        Edge e;
        e.from = AcGePoint2d(nodes[i].x - origin.x, nodes[i].y - origin.y);
        const AcGePoint2d& next = nodes[(i + 1) % n];
        e.to = AcGePoint2d(next.x - origin.x, next.y - origin.y);
        const double bulge = i < bulges.length() ? bulges[i] : 0.0;
        if (!std::isfinite(e.from.x) || !std::isfinite(e.from.y) || !std::isfinite(bulge))
            return false;
        if (e.from == e.to) continue;
        if (std::fabs(bulge) >= Tavro::kRingStraightBulge) {
            e.radius = CTavroGeoArc::geoArcRadius(e.from, e.to, bulge);
            e.center = CTavroGeoArc::geoArcCenter(e.from, e.to, bulge);
            e.arc = e.radius > 0.0 && std::isfinite(e.center.x) && std::isfinite(e.center.y);
            if (e.arc) {
                e.start = std::atan2(e.from.y - e.center.y, e.from.x - e.center.x);
                e.sweep = TavroKernel::arcSweep(bulge);
            }
        }
        edges.push_back(e);
    }
    return !edges.empty();
}

// The point of the arc halfway along it.
AcGePoint2d arcMiddle(const Edge& e) {
    const double a = e.start + 0.5 * e.sweep;
    return AcGePoint2d(e.center.x + e.radius * std::cos(a), e.center.y + e.radius * std::sin(a));
}

// The extents of the ring in the frame of the unit direction (c, s): the least and greatest
// projections on it (u) and on its left normal (v).
void frameExtents(const std::vector<Edge>& edges, double c, double s, double lo[2], double hi[2]) {
    lo[0] = lo[1] = std::numeric_limits<double>::infinity();
    hi[0] = hi[1] = -std::numeric_limits<double>::infinity();
    auto take = [&](const AcGePoint2d& p) {
        const double u = p.x * c + p.y * s, v = -p.x * s + p.y * c;
        lo[0] = std::min(lo[0], u);
        hi[0] = std::max(hi[0], u);
        lo[1] = std::min(lo[1], v);
        hi[1] = std::max(hi[1], v);
    };
    const double axis = std::atan2(s, c);
    for (const Edge& e : edges) {
        take(e.from);
        if (!e.arc) continue;
        for (int k = 0; k < 4; ++k) {
            const double a = axis + k * 0.5 * kPi;
            if (onArc(e, a))
                take(AcGePoint2d(e.center.x + e.radius * std::cos(a),
                                 e.center.y + e.radius * std::sin(a)));
        }
    }
}

double frameArea(const std::vector<Edge>& edges, double angle) {
    double lo[2], hi[2];
    frameExtents(edges, std::cos(angle), std::sin(angle), lo, hi);
    return (hi[0] - lo[0]) * (hi[1] - lo[1]);
}

// The area of the box round the hull points in the frame turned by angle.
double hullArea(const std::vector<AcGePoint2d>& hull, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    double lo[2] = {std::numeric_limits<double>::infinity(),
                    std::numeric_limits<double>::infinity()};
    double hi[2] = {-lo[0], -lo[1]};
    for (const AcGePoint2d& p : hull) {
        const double u = p.x * c + p.y * s, v = -p.x * s + p.y * c;
        lo[0] = std::min(lo[0], u);
        hi[0] = std::max(hi[0], u);
        lo[1] = std::min(lo[1], v);
        hi[1] = std::max(hi[1], v);
    }
    return (hi[0] - lo[0]) * (hi[1] - lo[1]);
}

// The distance from p to the edge.
double distanceTo(const Edge& e, const AcGePoint2d& p) {
    if (e.arc) {
        const double a = std::atan2(p.y - e.center.y, p.x - e.center.x);
        if (onArc(e, a)) return std::fabs(p.distanceTo(e.center) - e.radius);
        return std::min(p.distanceTo(e.from), p.distanceTo(e.to));
    }
    return CTavroGeoPoint::geoNearestDistance(p, e.from, e.to);
}

// The x where the edge crosses the horizontal line at y, appended to xs; y is never a vertex's
// nor an arc's top or bottom, so every crossing is a clean one.
void crossings(const Edge& e, double y, std::vector<double>& xs) {
    if (!e.arc) {
        if ((e.from.y > y) == (e.to.y > y)) return;
        xs.push_back(e.from.x + (y - e.from.y) * (e.to.x - e.from.x) / (e.to.y - e.from.y));
        return;
    }
    const double dy = y - e.center.y;
    if (std::fabs(dy) >= e.radius) return;
    const double dx = std::sqrt(e.radius * e.radius - dy * dy);
    for (double x : {e.center.x - dx, e.center.x + dx})
        if (onArc(e, std::atan2(dy, x - e.center.x))) xs.push_back(x);
}

} // namespace

bool CTavroGeoPoint::geoBaryCenterPoint(const AcArray<AcGePoint2d>& nodes,
                                        const AcArray<double>& bulges, AcGePoint2d& centroid) {
    std::vector<Edge> edges;
    AcGePoint2d origin;
    if (!ringEdges(nodes, bulges, edges, origin)) return false;
    // Signed area (counterclockwise positive) and its first moments: the triangle fan from the
    // origin, plus each arc's circular segment, whose centroid lies on the line from the centre
    // through the arc's middle, 4 R sin^3(t/2) / (3 (t - sin t)) from the centre.
    double area = 0.0, mx = 0.0, my = 0.0;
    for (const Edge& e : edges) {
        const double cross = e.from.x * e.to.y - e.to.x * e.from.y;
        area += 0.5 * cross;
        mx += cross * (e.from.x + e.to.x) / 6.0;
        my += cross * (e.from.y + e.to.y) / 6.0;
        if (!e.arc) continue;
        const double t = std::fabs(e.sweep);
        const double segment = 0.5 * e.radius * e.radius * (t - std::sin(t));
        if (!(segment > 0.0)) continue;
        const double half = std::sin(0.5 * t);
        const double reach = 4.0 * e.radius * half * half * half / (3.0 * (t - std::sin(t)));
        const AcGePoint2d middle = arcMiddle(e);
        const double gx = e.center.x + (middle.x - e.center.x) * reach / e.radius;
        const double gy = e.center.y + (middle.y - e.center.y) * reach / e.radius;
        // A counterclockwise arc bulges to the right of its chord: outward for a counterclockwise
        // ring, so its segment adds to the counterclockwise-positive area.
        const double signedSegment = e.sweep > 0.0 ? segment : -segment;
        area += signedSegment;
        mx += signedSegment * gx;
        my += signedSegment * gy;
    }
    if (!std::isfinite(area) || !std::isfinite(mx) || !std::isfinite(my)) return false;
    if (std::fabs(area) <= Tavro::kTol * Tavro::kTol) return false;
    centroid = AcGePoint2d(origin.x + mx / area, origin.y + my / area);
    return std::isfinite(centroid.x) && std::isfinite(centroid.y);
}

AcArray<AcGePoint2d> CTavroGeoPoint::geoMinAreaRect(const AcArray<AcGePoint2d>& nodes,
                                                    const AcArray<double>& bulges) {
    if (!geoHaveBulge(bulges)) return geoMinAreaRect(nodes);
    std::vector<Edge> edges;
    AcGePoint2d origin;
    if (!ringEdges(nodes, bulges, edges, origin)) return AcArray<AcGePoint2d>();
    // The least rectangle of a shape is that of its convex hull, and one of its sides lies on a
    // hull edge or touches a hull arc. The hull of the vertices and of points along each arc at
    // the tangent spacing gives the candidate directions (a hull turns through 360 degrees, so
    // there are few); the best of them by the sampled hull, and the first edge's direction (so
    // that ties keep to the drawing, as a circle's square does), are measured on the true shape
    // and the best is refined by golden-section search between its neighbours.
    std::vector<AcGePoint2d> samples;
    for (const Edge& e : edges) {
        samples.push_back(e.from);
        if (!e.arc) continue;
        const int steps = int(std::ceil(std::fabs(e.sweep) / kTangentStep));
        for (int k = 1; k < steps; ++k) {
            const double a = e.start + e.sweep * k / steps;
            samples.push_back(AcGePoint2d(e.center.x + e.radius * std::cos(a),
                                          e.center.y + e.radius * std::sin(a)));
        }
    }
    const std::vector<AcGePoint2d> hull = TavroKernel::convexHull(samples);
    std::vector<std::pair<double, double>> byHull; // sampled area, direction
    for (size_t i = 0; i < hull.size(); ++i) {
        const AcGePoint2d& p = hull[i];
        const AcGePoint2d& q = hull[(i + 1) % hull.size()];
        const double a = std::fmod(normalized(std::atan2(q.y - p.y, q.x - p.x)), 0.5 * kPi);
        byHull.push_back({hullArea(hull, a), a});
    }
    const size_t kept = std::min(byHull.size(), size_t(kExactCandidates));
    std::partial_sort(byHull.begin(), byHull.begin() + kept, byHull.end());
    std::vector<double> angles{std::fmod(
        normalized(std::atan2(edges[0].to.y - edges[0].from.y, edges[0].to.x - edges[0].from.x)),
        0.5 * kPi)};
    for (size_t i = 0; i < kept; ++i)
        angles.push_back(byHull[i].second);
    double best = 0.0, bestArea = std::numeric_limits<double>::infinity();
    for (double a : angles) {
        const double area = frameArea(edges, a);
        if (area < bestArea * (1.0 - Tavro::kRectAreaTie)) {
            bestArea = area;
            best = a;
        }
    }
    const double ratio = 0.5 * (std::sqrt(5.0) - 1.0);
    double lo = best - kTangentStep, hi = best + kTangentStep;
    for (int k = 0; k < 60; ++k) {
        const double a = hi - ratio * (hi - lo), b = lo + ratio * (hi - lo);
        if (frameArea(edges, a) < frameArea(edges, b))
            hi = b;
        else
            lo = a;
    }
    const double refined = 0.5 * (lo + hi);
    if (frameArea(edges, refined) < bestArea * (1.0 - Tavro::kRectAreaTie)) best = refined;
    best = std::fmod(normalized(best), 0.5 * kPi);
    const double c = std::cos(best), s = std::sin(best);
    double l[2], h[2];
    frameExtents(edges, c, s, l, h);
    auto corner = [&](double u, double v) {
        return AcGePoint2d(origin.x + u * c - v * s, origin.y + u * s + v * c);
    };
    AcArray<AcGePoint2d> rect;
    rect.append(corner(l[0], l[1]));
    rect.append(corner(l[0], h[1]));
    rect.append(corner(h[0], h[1]));
    rect.append(corner(h[0], l[1]));
    return rect;
}

bool CTavroGeoPoint::geoLabelPoint(const AcArray<AcGePoint2d>& nodes, const AcArray<double>& bulges,
                                   AcGePoint2d& label) {
    std::vector<Edge> edges;
    AcGePoint2d origin;
    if (!ringEdges(nodes, bulges, edges, origin)) return false;
    // Scan lines run halfway between the heights where the boundary turns (vertices, arc tops and
    // bottoms); on each, every stretch between a crossing and the next that lies inside offers
    // its middle, and the offer farthest from the boundary wins.
    std::vector<double> heights;
    for (const Edge& e : edges) {
        heights.push_back(e.from.y);
        if (!e.arc) continue;
        for (double a : {0.5 * kPi, -0.5 * kPi})
            if (onArc(e, a)) heights.push_back(e.center.y + e.radius * std::sin(a));
    }
    std::sort(heights.begin(), heights.end());
    std::vector<std::pair<double, double>> gaps; // width, middle
    for (size_t i = 1; i < heights.size(); ++i)
        if (heights[i] > heights[i - 1])
            gaps.push_back({heights[i] - heights[i - 1], 0.5 * (heights[i] + heights[i - 1])});
    if (gaps.size() > size_t(kMostScanLines)) {
        std::nth_element(gaps.begin(), gaps.begin() + kMostScanLines, gaps.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        gaps.resize(size_t(kMostScanLines));
    }
    double bestDistance = 0.0;
    std::vector<double> xs;
    for (const auto& gap : gaps) {
        xs.clear();
        for (const Edge& e : edges)
            crossings(e, gap.second, xs);
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            const AcGePoint2d p(0.5 * (xs[i] + xs[i + 1]), gap.second);
            double distance = std::numeric_limits<double>::infinity();
            for (const Edge& e : edges)
                distance = std::min(distance, distanceTo(e, p));
            if (distance > bestDistance && std::isfinite(distance)) {
                bestDistance = distance;
                label = AcGePoint2d(origin.x + p.x, origin.y + p.y);
            }
        }
    }
    return bestDistance > 0.0;
}
