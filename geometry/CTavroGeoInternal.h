#pragma once
// The geometry's internal helpers that more than one class needs. Not part of the public
// interface; exported only so the project's own tests can reach them.

#include "AcArray.h"
#include "AcGe.h"
#include "TavroExport.h"
#include "TavroTypes.h"

#include <QMap>
#include <QVector>

#include <vector>

class AcDbPolyline;
class AcGeVector3d;

class TAVRO_API CTavroGeoInternal {
public:
    CTavroGeoInternal();
    virtual ~CTavroGeoInternal();

    // Fills a new polyline from vertices and bulges: a last vertex within 1e-6 of the first is
    // dropped and the polyline closed; a missing bulge is 0. Returns 0, or 3 (invalid input)
    // for no vertices or no polyline.
    static int buildPolyline(AcDbPolyline* polyline, const AcArray<AcGePoint2d>& nodes,
                             const AcArray<double>& bulges);
    // The number of vertices buildPolyline keeps, and whether it closes the polyline.
    static int polylineVertexCount(const AcArray<AcGePoint2d>& nodes, bool& closed);

    // pt against the ring as a curve (built as buildPolyline does): 1 within 1e-6 of it, else
    // 2 or 4 by the parity of a ray cast that turns by 5 degrees while a hit is ambiguous;
    // -1 when no curve can be built.
    static int rayCastRelation(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& ring,
                               const AcArray<double>& bulges);
    // Crossings of the row through pt, to the right of pt, with the piece from a to b (an arc
    // when the bulge is finite and not 0 and the chord not zero). Arcs are cut at their highest
    // and lowest points so every part rises or falls; each part counts half-open (its lower end
    // on the row counts, its upper end does not), so a vertex where the boundary passes through
    // the row counts once and one where it only touches counts twice or never.
    static int rowCrossings(const AcGePoint2d& pt, const AcGePoint2d& a, const AcGePoint2d& b,
                            double bulge);
    // Whether the row through pt crosses the closed bulge ring an odd number of times: pt
    // inside, when it is not on the boundary. The ring closes from its last vertex to its first
    // with the last bulge (a missing bulge is 0).
    static bool rowCrossingParity(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& ring,
                                  const AcArray<double>& bulges);
    // polylineIntersection of a with b, counting only the listed segments of a (ascending;
    // segment i runs from a[i] to a[(i + 1) % n]): the answer is the full one whenever the
    // segments left out cannot meet b.
    static int polylineHitsOn(const AcArray<AcGePoint2d>& a, const std::vector<int>& segments,
                              const AcArray<AcGePoint2d>& b, AcArray<AcGePoint2d>& points,
                              AcArray<double>& params);
    // The first value (ascending) counted exactly `expected` times, else the OR of all values.
    static int tallyRule(const QMap<int, int>& tally, int expected);
    // Relation of ring a to ring b edge by edge; an a wholly outside b is checked the other way
    // round, b's edges inside a counting 9.
    static int edgeTally(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b);
    // The bulge of the part of an arc that sweeps the given fraction of its angle.
    static double partBulge(double bulge, double fraction);
    // Snaps every vertex, polyline by polyline in order, to the newest vertex kept before it
    // that lies closer than 1e-6; a vertex with none is kept. A grid finds the candidates, so
    // the answer is that of a scan of all kept vertices from the newest.
    static void snapVertices(QVector<AcArray<AcGePoint2d>>& polylines);
    // The vertex a rebuilt ring starts at: the given index, or the one farthest towards the
    // mode's corner of the extents (the later one on a tie); -1 when all lie behind the centre.
    static int startVertex(const AcArray<AcGePoint2d>& pts, Tavro::RearrangementMode mode,
                           int start);
};
