// Intersections of bulge polylines: polylineArcInter and the two ArcMultiInter forms under it.

#include "FuzzInput.h"

#include "CTavroGeoArc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t which = in.byte();
    AcArray<AcGePoint2d> a, b, pts;
    AcArray<double> ba, bb, params;
    switch (which % 3) {
    case 0: {
        in.polyline(a, ba, 64);
        in.polyline(b, bb, 64);
        const int n = CTavroGeoArc::polylineArcInter(a, ba, b, bb, pts, params);
        if (n != pts.length() || pts.length() != params.length()) __builtin_trap();
        break;
    }
    case 1: {
        const AcGePoint2d s = in.point(), e = in.point();
        const double lo = in.number(), hi = in.number();
        in.polyline(b, bb, 64);
        CTavroGeoArc::ArcMultiInter(s, e, b, bb, lo, hi, pts, params);
        break;
    }
    default: {
        const AcGePoint2d s = in.point(), e = in.point();
        const double bulge = in.bulge(), lo = in.number(), hi = in.number();
        in.polyline(b, bb, 64);
        CTavroGeoArc::ArcMultiInter(s, e, bulge, b, bb, lo, hi, pts, params);
        break;
    }
    }
    return 0;
}
