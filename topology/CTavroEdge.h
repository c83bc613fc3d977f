#pragma once
// A straight directed segment of the topology engine, with the measures and the splitting by
// which a soup of segments is cut at its crossings, touches and overlaps before loops are built.
//
// The edge parameter of a point p is (end - start) . (p - start): 0 at the start, the squared
// length at the end. Every parameter tolerance below is in these units (length times length).
// Nothing here knows about arcs; a zero-length edge has parameter 0 everywhere, so every split
// of it is the edge itself.

#include "AcArray.h"
#include "AcGe.h"
#include "TavroExport.h"

#include <vector>

class TAVRO_API CTavroEdge {
public:
    // Every constructor sets the tolerance to equal-point 1e-6, equal-vector 0.1.
    CTavroEdge();
    CTavroEdge(AcGePoint2d start, AcGePoint2d end);
    // z is dropped.
    CTavroEdge(AcGePoint3d start, AcGePoint3d end);
    CTavroEdge(const CTavroEdge& other);
    CTavroEdge& operator=(const CTavroEdge& other);
    virtual ~CTavroEdge();

    // Direction angle folded into [0, pi], the same for both directions of a line (a direction of
    // exactly pi stays pi).
    double Angle() const;
    double Dist() const;
    AcGePoint2d MidPoint();
    // end - start.
    AcGeVector2d getVector();
    // (-dy, dx) of end - start, not normalised.
    AcGeVector2d getNormal();
    void Swap();
    // The edge parameter of p; 0 when the squared length is below 1e-10.
    double GetParamAtPoint(AcGePoint2d p) const;
    // Squared distance from p to the segment.
    double SquareDistance(AcGePoint2d p);
    // |(end - start) x (p - start)|: the length times the distance of p from the line (not
    // squared).
    double SquareDistLine(AcGePoint2d p) const;
    // The foot of p on the line falls strictly inside the segment (1e-14 in parameter units from
    // either end); p's distance from the line is not looked at.
    bool IsPointInLine(AcGePoint2d p) const;
    // The foot of p falls inside the segment or on an end (within 1e-14).
    bool IsPointOnLine(AcGePoint2d p) const;
    // Binary search of value (within 1e-7) in the ascending array; index is the match or, on
    // false, the insertion position.
    bool FindNode(AcArray<double>& values, double value, int& index);

    // IsPointOnLine holds for some edge of the list.
    bool IsPointOnEdges(const std::vector<CTavroEdge>& edges, AcGePoint2d p) const;
    // The midpoint of a and b lies strictly inside some edge of the list (IsPointInLine); then
    // sameDirection says whether b - a runs along the first such edge (0.1 rad); untouched when
    // false.
    bool IsLineOnEdges(const std::vector<CTavroEdge>& edges, AcGePoint2d a, AcGePoint2d b,
                       bool& sameDirection) const;
    // Appends where other meets this edge's infinite line: both ends when other lies on it
    // (within 1e-6), the end on it, or the crossing point of ends on opposite sides.
    void Classify(CTavroEdge other, AcArray<AcGePoint2d>& points) const;
    // This edge cut at every end point of the others that lies on its line (within 1e-6); the
    // pieces, start to end, replace the contents of pieces.
    void DivEdge(const std::vector<CTavroEdge>& others, std::vector<CTavroEdge>& pieces) const;
    // This edge cut wherever the others touch or cross it; the pieces replace the contents.
    void GetDivEdges(std::vector<CTavroEdge>& others, std::vector<CTavroEdge>& pieces);
    // This edge cut at the ends of the (collinear) others, after codirectional runs of the others
    // are merged; the pieces go to same (covered in the same direction), opposite (covered the
    // other way) or uncovered.
    void Intersection(const std::vector<CTavroEdge>& others, std::vector<CTavroEdge>& same,
                      std::vector<CTavroEdge>& opposite, std::vector<CTavroEdge>& uncovered) const;
    // The list form with a list of one.
    void Intersection(CTavroEdge other, std::vector<CTavroEdge>& same,
                      std::vector<CTavroEdge>& opposite, std::vector<CTavroEdge>& uncovered) const;

    AcGePoint2d m_start;
    AcGePoint2d m_end;
    AcGeTol m_tol;
};
