// The intersection layer of the arc class: circles against lines and circles in closed form,
// then arcs, segments and bulge polylines against each other inside parameter windows.
//
// Every bounded routine works in a frame whose origin is one of its input points, so that the
// absolute tolerances below mean the same at drawing-unit scale and at Gauss-plane coordinates
// of several million; hits go back to the caller's frame only when they are appended.

#include "CTavroGeoArc.h"
#include "CTavroGeoGlobal.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "TavroKernel.h"
#include "TavroTolerance.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A coefficient, discriminant or distance that the closed forms read as zero.
constexpr double kClosedFormTol = Tavro::kArcTol;
// The slack of every window, in arc length or in length for the segment ends.
constexpr double kWindowSlack = Tavro::kTol;
// Two hits of one query piece closer than this are one.
constexpr double kSameHit = Tavro::kSquaredTol;

struct Window {
    double lo;
    double hi;
};

// The windows that count a hit at an inner vertex on the later piece only and keep the
// polyline's last vertex.
Window pieceWindow(double length, bool straight, bool last) {
    if (!straight) return {-kWindowSlack, last ? kWindowSlack : -kWindowSlack};
    const double endSlack = (last ? 2.0 : -2.0) * length * kWindowSlack;
    return {-kWindowSlack, length * length + Tavro::kSquaredTol + endSlack};
}

double bulgeAt(const AcArray<double>& bulges, int i) {
    return i < bulges.length() ? bulges[i] : 0.0;
}

AcGePoint2d toLocal(const AcGePoint2d& p, const AcGePoint2d& origin) {
    return AcGePoint2d(p.x - origin.x, p.y - origin.y);
}

AcGePoint2d toWorld(const AcGePoint2d& p, const AcGePoint2d& origin) {
    return AcGePoint2d(p.x + origin.x, p.y + origin.y);
}

// One bulge arc in a local frame: its ends and circle. Its length is measured only for a
// candidate hit, as most pairs of pieces have none.
struct LocalArc {
    AcGePoint2d start;
    AcGePoint2d end;
    AcGePoint2d center;
    double radius = 0.0;
    bool clockwise = false;
};

LocalArc localArc(const AcGePoint2d& s, const AcGePoint2d& e, double bulge,
                  const AcGePoint2d& origin) {
    LocalArc arc;
    arc.start = toLocal(s, origin);
    arc.end = toLocal(e, origin);
    arc.clockwise = bulge < 0.0;
    CTavroGeoArc::GetArcCoreRadius(arc.start, arc.end, bulge, arc.center, arc.radius);
    // The radius reads bulges below 1e-6 as straight and answers 0, while this layer treats
    // every bulge from 1e-10 on as an arc: a flat arc keeps the circle about its centre, or a
    // segment crossing it would find nothing.
    if (arc.radius == 0.0 && std::fabs(bulge) >= Tavro::kIntersectStraightBulge)
        arc.radius = arc.center.distanceTo(arc.start);
    return arc;
}

double paramOn(const LocalArc& arc, const AcGePoint2d& pt) {
    return CTavroGeoArc::GetParamAtArc(pt, arc.center, arc.start, arc.end, arc.clockwise);
}

bool inArcWindow(const LocalArc& arc, double u, double lo, double hi) {
    const double length =
        CTavroGeoArc::geoArcLength(arc.center, arc.start, arc.end, arc.radius, arc.clockwise);
    const double along = u * length;
    return lo <= along && along <= length + hi;
}

// Fraction of pt along the segment from the origin to end; -1.0 when pt is off it.
double segmentFraction(const AcGePoint2d& pt, const AcGePoint2d& end) {
    return CTavroGeoLine::geoPointAtParam(pt, AcGePoint2d(0.0, 0.0), end, 0.0,
                                          AcGeContext::gTol.equalPoint());
}

void appendHits(AcArray<AcGePoint2d>& pts, AcArray<double>& params,
                const AcArray<AcGePoint2d>& hits, const AcArray<double>& hitParams,
                double paramOffset) {
    for (int i = 0; i < hits.length() && i < hitParams.length(); ++i) {
        pts.append(hits[i]);
        params.append(hitParams[i] + paramOffset);
    }
}

// Number of points where the line x = v (or y = v) meets the circle of radius r about the
// origin: one only for an exact touch. NaN meets nothing.
int axisLineCount(double v, double r) {
    if (!(v * v <= r * r)) return 0;
    return v * v == r * r ? 1 : 2;
}

// The same for a slanted line: one when its distance from the centre is within 1e-10 of r.
// The textbook discriminant b^2 c^2 - (a^2 + b^2)(c^2 - a^2 r^2) equals
// a^2 (a^2 + b^2)(r^2 - distance^2), so a fixed bound on it would turn with the coefficients'
// scale: a segment 1e-3 long, or one rising a single bit over 100 units, would meet every
// circle it crosses at one "touching" point, its foot of the perpendicular.
int slantLineCount(double a, double b, double c, double r) {
    const double distance = std::fabs(c) / std::sqrt(a * a + b * b);
    if (std::fabs(distance - std::fabs(r)) < kClosedFormTol) return 1;
    return distance < std::fabs(r) ? 2 : 0;
}

// The points of the line a*x + b*y + c = 0 on the circle of radius r about the origin. Below
// two points both are the foot of the perpendicular; the first point lies towards +x when
// firstAlongX, else towards +y.
void chordPoints(double a, double b, double c, double r, int count, bool firstAlongX,
                 AcGePoint2d& p1, AcGePoint2d& p2) {
    p1 = p2 = AcGePoint2d(0.0, 0.0);
    if (!(a * a + b * b > 0.0)) return;
    const TavroKernel::CircleChord chord = TavroKernel::circleChord(a, b, c, r);
    p1 = p2 = chord.foot;
    if (count < 2) return;
    // A touch inside the tolerance may leave the squared half chord just below zero.
    const double half = std::sqrt(std::max(0.0, chord.halfSquared));
    AcGeVector2d along = chord.along;
    if (firstAlongX ? along.x < 0.0 : along.y < 0.0) along = -along;
    p1 = chord.foot + along * half;
    p2 = chord.foot - along * half;
}

// Hits of a bulge arc and a segment in the frame of the segment's start; the parameter kept is
// the segment fraction or the arc's angular parameter.
int arcSegmentHits(const AcGePoint2d& as, const AcGePoint2d& ae, double bulge,
                   const AcGePoint2d& ls, const AcGePoint2d& le, Window arcWindow, Window segWindow,
                   bool paramOnSegment, AcArray<AcGePoint2d>& pts, AcArray<double>& params) {
    const LocalArc arc = localArc(as, ae, bulge, ls);
    const AcGePoint2d segEnd = toLocal(le, ls);
    const TavroLine line = CTavroGeoGlobal::makeline(AcGePoint2d(0.0, 0.0), segEnd);
    const double squaredLength = segEnd.x * segEnd.x + segEnd.y * segEnd.y;
    AcGePoint2d hits[2];
    const int n = CTavroGeoArc::Circle_Line_Intersect(arc.center, arc.radius, line.a, line.b,
                                                      line.c, hits[0], hits[1]);
    for (int i = 0; i < n; ++i) {
        const double t = segmentFraction(hits[i], segEnd);
        const double u = paramOn(arc, hits[i]);
        // t = -1.0 marks a point off the segment, not a position before its start: on a
        // segment shorter than 1e-3 it would otherwise pass the window's -1e-6.
        const bool kept = t >= 0.0 && segWindow.lo <= t * squaredLength &&
                          t * squaredLength <= segWindow.hi &&
                          inArcWindow(arc, u, arcWindow.lo, arcWindow.hi);
        if (kept) {
            pts.append(toWorld(hits[i], ls));
            params.append(paramOnSegment ? t : u);
        } else if (n == 1) {
            return 0;
        }
    }
    return n == 0 ? 0 : pts.length();
}

// Arcs on one circle: the ends of the second arc that lie on the first (within the first's
// window), then the ends of the first that lie on the second (within the second's window),
// each with its parameter on the first arc. An end is tested against the window of the arc it
// is tested against only, so the end of an overlap at a shared vertex is kept whenever that
// arc admits it: the division engine cuts neighbouring parcels' shared arcs at these points.
void sharedCircleEnds(const AcGePoint2d& s1, const AcGePoint2d& e1, const LocalArc& arc1,
                      const AcGePoint2d& s2, const AcGePoint2d& e2, const LocalArc& arc2, Window w1,
                      Window w2, AcArray<AcGePoint2d>& pts, AcArray<double>& params) {
    const struct {
        AcGePoint2d world;
        double u1;
        bool onFirst; // tested against the first arc's window, else the second's
        double u2;
    } ends[] = {{s2, paramOn(arc1, arc2.start), true, 0.0},
                {e2, paramOn(arc1, arc2.end), true, 1.0},
                {s1, 0.0, false, paramOn(arc2, arc1.start)},
                {e1, 1.0, false, paramOn(arc2, arc1.end)}};
    for (const auto& end : ends) {
        const bool kept = end.onFirst ? inArcWindow(arc1, end.u1, w1.lo, w1.hi)
                                      : inArcWindow(arc2, end.u2, w2.lo, w2.hi);
        if (!kept) continue;
        pts.append(end.world);
        params.append(end.u1);
    }
}

// One piece of a bulge polyline with its window.
struct Piece {
    int index;
    AcGePoint2d start;
    AcGePoint2d end;
    double bulge;
    bool straight;
    Window window;
};

template <typename Visit>
void forEachPiece(const AcArray<AcGePoint2d>& nodes, const AcArray<double>& bulges, Visit visit) {
    const int n = nodes.length();
    for (int k = 0; k + 1 < n; ++k) {
        const double length = nodes[k].distanceTo(nodes[k + 1]);
        if (!(length >= Tavro::kShortPiece)) continue;
        const double bulge = bulgeAt(bulges, k);
        const bool straight = std::fabs(bulge) < Tavro::kIntersectStraightBulge;
        visit(Piece{k, nodes[k], nodes[k + 1], bulge, straight,
                    pieceWindow(length, straight, k + 2 == n)});
    }
}

// Runs one query against every piece of a polyline and collects the hits, parameters along
// the query; the arrays are emptied first and the result is their length.
template <class Query>
int queryPieces(const AcArray<AcGePoint2d>& nodes, const AcArray<double>& bulges,
                AcArray<AcGePoint2d>& pts, AcArray<double>& params, Query query) {
    pts.removeAll();
    params.removeAll();
    forEachPiece(nodes, bulges, [&](const Piece& piece) {
        AcArray<AcGePoint2d> hits;
        AcArray<double> hitParams;
        query(piece, hits, hitParams);
        appendHits(pts, params, hits, hitParams, 0.0);
    });
    return pts.length();
}

} // namespace

int CTavroGeoArc::Circle_Line_Intersect(AcGePoint2d center, double r, double a, double b, double c,
                                        AcGePoint2d& p1, AcGePoint2d& p2) {
    const double shifted = c + a * center.x + b * center.y;
    const bool smallA = std::fabs(a) <= kClosedFormTol;
    const bool smallB = std::fabs(b) <= kClosedFormTol;
    const bool horizontal = std::fabs(a) < kClosedFormTol && std::fabs(b) > kClosedFormTol;
    int count = 0;
    if (horizontal)
        count = axisLineCount(-shifted / b, r);
    else if (std::fabs(a) > kClosedFormTol && std::fabs(b) < kClosedFormTol)
        count = axisLineCount(-shifted / a, r);
    else if (!smallA && !smallB)
        count = slantLineCount(a, b, shifted, r);
    chordPoints(a, b, shifted, r, count, horizontal, p1, p2);
    p1 = toWorld(p1, center);
    p2 = toWorld(p2, center);
    return count;
}

Tavro::Relation CTavroGeoArc::Circle_Line_Intersect(const AcGePoint2d& center, double r,
                                                    const AcGePoint2d& p1, const AcGePoint2d& p2,
                                                    AcGePoint2d& q1, AcGePoint2d& q2) {
    const double length = p1.distanceTo(p2);
    // Two points closer than 1e-6 give no line to meet.
    if (!(length >= Tavro::kTol)) return Tavro::kRelationOutside;
    const double d = CTavroGeoPoint::geoVerticalDistance(center, p1, p2, false);
    // The touch tolerance reaches both ways, so that an exactly tangent line does not fall
    // to "apart" by its last bit.
    if (!(d < r + Tavro::kTol)) return Tavro::kRelationOutside;
    const AcGeVector2d dir = (p2 - p1) / length;
    // The unit normal from the centre towards the line, built from the line's own direction:
    // a direction angle would read a slope below 1e-6 as level.
    const bool centerRight = CTavroGeoGlobal::PointAtPlWhich(p1, p2, center) < 0;
    const AcGeVector2d toLine =
        centerRight ? AcGeVector2d(-dir.y, dir.x) : AcGeVector2d(dir.y, -dir.x);
    if (std::fabs(d - r) < Tavro::kTol) {
        q1 = center + toLine * r;
        return Tavro::kRelationTangent;
    }
    const AcGeVector2d side(-toLine.y, toLine.x);
    const double half = std::sqrt(r * r - d * d);
    q1 = center + toLine * d + side * half;
    q2 = center + toLine * d - side * half;
    return Tavro::kRelationCross;
}

int CTavroGeoArc::Circle_Circle_Intersect(AcGePoint2d c1, double r1, AcGePoint2d c2, double r2,
                                          AcGePoint2d& p1, AcGePoint2d& p2) {
    const double dx = c2.x - c1.x;
    const double dy = c2.y - c1.y;
    const double d2 = dx * dx + dy * dy;
    const double d = std::sqrt(d2);
    p1 = p2 = c1;
    if (!(d - r1 - r2 <= kClosedFormTol) || !(std::fabs(r1 - r2) - d <= kClosedFormTol)) return 0;
    const int count = std::fabs(d - r1 - r2) < kClosedFormTol ? 1 : 2;
    const bool sameCenter = std::fabs(dx) < kClosedFormTol && std::fabs(dy) < kClosedFormTol;
    if (sameCenter && std::fabs(r1 - r2) < kClosedFormTol) return -1;
    // The common chord lies on the line dx*x + dy*y = k about c1.
    const double k = (d2 + r1 * r1 - r2 * r2) / 2.0;
    chordPoints(dx, dy, -k, r1, count, std::fabs(dx) < kClosedFormTol, p1, p2);
    p1 = toWorld(p1, c1);
    p2 = toWorld(p2, c1);
    return count;
}

int CTavroGeoArc::ArcArcInter(AcGePoint2d s1, AcGePoint2d e1, double b1, AcGePoint2d s2,
                              AcGePoint2d e2, double b2, double lo1, double hi1, double lo2,
                              double hi2, AcArray<AcGePoint2d>& pts, AcArray<double>& params) {
    const LocalArc arc1 = localArc(s1, e1, b1, s1);
    const LocalArc arc2 = localArc(s2, e2, b2, s1);
    AcGePoint2d hits[2];
    const int n = Circle_Circle_Intersect(arc1.center, arc1.radius, arc2.center, arc2.radius,
                                          hits[0], hits[1]);
    if (n == 0) return 0;
    if (n < 0) {
        sharedCircleEnds(s1, e1, arc1, s2, e2, arc2, {lo1, hi1}, {lo2, hi2}, pts, params);
        return 0;
    }
    for (int i = 0; i < n; ++i) {
        const double u1 = paramOn(arc1, hits[i]);
        if (!inArcWindow(arc1, u1, lo1, hi1) ||
            !inArcWindow(arc2, paramOn(arc2, hits[i]), lo2, hi2))
            continue;
        pts.append(toWorld(hits[i], s1));
        params.append(u1);
    }
    return pts.length();
}

int CTavroGeoArc::ArcLineSegInter(AcGePoint2d as, AcGePoint2d ae, double b, AcGePoint2d ls,
                                  AcGePoint2d le, double arcLo, double arcHi, double segLo,
                                  double segHi, AcArray<AcGePoint2d>& pts,
                                  AcArray<double>& params) {
    return arcSegmentHits(as, ae, b, ls, le, {arcLo, arcHi}, {segLo, segHi}, false, pts, params);
}

int CTavroGeoArc::LineSegArcInter(AcGePoint2d ls, AcGePoint2d le, AcGePoint2d as, AcGePoint2d ae,
                                  double b, double segLo, double segHi, double arcLo, double arcHi,
                                  AcArray<AcGePoint2d>& pts, AcArray<double>& params) {
    return arcSegmentHits(as, ae, b, ls, le, {arcLo, arcHi}, {segLo, segHi}, true, pts, params);
}

int CTavroGeoArc::ArcMultiInter(const AcGePoint2d& s, const AcGePoint2d& e,
                                const AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges,
                                double lo, double hi, AcArray<AcGePoint2d>& pts,
                                AcArray<double>& params) {
    return queryPieces(nodes, bulges, pts, params, [&](const Piece& piece, auto& hits, auto& at) {
        if (piece.straight)
            CTavroGeoGlobal::FindIntersection(s, toLocal(e, s), piece.start,
                                              toLocal(piece.end, piece.start), lo, hi,
                                              piece.window.lo, piece.window.hi, hits, at);
        else
            LineSegArcInter(s, e, piece.start, piece.end, piece.bulge, lo, hi, piece.window.lo,
                            piece.window.hi, hits, at);
    });
}

int CTavroGeoArc::ArcMultiInter(const AcGePoint2d& s, const AcGePoint2d& e, double b,
                                const AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges,
                                double lo, double hi, AcArray<AcGePoint2d>& pts,
                                AcArray<double>& params) {
    return queryPieces(nodes, bulges, pts, params, [&](const Piece& piece, auto& hits, auto& at) {
        if (piece.straight)
            ArcLineSegInter(s, e, b, piece.start, piece.end, lo, hi, piece.window.lo,
                            piece.window.hi, hits, at);
        else
            ArcArcInter(s, e, b, piece.start, piece.end, piece.bulge, lo, hi, piece.window.lo,
                        piece.window.hi, hits, at);
    });
}

int CTavroGeoArc::polylineArcInter(const AcArray<AcGePoint2d>& nodesA, AcArray<double>& bulgesA,
                                   const AcArray<AcGePoint2d>& nodesB, AcArray<double>& bulgesB,
                                   AcArray<AcGePoint2d>& pts, AcArray<double>& params) {
    pts.removeAll();
    params.removeAll();
    int count = 0;
    forEachPiece(nodesA, bulgesA, [&](const Piece& piece) {
        AcArray<AcGePoint2d> hits;
        AcArray<double> hitParams;
        const Window& w = piece.window;
        count += piece.straight ? ArcMultiInter(piece.start, piece.end, nodesB, bulgesB, w.lo, w.hi,
                                                hits, hitParams)
                                : ArcMultiInter(piece.start, piece.end, piece.bulge, nodesB,
                                                bulgesB, w.lo, w.hi, hits, hitParams);
        const int found = hits.length();
        CTavroGeoPoint::geoRemoveSameNodes(hits, hitParams, kSameHit);
        count -= found - hits.length();
        appendHits(pts, params, hits, hitParams, piece.index);
    });
    return count;
}

AcDbExtents CTavroGeoArc::GetBulgePolyExtent(const AcArray<AcGePoint2d>& nodes,
                                             const AcArray<double>& bulges, bool closed, double) {
    AcDbExtents extents;
    const int n = nodes.length();
    if (n < 2) return extents;
    for (int i = 0; i + 1 < n; ++i)
        extents.addExt(geoArcExtends(nodes[i], nodes[i + 1], bulgeAt(bulges, i)));
    if (closed) extents.addExt(geoArcExtends(nodes[n - 1], nodes[0], bulgeAt(bulges, n - 1)));
    return extents;
}
