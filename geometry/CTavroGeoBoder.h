#pragma once
// Border extraction: a set of bulge polylines (drawn as broken lines or with arcs, overlapping,
// sharing edges) becomes the closed regions they enclose. Arcs drawn as short chords are
// recovered, vertices within 1e-6 of an earlier one snap to it, every segment becomes one piece
// (a segment and its reverse are one), the division engine cuts the pieces at their crossings,
// the loop builder traces the regions, and regions no larger than the minimum area are dropped.

#include "AcArray.h"
#include "AcGe.h"
#include "TavroExport.h"

#include <QVector>

class TAVRO_API CTavroGeoBoder {
public:
    CTavroGeoBoder();
    CTavroGeoBoder(const CTavroGeoBoder& other);
    CTavroGeoBoder& operator=(const CTavroGeoBoder& other);
    virtual ~CTavroGeoBoder();

    // Appends one region per loop whose area exceeds minArea: the cells (counterclockwise), or
    // with clockwiseLoops the outer boundaries of the connected parts (clockwise). Leaves the
    // pieces' comparison switch off.
    static void geoGetBoders(QVector<AcArray<AcGePoint2d>>& outPts,
                             QVector<AcArray<double>>& outBulges,
                             const QVector<AcArray<AcGePoint2d>>& pts,
                             const QVector<AcArray<double>>& bulges, bool clockwiseLoops,
                             double minArea);
};
