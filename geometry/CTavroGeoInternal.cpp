#include "CTavroGeoInternal.h"

#include "AcDbCurves.h"
#include "TavroTolerance.h"

CTavroGeoInternal::CTavroGeoInternal() = default;
CTavroGeoInternal::~CTavroGeoInternal() = default;

int CTavroGeoInternal::buildPolyline(AcDbPolyline* polyline, const AcArray<AcGePoint2d>& nodes,
                                     const AcArray<double>& bulges) {
    if (!polyline || nodes.isEmpty()) return Acad::eInvalidInput;
    int count = nodes.length();
    const bool closed = count > 1 && nodes.first().distanceTo(nodes.last()) < Tavro::kTol;
    if (closed) --count;
    for (int i = 0; i < count; ++i) {
        const double bulge = i < bulges.length() ? bulges[i] : 0.0;
        polyline->addVertexAt(static_cast<unsigned int>(i), nodes[i], bulge, -1.0, -1.0);
    }
    polyline->setClosed(closed);
    return Acad::eOk;
}
