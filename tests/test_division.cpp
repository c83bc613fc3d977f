// The division engine: two-point pieces and their order, cutting polylines at their
// intersections, shared pieces merged or removed, the meter, and chains joined end to end.

#include "TestSupport.h"

#include <random>

namespace {
using Line = CTavroLine2P;
using Ids = std::set<std::uint64_t>;

// Sets the comparison switch for one scope and puts back what was there.
struct Direct {
    explicit Direct(bool on) : was(Line::m_bCompareWithDirect) { Line::m_bCompareWithDirect = on; }
    ~Direct() { Line::m_bCompareWithDirect = was; }
    bool was;
};

CTavroAutoDiv twoSquares() {
    CTavroAutoDiv div;
    div.AddNodeArr(closedSquare(0, 0), true, 1);
    div.AddNodeArr(closedSquare(1, 0), true, 2);
    return div;
}
} // namespace

TEST(TwoPointLine, OrderWithTolerancesAndDirection) {
    // Points within kNodeCoordinateTol in x and in y are one; x decides before y.
    const double node = Tavro::kNodeCoordinateTol;
    EXPECT_ACROSS_TOL(node, Line::CompareNode(P(0, 0), P(d, -d)), 0, -1);
    EXPECT_ACROSS_TOL(node, Line::CompareNode(P(0, d), P(0, 0)), 0, 1);
    EXPECT_EQ(Line::CompareNode(P(0, 1), P(2 * node, 0)), -1);
    const Line down(P(1, 1), P(0, 0), 0.5), up(P(0, 0), P(1, 1), -0.5);
    {
        const Direct off(false);
        EXPECT_TRUE(down == up);
        EXPECT_FALSE(down < up || up < down);
    }
    {
        const Direct on(true);
        EXPECT_FALSE(down == up);
        EXPECT_TRUE(up < down); // the reversed line starts at the greater point
    }
    // Bulges equal within kSameBulgeTol; owners take no part.
    Line a(P(0, 0), P(1, 0), 0.3);
    a.m_owners = {1, 2};
    EXPECT_ACROSS_TOL(Tavro::kSameBulgeTol, a == Line(P(0, 0), P(1, 0), 0.3 + d), true, false);
    EXPECT_ACROSS_TOL(Tavro::kSameBulgeTol, a < Line(P(0, 0), P(1, 0), 0.3 + d), false, true);
    EXPECT_FALSE(Line(P(0, 0), P(1, 0), 0.3000002) < a);
    // A default piece is straight.
    EXPECT_EQ(Line().m_bulge, 0.0);
    EXPECT_TRUE(Line().m_owners.empty());
}

TEST(DivisionEngine, SharedSidesMergedRemovedOrKeptByDirection) {
    // Two unit squares sharing the side x = 1: seven pieces, the shared one with both owners.
    CTavroAutoDiv div = twoSquares();
    div.RunDiv(false);
    div.ShowMePolyline();
    ASSERT_EQ(div.m_outPolylines.size(), 7);
    ASSERT_EQ(div.m_outBulges.size(), 7);
    ASSERT_EQ(div.m_outOwners.size(), 7u);
    int shared = 0;
    for (size_t k = 0; k < div.m_outOwners.size(); ++k) {
        const AcArray<AcGePoint2d>& piece = div.m_outPolylines[static_cast<int>(k)];
        const bool onSide = piece[0].x == 1 && piece[1].x == 1;
        EXPECT_EQ(div.m_outOwners[k],
                  onSide ? Ids({1, 2}) : Ids({piece[0].x + piece[1].x < 2 ? 1u : 2u}));
        shared += onSide;
    }
    EXPECT_EQ(shared, 1);
    EXPECT_FALSE(div.m_bSharedRemoved);
    EXPECT_FALSE(Line::m_bCompareWithDirect); // the run leaves the switch as it set it

    // Removal mode: the shared side goes.
    CTavroAutoDiv removing = twoSquares();
    removing.m_bRemoveShared = true;
    removing.RunDiv(false);
    removing.ShowMePolyline();
    EXPECT_EQ(removing.m_outPolylines.size(), 6);
    EXPECT_TRUE(removing.m_bSharedRemoved);

    // With direction counting, the side run both ways is two pieces.
    CTavroAutoDiv directed = twoSquares();
    directed.RunDiv(true);
    directed.ShowMePolyline();
    EXPECT_EQ(directed.m_outPolylines.size(), 8);
    Line::m_bCompareWithDirect = true;

    // A copy carries inputs, pieces and outputs.
    const CTavroAutoDiv copy(div);
    EXPECT_EQ(copy.m_polylines.size(), 2);
    EXPECT_EQ(copy.m_pieces.size(), 7u);
    EXPECT_EQ(copy.m_outOwners, div.m_outOwners);
}

TEST(DivisionEngine, CuttersArcsAndNearbyCutPoints) {
    // A vertical cutter through the middle of a horizontal line: two pieces, none of its own.
    CTavroAutoDiv div;
    div.AddNodeArr(Pts{P(0, 0), P(4, 0)}, Pts{P(1, -1), P(1, 1)}, 7);
    div.RunDiv(false);
    div.ShowMePolyline();
    ASSERT_EQ(div.m_outPolylines.size(), 2);
    expectNear(div.m_outPolylines[0][1], 1, 0);
    EXPECT_EQ(div.m_outOwners[0], Ids({7}));

    // A half circle (bulge 1) from (1,0) to (-1,0) through (0,1), cut by the y axis at its
    // middle: two quarter arcs of bulge tan(pi/8).
    CTavroAutoDiv arc;
    Pts half{P(1, 0), P(-1, 0)};
    Doubles halfBulges{1, 0};
    Pts axis{P(0, -2), P(0, 2)};
    Doubles axisBulges{0, 0};
    arc.AddNodeArr(half, halfBulges, axis, axisBulges);
    arc.RunDiv(false);
    arc.ShowMePolyline();
    ASSERT_EQ(arc.m_outPolylines.size(), 2);
    for (int k = 0; k < 2; ++k)
        EXPECT_NEAR(std::fabs(arc.m_outBulges[k][0]), std::tan(Tavro::kPi / 8), 1e-12);
    EXPECT_EQ(arc.m_outOwners[0], Ids({0}));

    // Two cutters 5e-8 apart along the line meet it within 1e-7 in parameter and 1e-6 in
    // position: one cut. 1e-6 apart they make a piece between them.
    for (const double gap : {5e-8, 1e-6}) {
        CTavroAutoDiv near;
        near.AddNodeArr(Pts{P(0, 0), P(1, 0)}, true, 1);
        near.AddNodeArr(Pts{P(0.5, -1), P(0.5, 1)}, false, 2);
        near.AddNodeArr(Pts{P(0.5 + gap, -1), P(0.5 + gap, 1)}, false, 3);
        near.RunDiv(false);
        EXPECT_EQ(near.m_pieces.size(), gap < 1e-7 ? 2u : 3u) << gap;
    }
}

TEST(DivisionEngine, MeterAboveFourHundredPolylines) {
    for (const int n : {400, 401}) {
        const ProgressRecorder meter;
        CTavroAutoDiv div;
        for (int i = 0; i < n; ++i)
            div.AddNodeArr(Pts{P(2.0 * i, 0), P(2.0 * i + 1, 0)}, true, static_cast<unsigned>(i));
        div.RunDiv(false);
        EXPECT_EQ(div.m_pieces.size(), static_cast<size_t>(n));
        EXPECT_EQ(meter.count("start"), n == 401 ? 1 : 0);
        EXPECT_EQ(meter.count("end"), n == 401 ? 1 : 0);
        // Steps of one hundredth: i >= k * 4.01 for k = 0 ... 99.
        EXPECT_EQ(meter.count("pos"), n == 401 ? 100 : 0);
        if (n == 401) {
            EXPECT_TRUE(meter.calls.first().startsWith(u8("start 正在切割... ")));
        }
    }
}

// The cut written plainly: every pair of polylines, as a second route to the pieces that the
// indexed engine finds.
std::vector<std::tuple<double, double, double, double, double>>
plainPieces(const QVector<Pts>& lines, const QVector<Doubles>& bulges) {
    std::set<Line> pieces;
    Line::m_bCompareWithDirect = false;
    for (int i = 0; i < lines.size(); ++i) {
        const AcDbExtents bi = CTavroGeoArc::GetBulgePolyExtent(lines[i], bulges[i], false, 0);
        Pts pts;
        Doubles params;
        for (int j = 0; j < lines.size(); ++j) {
            const AcDbExtents bj = CTavroGeoArc::GetBulgePolyExtent(lines[j], bulges[j], false, 0);
            if (!CTavroGeoLine::geoIsIntersection(
                    bi.minPoint().convert2d(), bi.maxPoint().convert2d(), bj.minPoint().convert2d(),
                    bj.maxPoint().convert2d()))
                continue;
            Pts hits;
            Doubles along;
            Doubles a = bulges[i], b = bulges[j];
            CTavroGeoArc::polylineArcInter(lines[i], a, lines[j], b, hits, along);
            pts.append(hits);
            params.append(along);
        }
        CTavroGeoGlobal::QuickSort(params, pts, 0, params.length() - 1);
        for (int k = params.length() - 2; k >= 0; --k)
            if (std::fabs(params[k] - params[k + 1]) < 1e-7 &&
                pts[k].distanceTo(pts[k + 1]) < 1e-6) {
                pts.removeAt(k + 1);
                params.removeAt(k + 1);
            }
        for (int k = 0; k + 1 < params.length(); ++k) {
            const double bulge = bulges[i][static_cast<int>(params[k] + 1e-12)];
            const double part = std::fabs(bulge) < 1e-6
                                    ? 0.0
                                    : std::tan(std::atan(bulge) * (params[k + 1] - params[k]));
            pieces.insert(Line(pts[k], pts[k + 1], part));
        }
    }
    std::vector<std::tuple<double, double, double, double, double>> out;
    for (const Line& l : pieces)
        out.emplace_back(l.m_start.x, l.m_start.y, l.m_end.x, l.m_end.y, l.m_bulge);
    return out;
}

TEST(DivisionEngine, IndexedCutMatchesEveryPair) {
    // Random polylines of 4 segments with arcs at Gauss-plane size, many crossing.
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int round = 0; round < 4; ++round) {
        QVector<Pts> lines;
        QVector<Doubles> bulges;
        CTavroAutoDiv div;
        for (int i = 0; i < 60; ++i) {
            Pts line;
            Doubles b;
            AcGePoint2d p = P(500000 + 200 * unit(rng), 3500000 + 200 * unit(rng));
            for (int k = 0; k < 5; ++k) {
                line.append(p);
                b.append(k < 4 && unit(rng) < 0.3 ? unit(rng) - 0.5 : 0.0);
                p = P(p.x + 40 * (unit(rng) - 0.5), p.y + 40 * (unit(rng) - 0.5));
            }
            lines.append(line);
            bulges.append(b);
            div.AddNodeArr(line, b, true, static_cast<unsigned>(i));
        }
        const auto want = plainPieces(lines, bulges);
        div.RunDiv(false);
        std::vector<std::tuple<double, double, double, double, double>> got;
        for (const Line& l : div.m_pieces)
            got.emplace_back(l.m_start.x, l.m_start.y, l.m_end.x, l.m_end.y, l.m_bulge);
        EXPECT_GT(got.size(), 300u);
        EXPECT_EQ(got, want);
    }
    Line::m_bCompareWithDirect = true;
}

TEST(DivisionEngine, ChainsJoinWhereTwoEndsMeet) {
    // A chain a-b-c-d given out of order and partly reversed: one polyline. A spur at c makes
    // three ends meet there, so nothing joins through c.
    QVector<Pts> chain{Pts{P(1, 0), P(2, 0)}, Pts{P(1, 0), P(0, 0)}, Pts{P(3, 0), P(2, 0)}};
    QVector<Pts> out;
    CTavroAutoDiv::ConnectNodes(chain, out);
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0].length(), 4);
    QVector<Pts> star = chain;
    star.append(Pts{P(2, 0), P(2, 5)});
    out.clear();
    CTavroAutoDiv::ConnectNodes(star, out);
    EXPECT_EQ(out.size(), 3); // 0-1-2, 2-3 and the spur
    // With bulges every touching end joins, and bulges turn with their pieces.
    QVector<Doubles> bulges{Doubles{0.5, 0}, Doubles{0.25, 0}, Doubles{-0.1, 0}};
    QVector<Doubles> outBulges;
    out.clear();
    CTavroAutoDiv::ConnectNodes(chain, bulges, out, outBulges);
    ASSERT_EQ(out.size(), 1);
    ASSERT_EQ(outBulges[0].length(), 4);
    // Reading along the joined chain, each piece's bulge keeps its sense of travel.
    const Pts& joined = out[0];
    for (int k = 0; k < 3; ++k) {
        const double x0 = joined[k].x, x1 = joined[k + 1].x;
        const double want = std::min(x0, x1) == 0 ? -0.25 : std::min(x0, x1) == 1 ? 0.5 : 0.1;
        EXPECT_DOUBLE_EQ(outBulges[0][k], x1 > x0 ? want : -want) << k;
    }
}
