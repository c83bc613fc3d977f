#pragma once
// The value types, enumerations and bulge convention every part of the library shares.
//
// A bulge polyline is a node array with a parallel bulge array. Bulge i belongs to the segment
// from node i to node i+1 (in a closed ring the last one closes back to node 0) and equals
// tan(theta/4) of that arc's included angle: 0 is straight, positive runs counterclockwise,
// negative clockwise, magnitude 1 is a half circle.
//
// Signs: angles are radians counterclockwise from +x; the three-point and bulge-ring areas are
// positive for clockwise order; y grows upward.

#include "AcArray.h"
#include "AcDb.h"
#include "AcGe.h"

namespace Tavro {

struct NodeBulge {
    AcArray<AcGePoint2d> nodes;
    // One bulge per node, or empty when every segment is straight.
    AcArray<double> bulges;
};

struct NodeBulge3d {
    AcArray<AcGePoint3d> nodes;
    AcArray<double> bulges;
};

// A region with holes: a point inside an island is outside the region.
struct NodeIsland {
    NodeBulge outer;
    AcArray<NodeBulge> islands;
};

// The frame of an axis-aligned box without its lower-left and upper-right corners.
struct TavroPointAround {
    AcGePoint2d leftTop;
    AcGePoint2d rightBottom;
    AcGePoint2d topMiddle;
    AcGePoint2d bottomMiddle;
    AcGePoint2d leftMiddle;
    AcGePoint2d rightMiddle;
    AcGePoint2d center;
};

struct EdgeAnnPosRadian {
    double radian = 0.0;
    AcGePoint2d position;
};

// A position in the 3x3 grid of a box, row by row from the top; other values select nothing.
enum PointLocal : int {
    kLeftTop = 0,
    kTopMiddle = 1,
    kRightTop = 2,
    kLeftMiddle = 3,
    kCenter = 4,
    kRightMiddle = 5,
    kLeftBottom = 6,
    kBottomMiddle = 7,
    kRightBottom = 8
};

enum TavroCoorSystem : int {
    kCoorUnknown = 0,
    kCoorWGS84 = 1,
    kCoorXian80 = 2,
    kCoorCGCS2000 = 3,
    kCoorBeijing54 = 4,
    kCoorUserGRS80 = 5
};

// A set of bits (1 boundary, 2 inside, 4 outside) and a few special values.
enum Relation : int {
    kRelationError = -1,
    kRelationCoincide = 0,
    kRelationBoundary = 1,
    kRelationInside = 2,
    kRelationInsideTouch = 3,
    kRelationOutside = 4,
    kRelationOutsideTouch = 5,
    kRelationCross = 6,
    kRelationAll = 7,
    kRelationTangent = 8,
    kRelationContains = 9
};

enum PointPolygonRelation : int { kPointOnBoundary = 1, kPointInside = 2, kPointOutside = 4 };

// Line against line.
enum RelationEnum : int { kLineCross = 3, kLineParallel = 10, kLinePerpendicular = 11 };

// How arcs become broken lines: vertices on the arc, or pushed out to keep the arc's area.
enum ZheXianHuaMethod : int { kVerticesOnArc = 0, kKeepArea = 1 };

// Which vertex a rebuilt polyline starts at.
enum RearrangementMode : int {
    kStartUpperRight = 0,
    kStartUpperLeft = 1,
    kStartLowerLeft = 2,
    kStartLowerRight = 3,
    kStartAtIndex = 4
};

// Orientation of a rebuilt polyline; any other value keeps it.
enum SortMode : int { kSortClockwise = 1, kSortCounterclockwise = 2 };

enum ErrorStatus : int { kSuccess = 0, kTooFewVertices = 4 };

} // namespace Tavro

// The line a*x + b*y + c = 0.
struct TavroLine {
    double a = 1.0;
    double b = -1.0;
    double c = 0.0;

    TavroLine() = default;
    TavroLine(double a_, double b_, double c_) : a(a_), b(b_), c(c_) {}
};

// Dominance tests on both coordinates at once, without tolerance; not a sort order. Each only
// rejects when a coordinate lies strictly on the wrong side, so NaN compares true.
TAVRO_API bool operator<(const AcGePoint2d& a, const AcGePoint2d& b);
TAVRO_API bool operator<=(const AcGePoint2d& a, const AcGePoint2d& b);
TAVRO_API bool operator>(const AcGePoint2d& a, const AcGePoint2d& b);
TAVRO_API bool operator>=(const AcGePoint2d& a, const AcGePoint2d& b);
