#include "CTavroGeoReports.h"

#include "CTavroGeoArc.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "TavroTolerance.h"

#include <cmath>

namespace {
bool finitePoint(const AcGePoint3d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}
} // namespace

bool TavroRingMeasures::finite() const {
    return std::isfinite(length) && (vertices < 2 || std::isfinite(perimeter)) &&
           std::isfinite(area) && finitePoint(extents.minPoint()) &&
           finitePoint(extents.maxPoint());
}

CTavroGeoReports::~CTavroGeoReports() = default;

TavroRingMeasures CTavroGeoReports::ringMeasures(const AcArray<AcGePoint2d>& nodes,
                                                 const AcArray<double>& bulges) {
    TavroRingMeasures m;
    m.vertices = nodes.length();
    m.length = CTavroGeoPoint::geoLength(nodes, bulges);
    m.perimeter = CTavroGeoLine::GetBulgeLineLength(nodes, bulges, true);
    m.area = CTavroGeoPoint::geoArea(nodes, bulges);
    m.extents = CTavroGeoLine::geoLineExtends(nodes, bulges);
    m.hasCentroid = CTavroGeoPoint::geoBaryCenterPoint(nodes, bulges, m.centroid);
    m.hasLabel = CTavroGeoPoint::geoLabelPoint(nodes, bulges, m.label);
    m.minRect = CTavroGeoPoint::geoMinAreaRect(nodes, bulges);
    if (m.minRect.length() == 4) m.minRectArea = std::fabs(CTavroGeoPoint::geoArea(m.minRect));
    return m;
}

bool CTavroGeoReports::regionMeasures(Tavro::NodeBulge& ring, double& area, AcGePoint2d& label) {
    while (ring.bulges.length() < ring.nodes.length())
        ring.bulges.append(0.0);
    for (double& b : ring.bulges)
        if (b == 0.0) b = 0.0; // a reversed straight side carries -0
    area = std::fabs(CTavroGeoPoint::geoArea(ring.nodes, ring.bulges));
    return CTavroGeoPoint::geoLabelPoint(ring.nodes, ring.bulges, label) && std::isfinite(area);
}

AcDbExtents CTavroGeoReports::polylineExtents(const Tavro::NodeBulge& shape, bool closed) {
    Tavro::NodeBulge ring = shape;
    if (closed && ring.nodes.length() > 1) {
        ring.nodes.append(ring.nodes.first());
        ring.bulges.append(0.0);
    }
    return CTavroGeoLine::geoLineExtends(ring.nodes, ring.bulges);
}

double CTavroGeoReports::flattenedPieces(const Tavro::NodeBulge& shape, int i, bool open,
                                         double angleStep, double arcStep) {
    const int n = shape.nodes.length();
    if (i < 0 || i >= n) return 1.0;
    const double bulge = i < shape.bulges.length() ? shape.bulges[i] : 0.0;
    if (i == n - 1 && open) return 1.0;
    if (std::fabs(bulge) <= (arcStep > 0.0 ? 0.0 : Tavro::kFlatBulge)) return 1.0;
    double step = angleStep;
    if (arcStep > 0.0) {
        const double radius =
            CTavroGeoArc::geoArcRadius(shape.nodes[i], shape.nodes[(i + 1) % n], bulge);
        if (!(radius > 0.0) || !std::isfinite(radius)) return 1.0;
        step = arcStep / radius;
    }
    return std::trunc(4.0 * std::atan(std::fabs(bulge)) / step) + 1.0;
}
