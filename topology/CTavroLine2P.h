#pragma once
// A piece of a cut polyline: a straight segment or an arc between two points, with the ids of
// the polylines it came from. Pieces order with tolerances (1e-5 on the end points, 1e-7 on the
// bulge), so an ordered set finds the same piece again when a second polyline produces it; with
// the process-wide switch off, a piece and its reverse (ends swapped, bulge negated) are one.

#include "AcGe.h"
#include "TavroExport.h"

#include <cstdint>
#include <set>

class TAVRO_API CTavroLine2P {
public:
    CTavroLine2P();
    CTavroLine2P(const AcGePoint2d& start, const AcGePoint2d& end, double bulge);
    CTavroLine2P(const CTavroLine2P& other);
    CTavroLine2P& operator=(const CTavroLine2P& other);
    virtual ~CTavroLine2P();

    // -1, 0 or 1: x decides unless the x values lie within 1e-5, then y; 0 when both do.
    static int CompareNode(const AcGePoint2d& p, const AcGePoint2d& q);
    // Start points, then end points, then bulges (equal within 1e-7); with
    // m_bCompareWithDirect off each line is first turned to run from its smaller end.
    static int CompareLine(AcGePoint2d a1, AcGePoint2d a2, double bulgeA, AcGePoint2d b1,
                           AcGePoint2d b2, double bulgeB);
    // Owners take no part in the comparison.
    bool operator==(const CTavroLine2P& other) const;

    // Whether direction counts when pieces are compared; true when the library loads. The
    // division engine sets it on every run, border extraction turns it off.
    static bool m_bCompareWithDirect;

    double m_bulge;
    mutable std::set<std::uint64_t> m_owners; // not part of the order, so kept in sets
    AcGePoint2d m_start;
    AcGePoint2d m_end;
};

// l before r in the order of CompareLine.
TAVRO_API bool operator<(const CTavroLine2P& l, const CTavroLine2P& r);
