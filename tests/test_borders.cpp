// Border extraction: regions from parcel boundaries that share sides, overlap, carry arcs or are
// drawn as chords; the area filter; vertex snapping against a plain scan.

#include "TestSupport.h"

#include <random>

namespace {
using Line = CTavroLine2P;

struct Regions {
    QVector<Pts> pts;
    QVector<Doubles> bulges;
    // Summed area of the regions with their arcs, each taken positive.
    double area() const {
        double total = 0;
        for (int k = 0; k < pts.size(); ++k)
            total += std::fabs(CTavroGeoPoint::geoArea(pts[k], bulges[k]));
        return total;
    }
};

Regions borders(const QVector<Pts>& pts, const QVector<Doubles>& bulges, bool outer = false,
                double minArea = 0) {
    Regions r;
    CTavroGeoBoder::geoGetBoders(r.pts, r.bulges, pts, bulges, outer, minArea);
    return r;
}
} // namespace

TEST(BorderExtraction, SharedSidesOverlapsAndTheAreaFilter) {
    const QVector<Pts> two{closedSquare(0, 0), closedSquare(1, 0)};
    const QVector<Doubles> none{Doubles(), Doubles()};
    Regions r = borders(two, none);
    ASSERT_EQ(r.pts.size(), 2);
    EXPECT_NEAR(r.area(), 2.0, 1e-12);
    EXPECT_FALSE(CTavroLine2P::m_bCompareWithDirect);
    EXPECT_EQ(borders(two, none, false, 1.5).pts.size(), 0);
    // The outer boundary of both, clockwise.
    r = borders(two, none, true);
    ASSERT_EQ(r.pts.size(), 1);
    EXPECT_NEAR(r.area(), 2.0, 1e-12);
    EXPECT_GT(CTavroGeoPoint::geoArea(r.pts[0], r.bulges[0]), 0); // positive when clockwise
    // Drawn twice, the second time reversed and a hair off: the same two regions.
    Pts again = closedSquare(1, 0);
    again.reverse();
    for (AcGePoint2d& p : again)
        p.x += 4e-7;
    r = borders({two[0], two[1], again}, {Doubles(), Doubles(), Doubles()});
    EXPECT_EQ(r.pts.size(), 2);
    EXPECT_NEAR(r.area(), 2.0, 1e-12);
    // A square [0.5, 1.5]^2 across both: two L-shaped rests, two overlaps split by the shared
    // side, and the part above them; 2.5 in all.
    r = borders({two[0], two[1], closedSquare(0.5, 0.5)}, {Doubles(), Doubles(), Doubles()});
    EXPECT_EQ(r.pts.size(), 5);
    EXPECT_NEAR(r.area(), 2.5, 1e-12);
    EXPECT_EQ(borders({}, {}).pts.size(), 0);
}

TEST(BorderExtraction, ArcsLensesAndChordDrawnArcs) {
    // A lens: two vertices joined by two arcs of bulge 0.5 (radius 1.25, each segment
    // r^2 (theta - sin theta) / 2 = 0.6988988). Measured by its 20 degree broken line it
    // loses a little, but is kept.
    const Regions lens = borders({Pts{P(0, 0), P(2, 0), P(0, 0)}}, {Doubles{0.5, 0.5, 0}});
    ASSERT_EQ(lens.pts.size(), 1);
    EXPECT_NEAR(lens.area(), 2 * 0.6988988, 1e-6);
    EXPECT_EQ(
        borders({Pts{P(0, 0), P(2, 0), P(0, 0)}}, {Doubles{0.5, 0.5, 0}}, false, 1.4).pts.size(),
        0);

    // A 3 x 3 grid of 10 m parcels at Gauss-plane size; the side between the first two bows
    // into the second as an arc, drawn by both parcels (the second reversed, bulge negated).
    const double x0 = 500000, y0 = 3500000;
    QVector<Pts> grid;
    QVector<Doubles> gridBulges;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            grid.append(closedSquare(x0 + 10 * col, y0 + 10 * row, 10));
            gridBulges.append(Doubles{0, 0, 0, 0, 0});
        }
    }
    gridBulges[0][1] = 0.2;  // east side of parcel 0, northwards
    gridBulges[1][3] = -0.2; // west side of parcel 1, southwards: the same arc
    const Regions cells = borders(grid, gridBulges);
    ASSERT_EQ(cells.pts.size(), 9);
    EXPECT_NEAR(cells.area(), 900, 1e-6);
    int withArc = 0;
    for (const Doubles& b : cells.bulges)
        for (double v : b)
            withArc += std::fabs(std::fabs(v) - 0.2) < 1e-9;
    EXPECT_EQ(withArc, 2);

    // A circle of radius 3 drawn as 48 chords (0.39 m each), one of them with a slight bulge so
    // recovery is tried: the region comes back with arcs and about the circle's area.
    Pts circle;
    Doubles circleBulges;
    for (int k = 0; k <= 48; ++k) {
        circle.append(P(x0 + 3 * std::cos(Tavro::kTwoPi * k / 48),
                        y0 + 3 * std::sin(Tavro::kTwoPi * k / 48)));
        circleBulges.append(k == 5 ? 1e-5 : 0.0);
    }
    const Regions round = borders({circle}, {circleBulges});
    ASSERT_EQ(round.pts.size(), 1);
    double largest = 0;
    for (double v : round.bulges[0])
        largest = std::max(largest, std::fabs(v));
    EXPECT_GT(largest, 0.05);
    EXPECT_NEAR(round.area(), Tavro::kPi * 9, 0.05);
}

TEST(BorderExtraction, SnappingMatchesAPlainScan) {
    // Vertices in clusters a few 1e-7 apart, at Gauss-plane size and beyond the grid, with
    // NaN and infinite ones: each snaps to the newest earlier vertex within 1e-6, as a scan
    // of the pool from its newest vertex finds it.
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    QVector<Pts> lines;
    for (int i = 0; i < 40; ++i) {
        Pts line;
        for (int k = 0; k < 25; ++k) {
            const double base = i % 7 == 0 ? 3e12 : 500000;
            AcGePoint2d p =
                P(base + static_cast<int>(unit(rng) * 6) * 1e-6 + 1.5e-6 * unit(rng),
                  3500000 + static_cast<int>(unit(rng) * 3) * 1e-6 + 1.5e-6 * unit(rng));
            if (k == 7) p.x = kNaN;
            if (k == 9) p.y = kInf;
            line.append(p);
        }
        lines.append(line);
    }
    QVector<Pts> plain = lines;
    Pts pool; // newest first
    for (Pts& line : plain) {
        for (AcGePoint2d& p : line) {
            int index = -1;
            if (CTavroGeoLine::geoFindPtInNode(pool, p, index))
                p = pool[index];
            else
                pool.insertAt(0, p);
        }
    }
    CTavroGeoInternal::snapVertices(lines);
    int snapped = 0;
    for (int i = 0; i < lines.size(); ++i) {
        for (int k = 0; k < lines[i].length(); ++k) {
            const AcGePoint2d a = lines[i][k], b = plain[i][k];
            ASSERT_TRUE((a.x == b.x || (std::isnan(a.x) && std::isnan(b.x))) && a.y == b.y)
                << i << " " << k;
            snapped += !(a.x == b.x && a.y == b.y) ? 0 : 1;
        }
    }
    EXPECT_EQ(snapped, 40 * 25 - 40); // all but the NaN ones compare equal
}

TEST(BorderExtraction, CommonRegionsOfOverlappingLoops) {
    // Squares [0,2]^2 and [1,3]^2: the overlap [1,2]^2 lies in both, the two L-shaped rests
    // in one each.
    const QVector<Pts> loops{closedSquare(0, 0, 2), closedSquare(1, 1, 2)};
    QVector<Pts> both, one, three;
    EXPECT_TRUE(CTavroGeoLine::getLoopsIntersection(loops, both, 2));
    ASSERT_EQ(both.size(), 1);
    EXPECT_NEAR(CTavroGeoPoint::geoArea(both[0], Doubles()), -1, 1e-12); // counterclockwise
    EXPECT_TRUE(CTavroGeoLine::getLoopsIntersection(loops, one, 1));
    ASSERT_EQ(one.size(), 2);
    EXPECT_NEAR(std::fabs(CTavroGeoPoint::geoArea(one[0], Doubles())) +
                    std::fabs(CTavroGeoPoint::geoArea(one[1], Doubles())),
                6, 1e-12);
    EXPECT_FALSE(CTavroGeoLine::getLoopsIntersection(loops, three, 3));
}

TEST(BorderExtraction, HostileInputNeverBreaksTheEngines) {
    // Empty, single-vertex, zero-length, NaN, infinite and huge polylines, bulge arrays that are
    // too short, too long or absurd: the division engine and border extraction finish, and the
    // one sound square among them still comes out as a region.
    const QVector<Pts> lines{Pts(),
                             Pts{P(1, 1)},
                             Pts{P(2, 2), P(2, 2), P(2, 2)},
                             Pts{P(kNaN, 0), P(1, kNaN), P(3, 3)},
                             Pts{P(kInf, 0), P(0, -kInf), P(5, 5)},
                             Pts{P(1e300, 1e300), P(-1e300, 1e300), P(0, -1e300)},
                             closedSquare(10, 10),
                             Pts{P(20, 20), P(21, 20), P(21, 21)}};
    const QVector<Doubles> bulges{Doubles{1},
                                  Doubles(),
                                  Doubles{1e300, -1e300, kNaN},
                                  Doubles{0.5},
                                  Doubles{kInf, 0, 0, 0, 0, 0},
                                  Doubles{1e7, 0, 0},
                                  Doubles{0, 0},
                                  Doubles{2, kNaN, 1e-300}};
    Regions r = borders(lines, bulges);
    bool square = false;
    for (int k = 0; k < r.pts.size(); ++k)
        square |= r.pts[k].length() == 4 &&
                  std::fabs(std::fabs(CTavroGeoPoint::geoArea(r.pts[k], r.bulges[k])) - 1) < 1e-12;
    EXPECT_TRUE(square);
    borders(lines, bulges, true, kNaN);
    CTavroAutoDiv div;
    for (int k = 0; k < lines.size(); ++k) {
        AcArray<double> b = bulges[k];
        div.AddNodeArr(lines[k], b, true, static_cast<unsigned>(k));
        div.AddNodeArr(lines[k], k % 2 == 0, static_cast<unsigned>(k));
    }
    div.m_bRemoveShared = true;
    div.RunDiv(false);
    div.GetInterPt();
    div.ShowMePolyline();
    EXPECT_EQ(div.m_outPolylines.size(), static_cast<int>(div.m_outOwners.size()));
    QVector<Pts> chains;
    QVector<Doubles> chainBulges;
    QVector<Pts> in = lines;
    QVector<Doubles> inBulges = bulges;
    CTavroAutoDiv::ConnectNodes(in, chains);
    CTavroAutoDiv::ConnectNodes(in, inBulges, chains, chainBulges);
    Doubles keys{3, kNaN, 1};
    Pts points{P(0, 0)};
    int low = 0;
    div.Parttion(keys, points, low, 2); // arrays of different lengths: nothing happens
    EXPECT_EQ(low, 0);
    Line::m_bCompareWithDirect = true;
}
