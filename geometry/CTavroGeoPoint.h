#pragma once
// Point measures: direction angles, polar construction, rotation, middle points, centroids,
// orientation, areas and lengths of point arrays and bulge polylines, grid positions of a box
// and distances to segments. Angles are radians counterclockwise from +x; the three-point area
// is positive for clockwise order.

#include "AcArray.h"
#include "AcDb.h"
#include "AcGe.h"
#include "TavroExport.h"
#include "TavroTypes.h"

#include <QMap>

class TAVRO_API CTavroGeoPoint {
public:
    // Direction angle of from -> to in [0, 2pi); a coordinate difference below 1e-6 counts as 0.
    static double geoRadian(const AcGePoint2d& from, const AcGePoint2d& to);
    // Angle at vertex between the rays to p0 and p2, in [0, pi] (2pi minus it when reflex);
    // pi/2 when the dot product is within 1e-6 of zero.
    static double geoRadian(const AcGePoint2d& p0, const AcGePoint2d& vertex, const AcGePoint2d& p2,
                            bool reflex);
    // One vertex angle per node of the ring (closing duplicate dropped); 2pi minus it unless inner.
    static AcArray<double> geoRadian(const AcArray<AcGePoint2d>& nodes, bool inner);
    // base + distance * (cos angle, sin angle).
    static AcGePoint2d geoPolar(const AcGePoint2d& base, double angle, double distance);
    // base + distance * (cos angle, sin angle) in the plane, z kept.
    static AcGePoint3d geoPolar(const AcGePoint3d& base, double angle, double distance);
    // Rotates pt about base, counterclockwise by angle.
    static void geoRotate(AcGePoint2d& pt, const AcGePoint2d& base, double angle);
    // Rotates every node about base, counterclockwise by angle.
    static void geoRotate(AcArray<AcGePoint2d>& nodes, const AcGePoint2d& base, double angle);
    // Moves pt to factor times its distance from base, direction from base kept.
    static void scale(AcGePoint2d& pt, const AcGePoint2d& base, double factor);
    // Midpoint of a and b.
    static AcGePoint2d getMiddlePoint(const AcGePoint2d& a, const AcGePoint2d& b);
    // Arithmetic mean of the nodes into out (no usable point for an empty array).
    static void GetNodesMiddlePoint(const AcArray<AcGePoint2d>& nodes, AcGePoint2d& out);
    // Area centroid of the implicitly closed ring; non-finite when its area is below 1e-10.
    static AcGePoint2d geoBaryCenterPoint(const AcArray<AcGePoint2d>& nodes);
    // Area centroid of the ring with its arcs (each circular segment's moment included); false
    // when the area is zero or a number is not finite, centroid then unchanged.
    static bool geoBaryCenterPoint(const AcArray<AcGePoint2d>& nodes, const AcArray<double>& bulges,
                                   AcGePoint2d& centroid);
    // A point strictly inside the ring with its arcs, for a label: of the middles of the inside
    // stretches of horizontal scan lines, the one farthest from the boundary; false when none
    // lies off the boundary (a ring without area), label then unchanged.
    static bool geoLabelPoint(const AcArray<AcGePoint2d>& nodes, const AcArray<double>& bulges,
                              AcGePoint2d& label);
    // The three points' triangle area is below 1e-6.
    static bool geoPointCollinear(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c);
    // The ring runs clockwise (negative shoelace sum); false for fewer than 3 nodes.
    static bool geoIsDeasil(const AcArray<AcGePoint2d>& nodes);
    // a -> b -> c turns clockwise (three-point area > 0).
    static bool geoIsDeasil(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c);
    // Signed triangle area, positive for clockwise a -> b -> c.
    static double geoArea(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c);
    // Fan area from the first node, never negative; exact for rings star-shaped from node 0.
    static double geoArea(const AcArray<AcGePoint2d>& nodes);
    // Signed area of the bulge ring, positive for clockwise order; the ring closes back to its
    // first node with the last bulge.
    static double geoArea(const AcArray<AcGePoint2d>& nodes, const AcArray<double>& bulges);
    // Length of the open polyline (no closing segment).
    static double geoLength(const AcArray<AcGePoint2d>& nodes);
    // Length of the open bulge polyline; a missing bulge or one below 1e-6 is a straight segment.
    static double geoLength(const AcArray<AcGePoint2d>& nodes, const AcArray<double>& bulges);
    // Some bulge has magnitude above 1e-6.
    static bool geoHaveBulge(const AcArray<double>& bulges);
    // Nodes not empty, and bulges empty or exactly as long as the nodes.
    static bool geoIsValidNodeBulges(const Tavro::NodeBulge& nb);
    // Bulge of the arc of the given radius from p1 to p2 (p0 precedes p1): +-1 when the radius
    // is at most half the chord; positive when minor, negative otherwise.
    static double geoCalculateBulge(const AcGePoint2d& p0, const AcGePoint2d& p1,
                                    const AcGePoint2d& p2, double radius, bool minor);
    // Grid position of the box spanned by a and b; (0, 0) for a value outside 0..8.
    static AcGePoint2d geoCalculatePoint(const AcGePoint2d& a, const AcGePoint2d& b,
                                         Tavro::PointLocal where);
    // Grid position in the nodes' minimum-area rectangle, taken in the rectangle's own frame;
    // (0, 0) for an empty array or an unknown position.
    static AcGePoint2d geoCalculatePoint(const AcArray<AcGePoint2d>& nodes,
                                         Tavro::PointLocal where);
    // Point at the fraction param of the segment (straight when |bulge| < 1e-10); false, out
    // untouched, when param lies outside [-1e-7, 1.0000001].
    static bool GetPointAtParam(AcGePoint2d start, AcGePoint2d end, double bulge, double param,
                                AcGePoint2d& out);
    // Distance from p to the segment ab (to a when ab is shorter than 1e-6).
    static double geoNearestDistance(const AcGePoint2d& p, const AcGePoint2d& a,
                                     const AcGePoint2d& b);
    // Distance from p to the line ab, 0 when |ab| < 1e-6; |pa| when toStart.
    static double geoVerticalDistance(const AcGePoint2d& p, const AcGePoint2d& a,
                                      const AcGePoint2d& b, bool toStart);
    // Makes lb the lower-left and rt the upper-right corner; always true.
    static bool modifyLbRtPoint(AcGePoint2d& lb, AcGePoint2d& rt);
    // The seven frame points of the box spanned by a and b.
    static Tavro::TavroPointAround geoNodedArround(const AcGePoint2d& a, const AcGePoint2d& b);
    // Chord midpoint moved width/2 to the right of a -> b (left for a negative width).
    static AcGePoint2d geoCalculateExpandedMidpoint(const AcGePoint2d& a, const AcGePoint2d& b,
                                                    double width);

    // --- Clean-up of vertex arrays (a ring is closed when its last node lies within 1e-6 of
    // its first). ---

    // Removes each node closer than 1e-6 to its predecessor; the first of a run stays.
    static void geoRemoveSame(AcArray<AcGePoint2d>& nodes);
    static void geoRemoveSame(AcArray<AcGePoint3d>& nodes);
    // Removes every later node closer than tol to an earlier one, with its bulge where the
    // bulge array has one.
    static void geoRemoveSameNodes(AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges,
                                   double tol);
    // Removes middle nodes between straight segments whose backward directions differ by at
    // most angleTol (not taken modulo 2pi); needs as many bulges as nodes.
    static void geoRemoveSameLinePoint(AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges,
                                       double angleTol);
    static bool geoRemoveCollinear(AcArray<AcGePoint2d>& nodes);
    // Removes nodes collinear within 1e-6 with their neighbours, keeping arcs and node 0;
    // false (nothing changed) for a bulge array of the wrong length.
    static bool geoRemoveCollinear(AcArray<AcGePoint2d>& nodes, AcArray<double>& bulges);
    static void geoReverseNode(AcArray<AcGePoint2d>& nodes);
    // The bulges of the ring whose nodes geoReverseNode reversed.
    static void geoReverseBulge(AcArray<double>& bulges);
    // Split filter over in[first..last]: appends the first node of every stretch kept at tol;
    // the caller appends in[last].
    static void geoFilterPoint(const AcArray<AcGePoint2d>& in, AcArray<AcGePoint2d>& out, int first,
                               int last, double tol);
    // The same; a closed ring first splits at its node farthest from the start.
    static void geoLvbo2d(const AcArray<AcGePoint2d>& in, AcArray<AcGePoint2d>& out, int first,
                          int last, double tol, bool closed);

    // --- Extents and rectangles (four corners, no closing node). ---

    static AcDbExtents geoNodeExtents(const AcArray<AcGePoint2d>& nodes, double margin);
    // false for an empty array, out-parameters untouched.
    static bool geoNodeExtents(const AcArray<AcGePoint2d>& nodes, AcGePoint2d& min,
                               AcGePoint2d& max, double margin);
    // Lower-left, upper-left, upper-right, lower-right (clockwise).
    static AcArray<AcGePoint2d> geoMakeRect(const AcGePoint2d& center, double width, double height);
    // Lower-left, lower-right, upper-right, upper-left (counterclockwise).
    static AcArray<AcGePoint2d> geoRectangle(AcGePoint2d a, const AcGePoint2d& b);
    // p1, p2 and the two corners on the parallel to p1p2 through p3.
    static AcArray<AcGePoint2d> geoTiltRect(const AcGePoint2d& p1, const AcGePoint2d& p2,
                                            const AcGePoint2d& p3);
    // Minimum-area rectangle over the edge directions, clockwise in its own frame from the
    // corner nearest its extents' lower left; fewer than 3 nodes come back as given.
    static AcArray<AcGePoint2d> geoMinAreaRect(const AcArray<AcGePoint2d>& nodes);
    // Minimum-area rectangle of the ring with its arcs (their extreme points included), in the
    // corner order above; the vertex form's answer for a ring without bulges, empty for fewer
    // than 2 nodes or a non-finite number.
    static AcArray<AcGePoint2d> geoMinAreaRect(const AcArray<AcGePoint2d>& nodes,
                                               const AcArray<double>& bulges);
    static AcArray<AcGePoint2d> geoMovePoly(const AcArray<AcGePoint2d>& nodes, double dx,
                                            double dy);
    // The square of half-side d around pt.
    static AcArray<AcGePoint2d> geoPolyOffset(const AcGePoint2d& pt, double d);
    // Every vertex moved by d along its bisector, outward for positive d.
    static AcArray<AcGePoint2d> geoPolyOffset(const AcArray<AcGePoint2d>& nodes, double d);

    // --- Directions and annotations. ---

    // Direction along the bisector at vertex (the left normal of the mean travel direction),
    // or the opposite direction when right.
    static double geoBisectorRadian(const AcGePoint2d& prev, const AcGePoint2d& vertex,
                                    const AcGePoint2d& next, bool right);
    static void geoBisectorRadian(QMap<int, double>& out, const AcArray<AcGePoint2d>& nodes,
                                  bool right);
    // Direction of every edge i-1 -> i (no closing edge), keyed by i-1.
    static void geoEdgeRadian(QMap<int, double>& out, const AcArray<AcGePoint2d>& nodes);
    // Annotation point d off each edge's middle (outside or inside the ring) and a text angle
    // that reads left to right.
    static void geoEdgeAnnPosRadian(QMap<unsigned int, Tavro::EdgeAnnPosRadian>& out,
                                    const AcArray<AcGePoint2d>& nodes, double d, bool outside);
    // The direction (to 1e-6) carrying the largest total edge length, closing edge included.
    static double geoMaxEdgeRadian(const AcArray<AcGePoint2d>& nodes);
    // The longest edge after straight-through nodes are removed, with its direction.
    static void geoMaxEdgeRadian(const AcArray<AcGePoint2d>& nodes, AcGePoint2d& start,
                                 AcGePoint2d& end, double& angle);
    // Index of the node with the smallest x - y (far left, high up); 0 for an empty array.
    static int GetNWPoint(const AcArray<AcGePoint2d>& nodes);
    // Same fan area and node mean (within 1e-6) after collinear nodes are removed.
    static bool isPolygonSame(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b);

    // --- NodeBulge conversions. ---

    // Copy with the bulges padded with 0 or cut to one per node.
    static Tavro::NodeBulge geoSafeTavroNodeBulge(const Tavro::NodeBulge& nb);
    static Tavro::NodeBulge3d geoTavroNodeBulgeTo3d(const Tavro::NodeBulge& nb);
    static Tavro::NodeBulge geoTavroNodeBulge3dTo2d(const Tavro::NodeBulge3d& nb);
};
