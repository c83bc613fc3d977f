#include "CTavroGeoGlobal.h"

#include "TavroKernel.h"

#include "AcDbCurves.h"
#include "CTavroGeoArc.h"
#include "CTavroGeoInternal.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "TavroTolerance.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

namespace {

double cross(const AcGePoint2d& a, const AcGePoint2d& b) {
    return a.x * b.y - a.y * b.x;
}
double dot(const AcGePoint2d& a, const AcGePoint2d& b) {
    return a.x * b.x + a.y * b.y;
}
double sign(double v) {
    return v > 0.0 ? 1.0 : (v < 0.0 ? -1.0 : 0.0);
}
AcGePoint2d along(const AcGePoint2d& p, const AcGePoint2d& d, double s) {
    return AcGePoint2d(p.x + s * d.x, p.y + s * d.y);
}

void setSingleHit(const AcGePoint2d& pt, double param, AcArray<AcGePoint2d>& pts,
                  AcArray<double>& params) {
    pts.removeAll();
    params.removeAll();
    pts.append(pt);
    params.append(param);
}

// The interval [first + along * 0, first + along * 1] of a collinear segment on another's line,
// in that other's parameter, put in ascending order.
void orderedSpan(double first, double length, double& lo, double& hi) {
    lo = std::min(first, first + length);
    hi = std::max(first, first + length);
}

// Collinear segments: the overlap values on the first segment paired with those on the second
// (swapped when the segments run opposite ways), each kept when both windows accept it.
int collinearHits(const AcGePoint2d& P0, const AcGePoint2d& D0, const AcGePoint2d& D1,
                  const AcGePoint2d& E, double s0, double s1, double t0, double t1,
                  AcArray<AcGePoint2d>& pts, AcArray<double>& params) {
    const double len0 = dot(D0, D0);
    const double len1 = dot(D1, D1);
    double lo = 0.0, hi = 0.0, w[2] = {0.0, 0.0}, v[2] = {0.0, 0.0};
    orderedSpan(dot(D0, E) / len0, dot(D0, D1) / len0, lo, hi);
    const int n0 = CTavroGeoGlobal::FindIntersection(lo, hi, 0.0, 1.0, w);
    orderedSpan(-dot(D1, E) / len1, dot(D1, D0) / len1, lo, hi);
    const int n1 = CTavroGeoGlobal::FindIntersection(lo, hi, 0.0, 1.0, v);
    if (n0 == 2 && n1 == 2 && dot(D0, D1) < 0.0) std::swap(v[0], v[1]);
    pts.removeAll();
    params.removeAll();
    for (int i = 0; i < std::min(n0, n1); ++i) {
        const double s = w[i];
        const double t = v[i];
        if (s * len0 < s0 || s * len0 > s1 || t * len1 < t0 || t * len1 > t1) continue;
        pts.append(along(P0, D0, s));
        params.append(s);
    }
    return pts.length();
}

// The mean distance from pt to the points. Once the running mean reaches a finite `stop` it is
// returned early: the sum of distances only grows and rounding keeps that order, so the full
// mean could not come out below stop either.
double meanDistance(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& pts, double stop) {
    if (pts.isEmpty()) return 0.0;
    const int n = pts.length();
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        sum += pt.distanceTo(pts[i]);
        if (i % 64 == 63 && std::isfinite(stop) && sum / n >= stop) break;
    }
    return sum / n;
}

bool insideRing(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& ring) {
    return CTavroGeoLine::geoPointWithPolygonRelation(pt, ring, AcArray<double>()) ==
           Tavro::kRelationInside;
}

// Midpoints of chords between vertices closing in from both ends, each chord kept only while it
// stays clear of the boundary with its midpoint on or in the ring.
AcArray<AcGePoint2d> chordMidpoints(const AcArray<AcGePoint2d>& ring) {
    AcArray<AcGePoint2d> candidates;
    int i = 0;
    int j = ring.length() - 1;
    while (j - i > 1) {
        const AcGePoint2d mid = CTavroGeoPoint::getMiddlePoint(ring[i], ring[j]);
        candidates.append(mid);
        // The crossing test is the cheaper of the two and decides alone when the chord crosses.
        const bool clear = !CTavroGeoGlobal::isPlCrossPolygon(ring[i], ring[j], ring);
        const int r =
            clear ? CTavroGeoLine::geoPointWithPolygonRelation(mid, ring, AcArray<double>()) : 0;
        if (clear && (r == Tavro::kRelationBoundary || r == Tavro::kRelationInside)) {
            ++i;
        } else {
            --j;
            if (i > 0) --i;
        }
    }
    if (j >= 0) candidates.append(CTavroGeoPoint::getMiddlePoint(ring[i], ring[j]));
    return candidates;
}

} // namespace

CTavroGeoGlobal::CTavroGeoGlobal() = default;
CTavroGeoGlobal::CTavroGeoGlobal(const CTavroGeoGlobal&) = default;
CTavroGeoGlobal& CTavroGeoGlobal::operator=(const CTavroGeoGlobal&) = default;
CTavroGeoGlobal::~CTavroGeoGlobal() = default;

TavroLine CTavroGeoGlobal::makeline(const AcGePoint2d& a, const AcGePoint2d& b) {
    const double s = b.y - a.y < 0.0 ? -1.0 : 1.0;
    TavroLine line;
    line.a = s * (b.y - a.y);
    line.b = s * (a.x - b.x);
    line.c = s * (a.y * b.x - a.x * b.y);
    return line;
}

double CTavroGeoGlobal::square2dDist(const AcGePoint2d& a, const AcGePoint2d& b) {
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return dx * dx + dy * dy;
}

int CTavroGeoGlobal::PointAtPlWhich(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                    const AcGePoint2d& q) {
    const double k = (p1.x - q.x) * (p2.y - q.y) - (p2.x - q.x) * (p1.y - q.y);
    return static_cast<int>(sign(k));
}

bool CTavroGeoGlobal::isPl1CrossPl2(const AcGePoint2d& a, const AcGePoint2d& b,
                                    const AcGePoint2d& c, const AcGePoint2d& d) {
    const int sa = PointAtPlWhich(c, d, a);
    const int sb = PointAtPlWhich(c, d, b);
    return (sa < 0 && sb > 0) || (sa > 0 && sb < 0);
}

bool CTavroGeoGlobal::isPlCrossPolygon(const AcGePoint2d& a, const AcGePoint2d& b,
                                       const AcArray<AcGePoint2d>& ring) {
    const int n = ring.length();
    for (int i = 0; i < n; ++i) {
        const AcGePoint2d& e1 = ring[i];
        const AcGePoint2d& e2 = ring[(i + 1) % n];
        if (isPl1CrossPl2(a, b, e1, e2) && isPl1CrossPl2(e1, e2, a, b)) return true;
    }
    return false;
}

int CTavroGeoGlobal::FindIntersection(double lo1, double hi1, double lo2, double hi2,
                                      double* const w) {
    if (hi1 < lo2 || lo1 > hi2) return 0;
    if (hi1 == lo2) {
        w[0] = hi1;
        return 1;
    }
    if (lo1 == hi2) {
        w[0] = lo1;
        return 1;
    }
    w[0] = std::max(lo1, lo2);
    w[1] = std::min(hi1, hi2);
    return 2;
}

int CTavroGeoGlobal::FindIntersection(const AcGePoint2d& P0, const AcGePoint2d& D0,
                                      const AcGePoint2d& P1, const AcGePoint2d& D1, double s0,
                                      double s1, double t0, double t1, AcArray<AcGePoint2d>& pts,
                                      AcArray<double>& params) {
    if (P0 == P1 && D0 == D1) {
        setSingleHit(P0, 0.0, pts, params);
        pts.append(along(P0, D0, 1.0));
        params.append(1.0);
        return 2;
    }
    const double len0 = dot(D0, D0);
    const double len1 = dot(D1, D1);
    if (!(len0 * len1 >= Tavro::kDegenerateLengthProduct)) return 0;
    const AcGePoint2d E(P1.x - P0.x, P1.y - P0.y);
    const TavroKernel::LineCross lines =
        TavroKernel::lineCross(P0, AcGeVector2d(D0.x, D0.y), P1, AcGeVector2d(D1.x, D1.y));
    const double kross = lines.denom;
    if (kross * kross > Tavro::kSquaredTol * len0 * len1) {
        const double s = lines.t;
        const double t = lines.u;
        const double sAlong = sign(s) * s * s * len0;
        const double tAlong = sign(t) * t * t * len1;
        if (sAlong < s0 || sAlong > s1 || tAlong < t0 || tAlong > t1) return 0;
        setSingleHit(along(P0, D0, s), s, pts, params);
        return 1;
    }
    const double offLine = cross(E, D0);
    if (offLine * offLine > Tavro::kSquaredTol * len0 * dot(E, E) + Tavro::kTinySquare) return 0;
    return collinearHits(P0, D0, D1, E, s0, s1, t0, t1, pts, params);
}

int CTavroGeoGlobal::multiIntersection(const AcGePoint2d& P, const AcGePoint2d& Q,
                                       const AcArray<AcGePoint2d>& polyline, double s0, double s1,
                                       AcArray<AcGePoint2d>& pts, AcArray<double>& params) {
    pts.removeAll();
    params.removeAll();
    const int n = polyline.length();
    const AcGePoint2d D(Q.x - P.x, Q.y - P.y);
    for (int k = 0; k + 1 < n; ++k) {
        const AcGePoint2d& a = polyline[k];
        const AcGePoint2d& b = polyline[k + 1];
        const double length = a.distanceTo(b);
        // Inner segments leave a hit at their end to the next segment; the last keeps it.
        const double endSlack = (k + 2 == n ? 2.0 : -2.0) * length * Tavro::kTol;
        AcArray<AcGePoint2d> hitPts;
        AcArray<double> hitParams;
        const int hits = FindIntersection(
            P, D, a, AcGePoint2d(b.x - a.x, b.y - a.y), s0, s1, -Tavro::kSquaredTol,
            length * length + Tavro::kSquaredTol + endSlack, hitPts, hitParams);
        for (int i = 0; i < hits; ++i) {
            pts.append(hitPts[i]);
            params.append(hitParams[i]);
        }
    }
    return pts.length();
}

double CTavroGeoGlobal::calPtToPl(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& pts) {
    return meanDistance(pt, pts, std::numeric_limits<double>::infinity());
}

double CTavroGeoGlobal::GetCloseDistOfNodes(AcGePoint2d& out, const AcGePoint2d& pt,
                                            const AcArray<AcGePoint2d>& pts, bool closed) {
    if (pts.isEmpty()) return -1.0;
    AcDbPolyline polyline(static_cast<unsigned int>(pts.length()));
    for (int i = 0; i < pts.length(); ++i)
        polyline.addVertexAt(static_cast<unsigned int>(i), pts[i], 0.0, -1.0, -1.0);
    polyline.setClosed(closed);
    polyline.setPlinegen(true);
    AcGePoint3d closest;
    if (polyline.getClosestPointTo(AcGePoint3d(pt.x, pt.y, 0.0), closest, false) != Acad::eOk)
        return -1.0;
    out = closest.convert2d();
    return out.distanceTo(pt);
}

double CTavroGeoGlobal::Get2BulgeLineArea(const AcGePoint2d& a, const AcGePoint2d& b,
                                          double bulge) {
    if (!(std::fabs(bulge) >= Tavro::kSquaredTol)) return 0.0;
    const double chord = a.distanceTo(b);
    if (!(chord > 0.0)) return 0.0;
    return TavroKernel::chordArcArea(chord, CTavroGeoArc::geoArcRadian(bulge));
}

void CTavroGeoGlobal::GetBugleLineDivPoint(int index, const AcGePoint2d& a, const AcGePoint2d& b,
                                           double bulge, bool addX, bool addY,
                                           AcArray<AcGePoint2d>& pts, AcArray<double>& params) {
    if (!(std::fabs(bulge) >= Tavro::kTol)) return;
    AcGePoint2d o;
    double r = 0.0;
    CTavroGeoArc::GetArcCoreRadius(a, b, bulge, o, r);
    const struct {
        AcGePoint2d point;
        bool wanted;
    } extremes[] = {{AcGePoint2d(o.x, o.y + r), addY},
                    {AcGePoint2d(o.x - r, o.y), addX},
                    {AcGePoint2d(o.x, o.y - r), addY},
                    {AcGePoint2d(o.x + r, o.y), addX}};
    for (const auto& extreme : extremes) {
        const double t = CTavroGeoArc::GetParamAtArc(extreme.point, o, a, b, bulge < 0.0);
        if (t > 0.0 && t < 1.0 && extreme.wanted) {
            pts.append(extreme.point);
            params.append(index + t);
        }
    }
}

bool CTavroGeoGlobal::BulgePolyAddDivPoint(const AcArray<AcGePoint2d>& nodes,
                                           const AcArray<double>& bulges, bool closed, bool addX,
                                           bool addY, AcArray<AcGePoint2d>& pts,
                                           AcArray<double>& params) {
    const int n = nodes.length();
    if (n < 2) return false;
    auto bulgeAt = [&](int i) { return i < bulges.length() ? bulges[i] : 0.0; };
    for (int i = 0; i + 1 < n; ++i)
        GetBugleLineDivPoint(i, nodes[i], nodes[i + 1], bulgeAt(i), addX, addY, pts, params);
    // The closing segment is segment n-1, so its points carry parameters n-1 + fraction.
    if (closed)
        GetBugleLineDivPoint(n - 1, nodes[n - 1], nodes[0], bulgeAt(n - 1), addX, addY, pts,
                             params);
    return true;
}

void CTavroGeoGlobal::AnalyzeBulgePolyline(AcArray<AcGePoint2d> nodes, AcArray<double> bulges,
                                           bool closed, bool addX, bool addY,
                                           AcArray<AcGePoint2d>& outNodes,
                                           AcArray<double>& outBulges) {
    outNodes.removeAll();
    outBulges.removeAll();
    if (nodes.isEmpty()) return;
    // One bulge per vertex: a short array counts its missing bulges as straight.
    bulges.setLogicalLength(nodes.length());
    if (closed) {
        nodes.append(nodes.first());
        bulges.append(0.0);
    }
    AcArray<AcGePoint2d> pts;
    AcArray<double> params;
    for (int i = 0; i < nodes.length(); ++i) {
        pts.append(nodes[i]);
        params.append(i);
    }
    BulgePolyAddDivPoint(nodes, bulges, false, addX, addY, pts, params);
    QuickSort(params, pts, 0, params.length() - 1);
    for (int k = params.length() - 1; k > 0; --k) {
        if (std::fabs(params[k] - params[k - 1]) < Tavro::kSameParam) {
            params.removeAt(k);
            pts.removeAt(k);
        }
    }
    outNodes.append(pts.first());
    for (int k = 0; k + 1 < params.length(); ++k) {
        const int s =
            std::clamp(static_cast<int>(params[k] + Tavro::kSquaredTol), 0, bulges.length() - 1);
        double b = bulges[s];
        if (std::fabs(b) >= Tavro::kTol)
            b = CTavroGeoInternal::partBulge(b, params[k + 1] - params[k]);
        outBulges.append(b);
        outNodes.append(pts[k + 1]);
    }
    outBulges.append(0.0);
}

AcGePoint2d CTavroGeoGlobal::GetPlineMiddlePoint(const AcArray<AcGePoint2d>& nodes) {
    if (nodes.isEmpty()) return AcGePoint2d::kOrigin;
    // A repeated vertex adds nothing to the shape; left in, each would add a chord to the walk
    // below and a vertex to every candidate's mean distance, quadratic in the repeats.
    AcArray<AcGePoint2d> ring = nodes;
    CTavroGeoPoint::geoRemoveSame(ring);
    AcGePoint2d mean;
    CTavroGeoPoint::GetNodesMiddlePoint(ring, mean);
    for (const AcGePoint2d& simple : {CTavroGeoPoint::geoCalculatePoint(ring, Tavro::kCenter), mean,
                                      CTavroGeoPoint::geoBaryCenterPoint(ring)})
        if (insideRing(simple, ring)) return simple;
    AcArray<AcGePoint2d> open = ring;
    if (open.length() > 1 && open.first() == open.last()) open.removeLast();
    const AcArray<AcGePoint2d> candidates = chordMidpoints(open);
    AcGePoint2d best = candidates.isEmpty() ? open.first() : candidates.first();
    double bestSpread = calPtToPl(best, open);
    for (const AcGePoint2d& c : candidates) {
        // Only a mean below the best so far matters; a worse one may stop early.
        const double spread = meanDistance(c, open, bestSpread);
        if (spread < bestSpread) {
            bestSpread = spread;
            best = c;
        }
    }
    if (insideRing(best, open)) return best;
    AcDbPolyline polyline;
    for (int i = 0; i < open.length(); ++i)
        polyline.addVertexAt(static_cast<unsigned int>(i), open[i], 0.0, -1.0, -1.0);
    double end = 0.0;
    AcGePoint3d halfway;
    if (polyline.getEndParam(end) != Acad::eOk ||
        polyline.getPointAtParam(end / 2.0, halfway) != Acad::eOk)
        return best;
    return halfway.convert2d();
}

void CTavroGeoGlobal::QuickSort(AcArray<double>& keys, AcArray<AcGePoint2d>& pts, int, int) {
    const int n = std::min(keys.length(), pts.length());
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    // NaN keys sort last, so the order stays a strict weak one whatever the input.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return !std::isnan(keys[a]) && (std::isnan(keys[b]) || keys[a] < keys[b]);
    });
    AcArray<double> sortedKeys = keys;
    AcArray<AcGePoint2d> sortedPts = pts;
    for (int i = 0; i < n; ++i) {
        sortedKeys[i] = keys[order[static_cast<size_t>(i)]];
        sortedPts[i] = pts[order[static_cast<size_t>(i)]];
    }
    keys = sortedKeys;
    pts = sortedPts;
}
