// Loops from pieces and regions from parcel linework.

#include "arrays.h"
#include "bindings.h"

#include "CTavroAutoDiv.h"
#include "CTavroAutoLoop.h"
#include "CTavroGeoBoder.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <set>

namespace tavropy {

namespace {

// The loop walks, the division engine and the border extraction keep process-wide state (the
// pieces' comparison switch, the walks' arc sample point), so only one such call runs at a time
// even with the GIL released.
std::mutex engineMutex;

// A region side lies along an input piece when the side's midpoint lies on the piece within
// this; border extraction moves vertices by up to its arc recovery tolerance, 1 mm.
const double kAlongTol = 1e-3;

// A piece whose ends lie within this squared distance is closed, as the loop builder judges.
const double kClosedSqrDist = 1e-14;

// The pieces as the library's piece ids: position + 1, since id 0 marks a closed piece's halves.
std::uint64_t pieceId(size_t index) {
    return static_cast<std::uint64_t>(index) + 1;
}

// Adds every piece as a pair of edges. A closed piece is halved here, as the builder would halve
// it, so that both halves keep the piece's id.
void addPieces(CTavroAutoLoop& loop, const std::vector<Tavro::NodeBulge>& pieces) {
    for (size_t i = 0; i < pieces.size(); ++i) {
        AcArray<AcGePoint2d> points = pieces[i].nodes;
        AcArray<double> bulges = pieces[i].bulges;
        const bool closed =
            points.length() > 2 && loop.sqrDist(points.first(), points.last()) <= kClosedSqrDist;
        if (!closed) {
            loop.AddEdge(points, bulges, true, pieceId(i));
            continue;
        }
        AcArray<AcGePoint2d> first, second;
        AcArray<double> firstBulges, secondBulges;
        loop.DivideNodes(points, bulges, first, firstBulges, second, secondBulges);
        loop.AddEdge(first, firstBulges, true, pieceId(i));
        loop.AddEdge(second, secondBulges, true, pieceId(i));
    }
}

py::list loops(py::handle pieceObj, bool outer) {
    const std::vector<Tavro::NodeBulge> pieces = ringList(pieceObj, py::none(), "pieces");
    CTavroAutoLoop loop;
    {
        py::gil_scoped_release unlocked;
        std::lock_guard<std::mutex> lock(engineMutex);
        addPieces(loop, pieces);
        loop.GetBulgesDoubleLoops(outer ? 1 : 0);
    }
    const py::object Loop = recordType("Loop");
    py::list out;
    for (int k = 0; k < loop.m_loops.size(); ++k) {
        const AcArray<double> none;
        const AcArray<double>& b = k < loop.m_loopBulges.size() ? loop.m_loopBulges[k] : none;
        // Each piece once, though both halves of a closed piece carry its id.
        py::list ids;
        std::set<std::uint64_t> seen;
        if (size_t(k) < loop.m_loopIds.size())
            for (std::uint64_t id : loop.m_loopIds[size_t(k)])
                if (id > 0 && seen.insert(id).second) ids.append(id - 1);
        out.append(Loop(fromPoints(loop.m_loops[k]), fromBulges(b, loop.m_loops[k].length()), ids));
    }
    return out;
}

py::list divide(py::handle polylineObj) {
    const std::vector<Tavro::NodeBulge> polylines = ringList(polylineObj, py::none(), "polylines");
    CTavroAutoDiv div;
    {
        py::gil_scoped_release unlocked;
        std::lock_guard<std::mutex> lock(engineMutex);
        for (size_t i = 0; i < polylines.size(); ++i)
            div.AddNodeArr(polylines[i].nodes, polylines[i].bulges, true, pieceId(i));
        div.RunDiv(false);
        div.ShowMePolyline();
    }
    const py::object Piece = recordType("Piece");
    py::list out;
    for (int k = 0; k < div.m_outPolylines.size(); ++k) {
        const AcArray<AcGePoint2d>& ends = div.m_outPolylines[k];
        py::list owners;
        if (size_t(k) < div.m_outOwners.size())
            for (std::uint64_t id : div.m_outOwners[size_t(k)])
                owners.append(id - 1);
        const double bulge = div.m_outBulges[k].isEmpty() ? 0.0 : div.m_outBulges[k][0];
        out.append(Piece(fromPoints(ends), bulge == 0.0 ? 0.0 : bulge, owners));
    }
    return out;
}

struct Region {
    Tavro::NodeBulge ring;
    double area = 0.0;
    std::vector<int> pieces;
};

// The pieces filed by the cells of a uniform grid that their boxes (grown by the side
// tolerance) cover, so that a side's midpoint is tried only against the pieces near it.
class PieceGrid {
public:
    explicit PieceGrid(const std::vector<Tavro::NodeBulge>& pieces) {
        std::vector<AcDbExtents> boxes;
        AcDbExtents all;
        for (const Tavro::NodeBulge& p : pieces) {
            const AcDbExtents e = CTavroGeoLine::geoLineExtends(p.nodes, p.bulges);
            const AcGeVector3d grow(kAlongTol, kAlongTol, 0.0);
            boxes.emplace_back(e.minPoint() - grow, e.maxPoint() + grow);
            all.addExt(boxes.back());
        }
        if (boxes.empty()) return;
        m_low = all.minPoint().convert2d();
        const AcGeVector3d span = all.maxPoint() - all.minPoint();
        // About one cell per piece over the whole map, at most 4096 a side.
        m_cell = std::max(std::sqrt(span.x * span.y / double(boxes.size())),
                          std::max(span.x, span.y) / 4096.0);
        m_columns = column(all.maxPoint().x) + 1;
        m_cells.resize(size_t(m_columns) * size_t(row(all.maxPoint().y) + 1));
        for (size_t i = 0; i < boxes.size(); ++i)
            file(int(i), boxes[i]);
    }

    // Calls tryPiece with every piece whose box may hold p.
    template <typename Try> void near(const AcGePoint2d& p, Try tryPiece) const {
        for (int i : m_wide)
            tryPiece(i);
        const int c = column(p.x), r = row(p.y);
        const size_t k = size_t(r) * size_t(m_columns) + size_t(c);
        if (c < m_columns && k < m_cells.size())
            for (int i : m_cells[k])
                tryPiece(i);
    }

private:
    // A piece over more cells than this is tried for every point instead, which bounds the
    // grid's size by a multiple of the piece count.
    static const int kMostCells = 64;

    void file(int piece, const AcDbExtents& box) {
        const int c0 = column(box.minPoint().x), c1 = column(box.maxPoint().x);
        const int r0 = row(box.minPoint().y), r1 = row(box.maxPoint().y);
        if (double(c1 - c0 + 1) * double(r1 - r0 + 1) > kMostCells) {
            m_wide.push_back(piece);
            return;
        }
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                m_cells[size_t(r) * size_t(m_columns) + size_t(c)].push_back(piece);
    }
    int column(double x) const { return cellOf(x - m_low.x); }
    int row(double y) const { return cellOf(y - m_low.y); }
    int cellOf(double offset) const {
        return m_cell > 0.0 && offset >= 0.0 ? int(std::min(offset / m_cell, 4096.0)) : 0;
    }

    AcGePoint2d m_low;
    double m_cell = 0.0;
    int m_columns = 0;
    std::vector<std::vector<int>> m_cells;
    std::vector<int> m_wide;
};

// The pieces some side of the region runs along, ascending.
std::vector<int> piecesAlong(const Tavro::NodeBulge& ring,
                             const std::vector<Tavro::NodeBulge>& pieces, const PieceGrid& grid) {
    std::set<int> along;
    const int n = ring.nodes.length();
    for (int k = 0; k < n; ++k) {
        AcGePoint2d mid;
        if (!CTavroGeoPoint::GetPointAtParam(ring.nodes[k], ring.nodes[(k + 1) % n], ring.bulges[k],
                                             0.5, mid))
            continue;
        grid.near(mid, [&](int i) {
            const Tavro::NodeBulge& piece = pieces[size_t(i)];
            if (!along.count(i) &&
                CTavroGeoLine::geoPointAtParam(mid, piece.nodes, piece.bulges, kAlongTol) >= 0.0)
                along.insert(i);
        });
    }
    return std::vector<int>(along.begin(), along.end());
}

std::vector<Region> extractRegions(const std::vector<Tavro::NodeBulge>& pieces, double minArea,
                                   bool outer) {
    QVector<AcArray<AcGePoint2d>> points, outPoints;
    QVector<AcArray<double>> bulges, outBulges;
    for (const Tavro::NodeBulge& p : pieces) {
        points.append(p.nodes);
        bulges.append(p.bulges);
    }
    {
        std::lock_guard<std::mutex> lock(engineMutex);
        // Regions are kept by their exact area with arcs below, as tavro borders keeps them; the
        // library's own filter measures a broken line of 20 degree steps.
        CTavroGeoBoder::geoGetBoders(outPoints, outBulges, points, bulges, outer, 0.0);
    }
    const PieceGrid grid(pieces);
    std::vector<Region> regions;
    for (int k = 0; k < outPoints.size(); ++k) {
        Region r;
        r.ring.nodes = outPoints[k];
        if (k < outBulges.size()) r.ring.bulges = outBulges[k];
        while (r.ring.bulges.length() < r.ring.nodes.length())
            r.ring.bulges.append(0.0);
        r.area = std::fabs(CTavroGeoPoint::geoArea(r.ring.nodes, r.ring.bulges));
        if (!(r.area > minArea)) continue;
        r.pieces = piecesAlong(r.ring, pieces, grid);
        regions.push_back(std::move(r));
    }
    return regions;
}

py::list borders(py::handle pieceObj, double minArea, bool outer) {
    const std::vector<Tavro::NodeBulge> pieces = ringList(pieceObj, py::none(), "pieces");
    if (!(std::isfinite(minArea) && minArea >= 0.0))
        throw py::value_error("min_area must be a finite area of at least 0");
    for (size_t i = 0; i < pieces.size(); ++i)
        if (pieces[i].nodes.length() < 2)
            throw py::value_error("pieces[" + std::to_string(i) + "] needs at least 2 vertices");
    std::vector<Region> regions;
    {
        py::gil_scoped_release unlocked;
        regions = extractRegions(pieces, minArea, outer);
    }
    const py::object Region = recordType("Region");
    py::list out;
    for (const auto& r : regions) {
        py::list ids;
        for (int id : r.pieces)
            ids.append(id);
        out.append(Region(fromPoints(r.ring.nodes),
                          fromBulges(r.ring.bulges, r.ring.nodes.length()), r.area, ids));
    }
    return out;
}

} // namespace

void bindTopology(py::module_& m) {
    using namespace pybind11::literals;
    m.def("loops", &loops, "pieces"_a, "outer"_a = false,
          "The closed loops that a soup of pieces encloses: a list of Loop(vertices, bulges, "
          "pieces), pieces being the indices of the input pieces along the loop. pieces: a list "
          "of polylines, each an (n, 2) array or a (vertices, bulges) pair, which meet only at "
          "their end points (within 1e-5 in x and y); a closed piece is a ring of its own. "
          "Default: every bounded face, counterclockwise (negative area); outer=True: the outer "
          "boundary of each connected group, clockwise. Loops do not repeat their first vertex; "
          "the last bulge bends the closing side. Where pieces follow one another with no branch "
          "between, the run is named by one of its pieces.");
    m.def("divide", &divide, "polylines"_a,
          "Polylines cut at all their mutual crossings and touches into pieces, each kept once "
          "however often and whichever way it is drawn: a list of Piece(vertices, bulge, "
          "owners), vertices the (2, 2) array of the piece's ends, bulge that of the arc between "
          "them (0 straight), owners the indices of the polylines it came from. polylines: a "
          "list of open polylines, each an (n, 2) array or a (vertices, bulges) pair.");
    m.def("borders", &borders, "pieces"_a, "min_area"_a = 0.0, "outer"_a = false,
          "The closed regions that parcel linework encloses: a list of Region(vertices, bulges, "
          "area, pieces). pieces: a list of polylines (each an (n, 2) array or a (vertices, "
          "bulges) pair, at least 2 vertices), overlapping and crossing freely; shared edges "
          "count once however they are drawn. Each region is counterclockwise (with outer=True: "
          "the clockwise outer boundary of each connected part), without its first vertex "
          "repeated; area is its exact area with arcs in square metres (always positive), and "
          "regions of min_area or less are left out; pieces lists the indices of the input "
          "polylines some side of the region runs along (within 1 mm).");
}

} // namespace tavropy
