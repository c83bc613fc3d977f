// Measures of rings with arcs on the true shape: the area centroid with the circular segments,
// the minimum-area rectangle with the arcs' extreme points, and a label point strictly inside.

#include "TestSupport.h"

#include <cmath>
#include <vector>

namespace {
using Pt = CTavroGeoPoint;

// The ring cut into chords of 0.01 degrees: a second route to the same measures.
Pts finely(const Pts& nodes, const Doubles& bulges) {
    Pts out;
    CTavroGeoLine::GetNodesHaveArc(nodes, bulges, out, true, 0.01, Tavro::kVerticesOnArc);
    return out;
}

double rectArea(const Pts& r) {
    return r.length() == 4 ? std::fabs(Pt::geoArea(r)) : -1.0;
}

// Whether p lies strictly inside the ring with its arcs and off its boundary by more than tol.
bool strictlyInside(const Pts& nodes, const Doubles& bulges, const AcGePoint2d& p, double tol) {
    const Pts ring = finely(nodes, bulges);
    double nearest = 1e300;
    for (int i = 0; i + 1 < ring.length(); ++i)
        nearest = std::min(nearest, Pt::geoNearestDistance(p, ring[i], ring[i + 1]));
    return CTavroGeoLine::geoPointWithPolygonRelation(p, ring, Doubles()) == 2 && nearest > tol;
}
} // namespace

TEST(GeoRingMeasures, CentroidTakesTheCircularSegments) {
    // A 60 x 80 rectangle with a half circle of radius 40 outside its east side (a Gauss-sized
    // copy of the sample's parcel B): x = (4800 * 30 + 800 pi * (60 + 160 / (3 pi))) /
    // (4800 + 800 pi) = 46.1439165...
    const Pts b{P(0, 0), P(60, 0), P(60, 80), P(0, 80)};
    const Doubles bulges{0, 1, 0, 0};
    const double expected =
        (4800.0 * 30.0 + 800.0 * kPi * (60.0 + 160.0 / (3.0 * kPi))) / (4800.0 + 800.0 * kPi);
    AcGePoint2d c;
    ASSERT_TRUE(Pt::geoBaryCenterPoint(b, bulges, c));
    expectNear(c, expected, 40.0, 1e-9);
    ASSERT_TRUE(Pt::geoBaryCenterPoint(shifted(b, 500100, 3500000), bulges, c));
    expectNear(c, 500100 + expected, 3500040.0, 1e-7);
    // The same ring reversed (clockwise, bulges negated and moved) has the same centroid.
    const Pts reversed{P(0, 80), P(60, 80), P(60, 0), P(0, 0)};
    ASSERT_TRUE(Pt::geoBaryCenterPoint(reversed, Doubles{0, -1, 0, 0}, c));
    expectNear(c, expected, 40.0, 1e-9);
    // An arc bulging into the ring takes its segment away: a 4 x 3 box whose top side (run
    // westward, bulge -1) is bent down by a half circle of radius 2 keeps 12 - 2 pi, with the
    // centroid at y = (12 * 1.5 - 2 pi * (3 - 8 / (3 pi))) / (12 - 2 pi) by hand; bulge +1
    // bends it up instead: (12 * 1.5 + 2 pi * (3 + 8 / (3 pi))) / (12 + 2 pi).
    const Pts box{P(0, 0), P(4, 0), P(4, 3), P(0, 3)};
    ASSERT_TRUE(Pt::geoBaryCenterPoint(box, Doubles{0, 0, -1, 0}, c));
    const double down = (18.0 - 2.0 * kPi * (3.0 - 8.0 / (3.0 * kPi))) / (12.0 - 2.0 * kPi);
    expectNear(c, 2.0, down, 1e-12);
    ASSERT_TRUE(Pt::geoBaryCenterPoint(box, Doubles{0, 0, 1, 0}, c));
    const double up = (18.0 + 2.0 * kPi * (3.0 + 8.0 / (3.0 * kPi))) / (12.0 + 2.0 * kPi);
    expectNear(c, 2.0, up, 1e-12);
    // Cross-check with the vertex centroid of the finely flattened ring.
    const Pts wavy{P(0, 0), P(10, 0), P(10, 6), P(4, 9), P(0, 6)};
    const Doubles wavyBulges{0.3, -0.4, 0.2, 0, -0.7};
    ASSERT_TRUE(Pt::geoBaryCenterPoint(wavy, wavyBulges, c));
    const AcGePoint2d flat = Pt::geoBaryCenterPoint(finely(wavy, wavyBulges));
    expectNear(c, flat.x, flat.y, 1e-5);
    // Without bulges it is the vertex centroid.
    ASSERT_TRUE(Pt::geoBaryCenterPoint(wavy, Doubles(), c));
    const AcGePoint2d plain = Pt::geoBaryCenterPoint(wavy);
    expectNear(c, plain.x, plain.y, 1e-12);
}

TEST(GeoRingMeasures, CircleOfTwoVertices) {
    // The usual CAD circle: two vertices with bulge 1, radius 1 about (1, 0).
    const Pts circle{P(0, 0), P(2, 0)};
    const Doubles bulges{1, 1};
    AcGePoint2d c;
    ASSERT_TRUE(Pt::geoBaryCenterPoint(circle, bulges, c));
    expectNear(c, 1.0, 0.0, 1e-12);
    const Pts r = Pt::geoMinAreaRect(circle, bulges);
    ASSERT_EQ(r.length(), 4);
    EXPECT_NEAR(rectArea(r), 4.0, 1e-9);
    expectNear(r[0], 0.0, -1.0, 1e-9); // square to the first chord, lower left first
    expectNear(r[2], 2.0, 1.0, 1e-9);
    AcGePoint2d label;
    ASSERT_TRUE(Pt::geoLabelPoint(circle, bulges, label));
    EXPECT_TRUE(strictlyInside(circle, bulges, label, 0.4));
}

TEST(GeoRingMeasures, MinimumRectangleWithArcExtremes) {
    // The half-circle parcel: the vertices' rectangle (60 x 80) leaves the arc out; the true one
    // is the 100 x 80 box.
    const Pts b{P(500100, 3500000), P(500160, 3500000), P(500160, 3500080), P(500100, 3500080)};
    const Doubles bulges{0, 1, 0, 0};
    const Pts r = Pt::geoMinAreaRect(b, bulges);
    EXPECT_NEAR(rectArea(r), 8000.0, 1e-6);
    expectNear(r[0], 500100, 3500000, 1e-6);
    expectNear(r[2], 500200, 3500080, 1e-6);
    // A stadium (two half circles of radius 1 on a 4 long side) turned by 30 degrees: 6 x 2.
    Pts stadium{P(0, -1), P(4, -1), P(4, 1), P(0, 1)};
    Pt::geoRotate(stadium, P(0, 0), 30 * kDeg);
    const Doubles ends{0, 1, 0, 1};
    EXPECT_NEAR(rectArea(Pt::geoMinAreaRect(stadium, ends)), 12.0, 1e-9);
    // Against the fine flattening: never larger than its rectangle by more than the chords'
    // sagitta, never smaller than the flattened shape's.
    const Pts wavy{P(0, 0), P(10, 0), P(10, 6), P(4, 9), P(0, 6)};
    const Doubles wavyBulges{0.3, -0.4, 0.2, 0, -0.7};
    const double exact = rectArea(Pt::geoMinAreaRect(wavy, wavyBulges));
    const double chords = rectArea(Pt::geoMinAreaRect(finely(wavy, wavyBulges)));
    EXPECT_LE(exact, chords + 1e-3);
    EXPECT_GE(exact, chords - 1e-3);
    // Without bulges: the vertex form's answer, corner for corner.
    const Pts tilted{P(0, 0), P(1, 1), P(2, 0), P(1, -1)};
    const Pts plain = Pt::geoMinAreaRect(tilted);
    const Pts same = Pt::geoMinAreaRect(tilted, Doubles{0, 0, 0, 0});
    ASSERT_EQ(same.length(), plain.length());
    for (int i = 0; i < plain.length(); ++i)
        expectNear(same[i], plain[i].x, plain[i].y, 0.0);
}

TEST(GeoRingMeasures, LabelPointStrictlyInside) {
    // A U whose notch runs from the top down to y = 10: the label keeps off every edge.
    const Pts u{P(0, 0), P(30, 0), P(30, 30), P(20, 30), P(20, 10), P(10, 10), P(10, 30), P(0, 30)};
    AcGePoint2d label;
    ASSERT_TRUE(Pt::geoLabelPoint(u, Doubles(), label));
    EXPECT_TRUE(strictlyInside(u, Doubles(), label, 4.0)) << label.x << ", " << label.y;
    // A 4 x 3 box whose top is bent down by a half circle of radius 2 to y = 1: the middle of
    // its extents (2, 1.5) lies in the bite; the label keeps out of it and off the boundary.
    const Pts box{P(0, 0), P(4, 0), P(4, 3), P(0, 3)};
    const Doubles bite{0, 0, -1, 0};
    ASSERT_TRUE(Pt::geoLabelPoint(box, bite, label));
    EXPECT_TRUE(strictlyInside(box, bite, label, 0.2)) << label.x << ", " << label.y;
    EXPECT_GT(std::hypot(label.x - 2.0, label.y - 3.0), 2.0);
    // Gauss-sized coordinates: the parcel with the half circle.
    const Pts b{P(500100, 3500000), P(500160, 3500000), P(500160, 3500080), P(500100, 3500080)};
    ASSERT_TRUE(Pt::geoLabelPoint(b, Doubles{0, 1, 0, 0}, label));
    EXPECT_TRUE(strictlyInside(b, Doubles{0, 1, 0, 0}, label, 20.0));
}

TEST(GeoRingMeasures, HostileInputAnswersFalseOrEmpty) {
    struct Case {
        const char* what;
        Pts nodes;
        Doubles bulges;
    };
    const std::vector<Case> cases = {
        {"empty", Pts(), Doubles()},
        {"one vertex", Pts{P(5, 5)}, Doubles{1}},
        {"two equal vertices", Pts{P(1, 1), P(1, 1)}, Doubles{1, 1}},
        {"collinear", Pts{P(0, 0), P(1, 1), P(2, 2)}, Doubles()},
        {"NaN", Pts{P(0, 0), P(kNaN, 1), P(2, 0)}, Doubles()},
        {"infinite bulge", Pts{P(0, 0), P(1, 0), P(1, 1)}, Doubles{kInf, 0, 0}},
        {"overflowing", Pts{P(1e200, 0), P(1e308, 0), P(1e308, 1e308)}, Doubles()},
        {"overflowing arc", Pts{P(-1e308, 0), P(1e308, 0)}, Doubles{1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AcGePoint2d out(7, 7);
        EXPECT_FALSE(Pt::geoBaryCenterPoint(c.nodes, c.bulges, out));
        EXPECT_FALSE(Pt::geoLabelPoint(c.nodes, c.bulges, out));
        expectNear(out, 7, 7, 0.0);
        if (!Pt::geoHaveBulge(c.bulges)) continue; // the vertex form's own answer
        const Pts r = Pt::geoMinAreaRect(c.nodes, c.bulges);
        EXPECT_TRUE(r.length() != 4 || !(rectArea(r) > 0.0) || !std::isfinite(rectArea(r)));
    }
    // More bulges than vertices, or fewer, are read as far as they go.
    AcGePoint2d out;
    EXPECT_TRUE(Pt::geoBaryCenterPoint(square(0, 0, 2), Doubles{0, 0, 0, 0, 5, 5}, out));
    expectNear(out, 1, 1, 1e-12);
    EXPECT_TRUE(Pt::geoLabelPoint(square(0, 0, 2), Doubles{0}, out));
}
