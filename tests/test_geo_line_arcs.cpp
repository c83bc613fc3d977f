// Arc flattening and arc recovery: bulge arcs cut into chords by angle or by arc length (on the
// arc or pushed out to keep the area), breaks between runs of equal chords, interpolated breaks,
// and arcs rebuilt from chords, with round trips between the two drawings.

#include "TavroGeometric142.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
using Pt = AcGePoint2d;
using L = CTavroGeoLine;
const double kPi = 3.14159265358979323846;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const double kRoot3Half = std::sqrt(3.0) / 2.0;

AcArray<Pt> nodes(std::initializer_list<Pt> pts) {
    return AcArray<Pt>(pts);
}

AcArray<double> bulges(std::initializer_list<double> values) {
    return AcArray<double>(values);
}

void expectPoint(const Pt& p, double x, double y, double tol = 1e-12) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

bool allFinite(const AcArray<Pt>& pts) {
    for (const Pt& p : pts)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    return true;
}

QList<long> breakList(std::initializer_list<long> values) {
    return QList<long>(values);
}

// Segment area of an arc of radius r over the angle theta: the area between chord and arc.
double segmentArea(double r, double theta) {
    return r * r / 2.0 * (theta - std::sin(theta));
}

// A circle of radius 10 about the origin as 36 equal chords of 10 degrees, listed with its
// first vertex (10, 0) again at the end: two half circles cut 18 times each.
AcArray<Pt> circleOf36Chords() {
    AcArray<Pt> out;
    L::GetNodesHaveArc(nodes({{10, 0}, {-10, 0}}), bulges({1, 1}), out, true, 10.5,
                       Tavro::kVerticesOnArc);
    return out;
}

AcArray<double> zeros(int n) {
    AcArray<double> out;
    for (int i = 0; i < n; ++i)
        out.append(0.0);
    return out;
}
} // namespace

// ---- Cutting arcs by angle ----

// Bulge 1 from (0,0) to (2,0): counterclockwise half circle below the chord, centre (1,0),
// radius 1. A 90 degree step gives trunc(180/90) + 1 = 3 pieces of 60 degrees.
TEST(GeoLineFlatten, HalfCircleByAngleOnTheArc) {
    AcArray<Pt> out;
    ASSERT_TRUE(L::GetNodesHaveArc(nodes({{0, 0}, {2, 0}}), bulges({1, 0}), out, false, 90.0,
                                   Tavro::kVerticesOnArc));
    ASSERT_EQ(out.length(), 4);
    expectPoint(out[0], 0, 0);
    expectPoint(out[1], 0.5, -kRoot3Half);
    expectPoint(out[2], 1.5, -kRoot3Half);
    expectPoint(out[3], 2, 0);

    // Clockwise (bulge -1) runs above the chord.
    ASSERT_TRUE(L::GetNodesHaveArc(nodes({{0, 0}, {2, 0}}), bulges({-1, 0}), out, false, 90.0,
                                   Tavro::kVerticesOnArc));
    ASSERT_EQ(out.length(), 4);
    expectPoint(out[1], 0.5, kRoot3Half);
    expectPoint(out[2], 1.5, kRoot3Half);

    // Closed: the first vertex again at the end, the output cleared first.
    ASSERT_TRUE(L::GetNodesHaveArc(nodes({{0, 0}, {2, 0}}), bulges({1, 0}), out, true, 90.0,
                                   Tavro::kVerticesOnArc));
    ASSERT_EQ(out.length(), 5);
    expectPoint(out[4], 0, 0, 0);

    // A step just above 90 degrees gives 2 pieces; any method other than 1 keeps the arc.
    ASSERT_TRUE(L::GetNodesHaveArc(nodes({{0, 0}, {2, 0}}), bulges({1, 0}), out, false, 90.001,
                                   static_cast<Tavro::ZheXianHuaMethod>(7)));
    ASSERT_EQ(out.length(), 3);
    expectPoint(out[1], 1, -1);
}

// The closing arc belongs to the last vertex: bulge 1 from (0,2) back to (0,0) is a half
// circle about (0,1) bulging to x = -1, cut at 150 and 210 degrees.
TEST(GeoLineFlatten, ClosingArcWithOrWithoutTheRepeatedFirstVertex) {
    const AcArray<Pt> square = nodes({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
    AcArray<Pt> open;
    AcArray<Pt> closed;
    AcArray<Pt> repeated;
    ASSERT_TRUE(
        L::GetNodesHaveArc(square, bulges({0, 0, 0, 1}), open, false, 90, Tavro::kVerticesOnArc));
    EXPECT_EQ(open.length(), 4); // an open polyline has no segment for the last bulge

    ASSERT_TRUE(
        L::GetNodesHaveArc(square, bulges({0, 0, 0, 1}), closed, true, 90, Tavro::kVerticesOnArc));
    ASSERT_EQ(closed.length(), 7);
    expectPoint(closed[4], -kRoot3Half, 1.5);
    expectPoint(closed[5], -kRoot3Half, 0.5);
    expectPoint(closed[6], 0, 0, 0);

    // Listed with (0,0) again at the end, its zero bulge adds nothing and the ring ends there.
    ASSERT_TRUE(L::GetNodesHaveArc(nodes({{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}}),
                                   bulges({0, 0, 0, 1, 0}), repeated, true, 90,
                                   Tavro::kVerticesOnArc));
    ASSERT_EQ(repeated.length(), closed.length());
    for (int i = 0; i < closed.length(); ++i)
        expectPoint(repeated[i], closed[i].x, closed[i].y);

    // A last vertex within 0.001 of the first is replaced by it, one further away is followed
    // by it.
    AcArray<Pt> out;
    L::GetNodesHaveArc(nodes({{0, 0}, {2, 0}, {2, 2}, {0.0009, 0}}), AcArray<double>(), out, true,
                       90, Tavro::kVerticesOnArc);
    ASSERT_EQ(out.length(), 4);
    expectPoint(out[3], 0, 0, 0);
    L::GetNodesHaveArc(nodes({{0, 0}, {2, 0}, {2, 2}, {0.0011, 0}}), AcArray<double>(), out, true,
                       90, Tavro::kVerticesOnArc);
    ASSERT_EQ(out.length(), 5);
    expectPoint(out[3], 0.0011, 0, 0);
}

// Bulge magnitude 0.001 stays a chord, just above it is an arc of 4*atan(0.0011) = 0.252
// degrees, cut by a 0.1 degree step into 3 pieces.
TEST(GeoLineFlatten, FlatBulgeBoundaryAndUnusableSteps) {
    AcArray<Pt> out;
    const AcArray<Pt> chord = nodes({{0, 0}, {2, 0}});
    L::GetNodesHaveArc(chord, bulges({0.001, 0}), out, false, 0.1, Tavro::kVerticesOnArc);
    EXPECT_EQ(out.length(), 2);
    L::GetNodesHaveArc(chord, bulges({-0.001, 0}), out, false, 0.1, Tavro::kVerticesOnArc);
    EXPECT_EQ(out.length(), 2);
    L::GetNodesHaveArc(chord, bulges({0.0011, 0}), out, false, 0.1, Tavro::kVerticesOnArc);
    EXPECT_EQ(out.length(), 4);

    // Step 0, negative, NaN: the vertices only, still a success.
    for (double step : {0.0, -10.0, kNaN}) {
        ASSERT_TRUE(
            L::GetNodesHaveArc(chord, bulges({1, 0}), out, false, step, Tavro::kVerticesOnArc));
        EXPECT_EQ(out.length(), 2);
    }
    // A bulge array of another length is not used.
    ASSERT_TRUE(L::GetNodesHaveArc(chord, bulges({1}), out, false, 10, Tavro::kVerticesOnArc));
    EXPECT_EQ(out.length(), 2);
}

TEST(GeoLineFlatten, DegenerateInputNeverCrashes) {
    AcArray<Pt> out = nodes({{7, 7}});
    EXPECT_FALSE(
        L::GetNodesHaveArc(AcArray<Pt>(), AcArray<double>(), out, true, 10, Tavro::kVerticesOnArc));
    EXPECT_EQ(out.length(), 1); // untouched

    // A bulge on a zero-length segment (the repeated vertex of a ring among them) adds nothing.
    ASSERT_TRUE(L::GetNodesHaveArc(nodes({{0, 0}, {0, 0}, {1, 0}, {0, 0}}), bulges({1, 0, 0, 0.5}),
                                   out, true, 5, Tavro::kKeepArea));
    EXPECT_EQ(out.length(), 4);
    EXPECT_TRUE(allFinite(out));

    // NaN and infinite coordinates or bulges: no vertex is made from them.
    ASSERT_TRUE(L::GetNodesHaveArc(nodes({{0, 0}, {kNaN, 1}, {kInf, 2}, {3, 3}}),
                                   bulges({1, 1, 1, kNaN}), out, true, 5, Tavro::kVerticesOnArc));
    EXPECT_EQ(out.length(), 5);
    ASSERT_TRUE(L::GetNodesHaveArc(nodes({{0, 0}, {1, 0}}), bulges({kInf, 0}), out, false, 5,
                                   Tavro::kVerticesOnArc));
    EXPECT_EQ(out.length(), 2);

    // One vertex, closed, with a bulge: that vertex alone.
    ASSERT_TRUE(
        L::GetNodesHaveArc(nodes({{4, 5}}), bulges({1}), out, true, 5, Tavro::kVerticesOnArc));
    ASSERT_EQ(out.length(), 1);
    expectPoint(out[0], 4, 5, 0);

    // The output may be the input array itself.
    AcArray<Pt> same = nodes({{0, 0}, {2, 0}});
    ASSERT_TRUE(L::GetNodesHaveArc(same, bulges({1, 0}), same, false, 90, Tavro::kVerticesOnArc));
    ASSERT_EQ(same.length(), 4);
    expectPoint(same[1], 0.5, -kRoot3Half);
}

// A vanishing step would ask for billions of pieces; each arc stops at 2^20 of them.
TEST(GeoLineFlatten, PiecesPerArcAreBounded) {
    AcArray<Pt> out;
    ASSERT_TRUE(L::GetNodesHaveArc(nodes({{0, 0}, {2, 0}}), bulges({1, 0}), out, false, 1e-12,
                                   Tavro::kVerticesOnArc));
    EXPECT_EQ(out.length(), (1 << 20) + 1);
    expectPoint(out[1 << 19], 1, -1, 1e-9); // the middle piece's end is the arc's low point
}

// ---- Keeping the area ----

// Two pieces: the middle vertex at R*delta/sin(delta) makes the two triangles over the centre
// exactly as large as the sector. Half circle of radius 1: delta = pi/2, vertex at (1, -pi/2),
// and the triangle (0,0), (1,-pi/2), (2,0) has the half disc's area pi/2.
TEST(GeoLineFlatten, KeepAreaIsExactForTwoPieces) {
    AcArray<Pt> out;
    ASSERT_TRUE(L::GetNodesHaveArc(nodes({{0, 0}, {2, 0}}), bulges({1, 0}), out, false, 100,
                                   Tavro::kKeepArea));
    ASSERT_EQ(out.length(), 3);
    expectPoint(out[1], 1, -kPi / 2);
    EXPECT_NEAR(CTavroGeoPoint::geoArea(out, zeros(3)), -kPi / 2, 1e-12);
}

// Three pieces of 60 degrees on the unit half circle: R1 = sqrt((pi/3)/sin(pi/3)) = 1.0996361,
// f = 3 / (3 - 2*sqrt(pi/3)/(sqrt(sin(pi/3)) + sqrt(pi/3))) = 1.5364555, inner radius
// 1 + 0.0996361*1.5364555 = 1.1530864 (worked out to 7 places beforehand).
TEST(GeoLineFlatten, KeepAreaRadiusReadsSectorOverTriangle) {
    AcArray<Pt> out;
    ASSERT_TRUE(L::GetNodesHaveArc(nodes({{0, 0}, {2, 0}}), bulges({1, 0}), out, false, 90,
                                   Tavro::kKeepArea));
    ASSERT_EQ(out.length(), 4);
    EXPECT_NEAR(out[1].distanceTo(Pt(1, 0)), 1.1530864, 1e-7);
    EXPECT_NEAR(out[2].distanceTo(Pt(1, 0)), 1.1530864, 1e-7);
    EXPECT_NEAR(std::atan2(out[1].y, out[1].x - 1), -2 * kPi / 3, 1e-12);
}

// The broken line closed by its chord against the arc's segment area r^2/2 (theta - sin theta):
// area keeping misses by a share of the segment that shrinks with the piece count, while the
// vertices on the arc lose the whole sagitta area of every piece.
TEST(GeoLineFlatten, KeepAreaKeepsTheSegmentArea) {
    // Arc of 4*atan(0.5) = 106.26 degrees on the chord (0,0)-(8,0): radius 5.
    const double theta = 4 * std::atan(0.5);
    const double segment = segmentArea(5, theta);
    struct Case {
        double step;
        double share;
    };
    for (const Case& c : {Case{40, 3e-3}, Case{20, 1e-4}, Case{5, 1e-7}}) {
        AcArray<Pt> kept;
        AcArray<Pt> onArc;
        L::GetNodesHaveArc(nodes({{0, 0}, {8, 0}}), bulges({0.5, 0}), kept, false, c.step,
                           Tavro::kKeepArea);
        L::GetNodesHaveArc(nodes({{0, 0}, {8, 0}}), bulges({0.5, 0}), onArc, false, c.step,
                           Tavro::kVerticesOnArc);
        const double keptArea = std::fabs(CTavroGeoPoint::geoArea(kept, zeros(kept.length())));
        const double arcArea = std::fabs(CTavroGeoPoint::geoArea(onArc, zeros(onArc.length())));
        EXPECT_NEAR(keptArea, segment, c.share * segment) << c.step;
        EXPECT_LT(arcArea, segment - 10 * c.share * segment) << c.step;
    }
}

// ---- Cutting arcs by arc length ----

// Radius 1, step 1.2: angle step 68.75 degrees, trunc(180/68.75) + 1 = 3 pieces; the arc's end
// comes once from the arc and once as the next vertex.
TEST(GeoLineFlatten, ArcStepAppendsAndRepeatsArcEnds) {
    AcArray<Pt> out = nodes({{-1, -1}});
    ASSERT_TRUE(L::GetNodesHaveArc(out, nodes({{0, 0}, {2, 0}}), bulges({1, 0}), 1.2,
                                   Tavro::kVerticesOnArc));
    ASSERT_EQ(out.length(), 6);
    expectPoint(out[0], -1, -1, 0); // not cleared
    expectPoint(out[1], 0, 0);
    expectPoint(out[2], 0.5, -kRoot3Half);
    expectPoint(out[3], 1.5, -kRoot3Half);
    expectPoint(out[4], 2, 0);
    expectPoint(out[5], 2, 0);

    // Pieces of about the step: the arc of length pi in steps of 0.1 gives 32 pieces.
    out.removeAll();
    ASSERT_TRUE(
        L::GetNodesHaveArc(out, nodes({{0, 0}, {2, 0}}), bulges({1, 0}), 0.1, Tavro::kKeepArea));
    EXPECT_EQ(out.length(), 32 + 1 + 1);
}

TEST(GeoLineFlatten, ArcStepBoundsAndMissingBulges) {
    AcArray<Pt> out;
    const AcArray<Pt> chord = nodes({{0, 0}, {2, 0}});
    EXPECT_FALSE(L::GetNodesHaveArc(out, chord, bulges({1, 0}), 0.0009, Tavro::kVerticesOnArc));
    EXPECT_FALSE(L::GetNodesHaveArc(out, chord, bulges({1, 0}), -0.0009, Tavro::kVerticesOnArc));
    EXPECT_FALSE(L::GetNodesHaveArc(out, chord, bulges({1, 0}), 0.0, Tavro::kVerticesOnArc));
    EXPECT_FALSE(L::GetNodesHaveArc(out, chord, bulges({1, 0}), kNaN, Tavro::kVerticesOnArc));
    EXPECT_FALSE(L::GetNodesHaveArc(out, AcArray<Pt>(), bulges({}), 1, Tavro::kVerticesOnArc));
    EXPECT_TRUE(out.isEmpty());

    // 0.001 is accepted: pi/0.001 = 3141.6 pieces.
    ASSERT_TRUE(L::GetNodesHaveArc(out, chord, bulges({1, 0}), 0.001, Tavro::kVerticesOnArc));
    EXPECT_EQ(out.length(), 3142 + 1 + 1);

    // A negative step of usable magnitude leaves the arc a chord.
    out.removeAll();
    ASSERT_TRUE(L::GetNodesHaveArc(out, chord, bulges({1, 0}), -1, Tavro::kVerticesOnArc));
    EXPECT_EQ(out.length(), 3);

    // A bulge on the last vertex bends nothing; missing bulges are straight.
    out.removeAll();
    ASSERT_TRUE(L::GetNodesHaveArc(out, chord, bulges({0, 1}), 0.1, Tavro::kVerticesOnArc));
    EXPECT_EQ(out.length(), 2);
    out.removeAll();
    ASSERT_TRUE(L::GetNodesHaveArc(out, nodes({{0, 0}, {2, 0}, {4, 0}}), bulges({0}), 0.1,
                                   Tavro::kVerticesOnArc));
    EXPECT_EQ(out.length(), 3);

    // Zero-length segments and NaN bulges make no vertex of their own.
    out.removeAll();
    ASSERT_TRUE(L::GetNodesHaveArc(out, nodes({{0, 0}, {0, 0}, {1, 1}}), bulges({1, kNaN, 0}), 0.1,
                                   Tavro::kKeepArea));
    EXPECT_EQ(out.length(), 4);
    EXPECT_TRUE(allFinite(out));
}

// ---- Breaks ----

// (-5,0), (0,0), a half circle of radius 5 about (5,0) cut into 6 chords of 30 degrees
// (vertices 1 to 7), (18,0), (18,3): the arc runs from break 1 to break 7, the others stand
// alone.
AcArray<Pt> straightArcStraight() {
    AcArray<Pt> out;
    L::GetNodesHaveArc(nodes({{-5, 0}, {0, 0}, {10, 0}, {18, 0}, {18, 3}}), bulges({0, 1, 0, 0, 0}),
                       out, false, 31, Tavro::kVerticesOnArc);
    return out;
}

TEST(GeoLineBreaks, ArcRunsAndSingleChords) {
    const AcArray<Pt> line = straightArcStraight();
    ASSERT_EQ(line.length(), 10);
    QList<long> breaks;
    EXPECT_FALSE(L::GetBreakPtofNodes(line, breaks, 1e-3));
    EXPECT_EQ(breaks, breakList({0, 1, 7, 8, 9}));

    // A circle drawn to the end: one arc from 0, the last three chords on their own.
    breaks.clear();
    EXPECT_TRUE(L::GetBreakPtofNodes(circleOf36Chords(), breaks, 1e-3));
    EXPECT_EQ(breaks, breakList({0, 33, 34, 35, 36}));

    // All chords differ: every vertex is a break.
    breaks.clear();
    EXPECT_FALSE(L::GetBreakPtofNodes(nodes({{0, 0}, {1, 0}, {1, 2}, {4, 2}, {4, 6}, {9, 6}}),
                                      breaks, 1e-3));
    EXPECT_EQ(breaks, breakList({0, 1, 2, 3, 4, 5}));

    // Equal chords on a straight line fit no circle.
    breaks.clear();
    L::GetBreakPtofNodes(nodes({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}), breaks, 1e-3);
    EXPECT_EQ(breaks, breakList({0, 1, 2, 3, 4, 5}));
}

TEST(GeoLineBreaks, ToleranceAndDegenerateInput) {
    // The arc's chords are 2*5*sin(15 deg) = 2.588; a vertex moved 1e-4 along the chord
    // direction breaks the run with tol 1e-5 but not with tol 1e-3.
    AcArray<Pt> line = straightArcStraight();
    line[4].x += 1e-4;
    QList<long> loose;
    QList<long> tight;
    L::GetBreakPtofNodes(line, loose, 1e-3);
    L::GetBreakPtofNodes(line, tight, 1e-5);
    EXPECT_EQ(loose, breakList({0, 1, 7, 8, 9}));
    EXPECT_NE(tight, loose);

    // Four vertices record nothing; fewer are refused; the list is appended to.
    QList<long> breaks;
    EXPECT_FALSE(L::GetBreakPtofNodes(nodes({{0, 0}, {1, 0}, {1, 1}, {0, 1}}), breaks, 1e-3));
    EXPECT_TRUE(breaks.isEmpty());
    EXPECT_FALSE(L::GetBreakPtofNodes(AcArray<Pt>(), breaks, 1e-3));
    breaks = breakList({99});
    L::GetBreakPtofNodes(nodes({{0, 0}, {1, 0}, {1, 2}, {4, 2}, {4, 6}}), breaks, 1e-3);
    EXPECT_EQ(breaks, breakList({99, 0, 1, 2, 3, 4}));

    // NaN coordinates, repeated vertices, a NaN or negative tolerance: single chords.
    for (double tol : {1e-3, kNaN, -1.0}) {
        breaks.clear();
        L::GetBreakPtofNodes(nodes({{0, 0}, {0, 0}, {0, 0}, {kNaN, 1}, {2, kInf}, {3, 3}}), breaks,
                             tol);
        EXPECT_EQ(breaks, breakList({0, 1, 2, 3, 4, 5}));
    }
}

// Chords 0.95, 1, 1, 0.95 along the x axis: the flanks are equal and 5 % shorter, the line does
// not turn, so the break between the two long chords goes.
TEST(GeoLineBreaks, InterpolatedBreaks) {
    const AcArray<Pt> line = nodes({{0, 0}, {0.95, 0}, {1.95, 0}, {2.95, 0}, {3.9, 0}});
    QList<long> breaks = breakList({0, 1, 2, 3, 4});
    EXPECT_TRUE(L::GetInterpolationBreakNodes(line, breaks, 5));
    EXPECT_EQ(breaks, breakList({0, 1, 3, 4}));

    // Mode 4 and other modes drop nothing.
    for (int mode : {4, 0, 6, -5}) {
        breaks = breakList({0, 1, 2, 3, 4});
        EXPECT_FALSE(L::GetInterpolationBreakNodes(line, breaks, mode));
        EXPECT_EQ(breaks, breakList({0, 1, 2, 3, 4}));
    }

    // Flanks 9 % shorter still go, 11 % shorter stay; unequal flanks stay.
    auto drops = [](double before, double after) {
        const double x1 = before, x3 = before + 2;
        QList<long> list = breakList({0, 1, 2, 3, 4});
        return L::GetInterpolationBreakNodes(
            nodes({{0, 0}, {x1, 0}, {x1 + 1, 0}, {x3, 0}, {x3 + after, 0}}), list, 5);
    };
    EXPECT_TRUE(drops(0.91, 0.91));
    EXPECT_FALSE(drops(0.89, 0.89));
    EXPECT_FALSE(drops(0.95, 0.96));
    EXPECT_FALSE(drops(1.0, 1.0)); // equal, not shorter

    // The turn at the vertex before must stay under 45 degrees either way, also when the two
    // chords lie on either side of direction 0 (a right turn of 50 degrees from direction 310
    // to 0), and a turn past 90 degrees (whose tangent is negative) is no gentle turn either.
    auto turned = [](double degrees) {
        const double a = degrees * kPi / 180;
        const Pt v0(0.95 - 0.95 * std::cos(a), -0.95 * std::sin(a));
        QList<long> list = breakList({0, 1, 2, 3, 4});
        return L::GetInterpolationBreakNodes(nodes({v0, {0.95, 0}, {1.95, 0}, {2.95, 0}, {3.9, 0}}),
                                             list, 5);
    };
    EXPECT_TRUE(turned(40));
    EXPECT_TRUE(turned(-40));
    EXPECT_FALSE(turned(50));
    EXPECT_FALSE(turned(-50));
    EXPECT_FALSE(turned(120));

    // Breaks that are not one vertex apart form no run; breaks outside the vertices are refused.
    breaks = breakList({0, 1, 3, 4});
    EXPECT_FALSE(L::GetInterpolationBreakNodes(line, breaks, 5));
    breaks = breakList({0, 1, 2, 3, 4, 5});
    EXPECT_FALSE(L::GetInterpolationBreakNodes(line, breaks, 5));
    EXPECT_EQ(breaks.size(), 6);
    breaks = breakList({-1, 0, 1, 2, 3});
    EXPECT_FALSE(L::GetInterpolationBreakNodes(line, breaks, 5));
    breaks.clear();
    EXPECT_FALSE(L::GetInterpolationBreakNodes(AcArray<Pt>(), breaks, 5));
}

// ---- Arc recovery ----

// The broken line of straightArcStraight comes back as the five vertices it was cut from, the
// half circle's bulge 1 on the second.
TEST(GeoLineRecover, StraightArcStraightRoundTrip) {
    AcArray<Pt> pts;
    AcArray<double> bs;
    const AcArray<Pt> line = straightArcStraight();
    ASSERT_TRUE(L::geoDeconvolution(pts, bs, line, zeros(line.length()), false, 1e-3));
    ASSERT_EQ(pts.length(), 5);
    ASSERT_EQ(bs.length(), 5);
    const double xs[] = {-5, 0, 10, 18, 18};
    const double ys[] = {0, 0, 0, 0, 3};
    const double expected[] = {0, 1, 0, 0, 0};
    for (int i = 0; i < 5; ++i) {
        expectPoint(pts[i], xs[i], ys[i]);
        EXPECT_NEAR(bs[i], expected[i], 1e-9) << i;
    }
}

// 36 chords of 10 degrees on radius 10. The arc runs from vertex 0 to 33 (330 degrees, bulge
// tan(82.5 deg) = 7.5957541), the last three chords stay: area 100 pi - 3*50*(d - sin d) with
// d = pi/18, i.e. 314.0265532, counterclockwise so negative.
TEST(GeoLineRecover, CircleOf36ChordsComesBackAsArcs) {
    const AcArray<Pt> repeated = circleOf36Chords();
    ASSERT_EQ(repeated.length(), 37);
    AcArray<Pt> trimmed = repeated;
    trimmed.removeLast();
    const AcArray<Pt> unrepeated = trimmed;

    for (const AcArray<Pt>* ring : {&repeated, &unrepeated}) {
        AcArray<Pt> pts;
        AcArray<double> bs;
        ASSERT_TRUE(L::geoDeconvolution(pts, bs, *ring, zeros(ring->length()), true, 1e-3));
        ASSERT_EQ(pts.length(), 5);
        EXPECT_NEAR(bs[0], 7.5957541127, 1e-9);
        for (int i = 1; i < 5; ++i)
            EXPECT_EQ(bs[i], 0.0);
        expectPoint(pts[4], 10, 0, 0);
        const double area = CTavroGeoPoint::geoArea(pts, bs);
        EXPECT_NEAR(area, -314.0265532291, 1e-8);
        EXPECT_NEAR(-area, 100 * kPi, 0.005 * 100 * kPi);
        // The chords alone miss by 0.51 %.
        EXPECT_GT(
            std::fabs(std::fabs(CTavroGeoPoint::geoArea(*ring, zeros(ring->length()))) - 100 * kPi),
            0.005 * 100 * kPi);
    }

    // Open, the ring's repeated end vertex goes: the ring still closes back to (10, 0).
    AcArray<Pt> pts;
    AcArray<double> bs;
    ASSERT_TRUE(L::geoDeconvolution(pts, bs, repeated, zeros(37), false, 1e-3));
    ASSERT_EQ(pts.length(), 4);
    EXPECT_NEAR(CTavroGeoPoint::geoArea(pts, bs), -314.0265532291, 1e-8);
}

// Area keeping pushes the inner vertices of the half circle of straightArcStraight out to
// radius 5.137, so its end chords are shorter than the inner ones and the run of equal chords
// is V1-V5 on the pushed circle. Its flanks (0,0)-V1 and V5-(10,0) mirror each other about that
// circle, so the arc widens back over them and the five vertices come back.
TEST(GeoLineRecover, KeepAreaRoundTripWidensOverTheFlanks) {
    AcArray<Pt> line;
    ASSERT_TRUE(L::GetNodesHaveArc(nodes({{-5, 0}, {0, 0}, {10, 0}, {18, 0}, {18, 3}}),
                                   bulges({0, 1, 0, 0, 0}), line, false, 31, Tavro::kKeepArea));
    ASSERT_EQ(line.length(), 10);
    EXPECT_GT(line[4].distanceTo(Pt(5, 0)), 5.1);

    QList<long> breaks;
    L::GetBreakPtofNodes(line, breaks, 1e-3);
    EXPECT_EQ(breaks, breakList({0, 1, 2, 6, 7, 8, 9}));

    AcArray<Pt> pts;
    AcArray<double> bs;
    ASSERT_TRUE(L::geoDeconvolution(pts, bs, line, zeros(10), false, 1e-3));
    ASSERT_EQ(pts.length(), 5);
    const double xs[] = {-5, 0, 10, 18, 18};
    const double ys[] = {0, 0, 0, 0, 3};
    const double expected[] = {0, 1, 0, 0, 0};
    for (int i = 0; i < 5; ++i) {
        expectPoint(pts[i], xs[i], ys[i]);
        EXPECT_NEAR(bs[i], expected[i], 1e-9) << i;
    }
}

// Area keeping with four pieces of 45 degrees gives chords 0.796, 0.821, 0.821, 0.796 on the
// unit half circle: the flanks are equal and 3 % shorter, but the line turns by 49.8 degrees at
// the first inner vertex, so the middle break stays.
TEST(GeoLineRecover, SharpTurnKeepsTheMiddleBreak) {
    AcArray<Pt> line;
    L::GetNodesHaveArc(nodes({{0, 0}, {2, 0}}), bulges({1, 0}), line, false, 50, Tavro::kKeepArea);
    ASSERT_EQ(line.length(), 5);
    EXPECT_NEAR(line[2].y, -1.0725108664, 1e-9);
    QList<long> breaks = breakList({0, 1, 2, 3, 4});
    EXPECT_FALSE(L::GetInterpolationBreakNodes(line, breaks, 5));
}

// Chords 1, 2, 3, 4, 5, 6 (all different): every vertex is a break and comes back with its own
// bulge, whether open or closed.
TEST(GeoLineRecover, DifferentChordsComeBackUnchanged) {
    const AcArray<Pt> line = nodes({{0, 0}, {1, 0}, {1, 2}, {4, 2}, {4, 6}, {-1, 6}, {-1, 0}});
    const AcArray<double> bs = bulges({0, 0.2, 0, -0.4, 0, 0, 0.3});
    for (bool closed : {false, true}) {
        AcArray<Pt> pts;
        AcArray<double> out;
        ASSERT_TRUE(L::geoDeconvolution(pts, out, line, bs, closed, 1e-3));
        ASSERT_EQ(pts.length(), line.length());
        for (int i = 0; i < line.length(); ++i) {
            expectPoint(pts[i], line[i].x, line[i].y, 0);
            EXPECT_EQ(out[i], bs[i]);
        }
    }
    // Equal chords on a straight line stay as they are too.
    const AcArray<Pt> straight = nodes({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}});
    AcArray<Pt> pts;
    AcArray<double> out;
    ASSERT_TRUE(L::geoDeconvolution(pts, out, straight, zeros(6), false, 1e-3));
    EXPECT_EQ(pts.length(), 6);
}

TEST(GeoLineRecover, UnusableInputLeavesOrEmptiesTheOutputs) {
    AcArray<Pt> pts = nodes({{9, 9}});
    AcArray<double> bs = bulges({0.5});
    EXPECT_FALSE(L::geoDeconvolution(pts, bs, nodes({{0, 0}, {1, 0}, {1, 1}}), zeros(3), true, 1));
    EXPECT_FALSE(L::geoDeconvolution(pts, bs, nodes({{0, 0}, {1, 0}, {2, 1}, {3, 3}, {4, 6}}),
                                     zeros(4), false, 1e-3));
    EXPECT_FALSE(L::geoDeconvolution(pts, bs, nodes({{0, 0}, {1, 0}, {2, 1}, {3, 3}, {4, 6}}),
                                     AcArray<double>(), false, 1e-3));
    EXPECT_FALSE(L::geoDeconvolution(pts, bs, AcArray<Pt>(), AcArray<double>(), false, 1e-3));
    ASSERT_EQ(pts.length(), 1); // untouched
    ASSERT_EQ(bs.length(), 1);

    // Four vertices find no break: false, outputs emptied.
    EXPECT_FALSE(L::geoDeconvolution(pts, bs, nodes({{0, 0}, {1, 0}, {1, 1}, {0, 1}}), zeros(4),
                                     false, 1e-3));
    EXPECT_TRUE(pts.isEmpty());
    EXPECT_TRUE(bs.isEmpty());
}

TEST(GeoLineRecover, DegenerateInputNeverCrashes) {
    AcArray<Pt> pts;
    AcArray<double> bs;
    // Repeated vertices, NaN and infinite coordinates, open and closed, any tolerance.
    const AcArray<Pt> odd =
        nodes({{0, 0}, {0, 0}, {0, 0}, {kNaN, 1}, {2, kInf}, {3, 3}, {3, 3}, {0, 0}});
    for (bool closed : {false, true})
        for (double tol : {1e-3, 0.0, -1.0, kNaN, kInf}) {
            L::geoDeconvolution(pts, bs, odd, zeros(odd.length()), closed, tol);
            EXPECT_EQ(pts.length(), bs.length());
        }

    // Closed regular polygons listed without their first vertex again, so that the closing
    // chord joins the arc: the run after the last break ends at the first vertex, inside the
    // arrays, however few vertices there are.
    for (int n = 4; n <= 9; ++n) {
        AcArray<Pt> ring;
        for (int i = 0; i < n; ++i)
            ring.append(Pt(3 * std::cos(2 * kPi * i / n), 3 * std::sin(2 * kPi * i / n)));
        EXPECT_TRUE(L::geoDeconvolution(pts, bs, ring, zeros(n), true, 1e-3)) << n;
        EXPECT_EQ(pts.length(), bs.length());
    }

    // The outputs may be the inputs themselves.
    AcArray<Pt> line = straightArcStraight();
    AcArray<double> lineBulges = zeros(line.length());
    ASSERT_TRUE(L::geoDeconvolution(line, lineBulges, line, lineBulges, false, 1e-3));
    EXPECT_EQ(line.length(), 5);
    EXPECT_NEAR(lineBulges[1], 1.0, 1e-9);
}
