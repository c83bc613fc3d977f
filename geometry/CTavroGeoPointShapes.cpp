// CTavroGeoPoint: clean-up of vertex arrays, the split filters, extents, the rectangles,
// offsets, edge and bisector directions, annotations and the NodeBulge conversions.

#include "CTavroGeoPoint.h"

#include "CTavroGeoVector.h"
#include "TavroKernel.h"
#include "TavroTolerance.h"
#include "acut.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

namespace {

bool isClosedRing(const AcArray<AcGePoint2d>& nodes) {
    return nodes.length() > 1 && nodes.first().distanceTo(nodes.last()) < Tavro::kTol;
}

// Drops every node closer than the equal-point tolerance to the node before it in the input
// (so of a run of near-equal nodes the first stays), in one pass.
template <typename Point> void removeCloseToPredecessor(AcArray<Point>& nodes) {
    if (nodes.length() < 2) return;
    AcArray<Point> kept;
    kept.append(nodes[0]);
    for (int i = 1; i < nodes.length(); ++i)
        if (!(nodes[i - 1].distanceTo(nodes[i]) < Tavro::kTol)) kept.append(nodes[i]);
    if (kept.length() != nodes.length()) nodes = kept;
}

constexpr int kFewNodes = 32;

// Each kept node removes every later node closer than tol, with its bulge where it has one.
void removePairwiseClose(AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges, double tol) {
    for (int i = 0; i + 1 < nodes.length(); ++i)
        for (int j = i + 1; j < nodes.length();) {
            if (nodes[j].distanceTo(nodes[i]) < tol) {
                nodes.removeAt(j);
                if (j < bulges.length()) bulges.removeAt(j);
            } else {
                ++j;
            }
        }
}

// Whether some two finite nodes may lie closer than tol: nodes sorted by x, each compared with
// those after it within tol in x. Gives up and answers yes after a few comparisons a node, so
// nodes stacked on one vertical line do not cost n squared here.
bool mayHaveNearPair(const AcArray<AcGePoint2d>& nodes, double tol) {
    std::vector<AcGePoint2d> sorted;
    sorted.reserve(nodes.length());
    for (const AcGePoint2d& p : nodes)
        if (std::isfinite(p.x) && std::isfinite(p.y)) sorted.push_back(p);
    std::sort(sorted.begin(), sorted.end(),
              [](const AcGePoint2d& a, const AcGePoint2d& b) { return a.x < b.x; });
    long budget = 4L * static_cast<long>(sorted.size());
    for (size_t i = 0; i < sorted.size(); ++i)
        for (size_t j = i + 1; j < sorted.size() && sorted[j].x - sorted[i].x < tol; ++j)
            if (--budget < 0 || sorted[i].distanceTo(sorted[j]) < tol) return true;
    return false;
}

// Marks the nodes that survive when each kept node removes every later node closer than tol:
// a node stays when no earlier kept node lies that close. Kept nodes are filed in square
// cells at least 2 tol wide, so a node need only look in its own and the eight cells around
// it; the cells are also widened with the largest coordinate, so that a coordinate divided by
// the width stays far inside the doubles' exact integers. Non-finite nodes are never within
// any distance and simply stay. tol must be positive.
std::vector<bool> keptAwayFromEarlier(const AcArray<AcGePoint2d>& nodes, double tol) {
    const int n = nodes.length();
    std::vector<bool> keep(n, true);
    double largest = 0.0;
    for (const AcGePoint2d& p : nodes)
        if (std::isfinite(p.x) && std::isfinite(p.y))
            largest = std::max({largest, std::fabs(p.x), std::fabs(p.y)});
    const double width = std::max(2.0 * tol, std::ldexp(largest, -40));
    std::map<std::pair<double, double>, std::vector<int>> cells;
    for (int i = 0; i < n; ++i) {
        const AcGePoint2d& p = nodes[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
        const double cx = std::floor(p.x / width), cy = std::floor(p.y / width);
        for (double dx = -1.0; dx <= 1.0 && keep[i]; dx += 1.0)
            for (double dy = -1.0; dy <= 1.0 && keep[i]; dy += 1.0) {
                const auto cell = cells.find({cx + dx, cy + dy});
                if (cell == cells.end()) continue;
                for (int k : cell->second)
                    if (p.distanceTo(nodes[k]) < tol) keep[i] = false;
            }
        if (keep[i]) cells[{cx, cy}].push_back(i);
    }
    return keep;
}

// The split filter without recursion: stretches are taken left to right, so the first node of
// every kept stretch comes out in order. Only the outermost stretch may measure its interior
// by the distance to its start (closed rings, whose two ends coincide).
void splitFilter(const AcArray<AcGePoint2d>& in, AcArray<AcGePoint2d>& out, int first, int last,
                 double tol, bool closedAtTop) {
    if (first < 0 || last >= in.length() || first > last) return;
    std::vector<std::pair<int, int>> stretches{{first, last}};
    bool top = true;
    while (!stretches.empty()) {
        const auto [lo, hi] = stretches.back();
        stretches.pop_back();
        const bool toStart = top && closedAtTop;
        top = false;
        int farthest = -1;
        double maxDistance = 0.0;
        for (int k = lo + 1; k < hi; ++k) {
            const double d = CTavroGeoPoint::geoVerticalDistance(in[k], in[lo], in[hi], toStart);
            if (d > maxDistance) {
                maxDistance = d;
                farthest = k;
            }
        }
        // Interior points all on the line: the first of these equal maxima splits.
        if (farthest < 0 && hi - lo > 1) farthest = lo + 1;
        // A stretch with no interior point keeps its first node whatever the tolerance.
        if (farthest < 0 || !(maxDistance >= tol)) {
            out.append(in[lo]);
            continue;
        }
        stretches.push_back({farthest, hi});
        stretches.push_back({lo, farthest});
    }
}

AcArray<AcGePoint2d> boxOf(const AcGePoint2d& min, const AcGePoint2d& max) {
    return {min, AcGePoint2d(min.x, max.y), max, AcGePoint2d(max.x, min.y)};
}

using TavroKernel::turn;

double distanceToSegment(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// The nodes that can be extreme in some direction after rounding: those within a narrow band
// of the convex hull's boundary, in their ring order. Deeper nodes are never extreme, whatever
// the rounding, so the rotated extents of this subset equal those of all nodes bit for bit.
// Non-finite or degenerate input (a hull without interior) keeps every node.
AcArray<AcGePoint2d> nearHullNodes(const AcArray<AcGePoint2d>& nodes) {
    double largest = 0.0;
    for (const AcGePoint2d& p : nodes) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return nodes;
        largest = std::max({largest, std::fabs(p.x), std::fabs(p.y)});
    }
    if (largest > Tavro::kHugeCoordinate) return nodes;
    const std::vector<AcGePoint2d> hull =
        TavroKernel::convexHull(std::vector<AcGePoint2d>(nodes.begin(), nodes.end()));
    const size_t h = hull.size();
    if (h < 3) return nodes;
    const double band = Tavro::kHullBand * (largest + 1.0);
    AcGePoint2d o(0.0, 0.0);
    for (const AcGePoint2d& v : hull) {
        o.x += v.x / static_cast<double>(h);
        o.y += v.y / static_cast<double>(h);
    }
    // Hull vertices by their direction from the inner point o, from the smallest angle on; the
    // angles must rise strictly and o must lie clearly inside every edge.
    std::vector<double> angles(h);
    size_t first = 0;
    for (size_t i = 0; i < h; ++i) {
        const AcGePoint2d& a = hull[i];
        const AcGePoint2d& b = hull[(i + 1) % h];
        if (!(turn(a, b, o) > band * a.distanceTo(b))) return nodes;
        angles[i] = std::atan2(a.y - o.y, a.x - o.x);
        if (angles[i] < angles[first]) first = i;
    }
    std::vector<AcGePoint2d> ring(2 * h);
    std::vector<double> around(2 * h);
    for (size_t i = 0; i < 2 * h; ++i) {
        ring[i] = hull[(first + i) % h];
        around[i] = angles[(first + i) % h] + (i >= h ? Tavro::kTwoPi : 0.0);
        if (i > 0 && !(around[i] > around[i - 1])) return nodes;
    }
    AcArray<AcGePoint2d> kept;
    for (const AcGePoint2d& p : nodes) {
        const double r = p.distanceTo(o);
        // The boundary point nearest p lies within the band only in directions from o that
        // differ from p's by at most asin(band / r) (plus a margin for the angles' rounding).
        const double spread =
            r > 2.0 * band ? std::asin(band / r) + Tavro::kAngleRounding : Tavro::kPi;
        bool near = spread >= Tavro::kHalfPi;
        if (!near) {
            double from = std::atan2(p.y - o.y, p.x - o.x) - spread;
            if (from < around[0]) from += Tavro::kTwoPi;
            if (from >= around[h]) from -= Tavro::kTwoPi;
            size_t i = static_cast<size_t>(
                std::upper_bound(around.begin(), around.begin() + h, from) - around.begin());
            // Just below the first angle (by rounding) is the end of the last edge.
            if (i == 0) {
                from += Tavro::kTwoPi;
                i = h;
            }
            --i;
            for (size_t end = i + h; !near && i < end && around[i] <= from + 2.0 * spread; ++i)
                near = distanceToSegment(p, ring[i], ring[i + 1]) <= band;
        }
        if (near) kept.append(p);
    }
    return kept;
}

} // namespace

void CTavroGeoPoint::geoRemoveSame(AcArray<AcGePoint2d>& nodes) {
    removeCloseToPredecessor(nodes);
}

void CTavroGeoPoint::geoRemoveSame(AcArray<AcGePoint3d>& nodes) {
    removeCloseToPredecessor(nodes);
}

void CTavroGeoPoint::geoRemoveSameNodes(AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges,
                                        double tol) {
    const int n = nodes.length();
    if (n <= kFewNodes) { // a handful of hits, the common case: every pair, in place
        removePairwiseClose(nodes, bulges, tol);
        return;
    }
    if (!(tol > 0.0) || !mayHaveNearPair(nodes, tol)) return;
    const std::vector<bool> keep = keptAwayFromEarlier(nodes, tol);
    AcArray<AcGePoint2d> keptNodes;
    AcArray<double> keptBulges;
    for (int i = 0; i < n; ++i)
        if (keep[i]) keptNodes.append(nodes[i]);
    // A bulge goes with its node; bulges past the last node have none and stay.
    for (int i = 0; i < bulges.length(); ++i)
        if (i >= n || keep[i]) keptBulges.append(bulges[i]);
    nodes = keptNodes;
    bulges = keptBulges;
}

void CTavroGeoPoint::geoRemoveSameLinePoint(AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges,
                                            double angleTol) {
    if (nodes.length() < 3 || bulges.length() != nodes.length()) return;
    const bool closed = isClosedRing(nodes);
    geoRemoveSameNodes(nodes, bulges, Tavro::kSquaredTol);
    if (closed) {
        nodes.append(nodes.first());
        bulges.append(0.0);
    }
    for (int i = nodes.length() - 2; i >= 1; --i) {
        const double a1 = acutAngle(nodes[i + 1], nodes[i]);
        const double a2 = acutAngle(nodes[i], nodes[i - 1]);
        if (std::fabs(a1 - a2) <= angleTol && std::fabs(bulges[i - 1]) < Tavro::kTol &&
            std::fabs(bulges[i]) < Tavro::kTol) {
            nodes.removeAt(i);
            bulges.removeAt(i);
        }
    }
}

bool CTavroGeoPoint::geoRemoveCollinear(AcArray<AcGePoint2d>& nodes) {
    AcArray<double> none;
    return geoRemoveCollinear(nodes, none);
}

bool CTavroGeoPoint::geoRemoveCollinear(AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges) {
    const bool hasBulges = !bulges.isEmpty();
    if (hasBulges && bulges.length() != nodes.length()) return false;
    if (nodes.isEmpty()) return true;
    const bool closed = isClosedRing(nodes);
    if (closed) {
        nodes.removeLast();
        if (hasBulges) bulges.removeLast();
    }
    for (bool removed = true; removed;) {
        removed = false;
        for (int i = 1; i < nodes.length(); ++i) {
            const int count = nodes.length();
            const AcGePoint2d& next = nodes[(i + 1) % count];
            const double turn = CTavroGeoVector::crossMultiply(next, nodes[i], nodes[i - 1]);
            if (!(std::fabs(turn) < Tavro::kTol)) continue;
            if (hasBulges && std::fabs(bulges[i]) > Tavro::kTol) continue;
            nodes.removeAt(i);
            if (hasBulges) bulges.removeAt(i);
            --i;
            removed = true;
        }
    }
    if (closed) {
        nodes.append(nodes.first());
        if (hasBulges) bulges.append(bulges.first());
    }
    return true;
}

void CTavroGeoPoint::geoReverseNode(AcArray<AcGePoint2d>& nodes) {
    nodes.reverse();
}

void CTavroGeoPoint::geoReverseBulge(AcArray<double>& bulges) {
    if (bulges.length() < 2) return;
    bulges.reverse();
    for (double& b : bulges)
        b = -b;
    const double first = bulges.first();
    bulges.removeFirst();
    bulges.append(first);
}

void CTavroGeoPoint::geoFilterPoint(const AcArray<AcGePoint2d>& in, AcArray<AcGePoint2d>& out,
                                    int first, int last, double tol) {
    splitFilter(in, out, first, last, tol, false);
}

void CTavroGeoPoint::geoLvbo2d(const AcArray<AcGePoint2d>& in, AcArray<AcGePoint2d>& out, int first,
                               int last, double tol, bool closed) {
    splitFilter(in, out, first, last, tol, closed);
}

AcDbExtents CTavroGeoPoint::geoNodeExtents(const AcArray<AcGePoint2d>& nodes, double margin) {
    AcDbExtents box;
    for (const AcGePoint2d& p : nodes)
        box.addPoint(AcGePoint3d(p.x, p.y, 0.0));
    const AcGePoint3d& lo = box.minPoint();
    const AcGePoint3d& hi = box.maxPoint();
    return AcDbExtents(AcGePoint3d(lo.x - margin, lo.y - margin, lo.z),
                       AcGePoint3d(hi.x + margin, hi.y + margin, hi.z));
}

bool CTavroGeoPoint::geoNodeExtents(const AcArray<AcGePoint2d>& nodes, AcGePoint2d& min,
                                    AcGePoint2d& max, double margin) {
    if (nodes.isEmpty()) return false;
    const AcDbExtents box = geoNodeExtents(nodes, margin);
    min = box.minPoint().convert2d();
    max = box.maxPoint().convert2d();
    return true;
}

AcArray<AcGePoint2d> CTavroGeoPoint::geoMakeRect(const AcGePoint2d& center, double width,
                                                 double height) {
    const double w = width / 2.0;
    const double h = height / 2.0;
    return {AcGePoint2d(center.x - w, center.y - h), AcGePoint2d(center.x - w, center.y + h),
            AcGePoint2d(center.x + w, center.y + h), AcGePoint2d(center.x + w, center.y - h)};
}

AcArray<AcGePoint2d> CTavroGeoPoint::geoRectangle(AcGePoint2d a, const AcGePoint2d& b) {
    AcGePoint2d rt = b;
    modifyLbRtPoint(a, rt);
    return {a, AcGePoint2d(rt.x, a.y), rt, AcGePoint2d(a.x, rt.y)};
}

AcArray<AcGePoint2d> CTavroGeoPoint::geoTiltRect(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                                 const AcGePoint2d& p3) {
    const double a = geoRadian(p1, p2);
    const double phi = geoRadian(p1, p2, p3, false);
    double d = p2.distanceTo(p3);
    if (geoArea(p1, p2, p3) > 0.0) d = -d;
    const double h = d * std::sin(phi);
    return {p1, p2, geoPolar(p2, a + Tavro::kHalfPi, h), geoPolar(p1, a + Tavro::kHalfPi, h)};
}

AcArray<AcGePoint2d> CTavroGeoPoint::geoMinAreaRect(const AcArray<AcGePoint2d>& nodes) {
    const int count = nodes.length();
    if (count < 3) return nodes;
    const int edges = count - (isClosedRing(nodes) ? 1 : 0);
    // Directions already measured, sorted: the nearest one on either side decides whether a
    // new direction lies within the tolerance of any of them. A NaN direction matches none.
    std::vector<double> tried;
    auto alreadyTried = [&tried](double t) {
        const auto above = std::lower_bound(tried.begin(), tried.end(), t);
        if (above != tried.end() && std::fabs(*above - t) < Tavro::kSameDirection) return true;
        return above != tried.begin() && std::fabs(*std::prev(above) - t) < Tavro::kSameDirection;
    };
    // Only nodes near the convex hull can bound a rotated box.
    const AcArray<AcGePoint2d> outer = nearHullNodes(nodes);
    double bestArea = std::numeric_limits<double>::max();
    AcArray<AcGePoint2d> best;
    for (int i = 0; i < edges; ++i) {
        const AcGePoint2d& pivot = nodes[i];
        double t = geoRadian(pivot, nodes[(i + 1) % count]);
        if (t > Tavro::kPi) t -= Tavro::kPi;
        if (alreadyTried(t)) continue;
        if (!std::isnan(t)) tried.insert(std::lower_bound(tried.begin(), tried.end(), t), t);
        AcArray<AcGePoint2d> turned = outer;
        geoRotate(turned, pivot, -t);
        AcGePoint2d min, max;
        geoNodeExtents(turned, min, max, 0.0);
        AcArray<AcGePoint2d> box = boxOf(min, max);
        // Equal areas go to the later direction.
        const double area = std::fabs(geoArea(box));
        if (area > bestArea) continue;
        bestArea = area;
        geoRotate(box, pivot, t);
        best = box;
    }
    if (best.isEmpty()) return nodes;
    // Start at the corner nearest the lower left of the box's own axis-aligned extents.
    AcGePoint2d lowerLeft, upperRight;
    geoNodeExtents(best, lowerLeft, upperRight, 0.0);
    int start = 0;
    for (int k = 1; k < 4; ++k)
        if (best[k].distanceTo(lowerLeft) < best[start].distanceTo(lowerLeft)) start = k;
    AcArray<AcGePoint2d> result;
    for (int k = 0; k < 4; ++k)
        result.append(best[(start + k) % 4]);
    return result;
}

AcArray<AcGePoint2d> CTavroGeoPoint::geoMovePoly(const AcArray<AcGePoint2d>& nodes, double dx,
                                                 double dy) {
    AcArray<AcGePoint2d> moved;
    for (const AcGePoint2d& p : nodes)
        moved.append(AcGePoint2d(p.x + dx, p.y + dy));
    return moved;
}

AcArray<AcGePoint2d> CTavroGeoPoint::geoPolyOffset(const AcGePoint2d& pt, double d) {
    return {AcGePoint2d(pt.x - d, pt.y - d), AcGePoint2d(pt.x - d, pt.y + d),
            AcGePoint2d(pt.x + d, pt.y + d), AcGePoint2d(pt.x + d, pt.y - d)};
}

AcArray<AcGePoint2d> CTavroGeoPoint::geoPolyOffset(const AcArray<AcGePoint2d>& nodes, double d) {
    AcArray<AcGePoint2d> result;
    if (nodes.isEmpty()) return result;
    QMap<int, double> bisectors;
    // Bisectors point out of the ring when taken on the side opposite to its turning.
    geoBisectorRadian(bisectors, nodes, !geoIsDeasil(nodes));
    for (auto it = bisectors.cbegin(); it != bisectors.cend(); ++it)
        result.append(geoPolar(nodes[it.key()], it.value(), d));
    if (isClosedRing(nodes) && !result.isEmpty()) result.append(result.first());
    return result;
}

double CTavroGeoPoint::geoBisectorRadian(const AcGePoint2d& prev, const AcGePoint2d& vertex,
                                         const AcGePoint2d& next, bool right) {
    const AcGeVector2d u = (vertex - prev) / vertex.distanceTo(prev);
    const AcGeVector2d w = (next - vertex) / next.distanceTo(vertex);
    const AcGeVector2d mean = u + w;
    double a = geoRadian(AcGePoint2d::kOrigin, AcGePoint2d(mean.x, mean.y)) + Tavro::kHalfPi;
    if (a > Tavro::kTwoPi) a -= Tavro::kTwoPi;
    if (!right) return a;
    return a > Tavro::kPi ? a - Tavro::kPi : a + Tavro::kPi;
}

void CTavroGeoPoint::geoBisectorRadian(QMap<int, double>& out, const AcArray<AcGePoint2d>& nodes,
                                       bool right) {
    const int m = nodes.length() - (isClosedRing(nodes) ? 1 : 0);
    for (int i = 0; i < m; ++i)
        out[i] = geoBisectorRadian(nodes[(i + m - 1) % m], nodes[i], nodes[(i + 1) % m], right);
}

void CTavroGeoPoint::geoEdgeRadian(QMap<int, double>& out, const AcArray<AcGePoint2d>& nodes) {
    for (int i = 1; i < nodes.length(); ++i)
        out[i - 1] = geoRadian(nodes[i - 1], nodes[i]);
}

void CTavroGeoPoint::geoEdgeAnnPosRadian(QMap<unsigned int, Tavro::EdgeAnnPosRadian>& out,
                                         const AcArray<AcGePoint2d>& nodes, double d,
                                         bool outside) {
    if (nodes.isEmpty()) return;
    const double offset = (geoIsDeasil(nodes) == outside ? 1.0 : -1.0) * Tavro::kHalfPi;
    for (int i = 1; i < nodes.length(); ++i) {
        const AcGePoint2d mid = geoCalculatePoint(nodes[i - 1], nodes[i], Tavro::kCenter);
        double t = geoRadian(nodes[i - 1], nodes[i]);
        Tavro::EdgeAnnPosRadian ann;
        ann.position = geoPolar(mid, t + offset, d);
        // Text reads left to right: directions pointing west are turned round; straight up and
        // straight down stay as they are.
        if (t > Tavro::kHalfPi && t <= Tavro::kPi)
            t += Tavro::kPi;
        else if (t > Tavro::kPi && t < 3.0 * Tavro::kHalfPi)
            t -= Tavro::kPi;
        ann.radian = t;
        out[static_cast<unsigned int>(i - 1)] = ann;
    }
}

double CTavroGeoPoint::geoMaxEdgeRadian(const AcArray<AcGePoint2d>& nodes) {
    std::map<long long, double> lengthByDirection;
    const int count = nodes.length();
    for (int i = 0; i < count; ++i) {
        const AcGePoint2d& next = nodes[(i + 1) % count];
        const double key = std::trunc(geoRadian(nodes[i], next) / Tavro::kTol);
        lengthByDirection[static_cast<long long>(key)] += nodes[i].distanceTo(next);
    }
    long long bestKey = 0;
    double bestLength = 0.0;
    for (const auto& [key, length] : lengthByDirection) {
        if (length >= bestLength) {
            bestLength = length;
            bestKey = key;
        }
    }
    return static_cast<double>(bestKey) * Tavro::kTol;
}

void CTavroGeoPoint::geoMaxEdgeRadian(const AcArray<AcGePoint2d>& nodes, AcGePoint2d& start,
                                      AcGePoint2d& end, double& angle) {
    AcArray<AcGePoint2d> copy = nodes;
    AcArray<double> bulges;
    bulges.setLogicalLength(copy.length());
    geoRemoveSameLinePoint(copy, bulges, Tavro::kTol);
    struct Edge {
        AcGePoint2d start, end;
        double angle;
    };
    std::map<double, Edge> byLength;
    const int count = copy.length();
    for (int i = 0; i < count; ++i) {
        const AcGePoint2d& next = copy[(i + 1) % count];
        const double length = copy[i].distanceTo(next);
        if (std::isnan(length)) continue;
        byLength[length] = Edge{copy[i], next, acutAngle(copy[i], next)};
    }
    if (byLength.empty()) return;
    const Edge& longest = byLength.rbegin()->second;
    start = longest.start;
    end = longest.end;
    angle = longest.angle;
}

int CTavroGeoPoint::GetNWPoint(const AcArray<AcGePoint2d>& nodes) {
    int best = 0;
    double bestValue = std::numeric_limits<double>::infinity();
    for (int i = 0; i < nodes.length(); ++i) {
        const double value = std::fabs(nodes[i].x - nodes[i].y + 1e11) / 2.0;
        if (value < bestValue) {
            bestValue = value;
            best = i;
        }
    }
    return best;
}

bool CTavroGeoPoint::isPolygonSame(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b) {
    if (a.length() < 3 || b.length() < 3) return false;
    AcArray<AcGePoint2d> cleanA = a;
    AcArray<AcGePoint2d> cleanB = b;
    geoRemoveCollinear(cleanA);
    geoRemoveCollinear(cleanB);
    if (!(std::fabs(geoArea(cleanA) - geoArea(cleanB)) < Tavro::kTol)) return false;
    AcGePoint2d meanA, meanB;
    GetNodesMiddlePoint(cleanA, meanA);
    GetNodesMiddlePoint(cleanB, meanB);
    return meanA.distanceTo(meanB) < Tavro::kTol;
}

Tavro::NodeBulge CTavroGeoPoint::geoSafeTavroNodeBulge(const Tavro::NodeBulge& nb) {
    Tavro::NodeBulge safe = nb;
    safe.bulges.setLogicalLength(nb.nodes.length());
    return safe;
}

Tavro::NodeBulge3d CTavroGeoPoint::geoTavroNodeBulgeTo3d(const Tavro::NodeBulge& nb) {
    Tavro::NodeBulge3d lifted;
    for (const AcGePoint2d& p : nb.nodes)
        lifted.nodes.append(AcGePoint3d(p.x, p.y, 0.0));
    lifted.bulges = nb.bulges;
    return lifted;
}

Tavro::NodeBulge CTavroGeoPoint::geoTavroNodeBulge3dTo2d(const Tavro::NodeBulge3d& nb) {
    Tavro::NodeBulge flat;
    for (const AcGePoint3d& p : nb.nodes)
        flat.nodes.append(p.convert2d());
    flat.bulges = nb.bulges;
    return flat;
}
