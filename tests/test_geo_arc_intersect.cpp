// The intersection layer of the arc class: closed-form circle/line and circle/circle hits, the
// bounded arc and segment pairs with their windows, segments and arcs against bulge polylines,
// polyline against polyline, and the extents of a bulge polyline.
//
// Hand values come from circles about small integer centres (3-4-5 triangles, 30/60 degree
// points); the same fixtures shifted to Gauss-plane coordinates must give the same hits.

#include "TavroGeometric142.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {
using Pt = AcGePoint2d;
using Pts = AcArray<AcGePoint2d>;
using Doubles = AcArray<double>;
using A = CTavroGeoArc;

const double kPi = 3.14159265358979323846;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const double kR3 = std::sqrt(0.75);          // sin 60 degrees
const double kQuarter = std::tan(kPi / 8.0); // bulge of a quarter circle
const Pt kGauss(500000.0, 3500000.0);        // a Gauss-plane origin
const double kOnCurve = 1e-9;

Pt shift(const Pt& p, const Pt& by) {
    return Pt(p.x + by.x, p.y + by.y);
}

Pts shifted(const Pts& pts, const Pt& by) {
    Pts out;
    for (const Pt& p : pts)
        out.append(shift(p, by));
    return out;
}

Pt local(const Pt& p, const Pt& origin) {
    return Pt(p.x - origin.x, p.y - origin.y);
}

void expectPt(const Pt& got, double x, double y, double tol = 1e-12) {
    EXPECT_NEAR(got.x, x, tol);
    EXPECT_NEAR(got.y, y, tol);
}

// Distance from the circle of the arc (s, e, b) or from the line se, measured from s so that
// plane coordinates of millions keep their digits.
double offCurve(const Pt& pt, const Pt& s, const Pt& e, double b) {
    const Pt p = local(pt, s);
    const Pt end = local(e, s);
    if (std::fabs(b) < 1e-10)
        return std::fabs(end.x * p.y - end.y * p.x) / std::hypot(end.x, end.y);
    const Pt c = A::geoArcCenter(Pt(0, 0), end, b);
    return std::fabs(p.distanceTo(c) - c.distanceTo(Pt(0, 0)));
}

// Distance from the bounded piece: from its curve where pt lies alongside it, else from the
// nearer end.
double offPiece(const Pt& pt, const Pt& s, const Pt& e, double b) {
    const Pt p = local(pt, s);
    const Pt end = local(e, s);
    double t = 0.0;
    if (std::fabs(b) < 1e-10) {
        t = (p.x * end.x + p.y * end.y) / (end.x * end.x + end.y * end.y);
    } else {
        const Pt c = A::geoArcCenter(Pt(0, 0), end, b);
        t = A::GetParamAtArc(p, c, Pt(0, 0), end, b < 0.0);
    }
    if (t >= -1e-9 && t <= 1.0 + 1e-9) return offCurve(pt, s, e, b);
    return std::min(p.distanceTo(Pt(0, 0)), p.distanceTo(end));
}

double offPolyline(const Pt& pt, const Pts& nodes, const Doubles& bulges) {
    double best = kInf;
    for (int i = 0; i + 1 < nodes.length(); ++i)
        best = std::min(best, offPiece(pt, nodes[i], nodes[i + 1], bulges[i]));
    return best;
}

// Point of the piece at fraction f (angular for an arc), relative to the piece start.
Pt pieceAt(const Pt& s, const Pt& e, double b, double f) {
    const Pt end = local(e, s);
    if (std::fabs(b) < 1e-10) return Pt(f * end.x, f * end.y);
    return A::geoArcPointAtParam(f, Pt(0, 0), end, b);
}

// How far pt is from the point that its polyline parameter (index + fraction) names.
double offParam(const Pt& pt, const Pts& nodes, const Doubles& bulges, double param) {
    const int i = std::min(static_cast<int>(std::floor(param)), nodes.length() - 2);
    const Pt at = pieceAt(nodes[i], nodes[i + 1], bulges[i], param - i);
    return at.distanceTo(local(pt, nodes[i]));
}

struct Hit {
    Pt pt;
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

// A small deterministic generator, the same on every platform.
class Lcg {
public:
    double next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(m_state >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t m_state = 42;
};

void randomPolyline(Lcg& rng, int pieces, Pts& nodes, Doubles& bulges) {
    Pt at(100.0 * rng.next(), 100.0 * rng.next());
    for (int i = 0; i <= pieces; ++i) {
        nodes.append(at);
        const bool arc = rng.next() < 0.5 && i < pieces;
        bulges.append(arc ? (rng.next() < 0.5 ? -1.0 : 1.0) * (0.05 + 1.4 * rng.next()) : 0.0);
        // Steps that would leave the square turn back, so no two pieces run along its edge.
        const double dx = 60.0 * (rng.next() - 0.5), dy = 60.0 * (rng.next() - 0.5);
        at = Pt(at.x + (at.x + dx < 0.0 || at.x + dx > 100.0 ? -dx : dx),
                at.y + (at.y + dy < 0.0 || at.y + dy > 100.0 ? -dy : dy));
    }
}
} // namespace

TEST(ArcIntersectClosedForm, CircleAgainstLineCoefficients) {
    Pt p1, p2;
    // y = 1 touches the unit circle at its top: exact tangency of a level line counts once.
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, 0, 1, -1, p1, p2), 1);
    expectPt(p1, 0, 1);
    // y = 0.5: the larger x first on a level line.
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, 0, 1, -0.5, p1, p2), 2);
    expectPt(p1, kR3, 0.5);
    expectPt(p2, -kR3, 0.5);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, 1, 1, -10, p1, p2), 0);
    // x = 0.6 on the circle of radius 1 about (2, 3): (2.6, 3 +- 0.8), the larger y first.
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(2, 3), 1, 1, 0, -2.6, p1, p2), 2);
    expectPt(p1, 2.6, 3.8);
    expectPt(p2, 2.6, 2.2);
    // 4x - 3y = 0 passes through the centre (3, 4) of a radius-5 circle: a diameter's ends.
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(3, 4), 5, 4, -3, 0, p1, p2), 2);
    expectPt(p1, 6, 8);
    expectPt(p2, 0, 0);
    // x + y = 2 touches the circle of radius sqrt 2 at (1, 1): discriminant within 1e-10.
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), std::sqrt(2.0), 1, 1, -2, p1, p2), 1);
    expectPt(p1, 1, 1);
    // Tiny coefficients still describe the line y = x through the centre: two points, not a
    // touch at the foot of the perpendicular.
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, 1e-3, -1e-3, 0, p1, p2), 2);
    expectPt(p1, std::sqrt(0.5), std::sqrt(0.5));
    expectPt(p2, -std::sqrt(0.5), -std::sqrt(0.5));
    // Both coefficients negligible: no line.
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, 1e-11, 1e-11, 0, p1, p2), 0);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, kNaN, 1, 0, p1, p2), 0);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), kNaN, 0, 1, 0, p1, p2), 0);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(kNaN, 0), 1, 1, 1, 0, p1, p2), 0);
    // Zero radius: a line through the centre touches it only when exactly level.
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(1, 1), 0, 0, 1, -1, p1, p2), 1);
    expectPt(p1, 1, 1);
}

TEST(ArcIntersectClosedForm, NearlyLevelLinesKeepTheirHitsOnBothCurves) {
    // y = 1e-6 x + 50 against the circle of radius 100: solving the line for x through the
    // slope 1e-6 would throw the points off the circle by far more than 1e-9.
    const double slopes[] = {1e-6, 1e-9, -3e-8};
    for (double a : slopes) {
        Pt p1, p2;
        ASSERT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 100, a, -1, 50, p1, p2), 2);
        for (const Pt& p : {p1, p2}) {
            EXPECT_NEAR(p.distanceTo(Pt(0, 0)), 100.0, kOnCurve);
            EXPECT_NEAR((a * p.x - p.y + 50) / std::hypot(a, 1.0), 0.0, kOnCurve);
        }
        EXPECT_GT(p1.y, p2.y);
        EXPECT_NEAR(p1.distanceTo(p2), 2.0 * std::sqrt(100.0 * 100.0 - 50.0 * 50.0), 1e-3);
    }
}

TEST(ArcIntersectClosedForm, CircleAgainstLineThroughTwoPoints) {
    Pt q1, q2;
    // y = 1 touches the unit circle at (0, 1), whichever way the line runs.
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, Pt(-2, 1), Pt(2, 1), q1, q2),
              Tavro::kRelationTangent);
    expectPt(q1, 0, 1);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, Pt(2, 1), Pt(-2, 1), q1, q2), 8);
    expectPt(q1, 0, 1);
    // y = 0.5: 60 degrees either side of the normal (0, 1); q1 is the counterclockwise one.
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, Pt(-2, 0.5), Pt(2, 0.5), q1, q2), 6);
    expectPt(q1, -kR3, 0.5);
    expectPt(q2, kR3, 0.5);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, Pt(2, 0.5), Pt(-2, 0.5), q1, q2), 6);
    expectPt(q1, -kR3, 0.5);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, Pt(-2, 3), Pt(2, 3), q1, q2), 4);
    // The touch tolerance 1e-6 reaches both ways: missing or cutting by 5e-7 is a touch, and
    // the touch point lies on the circle.
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, Pt(-2, 1 + 5e-7), Pt(2, 1 + 5e-7), q1, q2), 8);
    expectPt(q1, 0, 1);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, Pt(-2, 1 - 5e-7), Pt(2, 1 - 5e-7), q1, q2), 8);
    expectPt(q1, 0, 1);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, Pt(-2, 1 + 2e-6), Pt(2, 1 + 2e-6), q1, q2), 4);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, Pt(-2, 1 - 2e-6), Pt(2, 1 - 2e-6), q1, q2), 6);
    // A short line rising 9e-7 over 1e-3 is tilted by 9e-4: its hits stay on it.
    const Pt a(0, 0.5), b(0.001, 0.5 + 9e-7);
    ASSERT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, a, b, q1, q2), 6);
    for (const Pt& q : {q1, q2}) {
        EXPECT_NEAR(q.distanceTo(Pt(0, 0)), 1.0, kOnCurve);
        EXPECT_LT(offCurve(q, a, b, 0.0), kOnCurve);
    }
    // The same crossing at Gauss-plane coordinates.
    ASSERT_EQ(A::Circle_Line_Intersect(kGauss, 1, shift(Pt(-2, 0.5), kGauss),
                                       shift(Pt(2, 0.5), kGauss), q1, q2),
              6);
    expectPt(local(q1, kGauss), -kR3, 0.5, kOnCurve);
    expectPt(local(q2, kGauss), kR3, 0.5, kOnCurve);
    // Degenerate input: two equal points make no line; a point circle on the line touches it.
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, Pt(0.5, 0), Pt(0.5, 0), q1, q2), 4);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(1, 0), 0, Pt(0, 0), Pt(2, 0), q1, q2), 8);
    expectPt(q1, 1, 0);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(kNaN, 0), 1, Pt(0, 0), Pt(2, 0), q1, q2), 4);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), kNaN, Pt(0, 0), Pt(2, 0), q1, q2), 4);
    EXPECT_EQ(A::Circle_Line_Intersect(Pt(0, 0), 1, Pt(kInf, 0), Pt(2, 0), q1, q2), 4);
}

TEST(ArcIntersectClosedForm, TwoCircles) {
    Pt p1, p2;
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 1, Pt(2, 0), 1, p1, p2), 1);
    expectPt(p1, 1, 0);
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 1, Pt(1, 0), 1, p1, p2), 2);
    expectPt(p1, 0.5, kR3);
    expectPt(p2, 0.5, -kR3);
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(3, 4), 2, Pt(3, 4), 2, p1, p2), -1);
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 1, Pt(0, 0), 2, p1, p2), 0);
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 1, Pt(3, 0), 1, p1, p2), 0);
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 3, Pt(0.5, 0), 1, p1, p2), 0);
    // An inside touch reports two equal points.
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 2, Pt(1, 0), 1, p1, p2), 2);
    expectPt(p1, 2, 0);
    expectPt(p2, 2, 0);
    // Radius-5 circles about (0,0) and (7,7) meet at (3,4) and (4,3), the larger y first.
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 5, Pt(7, 7), 5, p1, p2), 2);
    expectPt(p1, 3, 4);
    expectPt(p2, 4, 3);
    // Centres one above the other: the larger x first.
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 5, Pt(0, 8), 5, p1, p2), 2);
    expectPt(p1, 3, 4);
    expectPt(p2, -3, 4);
    // Apart by 5e-11 is a touch, with a finite point; apart by 2e-10 is apart.
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 1, Pt(0, 2 + 5e-11), 1, p1, p2), 1);
    expectPt(p1, 0, 1, 1e-10);
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 1, Pt(2 + 5e-11, 0), 1, p1, p2), 1);
    expectPt(p1, 1, 0, 1e-10);
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 1, Pt(0, 2 + 2e-10), 1, p1, p2), 0);
    // Centres 1e-7 off the vertical: (+-48, 36) of the 60-80-100 triangle, on both circles.
    ASSERT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 60, Pt(1e-7, 100), 80, p1, p2), 2);
    // The common chord tilts by 1e-9, so (-48, 36) is the higher point and comes first.
    expectPt(p1, -48, 36, 1e-6);
    expectPt(p2, 48, 36, 1e-6);
    for (const Pt& p : {p1, p2}) {
        EXPECT_NEAR(p.distanceTo(Pt(0, 0)), 60.0, kOnCurve);
        EXPECT_NEAR(p.distanceTo(Pt(1e-7, 100)), 80.0, kOnCurve);
    }
    // Zero radii: a point on the other circle touches it; two equal points are one circle.
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), 1, Pt(0, 1), 0, p1, p2), 1);
    expectPt(p1, 0, 1);
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(2, 2), 0, Pt(2, 2), 0, p1, p2), -1);
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(kNaN, 0), 1, Pt(1, 0), 1, p1, p2), 0);
    EXPECT_EQ(A::Circle_Circle_Intersect(Pt(0, 0), kInf, Pt(1, 0), 1, p1, p2), 0);
}

TEST(ArcIntersectBounded, ArcAgainstArc) {
    // Upper half of the unit circle against the upper half of the unit circle about (1, 0):
    // one hit at 60 degrees, a third of the way along the first arc.
    for (const Pt& o : {Pt(0, 0), kGauss}) {
        Pts pts;
        Doubles params;
        const Pt s1 = shift(Pt(1, 0), o), e1 = shift(Pt(-1, 0), o);
        const Pt s2 = shift(Pt(2, 0), o), e2 = shift(Pt(0, 0), o);
        ASSERT_EQ(A::ArcArcInter(s1, e1, 1, s2, e2, 1, -1e-6, 1e-6, -1e-6, 1e-6, pts, params), 1);
        expectPt(local(pts[0], o), 0.5, kR3, kOnCurve);
        EXPECT_NEAR(params[0], 1.0 / 3.0, 1e-12);
        EXPECT_LT(offCurve(pts[0], s1, e1, 1), kOnCurve);
        EXPECT_LT(offCurve(pts[0], s2, e2, 1), kOnCurve);
        // Appending to filled arrays: the result is their length.
        EXPECT_EQ(A::ArcArcInter(s1, e1, 1, s2, e2, 1, -1e-6, 1e-6, -1e-6, 1e-6, pts, params), 2);
        // The clockwise lower half of the first circle misses the hit: nothing more appended.
        EXPECT_EQ(A::ArcArcInter(s1, e1, -1, s2, e2, 1, -1e-6, 1e-6, -1e-6, 1e-6, pts, params), 2);
    }
}

TEST(ArcIntersectBounded, ArcWindowsDecideTheEnds) {
    // The unit circle and the circle of radius 1 about (-1, 1) meet at (-1, 0) and (0, 1).
    // Arc 1, the upper unit half, ends at (-1, 0) and passes (0, 1) halfway; arc 2, the lower
    // half about (-1, 1) from (-2, 1) to (0, 1), passes (-1, 0) halfway and ends at (0, 1).
    const Pt s1(1, 0), e1(-1, 0), s2(-2, 1), e2(0, 1);
    auto run = [&](double lo1, double hi1, double lo2, double hi2) {
        Pts pts;
        Doubles params;
        A::ArcArcInter(s1, e1, 1, s2, e2, 1, lo1, hi1, lo2, hi2, pts, params);
        return sortedHits(pts, params);
    };
    EXPECT_TRUE(run(-1e-6, -1e-6, -1e-6, -1e-6).empty());
    auto hits = run(-1e-6, 1e-6, -1e-6, -1e-6);
    ASSERT_EQ(hits.size(), 1u);
    expectPt(hits[0].pt, -1, 0);
    EXPECT_NEAR(hits[0].param, 1.0, 1e-12);
    hits = run(-1e-6, -1e-6, -1e-6, 1e-6);
    ASSERT_EQ(hits.size(), 1u);
    expectPt(hits[0].pt, 0, 1);
    EXPECT_NEAR(hits[0].param, 0.5, 1e-12);
    EXPECT_EQ(run(-1e-6, 1e-6, -1e-6, 1e-6).size(), 2u);
    // The start: arc 2 from (0, 1) backwards runs to (-2, 1) clockwise through (-1, 0).
    Pts pts;
    Doubles params;
    A::ArcArcInter(s1, e1, 1, e2, s2, -1, -1e-6, -1e-6, -1e-6, -1e-6, pts, params);
    ASSERT_EQ(pts.length(), 1);
    expectPt(pts[0], 0, 1);
    pts.removeAll();
    params.removeAll();
    A::ArcArcInter(s1, e1, 1, e2, s2, -1, -1e-6, -1e-6, 1e-6, -1e-6, pts, params);
    EXPECT_EQ(pts.length(), 0);
}

TEST(ArcIntersectBounded, ArcsOnOneCircle) {
    // The two halves of the unit circle: both windows open at the ends, so every end is kept,
    // and the result is 0 although four points were recorded.
    Pts pts;
    Doubles params;
    EXPECT_EQ(A::ArcArcInter(Pt(1, 0), Pt(-1, 0), 1, Pt(-1, 0), Pt(1, 0), 1, -1e-6, 1e-6, -1e-6,
                             1e-6, pts, params),
              0);
    ASSERT_EQ(pts.length(), 4);
    ASSERT_EQ(params.length(), 4);
    expectPt(pts[0], -1, 0);
    expectPt(pts[1], 1, 0);
    expectPt(pts[2], 1, 0);
    expectPt(pts[3], -1, 0);
    EXPECT_NEAR(params[0], 1.0, 1e-12);
    EXPECT_NEAR(params[1], 0.0, 1e-12);
    EXPECT_EQ(params[2], 0.0);
    EXPECT_EQ(params[3], 1.0);
    // A quarter (1,0)-(0,1) closed at its end against the upper half: the quarter's end
    // (0, 1) lies inside the half but outside the quarter's own window, so it is not kept.
    pts.removeAll();
    params.removeAll();
    EXPECT_EQ(A::ArcArcInter(Pt(1, 0), Pt(0, 1), kQuarter, Pt(1, 0), Pt(-1, 0), 1, -1e-6, -1e-6,
                             -1e-6, 1e-6, pts, params),
              0);
    ASSERT_EQ(pts.length(), 2);
    expectPt(pts[0], 1, 0);
    expectPt(pts[1], 1, 0);
    // Against a polyline the recorded ends count: the result is the number of points listed.
    Doubles lower{1, 0};
    EXPECT_EQ(A::ArcMultiInter(Pt(1, 0), Pt(-1, 0), 1, Pts{Pt(-1, 0), Pt(1, 0)}, lower, -1e-6, 1e-6,
                               pts, params),
              4);
    EXPECT_EQ(pts.length(), 4);
    // The same at Gauss-plane coordinates: the recorded ends are the input points exactly.
    pts.removeAll();
    params.removeAll();
    const Pt s = shift(Pt(1, 0), kGauss), e = shift(Pt(-1, 0), kGauss);
    A::ArcArcInter(s, e, 1, e, s, 1, -1e-6, 1e-6, -1e-6, 1e-6, pts, params);
    ASSERT_EQ(pts.length(), 4);
    EXPECT_EQ(pts[0].x, e.x);
    EXPECT_EQ(pts[1].x, s.x);
}

TEST(ArcIntersectBounded, ArcAgainstSegment) {
    // The upper unit half against x = 0 from (0,-2) to (0,2): (0, 1) halfway along the arc and
    // three quarters along the segment; (0, -1) is on the circle but off the arc.
    for (const Pt& o : {Pt(0, 0), kGauss}) {
        const Pt as = shift(Pt(1, 0), o), ae = shift(Pt(-1, 0), o);
        const Pt ls = shift(Pt(0, -2), o), le = shift(Pt(0, 2), o);
        Pts pts;
        Doubles params;
        ASSERT_EQ(A::ArcLineSegInter(as, ae, 1, ls, le, -1e-6, 1e-6, -1e-6, 16 + 1e-6, pts, params),
                  1);
        expectPt(local(pts[0], o), 0, 1, kOnCurve);
        EXPECT_NEAR(params[0], 0.5, 1e-12);
        EXPECT_LT(offCurve(pts[0], as, ae, 1), kOnCurve);
        EXPECT_LT(offCurve(pts[0], ls, le, 0), kOnCurve);
        pts.removeAll();
        params.removeAll();
        ASSERT_EQ(A::LineSegArcInter(ls, le, as, ae, 1, -1e-6, 16 + 1e-6, -1e-6, 1e-6, pts, params),
                  1);
        expectPt(local(pts[0], o), 0, 1, kOnCurve);
        EXPECT_NEAR(params[0], 0.75, 1e-12);
    }
}

TEST(ArcIntersectBounded, SegmentWindowsAreSquaredLengths) {
    const Pt as(1, 0), ae(-1, 0);
    Pts pts;
    Doubles params;
    // The segment from (0, 1) up to (0, 3) starts on the arc: kept at -1e-6, not at +1e-6.
    EXPECT_EQ(A::ArcLineSegInter(as, ae, 1, Pt(0, 1), Pt(0, 3), -1e-6, 1e-6, -1e-6, 4, pts, params),
              1);
    pts.removeAll();
    params.removeAll();
    EXPECT_EQ(A::ArcLineSegInter(as, ae, 1, Pt(0, 1), Pt(0, 3), -1e-6, 1e-6, 1e-6, 4, pts, params),
              0);
    // Reversed it ends there: |ls le|^2 = 4, the inner window 4 + 1e-12 - 4e-6 drops the end,
    // the last-piece window 4 + 1e-12 + 4e-6 keeps it.
    EXPECT_EQ(A::ArcLineSegInter(as, ae, 1, Pt(0, 3), Pt(0, 1), -1e-6, 1e-6, -1e-6,
                                 4 + 1e-12 - 4e-6, pts, params),
              0);
    EXPECT_EQ(A::ArcLineSegInter(as, ae, 1, Pt(0, 3), Pt(0, 1), -1e-6, 1e-6, -1e-6,
                                 4 + 1e-12 + 4e-6, pts, params),
              1);
    EXPECT_NEAR(params[0], 0.5, 1e-12);
    // A single touching candidate off the segment: 0, whatever the arrays held.
    EXPECT_EQ(A::ArcLineSegInter(as, ae, 1, Pt(2, 1), Pt(3, 1), -1e-6, 1e-6, -1e-6, 2, pts, params),
              0);
    EXPECT_EQ(pts.length(), 1);
    // A segment 5e-4 long on the x axis: the circle meets its line at (-1, 0), on the arc but
    // far off the segment, and that is no hit however short the segment.
    pts.removeAll();
    params.removeAll();
    const double q = 2.5e-7;
    EXPECT_EQ(A::ArcLineSegInter(Pt(0, 1), Pt(0, -1), 1, Pt(-5e-4, 0), Pt(0, 0), -1e-6, 1e-6, -1e-6,
                                 q + 1e-12 + 1e-9, pts, params),
              0);
    EXPECT_EQ(A::LineSegArcInter(Pt(-5e-4, 0), Pt(0, 0), Pt(0, 1), Pt(0, -1), 1, -1e-6,
                                 q + 1e-12 + 1e-9, -1e-6, 1e-6, pts, params),
              0);
    EXPECT_EQ(pts.length(), 0);
}

TEST(ArcIntersectBounded, ShortSegmentsStillMeetArcs) {
    // A segment 1.4e-3 long on y = x + 1 crosses the upper unit half at (0, 1), its middle.
    Pts pts;
    Doubles params;
    const Pt ls(-0.0005, 0.9995), le(0.0005, 1.0005);
    ASSERT_EQ(
        A::ArcLineSegInter(Pt(1, 0), Pt(-1, 0), 1, ls, le, -1e-6, 1e-6, -1e-6, 2e-6, pts, params),
        1);
    expectPt(pts[0], 0, 1, 1e-12);
    EXPECT_NEAR(params[0], 0.5, 1e-12);
    ASSERT_EQ(
        A::LineSegArcInter(ls, le, Pt(1, 0), Pt(-1, 0), 1, -1e-6, 2e-6, -1e-6, 1e-6, pts, params),
        2);
    EXPECT_NEAR(params[1], 0.5, 1e-9);
}

TEST(ArcIntersectBounded, FlatArcsStillMeetSegments) {
    // Bulge 5e-7 on a chord of 10 is an arc here (above 1e-10) with sagitta b*c/2 = 2.5e-6
    // below the chord; the segment x = 5 crosses it at its middle.
    Pts pts;
    Doubles params;
    ASSERT_EQ(A::ArcLineSegInter(Pt(0, 0), Pt(10, 0), 5e-7, Pt(5, -1), Pt(5, 1), -1e-6, 1e-6, -1e-6,
                                 4 + 1e-6, pts, params),
              1);
    // The centre lies 5e6 away, so the hit carries that circle's rounding, some 1e-9.
    expectPt(pts[0], 5, -2.5e-6, 1e-8);
    EXPECT_NEAR(params[0], 0.5, 1e-9);
}

TEST(ArcIntersectPolyline, SegmentCountsAnInnerVertexOnce) {
    Pts pts;
    Doubles params;
    // Straight pieces: (3,-1)-(1,1) passes the inner vertex (2, 0) halfway.
    Pts nodes{Pt(0, 0), Pt(2, 0), Pt(2, 2)};
    Doubles bulges{0, 0, 0};
    EXPECT_EQ(A::ArcMultiInter(Pt(3, -1), Pt(1, 1), nodes, bulges, -1e-6, 8, pts, params), 1);
    expectPt(pts[0], 2, 0);
    EXPECT_NEAR(params[0], 0.5, 1e-12);
    // The last vertex (2, 2) counts; so does the first.
    EXPECT_EQ(A::ArcMultiInter(Pt(1, 3), Pt(3, 1), nodes, bulges, -1e-6, 8, pts, params), 1);
    expectPt(pts[0], 2, 2);
    EXPECT_EQ(A::ArcMultiInter(Pt(-1, 1), Pt(1, -1), nodes, bulges, -1e-6, 8, pts, params), 1);
    expectPt(pts[0], 0, 0);
    // Arc pieces: the upper half about (1, 0) then the lower half about (3, 0). The line
    // y = x - 2 meets the first circle at (1,-1) (not on its arc) and (2, 0), the second at
    // (2, 0) and (3, 1) (not on its arc): one hit at the shared vertex.
    nodes = Pts{Pt(0, 0), Pt(2, 0), Pt(4, 0)};
    bulges = Doubles{-1, 1, 0};
    EXPECT_EQ(A::ArcMultiInter(Pt(1, -1), Pt(3, 1), nodes, bulges, -1e-6, 8, pts, params), 1);
    expectPt(pts[0], 2, 0);
    EXPECT_NEAR(params[0], 0.5, 1e-12);
    // y = x - 4 meets the second circle at (3,-1), the query's own start, and at the last
    // vertex (4, 0).
    ASSERT_EQ(A::ArcMultiInter(Pt(3, -1), Pt(5, 1), nodes, bulges, -1e-6, 8, pts, params), 2);
    const auto hits = sortedHits(pts, params);
    expectPt(hits[0].pt, 3, -1);
    EXPECT_NEAR(hits[0].param, 0.0, 1e-12);
    expectPt(hits[1].pt, 4, 0);
    EXPECT_NEAR(hits[1].param, 0.5, 1e-12);
    // An arc piece then a straight one: the vertex (2, 0) once, from the straight piece.
    bulges = Doubles{-1, 0, 0};
    EXPECT_EQ(A::ArcMultiInter(Pt(1, -1), Pt(3, 1), nodes, bulges, -1e-6, 8, pts, params), 1);
    expectPt(pts[0], 2, 0);
    // The query's own window: ending exactly on the polyline, kept only with the end slack.
    Doubles level{0, 0};
    EXPECT_EQ(A::ArcMultiInter(Pt(2, -1), Pt(2, 0), Pts{Pt(0, 0), Pt(4, 0)}, level, -1e-6,
                               1 + 1e-12 - 2e-6, pts, params),
              0);
    EXPECT_EQ(A::ArcMultiInter(Pt(2, -1), Pt(2, 0), Pts{Pt(0, 0), Pt(4, 0)}, level, -1e-6,
                               1 + 1e-12 + 2e-6, pts, params),
              1);
}

TEST(ArcIntersectPolyline, ArcCountsAnInnerVertexOnce) {
    Pts pts;
    Doubles params;
    const Pt s(1, 0), e(-1, 0); // the upper unit half, through (0, 1) halfway
    Pts nodes{Pt(0, 0), Pt(0, 1), Pt(0, 2)};
    Doubles bulges{0, 0, 0};
    EXPECT_EQ(A::ArcMultiInter(s, e, 1, nodes, bulges, -1e-6, 1e-6, pts, params), 1);
    expectPt(pts[0], 0, 1);
    EXPECT_NEAR(params[0], 0.5, 1e-12);
    // A straight piece up to (0, 1), then the right half of the circle about (0, 2), which
    // touches the unit circle there from outside.
    bulges = Doubles{0, 1};
    nodes = Pts{Pt(0, 0), Pt(0, 1), Pt(0, 3)};
    EXPECT_EQ(A::ArcMultiInter(s, e, 1, nodes, bulges, -1e-6, 1e-6, pts, params), 1);
    expectPt(pts[0], 0, 1);
    // The polyline's last vertex on the arc counts.
    nodes = Pts{Pt(0, -1), Pt(0, 0), Pt(0, 1)};
    bulges = Doubles{0, 0};
    EXPECT_EQ(A::ArcMultiInter(s, e, 1, nodes, bulges, -1e-6, 1e-6, pts, params), 1);
    expectPt(pts[0], 0, 1);
    // Filled output arrays are replaced.
    EXPECT_EQ(pts.length(), 1);
}

TEST(ArcIntersectPolyline, TwoPolylinesWorkedByHand) {
    // B: the upper unit half from (-1,0) clockwise to (1,0), then down to (1,-2).
    // A: along y = 0.5 (crossing the half circle at +-sqrt .75), down y = x - 1.5 to the inner
    // vertex (1,-0.5) on B, on to (0,-1.5), then up x = 0 to its last vertex (0, 1) on B.
    const Pts nodesA{Pt(-2, 0.5), Pt(2, 0.5), Pt(1, -0.5), Pt(0, -1.5), Pt(0, 1)};
    const Pts nodesB{Pt(-1, 0), Pt(1, 0), Pt(1, -2)};
    Doubles bulgesA{0, 0, 0, 0, 0};
    Doubles bulgesB{-1, 0, 0};
    const double expected[][3] = {
        {-kR3, 0.5, (2 - kR3) / 4}, {kR3, 0.5, (2 + kR3) / 4}, {1, -0.5, 2.0}, {0, 1, 4.0}};
    // Seen from B the same points lie at 1/6 and 5/6 of the half circle (150 and 30 degrees),
    // halfway, and a quarter down the straight piece.
    const double fromB[] = {1.0 / 6.0, 0.5, 5.0 / 6.0, 1.25};
    for (const Pt& o : {Pt(0, 0), kGauss}) {
        const Pts a = shifted(nodesA, o), b = shifted(nodesB, o);
        Pts pts;
        Doubles params;
        ASSERT_EQ(A::polylineArcInter(a, bulgesA, b, bulgesB, pts, params), 4);
        const auto hits = sortedHits(pts, params);
        for (int i = 0; i < 4; ++i) {
            expectPt(local(hits[i].pt, o), expected[i][0], expected[i][1], kOnCurve);
            EXPECT_NEAR(hits[i].param, expected[i][2], 1e-12);
            EXPECT_LT(offParam(hits[i].pt, a, bulgesA, hits[i].param), kOnCurve);
            EXPECT_LT(offPolyline(hits[i].pt, b, bulgesB), kOnCurve);
        }
        ASSERT_EQ(A::polylineArcInter(b, bulgesB, a, bulgesA, pts, params), 4);
        const auto swapped = sortedHits(pts, params);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(swapped[i].param, fromB[i], 1e-12);
            EXPECT_LT(offParam(swapped[i].pt, b, bulgesB, swapped[i].param), kOnCurve);
            EXPECT_LT(offPolyline(swapped[i].pt, a, bulgesA), kOnCurve);
        }
    }
}

TEST(ArcIntersectPolyline, SharedVerticesCountOnce) {
    Pts pts;
    Doubles params;
    // Two V shapes touching at their shared inner vertex, and an X crossing there.
    Doubles straight{0, 0, 0};
    EXPECT_EQ(A::polylineArcInter(Pts{Pt(-1, -1), Pt(0, 0), Pt(1, -1)}, straight,
                                  Pts{Pt(-1, 1), Pt(0, 0), Pt(1, 1)}, straight, pts, params),
              1);
    expectPt(pts[0], 0, 0);
    EXPECT_EQ(params[0], 1.0);
    EXPECT_EQ(A::polylineArcInter(Pts{Pt(-1, -1), Pt(0, 0), Pt(1, 1)}, straight,
                                  Pts{Pt(-1, 1), Pt(0, 0), Pt(1, -1)}, straight, pts, params),
              1);
    // Quarter circles about (-1, 0) and (1, 0) on both: A and B share these circles, touch
    // each other only at the shared inner vertex (0, 0), and that counts once.
    Doubles arcsA{kQuarter, -kQuarter, 0}, arcsB{-kQuarter, kQuarter, 0};
    EXPECT_EQ(A::polylineArcInter(Pts{Pt(-1, -1), Pt(0, 0), Pt(1, 1)}, arcsA,
                                  Pts{Pt(-1, 1), Pt(0, 0), Pt(1, -1)}, arcsB, pts, params),
              1);
    expectPt(pts[0], 0, 0, 1e-12);
    EXPECT_NEAR(params[0], 1.0, 1e-12);
    // Two quarters of the unit circle against its upper half: the ends they share are
    // (1,0), (0,1) and (-1,0), each once, although the quarters share (0, 1) as a vertex.
    Doubles quarters{kQuarter, kQuarter, 0}, half{1, 0};
    const int n = A::polylineArcInter(Pts{Pt(1, 0), Pt(0, 1), Pt(-1, 0)}, quarters,
                                      Pts{Pt(1, 0), Pt(-1, 0)}, half, pts, params);
    ASSERT_EQ(n, 3);
    ASSERT_EQ(pts.length(), 3);
    const auto hits = sortedHits(pts, params);
    expectPt(hits[0].pt, 1, 0);
    expectPt(hits[1].pt, 0, 1);
    expectPt(hits[2].pt, -1, 0);
    EXPECT_NEAR(hits[0].param, 0.0, 1e-12);
    EXPECT_NEAR(hits[1].param, 1.0, 1e-12);
    EXPECT_NEAR(hits[2].param, 2.0, 1e-12);
}

TEST(ArcIntersectPolyline, RandomPolylinesHitsLieOnBothCurves) {
    Lcg rng;
    int total = 0;
    for (int round = 0; round < 20; ++round) {
        Pts a, b;
        Doubles ba, bb;
        randomPolyline(rng, 12, a, ba);
        randomPolyline(rng, 12, b, bb);
        for (const Pt& o : {Pt(0, 0), kGauss}) {
            const Pts sa = shifted(a, o), sb = shifted(b, o);
            Pts pts;
            Doubles params;
            const int n = A::polylineArcInter(sa, ba, sb, bb, pts, params);
            ASSERT_EQ(n, pts.length());
            ASSERT_EQ(params.length(), pts.length());
            total += n;
            for (int i = 0; i < n; ++i) {
                EXPECT_LT(offParam(pts[i], sa, ba, params[i]), kOnCurve) << round;
                EXPECT_LT(offPolyline(pts[i], sa, ba), kOnCurve) << round;
                EXPECT_LT(offPolyline(pts[i], sb, bb), kOnCurve) << round;
                // Random pieces share no vertex, so no point may come twice.
                for (int j = 0; j < i; ++j)
                    EXPECT_GT(pts[i].distanceTo(pts[j]), 1e-9) << round;
            }
        }
    }
    EXPECT_GT(total, 100);
}

TEST(ArcIntersectExtent, BulgePolylineExtents) {
    // The counterclockwise half circle from (0,0) to (2,0) passes below, down to y = -1.
    AcDbExtents e = A::GetBulgePolyExtent(Pts{Pt(0, 0), Pt(2, 0)}, Doubles{1, 0}, false, 0.0);
    EXPECT_NEAR(e.minPoint().x, 0, 1e-12);
    EXPECT_NEAR(e.minPoint().y, -1, 1e-12);
    EXPECT_NEAR(e.maxPoint().x, 2, 1e-12);
    EXPECT_NEAR(e.maxPoint().y, 0, 1e-12);
    // A square whose closing piece (0,2)-(0,0) bulges out to x = -1 about (0, 1).
    const Pts square{Pt(0, 0), Pt(2, 0), Pt(2, 2), Pt(0, 2)};
    e = A::GetBulgePolyExtent(square, Doubles{0, 0, 0, 1}, true, 0.0);
    EXPECT_NEAR(e.minPoint().x, -1, 1e-12);
    EXPECT_NEAR(e.maxPoint().y, 2, 1e-12);
    e = A::GetBulgePolyExtent(square, Doubles{0, 0, 0, 1}, false, 0.0);
    EXPECT_NEAR(e.minPoint().x, 0, 1e-12);
    // Missing bulges are straight; an empty bulge array is a straight polyline.
    e = A::GetBulgePolyExtent(square, Doubles{1}, true, 0.0);
    EXPECT_NEAR(e.minPoint().y, -1, 1e-12);
    EXPECT_NEAR(e.minPoint().x, 0, 1e-12);
    e = A::GetBulgePolyExtent(square, Doubles(), true, 0.0);
    EXPECT_NEAR(e.minPoint().y, 0, 1e-12);
    EXPECT_NEAR(e.maxPoint().x, 2, 1e-12);
    // Fewer than two nodes: empty extents, minimum above maximum.
    e = A::GetBulgePolyExtent(Pts{Pt(1, 1)}, Doubles{1}, true, 0.0);
    EXPECT_GT(e.minPoint().x, e.maxPoint().x);
    e = A::GetBulgePolyExtent(Pts(), Doubles(), false, 0.0);
    EXPECT_GT(e.minPoint().x, e.maxPoint().x);
}

TEST(ArcIntersectDegenerate, NoCrashAndNoHitOnDegenerateInput) {
    Pts pts;
    Doubles params;
    const double w = 1e-6;
    // A zero-chord arc, a zero bulge given as an arc, NaN and infinite points.
    EXPECT_EQ(
        A::ArcArcInter(Pt(1, 0), Pt(1, 0), 1, Pt(1, 0), Pt(-1, 0), 1, -w, w, -w, w, pts, params),
        0);
    EXPECT_EQ(
        A::ArcArcInter(Pt(1, 0), Pt(-1, 0), 0, Pt(0, -1), Pt(0, 1), 1, -w, w, -w, w, pts, params),
        0);
    EXPECT_EQ(A::ArcArcInter(Pt(kNaN, 0), Pt(-1, 0), 1, Pt(0, -1), Pt(0, 1), 1, -w, w, -w, w, pts,
                             params),
              0);
    EXPECT_EQ(A::ArcArcInter(Pt(1, 0), Pt(-1, 0), kNaN, Pt(0, -1), Pt(0, 1), 1, -w, w, -w, w, pts,
                             params),
              0);
    EXPECT_EQ(A::ArcLineSegInter(Pt(1, 0), Pt(-1, 0), 1, Pt(0, 0.5), Pt(0, 0.5), -w, w, -w, w, pts,
                                 params),
              0);
    EXPECT_EQ(A::ArcLineSegInter(Pt(1, 0), Pt(-1, 0), 1, Pt(kInf, 0), Pt(0, 2), -w, w, -w, w, pts,
                                 params),
              0);
    EXPECT_EQ(
        A::LineSegArcInter(Pt(0, -2), Pt(0, 2), Pt(1, 0), Pt(1, 0), 1, -w, 16, -w, w, pts, params),
        0);
    EXPECT_EQ(A::LineSegArcInter(Pt(0, -2), Pt(0, 2), Pt(1, 0), Pt(-1, 0), kInf, -w, 16, -w, w, pts,
                                 params),
              0);
    EXPECT_EQ(pts.length(), 0);
    // Empty, single-node and NaN polylines; bulge arrays shorter or longer than the nodes.
    Doubles none, many{1, 1, 1, 1, 1, 1};
    EXPECT_EQ(A::ArcMultiInter(Pt(0, 0), Pt(1, 1), Pts(), none, -w, 2, pts, params), 0);
    EXPECT_EQ(A::ArcMultiInter(Pt(0, 0), Pt(1, 1), 1, Pts{Pt(0, 0)}, many, -w, w, pts, params), 0);
    EXPECT_EQ(A::ArcMultiInter(Pt(0, 0), Pt(1, 1), Pts{Pt(kNaN, 0), Pt(1, kNaN)}, many, -w, 2, pts,
                               params),
              0);
    EXPECT_EQ(A::polylineArcInter(Pts(), none, Pts{Pt(0, 0), Pt(1, 1)}, none, pts, params), 0);
    EXPECT_EQ(A::polylineArcInter(Pts{Pt(0, 0), Pt(0, 0)}, many, Pts{Pt(0, 0), Pt(1, 1)}, none, pts,
                                  params),
              0);
    // Missing bulges are straight: the diagonals cross at (1, 1). With bulge 1 on B, B is the
    // half circle about (1, 1) through its lower left, met by A's diagonal at A's start.
    EXPECT_EQ(A::polylineArcInter(Pts{Pt(0, 0), Pt(2, 2)}, none, Pts{Pt(0, 2), Pt(2, 0)}, none, pts,
                                  params),
              1);
    expectPt(pts[0], 1, 1);
    EXPECT_EQ(A::polylineArcInter(Pts{Pt(0, 0), Pt(2, 2)}, none, Pts{Pt(0, 2), Pt(2, 0)}, many, pts,
                                  params),
              1);
    expectPt(pts[0], 0, 0, 1e-12);
    EXPECT_EQ(params[0], 0.0);
}
