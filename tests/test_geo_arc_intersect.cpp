// The intersection layer of the arc class: closed-form circle/line and circle/circle hits, the
// bounded arc and segment pairs with their windows, segments and arcs against bulge polylines,
// polyline against polyline, and the extents of a bulge polyline.
//
// Hand values come from circles about small integer centres (3-4-5 triangles, 30/60 degree
// points); the same fixtures shifted to Gauss-plane coordinates must give the same hits.

#include "TestSupport.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {
using A = CTavroGeoArc;

const double kR3 = std::sqrt(0.75);            // sin 60 degrees
const double kH = std::sqrt(0.5);              // sin 45 degrees
const double kQuarter = std::tan(kPi / 8.0);   // bulge of a quarter circle
const AcGePoint2d kGauss(500000.0, 3500000.0); // a Gauss-plane origin
const double kOnCurve = 1e-9;
const double kW = 1e-6; // the usual window margin

AcGePoint2d shift(const AcGePoint2d& p, const AcGePoint2d& by) {
    return P(p.x + by.x, p.y + by.y);
}

AcGePoint2d local(const AcGePoint2d& p, const AcGePoint2d& origin) {
    return P(p.x - origin.x, p.y - origin.y);
}

// Distance from the circle of the arc (s, e, b) or from the line se, measured from s so that
// plane coordinates of millions keep their digits.
double offCurve(const AcGePoint2d& pt, const AcGePoint2d& s, const AcGePoint2d& e, double b) {
    const AcGePoint2d p = local(pt, s), end = local(e, s);
    if (std::fabs(b) < 1e-10)
        return std::fabs(end.x * p.y - end.y * p.x) / std::hypot(end.x, end.y);
    const AcGePoint2d c = A::geoArcCenter(P(0, 0), end, b);
    return std::fabs(p.distanceTo(c) - c.distanceTo(P(0, 0)));
}

// Distance from the bounded piece: from its curve where pt lies alongside it, else from the
// nearer end.
double offPiece(const AcGePoint2d& pt, const AcGePoint2d& s, const AcGePoint2d& e, double b) {
    const AcGePoint2d p = local(pt, s), end = local(e, s);
    double t = (p.x * end.x + p.y * end.y) / (end.x * end.x + end.y * end.y);
    if (std::fabs(b) >= 1e-10)
        t = A::GetParamAtArc(p, A::geoArcCenter(P(0, 0), end, b), P(0, 0), end, b < 0.0);
    if (t >= -1e-9 && t <= 1.0 + 1e-9) return offCurve(pt, s, e, b);
    return std::min(p.distanceTo(P(0, 0)), p.distanceTo(end));
}

double offPolyline(const AcGePoint2d& pt, const Pts& nodes, const Doubles& bulges) {
    double best = kInf;
    for (int i = 0; i + 1 < nodes.length(); ++i)
        best = std::min(best, offPiece(pt, nodes[i], nodes[i + 1], bulges[i]));
    return best;
}

// How far pt is from the point that its polyline parameter (index + fraction) names; the
// fraction is angular on an arc.
double offParam(const AcGePoint2d& pt, const Pts& nodes, const Doubles& bulges, double param) {
    const int i = std::min(static_cast<int>(std::floor(param)), nodes.length() - 2);
    const AcGePoint2d end = local(nodes[i + 1], nodes[i]);
    const double f = param - i, b = bulges[i];
    const AcGePoint2d at =
        std::fabs(b) < 1e-10 ? P(f * end.x, f * end.y) : A::geoArcPointAtParam(f, P(0, 0), end, b);
    return at.distanceTo(local(pt, nodes[i]));
}

struct Hit {
    AcGePoint2d pt;
    double param;
};

std::vector<Hit> sortedHits(const Pts& pts, const Doubles& params) {
    std::vector<Hit> hits;
    for (int i = 0; i < pts.length(); ++i)
        hits.push_back({pts[i], params[i]});
    std::sort(hits.begin(), hits.end(),
              [](const Hit& a, const Hit& b) { return a.param < b.param; });
    return hits;
}

// What one call found: its result and fresh output arrays.
struct Found {
    int n = 0;
    Pts pts;
    Doubles params;
};

// Whether the call answered count and listed want and wantParams first, in order; points to
// tol, parameters to 1e-12.
::testing::AssertionResult is(const Found& f, int count, const Pts& want = Pts(),
                              const Doubles& wantParams = Doubles(), double tol = 1e-12) {
    if (f.n != count) return ::testing::AssertionFailure() << "answered " << f.n;
    for (int i = 0; i < want.length(); ++i) {
        if (i >= f.pts.length()) return ::testing::AssertionFailure() << "only " << i << " points";
        if (!(std::fabs(f.pts[i].x - want[i].x) <= tol && std::fabs(f.pts[i].y - want[i].y) <= tol))
            return ::testing::AssertionFailure()
                   << "point " << i << " is (" << f.pts[i].x << ", " << f.pts[i].y << ")";
    }
    for (int i = 0; i < wantParams.length(); ++i)
        if (i >= f.params.length() || !(std::fabs(f.params[i] - wantParams[i]) <= 1e-12))
            return ::testing::AssertionFailure() << "parameter " << i << " differs";
    return ::testing::AssertionSuccess();
}

Found lineCut(const AcGePoint2d& c, double r, double a, double b, double k) {
    Found f;
    AcGePoint2d p1, p2;
    f.n = A::Circle_Line_Intersect(c, r, a, b, k, p1, p2);
    f.pts = Pts{p1, p2};
    return f;
}

Found lineCut(const AcGePoint2d& c, double r, const AcGePoint2d& a, const AcGePoint2d& b) {
    Found f;
    AcGePoint2d q1, q2;
    f.n = A::Circle_Line_Intersect(c, r, a, b, q1, q2);
    f.pts = Pts{q1, q2};
    return f;
}

Found circleCut(const AcGePoint2d& c1, double r1, const AcGePoint2d& c2, double r2) {
    Found f;
    AcGePoint2d p1, p2;
    f.n = A::Circle_Circle_Intersect(c1, r1, c2, r2, p1, p2);
    f.pts = Pts{p1, p2};
    return f;
}

Found arcArc(const AcGePoint2d& s1, const AcGePoint2d& e1, double b1, const AcGePoint2d& s2,
             const AcGePoint2d& e2, double b2, double lo1 = -kW, double hi1 = kW, double lo2 = -kW,
             double hi2 = kW) {
    Found f;
    f.n = A::ArcArcInter(s1, e1, b1, s2, e2, b2, lo1, hi1, lo2, hi2, f.pts, f.params);
    return f;
}

Found arcSeg(const AcGePoint2d& as, const AcGePoint2d& ae, double b, const AcGePoint2d& ls,
             const AcGePoint2d& le, double lo2, double hi2) {
    Found f;
    f.n = A::ArcLineSegInter(as, ae, b, ls, le, -kW, kW, lo2, hi2, f.pts, f.params);
    return f;
}

Found segArc(const AcGePoint2d& ls, const AcGePoint2d& le, double hi1, const AcGePoint2d& as,
             const AcGePoint2d& ae, double b) {
    Found f;
    f.n = A::LineSegArcInter(ls, le, as, ae, b, -kW, hi1, -kW, kW, f.pts, f.params);
    return f;
}

Found segMulti(const AcGePoint2d& s, const AcGePoint2d& e, const Pts& nodes, Doubles bulges,
               double hi = 8) {
    Found f;
    f.n = A::ArcMultiInter(s, e, nodes, bulges, -kW, hi, f.pts, f.params);
    return f;
}

Found arcMulti(const AcGePoint2d& s, const AcGePoint2d& e, double b, const Pts& nodes,
               Doubles bulges) {
    Found f;
    f.n = A::ArcMultiInter(s, e, b, nodes, bulges, -kW, kW, f.pts, f.params);
    return f;
}

Found polyPoly(const Pts& a, Doubles ba, const Pts& b, Doubles bb) {
    Found f;
    f.n = A::polylineArcInter(a, ba, b, bb, f.pts, f.params);
    return f;
}

void randomPolyline(std::uint64_t& rng, int pieces, Pts& nodes, Doubles& bulges) {
    AcGePoint2d at(100.0 * nextUnit(rng), 100.0 * nextUnit(rng));
    for (int i = 0; i <= pieces; ++i) {
        nodes.append(at);
        const bool arc = nextUnit(rng) < 0.5 && i < pieces;
        const double sign = nextUnit(rng) < 0.5 ? -1.0 : 1.0;
        bulges.append(arc ? sign * (0.05 + 1.4 * nextUnit(rng)) : 0.0);
        // Steps that would leave the square turn back, so no two pieces run along its edge.
        const double dx = 60.0 * (nextUnit(rng) - 0.5), dy = 60.0 * (nextUnit(rng) - 0.5);
        at = P(at.x + (at.x + dx < 0.0 || at.x + dx > 100.0 ? -dx : dx),
               at.y + (at.y + dy < 0.0 || at.y + dy > 100.0 ? -dy : dy));
    }
}

} // namespace

TEST(ArcIntersectClosedForm, CircleAgainstLineCoefficients) {
    const AcGePoint2d o(0, 0);
    // y = 1 touches the unit circle at its top: exact tangency of a level line counts once.
    EXPECT_TRUE(is(lineCut(o, 1, 0, 1, -1), 1, {P(0, 1)}));
    // y = 0.5: the larger x first on a level line.
    EXPECT_TRUE(is(lineCut(o, 1, 0, 1, -0.5), 2, {P(kR3, 0.5), P(-kR3, 0.5)}));
    EXPECT_TRUE(is(lineCut(o, 1, 1, 1, -10), 0));
    // x = 0.6 on the circle of radius 1 about (2, 3): (2.6, 3 +- 0.8), the larger y first.
    EXPECT_TRUE(is(lineCut(P(2, 3), 1, 1, 0, -2.6), 2, {P(2.6, 3.8), P(2.6, 2.2)}));
    // 4x - 3y = 0 passes through the centre (3, 4) of a radius-5 circle: a diameter's ends.
    EXPECT_TRUE(is(lineCut(P(3, 4), 5, 4, -3, 0), 2, {P(6, 8), P(0, 0)}));
    // x + y = 2 touches the circle of radius sqrt 2 at (1, 1): discriminant within 1e-10.
    EXPECT_TRUE(is(lineCut(o, std::sqrt(2.0), 1, 1, -2), 1, {P(1, 1)}));
    // Tiny coefficients still describe the line y = x through the centre: two points, not a
    // touch at the foot of the perpendicular.
    EXPECT_TRUE(is(lineCut(o, 1, 1e-3, -1e-3, 0), 2, {P(kH, kH), P(-kH, -kH)}));
    // Both coefficients negligible: no line. Non-finite input: nothing.
    EXPECT_TRUE(is(lineCut(o, 1, 1e-11, 1e-11, 0), 0));
    EXPECT_TRUE(is(lineCut(o, 1, kNaN, 1, 0), 0));
    EXPECT_TRUE(is(lineCut(o, kNaN, 0, 1, 0), 0));
    EXPECT_TRUE(is(lineCut(P(kNaN, 0), 1, 1, 1, 0), 0));
    // Zero radius: a line through the centre touches it only when exactly level.
    EXPECT_TRUE(is(lineCut(P(1, 1), 0, 0, 1, -1), 1, {P(1, 1)}));

    // y = 1e-6 x + 50 against the circle of radius 100: solving the line for x through the
    // slope 1e-6 would throw the points off the circle by far more than 1e-9.
    for (double a : {1e-6, 1e-9, -3e-8}) {
        const Found f = lineCut(o, 100, a, -1, 50);
        ASSERT_EQ(f.n, 2);
        for (const AcGePoint2d& p : f.pts) {
            EXPECT_NEAR(p.distanceTo(o), 100.0, kOnCurve);
            EXPECT_NEAR((a * p.x - p.y + 50) / std::hypot(a, 1.0), 0.0, kOnCurve);
        }
        EXPECT_GT(f.pts[0].y, f.pts[1].y);
        EXPECT_NEAR(f.pts[0].distanceTo(f.pts[1]), 2.0 * std::sqrt(100.0 * 100.0 - 50.0 * 50.0),
                    1e-3);
    }
}

TEST(ArcIntersectClosedForm, CircleAgainstLineThroughTwoPoints) {
    const AcGePoint2d o(0, 0);
    // y = 1 touches the unit circle at (0, 1), whichever way the line runs.
    EXPECT_TRUE(is(lineCut(o, 1, P(-2, 1), P(2, 1)), Tavro::kRelationTangent, {P(0, 1)}));
    EXPECT_TRUE(is(lineCut(o, 1, P(2, 1), P(-2, 1)), 8, {P(0, 1)}));
    // y = 0.5: 60 degrees either side of the normal (0, 1); q1 is the counterclockwise one.
    EXPECT_TRUE(is(lineCut(o, 1, P(-2, 0.5), P(2, 0.5)), 6, {P(-kR3, 0.5), P(kR3, 0.5)}));
    EXPECT_TRUE(is(lineCut(o, 1, P(2, 0.5), P(-2, 0.5)), 6, {P(-kR3, 0.5)}));
    EXPECT_TRUE(is(lineCut(o, 1, P(-2, 3), P(2, 3)), 4));
    // The touch tolerance 1e-6 reaches both ways: missing or cutting by 5e-7 is a touch, and
    // the touch point lies on the circle.
    EXPECT_TRUE(is(lineCut(o, 1, P(-2, 1 + 5e-7), P(2, 1 + 5e-7)), 8, {P(0, 1)}));
    EXPECT_TRUE(is(lineCut(o, 1, P(-2, 1 - 5e-7), P(2, 1 - 5e-7)), 8, {P(0, 1)}));
    EXPECT_TRUE(is(lineCut(o, 1, P(-2, 1 + 2e-6), P(2, 1 + 2e-6)), 4));
    EXPECT_TRUE(is(lineCut(o, 1, P(-2, 1 - 2e-6), P(2, 1 - 2e-6)), 6));
    // A short line rising 9e-7 over 1e-3 is tilted by 9e-4: its hits stay on it.
    const AcGePoint2d a(0, 0.5), b(0.001, 0.5 + 9e-7);
    Found f = lineCut(o, 1, a, b);
    ASSERT_EQ(f.n, 6);
    for (const AcGePoint2d& q : f.pts) {
        EXPECT_NEAR(q.distanceTo(o), 1.0, kOnCurve);
        EXPECT_LT(offCurve(q, a, b, 0.0), kOnCurve);
    }
    // The same crossing at Gauss-plane coordinates.
    f = lineCut(kGauss, 1, shift(P(-2, 0.5), kGauss), shift(P(2, 0.5), kGauss));
    f.pts = Pts{local(f.pts[0], kGauss), local(f.pts[1], kGauss)};
    EXPECT_TRUE(is(f, 6, {P(-kR3, 0.5), P(kR3, 0.5)}, Doubles(), kOnCurve));
    // Two equal points make no line; a point circle on the line touches it; non-finite input
    // meets nothing.
    EXPECT_TRUE(is(lineCut(o, 1, P(0.5, 0), P(0.5, 0)), 4));
    EXPECT_TRUE(is(lineCut(P(1, 0), 0, P(0, 0), P(2, 0)), 8, {P(1, 0)}));
    EXPECT_TRUE(is(lineCut(P(kNaN, 0), 1, P(0, 0), P(2, 0)), 4));
    EXPECT_TRUE(is(lineCut(o, kNaN, P(0, 0), P(2, 0)), 4));
    EXPECT_TRUE(is(lineCut(o, 1, P(kInf, 0), P(2, 0)), 4));
}

TEST(ArcIntersectClosedForm, TwoCircles) {
    const AcGePoint2d o(0, 0);
    EXPECT_TRUE(is(circleCut(o, 1, P(2, 0), 1), 1, {P(1, 0)}));
    EXPECT_TRUE(is(circleCut(o, 1, P(1, 0), 1), 2, {P(0.5, kR3), P(0.5, -kR3)}));
    EXPECT_TRUE(is(circleCut(P(3, 4), 2, P(3, 4), 2), -1));
    EXPECT_TRUE(is(circleCut(o, 1, o, 2), 0));
    EXPECT_TRUE(is(circleCut(o, 1, P(3, 0), 1), 0));
    EXPECT_TRUE(is(circleCut(o, 3, P(0.5, 0), 1), 0));
    // An inside touch reports two equal points.
    EXPECT_TRUE(is(circleCut(o, 2, P(1, 0), 1), 2, {P(2, 0), P(2, 0)}));
    // Radius-5 circles about (0,0) and (7,7) meet at (3,4) and (4,3), the larger y first;
    // centres one above the other: the larger x first.
    EXPECT_TRUE(is(circleCut(o, 5, P(7, 7), 5), 2, {P(3, 4), P(4, 3)}));
    EXPECT_TRUE(is(circleCut(o, 5, P(0, 8), 5), 2, {P(3, 4), P(-3, 4)}));
    // Apart by 5e-11 is a touch, with a finite point; apart by 2e-10 is apart.
    EXPECT_TRUE(is(circleCut(o, 1, P(0, 2 + 5e-11), 1), 1, {P(0, 1)}, Doubles(), 1e-10));
    EXPECT_TRUE(is(circleCut(o, 1, P(2 + 5e-11, 0), 1), 1, {P(1, 0)}, Doubles(), 1e-10));
    EXPECT_TRUE(is(circleCut(o, 1, P(0, 2 + 2e-10), 1), 0));
    // Centres 1e-7 off the vertical: (+-48, 36) of the 60-80-100 triangle, on both circles.
    // The common chord tilts by 1e-9, so (-48, 36) is the higher point and comes first.
    const Found f = circleCut(o, 60, P(1e-7, 100), 80);
    EXPECT_TRUE(is(f, 2, {P(-48, 36), P(48, 36)}, Doubles(), 1e-6));
    for (const AcGePoint2d& p : f.pts) {
        EXPECT_NEAR(p.distanceTo(o), 60.0, kOnCurve);
        EXPECT_NEAR(p.distanceTo(P(1e-7, 100)), 80.0, kOnCurve);
    }
    // Zero radii: a point on the other circle touches it; two equal points are one circle.
    EXPECT_TRUE(is(circleCut(o, 1, P(0, 1), 0), 1, {P(0, 1)}));
    EXPECT_TRUE(is(circleCut(P(2, 2), 0, P(2, 2), 0), -1));
    EXPECT_TRUE(is(circleCut(P(kNaN, 0), 1, P(1, 0), 1), 0));
    EXPECT_TRUE(is(circleCut(o, kInf, P(1, 0), 1), 0));
}

TEST(ArcIntersectBounded, ArcAgainstArcAndTheirWindows) {
    // Upper half of the unit circle against the upper half of the unit circle about (1, 0):
    // one hit at 60 degrees, a third of the way along the first arc.
    for (const AcGePoint2d& o : {P(0, 0), kGauss}) {
        const AcGePoint2d s1 = shift(P(1, 0), o), e1 = shift(P(-1, 0), o);
        const AcGePoint2d s2 = shift(P(2, 0), o), e2 = shift(P(0, 0), o);
        Found f = arcArc(s1, e1, 1, s2, e2, 1);
        EXPECT_TRUE(is(f, 1, {shift(P(0.5, kR3), o)}, {1.0 / 3.0}, kOnCurve));
        // Appending to filled arrays: the result is their length.
        EXPECT_EQ(A::ArcArcInter(s1, e1, 1, s2, e2, 1, -kW, kW, -kW, kW, f.pts, f.params), 2);
        // The clockwise lower half of the first circle misses the hit: nothing more appended.
        EXPECT_EQ(A::ArcArcInter(s1, e1, -1, s2, e2, 1, -kW, kW, -kW, kW, f.pts, f.params), 2);
    }

    // The unit circle and the circle of radius 1 about (-1, 1) meet at (-1, 0) and (0, 1).
    // Arc 1, the upper unit half, ends at (-1, 0) and passes (0, 1) halfway; arc 2, the lower
    // half about (-1, 1) from (-2, 1) to (0, 1), passes (-1, 0) halfway and ends at (0, 1).
    // The windows' upper ends decide which ends count.
    const AcGePoint2d s1(1, 0), e1(-1, 0), s2(-2, 1), e2(0, 1);
    EXPECT_TRUE(is(arcArc(s1, e1, 1, s2, e2, 1, -kW, -kW, -kW, -kW), 0));
    EXPECT_TRUE(is(arcArc(s1, e1, 1, s2, e2, 1, -kW, kW, -kW, -kW), 1, {P(-1, 0)}, {1.0}));
    EXPECT_TRUE(is(arcArc(s1, e1, 1, s2, e2, 1, -kW, -kW, -kW, kW), 1, {P(0, 1)}, {0.5}));
    EXPECT_EQ(arcArc(s1, e1, 1, s2, e2, 1, -kW, kW, -kW, kW).pts.length(), 2);
    // The start: arc 2 from (0, 1) backwards runs to (-2, 1) clockwise through (-1, 0).
    const Found back = arcArc(s1, e1, 1, e2, s2, -1, -kW, -kW, -kW, -kW);
    ASSERT_EQ(back.pts.length(), 1);
    expectNear(back.pts[0], 0, 1);
    EXPECT_EQ(arcArc(s1, e1, 1, e2, s2, -1, -kW, -kW, kW, -kW).pts.length(), 0);
}

TEST(ArcIntersectBounded, ArcsOnOneCircle) {
    // The two halves of the unit circle: both windows open at the ends, so every end is kept,
    // and the result is 0 although four points were recorded.
    Found f = arcArc(P(1, 0), P(-1, 0), 1, P(-1, 0), P(1, 0), 1);
    EXPECT_TRUE(is(f, 0, {P(-1, 0), P(1, 0), P(1, 0), P(-1, 0)}, {1, 0}));
    ASSERT_EQ(f.params.length(), 4);
    EXPECT_EQ(f.params[2], 0.0);
    EXPECT_EQ(f.params[3], 1.0);
    // A quarter (1,0)-(0,1) closed at its end against the upper half: each end is tested
    // against the window of the arc it is tested against only. The half's start (1, 0) is on
    // the quarter, its end (-1, 0) beyond it; both quarter ends lie inside the half, so the
    // quarter's end (0, 1) is kept although the quarter's own window shuts it out.
    f = arcArc(P(1, 0), P(0, 1), kQuarter, P(1, 0), P(-1, 0), 1, -kW, -kW, -kW, kW);
    EXPECT_TRUE(is(f, 0, {P(1, 0), P(1, 0), P(0, 1)}, {0, 0, 1}));
    EXPECT_EQ(f.pts.length(), 3);
    // The two halves again, the second's window shut at its end: its start (-1, 0) and end
    // (1, 0) are on the first half; of the first half's ends, (1, 0) is the second's end and
    // falls out of its window, (-1, 0) is the second's start and stays.
    f = arcArc(P(1, 0), P(-1, 0), 1, P(-1, 0), P(1, 0), 1, -1e-6, 1e-6, -1e-6, -1e-6);
    EXPECT_TRUE(is(f, 0, {P(-1, 0), P(1, 0), P(-1, 0)}, {1, 0, 1}));
    EXPECT_EQ(f.pts.length(), 3);
    // Against a polyline the recorded ends count: the result is the number of points listed.
    f = arcMulti(P(1, 0), P(-1, 0), 1, Pts{P(-1, 0), P(1, 0)}, Doubles{1, 0});
    EXPECT_EQ(f.n, 4);
    EXPECT_EQ(f.pts.length(), 4);
    // The same at Gauss-plane coordinates: the recorded ends are the input points exactly.
    const AcGePoint2d s = shift(P(1, 0), kGauss), e = shift(P(-1, 0), kGauss);
    f = arcArc(s, e, 1, e, s, 1);
    ASSERT_EQ(f.pts.length(), 4);
    EXPECT_EQ(f.pts[0].x, e.x);
    EXPECT_EQ(f.pts[1].x, s.x);
}

TEST(ArcIntersectBounded, ArcAgainstSegment) {
    // The upper unit half against x = 0 from (0,-2) to (0,2): (0, 1) halfway along the arc and
    // three quarters along the segment; (0, -1) is on the circle but off the arc.
    for (const AcGePoint2d& o : {P(0, 0), kGauss}) {
        const AcGePoint2d as = shift(P(1, 0), o), ae = shift(P(-1, 0), o);
        const AcGePoint2d ls = shift(P(0, -2), o), le = shift(P(0, 2), o);
        const Found f = arcSeg(as, ae, 1, ls, le, -kW, 16 + kW);
        EXPECT_TRUE(is(f, 1, {shift(P(0, 1), o)}, {0.5}, kOnCurve));
        EXPECT_TRUE(
            is(segArc(ls, le, 16 + kW, as, ae, 1), 1, {shift(P(0, 1), o)}, {0.75}, kOnCurve));
    }
    // A segment 1.4e-3 long on y = x + 1 crosses the upper unit half at (0, 1), its middle.
    const AcGePoint2d ls(-0.0005, 0.9995), le(0.0005, 1.0005);
    Found f = arcSeg(P(1, 0), P(-1, 0), 1, ls, le, -kW, 2e-6);
    EXPECT_TRUE(is(f, 1, {P(0, 1)}, {0.5}));
    ASSERT_EQ(A::LineSegArcInter(ls, le, P(1, 0), P(-1, 0), 1, -kW, 2e-6, -kW, kW, f.pts, f.params),
              2);
    EXPECT_NEAR(f.params[1], 0.5, 1e-9);
    // Bulge 5e-7 on a chord of 10 is an arc here (above 1e-10) with sagitta b*c/2 = 2.5e-6
    // below the chord; the segment x = 5 crosses it at its middle. The centre lies 5e6 away, so
    // the hit carries that circle's rounding, some 1e-9.
    f = arcSeg(P(0, 0), P(10, 0), 5e-7, P(5, -1), P(5, 1), -kW, 4 + kW);
    EXPECT_TRUE(is(f, 1, {P(5, -2.5e-6)}, Doubles(), 1e-8));
    EXPECT_NEAR(f.params[0], 0.5, 1e-9);
}

TEST(ArcIntersectBounded, SegmentWindowsAreSquaredLengths) {
    const AcGePoint2d as(1, 0), ae(-1, 0);
    // The segment from (0, 1) up to (0, 3) starts on the arc: kept at -1e-6, not at +1e-6.
    EXPECT_EQ(arcSeg(as, ae, 1, P(0, 1), P(0, 3), -kW, 4).n, 1);
    EXPECT_EQ(arcSeg(as, ae, 1, P(0, 1), P(0, 3), kW, 4).n, 0);
    // Reversed it ends there: |ls le|^2 = 4, the inner window 4 + 1e-12 - 4e-6 drops the end,
    // the last-piece window 4 + 1e-12 + 4e-6 keeps it.
    EXPECT_EQ(arcSeg(as, ae, 1, P(0, 3), P(0, 1), -kW, 4 + 1e-12 - 4e-6).n, 0);
    Found f = arcSeg(as, ae, 1, P(0, 3), P(0, 1), -kW, 4 + 1e-12 + 4e-6);
    EXPECT_TRUE(is(f, 1, Pts(), {0.5}));
    // A single touching candidate off the segment: 0, whatever the arrays held.
    EXPECT_EQ(A::ArcLineSegInter(as, ae, 1, P(2, 1), P(3, 1), -kW, kW, -kW, 2, f.pts, f.params), 0);
    EXPECT_EQ(f.pts.length(), 1);
    // A segment 5e-4 long on the x axis: the circle meets its line at (-1, 0), on the arc but
    // far off the segment, and that is no hit however short the segment.
    const double q = 2.5e-7 + 1e-12 + 1e-9;
    f = arcSeg(P(0, 1), P(0, -1), 1, P(-5e-4, 0), P(0, 0), -kW, q);
    EXPECT_TRUE(f.n == 0 && f.pts.isEmpty());
    f = segArc(P(-5e-4, 0), P(0, 0), q, P(0, 1), P(0, -1), 1);
    EXPECT_TRUE(f.n == 0 && f.pts.isEmpty());
}

TEST(ArcIntersectPolyline, SegmentOrArcCountsAnInnerVertexOnce) {
    // Straight pieces: (3,-1)-(1,1) passes the inner vertex (2, 0) halfway; the last vertex
    // (2, 2) counts, and so does the first.
    const Pts hook{P(0, 0), P(2, 0), P(2, 2)};
    const Doubles straight{0, 0, 0};
    EXPECT_TRUE(is(segMulti(P(3, -1), P(1, 1), hook, straight), 1, {P(2, 0)}, {0.5}));
    EXPECT_TRUE(is(segMulti(P(1, 3), P(3, 1), hook, straight), 1, {P(2, 2)}));
    EXPECT_TRUE(is(segMulti(P(-1, 1), P(1, -1), hook, straight), 1, {P(0, 0)}));
    // Arc pieces: the upper half about (1, 0) then the lower half about (3, 0). The line
    // y = x - 2 meets the first circle at (1,-1) (not on its arc) and (2, 0), the second at
    // (2, 0) and (3, 1) (not on its arc): one hit at the shared vertex.
    const Pts line{P(0, 0), P(2, 0), P(4, 0)};
    EXPECT_TRUE(is(segMulti(P(1, -1), P(3, 1), line, Doubles{-1, 1, 0}), 1, {P(2, 0)}, {0.5}));
    // y = x - 4 meets the second circle at (3,-1), the query's own start, and at the last
    // vertex (4, 0).
    const Found f = segMulti(P(3, -1), P(5, 1), line, Doubles{-1, 1, 0});
    ASSERT_EQ(f.n, 2);
    const auto hits = sortedHits(f.pts, f.params);
    expectNear(hits[0].pt, 3, -1);
    EXPECT_NEAR(hits[0].param, 0.0, 1e-12);
    expectNear(hits[1].pt, 4, 0);
    EXPECT_NEAR(hits[1].param, 0.5, 1e-12);
    // An arc piece then a straight one: the vertex (2, 0) once, from the straight piece.
    EXPECT_TRUE(is(segMulti(P(1, -1), P(3, 1), line, Doubles{-1, 0, 0}), 1, {P(2, 0)}));
    // The query's own window: ending exactly on the polyline, kept only with the end slack.
    const Pts level{P(0, 0), P(4, 0)};
    EXPECT_EQ(segMulti(P(2, -1), P(2, 0), level, Doubles{0, 0}, 1 + 1e-12 - 2e-6).n, 0);
    EXPECT_EQ(segMulti(P(2, -1), P(2, 0), level, Doubles{0, 0}, 1 + 1e-12 + 2e-6).n, 1);

    // The upper unit half through (0, 1) halfway, against a vertical polyline with an inner
    // vertex there.
    const AcGePoint2d s(1, 0), e(-1, 0);
    EXPECT_TRUE(
        is(arcMulti(s, e, 1, Pts{P(0, 0), P(0, 1), P(0, 2)}, straight), 1, {P(0, 1)}, {0.5}));
    // A straight piece up to (0, 1), then the right half of the circle about (0, 2), which
    // touches the unit circle there from outside.
    EXPECT_TRUE(is(arcMulti(s, e, 1, Pts{P(0, 0), P(0, 1), P(0, 3)}, Doubles{0, 1}), 1, {P(0, 1)}));
    // The polyline's last vertex on the arc counts, and filled output arrays are replaced.
    Found filled = arcMulti(s, e, 1, Pts{P(0, 0), P(0, 1), P(0, 2)}, straight);
    Doubles two{0, 0};
    EXPECT_EQ(A::ArcMultiInter(s, e, 1, Pts{P(0, -1), P(0, 0), P(0, 1)}, two, -kW, kW, filled.pts,
                               filled.params),
              1);
    ASSERT_EQ(filled.pts.length(), 1);
    expectNear(filled.pts[0], 0, 1);
}

TEST(ArcIntersectPolyline, TwoPolylinesWorkedByHand) {
    // B: the upper unit half from (-1,0) clockwise to (1,0), then down to (1,-2).
    // A: along y = 0.5 (crossing the half circle at +-sqrt .75), down y = x - 1.5 to the inner
    // vertex (1,-0.5) on B, on to (0,-1.5), then up x = 0 to its last vertex (0, 1) on B.
    const Pts nodesA{P(-2, 0.5), P(2, 0.5), P(1, -0.5), P(0, -1.5), P(0, 1)};
    const Pts nodesB{P(-1, 0), P(1, 0), P(1, -2)};
    const Doubles bulgesA{0, 0, 0, 0, 0}, bulgesB{-1, 0, 0};
    const double expected[][3] = {
        {-kR3, 0.5, (2 - kR3) / 4}, {kR3, 0.5, (2 + kR3) / 4}, {1, -0.5, 2.0}, {0, 1, 4.0}};
    // Seen from B the same points lie at 1/6 and 5/6 of the half circle (150 and 30 degrees),
    // halfway, and a quarter down the straight piece.
    const double fromB[] = {1.0 / 6.0, 0.5, 5.0 / 6.0, 1.25};
    for (const AcGePoint2d& o : {P(0, 0), kGauss}) {
        const Pts a = shifted(nodesA, o.x, o.y), b = shifted(nodesB, o.x, o.y);
        Found f = polyPoly(a, bulgesA, b, bulgesB);
        ASSERT_EQ(f.n, 4);
        const auto hits = sortedHits(f.pts, f.params);
        for (int i = 0; i < 4; ++i) {
            expectNear(local(hits[i].pt, o), expected[i][0], expected[i][1], kOnCurve);
            EXPECT_NEAR(hits[i].param, expected[i][2], 1e-12);
        }
        f = polyPoly(b, bulgesB, a, bulgesA);
        ASSERT_EQ(f.n, 4);
        const auto swapped = sortedHits(f.pts, f.params);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(swapped[i].param, fromB[i], 1e-12);
            EXPECT_LT(offParam(swapped[i].pt, b, bulgesB, swapped[i].param), kOnCurve);
        }
    }
}

TEST(ArcIntersectPolyline, SharedVerticesCountOnce) {
    // Two V shapes touching at their shared inner vertex, and an X crossing there.
    const Doubles straight{0, 0, 0};
    const Pts down{P(-1, -1), P(0, 0), P(1, -1)}, up{P(-1, 1), P(0, 0), P(1, 1)};
    const Found f = polyPoly(down, straight, up, straight);
    EXPECT_TRUE(is(f, 1, {P(0, 0)}));
    EXPECT_EQ(f.params[0], 1.0);
    const Pts rising{P(-1, -1), P(0, 0), P(1, 1)}, falling{P(-1, 1), P(0, 0), P(1, -1)};
    EXPECT_EQ(polyPoly(rising, straight, falling, straight).n, 1);
    // Quarter circles about (-1, 0) and (1, 0) on both: A and B share these circles, touch
    // each other only at the shared inner vertex (0, 0), and that counts once.
    EXPECT_TRUE(is(
        polyPoly(rising, Doubles{kQuarter, -kQuarter, 0}, falling, Doubles{-kQuarter, kQuarter, 0}),
        1, {P(0, 0)}, {1.0}));
    // Two quarters of the unit circle against its upper half: the overlap's ends are (1,0),
    // (0,1) and (-1,0). The quarters share the vertex (0, 1) and each reports it as an end of
    // its own overlap, so it comes twice (at parameter 1 on A both times); removing repeats
    // across segments is the caller's clean-up.
    const Found q = polyPoly(Pts{P(1, 0), P(0, 1), P(-1, 0)}, Doubles{kQuarter, kQuarter, 0},
                             Pts{P(1, 0), P(-1, 0)}, Doubles{1, 0});
    ASSERT_EQ(q.n, 4);
    ASSERT_EQ(q.pts.length(), 4);
    const auto hits = sortedHits(q.pts, q.params);
    const double wantParam[] = {0, 1, 1, 2};
    for (int i = 0; i < 4; ++i) {
        const double a = wantParam[i] * kPi / 2;
        expectNear(hits[i].pt, std::cos(a), std::sin(a), 1e-12);
        EXPECT_NEAR(hits[i].param, wantParam[i], 1e-12);
    }
}

TEST(ArcIntersectPolyline, RandomPolylinesHitsLieOnBothCurves) {
    std::uint64_t rng = 42;
    int total = 0;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        Pts a, b;
        Doubles ba, bb;
        randomPolyline(rng, 12, a, ba);
        randomPolyline(rng, 12, b, bb);
        for (const AcGePoint2d& o : {P(0, 0), kGauss}) {
            const Pts sa = shifted(a, o.x, o.y), sb = shifted(b, o.x, o.y);
            const Found f = polyPoly(sa, ba, sb, bb);
            ASSERT_EQ(f.n, f.pts.length());
            ASSERT_EQ(f.params.length(), f.pts.length());
            total += f.n;
            for (int i = 0; i < f.n; ++i) {
                EXPECT_LT(offParam(f.pts[i], sa, ba, f.params[i]), kOnCurve);
                EXPECT_LT(offPolyline(f.pts[i], sb, bb), kOnCurve);
                // Random pieces share no vertex, so no point may come twice.
                for (int j = 0; j < i; ++j)
                    EXPECT_GT(f.pts[i].distanceTo(f.pts[j]), 1e-9);
            }
        }
    }
    EXPECT_GT(total, 100);
}

TEST(ArcIntersectExtent, BulgePolylineExtents) {
    // A square whose closing piece (0,2)-(0,0) bulges out to x = -1 about (0, 1); open, that
    // piece is left out.
    const Pts sq = square(0, 0, 2);
    expectBox(A::GetBulgePolyExtent(sq, Doubles{0, 0, 0, 1}, true, 0.0), -1, 0, 2, 2);
    expectBox(A::GetBulgePolyExtent(sq, Doubles{0, 0, 0, 1}, false, 0.0), 0, 0, 2, 2);
    // Missing bulges are straight; an empty bulge array is a straight polyline.
    expectBox(A::GetBulgePolyExtent(sq, Doubles{1}, true, 0.0), 0, -1, 2, 2);
    expectBox(A::GetBulgePolyExtent(sq, Doubles(), true, 0.0), 0, 0, 2, 2);
    // Fewer than two nodes: empty extents, minimum above maximum.
    for (const Pts& few : {Pts{P(1, 1)}, Pts()}) {
        const AcDbExtents e = A::GetBulgePolyExtent(few, Doubles{1}, true, 0.0);
        EXPECT_GT(e.minPoint().x, e.maxPoint().x);
    }
}

TEST(ArcIntersectDegenerate, NoCrashAndNoHitOnDegenerateInput) {
    // A zero-chord arc, a zero bulge given as an arc, NaN and infinite points: nothing found
    // and nothing recorded.
    auto nothing = [](const Found& f) { return f.n == 0 && f.pts.isEmpty(); };
    const AcGePoint2d s(1, 0), e(-1, 0);
    EXPECT_TRUE(nothing(arcArc(s, s, 1, s, e, 1)));
    EXPECT_TRUE(nothing(arcArc(s, e, 0, P(0, -1), P(0, 1), 1)));
    EXPECT_TRUE(nothing(arcArc(P(kNaN, 0), e, 1, P(0, -1), P(0, 1), 1)));
    EXPECT_TRUE(nothing(arcArc(s, e, kNaN, P(0, -1), P(0, 1), 1)));
    EXPECT_TRUE(nothing(arcSeg(s, e, 1, P(0, 0.5), P(0, 0.5), -kW, kW)));
    EXPECT_TRUE(nothing(arcSeg(s, e, 1, P(kInf, 0), P(0, 2), -kW, kW)));
    EXPECT_TRUE(nothing(segArc(P(0, -2), P(0, 2), 16, s, s, 1)));
    EXPECT_TRUE(nothing(segArc(P(0, -2), P(0, 2), 16, s, e, kInf)));
    // Empty, single-node and NaN polylines; bulge arrays shorter or longer than the nodes.
    const Doubles none, many{1, 1, 1, 1, 1, 1};
    EXPECT_TRUE(nothing(segMulti(P(0, 0), P(1, 1), Pts(), none, 2)));
    EXPECT_TRUE(nothing(arcMulti(P(0, 0), P(1, 1), 1, Pts{P(0, 0)}, many)));
    EXPECT_TRUE(nothing(segMulti(P(0, 0), P(1, 1), Pts{P(kNaN, 0), P(1, kNaN)}, many, 2)));
    EXPECT_TRUE(nothing(polyPoly(Pts(), none, Pts{P(0, 0), P(1, 1)}, none)));
    EXPECT_TRUE(nothing(polyPoly(Pts{P(0, 0), P(0, 0)}, many, Pts{P(0, 0), P(1, 1)}, none)));
    // Missing bulges are straight: the diagonals cross at (1, 1). With bulge 1 on B, B is the
    // half circle about (1, 1) through its lower left, met by A's diagonal at A's start.
    const Pts diagonal{P(0, 0), P(2, 2)}, other{P(0, 2), P(2, 0)};
    EXPECT_TRUE(is(polyPoly(diagonal, none, other, none), 1, {P(1, 1)}));
    const Found f = polyPoly(diagonal, none, other, many);
    EXPECT_TRUE(is(f, 1, {P(0, 0)}));
    EXPECT_EQ(f.params[0], 0.0);
}
