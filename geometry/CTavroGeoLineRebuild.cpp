// CTavroGeoLine: intersecting polylines and rebuilding vertex lists.

#include "CTavroGeoLine.h"

#include "AcGeCurves.h"
#include "CTavroGeoBoder.h"
#include "CTavroGeoGlobal.h"
#include "CTavroGeoInternal.h"
#include "CTavroGeoPoint.h"
#include "TavroTolerance.h"
#include "acut.h"

#include <QHash>
#include <QString>

#include <algorithm>
#include <cmath>

namespace {

// Hits of segment PQ on the open polyline b, parameters along PQ offset by index; the end
// margin decides whether a hit at Q counts.
void segmentHits(const AcGePoint2d& P, const AcGePoint2d& Q, const AcArray<AcGePoint2d>& b,
                 double index, double endMargin, AcArray<AcGePoint2d>& points,
                 AcArray<double>& params) {
    const double length = P.distanceTo(Q);
    AcArray<AcGePoint2d> hits;
    AcArray<double> along;
    CTavroGeoGlobal::multiIntersection(P, Q, b, -Tavro::kSquaredTol,
                                       length * length + Tavro::kSquaredTol + endMargin * length,
                                       hits, along);
    CTavroGeoPoint::geoRemoveSameNodes(hits, along, Tavro::kSquaredTol);
    for (int k = 0; k < hits.length(); ++k) {
        points.append(hits[k]);
        params.append(index + (k < along.length() ? along[k] : 0.0));
    }
}

void rotateLeft(AcArray<double>& values, int times) {
    const int n = values.length();
    if (n == 0 || times <= 0) return;
    AcArray<double> rotated;
    for (int i = 0; i < n; ++i)
        rotated.append(values[(i + times) % n]);
    values = rotated;
}

void rotateLeft(AcArray<AcGePoint2d>& values, int times) {
    const int n = values.length();
    if (n == 0 || times <= 0) return;
    AcArray<AcGePoint2d> rotated;
    for (int i = 0; i < n; ++i)
        rotated.append(values[(i + times) % n]);
    values = rotated;
}

QString vertexKey(const AcGePoint2d& p, int precision) {
    return QString("%1,%2").arg(p.x, 0, 'f', precision).arg(p.y, 0, 'f', precision);
}

// The index of the upper-left vertex among all but the last: largest y - x, ties within 1e-7
// to the higher y.
int upperLeftIndex(const AcArray<AcGePoint2d>& pts) {
    int best = 0;
    for (int i = 1; i + 1 < pts.length(); ++i) {
        const double score = pts[i].y - pts[i].x;
        const double bestScore = pts[best].y - pts[best].x;
        if (score > bestScore + Tavro::kCornerScoreTie ||
            (std::fabs(score - bestScore) <= Tavro::kCornerScoreTie && pts[i].y > pts[best].y))
            best = i;
    }
    return best;
}

bool near(double a, double b) {
    return std::fabs(a - b) < Tavro::kTol;
}

} // namespace

int CTavroGeoLine::polylineIntersection(const AcArray<AcGePoint2d>& a,
                                        const AcArray<AcGePoint2d>& b, AcArray<AcGePoint2d>& points,
                                        AcArray<double>& params) {
    std::vector<int> all(static_cast<size_t>(std::max(a.length(), 0)));
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i);
    return CTavroGeoInternal::polylineHitsOn(a, all, b, points, params);
}

int CTavroGeoInternal::polylineHitsOn(const AcArray<AcGePoint2d>& a,
                                      const std::vector<int>& segments,
                                      const AcArray<AcGePoint2d>& b, AcArray<AcGePoint2d>& points,
                                      AcArray<double>& params) {
    points.removeAll();
    params.removeAll();
    const int n = a.length();
    if (n < 2 || b.length() < 2) return 0;
    const double before = -2.0 * Tavro::kTol; // a hit at the segment's end goes to the next
    for (int i : segments)
        segmentHits(a[i], a[(i + 1) % n], b, i, before, points, params);
    // The last listed vertex counts on the segment that ends there.
    if (std::binary_search(segments.begin(), segments.end(), n - 2))
        segmentHits(a[n - 2], a[n - 1], b, n - 2, 2.0 * Tavro::kTol, points, params);
    CTavroGeoPoint::geoRemoveSameNodes(points, params, Tavro::kSquaredTol);
    return points.length();
}

QMap<double, AcGePoint2d> CTavroGeoLine::polylineIntersection(const AcArray<AcGePoint2d>& a,
                                                              const AcArray<AcGePoint2d>& b,
                                                              const AcGeTol& tol) {
    QMap<double, AcGePoint2d> found;
    AcArray<AcGePoint2d> seen;
    for (int i = 0; i + 1 < a.length(); ++i) {
        const AcGeLineSeg2d segA(a[i], a[i + 1]);
        for (int j = 0; j + 1 < b.length(); ++j) {
            const AcGeLineSeg2d segB(b[j], b[j + 1]);
            AcGePoint2d hit;
            AcGeLineSeg2d common;
            if (!segA.intersectWith(segB, hit, tol)) {
                if (!segA.overlap(segB, common, tol)) continue;
                const double t = segA.paramOf(b[j], tol);
                hit = (t >= 0.0 && t <= 1.0) ? b[j] : a[i];
            }
            if (seen.contains(hit)) continue;
            seen.append(hit);
            found.insert(i + segA.paramOf(hit, tol), hit);
        }
    }
    return found;
}

bool CTavroGeoLine::getLoopsIntersection(const QVector<AcArray<AcGePoint2d>>& loops,
                                         QVector<AcArray<AcGePoint2d>>& out, int count) {
    const QVector<AcArray<double>> noBulges(loops.size());
    QVector<AcArray<AcGePoint2d>> regions;
    QVector<AcArray<double>> regionBulges;
    CTavroGeoBoder::geoGetBoders(regions, regionBulges, loops, noBulges, false,
                                 Tavro::kRegionMinArea);
    for (const AcArray<AcGePoint2d>& region : regions) {
        AcGePoint2d inner;
        if (!getRandomPointInNodesB(region, inner)) continue;
        const auto holds = [&](const AcArray<AcGePoint2d>& loop) {
            return geoPointWithPolygonRelation(inner, loop, AcArray<double>()) ==
                   Tavro::kRelationInside;
        };
        if (std::count_if(loops.begin(), loops.end(), holds) == count) out.append(region);
    }
    return !out.isEmpty();
}

QList<AcArray<AcGePoint2d>> CTavroGeoLine::geoPolyInterSet(const AcArray<AcGePoint2d>& a,
                                                           const AcArray<AcGePoint2d>& b,
                                                           bool addPoints, int precision) {
    AcArray<AcGePoint2d> copyA = a;
    AcArray<AcGePoint2d> copyB = b;
    if (addPoints) {
        geoAddPointToLine(copyA, b);
        geoAddPointToLine(copyB, a);
    }
    QHash<QString, QList<int>> indexByKey;
    for (int i = 0; i < copyA.length(); ++i) {
        const QString key = vertexKey(copyA[i], precision);
        auto it = indexByKey.find(key);
        if (it == indexByKey.end())
            indexByKey.insert(key, {i});
        else if (i == copyA.length() - 1)
            it->append(i);
    }
    QList<int> matched;
    for (const AcGePoint2d& p : copyB)
        for (int i : indexByKey.value(vertexKey(p, precision)))
            if (!matched.contains(i)) matched.append(i);
    std::sort(matched.begin(), matched.end());
    QList<AcArray<AcGePoint2d>> pieces;
    AcArray<AcGePoint2d> run;
    for (int k = 0; k < matched.size(); ++k) {
        if (k > 0 && matched[k] != matched[k - 1] + 1) {
            if (run.length() > 1) pieces.append(run);
            run.removeAll();
        }
        run.append(copyA[matched[k]]);
    }
    if (run.length() > 1) pieces.append(run);
    return pieces;
}

Tavro::ErrorStatus CTavroGeoLine::geoResetPolyline(AcArray<AcGePoint2d>& pts,
                                                   AcArray<double>& bulges,
                                                   Tavro::RearrangementMode mode, int start,
                                                   Tavro::SortMode sort) {
    if (pts.length() < 4) return Tavro::kTooFewVertices;
    const int first = CTavroGeoInternal::startVertex(pts, mode, start);
    if (first < 0) return Tavro::kSuccess;
    rotateLeft(pts, first);
    rotateLeft(bulges, first);
    const bool deasil = CTavroGeoPoint::geoIsDeasil(pts);
    if ((deasil && sort == Tavro::kSortCounterclockwise) ||
        (!deasil && sort == Tavro::kSortClockwise)) {
        CTavroGeoPoint::geoReverseNode(pts);
        CTavroGeoPoint::geoReverseBulge(bulges);
    }
    return Tavro::kSuccess;
}

Tavro::NodeBulge CTavroGeoLine::geoCombinePointArray(const Tavro::NodeBulge& polyline,
                                                     const AcArray<AcGePoint2d>& add) {
    if (add.isEmpty()) return polyline;
    double t0 = geoPointAtParam(add.first(), polyline.nodes, polyline.bulges, Tavro::kJoinPointTol);
    double t1 = geoPointAtParam(add.last(), polyline.nodes, polyline.bulges, Tavro::kJoinPointTol);
    if (t0 < 0.0 || t1 < 0.0) return polyline;
    int n = polyline.nodes.length();
    if (n > 1 && polyline.nodes.first().distanceTo(polyline.nodes.last()) < Tavro::kTol) --n;
    // A stretch across the ring's start continues past the last vertex.
    if (near(t1, 0.0) && near(t0, n - 1)) t1 = t0 + 1.0;
    if (near(t0, 0.0) && near(t1, n - 1)) t0 = t1 + 1.0;
    const double lo = std::min(t0, t1);
    const double hi = std::max(t0, t1);
    if (std::ceil(hi) - std::floor(lo) >= 2.0) {
        acutPrintf("\n选择的点不在同一个弧段上。");
        return polyline;
    }
    AcArray<AcGePoint2d> given = add;
    if (t1 < t0) given.reverse();
    const int s = static_cast<int>(std::floor(lo));
    Tavro::NodeBulge result = CTavroGeoPoint::geoSafeTavroNodeBulge(polyline);
    if (s < 0 || s >= result.nodes.length()) return polyline;
    const double bulge = result.bulges[s];
    if (std::fabs(bulge) > Tavro::kTol)
        result.bulges[s] = CTavroGeoInternal::partBulge(bulge, lo - s);
    const bool dropFirst = lo - s < Tavro::kTol;
    const bool dropLast = std::ceil(hi) - hi < Tavro::kTol;
    int at = s + 1;
    for (int k = 0; k < given.length(); ++k) {
        if ((k == 0 && dropFirst) || (k == given.length() - 1 && dropLast)) continue;
        result.nodes.insertAt(at, given[k]);
        result.bulges.insertAt(at, 0.0);
        ++at;
    }
    const bool inserted = at > s + 1;
    if (inserted && std::fabs(bulge) > Tavro::kTol && std::ceil(hi) - hi > Tavro::kTol)
        result.bulges[at - 1] = CTavroGeoInternal::partBulge(bulge, std::ceil(hi) - hi);
    return result;
}

Tavro::NodeBulge CTavroGeoLine::geoBufferZone(const Tavro::NodeBulge& polyline, double, bool) {
    return polyline;
}

void CTavroGeoLine::geoSortLeftUpPoints(AcArray<AcGePoint2d>& pts) {
    const int k = upperLeftIndex(pts);
    rotateLeft(pts, k);
}

void CTavroGeoLine::geoSortLeftUpPoints(AcArray<AcGePoint2d>& pts, AcArray<double>& bulges) {
    const int n = pts.length();
    const int k = upperLeftIndex(pts);
    if (k == 0) return;
    AcArray<AcGePoint2d> ring;
    AcArray<double> ringBulges;
    auto take = [&](int i) {
        ring.append(pts[i]);
        ringBulges.append(i < bulges.length() ? bulges[i] : 0.0);
    };
    for (int i = k; i <= n - 2; ++i)
        take(i);
    for (int i = 0; i <= k; ++i)
        take(i);
    pts = ring;
    bulges = ringBulges;
}
