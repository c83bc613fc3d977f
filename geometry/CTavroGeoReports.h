#pragma once
// Reports that gather several measures of one bulge polyline for a caller that wants them all at
// once (the tavro program prints them): every number comes from the measure functions of
// CTavroGeoPoint and CTavroGeoLine, arcs included, so a report and the single calls agree
// exactly. Also the conversions a drawing reader or writer needs: circles and arcs given by
// centre and angles as bulge polylines, and the clean-up after arc recovery.

#include "AcArray.h"
#include "AcDb.h"
#include "AcGe.h"
#include "TavroExport.h"
#include "TavroTypes.h"

// The measures of a bulge polyline taken as a ring closed back to its first vertex.
struct TAVRO_API TavroRingMeasures {
    int vertices = 0;
    // The polyline as listed (open), arcs along their curve (CTavroGeoPoint::geoLength).
    double length = 0.0;
    // The ring, closing segment included (CTavroGeoLine::GetBulgeLineLength, closed).
    double perimeter = 0.0;
    // Positive for clockwise order (CTavroGeoPoint::geoArea with the bulges).
    double area = 0.0;
    // Of the vertices and arcs (CTavroGeoLine::geoLineExtends).
    AcDbExtents extents;
    bool hasCentroid = false;
    AcGePoint2d centroid;
    // A point strictly inside the ring (CTavroGeoPoint::geoLabelPoint).
    bool hasLabel = false;
    AcGePoint2d label;
    // The minimum-area rectangle round the ring with its arcs, and its area (0 unless it has
    // four corners).
    AcArray<AcGePoint2d> minRect;
    double minRectArea = 0.0;

    // Whether length, area and extents are finite, and the perimeter when there are two
    // vertices or more: false when the coordinates are too large for the measures.
    bool finite() const;
};

class TAVRO_API CTavroGeoReports {
public:
    virtual ~CTavroGeoReports();

    static TavroRingMeasures ringMeasures(const AcArray<AcGePoint2d>& nodes,
                                          const AcArray<double>& bulges);

    // A region as the border extraction returns it, made ready to show: one bulge per vertex (0
    // where missing), a reversed straight side's -0 made 0, its unsigned area with arcs and a
    // point strictly inside; false when no area or inside point can be computed.
    static bool regionMeasures(Tavro::NodeBulge& ring, double& area, AcGePoint2d& label);

    // The extents of a bulge polyline with its arcs; with closed, of its closing side too.
    static AcDbExtents polylineExtents(const Tavro::NodeBulge& shape, bool closed);

    // The number of pieces the flattening of CTavroGeoLine::GetNodesHaveArc cuts the side from
    // vertex i into, by its rule trunc(sweep / step) + 1: step is angleStep (radians), or with
    // arcStep > 0 the angle of an arcStep long arc. 1 for a side that stays straight: a bulge at
    // most 0.001 in magnitude when cut by angle (0 when by length), a bad radius, or the closing
    // side of an open polyline.
    static double flattenedPieces(const Tavro::NodeBulge& shape, int i, bool open, double angleStep,
                                  double arcStep);

    // The arc about center running counterclockwise from startDegrees to endDegrees (a sweep
    // taken modulo 360, a zero sweep a full turn) as an open bulge polyline; above 270 degrees
    // it is cut in two halves so no bulge grows without bound. Non-finite input gives
    // non-finite vertices, for the caller to refuse.
    static Tavro::NodeBulge arcPolyline(const AcGePoint2d& center, double radius,
                                        double startDegrees, double endDegrees);
    // The circle as a closed polyline of two half circles, starting and ending at its east
    // point.
    static Tavro::NodeBulge circlePolyline(const AcGePoint2d& center, double radius);

    // After arc recovery (CTavroGeoLine::geoDeconvolution from in to out): takes back the
    // recovered arcs that replace fewer than minChords chords of the input, so that a regular
    // polygon is not read as a circle. Each vertex of out is found again in in, in order; an arc
    // of out that is new (its bulge differs from the input's) and spans too few input chords
    // gets its input vertices back; when no new arc is left, out becomes in. False when out
    // cannot be matched to in; out is then left as it was.
    static bool keepShortArcRunsAsDrawn(const Tavro::NodeBulge& in, bool closed, int minChords,
                                        Tavro::NodeBulge& out);
};
