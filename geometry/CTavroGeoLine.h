#pragma once
// Straight lines and segments, and the measures of bulge polylines that walk them segment by
// segment. Every operation is static; the class carries no data.

#include "AcArray.h"
#include "AcDb.h"
#include "AcGe.h"
#include "TavroExport.h"
#include "TavroTypes.h"

#include <QList>
#include <QMap>
#include <QVector>

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
    // ---- Point and polygon relations ----
    // Relation codes: 1 on the boundary, 2 inside, 4 outside, their OR for mixed answers
    // (3, 5, 6, 7), 0 coinciding rings, 9 the second ring inside the first, -1 empty input.

    // pt against the ring with its arcs (a ray cast when it has any); -1 for an empty ring.
    static Tavro::Relation geoPointWithPolygonRelation(const AcGePoint2d& pt,
                                                       const AcArray<AcGePoint2d>& ring,
                                                       const AcArray<double>& bulges);
    // pt against a region: inside an island is outside; an island's boundary counts inside.
    static Tavro::Relation geoPointWithPolygonRelation(const AcGePoint2d& pt,
                                                       const Tavro::NodeIsland& region);
    // pt against a set: several members answer only 2 or 4.
    static Tavro::Relation geoPointWithPolygonRelation(const AcGePoint2d& pt,
                                                       const AcArray<Tavro::NodeIsland>& regions);
    // pt against the closed ring by the parity of crossings from the extents' left edge.
    static Tavro::PointPolygonRelation geoPointInPolygon(const Tavro::NodeBulge& ring,
                                                         const AcGePoint2d& pt);
    // The same for a region; an island's boundary counts as boundary.
    static Tavro::PointPolygonRelation geoPointInPolygon(const Tavro::NodeIsland& region,
                                                         const AcGePoint2d& pt);
    // The first member that does not answer 4 gives the answer; 4 for an empty set.
    static Tavro::PointPolygonRelation geoPointInPolygon(const AcArray<Tavro::NodeIsland>& regions,
                                                         const AcGePoint2d& pt);
    // Segment ab against the straight ring: the OR of what its ends and pieces meet.
    static Tavro::Relation geoLineWithPolyRelation(const AcArray<AcGePoint2d>& ring,
                                                   const AcGePoint2d& a, const AcGePoint2d& b);
    // Ring a against ring b by their edges; 0 when all of a lies on b and the fan areas agree
    // within tol, 9 when b lies inside a.
    static Tavro::Relation geoPolyWithPolyRelation(const AcArray<AcGePoint2d>& a,
                                                   const AcArray<AcGePoint2d>& b, double tol);
    // a lies inside or on b (or, with eitherWay, b inside or on a).
    static bool IsPolyInPoly(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b,
                             bool eitherWay);
    // Rings with arcs are compared as broken lines of 0.1 degree steps.
    static Tavro::Relation GetRelation(const Tavro::NodeBulge& a, const Tavro::NodeBulge& b);
    static Tavro::Relation GetRelation(const Tavro::NodeBulge& a, const Tavro::NodeIsland& b);
    static Tavro::Relation GetRelation(const Tavro::NodeIsland& a, const Tavro::NodeBulge& b);
    static Tavro::Relation GetRelation(const Tavro::NodeIsland& a, const Tavro::NodeIsland& b);
    // Relation of two sets of regions; -1 when either is empty.
    static Tavro::Relation GetPolygonRelation(const AcArray<Tavro::NodeIsland>& a,
                                              const AcArray<Tavro::NodeIsland>& b);
    // Ring index -> indices of the rings directly inside it, with the host's progress meter.
    static QMap<int, QList<int>> geoPolyInPolyMap(const QVector<AcArray<AcGePoint2d>>& rings,
                                                  const QVector<AcArray<double>>& bulges);
    // The vertex lies inside the ring of the other vertices (rings of 4 or more vertices).
    static bool isConcavePoint(const AcArray<AcGePoint2d>& ring, int index);
    static bool isConcavePoly(const AcArray<AcGePoint2d>& ring);
    // Every vertex and third-point of the polyline lies on the ring's boundary.
    static bool isLineSegmentInPoly(const AcArray<AcGePoint2d>& polyline,
                                    const AcArray<AcGePoint2d>& ring);
    // The same polygon, or every vertex of each within sqrt(tol) of the other (tol is squared).
    static bool isPolyMatch(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b,
                            double tol);
    // A point inside the ring from its first triangles; false (out untouched) when none is.
    static bool getRandomPointInNodesB(const AcArray<AcGePoint2d>& ring, AcGePoint2d& out);

    // ---- Polyline intersection and rebuilding ----

    // Hits of the open polyline b on the ring a, ordered along a, with parameters on a
    // (segment index + fraction); returns the number of points.
    static int polylineIntersection(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b,
                                    AcArray<AcGePoint2d>& points, AcArray<double>& params);
    // Crossings and overlaps of two open polylines keyed by their parameter on a.
    static QMap<double, AcGePoint2d> polylineIntersection(const AcArray<AcGePoint2d>& a,
                                                          const AcArray<AcGePoint2d>& b,
                                                          const AcGeTol& tol);
    // Runs of a's vertices that b shares, vertices matched as text of the given decimals.
    // The elementary regions the loops cut each other into (border extraction, no bulges,
    // regions above 1e-4) whose inner point lies inside exactly count of the loops; true when
    // out gained any.
    static bool getLoopsIntersection(const QVector<AcArray<AcGePoint2d>>& loops,
                                     QVector<AcArray<AcGePoint2d>>& out, int count);
    static QList<AcArray<AcGePoint2d>> geoPolyInterSet(const AcArray<AcGePoint2d>& a,
                                                       const AcArray<AcGePoint2d>& b,
                                                       bool addPoints, int precision);
    // Restarts the ring at a corner vertex (or the given index) and orients it; 4 for fewer
    // than 4 vertices.
    static Tavro::ErrorStatus geoResetPolyline(AcArray<AcGePoint2d>& pts, AcArray<double>& bulges,
                                               Tavro::RearrangementMode mode, int start,
                                               Tavro::SortMode sort);
    // Replaces the stretch between the first and last given points (on one segment) by them.
    static Tavro::NodeBulge geoCombinePointArray(const Tavro::NodeBulge& polyline,
                                                 const AcArray<AcGePoint2d>& add);
    // A copy of the input: the buffer is not built.
    static Tavro::NodeBulge geoBufferZone(const Tavro::NodeBulge& polyline, double distance,
                                          bool flag);
    // Rotates the array to start at its upper-left vertex (largest y - x).
    static void geoSortLeftUpPoints(AcArray<AcGePoint2d>& pts);
    // The same for a ring whose last vertex repeats its first, bulges along.
    static void geoSortLeftUpPoints(AcArray<AcGePoint2d>& pts, AcArray<double>& bulges);
};
