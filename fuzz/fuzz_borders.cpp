// Border extraction over fuzzed polylines: hostile coordinates, arcs and mismatched bulges.

#include "FuzzInput.h"

#include "CTavroGeoBoder.h"
#include "CTavroLine2P.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const bool clockwise = in.byte() & 1;
    const double minArea = in.number();
    QVector<AcArray<AcGePoint2d>> pts;
    QVector<AcArray<double>> bulges;
    in.polylines(pts, bulges, 12, 40);
    QVector<AcArray<AcGePoint2d>> outPts;
    QVector<AcArray<double>> outBulges;
    CTavroGeoBoder::geoGetBoders(outPts, outBulges, pts, bulges, clockwise, minArea);
    if (outPts.size() != outBulges.size()) __builtin_trap();
    return 0;
}
