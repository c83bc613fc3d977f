#pragma once
// Straight lines and segments, and the measures of bulge polylines that walk them segment by
// segment. Every operation is static; the class carries no data.

#include "AcArray.h"
#include "AcDb.h"
#include "AcGe.h"
#include "TavroExport.h"
#include "TavroTypes.h"

#include <QList>

class TAVRO_API CTavroGeoLine {
public:
    CTavroGeoLine();
    CTavroGeoLine(const CTavroGeoLine& other);
    CTavroGeoLine& operator=(const CTavroGeoLine& other);
    virtual ~CTavroGeoLine();

    // ---- Line equations ----

    // Line a*x + b*y + c = 0 through p1, p2; vertical (1, 0, -x1) when |dx| < 1e-6, else a >= 0.
    static TavroLine geoCreateLinearEquation(const AcGePoint2d& p1, const AcGePoint2d& p2);
    // 11 perpendicular, 10 parallel or coincident, 3 crossing; products within 1e-6 count as zero.
    static Tavro::RelationEnum geoLineRelation(const TavroLine& l1, const TavroLine& l2);

    // ---- Segment tests ----

    // Segment p1p2 parallel to p3p4: the unnormalised cross product is below 1e-6.
    static bool geoLineIsParallel(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                  const AcGePoint2d& p3, const AcGePoint2d& p4);
    // Segments p1p2 and p3p4 meet; with includeEnds a touching end or a collinear overlap counts.
    static bool geoIntersectWith(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                 const AcGePoint2d& p3, const AcGePoint2d& p4, bool includeEnds);
    // Boxes (min1, max1) and (min2, max2) overlap; closed, so touching boxes overlap.
    static bool geoIsIntersection(const AcGePoint2d& min1, const AcGePoint2d& max1,
                                  const AcGePoint2d& min2, const AcGePoint2d& max2);
    // pt lies on segment ab: | |ab| - |pt a| - |pt b| | < tol.
    static bool geoPointInLine(const AcGePoint2d& pt, const AcGePoint2d& a, const AcGePoint2d& b,
                               double tol);
    // a->b runs towards +x within 1e-6 of direction angle 0; a->b towards -x does not count.
    static bool geoIsHorizontal(const AcGePoint2d& a, const AcGePoint2d& b);

    // ---- Nearest and perpendicular points ----

    // Nearest point of segment ab to pt; with endsOnly the nearer end, b on a tie.
    static AcGePoint2d geoNearestPoint(const AcGePoint2d& pt, const AcGePoint2d& a,
                                       const AcGePoint2d& b, bool endsOnly);
    // Foot of the perpendicular from pt on the infinite line ab (not clamped to the segment).
    static AcGePoint2d geoVerticalPoint(const AcGePoint2d& pt, const AcGePoint2d& a,
                                        const AcGePoint2d& b);
    // Least distance from pt to the open polyline; 99999999.0 with fewer than two vertices.
    static double geoPointDistPolyline(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& pts);

    // ---- Lengths ----

    // Length of one bulge segment; a bulge below 1e-7 in magnitude is straight.
    static double GetBulgeLineLength(const AcGePoint2d& a, const AcGePoint2d& b,
                                     const double& bulge);
    // Length of a bulge polyline (closing segment if closed); -1.0 unless n >= 2 and n bulges.
    static double GetBulgeLineLength(const AcArray<AcGePoint2d>& pts, const AcArray<double>& bulges,
                                     const bool& closed);
    // Length of the arc from a to b about center, clockwise or not; equal angles give 0.
    static double GetArcLength(const AcGePoint2d& center, double radius, const AcGePoint2d& a,
                               const AcGePoint2d& b, const bool& clockwise);

    // ---- Parameters along segments and polylines ----

    // Parameter of pt, 0 at a to 1 at b, within tol; -1.0 off it; 0.0 near a chord under 1e-6.
    static double geoPointAtParam(const AcGePoint2d& pt, const AcGePoint2d& a, const AcGePoint2d& b,
                                  double bulge, double tol);
    // Segment index + fraction of pt on the open polyline, smallest fraction wins; -1.0 off it.
    static double geoPointAtParam(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& pts,
                                  const AcArray<double>& bulges, double tol);

    // ---- Vertex lists ----

    // Inserts pt into the first segment that holds it (not within 1e-6 of its ends); true if so.
    static bool geoAddPointToLine(AcArray<AcGePoint2d>& pts, const AcGePoint2d& pt);
    // Inserts every point of add in order; answers how many were inserted.
    static int geoAddPointToLine(AcArray<AcGePoint2d>& pts, const AcArray<AcGePoint2d>& add);
    // First vertex within 1e-6 of pt: index set and true; index untouched when none.
    static bool geoFindPtInNode(const AcArray<AcGePoint2d>& pts, const AcGePoint2d& pt, int& index);

    // ---- Polygons and polylines ----

    // pt inside the straight ring by crossing parity; boundary points fall either way; tol unused.
    static bool geoPointInNode(const AcArray<AcGePoint2d>& pts, const AcGePoint2d& pt, double tol);
    // pt lies on the open bulge polyline within the global point tolerance.
    static bool geoPointOnPoly(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& pts,
                               const AcArray<double>& bulges);
    // Extents (z = 0), a last bulge closing to vertex 0; empty for no nodes or bulge count != n.
    static AcDbExtents geoLineExtends(const AcArray<AcGePoint2d>& pts,
                                      const AcArray<double>& bulges);

    // ---- Arc flattening and recovery ----

    // Broken line into out (cleared): arcs cut into trunc(sweep/step) + 1 pieces (at most 2^20),
    // step in degrees, vertices on the arc or (method 1) pushed out to keep its area; bulges
    // <= 0.001 or not one per vertex stay chords; closed bends the last segment, ends on vertex 0.
    static bool GetNodesHaveArc(const AcArray<AcGePoint2d>& pts, const AcArray<double>& bulges,
                                AcArray<AcGePoint2d>& out, bool closed, double angleStep,
                                Tavro::ZheXianHuaMethod method);
    // Appends the open broken line, pieces of about arcStep arc length (arc ends twice); a
    // missing or last bulge is straight; false for no vertices or |arcStep| < 0.001.
    static bool GetNodesHaveArc(AcArray<AcGePoint2d>& out, const AcArray<AcGePoint2d>& pts,
                                const AcArray<double>& bulges, double arcStep,
                                Tavro::ZheXianHuaMethod method);
    // Appends the vertex indices where runs of equal chords (within tol) on one circle begin
    // and end; the last three chords stand alone. true when an arc ran to the end.
    static bool GetBreakPtofNodes(const AcArray<AcGePoint2d>& pts, QList<long>& breaks, double tol);
    // Mode 5 drops the middle break of two equal chords between equal flanks up to 10 % shorter
    // (within 1e-6); other modes drop nothing. true when a break was dropped.
    static bool GetInterpolationBreakNodes(const AcArray<AcGePoint2d>& pts, QList<long>& breaks,
                                           int mode);
    // Each run of equal chords on one circle (within tol) becomes one bulge vertex; false with
    // outputs untouched for n < 4 or bulges != n, emptied when no run is found.
    static bool geoDeconvolution(AcArray<AcGePoint2d>& outPts, AcArray<double>& outBulges,
                                 const AcArray<AcGePoint2d>& pts, const AcArray<double>& bulges,
                                 bool closed, double tol);
};
