#include "AcDbCurves.h"

#include "TavroKernel.h"
#include "TavroTolerance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool finite(const AcGePoint2d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

double arcFraction(const AcDbCurvePiece& arc, double a) {
    return TavroKernel::sweepFraction(arc.startAngle, arc.sweep, a);
}

bool withinPiece(const AcDbCurvePiece& piece, double t) {
    if (!(t >= -Tavro::kPieceParamSlack)) return false;
    return piece.unbounded || t <= 1.0 + Tavro::kPieceParamSlack;
}

void addHit(const AcDbCurvePiece& a, const AcDbCurvePiece& b, const AcGePoint2d& p,
            std::vector<AcGePoint2d>& hits) {
    if (!finite(p)) return;
    if (a.isArc && !withinPiece(a, arcFraction(a, (p - a.center).angle()))) return;
    if (b.isArc && !withinPiece(b, arcFraction(b, (p - b.center).angle()))) return;
    hits.push_back(p);
}

void lineLine(const AcDbCurvePiece& p, const AcDbCurvePiece& q, std::vector<AcGePoint2d>& hits) {
    const AcGeVector2d r = p.end - p.start;
    const AcGeVector2d s = q.end - q.start;
    const TavroKernel::LineCross cross = TavroKernel::lineCross(p.start, r, q.start, s);
    const AcGeVector2d e = q.start - p.start;
    const double scale = r.length() * s.length();
    if (std::fabs(cross.denom) > Tavro::kParallelSine * scale) {
        if (withinPiece(p, cross.t) && withinPiece(q, cross.u))
            hits.push_back(p.start + r * cross.t);
        return;
    }
    // Parallel: collinear pieces share the ends of their common part.
    if (std::fabs(e.crossProduct(r)) >
        Tavro::kParallelSine * r.length() * e.length() + Tavro::kTinySquare)
        return;
    for (const AcGePoint2d& end : {q.start, q.end}) {
        if (q.unbounded && end.isEqualTo(q.end)) continue;
        if (withinPiece(p, p.closestParam(end)) && p.pointAt(p.closestParam(end)).isEqualTo(end))
            hits.push_back(end);
    }
    for (const AcGePoint2d& end : {p.start, p.end}) {
        if (p.unbounded && end.isEqualTo(p.end)) continue;
        if (withinPiece(q, q.closestParam(end)) && q.pointAt(q.closestParam(end)).isEqualTo(end))
            hits.push_back(end);
    }
}

// A tangent computes a discriminant just below zero; within a tiny fraction of the scale it
// counts as a touch.
int touchingRoots(const TavroKernel::Quadratic& q, double scale, double t[2]) {
    double disc = q.b * q.b - q.a * q.c;
    if (disc < 0.0 && disc > -Tavro::kTangentDiscriminant * scale) disc = 0.0;
    return TavroKernel::quadraticRoots(q, disc, t);
}

TavroKernel::ChordFrame frameOf(const AcDbCurvePiece& arc) {
    return TavroKernel::chordFrame(arc.start, arc.end, arc.center);
}

void lineArc(const AcDbCurvePiece& line, const AcDbCurvePiece& arc,
             std::vector<AcGePoint2d>& hits) {
    const TavroKernel::Quadratic q =
        TavroKernel::lineOnChordCircle(frameOf(arc), line.start, line.end - line.start);
    double t[2];
    const int n = touchingRoots(q, q.b * q.b, t);
    for (int i = 0; i < n; ++i)
        if (withinPiece(line, t[i])) addHit(line, arc, line.pointAt(t[i]), hits);
}

// The two circles meet on their common chord, the line X . n = k written in the frame of the
// arc of smaller radius, where n joins the centres; everything is taken from the arcs' middles
// and offsets, so that flat arcs, whose radii are huge, are not squared. The chord is met with
// the smaller circle: it crosses that one steeply, while it may run almost along a flat arc.
void arcArc(const AcDbCurvePiece& a, const AcDbCurvePiece& b, std::vector<AcGePoint2d>& hits) {
    const bool swapped = b.radius < a.radius;
    const TavroKernel::ChordFrame fa = frameOf(swapped ? b : a), fb = frameOf(swapped ? a : b);
    const AcGeVector2d mid = fa.toFrame(fb.mid - fa.mid);
    const AcGeVector2d vb = fa.toFrame(fb.v);
    const AcGeVector2d n = mid + vb * fb.yc - AcGeVector2d(0.0, fa.yc);
    const double length = n.length();
    if (!(length > 0.0)) return; // concentric circles meet everywhere or nowhere
    const double k =
        (mid.dotProduct(mid + vb * (2.0 * fb.yc)) + (fa.h - fb.h) * (fa.h + fb.h)) / 2.0;
    const AcGeVector2d unit = n / length;
    const AcGePoint2d foot = fa.toWorld(AcGePoint2d(unit.x * k / length, unit.y * k / length));
    const AcGeVector2d along = fa.u * -unit.y + fa.v * unit.x;
    const TavroKernel::Quadratic q = TavroKernel::lineOnChordCircle(fa, foot, along);
    double t[2];
    const int count = touchingRoots(q, fa.h * fa.h + fa.yc * fa.yc, t);
    // The hit to the left of the line from a's centre to b's first.
    for (int i = 0; i < count; ++i)
        addHit(a, b, foot + along * t[swapped ? i : count - 1 - i], hits);
}

void intersectPieces(const AcDbCurvePiece& a, const AcDbCurvePiece& b,
                     std::vector<AcGePoint2d>& hits) {
    if (!a.isArc && !b.isArc)
        lineLine(a, b, hits);
    else if (!a.isArc)
        lineArc(a, b, hits);
    else if (!b.isArc)
        lineArc(b, a, hits);
    else
        arcArc(a, b, hits);
}

// Pieces meeting at a shared vertex report the vertex twice; keep one.
void appendUnique(const std::vector<AcGePoint2d>& hits, AcArray<AcGePoint3d>& points) {
    std::vector<AcGePoint2d> kept;
    for (const AcGePoint2d& p : hits) {
        const bool seen = std::any_of(kept.begin(), kept.end(), [&](const AcGePoint2d& q) {
            return p.distanceTo(q) <= Tavro::kOnCurveTol;
        });
        if (!seen) kept.push_back(p);
    }
    for (const AcGePoint2d& p : kept)
        points.append(AcGePoint3d(p.x, p.y, 0.0));
}

// Grows the box by the margin and by the rounding of numbers of the given size.
AcDbPieceBounds padded(AcDbPieceBounds box, double margin, double size) {
    const double pad = margin + Tavro::kBoxRounding * size + Tavro::kTinyPad;
    box.minX -= pad;
    box.minY -= pad;
    box.maxX += pad;
    box.maxY += pad;
    return box;
}

AcDbPieceBounds boxOf(const AcGePoint2d& a, const AcGePoint2d& b) {
    AcDbPieceBounds box;
    box.minX = std::min(a.x, b.x);
    box.minY = std::min(a.y, b.y);
    box.maxX = std::max(a.x, b.x);
    box.maxY = std::max(a.y, b.y);
    box.bounded = finite(a) && finite(b);
    return box;
}

// The box of the piece from a to b with the bulge, from the chord alone: a minor arc stays
// within its sagitta |bulge| L / 2 of the chord; a major arc within its radius
// L (1 + b^2) / (4 |b|) of its centre, which lies L |1/b - b| / 4 from the chord's middle.
// Every box is padded for the rounding of the numbers that build the piece's points.
inline AcDbPieceBounds bulgeBounds(const AcGePoint2d& a, const AcGePoint2d& b, double bulge) {
    AcDbPieceBounds box;
    box.minX = std::min(a.x, b.x);
    box.minY = std::min(a.y, b.y);
    box.maxX = std::max(a.x, b.x);
    box.maxY = std::max(a.y, b.y);
    // x - x is 0 for every finite x and NaN otherwise.
    box.bounded = std::isfinite((a.x - a.x) + (a.y - a.y) + (b.x - b.x) + (b.y - b.y));
    double size = std::max(std::fabs(box.minX), std::fabs(box.maxX)) +
                  std::max(std::fabs(box.minY), std::fabs(box.maxY));
    double grow = 0.0;
    const double m = std::fabs(bulge);
    const double span = (box.maxX - box.minX) + (box.maxY - box.minY); // at least the chord
    if (m != 0.0 && std::isfinite(m) && span > 0.0) {
        if (m <= 1.0) {
            grow = m * span / 2.0;
        } else {
            const double reach = span * m / 4.0 + span * (1.0 + m * m) / (4.0 * m);
            const double midX = (a.x + b.x) / 2.0, midY = (a.y + b.y) / 2.0;
            box.minX = std::min(box.minX, midX - reach);
            box.minY = std::min(box.minY, midY - reach);
            box.maxX = std::max(box.maxX, midX + reach);
            box.maxY = std::max(box.maxY, midY + reach);
            size += 2.0 * reach;
        }
    }
    return padded(box, grow, size + span);
}

// Whether the piece's box (bulgeBounds) surely misses the band, judged without building the box:
// a minor arc grows at most |bulge| span / 2 past its chord's box and the padding stays below
// 2e-9 of the coordinates' sum, so a piece farther than that from the band in y or to its left
// misses it. Major arcs, non-finite numbers and near pieces are left to the exact box.
inline bool clearOfBand(const AcGePoint2d& a, const AcGePoint2d& b, double bulge,
                        const AcDbPieceBounds& band) {
    const double m = std::fabs(bulge);
    if (!(m <= 1.0)) return false;
    const double span = std::fabs(a.x - b.x) + std::fabs(a.y - b.y);
    const double sum = std::fabs(a.x) + std::fabs(a.y) + std::fabs(b.x) + std::fabs(b.y);
    const double grow = m * span * 0.5 + 3.0 * Tavro::kBoxRounding * sum + 10.0 * Tavro::kTinyPad;
    return std::min(a.y, b.y) - grow > band.maxY || std::max(a.y, b.y) + grow < band.minY ||
           std::max(a.x, b.x) + grow < band.minX;
}

// The box of a piece already built; a ray runs on to infinity in its direction.
AcDbPieceBounds pieceBox(const AcDbCurvePiece& piece) {
    const double size = std::fabs(piece.start.x) + std::fabs(piece.start.y) +
                        std::fabs(piece.end.x) + std::fabs(piece.end.y) + piece.radius;
    if (piece.isArc) {
        AcDbPieceBounds box =
            boxOf(AcGePoint2d(piece.center.x - piece.radius, piece.center.y - piece.radius),
                  AcGePoint2d(piece.center.x + piece.radius, piece.center.y + piece.radius));
        return padded(box, 0.0, size + std::fabs(piece.center.x) + std::fabs(piece.center.y));
    }
    AcDbPieceBounds box = boxOf(piece.start, piece.end);
    if (piece.unbounded) {
        const double inf = std::numeric_limits<double>::infinity();
        const AcGeVector2d d = piece.end - piece.start;
        box.minX = d.x < 0.0 ? -inf : piece.start.x;
        box.maxX = d.x > 0.0 ? inf : piece.start.x;
        box.minY = d.y < 0.0 ? -inf : piece.start.y;
        box.maxY = d.y > 0.0 ? inf : piece.start.y;
    }
    return padded(box, 0.0, size);
}

bool boxesMeet(const AcDbPieceBounds& a, const AcDbPieceBounds& b) {
    if (!a.bounded || !b.bounded) return true;
    return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

// Whether every point of the box lies farther than dist from pt (never for unbounded boxes or
// non-finite numbers).
bool fartherThan(const AcDbPieceBounds& box, const AcGePoint2d& pt, double dist) {
    if (!box.bounded) return false;
    const double gx = std::max(std::max(box.minX - pt.x, pt.x - box.maxX), 0.0);
    const double gy = std::max(std::max(box.minY - pt.y, pt.y - box.maxY), 0.0);
    // Squares compared; a NaN distance or point keeps the piece.
    return gx * gx + gy * gy > dist * dist && dist >= 0.0;
}

AcDbCurvePiece straightPiece(const AcGePoint2d& a, const AcGePoint2d& b) {
    AcDbCurvePiece piece;
    piece.start = a;
    piece.end = b;
    return piece;
}

// The piece from `from` to `to` with the bulge: an arc when the bulge is finite and not 0 and the
// chord not zero, else straight.
AcDbCurvePiece bulgeSegment(const AcGePoint2d& from, const AcGePoint2d& to, double bulge) {
    AcDbCurvePiece piece = straightPiece(from, to);
    TavroKernel::BulgeArc arc;
    if (!TavroKernel::bulgeArc(from, to, bulge, arc)) return piece;
    piece.isArc = true;
    piece.center = arc.center;
    piece.radius = arc.radius;
    piece.startAngle = arc.startAngle;
    piece.sweep = arc.sweep;
    return piece;
}

// The segment of a curve of count segments holding param, and the fraction along it.
bool locateParam(int count, double param, int& index, double& fraction) {
    if (count == 0 || !(param >= -Tavro::kPieceParamSlack) ||
        !(param <= count + Tavro::kPieceParamSlack))
        return false;
    index = std::clamp(static_cast<int>(std::floor(param)), 0, count - 1);
    fraction = param - index;
    return true;
}

// The nearest point to target on the listed pieces, in their order, each passed over when its
// box lies farther than the best so far or than reach. Ties keep the earlier point.
template <class BoxAt, class SegmentAt, class Indices>
void nearestOn(BoxAt boxAt, SegmentAt segmentAt, const Indices& indices, const AcGePoint2d& target,
               double reach, AcGePoint2d& best, double& bestDist) {
    for (int i : indices) {
        if (fartherThan(boxAt(i), target, std::min(bestDist, reach))) continue;
        const AcDbCurvePiece piece = segmentAt(i);
        const AcGePoint2d p = piece.pointAt(piece.closestParam(target));
        const double d = target.distanceTo(p);
        if (d < bestDist) {
            bestDist = d;
            best = p;
        }
    }
}

// The curve parameter of the listed pieces' nearest point to target within the on-curve
// tolerance; the first piece wins a tie.
template <class BoxAt, class SegmentAt, class Indices>
double paramNear(BoxAt boxAt, SegmentAt segmentAt, const Indices& indices,
                 const AcGePoint2d& target, double& bestDist) {
    bestDist = std::numeric_limits<double>::infinity();
    double bestParam = 0.0;
    for (int i : indices) {
        if (fartherThan(boxAt(i), target, std::min(bestDist, Tavro::kOnCurveTol))) continue;
        const AcDbCurvePiece piece = segmentAt(i);
        const double t = piece.closestParam(target);
        const double d = target.distanceTo(piece.pointAt(t));
        if (d < bestDist) {
            bestDist = d;
            bestParam = i + t;
        }
    }
    return bestParam;
}

template <class SegmentAt>
Acad::ErrorStatus derivativeAt(SegmentAt segmentAt, int count, double param, int order,
                               AcGeVector3d& deriv) {
    int index = 0;
    double fraction = 0.0;
    if (!locateParam(count, param, index, fraction)) return Acad::eInvalidInput;
    const AcDbCurvePiece piece = segmentAt(index);
    const AcGeVector2d d = order == 1 ? piece.firstDeriv(fraction) : piece.secondDeriv(fraction);
    deriv = AcGeVector3d(d.x, d.y, 0.0);
    return Acad::eOk;
}

// The indices 0 ... count - 1, for the loops above.
struct IndexRange {
    struct Iter {
        int i;
        int operator*() const { return i; }
        Iter& operator++() {
            ++i;
            return *this;
        }
        bool operator!=(const Iter& other) const { return i != other.i; }
    };
    int count;
    Iter begin() const { return {0}; }
    Iter end() const { return {count}; }
};

} // namespace

AcGePoint2d AcDbCurvePiece::pointAt(double t) const {
    if (!isArc) return start + (end - start) * t;
    const double a = startAngle + sweep * t;
    return AcGePoint2d(center.x + radius * std::cos(a), center.y + radius * std::sin(a));
}

AcGeVector2d AcDbCurvePiece::firstDeriv(double t) const {
    if (!isArc) return end - start;
    const double a = startAngle + sweep * t;
    return AcGeVector2d(-std::sin(a), std::cos(a)) * (radius * sweep);
}

AcGeVector2d AcDbCurvePiece::secondDeriv(double t) const {
    if (!isArc) return AcGeVector2d(0.0, 0.0);
    const double a = startAngle + sweep * t;
    return AcGeVector2d(-std::cos(a), -std::sin(a)) * (radius * sweep * sweep);
}

double AcDbCurvePiece::closestParam(const AcGePoint2d& pt) const {
    if (isArc) {
        const double t = arcFraction(*this, (pt - center).angle());
        if (t >= 0.0 && t <= 1.0) return t;
        // Outside the sweep the nearer end wins.
        return pt.distanceTo(start) <= pt.distanceTo(end) ? 0.0 : 1.0;
    }
    const AcGeVector2d d = end - start;
    const double len2 = d.lengthSqrd();
    if (!(len2 > 0.0)) return 0.0;
    const double t = (pt - start).dotProduct(d) / len2;
    if (std::isnan(t)) return 0.0;
    return unbounded ? std::max(t, 0.0) : std::clamp(t, 0.0, 1.0);
}

AcDbEntity::~AcDbEntity() = default;

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents& extents) const {
    const std::vector<AcDbCurvePiece> all = pieces();
    if (all.empty()) return Acad::eDegenerateGeometry;
    AcDbExtents box;
    for (const AcDbCurvePiece& piece : all) {
        if (piece.unbounded) return Acad::eNotApplicable;
        box.addPoint(AcGePoint3d(piece.start.x, piece.start.y, 0.0));
        box.addPoint(AcGePoint3d(piece.end.x, piece.end.y, 0.0));
        if (!piece.isArc) continue;
        for (int q = 0; q < 4; ++q) {
            const double t = arcFraction(piece, q * Tavro::kTwoPi / 4.0);
            if (t > 0.0 && t < 1.0) {
                const AcGePoint2d p = piece.pointAt(t);
                box.addPoint(AcGePoint3d(p.x, p.y, 0.0));
            }
        }
    }
    extents = box;
    return Acad::eOk;
}

int AcDbEntity::pieceCount() const {
    return static_cast<int>(pieces().size());
}

AcDbCurvePiece AcDbEntity::piece(int index) const {
    return pieces()[static_cast<size_t>(index)];
}

AcDbPieceBounds AcDbEntity::pieceBounds(int index) const {
    return pieceBox(piece(index));
}

void AcDbEntity::piecesMeeting(const AcDbPieceBounds& box, std::vector<int>& out) const {
    for (int i = 0, count = pieceCount(); i < count; ++i)
        if (boxesMeet(pieceBounds(i), box)) out.push_back(i);
}

Acad::ErrorStatus AcDbEntity::intersectWith(const AcDbEntity* other, AcDb::Intersect,
                                            AcArray<AcGePoint3d>& points) const {
    if (!other) return Acad::eInvalidInput;
    // Pairs whose boxes are apart cannot meet; the others are built and intersected in the
    // order of a full pass (this entity's pieces outermost), so the points come out as that
    // pass finds them.
    const std::vector<AcDbCurvePiece> theirs = other->pieces();
    std::vector<std::pair<int, int>> pairs;
    std::vector<int> near;
    for (int j = 0; j < static_cast<int>(theirs.size()); ++j) {
        near.clear();
        piecesMeeting(other->pieceBounds(j), near);
        for (int i : near)
            pairs.emplace_back(i, j);
    }
    std::sort(pairs.begin(), pairs.end());
    std::vector<AcGePoint2d> hits;
    AcDbCurvePiece mine;
    int built = -1;
    for (const auto& [i, j] : pairs) {
        if (i != built) mine = piece(i);
        built = i;
        intersectPieces(mine, theirs[static_cast<size_t>(j)], hits);
    }
    appendUnique(hits, points);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::intersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                            const AcGePlane&, AcArray<AcGePoint3d>& points) const {
    return intersectWith(other, type, points);
}

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& pt) {
    m_start = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& pt) {
    m_end = pt;
    return Acad::eOk;
}

std::vector<AcDbCurvePiece> AcDbLine::pieces() const {
    return {straightPiece(m_start.convert2d(), m_end.convert2d())};
}

Acad::ErrorStatus AcDbRay::setBasePoint(const AcGePoint3d& pt) {
    m_base = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRay::setUnitDir(const AcGeVector3d& dir) {
    if (dir.isZeroLength()) return Acad::eInvalidInput;
    m_dir = dir.normal();
    return Acad::eOk;
}

std::vector<AcDbCurvePiece> AcDbRay::pieces() const {
    const AcGePoint2d base = m_base.convert2d();
    AcDbCurvePiece piece = straightPiece(base, base + AcGeVector2d(m_dir.x, m_dir.y));
    piece.unbounded = true;
    return {piece};
}

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge,
                                            double, double) {
    const size_t at = std::min<size_t>(index, m_vertices.size());
    m_vertices.insert(m_vertices.begin() + static_cast<long>(at), Vertex{pt, bulge, {}});
    m_boundsReady = false;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
    if (index >= m_vertices.size()) return Acad::eInvalidInput;
    m_vertices.erase(m_vertices.begin() + index);
    m_boundsReady = false;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const {
    if (index >= m_vertices.size()) return Acad::eInvalidInput;
    pt = m_vertices[index].point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
    if (index >= m_vertices.size()) return Acad::eInvalidInput;
    bulge = m_vertices[index].bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
    if (index >= m_vertices.size()) return Acad::eInvalidInput;
    m_vertices[index].bulge = bulge;
    m_boundsReady = false;
    return Acad::eOk;
}

int AcDbPolyline::segmentCount() const {
    const int n = static_cast<int>(m_vertices.size());
    if (n < 2) return 0;
    return m_closed ? n : n - 1;
}

// The boxes of all pieces are worked out together on first use and kept beside their vertices
// (one allocation for both) until the polyline changes.
inline const AcDbPieceBounds& AcDbPolyline::boundsAt(int index) const {
    if (!m_boundsReady) {
        const size_t n = m_vertices.size();
        for (size_t i = 0; i < n; ++i) {
            const size_t next = i + 1 < n ? i + 1 : 0;
            m_vertices[i].box =
                bulgeBounds(m_vertices[i].point, m_vertices[next].point, m_vertices[i].bulge);
        }
        m_boundsReady = true;
    }
    return m_vertices[static_cast<size_t>(index)].box;
}

AcDbCurvePiece AcDbPolyline::segment(int index) const {
    const int n = static_cast<int>(m_vertices.size());
    const Vertex& from = m_vertices[static_cast<size_t>(index)];
    return bulgeSegment(from.point, m_vertices[static_cast<size_t>((index + 1) % n)].point,
                        from.bulge);
}

AcDbPieceBounds AcDbPolyline::pieceBounds(int index) const {
    return boundsAt(index);
}

void AcDbPolyline::piecesMeeting(const AcDbPieceBounds& box, std::vector<int>& out) const {
    for (int i = 0, count = segmentCount(); i < count; ++i)
        if (boxesMeet(boundsAt(i), box)) out.push_back(i);
}

std::vector<AcDbCurvePiece> AcDbPolyline::pieces() const {
    std::vector<AcDbCurvePiece> all;
    for (int i = 0; i < segmentCount(); ++i)
        all.push_back(segment(i));
    return all;
}

bool AcDbPolyline::locate(double param, int& index, double& fraction) const {
    return locateParam(segmentCount(), param, index, fraction);
}

Acad::ErrorStatus AcDbPolyline::getStartParam(double& param) const {
    if (m_vertices.empty()) return Acad::eDegenerateGeometry;
    param = 0.0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getEndParam(double& param) const {
    if (m_vertices.empty()) return Acad::eDegenerateGeometry;
    param = segmentCount();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAtParam(double param, AcGePoint3d& pt) const {
    if (m_vertices.size() == 1 && std::fabs(param) <= Tavro::kPieceParamSlack) {
        pt = AcGePoint3d(m_vertices[0].point.x, m_vertices[0].point.y, 0.0);
        return Acad::eOk;
    }
    int index = 0;
    double fraction = 0.0;
    if (!locate(param, index, fraction)) return Acad::eInvalidInput;
    const AcGePoint2d p = segment(index).pointAt(fraction);
    pt = AcGePoint3d(p.x, p.y, 0.0);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getClosestPointTo(const AcGePoint3d& pt, AcGePoint3d& closest,
                                                  bool) const {
    if (m_vertices.empty()) return Acad::eDegenerateGeometry;
    const AcGePoint2d target = pt.convert2d();
    AcGePoint2d best = m_vertices[0].point;
    double bestDist = target.distanceTo(best);
    // Every vertex lies on the curve, so the nearest vertex bounds the answer: only pieces whose
    // boxes come that near (with room for rounding) are built and measured, in their order.
    double nearest2 = std::numeric_limits<double>::infinity();
    for (const Vertex& v : m_vertices) {
        const double dx = v.point.x - target.x, dy = v.point.y - target.y;
        nearest2 = std::min(nearest2, dx * dx + dy * dy);
    }
    const double reach = std::sqrt(nearest2) * (1.0 + Tavro::kBoxRounding) + Tavro::kTinyPad;
    nearestOn([this](int i) -> const AcDbPieceBounds& { return boundsAt(i); },
              [this](int i) { return segment(i); }, IndexRange{segmentCount()}, target, reach, best,
              bestDist);
    closest = AcGePoint3d(best.x, best.y, pt.z);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getParamAtPoint(const AcGePoint3d& pt, double& param) const {
    const AcGePoint2d target = pt.convert2d();
    double bestDist = 0.0;
    const double bestParam = paramNear(
        [this](int i) -> const AcDbPieceBounds& { return boundsAt(i); },
        [this](int i) { return segment(i); }, IndexRange{segmentCount()}, target, bestDist);
    if (m_vertices.size() == 1) bestDist = target.distanceTo(m_vertices[0].point);
    if (!(bestDist <= Tavro::kOnCurveTol)) return Acad::eInvalidInput;
    param = bestParam;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getFirstDeriv(double param, AcGeVector3d& deriv) const {
    return derivative(param, 1, deriv);
}

Acad::ErrorStatus AcDbPolyline::getSecondDeriv(double param, AcGeVector3d& deriv) const {
    return derivative(param, 2, deriv);
}

Acad::ErrorStatus AcDbPolyline::derivative(double param, int order, AcGeVector3d& deriv) const {
    return derivativeAt([this](int i) { return segment(i); }, segmentCount(), param, order, deriv);
}

Acad::ErrorStatus AcDbPolyline::getDistAtParam(double param, double& dist) const {
    int index = 0;
    double fraction = 0.0;
    if (!locate(param, index, fraction)) return Acad::eInvalidInput;
    double total = 0.0;
    for (int i = 0; i <= index; ++i) {
        const AcDbCurvePiece piece = segment(i);
        const double length =
            piece.isArc ? piece.radius * std::fabs(piece.sweep) : piece.start.distanceTo(piece.end);
        total += i < index ? length : length * fraction;
    }
    dist = total;
    return Acad::eOk;
}

AcDbPolylineBand::AcDbPolylineBand(const AcGePoint2d* points, int count, const double* bulges,
                                   int bulgeCount, bool closed, const AcDbRay& ray, double reach)
    : m_points(points), m_count(std::max(count, 0)), m_bulges(bulges),
      m_bulgeCount(std::max(bulgeCount, 0)),
      m_segments(m_count < 2 ? 0 : (closed ? m_count : m_count - 1)),
      m_band(padded(pieceBox(ray.pieces().front()), reach, 0.0)) {
    // One pass over the vertices: a piece that surely misses the band is passed over; the box of
    // every other is worked out and kept when it meets the band.
    const int straightFrom = std::min(m_bulgeCount, m_segments);
    for (int i = 0; i < m_segments; ++i) {
        const AcGePoint2d& a = m_points[i];
        const AcGePoint2d& b = i + 1 < m_count ? m_points[i + 1] : m_points[0];
        const double bulge = i < straightFrom ? m_bulges[i] : 0.0;
        if (clearOfBand(a, b, bulge, m_band)) continue;
        const AcDbPieceBounds box = bulgeBounds(a, b, bulge);
        m_bounded = m_bounded && box.bounded;
        if (!boxesMeet(box, m_band)) continue;
        m_near.push_back(i);
        m_boxes.push_back(box);
    }
}

bool AcDbPolylineBand::answersAt(const AcGePoint2d& pt) const {
    // Twice the tolerance, so a piece left out lies beyond it whatever the rounding.
    const double margin = 2.0 * Tavro::kOnCurveTol;
    return m_bounded && pt.x >= m_band.minX + margin && pt.x <= m_band.maxX - margin &&
           pt.y >= m_band.minY + margin && pt.y <= m_band.maxY - margin;
}

Acad::ErrorStatus AcDbPolylineBand::getStartParam(double& param) const {
    if (m_count == 0) return Acad::eDegenerateGeometry;
    param = 0.0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolylineBand::getEndParam(double& param) const {
    if (m_count == 0) return Acad::eDegenerateGeometry;
    param = m_segments;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolylineBand::getParamAtPoint(const AcGePoint3d& pt, double& param) const {
    if (!answersAt(pt.convert2d())) return Acad::eNotApplicable;
    double bestDist = 0.0;
    const double bestParam =
        paramNear([this](int i) { return pieceBounds(i); }, [this](int i) { return piece(i); },
                  m_near, pt.convert2d(), bestDist);
    if (m_count == 1) bestDist = pt.convert2d().distanceTo(m_points[0]);
    if (!(bestDist <= Tavro::kOnCurveTol)) return Acad::eInvalidInput;
    param = bestParam;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolylineBand::getClosestPointTo(const AcGePoint3d& pt, AcGePoint3d& closest,
                                                      bool) const {
    if (m_count == 0) return Acad::eDegenerateGeometry;
    const AcGePoint2d target = pt.convert2d();
    AcGePoint2d best = m_points[0];
    double bestDist = target.distanceTo(best);
    nearestOn([this](int i) { return pieceBounds(i); }, [this](int i) { return piece(i); }, m_near,
              target, std::numeric_limits<double>::infinity(), best, bestDist);
    closest = AcGePoint3d(best.x, best.y, pt.z);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolylineBand::getFirstDeriv(double param, AcGeVector3d& deriv) const {
    return derivativeAt([this](int i) { return piece(i); }, m_segments, param, 1, deriv);
}

Acad::ErrorStatus AcDbPolylineBand::getSecondDeriv(double param, AcGeVector3d& deriv) const {
    return derivativeAt([this](int i) { return piece(i); }, m_segments, param, 2, deriv);
}

std::vector<AcDbCurvePiece> AcDbPolylineBand::pieces() const {
    std::vector<AcDbCurvePiece> all;
    for (int i : m_near)
        all.push_back(piece(i));
    return all;
}

AcDbCurvePiece AcDbPolylineBand::piece(int index) const {
    return bulgeSegment(point(index), point(index + 1), bulge(index));
}

AcDbPieceBounds AcDbPolylineBand::pieceBounds(int index) const {
    // The near pieces' boxes were worked out when the band was built.
    const auto at = std::lower_bound(m_near.begin(), m_near.end(), index);
    if (at != m_near.end() && *at == index)
        return m_boxes[static_cast<size_t>(at - m_near.begin())];
    return bulgeBounds(point(index), point(index + 1), bulge(index));
}

void AcDbPolylineBand::piecesMeeting(const AcDbPieceBounds& box, std::vector<int>& out) const {
    for (size_t k = 0; k < m_near.size(); ++k)
        if (boxesMeet(m_boxes[k], box)) out.push_back(m_near[k]);
}
