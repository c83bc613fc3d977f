#pragma once
// The geometry kernel: the plane questions that several parts of the library ask, answered once
// each. Built into the library, never installed. Where callers must keep different tolerances or
// end rules, the kernel takes them from the caller; it does not average them away.
//
// Routines and their callers:
// - arcCenter, arcSweep: the centre and signed sweep of a bulge arc. CTavroGeoArc (every arc
//   measure), the host polyline's pieces (AcDbPolyline, AcDbPolylineBand) and the row crossings.
// - bulgeArc: centre, radius, start direction and sweep together, or false for a straight piece
//   (bulge 0 or not finite, zero chord). The host's curve pieces.
// - sweepFraction: where a direction lies along an arc's sweep, points in the gap split towards
//   the nearer end. The host's curve pieces (closest points, hits, extents) and the row
//   crossings (the circle's top and bottom).
// - chordArcArea: the area between chord and arc, by the series where the closed form cancels.
//   CTavroGeoGlobal's bulge areas.
// - partBulge: the bulge of a part of an arc. Cutting polylines (CTavroGeoGlobal,
//   CTavroGeoLine's rebuild) and the division engine, through CTavroGeoInternal::partBulge.
// - lineCross: the parameters at which two lines p + t r and q + u s meet. The host's segment
//   (AcGeLineSeg2d), the host's piece intersections and CTavroGeoGlobal's segment intersection;
//   each keeps its own parallel test and parameter windows.
// - chordFrame, lineOnChordCircle, quadraticRoots: a bulge arc's circle about its chord's
//   middle, where flat arcs keep their precision. The host's piece intersections (line and
//   arc, arc and arc).
// - circleChord: where a line meets a circle, as the foot of the perpendicular from the centre
//   and the squared half chord; each caller keeps its own touch rule. CTavroGeoArc's closed
//   forms (circle and line, two circles through their common chord), which are given a centre
//   and a radius.
// - polylineVertexCount, buildPolyline: a host polyline from vertex and bulge arrays, closed
//   when the last vertex repeats the first. The relation, measure and cutting code.
// - rayCastRelation: a point against a ring with arcs by a ray cast on the host's curves (the
//   pieces near the first ray only, for long rings). geoPointWithPolygonRelation.
// - turn, convexHull: the orientation of three points and the convex hull by the monotone
//   chain. The rotated extents of CTavroGeoPoint (the nodes near the hull) and the minimum-area
//   rectangle of rings with arcs.
// - rowCrossings: the crossings of a bulge piece with the row to the right of a point, half
//   open, arcs cut at their circle's top and bottom. The point-in-ring family and the ray cast's
//   straight rings (through CTavroGeoInternal::rowCrossings and rowCrossingParity).
//
// Left with their callers on purpose, because their arithmetic is part of a published answer:
// - An arc's extreme points. The host's extents and the row crossings take the quadrant
//   directions that sweepFraction puts strictly inside the sweep; CTavroGeoArc::geoArcExtends
//   keeps its own rule (a quadrant point on the arc by length, or by angular parameter).
// - The flattening's arc (CTavroGeoLineArcs): it places the centre by the sagitta from the
//   chord's middle, and every vertex it writes depends on those bits.
// - Walking the pieces of a bulge polyline: each caller skips short pieces and sets parameter
//   windows by its own rule (the arc intersections, the host polyline, the cutting code).

#include "AcArray.h"
#include "AcGe.h"

#include <cmath>
#include <vector>

class AcDbPolyline;

namespace TavroKernel {

// Centre of the arc from a to b whose bulge (tan of a quarter of the sweep, positive
// counterclockwise) is given: the chord's middle plus k/2 times its left normal,
// k = (1/bulge - bulge)/2. Not finite for a zero bulge.
AcGePoint2d arcCenter(const AcGePoint2d& a, const AcGePoint2d& b, double bulge);
// The signed sweep 4 atan(bulge), positive counterclockwise.
double arcSweep(double bulge);

struct BulgeArc {
    AcGePoint2d center;
    double radius = 0.0;
    double startAngle = 0.0; // direction of a from the centre, in [0, 2 pi)
    double sweep = 0.0;      // signed
};
// The arc from a to b with the bulge; false for a straight piece.
bool bulgeArc(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, BulgeArc& arc);

// Fraction of the sweep at which the direction angle lies: 0 at the start, 1 at the end;
// directions in the gap come out below 0 (nearer the start) or above 1 (nearer the end).
double sweepFraction(double startAngle, double sweep, double angle);

// Area between a chord and its arc of included angle theta (never negative):
// r^2 (theta - sin theta) / 2, by its series below theta = 1e-3.
double chordArcArea(double chord, double theta);
// The bulge of the part of an arc that spans the given fraction of its sweep.
double partBulge(double bulge, double fraction);

// The line a x + b y + c = 0, written in the frame of a circle's centre, against the circle of
// radius r: the foot of the perpendicular from the centre, the line's unit direction
// (b, -a) / |(a, b)|, and the squared half chord r^2 - c^2 / (a^2 + b^2), negative when the line
// passes the circle. The points are foot +- along * sqrt(halfSquared): moving from the foot
// keeps the points of a nearly axis-parallel line, which solving for one coordinate loses.
// Two circles meet on their common chord, dx x + dy y = (d^2 + r1^2 - r2^2) / 2 about the first
// centre. Not finite for a = b = 0.
struct CircleChord {
    AcGePoint2d foot;
    AcGeVector2d along;
    double halfSquared;
};
// Inline: the closed forms call it once per pair of pieces.
inline CircleChord circleChord(double a, double b, double c, double r) {
    const double norm2 = a * a + b * b;
    const double norm = std::sqrt(norm2);
    return {AcGePoint2d(-c * a / norm2, -c * b / norm2), AcGeVector2d(b / norm, -a / norm),
            r * r - c * c / norm2};
}

// A bulge arc's circle written about the middle of its chord: with u along the chord (start to
// end), v to its left, h the half chord and yc the centre's offset along v, the circle is
// x^2 + y^2 - 2 yc y - h^2 = 0 in the frame (mid; u, v). A flat arc's centre lies far away and
// the centre form's r^2 - d^2 then cancels to a few units of a huge number (0.1 m off on a 50 m
// chord of bulge 1e-7); in this frame nothing large is subtracted. The chord must not be zero.
struct ChordFrame {
    AcGePoint2d mid;
    AcGeVector2d u, v;
    double h;
    double yc;
    AcGeVector2d toFrame(const AcGeVector2d& w) const;
    AcGePoint2d toWorld(const AcGePoint2d& local) const;
};
ChordFrame chordFrame(const AcGePoint2d& start, const AcGePoint2d& end, const AcGePoint2d& center);
// The line p + t d (world) against the frame's circle as a t^2 + 2 b t + c = 0.
struct Quadratic {
    double a, b, c;
};
Quadratic lineOnChordCircle(const ChordFrame& f, const AcGePoint2d& p, const AcGeVector2d& d);
// The roots of q, ascending, for the discriminant b^2 - a c given by the caller (who decides
// when a slightly negative one is a touch): 0, 1 (disc 0) or 2, by the form that keeps the
// small root's precision.
int quadraticRoots(const Quadratic& q, double disc, double t[2]);

// The parameters at which the lines p + t r and q + u s meet, and r x s (zero for parallel
// lines, when t and u are not finite).
struct LineCross {
    double denom;
    double t;
    double u;
};
LineCross lineCross(const AcGePoint2d& p, const AcGeVector2d& r, const AcGePoint2d& q,
                    const AcGeVector2d& s);

// Twice the signed area of the triangle o, a, b: positive when a -> b turns left about o.
double turn(const AcGePoint2d& o, const AcGePoint2d& a, const AcGePoint2d& b);
// The convex hull, counterclockwise from the lowest-x point, without collinear or repeated
// vertices (a single point stays one point).
std::vector<AcGePoint2d> convexHull(std::vector<AcGePoint2d> points);

// Crossings of the row through pt, to the right of pt, with the piece from a to b (an arc when
// the bulge is finite and not 0 and the chord not zero). Arcs are cut at their highest and
// lowest points so every part rises or falls; each part counts half-open (its lower end on the
// row counts, its upper end does not).
int rowCrossings(const AcGePoint2d& pt, const AcGePoint2d& a, const AcGePoint2d& b, double bulge);

// The number of vertices a polyline built from nodes keeps (the last one dropped when it
// repeats the first within 1e-6), and whether it is closed.
int polylineVertexCount(const AcArray<AcGePoint2d>& nodes, bool& closed);
// Fills a new polyline from vertices and bulges (a missing bulge is 0); 0, or 3 (invalid input)
// for no vertices or no polyline.
int buildPolyline(AcDbPolyline* polyline, const AcArray<AcGePoint2d>& nodes,
                  const AcArray<double>& bulges);
// pt against the ring as a curve: 1 within 1e-6 of it, else 2 or 4 by the parity of a ray cast
// that turns by 5 degrees while a hit is ambiguous; -1 when no curve can be built.
int rayCastRelation(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& ring,
                    const AcArray<double>& bulges);

} // namespace TavroKernel
