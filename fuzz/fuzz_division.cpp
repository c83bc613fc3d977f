// The division engine loaded through each of its AddNodeArr forms, then cut, written out and
// joined again.

#include "FuzzInput.h"

#include "CTavroAutoDiv.h"
#include "CTavroLine2P.h"

namespace {
void load(fuzz::Input& in, CTavroAutoDiv& div) {
    const int forms = in.count(8);
    for (int k = 0; k < forms && !in.empty(); ++k) {
        AcArray<AcGePoint2d> a, b;
        AcArray<double> ba, bb;
        const std::uint8_t form = in.byte();
        const bool split = form & 8;
        const std::uint64_t id = in.byte();
        switch (form % 6) {
        case 0:
            div.AddNodeArr(in.points(32), split, id);
            break;
        case 1:
            a = in.points(32);
            div.AddNodeArr(a, in.points(32), id);
            break;
        case 2:
            in.polyline(a, ba, 32);
            div.AddNodeArr(a, ba, split, id);
            break;
        case 3: {
            QVector<AcArray<AcGePoint2d>> ps;
            QVector<AcArray<double>> bs;
            in.polylines(ps, bs, 4, 16);
            if (in.byte() & 1) bs.resize(in.count(4));
            div.AddNodeArr(ps, bs, split, id);
            break;
        }
        case 4: {
            QVector<AcArray<AcGePoint2d>> as, bs;
            QVector<AcArray<double>> unused;
            in.polylines(as, unused, 4, 16);
            in.polylines(bs, unused, 4, 16);
            div.AddNodeArr(as, bs, id, in.byte());
            break;
        }
        default:
            in.polyline(a, ba, 32);
            in.polyline(b, bb, 32);
            div.AddNodeArr(a, ba, b, bb);
            break;
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    CTavroLine2P::m_bCompareWithDirect = false;
    CTavroAutoDiv div;
    div.m_bRemoveShared = in.byte() & 1;
    const std::uint8_t mode = in.byte();
    load(in, div);
    if (mode & 4) {
        div.GetInterPt();
        return 0;
    }
    div.RunDiv(mode & 1);
    div.ShowMePolyline();
    CTavroAutoDiv copy(div);
    QVector<AcArray<AcGePoint2d>> joined;
    QVector<AcArray<double>> joinedBulges;
    if (mode & 2)
        CTavroAutoDiv::ConnectNodes(copy.m_outPolylines, joined);
    else
        CTavroAutoDiv::ConnectNodes(copy.m_outPolylines, copy.m_outBulges, joined, joinedBulges);
    CTavroLine2P::m_bCompareWithDirect = false;
    return 0;
}
