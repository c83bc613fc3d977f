// Intersecting polylines and rebuilding vertex lists.

#include "TestSupport.h"

namespace {
using L = CTavroGeoLine;
const Pts kUnit = square(0, 0, 1);
const Tavro::SortMode kKeepOrder = static_cast<Tavro::SortMode>(0);

// The hits of the polyline with kUnit as points and parameters, and their count.
struct Hits {
    int n;
    Pts points;
    Doubles params;
};
Hits hitsOnUnit(const Pts& polyline) {
    Hits h{0, Pts{P(9, 9)}, Doubles{7}}; // stale entries the call must replace
    h.n = L::polylineIntersection(kUnit, polyline, h.points, h.params);
    return h;
}

// The first vertex after restarting the ring at the given mode and index, order kept.
AcGePoint2d restarted(Pts pts, Tavro::RearrangementMode mode, int index) {
    Doubles none;
    L::geoResetPolyline(pts, none, mode, index, kKeepOrder);
    return pts.first();
}
} // namespace

TEST(GeoPolylineIntersection, HitsAlongTheRingCountedOnce) {
    // Across the square: the east side (segment 1) comes before the west side (segment 3).
    Hits h = hitsOnUnit(Pts{P(-1, 0.5), P(2, 0.5)});
    EXPECT_EQ(h.n, 2);
    EXPECT_EQ(h.points, (Pts{P(1, 0.5), P(0, 0.5)}));
    EXPECT_EQ(h.params, (Doubles{1.5, 3.5}));
    // Through two corners: each corner once, on the segment that starts there.
    h = hitsOnUnit(Pts{P(-1, -1), P(2, 2)});
    EXPECT_EQ(h.n, 2);
    EXPECT_EQ(h.points, (Pts{P(0, 0), P(1, 1)}));
    EXPECT_EQ(h.params, (Doubles{0, 2}));
    // The polyline's own last vertex lying on the ring counts.
    h = hitsOnUnit(Pts{P(0.5, 0.5), P(0.5, 1)});
    EXPECT_EQ(h.n, 1);
    EXPECT_EQ(h.points, (Pts{P(0.5, 1)}));
    EXPECT_EQ(h.params, (Doubles{2.5}));
    h = hitsOnUnit(Pts{P(0, 0)});
    EXPECT_EQ(h.n, 0);
    EXPECT_TRUE(h.points.isEmpty() && h.params.isEmpty());

    // The map form is keyed by the parameter on the first polyline.
    QMap<double, AcGePoint2d> hits = L::polylineIntersection(
        Pts{P(0, 0), P(2, 0), P(2, 2)}, Pts{P(1, -1), P(1, 1), P(3, 1)}, AcGeContext::gTol);
    ASSERT_EQ(hits.size(), 2);
    EXPECT_EQ(hits.value(0.5), P(1, 0));
    EXPECT_EQ(hits.value(1.5), P(2, 1));
    // Overlapping pieces give the other polyline's vertex when it lies on the segment.
    hits = L::polylineIntersection(Pts{P(0, 0), P(4, 0)}, Pts{P(1, 0), P(2, 0)}, AcGeContext::gTol);
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits.firstKey(), 0.25);
    EXPECT_EQ(hits.first(), P(1, 0));
    hits = L::polylineIntersection(Pts{P(1, 0), P(4, 0)}, Pts{P(0, 0), P(2, 0)}, AcGeContext::gTol);
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits.first(), P(1, 0));
    EXPECT_TRUE(L::polylineIntersection(Pts(), kUnit, AcGeContext::gTol).isEmpty());
}

TEST(GeoPolylineIntersection, SharedPiecesByVertexText) {
    const Pts a{P(0, 0), P(1, 0), P(2, 0), P(3, 0), P(4, 0)};
    QList<Pts> pieces = L::geoPolyInterSet(a, Pts{P(1, 0), P(2, 0), P(9, 9), P(3, 0)}, false, 3);
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_EQ(pieces[0], (Pts{P(1, 0), P(2, 0), P(3, 0)}));
    // Two vertices apart share no piece; the precision decides what counts as the same vertex.
    EXPECT_TRUE(L::geoPolyInterSet(a, Pts{P(1, 0), P(3, 0)}, false, 3).isEmpty());
    EXPECT_EQ(L::geoPolyInterSet(a, Pts{P(1.0004, 0), P(2.0004, 0)}, false, 3).size(), 1);
    EXPECT_TRUE(L::geoPolyInterSet(a, Pts{P(1.0004, 0), P(2.0004, 0)}, false, 4).isEmpty());
    // A closed ring's first vertex also stands for its last.
    const Pts closed{P(0, 0), P(1, 0), P(1, 1), P(0, 1), P(0, 0)};
    pieces = L::geoPolyInterSet(closed, Pts{P(0, 1), P(0, 0)}, false, 3);
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_EQ(pieces[0], (Pts{P(0, 1), P(0, 0)}));
}

TEST(GeoRebuild, RestartAndOrientRings) {
    Pts three{P(0, 0), P(1, 0), P(1, 1)};
    Doubles none;
    EXPECT_EQ(L::geoResetPolyline(three, none, Tavro::kStartAtIndex, 1, Tavro::kSortClockwise),
              Tavro::kTooFewVertices);
    EXPECT_EQ(three.length(), 3);

    Pts pts = kUnit;
    Doubles bulges{0.1, 0.2, 0.3, 0.4};
    EXPECT_EQ(L::geoResetPolyline(pts, bulges, Tavro::kStartAtIndex, 1, kKeepOrder),
              Tavro::kSuccess);
    EXPECT_EQ(pts, (Pts{P(1, 0), P(1, 1), P(0, 1), P(0, 0)}));
    EXPECT_EQ(bulges, (Doubles{0.2, 0.3, 0.4, 0.1}));
    EXPECT_EQ(restarted(kUnit, Tavro::kStartUpperRight, 0), P(1, 1));
    pts = kUnit;
    L::geoResetPolyline(pts, none, Tavro::kStartLowerLeft, 0, kKeepOrder);
    EXPECT_EQ(pts, kUnit);
    // Counterclockwise made clockwise: nodes and bulges reversed together.
    bulges = Doubles{0.1, 0.2, 0.3, 0.4};
    L::geoResetPolyline(pts, bulges, Tavro::kStartLowerLeft, 0, Tavro::kSortClockwise);
    EXPECT_EQ(pts, (Pts{P(0, 1), P(1, 1), P(1, 0), P(0, 0)}));
    EXPECT_EQ(bulges, (Doubles{-0.3, -0.2, -0.1, -0.4}));
    EXPECT_TRUE(CTavroGeoPoint::geoIsDeasil(pts));
    L::geoResetPolyline(pts, bulges, Tavro::kStartAtIndex, 0, Tavro::kSortClockwise);
    EXPECT_EQ(pts.first(), P(0, 1));
    // A start beyond the ring goes round; a negative one leaves it.
    EXPECT_EQ(restarted(kUnit, Tavro::kStartAtIndex, 6), P(1, 1));
    EXPECT_EQ(restarted(Pts{P(1, 1), P(0, 1), P(0, 0), P(1, 0)}, Tavro::kStartAtIndex, -3),
              P(1, 1));
}

TEST(GeoRebuild, SpliceAndUpperLeftStart) {
    const Tavro::NodeBulge line = ring(Pts{P(0, 0), P(4, 0), P(4, 4)}, Doubles{0, 0, 0});
    const Pts along{P(0, 0), P(1, 0), P(2, 1), P(3, 0), P(4, 0), P(4, 4)};
    Tavro::NodeBulge spliced = L::geoCombinePointArray(line, Pts{P(1, 0), P(2, 1), P(3, 0)});
    EXPECT_EQ(spliced.nodes, along);
    EXPECT_EQ(spliced.bulges, (Doubles{0, 0, 0, 0, 0, 0}));
    // Given backwards, the points still run along the polyline.
    EXPECT_EQ(L::geoCombinePointArray(line, Pts{P(3, 0), P(2, 1), P(1, 0)}).nodes, along);
    // On an arc the two remaining pieces keep their share of the sweep: a half circle cut at
    // its quarter points leaves quarter arcs of bulge tan(pi/16) at each end.
    const Tavro::NodeBulge arc = ring(Pts{P(1, 0), P(-1, 0)}, Doubles{1, 0});
    const double r = std::sqrt(0.5);
    spliced = L::geoCombinePointArray(arc, Pts{P(r, r), P(-r, r)});
    ASSERT_EQ(spliced.nodes.length(), 4);
    EXPECT_NEAR(spliced.bulges[0], std::tan(kPi / 16), 1e-6);
    EXPECT_EQ(spliced.bulges[1], 0.0);
    EXPECT_NEAR(spliced.bulges[2], std::tan(kPi / 16), 1e-6);

    QStringList printed;
    TavroHost::Handlers h;
    h.commandLine = [&](const QString& t) { printed << t; };
    TavroHost::setHandlers(h);
    spliced = L::geoCombinePointArray(line, Pts{P(1, 0), P(4, 1)});
    TavroHost::setHandlers({});
    EXPECT_EQ(printed, QStringList{u8("\n选择的点不在同一个弧段上。")});
    EXPECT_EQ(spliced.nodes, line.nodes);
    EXPECT_EQ(L::geoCombinePointArray(line, Pts()).nodes, line.nodes);
    EXPECT_EQ(L::geoCombinePointArray(line, Pts{P(9, 9), P(1, 0)}).nodes, line.nodes);
    EXPECT_EQ(L::geoBufferZone(arc, 5.0, true).bulges, arc.bulges);

    Pts pts{P(0, 0), P(0, 1), P(1, 1), P(1, 0)};
    L::geoSortLeftUpPoints(pts);
    EXPECT_EQ(pts, (Pts{P(0, 1), P(1, 1), P(1, 0), P(0, 0)}));
    Pts closed{P(0, 0), P(0, 1), P(1, 1), P(1, 0), P(0, 0)};
    Doubles bulges{0.1, 0.2, 0.3, 0.4, 0};
    L::geoSortLeftUpPoints(closed, bulges);
    EXPECT_EQ(closed, (Pts{P(0, 1), P(1, 1), P(1, 0), P(0, 0), P(0, 1)}));
    EXPECT_EQ(bulges, (Doubles{0.2, 0.3, 0.4, 0.1, 0.2}));
    Pts single{P(5, 5)};
    Doubles few;
    L::geoSortLeftUpPoints(single, few);
    L::geoSortLeftUpPoints(single);
    EXPECT_EQ(single.length(), 1);
}
