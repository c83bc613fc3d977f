// Arc recovery and flattening: geoDeconvolution with the break finders it relies on, and both
// GetNodesHaveArc forms.

#include "FuzzInput.h"

#include "CTavroGeoLine.h"

#include <QList>

#include <cmath>

namespace {
using L = CTavroGeoLine;

// Steps small enough to ask for millions of vertices are a legitimate way to run long; keep
// each run to a few thousand pieces per arc.
double step(fuzz::Input& in, double least) {
    const double s = in.number();
    return std::isfinite(s) && std::fabs(s) < least ? std::copysign(least, s) : s;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t which = in.byte();
    AcArray<AcGePoint2d> pts, out;
    AcArray<double> bulges, outBulges;
    switch (which % 4) {
    case 0: {
        const double tol = in.number(1.0 / 1024);
        in.polyline(pts, bulges, 200);
        L::geoDeconvolution(out, outBulges, pts, bulges, which & 16, tol);
        break;
    }
    case 1: {
        const double tol = in.number(1.0 / 1024);
        pts = in.points(200);
        QList<long> breaks;
        L::GetBreakPtofNodes(pts, breaks, tol);
        L::GetInterpolationBreakNodes(pts, breaks, in.byte() % 8);
        break;
    }
    case 2: {
        const double angle = step(in, 0.1);
        in.polyline(pts, bulges, 24);
        L::GetNodesHaveArc(pts, bulges, out, which & 16, angle,
                           Tavro::ZheXianHuaMethod((which >> 5) & 1));
        break;
    }
    default: {
        // Each arc is cut into at most 2^20 pieces, about a second under the sanitizers; a step
        // of at least 1/4096 of the arc keeps the run short and still reaches every branch.
        const double length = in.number();
        in.polyline(pts, bulges, 2);
        double least = 0.0;
        if (pts.length() == 2 && !bulges.isEmpty())
            least = L::GetBulgeLineLength(pts[0], pts[1], bulges[0]) / 4096;
        L::GetNodesHaveArc(out, pts, bulges,
                           std::isfinite(least) && std::fabs(length) < least
                               ? std::copysign(least, length)
                               : length,
                           Tavro::ZheXianHuaMethod((which >> 5) & 1));
        break;
    }
    }
    return 0;
}
