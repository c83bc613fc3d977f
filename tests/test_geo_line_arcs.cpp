// Arc flattening and arc recovery: bulge arcs cut into chords by angle or by arc length (on the
// arc or pushed out to keep the area), breaks between runs of equal chords, interpolated breaks,
// and arcs rebuilt from chords, with round trips between the two drawings.

#include "TestSupport.h"

#include <algorithm>

namespace {
using L = CTavroGeoLine;
using Breaks = QList<long>;
const double kRoot3Half = std::sqrt(3.0) / 2.0;
const Pts kChord{P(0, 0), P(2, 0)};
const Tavro::ZheXianHuaMethod kOnArc = Tavro::kVerticesOnArc;

// The bulge polyline cut by an angle step in degrees; the call must succeed.
Pts byAngle(const Pts& nodes, const Doubles& bulges, double step, bool closed = false,
            Tavro::ZheXianHuaMethod method = kOnArc) {
    Pts out;
    EXPECT_TRUE(L::GetNodesHaveArc(nodes, bulges, out, closed, step, method));
    return out;
}

// The open bulge polyline cut by an arc-length step; the call must succeed.
Pts byLength(const Pts& nodes, const Doubles& bulges, double step,
             Tavro::ZheXianHuaMethod method = kOnArc) {
    Pts out;
    EXPECT_TRUE(L::GetNodesHaveArc(out, nodes, bulges, step, method));
    return out;
}

Breaks breaksOf(const Pts& pts, double tol = 1e-3) {
    Breaks breaks;
    L::GetBreakPtofNodes(pts, breaks, tol);
    return breaks;
}

// Whether mode 5 drops a break of the five-vertex line with breaks at every vertex.
bool dropsABreak(const Pts& line) {
    Breaks breaks{0, 1, 2, 3, 4};
    return L::GetInterpolationBreakNodes(line, breaks, 5);
}

Doubles zeros(int n) {
    Doubles out;
    for (int i = 0; i < n; ++i)
        out.append(0.0);
    return out;
}

double chordArea(const Pts& pts) {
    return CTavroGeoPoint::geoArea(pts, zeros(pts.length()));
}

// A circle of radius 10 about the origin as 36 equal chords of 10 degrees, listed with its
// first vertex (10, 0) again at the end: two half circles cut 18 times each.
Pts circleOf36Chords() {
    return byAngle(Pts{P(10, 0), P(-10, 0)}, Doubles{1, 1}, 10.5, true);
}

// (-5,0), (0,0), a half circle of radius 5 about (5,0) cut into 6 chords of 30 degrees
// (vertices 1 to 7), (18,0), (18,3): the arc runs from break 1 to break 7, the others stand
// alone.
const Pts kFive{P(-5, 0), P(0, 0), P(10, 0), P(18, 0), P(18, 3)};
const Doubles kFiveBulges{0, 1, 0, 0, 0};
Pts straightArcStraight(Tavro::ZheXianHuaMethod method = kOnArc) {
    return byAngle(kFive, kFiveBulges, 31, false, method);
}

// Whether the recovered polyline is kFive with the half circle's bulge 1 on its second vertex.
void expectFiveBack(const Pts& pts, const Doubles& bulges) {
    ASSERT_EQ(pts.length(), 5);
    ASSERT_EQ(bulges.length(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        expectNear(pts[i], kFive[i].x, kFive[i].y);
        EXPECT_NEAR(bulges[i], kFiveBulges[i], 1e-9);
    }
}
} // namespace

// ---- Cutting arcs by angle ----

// Bulge 1 from (0,0) to (2,0): counterclockwise half circle below the chord, centre (1,0),
// radius 1. A 90 degree step gives trunc(180/90) + 1 = 3 pieces of 60 degrees.
TEST(GeoLineFlatten, HalfCircleByAngleOnTheArc) {
    Pts out = byAngle(kChord, Doubles{1, 0}, 90.0);
    ASSERT_EQ(out.length(), 4);
    expectNear(out[0], 0, 0);
    expectNear(out[1], 0.5, -kRoot3Half);
    expectNear(out[2], 1.5, -kRoot3Half);
    expectNear(out[3], 2, 0);
    // Clockwise (bulge -1) runs above the chord.
    out = byAngle(kChord, Doubles{-1, 0}, 90.0);
    ASSERT_EQ(out.length(), 4);
    expectNear(out[1], 0.5, kRoot3Half);
    expectNear(out[2], 1.5, kRoot3Half);
    // Closed: the first vertex again at the end, the output cleared first.
    out = Pts{P(7, 7)};
    ASSERT_TRUE(L::GetNodesHaveArc(kChord, Doubles{1, 0}, out, true, 90.0, kOnArc));
    ASSERT_EQ(out.length(), 5);
    expectNear(out[4], 0, 0, 0);
    // A step just above 90 degrees gives 2 pieces; any method other than 1 keeps the arc.
    out = byAngle(kChord, Doubles{1, 0}, 90.001, false, static_cast<Tavro::ZheXianHuaMethod>(7));
    ASSERT_EQ(out.length(), 3);
    expectNear(out[1], 1, -1);
    // The output may be the input array itself.
    Pts same = kChord;
    ASSERT_TRUE(L::GetNodesHaveArc(same, Doubles{1, 0}, same, false, 90, kOnArc));
    ASSERT_EQ(same.length(), 4);
    expectNear(same[1], 0.5, -kRoot3Half);
}

// The closing arc belongs to the last vertex: bulge 1 from (0,2) back to (0,0) is a half
// circle about (0,1) bulging to x = -1, cut at 150 and 210 degrees.
TEST(GeoLineFlatten, ClosingArcWithOrWithoutTheRepeatedFirstVertex) {
    const Pts sq = square(0, 0, 2);
    // An open polyline has no segment for the last bulge.
    EXPECT_EQ(byAngle(sq, Doubles{0, 0, 0, 1}, 90).length(), 4);
    const Pts closed = byAngle(sq, Doubles{0, 0, 0, 1}, 90, true);
    ASSERT_EQ(closed.length(), 7);
    expectNear(closed[4], -kRoot3Half, 1.5);
    expectNear(closed[5], -kRoot3Half, 0.5);
    expectNear(closed[6], 0, 0, 0);
    // Listed with (0,0) again at the end, its zero bulge adds nothing and the ring ends there.
    const Pts repeated = byAngle(closedSquare(0, 0, 2), Doubles{0, 0, 0, 1, 0}, 90, true);
    EXPECT_TRUE(repeated == closed);
    // A last vertex within kClosingGap of the first is replaced by it, one further away is
    // followed by it.
    const double gap = Tavro::kClosingGap;
    Pts out = byAngle(Pts{P(0, 0), P(2, 0), P(2, 2), P(0.9 * gap, 0)}, Doubles(), 90, true);
    ASSERT_EQ(out.length(), 4);
    expectNear(out[3], 0, 0, 0);
    out = byAngle(Pts{P(0, 0), P(2, 0), P(2, 2), P(1.1 * gap, 0)}, Doubles(), 90, true);
    ASSERT_EQ(out.length(), 5);
    expectNear(out[3], 1.1 * gap, 0, 0);
}

TEST(GeoLineFlatten, FlatBulgesUnusableStepsAndDegenerateInput) {
    // Bulges up to kFlatBulge stay chords; 1.1 kFlatBulge is an arc of 4*atan(0.0011) = 0.252
    // degrees, cut by a 0.1 degree step into 3 pieces.
    EXPECT_EQ(byAngle(kChord, Doubles{-Tavro::kFlatBulge, 0}, 0.1).length(), 2);
    EXPECT_ACROSS_TOL(Tavro::kFlatBulge, byAngle(kChord, Doubles{d, 0}, 0.1).length(), 2, 4);
    // Step 0, negative, NaN: the vertices only, still a success. A bulge array of another
    // length is not used.
    for (double step : {0.0, -10.0, kNaN})
        EXPECT_EQ(byAngle(kChord, Doubles{1, 0}, step).length(), 2) << step;
    EXPECT_EQ(byAngle(kChord, Doubles{1}, 10).length(), 2);

    Pts out{P(7, 7)};
    EXPECT_FALSE(L::GetNodesHaveArc(Pts(), Doubles(), out, true, 10, kOnArc));
    EXPECT_EQ(out.length(), 1); // untouched
    // A bulge on a zero-length segment (the repeated vertex of a ring among them) adds nothing.
    out = byAngle(Pts{P(0, 0), P(0, 0), P(1, 0), P(0, 0)}, Doubles{1, 0, 0, 0.5}, 5, true,
                  Tavro::kKeepArea);
    EXPECT_EQ(out.length(), 4);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), isFinite));
    // NaN and infinite coordinates or bulges: no vertex is made from them.
    EXPECT_EQ(
        byAngle(Pts{P(0, 0), P(kNaN, 1), P(kInf, 2), P(3, 3)}, Doubles{1, 1, 1, kNaN}, 5, true)
            .length(),
        5);
    EXPECT_EQ(byAngle(Pts{P(0, 0), P(1, 0)}, Doubles{kInf, 0}, 5).length(), 2);
    // One vertex, closed, with a bulge: that vertex alone.
    out = byAngle(Pts{P(4, 5)}, Doubles{1}, 5, true);
    ASSERT_EQ(out.length(), 1);
    expectNear(out[0], 4, 5, 0);
    // A vanishing step would ask for billions of pieces; each arc stops at 2^20 of them.
    out = byAngle(kChord, Doubles{1, 0}, 1e-12);
    EXPECT_EQ(out.length(), (1 << 20) + 1);
    expectNear(out[1 << 19], 1, -1, 1e-9); // the middle piece's end is the arc's low point
}

// ---- Keeping the area ----

TEST(GeoLineFlatten, KeepArea) {
    // Two pieces: the middle vertex at R*delta/sin(delta) makes the two triangles over the
    // centre exactly as large as the sector. Half circle of radius 1: delta = pi/2, vertex at
    // (1, -pi/2), and the triangle (0,0), (1,-pi/2), (2,0) has the half disc's area pi/2.
    Pts out = byAngle(kChord, Doubles{1, 0}, 100, false, Tavro::kKeepArea);
    ASSERT_EQ(out.length(), 3);
    expectNear(out[1], 1, -kPi / 2);
    EXPECT_NEAR(chordArea(out), -kPi / 2, 1e-12);

    // Three pieces of 60 degrees on the unit half circle: R1 = sqrt((pi/3)/sin(pi/3)) =
    // 1.0996361, f = 3 / (3 - 2*sqrt(pi/3)/(sqrt(sin(pi/3)) + sqrt(pi/3))) = 1.5364555, inner
    // radius 1 + 0.0996361*1.5364555 = 1.1530864 (worked out to 7 places beforehand).
    out = byAngle(kChord, Doubles{1, 0}, 90, false, Tavro::kKeepArea);
    ASSERT_EQ(out.length(), 4);
    EXPECT_NEAR(out[1].distanceTo(P(1, 0)), 1.1530864, 1e-7);
    EXPECT_NEAR(out[2].distanceTo(P(1, 0)), 1.1530864, 1e-7);
    EXPECT_NEAR(std::atan2(out[1].y, out[1].x - 1), -2 * kPi / 3, 1e-12);

    // The broken line closed by its chord against the arc's segment area r^2/2 (theta - sin
    // theta): area keeping misses by a share of the segment that shrinks with the piece count,
    // while the vertices on the arc lose the whole sagitta area of every piece. The arc of
    // 4*atan(0.5) = 106.26 degrees on the chord (0,0)-(8,0) has radius 5.
    const double theta = 4 * std::atan(0.5);
    const double segment = 25.0 / 2.0 * (theta - std::sin(theta));
    const Pts eight{P(0, 0), P(8, 0)};
    const double steps[][2] = {{40, 3e-3}, {20, 1e-4}, {5, 1e-7}}; // step, share
    for (const auto& c : steps) {
        SCOPED_TRACE(c[0]);
        const Pts kept = byAngle(eight, Doubles{0.5, 0}, c[0], false, Tavro::kKeepArea);
        const Pts onArc = byAngle(eight, Doubles{0.5, 0}, c[0]);
        EXPECT_NEAR(std::fabs(chordArea(kept)), segment, c[1] * segment);
        EXPECT_LT(std::fabs(chordArea(onArc)), segment - 10 * c[1] * segment);
    }
}

// ---- Cutting arcs by arc length ----

TEST(GeoLineFlatten, ByArcLength) {
    // Radius 1, step 1.2: angle step 68.75 degrees, trunc(180/68.75) + 1 = 3 pieces; the arc's
    // end comes once from the arc and once as the next vertex; the output is appended to.
    Pts out{P(-1, -1)};
    ASSERT_TRUE(L::GetNodesHaveArc(out, kChord, Doubles{1, 0}, 1.2, kOnArc));
    ASSERT_EQ(out.length(), 6);
    const double want[6][2] = {{-1, -1},           {0, 0}, {0.5, -kRoot3Half},
                               {1.5, -kRoot3Half}, {2, 0}, {2, 0}};
    for (int i = 0; i < 6; ++i)
        expectNear(out[i], want[i][0], want[i][1]);
    // Pieces of about the step: the arc of length pi in steps of 0.1 gives 32 pieces; 0.001 is
    // accepted: pi/0.001 = 3141.6 pieces.
    EXPECT_EQ(byLength(kChord, Doubles{1, 0}, 0.1, Tavro::kKeepArea).length(), 32 + 1 + 1);
    EXPECT_EQ(byLength(kChord, Doubles{1, 0}, 0.001).length(), 3142 + 1 + 1);
    // Steps below kMinArcStep in magnitude are refused.
    out.removeAll();
    for (double step : {0.9 * Tavro::kMinArcStep, -0.9 * Tavro::kMinArcStep, 0.0, kNaN})
        EXPECT_FALSE(L::GetNodesHaveArc(out, kChord, Doubles{1, 0}, step, kOnArc)) << step;
    EXPECT_FALSE(L::GetNodesHaveArc(out, Pts(), Doubles(), 1, kOnArc));
    EXPECT_TRUE(out.isEmpty());
    // A negative step of usable magnitude leaves the arc a chord.
    EXPECT_EQ(byLength(kChord, Doubles{1, 0}, -1).length(), 3);
    // A bulge on the last vertex bends nothing; missing bulges are straight.
    EXPECT_EQ(byLength(kChord, Doubles{0, 1}, 0.1).length(), 2);
    EXPECT_EQ(byLength(Pts{P(0, 0), P(2, 0), P(4, 0)}, Doubles{0}, 0.1).length(), 3);
    // Zero-length segments and NaN bulges make no vertex of their own.
    out = byLength(Pts{P(0, 0), P(0, 0), P(1, 1)}, Doubles{1, kNaN, 0}, 0.1, Tavro::kKeepArea);
    EXPECT_EQ(out.length(), 4);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), isFinite));
}

// ---- Breaks ----

TEST(GeoLineBreaks, ArcRunsSingleChordsAndTolerance) {
    const Pts line = straightArcStraight();
    ASSERT_EQ(line.length(), 10);
    Breaks breaks;
    EXPECT_FALSE(L::GetBreakPtofNodes(line, breaks, 1e-3));
    EXPECT_EQ(breaks, (Breaks{0, 1, 7, 8, 9}));
    // A circle drawn to the end: one arc from 0, the last three chords on their own.
    breaks.clear();
    EXPECT_TRUE(L::GetBreakPtofNodes(circleOf36Chords(), breaks, 1e-3));
    EXPECT_EQ(breaks, (Breaks{0, 33, 34, 35, 36}));
    // All chords differ: every vertex is a break. Equal chords on a straight line fit no circle.
    breaks.clear();
    EXPECT_FALSE(L::GetBreakPtofNodes(Pts{P(0, 0), P(1, 0), P(1, 2), P(4, 2), P(4, 6), P(9, 6)},
                                      breaks, 1e-3));
    EXPECT_EQ(breaks, (Breaks{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(breaksOf(Pts{P(0, 0), P(1, 0), P(2, 0), P(3, 0), P(4, 0), P(5, 0)}),
              (Breaks{0, 1, 2, 3, 4, 5}));

    // The arc's chords are 2*5*sin(15 deg) = 2.588; a vertex moved 1e-4 along the chord
    // direction breaks the run with tol 1e-5 but not with tol 1e-3.
    Pts moved = line;
    moved[4].x += 1e-4;
    EXPECT_EQ(breaksOf(moved, 1e-3), (Breaks{0, 1, 7, 8, 9}));
    EXPECT_NE(breaksOf(moved, 1e-5), breaksOf(moved, 1e-3));
    // Four vertices record nothing; fewer are refused; the list is appended to.
    breaks.clear();
    EXPECT_FALSE(L::GetBreakPtofNodes(square(0, 0, 1), breaks, 1e-3));
    EXPECT_TRUE(breaks.isEmpty());
    EXPECT_FALSE(L::GetBreakPtofNodes(Pts(), breaks, 1e-3));
    breaks = Breaks{99};
    L::GetBreakPtofNodes(Pts{P(0, 0), P(1, 0), P(1, 2), P(4, 2), P(4, 6)}, breaks, 1e-3);
    EXPECT_EQ(breaks, (Breaks{99, 0, 1, 2, 3, 4}));
    // NaN coordinates, repeated vertices, a NaN or negative tolerance: single chords.
    for (double tol : {1e-3, kNaN, -1.0})
        EXPECT_EQ(breaksOf(Pts{P(0, 0), P(0, 0), P(0, 0), P(kNaN, 1), P(2, kInf), P(3, 3)}, tol),
                  (Breaks{0, 1, 2, 3, 4, 5}))
            << tol;
}

// Chords 0.95, 1, 1, 0.95 along the x axis: the flanks are equal and 5 % shorter, the line does
// not turn, so the break between the two long chords goes.
TEST(GeoLineBreaks, InterpolatedBreaks) {
    const Pts line{P(0, 0), P(0.95, 0), P(1.95, 0), P(2.95, 0), P(3.9, 0)};
    Breaks breaks{0, 1, 2, 3, 4};
    EXPECT_TRUE(L::GetInterpolationBreakNodes(line, breaks, 5));
    EXPECT_EQ(breaks, (Breaks{0, 1, 3, 4}));
    // Mode 4 and other modes drop nothing.
    for (int mode : {4, 0, 6, -5}) {
        breaks = Breaks{0, 1, 2, 3, 4};
        EXPECT_FALSE(L::GetInterpolationBreakNodes(line, breaks, mode));
        EXPECT_EQ(breaks, (Breaks{0, 1, 2, 3, 4})) << mode;
    }
    // Flanks shorter by less than kShorterFlank go, by more stay; unequal flanks stay.
    auto flanks = [](double before, double after) {
        const double x1 = before, x3 = before + 2;
        return Pts{P(0, 0), P(x1, 0), P(x1 + 1, 0), P(x3, 0), P(x3 + after, 0)};
    };
    EXPECT_ACROSS_TOL(Tavro::kShorterFlank, dropsABreak(flanks(1 - d, 1 - d)), true, false);
    EXPECT_FALSE(dropsABreak(flanks(0.95, 0.96)));
    EXPECT_FALSE(dropsABreak(flanks(1.0, 1.0))); // equal, not shorter
    // The turn at the vertex before must stay under 45 degrees either way, also when the two
    // chords lie on either side of direction 0 (a right turn of 50 degrees from direction 310
    // to 0), and a turn past 90 degrees (whose tangent is negative) is no gentle turn either.
    auto turned = [&line](double degrees) {
        Pts out = line;
        out[0] = P(0.95 - 0.95 * std::cos(degrees * kDeg), -0.95 * std::sin(degrees * kDeg));
        return out;
    };
    EXPECT_TRUE(dropsABreak(turned(40)));
    EXPECT_TRUE(dropsABreak(turned(-40)));
    EXPECT_FALSE(dropsABreak(turned(50)));
    EXPECT_FALSE(dropsABreak(turned(-50)));
    EXPECT_FALSE(dropsABreak(turned(120)));
    // Area keeping with four pieces of 45 degrees gives chords 0.796, 0.821, 0.821, 0.796 on the
    // unit half circle: the flanks are equal and 3 % shorter, but the line turns by 49.8 degrees
    // at the first inner vertex, so the middle break stays.
    const Pts sharp = byAngle(kChord, Doubles{1, 0}, 50, false, Tavro::kKeepArea);
    ASSERT_EQ(sharp.length(), 5);
    EXPECT_NEAR(sharp[2].y, -1.0725108664, 1e-9);
    EXPECT_FALSE(dropsABreak(sharp));

    // Breaks that are not one vertex apart form no run; breaks outside the vertices are refused.
    breaks = Breaks{0, 1, 3, 4};
    EXPECT_FALSE(L::GetInterpolationBreakNodes(line, breaks, 5));
    breaks = Breaks{0, 1, 2, 3, 4, 5};
    EXPECT_FALSE(L::GetInterpolationBreakNodes(line, breaks, 5));
    EXPECT_EQ(breaks.size(), 6);
    breaks = Breaks{-1, 0, 1, 2, 3};
    EXPECT_FALSE(L::GetInterpolationBreakNodes(line, breaks, 5));
    breaks.clear();
    EXPECT_FALSE(L::GetInterpolationBreakNodes(Pts(), breaks, 5));
}

// ---- Arc recovery ----

// The broken line of straightArcStraight comes back as the five vertices it was cut from, the
// half circle's bulge 1 on the second. Area keeping pushes the inner vertices of the half circle
// out to radius 5.137, so its end chords are shorter than the inner ones and the run of equal
// chords is V1-V5 on the pushed circle. Its flanks (0,0)-V1 and V5-(10,0) mirror each other
// about that circle, so the arc widens back over them and the five vertices come back too.
TEST(GeoLineRecover, StraightArcStraightRoundTrips) {
    Pts pts;
    Doubles bs;
    const Pts line = straightArcStraight();
    ASSERT_TRUE(L::geoDeconvolution(pts, bs, line, zeros(line.length()), false, 1e-3));
    expectFiveBack(pts, bs);

    const Pts kept = straightArcStraight(Tavro::kKeepArea);
    ASSERT_EQ(kept.length(), 10);
    EXPECT_GT(kept[4].distanceTo(P(5, 0)), 5.1);
    EXPECT_EQ(breaksOf(kept), (Breaks{0, 1, 2, 6, 7, 8, 9}));
    ASSERT_TRUE(L::geoDeconvolution(pts, bs, kept, zeros(10), false, 1e-3));
    expectFiveBack(pts, bs);
}

// 36 chords of 10 degrees on radius 10. The arc runs from vertex 0 to 33 (330 degrees, bulge
// tan(82.5 deg) = 7.5957541), the last three chords stay: area 100 pi - 3*50*(d - sin d) with
// d = pi/18, i.e. 314.0265532, counterclockwise so negative.
TEST(GeoLineRecover, CircleOf36ChordsComesBackAsArcs) {
    const Pts repeated = circleOf36Chords();
    ASSERT_EQ(repeated.length(), 37);
    Pts unrepeated = repeated;
    unrepeated.removeLast();
    for (const Pts& ring : {repeated, unrepeated}) {
        SCOPED_TRACE(ring.length());
        Pts pts;
        Doubles bs;
        ASSERT_TRUE(L::geoDeconvolution(pts, bs, ring, zeros(ring.length()), true, 1e-3));
        ASSERT_EQ(pts.length(), 5);
        EXPECT_NEAR(bs[0], 7.5957541127, 1e-9);
        for (int i = 1; i < 5; ++i)
            EXPECT_EQ(bs[i], 0.0);
        expectNear(pts[4], 10, 0, 0);
        const double area = CTavroGeoPoint::geoArea(pts, bs);
        EXPECT_NEAR(area, -314.0265532291, 1e-8);
        EXPECT_NEAR(-area, 100 * kPi, 0.005 * 100 * kPi);
        // The chords alone miss by 0.51 %.
        EXPECT_GT(std::fabs(std::fabs(chordArea(ring)) - 100 * kPi), 0.005 * 100 * kPi);
    }
    // Open, the ring's repeated end vertex goes: the ring still closes back to (10, 0).
    Pts pts;
    Doubles bs;
    ASSERT_TRUE(L::geoDeconvolution(pts, bs, repeated, zeros(37), false, 1e-3));
    ASSERT_EQ(pts.length(), 4);
    EXPECT_NEAR(CTavroGeoPoint::geoArea(pts, bs), -314.0265532291, 1e-8);
}

// Chords 1, 2, 3, 4, 5, 6 (all different): every vertex is a break and comes back with its own
// bulge, whether open or closed.
TEST(GeoLineRecover, DifferentChordsComeBackUnchanged) {
    const Pts line{P(0, 0), P(1, 0), P(1, 2), P(4, 2), P(4, 6), P(-1, 6), P(-1, 0)};
    const Doubles bs{0, 0.2, 0, -0.4, 0, 0, 0.3};
    for (bool closed : {false, true}) {
        Pts pts;
        Doubles out;
        ASSERT_TRUE(L::geoDeconvolution(pts, out, line, bs, closed, 1e-3));
        ASSERT_EQ(pts.length(), line.length());
        for (int i = 0; i < line.length(); ++i) {
            expectNear(pts[i], line[i].x, line[i].y, 0);
            EXPECT_EQ(out[i], bs[i]);
        }
    }
    // Equal chords on a straight line stay as they are too.
    Pts pts;
    Doubles out;
    ASSERT_TRUE(L::geoDeconvolution(pts, out,
                                    Pts{P(0, 0), P(1, 0), P(2, 0), P(3, 0), P(4, 0), P(5, 0)},
                                    zeros(6), false, 1e-3));
    EXPECT_EQ(pts.length(), 6);
}

TEST(GeoLineRecover, UnusableAndDegenerateInput) {
    Pts pts{P(9, 9)};
    Doubles bs{0.5};
    const Pts five{P(0, 0), P(1, 0), P(2, 1), P(3, 3), P(4, 6)};
    EXPECT_FALSE(L::geoDeconvolution(pts, bs, Pts{P(0, 0), P(1, 0), P(1, 1)}, zeros(3), true, 1));
    EXPECT_FALSE(L::geoDeconvolution(pts, bs, five, zeros(4), false, 1e-3));
    EXPECT_FALSE(L::geoDeconvolution(pts, bs, five, Doubles(), false, 1e-3));
    EXPECT_FALSE(L::geoDeconvolution(pts, bs, Pts(), Doubles(), false, 1e-3));
    ASSERT_EQ(pts.length(), 1); // untouched
    ASSERT_EQ(bs.length(), 1);
    // Four vertices find no break: false, outputs emptied.
    EXPECT_FALSE(L::geoDeconvolution(pts, bs, square(0, 0, 1), zeros(4), false, 1e-3));
    EXPECT_TRUE(pts.isEmpty());
    EXPECT_TRUE(bs.isEmpty());

    // Repeated vertices, NaN and infinite coordinates, open and closed, any tolerance.
    const Pts odd{P(0, 0), P(0, 0), P(0, 0), P(kNaN, 1), P(2, kInf), P(3, 3), P(3, 3), P(0, 0)};
    for (bool closed : {false, true})
        for (double tol : {1e-3, 0.0, -1.0, kNaN, kInf}) {
            L::geoDeconvolution(pts, bs, odd, zeros(odd.length()), closed, tol);
            EXPECT_EQ(pts.length(), bs.length());
        }
    // Closed regular polygons listed without their first vertex again, so that the closing
    // chord joins the arc: the run after the last break ends at the first vertex, inside the
    // arrays, however few vertices there are.
    for (int n = 4; n <= 9; ++n) {
        Pts ring;
        for (int i = 0; i < n; ++i)
            ring.append(P(3 * std::cos(2 * kPi * i / n), 3 * std::sin(2 * kPi * i / n)));
        EXPECT_TRUE(L::geoDeconvolution(pts, bs, ring, zeros(n), true, 1e-3)) << n;
        EXPECT_EQ(pts.length(), bs.length());
    }
    // The outputs may be the inputs themselves.
    Pts line = straightArcStraight();
    Doubles lineBulges = zeros(line.length());
    ASSERT_TRUE(L::geoDeconvolution(line, lineBulges, line, lineBulges, false, 1e-3));
    EXPECT_EQ(line.length(), 5);
    EXPECT_NEAR(lineBulges[1], 1.0, 1e-9);
}
