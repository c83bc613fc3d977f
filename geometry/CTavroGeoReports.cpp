#include "CTavroGeoReports.h"

#include "CTavroGeoArc.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "TavroTolerance.h"

#include <cmath>
#include <vector>

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

Tavro::NodeBulge CTavroGeoReports::arcPolyline(const AcGePoint2d& center, double radius,
                                               double startDegrees, double endDegrees) {
    double sweep = endDegrees - startDegrees;
    if (std::isfinite(sweep)) {
        sweep = std::fmod(sweep, 360.0);
        if (sweep <= 0.0) sweep += 360.0;
    }
    const int parts = sweep > 270.0 ? 2 : 1;
    const double step = sweep / parts;
    const double bulge = std::tan(step * Tavro::kPi / 720.0);
    Tavro::NodeBulge arc;
    for (int i = 0; i <= parts; ++i) {
        const double a = (startDegrees + step * i) * Tavro::kPi / 180.0;
        arc.nodes.append(
            AcGePoint2d(center.x + radius * std::cos(a), center.y + radius * std::sin(a)));
        arc.bulges.append(i < parts ? bulge : 0.0);
    }
    return arc;
}

Tavro::NodeBulge CTavroGeoReports::circlePolyline(const AcGePoint2d& center, double radius) {
    Tavro::NodeBulge circle;
    circle.nodes = {AcGePoint2d(center.x + radius, center.y),
                    AcGePoint2d(center.x - radius, center.y),
                    AcGePoint2d(center.x + radius, center.y)};
    circle.bulges = {1.0, 1.0, 0.0};
    return circle;
}

bool CTavroGeoReports::keepShortArcRunsAsDrawn(const Tavro::NodeBulge& in, bool closed,
                                               int minChords, Tavro::NodeBulge& out) {
    const int n = in.nodes.length();
    const int m = out.nodes.length();
    if (n == 0) return m == 0;
    auto bulgeIn = [&](int i) { return i % n < in.bulges.length() ? in.bulges[i % n] : 0.0; };
    auto bulgeOut = [&](int k) { return k < out.bulges.length() ? out.bulges[k] : 0.0; };
    std::vector<int> index;
    int next = 0;
    for (int k = 0; k < m; ++k) {
        while (next <= n && !(in.nodes[next % n] == out.nodes[k]))
            ++next;
        if (next > n) return false;
        index.push_back(next++);
    }
    // The input index at which the run from output vertex k ends.
    auto runEnd = [&](int k) {
        return k + 1 < m ? index[k + 1] : closed ? index[0] + n : index[k];
    };
    auto isShortArc = [&](int k) {
        if (k + 1 >= m && !closed) return false;
        const double bulge = bulgeOut(k);
        return bulge != bulgeIn(index[k]) && bulge != 0.0 && runEnd(k) - index[k] < minChords;
    };
    Tavro::NodeBulge kept;
    bool arcKept = false;
    auto keepInput = [&](int from, int to) {
        for (int j = from; j < to; ++j) {
            kept.nodes.append(in.nodes[j % n]);
            kept.bulges.append(bulgeIn(j));
        }
    };
    const bool wrapRestored = m > 0 && closed && isShortArc(m - 1) && index[m - 1] < n;
    if (wrapRestored) keepInput(0, index[0]);
    for (int k = 0; k < m; ++k) {
        if (isShortArc(k)) {
            keepInput(index[k], wrapRestored && k == m - 1 ? n : runEnd(k));
            continue;
        }
        arcKept = arcKept || bulgeOut(k) != bulgeIn(index[k]);
        kept.nodes.append(out.nodes[k]);
        kept.bulges.append(bulgeOut(k));
    }
    out = arcKept ? kept : in;
    return true;
}
