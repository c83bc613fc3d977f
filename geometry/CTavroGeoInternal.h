#pragma once
// The geometry's internal helpers that more than one class needs. Not part of the public
// interface; exported only so the project's own tests can reach them.

#include "AcArray.h"
#include "AcGe.h"
#include "TavroExport.h"

class AcDbPolyline;

class TAVRO_API CTavroGeoInternal {
public:
    CTavroGeoInternal();
    virtual ~CTavroGeoInternal();

    // Fills a new polyline from vertices and bulges: a last vertex within 1e-6 of the first is
    // dropped and the polyline closed; a missing bulge is 0. Returns 0, or 3 (invalid input)
    // for no vertices or no polyline.
    static int buildPolyline(AcDbPolyline* polyline, const AcArray<AcGePoint2d>& nodes,
                             const AcArray<double>& bulges);
};
