// The loop builder filled from fuzzed pieces through every AddEdge form, ordered by one of the
// start orders and walked by one or two drivers.

#include "FuzzInput.h"

#include "CTavroAutoLoop.h"

#include <vector>

namespace {
void fill(fuzz::Input& in, CTavroAutoLoop& loop) {
    const int pieces = in.count(24);
    for (int k = 0; k < pieces && !in.empty(); ++k) {
        const std::uint8_t form = in.byte();
        const bool forward = form & 8;
        const std::uint64_t id = in.byte();
        AcArray<AcGePoint2d> pts;
        AcArray<double> bs;
        switch (form % 7) {
        case 0: {
            const AcGePoint2d a = in.point();
            loop.AddEdge(a, in.point(), id);
            break;
        }
        case 1: {
            const AcGePoint2d a = in.point();
            loop.AddEdgeR(a, in.point(), id);
            break;
        }
        case 2: {
            const AcGePoint2d a = in.point();
            const AcGePoint2d b = in.point();
            loop.AddEdgeR(a, b, in.bulge(), id);
            break;
        }
        case 3:
            pts = in.points(16);
            loop.AddEdge(pts, forward, id);
            break;
        case 4:
            in.polyline(pts, bs, 16);
            loop.AddEdge(pts, bs, forward, id);
            break;
        case 5: {
            CArray<AcArray<AcGePoint2d>, AcArray<AcGePoint2d>> many;
            CArray<AcArray<double>, AcArray<double>> manyBulges;
            const int n = in.count(4);
            for (int i = 0; i < n; ++i) {
                in.polyline(pts, bs, 8);
                many.Add(pts);
                if (form & 16) manyBulges.Add(bs);
            }
            if (form & 16)
                loop.AddEdges(many, manyBulges, forward, id);
            else
                loop.AddEdges(many, forward, id);
            break;
        }
        default: {
            std::vector<CTavroEdge> edges;
            const int n = in.count(12);
            for (int i = 0; i < n; ++i) {
                const AcGePoint2d a = in.point();
                edges.emplace_back(a, in.point());
            }
            loop.SelfDivEdges(edges);
            break;
        }
        }
    }
}

void order(std::uint8_t which, CTavroAutoLoop& loop) {
    switch (which % 6) {
    case 0:
        loop.ReorderNodes();
        break;
    case 1:
        loop.ReorderNodesR();
        break;
    case 2:
        loop.ReorderNodesBD();
        break;
    case 3:
        loop.Reorder2Nodes();
        break;
    case 4:
        loop.ReorderSimplyNodes();
        break;
    default:
        break;
    }
}

void drive(fuzz::Input& in, CTavroAutoLoop& loop) {
    const std::uint8_t which = in.byte();
    switch (which % 12) {
    case 0:
        loop.GetSingleLoops();
        break;
    case 1:
        loop.GetSingleLoopsR();
        break;
    case 2:
        loop.GetBulgesSingleLoopsR();
        break;
    case 3:
        loop.GetDoubleLoops(which >> 4);
        break;
    case 4:
        loop.GetBulgesDoubleLoops(which >> 4);
        break;
    case 5:
        loop.GetInterLoops();
        break;
    case 6:
        loop.GetBulgesInterLoops();
        break;
    case 7:
        loop.GetBoundary(in.point());
        break;
    case 8:
        loop.ConnectPolyline();
        break;
    case 9: {
        std::vector<AcArray<AcDbObjectId>> groups;
        loop.SortPolyline(groups);
        break;
    }
    case 10:
        loop.GetDoubleLoops(1);
        break;
    default:
        loop.GetDoubleLoops(0);
        break;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    CTavroAutoLoop loop;
    fill(in, loop);
    order(in.byte(), loop);
    CTavroAutoLoop copy(loop);
    drive(in, copy);
    drive(in, copy);
    return 0;
}
