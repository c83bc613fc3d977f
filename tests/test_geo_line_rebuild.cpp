// Intersecting polylines and rebuilding vertex lists.

#include "TavroGeometric142.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>

namespace {
const double kPi = 3.14159265358979323846;
using Pts = AcArray<AcGePoint2d>;
using Doubles = AcArray<double>;
AcGePoint2d P(double x, double y) {
    return AcGePoint2d(x, y);
}
const Pts kUnit{P(0, 0), P(1, 0), P(1, 1), P(0, 1)};
} // namespace

TEST(GeoPolylineIntersection, HitsAlongTheRingCountedOnce) {
    Pts points{P(9, 9)};
    Doubles params{7};
    // Across the square: the east side (segment 1) comes before the west side (segment 3).
    EXPECT_EQ(
        CTavroGeoLine::polylineIntersection(kUnit, Pts{P(-1, 0.5), P(2, 0.5)}, points, params), 2);
    EXPECT_EQ(points, (Pts{P(1, 0.5), P(0, 0.5)}));
    EXPECT_EQ(params, (Doubles{1.5, 3.5}));
    // Through two corners: each corner once, on the segment that starts there.
    EXPECT_EQ(CTavroGeoLine::polylineIntersection(kUnit, Pts{P(-1, -1), P(2, 2)}, points, params),
              2);
    EXPECT_EQ(points, (Pts{P(0, 0), P(1, 1)}));
    EXPECT_EQ(params, (Doubles{0, 2}));
    // The polyline's own last vertex lying on the ring counts.
    EXPECT_EQ(
        CTavroGeoLine::polylineIntersection(kUnit, Pts{P(0.5, 0.5), P(0.5, 1)}, points, params), 1);
    EXPECT_EQ(points, (Pts{P(0.5, 1)}));
    EXPECT_EQ(params, (Doubles{2.5}));
    EXPECT_EQ(CTavroGeoLine::polylineIntersection(kUnit, Pts{P(0, 0)}, points, params), 0);
    EXPECT_TRUE(points.isEmpty());
    EXPECT_TRUE(params.isEmpty());
}

TEST(GeoPolylineIntersection, MapKeyedByParameterOnTheFirst) {
    QMap<double, AcGePoint2d> hits = CTavroGeoLine::polylineIntersection(
        Pts{P(0, 0), P(2, 0), P(2, 2)}, Pts{P(1, -1), P(1, 1), P(3, 1)}, AcGeContext::gTol);
    ASSERT_EQ(hits.size(), 2);
    EXPECT_EQ(hits.value(0.5), P(1, 0));
    EXPECT_EQ(hits.value(1.5), P(2, 1));
    // Overlapping pieces give the other polyline's vertex when it lies on the segment.
    hits = CTavroGeoLine::polylineIntersection(Pts{P(0, 0), P(4, 0)}, Pts{P(1, 0), P(2, 0)},
                                               AcGeContext::gTol);
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits.firstKey(), 0.25);
    EXPECT_EQ(hits.first(), P(1, 0));
    hits = CTavroGeoLine::polylineIntersection(Pts{P(1, 0), P(4, 0)}, Pts{P(0, 0), P(2, 0)},
                                               AcGeContext::gTol);
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits.first(), P(1, 0));
    EXPECT_TRUE(CTavroGeoLine::polylineIntersection(Pts(), kUnit, AcGeContext::gTol).isEmpty());
}

TEST(GeoPolylineIntersection, SharedPiecesByVertexText) {
    const Pts a{P(0, 0), P(1, 0), P(2, 0), P(3, 0), P(4, 0)};
    QList<Pts> pieces =
        CTavroGeoLine::geoPolyInterSet(a, Pts{P(1, 0), P(2, 0), P(9, 9), P(3, 0)}, false, 3);
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_EQ(pieces[0], (Pts{P(1, 0), P(2, 0), P(3, 0)}));
    // Two vertices apart share no piece; the precision decides what counts as the same vertex.
    EXPECT_TRUE(CTavroGeoLine::geoPolyInterSet(a, Pts{P(1, 0), P(3, 0)}, false, 3).isEmpty());
    pieces = CTavroGeoLine::geoPolyInterSet(a, Pts{P(1.0004, 0), P(2.0004, 0)}, false, 3);
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_TRUE(
        CTavroGeoLine::geoPolyInterSet(a, Pts{P(1.0004, 0), P(2.0004, 0)}, false, 4).isEmpty());
    // A closed ring's first vertex also stands for its last.
    const Pts closed{P(0, 0), P(1, 0), P(1, 1), P(0, 1), P(0, 0)};
    pieces = CTavroGeoLine::geoPolyInterSet(closed, Pts{P(0, 1), P(0, 0)}, false, 3);
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_EQ(pieces[0], (Pts{P(0, 1), P(0, 0)}));
}

TEST(GeoRebuild, RestartAndOrientRings) {
    Pts pts = kUnit;
    Doubles bulges{0.1, 0.2, 0.3, 0.4};
    Pts three{P(0, 0), P(1, 0), P(1, 1)};
    Doubles none;
    EXPECT_EQ(CTavroGeoLine::geoResetPolyline(three, none, Tavro::kStartAtIndex, 1,
                                              Tavro::kSortClockwise),
              Tavro::kTooFewVertices);
    EXPECT_EQ(three.length(), 3);

    EXPECT_EQ(CTavroGeoLine::geoResetPolyline(pts, bulges, Tavro::kStartAtIndex, 1,
                                              static_cast<Tavro::SortMode>(0)),
              Tavro::kSuccess);
    EXPECT_EQ(pts, (Pts{P(1, 0), P(1, 1), P(0, 1), P(0, 0)}));
    EXPECT_EQ(bulges, (Doubles{0.2, 0.3, 0.4, 0.1}));

    pts = kUnit;
    CTavroGeoLine::geoResetPolyline(pts, none, Tavro::kStartUpperRight, 0,
                                    static_cast<Tavro::SortMode>(0));
    EXPECT_EQ(pts.first(), P(1, 1));
    pts = kUnit;
    CTavroGeoLine::geoResetPolyline(pts, none, Tavro::kStartLowerLeft, 0,
                                    static_cast<Tavro::SortMode>(0));
    EXPECT_EQ(pts, kUnit);
    // Counterclockwise made clockwise: nodes and bulges reversed together.
    pts = kUnit;
    bulges = Doubles{0.1, 0.2, 0.3, 0.4};
    CTavroGeoLine::geoResetPolyline(pts, bulges, Tavro::kStartLowerLeft, 0, Tavro::kSortClockwise);
    EXPECT_EQ(pts, (Pts{P(0, 1), P(1, 1), P(1, 0), P(0, 0)}));
    EXPECT_EQ(bulges, (Doubles{-0.3, -0.2, -0.1, -0.4}));
    EXPECT_TRUE(CTavroGeoPoint::geoIsDeasil(pts));
    CTavroGeoLine::geoResetPolyline(pts, bulges, Tavro::kStartAtIndex, 0, Tavro::kSortClockwise);
    EXPECT_EQ(pts.first(), P(0, 1));
    // A start beyond the ring goes round; a negative one leaves it.
    pts = kUnit;
    CTavroGeoLine::geoResetPolyline(pts, none, Tavro::kStartAtIndex, 6,
                                    static_cast<Tavro::SortMode>(0));
    EXPECT_EQ(pts.first(), P(1, 1));
    CTavroGeoLine::geoResetPolyline(pts, none, Tavro::kStartAtIndex, -3,
                                    static_cast<Tavro::SortMode>(0));
    EXPECT_EQ(pts.first(), P(1, 1));
}

TEST(GeoRebuild, SpliceAndUpperLeftStart) {
    Tavro::NodeBulge line;
    line.nodes = Pts{P(0, 0), P(4, 0), P(4, 4)};
    line.bulges = Doubles{0, 0, 0};
    Tavro::NodeBulge spliced =
        CTavroGeoLine::geoCombinePointArray(line, Pts{P(1, 0), P(2, 1), P(3, 0)});
    EXPECT_EQ(spliced.nodes, (Pts{P(0, 0), P(1, 0), P(2, 1), P(3, 0), P(4, 0), P(4, 4)}));
    EXPECT_EQ(spliced.bulges, (Doubles{0, 0, 0, 0, 0, 0}));
    // Given backwards, the points still run along the polyline.
    spliced = CTavroGeoLine::geoCombinePointArray(line, Pts{P(3, 0), P(2, 1), P(1, 0)});
    EXPECT_EQ(spliced.nodes, (Pts{P(0, 0), P(1, 0), P(2, 1), P(3, 0), P(4, 0), P(4, 4)}));
    // On an arc the two remaining pieces keep their share of the sweep: a half circle cut at
    // its quarter points leaves quarter arcs of bulge tan(pi/16) at each end.
    Tavro::NodeBulge arc;
    arc.nodes = Pts{P(1, 0), P(-1, 0)};
    arc.bulges = Doubles{1, 0};
    const double r = std::sqrt(0.5);
    spliced = CTavroGeoLine::geoCombinePointArray(arc, Pts{P(r, r), P(-r, r)});
    ASSERT_EQ(spliced.nodes.length(), 4);
    EXPECT_NEAR(spliced.bulges[0], std::tan(kPi / 16), 1e-6);
    EXPECT_EQ(spliced.bulges[1], 0.0);
    EXPECT_NEAR(spliced.bulges[2], std::tan(kPi / 16), 1e-6);

    QStringList printed;
    TavroHost::Handlers h;
    h.commandLine = [&](const QString& t) { printed << t; };
    TavroHost::setHandlers(h);
    spliced = CTavroGeoLine::geoCombinePointArray(line, Pts{P(1, 0), P(4, 1)});
    TavroHost::setHandlers({});
    EXPECT_EQ(printed, QStringList{QString::fromUtf8("\n选择的点不在同一个弧段上。")});
    EXPECT_EQ(spliced.nodes, line.nodes);
    EXPECT_EQ(CTavroGeoLine::geoCombinePointArray(line, Pts()).nodes, line.nodes);
    EXPECT_EQ(CTavroGeoLine::geoCombinePointArray(line, Pts{P(9, 9), P(1, 0)}).nodes, line.nodes);
    EXPECT_EQ(CTavroGeoLine::geoBufferZone(arc, 5.0, true).bulges, arc.bulges);

    Pts pts{P(0, 0), P(0, 1), P(1, 1), P(1, 0)};
    CTavroGeoLine::geoSortLeftUpPoints(pts);
    EXPECT_EQ(pts, (Pts{P(0, 1), P(1, 1), P(1, 0), P(0, 0)}));
    Pts ring{P(0, 0), P(0, 1), P(1, 1), P(1, 0), P(0, 0)};
    Doubles bulges{0.1, 0.2, 0.3, 0.4, 0};
    CTavroGeoLine::geoSortLeftUpPoints(ring, bulges);
    EXPECT_EQ(ring, (Pts{P(0, 1), P(1, 1), P(1, 0), P(0, 0), P(0, 1)}));
    EXPECT_EQ(bulges, (Doubles{0.2, 0.3, 0.4, 0.1, 0.2}));
    Pts single{P(5, 5)};
    Doubles few;
    CTavroGeoLine::geoSortLeftUpPoints(single, few);
    CTavroGeoLine::geoSortLeftUpPoints(single);
    EXPECT_EQ(single.length(), 1);
}
