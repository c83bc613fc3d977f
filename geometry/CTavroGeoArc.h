#pragma once
// Questions about one circular arc, given by its ends and a bulge (chord form), by three points
// on it, or by its centre and two points on the circle (centre form, with a flag that picks the
// clockwise or the counterclockwise arc). Bulge = tan(theta/4), positive counterclockwise.

#include "AcArray.h"
#include "AcDb.h"
#include "AcGe.h"
#include "TavroExport.h"
#include "TavroTypes.h"

class TAVRO_API CTavroGeoArc {
public:
    CTavroGeoArc();
    CTavroGeoArc(const CTavroGeoArc& other);
    CTavroGeoArc& operator=(const CTavroGeoArc& other);
    virtual ~CTavroGeoArc();

    // Included angle 4 * atan(|bulge|), never negative.
    static double geoArcRadian(double bulge);
    // Radius; 0 when |bulge| < 1e-6 or the chord is shorter than 1e-6.
    static double geoArcRadius(const AcGePoint2d& start, const AcGePoint2d& end, double bulge);
    // Centre, left of start -> end for a counterclockwise minor arc; non-finite for bulge 0.
    static AcGePoint2d geoArcCenter(const AcGePoint2d& start, const AcGePoint2d& end, double bulge);
    // Radius (as geoArcRadius) and centre (as geoArcCenter) into the out-parameters.
    static void GetArcCoreRadius(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                                 AcGePoint2d& center, double& radius);
    // Arc length, never negative; the chord for |bulge| < 1e-6 (a straight segment).
    static double geoArcLength(const AcGePoint2d& start, const AcGePoint2d& end, double bulge);
    // Sector area, or the area between chord and arc when not sectorOnly; 0 when the radius is 0.
    static double geoArcArea(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                             bool sectorOnly);
    // End of the arc that leaves start about center; positive bulge turns counterclockwise.
    static AcGePoint2d geoArcEndPoint(const AcGePoint2d& center, const AcGePoint2d& start,
                                      double bulge);
    // Point at the angular fraction t of the arc (0 start, 1 end); non-finite for bulge 0.
    static AcGePoint2d geoArcPointAtParam(double t, const AcGePoint2d& start,
                                          const AcGePoint2d& end, double bulge);
    // As CTavroGeoPoint::GetPointAtParam: false outside [-1e-7, 1.0000001], straight below 1e-10.
    static bool GetPointAtParam(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                                double param, AcGePoint2d& out);
    // Parameter of pt, 0 at start to 1 at end, within tol (on the circle too); -1.0 off the arc.
    static double geoPointAtParam(const AcGePoint2d& pt, const AcGePoint2d& start,
                                  const AcGePoint2d& end, double bulge, double tol);
    // pt, assumed on the circle, lies on the arc: the arc lengths through it agree within 0.01.
    static bool geoArcPtInArc(const AcGePoint2d& pt, const AcGePoint2d& start,
                              const AcGePoint2d& end, double bulge);
    // Angular parameter of pt: 0 at start, 1 at end, negative in the gap nearer the start.
    static double GetParamAtArc(AcGePoint2d pt, AcGePoint2d center, AcGePoint2d start,
                                AcGePoint2d end, bool clockwise);
    // Extents (z = 0) of the arc: its ends and the quadrant points it passes.
    static AcDbExtents geoArcExtends(const AcGePoint2d& start, const AcGePoint2d& end,
                                     double bulge);
    // Start, then points 1/perDegree of a degree apart along the arc, end excluded; empty for
    // a negative perDegree.
    static AcArray<AcGePoint2d> geoArcBrokenLine(const AcGePoint2d& start, const AcGePoint2d& end,
                                                 double bulge, int perDegree);
    // Centre of the minor arc of the radius, turning clockwise or not; non-finite for equal x
    // of the ends or a radius below half the chord.
    static AcGePoint2d geoArcCenter(const AcGePoint2d& start, const AcGePoint2d& end, double radius,
                                    bool clockwise);
    // Bulge of the minor arc of the radius from start to end, negative when clockwise.
    static double geoArcBulge(const AcGePoint2d& start, const AcGePoint2d& end, double radius,
                              bool clockwise);
    // Bulge of the arc about center from start to end, negative when clockwise; 0 for a zero
    // chord.
    static double geoArcBulge(const AcGePoint2d& start, const AcGePoint2d& center,
                              const AcGePoint2d& end, bool clockwise);
    // Angle swept about center from start to end in the chosen direction, in [0, 2pi).
    static double geoArcRadian(const AcGePoint2d& start, const AcGePoint2d& center,
                               const AcGePoint2d& end, bool clockwise);
    // Length of the arc about center from start to end in the chosen direction.
    static double geoArcLength(const AcGePoint2d& center, const AcGePoint2d& start,
                               const AcGePoint2d& end, bool clockwise);
    // radius times the angle swept about center from start to end in the chosen direction.
    static double geoArcLength(const AcGePoint2d& center, const AcGePoint2d& start,
                               const AcGePoint2d& end, double radius, bool clockwise);
    // Sector (or chord-arc segment) area of the arc about center from start to end.
    static double geoArcArea(const AcGePoint2d& start, const AcGePoint2d& center,
                             const AcGePoint2d& end, bool clockwise, bool sectorOnly);
    // Circle through three points; false, out-parameters untouched, for coincident or collinear
    // points.
    static bool Circle3Pt(AcGePoint2d p1, AcGePoint2d p2, AcGePoint2d p3, AcGePoint2d& center,
                          double& radius);
    // Centre of the circle through the three points; non-finite when they are collinear.
    static AcGePoint2d geoArcCenterAny3Point(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                             const AcGePoint2d& p3);
    // Radius of the circle through the three points; non-finite when they are collinear.
    static double geoArcRadiusAny3Point(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                        const AcGePoint2d& p3);
    // Included angle of the arc from p1 through p2 to p3, in [0, 2pi].
    static double geoArcRadianAny3Point(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                        const AcGePoint2d& p3);
    // Length of the arc from p1 through p2 to p3.
    static double geoArcLengthAny3Point(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                        const AcGePoint2d& p3);
    // Sector area of the arc from p1 through p2 to p3.
    static double geoArcAreaAny3Point(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                      const AcGePoint2d& p3);
    // Bulge from p1 to p3 through p2, negative when clockwise; 0 when no circle exists.
    static double geoArcBulgeAny3Point(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                       const AcGePoint2d& p3);
    // geoArcBrokenLine from p1 to p3 with the bulge through p2.
    static AcArray<AcGePoint2d> geoArcBrokenLineAny3Point(const AcGePoint2d& p1,
                                                          const AcGePoint2d& p2,
                                                          const AcGePoint2d& p3, int perDegree);
    // As CTavroGeoPoint::scale: pt moves to factor times its distance from base.
    static void scale(AcGePoint2d& pt, const AcGePoint2d& base, double factor);

    // ---- Intersections of circles, arcs, segments and bulge polylines ----
    // The bounded routines move their input so that the query's first point (for an arc against
    // a segment: the segment's start) is the origin, intersect the supporting circles and lines
    // there, and keep a hit only inside a window per piece: along an arc u*L within [lo, L + hi]
    // (u the angular parameter, L the arc length), along a segment t*|ls le|^2 within [lo, hi]
    // (t the fraction). A polyline piece of length d gets (-1e-6, d^2 + 1e-12 -+ 2d*1e-6) when
    // straight and (-1e-6, -+1e-6) when an arc, minus on inner pieces and plus on the last, so
    // a hit at an inner vertex counts once and the last vertex counts. Kept hits are appended
    // in the caller's frame with their parameter on the query. A bulge below 1e-10 is straight;
    // a missing bulge is 0; pieces shorter than 1e-10 are skipped.

    // Hits (0, 1 or 2) of the circle with the line a*x + b*y + c = 0; 1 when the line's distance
    // from the centre is within 1e-10 of r (exactly r for a line with |a| or |b| below 1e-10).
    // p1 has the larger y (the larger x for a level line).
    static int Circle_Line_Intersect(AcGePoint2d center, double r, double a, double b, double c,
                                     AcGePoint2d& p1, AcGePoint2d& p2);
    // Circle against the line through p1 and p2: 4 apart (or no line), 8 touching within 1e-6
    // (q1 on the circle), 6 crossing (q1 then q2, counterclockwise seen from the centre).
    static Tavro::Relation Circle_Line_Intersect(const AcGePoint2d& center, double r,
                                                 const AcGePoint2d& p1, const AcGePoint2d& p2,
                                                 AcGePoint2d& q1, AcGePoint2d& q2);
    // Hits (0, 1 touching outside within 1e-10, 2) of two circles, -1 for the same circle;
    // an inside touch gives 2 equal points.
    static int Circle_Circle_Intersect(AcGePoint2d c1, double r1, AcGePoint2d c2, double r2,
                                       AcGePoint2d& p1, AcGePoint2d& p2);
    // Hits of two bulge arcs inside both windows, with their parameter on the first; returns
    // the length of pts, or 0 for arcs on one circle (the ends of each lying on the other are
    // still appended when inside both windows).
    static int ArcArcInter(AcGePoint2d s1, AcGePoint2d e1, double b1, AcGePoint2d s2,
                           AcGePoint2d e2, double b2, double lo1, double hi1, double lo2,
                           double hi2, AcArray<AcGePoint2d>& pts, AcArray<double>& params);
    // Hits of a bulge arc and a segment inside both windows, with their parameter on the arc;
    // the length of pts, but 0 when a single touching candidate is rejected.
    static int ArcLineSegInter(AcGePoint2d as, AcGePoint2d ae, double b, AcGePoint2d ls,
                               AcGePoint2d le, double arcLo, double arcHi, double segLo,
                               double segHi, AcArray<AcGePoint2d>& pts, AcArray<double>& params);
    // As ArcLineSegInter, with the windows in the other order and fractions on the segment.
    static int LineSegArcInter(AcGePoint2d ls, AcGePoint2d le, AcGePoint2d as, AcGePoint2d ae,
                               double b, double segLo, double segHi, double arcLo, double arcHi,
                               AcArray<AcGePoint2d>& pts, AcArray<double>& params);
    // Hits of segment se (window lo, hi) with the open bulge polyline, fractions on se; the
    // arrays are replaced and the result is their length.
    static int ArcMultiInter(const AcGePoint2d& s, const AcGePoint2d& e,
                             const AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges, double lo,
                             double hi, AcArray<AcGePoint2d>& pts, AcArray<double>& params);
    // Hits of the arc (s, e, b) (window lo, hi) with the open bulge polyline, angular
    // parameters on the arc; the arrays are replaced and the result is their length.
    static int ArcMultiInter(const AcGePoint2d& s, const AcGePoint2d& e, double b,
                             const AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges, double lo,
                             double hi, AcArray<AcGePoint2d>& pts, AcArray<double>& params);
    // Hits of two open bulge polylines with parameters on A (piece index + fraction); repeats
    // within 1e-12 on one piece of A are dropped. The arrays are replaced.
    static int polylineArcInter(const AcArray<AcGePoint2d>& nodesA, AcArray<double>& bulgesA,
                                const AcArray<AcGePoint2d>& nodesB, AcArray<double>& bulgesB,
                                AcArray<AcGePoint2d>& pts, AcArray<double>& params);
    // Extents (z = 0) of the bulge polyline, closing piece included when closed; empty for
    // fewer than two nodes. The trailing double is not used.
    static AcDbExtents GetBulgePolyExtent(const AcArray<AcGePoint2d>& nodes,
                                          const AcArray<double>& bulges, bool closed, double);
};
