#pragma once
// Low-level workers under the relation and intersection code: segment intersection with
// parameter windows, sides of lines, nearest points, the chord-arc area of a bulge segment, and
// the splitting of arcs at their axis-extreme points.
//
// Parameter windows are in signed squared length along a segment (a hit behind its start counts
// negative), so a window (-1e-12, |PQ|^2 + 1e-12 -/+ 2|PQ| 1e-6) excludes or includes the end.
// A division-point list is points with their polyline parameters (segment index + fraction).

#include "AcArray.h"
#include "AcGe.h"
#include "TavroExport.h"
#include "TavroTypes.h"

class TAVRO_API CTavroGeoGlobal {
public:
    CTavroGeoGlobal();
    CTavroGeoGlobal(const CTavroGeoGlobal& other);
    CTavroGeoGlobal& operator=(const CTavroGeoGlobal& other);
    virtual ~CTavroGeoGlobal();

    // The line a*x + b*y + c = 0 through a and b, with a never negative.
    static TavroLine makeline(const AcGePoint2d& a, const AcGePoint2d& b);
    static double square2dDist(const AcGePoint2d& a, const AcGePoint2d& b);
    // 1 when q lies left of p1 -> p2, -1 right, 0 exactly on the line (no tolerance).
    static int PointAtPlWhich(const AcGePoint2d& p1, const AcGePoint2d& p2, const AcGePoint2d& q);
    // a and b lie strictly on opposite sides of the line cd; touching is no crossing.
    static bool isPl1CrossPl2(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c,
                              const AcGePoint2d& d);
    // Segment ab properly crosses an edge of the ring (closing edge included).
    static bool isPlCrossPolygon(const AcGePoint2d& a, const AcGePoint2d& b,
                                 const AcArray<AcGePoint2d>& ring);
    // Overlap of [lo1, hi1] and [lo2, hi2]: 0, 1 (touching ends) or 2 values into w.
    static int FindIntersection(double lo1, double hi1, double lo2, double hi2, double* const w);
    // Segments P0 + s*D0 and P1 + t*D1 (s, t in [0, 1]) with windows [s0, s1] and [t0, t1];
    // the hits replace the contents of pts with their parameters s in params.
    static int FindIntersection(const AcGePoint2d& P0, const AcGePoint2d& D0, const AcGePoint2d& P1,
                                const AcGePoint2d& D1, double s0, double s1, double t0, double t1,
                                AcArray<AcGePoint2d>& pts, AcArray<double>& params);
    // Hits of PQ with the open polyline, each counted once: a hit at an inner vertex belongs to
    // the later segment, the polyline's last vertex counts. Parameters are along PQ.
    static int multiIntersection(const AcGePoint2d& P, const AcGePoint2d& Q,
                                 const AcArray<AcGePoint2d>& polyline, double s0, double s1,
                                 AcArray<AcGePoint2d>& pts, AcArray<double>& params);
    // Mean distance from pt to the vertices; 0 for an empty array.
    static double calPtToPl(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& pts);
    // Nearest point of the straight polyline to pt into out and its distance; -1.0 when empty.
    static double GetCloseDistOfNodes(AcGePoint2d& out, const AcGePoint2d& pt,
                                      const AcArray<AcGePoint2d>& pts, bool closed);
    // Area between the chord ab and its arc, never negative; 0 for |bulge| < 1e-12.
    static double Get2BulgeLineArea(const AcGePoint2d& a, const AcGePoint2d& b, double bulge);
    // Appends the top, left, bottom, right extreme points strictly inside the arc ab (x extremes
    // when addX, y extremes when addY) with parameter index + fraction.
    static void GetBugleLineDivPoint(int index, const AcGePoint2d& a, const AcGePoint2d& b,
                                     double bulge, bool addX, bool addY, AcArray<AcGePoint2d>& pts,
                                     AcArray<double>& params);
    // The extreme points of every arc of the polyline; false for fewer than two vertices.
    static bool BulgePolyAddDivPoint(const AcArray<AcGePoint2d>& nodes,
                                     const AcArray<double>& bulges, bool closed, bool addX,
                                     bool addY, AcArray<AcGePoint2d>& pts, AcArray<double>& params);
    // The polyline with every arc split at its axis-extreme points; a closed one comes back
    // with its first vertex repeated at the end. The last output bulge is 0.
    static void AnalyzeBulgePolyline(AcArray<AcGePoint2d> nodes, AcArray<double> bulges,
                                     bool closed, bool addX, bool addY,
                                     AcArray<AcGePoint2d>& outNodes, AcArray<double>& outBulges);
    // A point well inside the straight ring for a label: the first of its box centre, vertex
    // mean and centroid that lies inside, else the best chord midpoint, else the polyline's
    // half-way point; (0, 0) for an empty ring. Vertices within 1e-6 of their predecessor are
    // left out first, so repeats do not move the answer.
    static AcGePoint2d GetPlineMiddlePoint(const AcArray<AcGePoint2d>& ring);
    // Sorts the parallel arrays together by ascending key; the two ints take no part.
    static void QuickSort(AcArray<double>& keys, AcArray<AcGePoint2d>& pts, int low, int high);
};
