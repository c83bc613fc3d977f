// The relation family: points against rings with arcs, regions and sets of regions, ring
// against ring in the four GetRelation forms, and the containment map.

#include "FuzzInput.h"

#include "CTavroGeoLine.h"
#include "TavroTypes.h"

namespace {
using L = CTavroGeoLine;

// Rings with arcs are compared as chords of 0.1 degree and ring against ring is quadratic in
// them (a full turn is 3600 chords), so four vertices already make rings of thousands of chords.
Tavro::NodeBulge ring(fuzz::Input& in) {
    Tavro::NodeBulge r;
    in.polyline(r.nodes, r.bulges, 4);
    return r;
}

Tavro::NodeIsland region(fuzz::Input& in) {
    Tavro::NodeIsland r;
    r.outer = ring(in);
    const int n = in.count(2);
    for (int i = 0; i < n; ++i)
        r.islands.append(ring(in));
    return r;
}

AcArray<Tavro::NodeIsland> regions(fuzz::Input& in) {
    AcArray<Tavro::NodeIsland> out;
    const int n = in.count(3);
    for (int i = 0; i < n; ++i)
        out.append(region(in));
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t which = in.byte();
    const AcGePoint2d pt = in.point();
    switch (which % 8) {
    case 0: {
        const Tavro::NodeBulge r = ring(in);
        L::geoPointWithPolygonRelation(pt, r.nodes, r.bulges);
        L::geoPointInPolygon(r, pt);
        break;
    }
    case 1: {
        const Tavro::NodeIsland r = region(in);
        L::geoPointWithPolygonRelation(pt, r);
        L::geoPointInPolygon(r, pt);
        break;
    }
    case 2: {
        const AcArray<Tavro::NodeIsland> rs = regions(in);
        L::geoPointWithPolygonRelation(pt, rs);
        L::geoPointInPolygon(rs, pt);
        break;
    }
    case 3: {
        const Tavro::NodeBulge a = ring(in);
        L::GetRelation(a, ring(in));
        break;
    }
    case 4: {
        const Tavro::NodeBulge a = ring(in);
        L::GetRelation(a, region(in));
        break;
    }
    case 5: {
        const Tavro::NodeIsland a = region(in);
        L::GetRelation(a, ring(in));
        break;
    }
    case 6: {
        const Tavro::NodeIsland a = region(in);
        L::GetRelation(a, region(in));
        const AcArray<Tavro::NodeIsland> b = regions(in);
        L::GetPolygonRelation(b, regions(in));
        break;
    }
    default: {
        QVector<AcArray<AcGePoint2d>> rings;
        QVector<AcArray<double>> bulges;
        in.polylines(rings, bulges, 12, 16);
        L::geoPolyInPolyMap(rings, bulges);
        break;
    }
    }
    return 0;
}
