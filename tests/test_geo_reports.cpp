// The reports that gather a polyline's measures for the tavro program and C++ callers.

#include "TestSupport.h"

#include <cmath>

TEST(GeoReports, RingMeasuresOfACircleFromTwoHalves) {
    // Two bulge-1 arcs between (0, 0) and (2, 0): the counterclockwise unit circle round (1, 0).
    const TavroRingMeasures m =
        CTavroGeoReports::ringMeasures({P(0, 0), P(2, 0)}, Doubles{1.0, 1.0});
    EXPECT_EQ(m.vertices, 2);
    EXPECT_NEAR(m.length, kPi, 1e-12);        // the first half only: the listing is open
    EXPECT_NEAR(m.perimeter, 2 * kPi, 1e-12); // both halves
    EXPECT_NEAR(m.area, -kPi, 1e-12);         // counterclockwise is negative
    expectNear(m.extents.minPoint().convert2d(), 0, -1, 1e-12);
    expectNear(m.extents.maxPoint().convert2d(), 2, 1, 1e-12);
    ASSERT_TRUE(m.hasCentroid && m.hasLabel);
    expectNear(m.centroid, 1, 0, 1e-9);
    EXPECT_LT(m.label.distanceTo(P(1, 0)), 1.0);
    EXPECT_NEAR(m.minRectArea, 4.0, 1e-9); // the circle's square
    EXPECT_TRUE(m.finite());

    // A single vertex has no perimeter to check; coordinates near 1e300 overflow.
    EXPECT_TRUE(CTavroGeoReports::ringMeasures({P(3, 4)}, AcArray<double>()).finite());
    EXPECT_FALSE(
        CTavroGeoReports::ringMeasures({P(0, 0), P(1e300, 0), P(1e300, 1e300)}, AcArray<double>())
            .finite());
}

TEST(GeoReports, RegionsExtentsAndFlattenedPieces) {
    // A region with a missing bulge and a -0 side: padded with +0, unsigned area, inside label.
    Tavro::NodeBulge region = ring(Pts{P(0, 0), P(0, 2), P(2, 2), P(2, 0)}, Doubles{-0.0, 0.0});
    double area = 0.0;
    AcGePoint2d label;
    ASSERT_TRUE(CTavroGeoReports::regionMeasures(region, area, label));
    EXPECT_EQ(area, 4.0);
    EXPECT_EQ(region.bulges.length(), 4);
    EXPECT_FALSE(std::signbit(region.bulges[0]));
    EXPECT_TRUE(label.x > 0 && label.x < 2 && label.y > 0 && label.y < 2);

    // The bulge of the last vertex bends the closing side, listed closed or not: a half circle
    // on the chord from (2, 2) to (0, 0) round (1, 1), bulging up and left to 1 + sqrt 2 and
    // 1 - sqrt 2.
    const Tavro::NodeBulge open = ring(Pts{P(0, 0), P(2, 0), P(2, 2)}, Doubles{0.0, 0.0, 1.0});
    for (bool closed : {false, true}) {
        const AcDbExtents e = CTavroGeoReports::polylineExtents(open, closed);
        EXPECT_NEAR(e.minPoint().x, 1 - std::sqrt(2.0), 1e-12) << closed;
        EXPECT_NEAR(e.maxPoint().y, 1 + std::sqrt(2.0), 1e-12) << closed;
        EXPECT_NEAR(e.maxPoint().x, 2.0, 1e-12) << closed;
    }

    // A half circle of radius 1 (sweep pi): by 7 degree steps trunc(180 / 7) + 1 = 26 pieces,
    // by 0.5 long steps trunc(pi / 0.5) + 1 = 7; straight up to bulge 0.001 by angle only.
    const Tavro::NodeBulge half = ring(Pts{P(0, 0), P(2, 0), P(1, 5)}, Doubles{1.0, 0.001, 1.0});
    EXPECT_EQ(CTavroGeoReports::flattenedPieces(half, 0, false, 7 * kDeg, 0.0), 26.0);
    EXPECT_EQ(CTavroGeoReports::flattenedPieces(half, 0, false, 7 * kDeg, 0.5), 7.0);
    EXPECT_EQ(CTavroGeoReports::flattenedPieces(half, 1, false, 7 * kDeg, 0.0), 1.0);
    EXPECT_GT(CTavroGeoReports::flattenedPieces(half, 1, false, 7 * kDeg, 0.01), 1.0);
    EXPECT_EQ(CTavroGeoReports::flattenedPieces(half, 2, true, 7 * kDeg, 0.0), 1.0);
    EXPECT_GT(CTavroGeoReports::flattenedPieces(half, 2, false, 7 * kDeg, 0.0), 1.0);
    EXPECT_EQ(CTavroGeoReports::flattenedPieces(half, 3, false, 7 * kDeg, 0.0), 1.0);
}

// Arcs given by centre and angles: hand values of the bulges, and the polyline's own measures
// against the circle's (length r * sweep, area pi r^2 for the circle).
TEST(GeoReports, ArcsAndCirclesByCentreAsBulgePolylines) {
    const AcGePoint2d c = P(1, 1);
    Tavro::NodeBulge quarter = CTavroGeoReports::arcPolyline(c, 2.0, 0.0, 90.0);
    ASSERT_EQ(quarter.nodes.length(), 2);
    expectNear(quarter.nodes[0], 3, 1, 1e-15);
    expectNear(quarter.nodes[1], 1, 3, 1e-15);
    EXPECT_NEAR(quarter.bulges[0], std::sqrt(2.0) - 1.0, 1e-15); // tan(pi / 8)
    EXPECT_EQ(quarter.bulges[1], 0.0);
    // A sweep is taken modulo a turn; over 270 degrees it is cut in two; no sweep is a full turn.
    const struct {
        double from, to, sweep;
        int nodes;
    } cases[] = {{0, -90, 270, 2}, {10, 310, 300, 3}, {45, 45, 360, 3}, {-30, 750, 60, 2}};
    for (const auto& k : cases) {
        const Tavro::NodeBulge arc = CTavroGeoReports::arcPolyline(c, 2.0, k.from, k.to);
        ASSERT_EQ(arc.nodes.length(), k.nodes) << k.from << " " << k.to;
        const double length = CTavroGeoLine::GetBulgeLineLength(arc.nodes, arc.bulges, false);
        EXPECT_NEAR(length, 2.0 * k.sweep * kPi / 180.0, 1e-12) << k.from << " " << k.to;
        EXPECT_NEAR(arc.nodes.last().distanceTo(c), 2.0, 1e-15);
    }
    const Tavro::NodeBulge circle = CTavroGeoReports::circlePolyline(c, 2.0);
    EXPECT_NEAR(std::fabs(CTavroGeoPoint::geoArea(circle.nodes, circle.bulges)), 4.0 * kPi, 1e-12);
    const Tavro::NodeBulge bad = CTavroGeoReports::arcPolyline(c, 2.0, 0.0, std::nan(""));
    EXPECT_FALSE(std::isfinite(bad.nodes.last().x));
}

// Arc recovery's clean-up: a new arc over fewer chords than asked gets its input vertices back;
// one over enough chords stays; an output that is not a subsequence of the input is refused.
TEST(GeoReports, ShortRecoveredArcsAreTakenBack) {
    Tavro::NodeBulge in;
    for (int k = 0; k <= 6; ++k) {
        in.nodes.append(P(k, k * k * 0.01));
        in.bulges.append(0.0);
    }
    // One arc from vertex 0 to 3 (three chords), then a straight run to 6.
    Tavro::NodeBulge out = ring({in.nodes[0], in.nodes[3], in.nodes[6]}, {0.1, 0.0, 0.0});
    Tavro::NodeBulge kept = out;
    ASSERT_TRUE(CTavroGeoReports::keepShortArcRunsAsDrawn(in, false, 3, kept));
    EXPECT_EQ(kept.nodes, out.nodes);
    EXPECT_EQ(kept.bulges, out.bulges);
    kept = out;
    ASSERT_TRUE(CTavroGeoReports::keepShortArcRunsAsDrawn(in, false, 4, kept));
    EXPECT_EQ(kept.nodes, in.nodes); // no new arc left: the input itself
    EXPECT_EQ(kept.bulges, in.bulges);
    kept = ring({in.nodes[0], P(9, 9)}, {0.1, 0.0});
    EXPECT_FALSE(CTavroGeoReports::keepShortArcRunsAsDrawn(in, false, 4, kept));
    EXPECT_EQ(kept.nodes.length(), 2);
    Tavro::NodeBulge empty;
    EXPECT_FALSE(CTavroGeoReports::keepShortArcRunsAsDrawn(empty, true, 4, kept));
}
