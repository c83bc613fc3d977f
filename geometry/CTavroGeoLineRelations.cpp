// CTavroGeoLine: the relation engine. Everything stands on the relation of a point to a ring;
// segments sample it, rings tally it edge by edge, regions and sets combine it.

#include "CTavroGeoLine.h"

#include "AcDbCurves.h"
#include "CTavroGeoGlobal.h"
#include "CTavroGeoInternal.h"
#include "CTavroGeoPoint.h"
#include "TavroBoxIndex.h"
#include "TavroKernel.h"
#include "TavroTolerance.h"
#include "aced.h"
#include "acut.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

using Tavro::Relation;

Relation relation(int value) {
    return static_cast<Relation>(value);
}

bool hasArc(const AcArray<double>& bulges) {
    return std::any_of(bulges.begin(), bulges.end(),
                       [](double b) { return std::fabs(b) > Tavro::kTol; });
}

AcArray<AcGePoint2d> closedCopy(const AcArray<AcGePoint2d>& ring) {
    AcArray<AcGePoint2d> copy = ring;
    if (!copy.isEmpty() && copy.first().distanceTo(copy.last()) > Tavro::kTol)
        copy.append(copy.first());
    return copy;
}

// The tally of relation values met, with the tally rule. Every value the relation engine enters
// lies in -1 ... 9, so a fixed array replaces a map on the hot path.
class Tally {
public:
    void add(int value, int count = 1) {
        if (value >= kLow && value <= kHigh) m_counts[value - kLow] += count;
    }
    int rule(int expected) const {
        int combined = 0;
        for (int v = kLow; v <= kHigh; ++v) {
            const int count = m_counts[v - kLow];
            if (count == 0) continue;
            if (count == expected) return v;
            combined |= v;
        }
        return combined;
    }
    bool holdsOnly(int value) const {
        for (int v = kLow; v <= kHigh; ++v)
            if (m_counts[v - kLow] != 0 && v != value) return false;
        return m_counts[value - kLow] != 0;
    }

private:
    static const int kLow = Tavro::kRelationError;
    static const int kHigh = Tavro::kRelationContains;
    int m_counts[kHigh - kLow + 1] = {};
};

Tavro::IndexBox boxOf(const AcGePoint2d& a, const AcGePoint2d& b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// A straight ring closed as the relation engine closes it (the first vertex appended when the
// last lies more than 1e-6 from it), with its edges indexed, so that the relations of many
// points and segments to it meet only the edges near them. Every answer is the one the plain
// walk over all edges gives: an edge is left out only where its box, grown by the widest reach
// of the tolerance tests, cannot meet the question's.
class PreparedRing {
public:
    PreparedRing(const AcArray<AcGePoint2d>& ring, bool indexed)
        : m_closed(closedCopy(ring)), m_indexed(indexed), m_tol(AcGeContext::gTol.equalPoint()) {
        const int n = m_closed.length();
        double longest2 = 0.0;
        for (int i = 0; i < n; ++i) {
            const AcGeVector2d d = m_closed[i + 1 < n ? i + 1 : 0] - m_closed[i];
            const double length2 = d.lengthSqrd();
            if (std::isfinite(length2)) longest2 = std::max(longest2, length2);
        }
        m_longest = std::sqrt(longest2);
        m_widestReach = reachFor(m_longest);
        if (!indexed) return;
        std::vector<Tavro::IndexBox> boxes(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            boxes[static_cast<size_t>(i)] = reachOf(i);
        m_index = Tavro::BoxIndex(boxes);
    }

    const AcArray<AcGePoint2d>& closed() const { return m_closed; }

    // The straight point relation: 1 on an edge within gTol, else the crossing parity.
    Relation pointRelation(const AcGePoint2d& pt) const {
        const double tol = m_tol;
        bool onEdge = false;
        forEdgesNear(boxOf(pt, pt), [&](int k, const AcGePoint2d& a, const AcGePoint2d& b) {
            (void)k;
            onEdge = CTavroGeoLine::geoPointInLine(pt, a, b, tol);
            return !onEdge;
        });
        if (onEdge) return Tavro::kRelationBoundary;
        // Only edges spanning the row and reaching to the right of pt can be crossed.
        const double slack =
            Tavro::kRowSlack * (1.0 + std::fabs(pt.x)) + Tavro::kRowRounding * m_longest;
        int count = 0;
        forEdgesNear({pt.x - slack, pt.y, std::numeric_limits<double>::infinity(), pt.y},
                     [&](int, const AcGePoint2d& a, const AcGePoint2d& b) {
                         count += CTavroGeoInternal::rowCrossings(pt, a, b, 0.0);
                         return true;
                     });
        return count % 2 == 1 ? Tavro::kRelationInside : Tavro::kRelationOutside;
    }

    // The relation of segment ab to the ring, as geoLineWithPolyRelation answers it.
    Relation segmentRelation(const AcGePoint2d& a, const AcGePoint2d& b) const {
        // A hit lies within 1e-6 of both pieces, or, for nearly collinear ones, within 1e-6 of
        // their summed lengths plus 1e-7 of the segment's length.
        const double length = a.distanceTo(b);
        const double margin = Tavro::kSegmentHitReach * length + Tavro::kSegmentHitFloor +
                              Tavro::kDistanceRounding * (std::fabs(a.x) + std::fabs(a.y) + length);
        std::vector<int> edges;
        forEdgesNear(boxOf(a, b).grown(margin), [&](int k, const AcGePoint2d&, const AcGePoint2d&) {
            edges.push_back(k);
            return true;
        });
        // The hits come in the order of the edges, as a pass over all of them meets them.
        if (m_indexed) std::sort(edges.begin(), edges.end());
        AcArray<AcGePoint2d> hits;
        AcArray<double> params;
        CTavroGeoInternal::polylineHitsOn(m_closed, edges, AcArray<AcGePoint2d>{a, b}, hits,
                                          params);
        Tally tally;
        int expected = 2;
        tally.add(pointRelation(a));
        tally.add(pointRelation(b));
        if (hits.length() == 1) {
            const int r = pointRelation(hits.first());
            if (!(r & (Tavro::kRelationBoundary | Tavro::kRelationInside))) {
                tally.add(Tavro::kRelationCross);
                ++expected;
            }
        }
        for (int i = 0; hits.length() > 1 && i + 1 < hits.length(); ++i) {
            const AcGePoint2d mid =
                CTavroGeoPoint::geoCalculatePoint(hits[i], hits[i + 1], Tavro::kCenter);
            tally.add(pointRelation(mid));
            ++expected;
        }
        expected += hits.length();
        return relation(tally.rule(expected));
    }

private:
    // How far from an edge of this length a question may still find it, on the edge's account:
    // |pa| + |pb| - |ab| < tol holds inside an ellipse about the edge of half width
    // sqrt(tol L / 2 + tol^2 / 4), the distances' rounding added; a segment's hit may lie
    // kSegmentHitReach of the edge's length away. A question grows its own box by its own share
    // only, so in the index a long edge does not widen the search round every short one.
    double reachFor(double length) const {
        const double reach = m_tol + Tavro::kDistanceRounding * length;
        const double onEdge = std::sqrt(reach * length / 2.0 + reach * reach / 4.0) + reach;
        return std::max(onEdge, Tavro::kSegmentHitReach * length);
    }
    Tavro::IndexBox reachOf(int k) const {
        const int n = m_closed.length();
        const AcGePoint2d& a = m_closed[k];
        const AcGePoint2d& b = m_closed[k + 1 < n ? k + 1 : 0];
        return boxOf(a, b).grown(reachFor(std::sqrt((b - a).lengthSqrd())));
    }

    // Calls visit(k, start, end) for each edge k whose box meets query (every edge when the
    // query is not finite), until it answers false. Without an index the edges come in order;
    // with one in no particular order.
    template <class Visit> void forEdgesNear(const Tavro::IndexBox& query, Visit visit) const {
        const int n = m_closed.length();
        auto edge = [&](int k) { return visit(k, m_closed[k], m_closed[k + 1 < n ? k + 1 : 0]); };
        const bool finiteQuery = std::isfinite(query.minY) && std::isfinite(query.maxY) &&
                                 !std::isnan(query.minX) && !std::isnan(query.maxX);
        if (!finiteQuery) {
            for (int k = 0; k < n; ++k)
                if (!edge(k)) return;
        } else if (m_indexed) {
            m_near.clear();
            m_index.query(query, m_near);
            for (int k : m_near)
                if (!edge(k)) return;
        } else {
            for (int k = 0; k < n; ++k) {
                // A few edges: each grown by the reach of the longest, which bounds every one.
                const Tavro::IndexBox box =
                    boxOf(m_closed[k], m_closed[k + 1 < n ? k + 1 : 0]).grown(m_widestReach);
                if ((!box.isFinite() || box.meets(query)) && !edge(k)) return;
            }
        }
    }

    AcArray<AcGePoint2d> m_closed;
    bool m_indexed;
    double m_tol;
    double m_longest = 0.0;
    double m_widestReach = 0.0;
    Tavro::BoxIndex m_index;
    mutable std::vector<int> m_near;
};

// Crossing parity against the straight ring, closed if it was not; boundary within gTol.
Relation straightRingRelation(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& ring) {
    return PreparedRing(ring, false).pointRelation(pt);
}

// Rings of up to this many vertices are scanned edge by edge rather than indexed.
const int kScanEdges = 32;

// A ring prepared on first use and kept for the rest of a call.
class LazyRing {
public:
    explicit LazyRing(const AcArray<AcGePoint2d>& ring) : m_ring(&ring) {}
    const AcArray<AcGePoint2d>& raw() const { return *m_ring; }
    const PreparedRing& prepared() const {
        // A short ring is cheaper to scan than to index.
        if (!m_prepared)
            m_prepared = std::make_unique<PreparedRing>(*m_ring, m_ring->length() > kScanEdges);
        return *m_prepared;
    }

private:
    const AcArray<AcGePoint2d>* m_ring;
    mutable std::unique_ptr<PreparedRing> m_prepared;
};

// Edges of a ring, its closing edge included and a repeated first vertex not doubled.
int edgeCount(const AcArray<AcGePoint2d>& ring) {
    const int n = ring.length();
    const bool closed = n > 1 && ring.first().distanceTo(ring.last()) < Tavro::kTol;
    return closed ? n - 1 : n;
}

void tallyEdges(const AcArray<AcGePoint2d>& edges, const PreparedRing& against,
                bool insideCountsNine, Tally& tally) {
    const int n = edges.length();
    for (int i = 0; i < edgeCount(edges); ++i) {
        int r = against.segmentRelation(edges[i], edges[(i + 1) % n]);
        if (insideCountsNine && r == Tavro::kRelationInside) r = Tavro::kRelationContains;
        tally.add(r);
    }
}

// Relation of ring a to ring b edge by edge; an a wholly outside b is checked the other way
// round, b's edges inside a counting 9.
int edgeTally(const LazyRing& a, const LazyRing& b) {
    if (a.raw().isEmpty() || b.raw().isEmpty()) return Tavro::kRelationError;
    Tally tally;
    tallyEdges(a.raw(), b.prepared(), false, tally);
    int expected = edgeCount(a.raw());
    if (tally.holdsOnly(Tavro::kRelationOutside)) {
        tallyEdges(b.raw(), a.prepared(), true, tally);
        expected = edgeCount(b.raw());
    }
    return tally.rule(expected);
}

Relation ringRelation(const LazyRing& a, const LazyRing& b, double tol) {
    const int r = edgeTally(a, b);
    if (r == Tavro::kRelationBoundary) {
        const double areaGap =
            std::fabs(CTavroGeoPoint::geoArea(a.raw()) - CTavroGeoPoint::geoArea(b.raw()));
        return areaGap < tol ? Tavro::kRelationCoincide : Tavro::kRelationInsideTouch;
    }
    if (r == Tavro::kRelationOutside && edgeTally(b, a) < Tavro::kRelationOutside)
        return Tavro::kRelationContains;
    return relation(r);
}

bool hasIslands(const Tavro::NodeIsland& region) {
    return !region.islands.isEmpty() && !region.islands.first().nodes.isEmpty();
}

// 0 empty, 1 one region without islands, 2 one with islands, 3 several.
int setKind(const AcArray<Tavro::NodeIsland>& regions) {
    if (regions.isEmpty()) return 0;
    if (regions.length() > 1) return 3;
    return hasIslands(regions.first()) ? 2 : 1;
}

// A ring with arcs as a broken line of 0.1 degree steps; a straight ring as it is.
AcArray<AcGePoint2d> brokenLine(const Tavro::NodeBulge& ring, bool closed, double step) {
    if (!CTavroGeoPoint::geoHaveBulge(ring.bulges)) return ring.nodes;
    AcArray<AcGePoint2d> line;
    CTavroGeoLine::GetNodesHaveArc(ring.nodes, ring.bulges, line, closed, step,
                                   Tavro::kVerticesOnArc);
    return line;
}

Tavro::NodeBulge outerOf(const Tavro::NodeIsland& region) {
    return region.outer;
}

// The distinct relations over pairs, with the rule the set relations share.
Relation combineSet(const QSet<int>& values, bool fourAndFiveMakeFive) {
    if (values.size() == 1) return relation(*values.begin());
    if (fourAndFiveMakeFive &&
        values == QSet<int>{Tavro::kRelationOutside, Tavro::kRelationOutsideTouch})
        return Tavro::kRelationOutsideTouch;
    return Tavro::kRelationCross;
}

// The inner box lies within the outer one, give or take the general tolerance.
bool boxHolds(const Tavro::IndexBox& outer, const Tavro::IndexBox& inner) {
    return inner.minX >= outer.minX - Tavro::kTol && inner.minY >= outer.minY - Tavro::kTol &&
           inner.maxX <= outer.maxX + Tavro::kTol && inner.maxY <= outer.maxY + Tavro::kTol;
}

// The meter's next step in the first phase of the containment map.
struct MeterStep {
    double scale;
    int next = 1;
    void advance(int i) {
        if (static_cast<int>(i * scale) != next) return;
        acedSetStatusBarProgressMeterPos(next++);
        acedPumpMessages();
    }
};

} // namespace

int CTavroGeoInternal::edgeTally(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b) {
    return ::edgeTally(LazyRing(a), LazyRing(b));
}

int CTavroGeoInternal::rayCastRelation(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& ring,
                                       const AcArray<double>& bulges) {
    return TavroKernel::rayCastRelation(pt, ring, bulges);
}

Tavro::Relation CTavroGeoLine::geoPointWithPolygonRelation(const AcGePoint2d& pt,
                                                           const AcArray<AcGePoint2d>& ring,
                                                           const AcArray<double>& bulges) {
    if (ring.isEmpty()) return Tavro::kRelationError;
    if (hasArc(bulges)) return relation(CTavroGeoInternal::rayCastRelation(pt, ring, bulges));
    return straightRingRelation(pt, ring);
}

Tavro::Relation CTavroGeoLine::geoPointWithPolygonRelation(const AcGePoint2d& pt,
                                                           const Tavro::NodeIsland& region) {
    const Relation outer = geoPointWithPolygonRelation(pt, region.outer.nodes, region.outer.bulges);
    if (outer != Tavro::kRelationInside) return outer;
    for (const Tavro::NodeBulge& island : region.islands)
        if (geoPointWithPolygonRelation(pt, island.nodes, island.bulges) == Tavro::kRelationInside)
            return Tavro::kRelationOutside;
    return Tavro::kRelationInside;
}

Tavro::Relation
CTavroGeoLine::geoPointWithPolygonRelation(const AcGePoint2d& pt,
                                           const AcArray<Tavro::NodeIsland>& regions) {
    switch (setKind(regions)) {
    case 0:
        return Tavro::kRelationError;
    case 1:
        return geoPointWithPolygonRelation(pt, regions.first().outer.nodes,
                                           regions.first().outer.bulges);
    case 2:
        return geoPointWithPolygonRelation(pt, regions.first());
    default:
        for (const Tavro::NodeIsland& region : regions)
            if (geoPointWithPolygonRelation(pt, region) == Tavro::kRelationInside)
                return Tavro::kRelationInside;
        return Tavro::kRelationOutside;
    }
}

Tavro::PointPolygonRelation CTavroGeoLine::geoPointInPolygon(const Tavro::NodeBulge& ring,
                                                             const AcGePoint2d& pt) {
    const bool useBulges = ring.bulges.length() == ring.nodes.length();
    AcDbPolyline curve;
    for (int i = 0; i < ring.nodes.length(); ++i)
        curve.addVertexAt(static_cast<unsigned int>(i), ring.nodes[i],
                          useBulges ? ring.bulges[i] : 0.0, -1.0, -1.0);
    curve.setClosed(true);
    const AcGePoint3d at(pt.x, pt.y, 0.0);
    AcGePoint3d closest;
    if (curve.getClosestPointTo(at, closest, false) == Acad::eOk &&
        closest.distanceTo(at) <= AcGeContext::gTol.equalPoint())
        return Tavro::kPointOnBoundary;
    // Parity of true crossings of the row through pt, so points beside the ring, rows through
    // vertices and arcs crossed twice all read as they lie.
    const AcArray<double> none;
    return CTavroGeoInternal::rowCrossingParity(pt, ring.nodes, useBulges ? ring.bulges : none)
               ? Tavro::kPointInside
               : Tavro::kPointOutside;
}

Tavro::PointPolygonRelation CTavroGeoLine::geoPointInPolygon(const Tavro::NodeIsland& region,
                                                             const AcGePoint2d& pt) {
    const Tavro::PointPolygonRelation outer = geoPointInPolygon(region.outer, pt);
    if (outer != Tavro::kPointInside) return outer;
    for (const Tavro::NodeBulge& island : region.islands) {
        const Tavro::PointPolygonRelation r = geoPointInPolygon(island, pt);
        if (r == Tavro::kPointInside) return Tavro::kPointOutside;
        if (r == Tavro::kPointOnBoundary) return Tavro::kPointOnBoundary;
    }
    return Tavro::kPointInside;
}

Tavro::PointPolygonRelation
CTavroGeoLine::geoPointInPolygon(const AcArray<Tavro::NodeIsland>& regions, const AcGePoint2d& pt) {
    for (const Tavro::NodeIsland& region : regions) {
        const Tavro::PointPolygonRelation r = geoPointInPolygon(region, pt);
        if (r != Tavro::kPointOutside) return r;
    }
    return Tavro::kPointOutside;
}

Tavro::Relation CTavroGeoLine::geoLineWithPolyRelation(const AcArray<AcGePoint2d>& ring,
                                                       const AcGePoint2d& a, const AcGePoint2d& b) {
    if (ring.isEmpty()) return Tavro::kRelationError;
    return PreparedRing(ring, false).segmentRelation(a, b);
}

Tavro::Relation CTavroGeoLine::geoPolyWithPolyRelation(const AcArray<AcGePoint2d>& a,
                                                       const AcArray<AcGePoint2d>& b, double tol) {
    return ringRelation(LazyRing(a), LazyRing(b), tol);
}

bool CTavroGeoLine::IsPolyInPoly(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b,
                                 bool eitherWay) {
    if (a.isEmpty() || b.isEmpty()) return false;
    const LazyRing ringA(a), ringB(b);
    if (edgeTally(ringA, ringB) < Tavro::kRelationOutside) return true;
    return eitherWay && edgeTally(ringB, ringA) < Tavro::kRelationOutside;
}

Tavro::Relation CTavroGeoLine::GetRelation(const Tavro::NodeBulge& a, const Tavro::NodeBulge& b) {
    return geoPolyWithPolyRelation(brokenLine(a, false, 0.1), brokenLine(b, false, 0.1),
                                   AcGeContext::gTol.equalPoint());
}

Tavro::Relation CTavroGeoLine::GetRelation(const Tavro::NodeBulge& a, const Tavro::NodeIsland& b) {
    const Relation r = GetRelation(a, b.outer);
    if (r == Tavro::kRelationCoincide && hasIslands(b)) return Tavro::kRelationCross;
    if (r != Tavro::kRelationInside) return r;
    Relation result = Tavro::kRelationInside;
    for (const Tavro::NodeBulge& island : b.islands) {
        const Relation inIsland = GetRelation(a, island);
        if (inIsland == Tavro::kRelationInside)
            result = Tavro::kRelationOutside;
        else if (inIsland != Tavro::kRelationOutside)
            return Tavro::kRelationCross;
    }
    return result;
}

Tavro::Relation CTavroGeoLine::GetRelation(const Tavro::NodeIsland& a, const Tavro::NodeBulge& b) {
    const Relation r = GetRelation(a.outer, b);
    return r == Tavro::kRelationCoincide && hasIslands(a) ? Tavro::kRelationCross : r;
}

Tavro::Relation CTavroGeoLine::GetRelation(const Tavro::NodeIsland& a, const Tavro::NodeIsland& b) {
    const Relation r = GetRelation(a.outer, b.outer);
    if (r == Tavro::kRelationInside) return GetRelation(a.outer, b);
    if (r == Tavro::kRelationContains) {
        for (const Tavro::NodeBulge& island : b.islands)
            if (GetRelation(island, a) != Tavro::kRelationOutside) return Tavro::kRelationCross;
        return Tavro::kRelationContains;
    }
    if (r != Tavro::kRelationCoincide) return r;
    if (a.islands.length() != b.islands.length()) return Tavro::kRelationCross;
    AcArray<Tavro::NodeBulge> unmatched = b.islands;
    for (const Tavro::NodeBulge& island : a.islands) {
        int match = -1;
        for (int j = unmatched.length() - 1; j >= 0 && match < 0; --j)
            if (GetRelation(island, unmatched[j]) == Tavro::kRelationCoincide) match = j;
        if (match < 0) return Tavro::kRelationCross;
        unmatched.removeAt(match);
    }
    return Tavro::kRelationCoincide;
}

Tavro::Relation CTavroGeoLine::GetPolygonRelation(const AcArray<Tavro::NodeIsland>& a,
                                                  const AcArray<Tavro::NodeIsland>& b) {
    const int kindA = setKind(a);
    const int kindB = setKind(b);
    if (kindA == 0 || kindB == 0) return Tavro::kRelationError;
    if (kindA == 1 && kindB == 1) return GetRelation(outerOf(a.first()), outerOf(b.first()));
    if (kindA == 1 && kindB == 2) return GetRelation(outerOf(a.first()), b.first());
    if (kindA == 2 && kindB == 1) return GetRelation(a.first(), outerOf(b.first()));
    QSet<int> values;
    if (kindA == 3 && kindB != 3) {
        for (const Tavro::NodeIsland& member : a)
            values.insert(GetRelation(member, b.first()));
        return combineSet(values, true);
    }
    if (kindA != 3 && kindB == 3) {
        for (const Tavro::NodeIsland& member : b)
            values.insert(GetRelation(a.first(), member));
        return combineSet(values, false);
    }
    for (const Tavro::NodeIsland& ma : a) {
        for (const Tavro::NodeIsland& mb : b) {
            const int r = GetRelation(ma, mb);
            if (r != Tavro::kRelationError && r != Tavro::kRelationOutside) values.insert(r);
        }
    }
    if (values.isEmpty()) return Tavro::kRelationOutside;
    return combineSet(values, false);
}

QMap<int, QList<int>> CTavroGeoLine::geoPolyInPolyMap(const QVector<AcArray<AcGePoint2d>>& rings,
                                                      const QVector<AcArray<double>>& bulges) {
    QMap<int, QList<int>> inside;
    const int n = rings.size();
    if (n == 0) return inside;
    QVector<AcArray<AcGePoint2d>> lines(n);
    std::vector<Tavro::IndexBox> indexBoxes(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        Tavro::NodeBulge ring{rings[i], i < bulges.size() ? bulges[i] : AcArray<double>()};
        lines[i] = brokenLine(ring, true, 20.0);
        const AcDbExtents box = CTavroGeoPoint::geoNodeExtents(lines[i], 0.0);
        indexBoxes[static_cast<size_t>(i)] = {box.minPoint().x, box.minPoint().y, box.maxPoint().x,
                                              box.maxPoint().y};
    }
    // Each ring is prepared once, when a relation first needs it.
    std::vector<LazyRing> prepared;
    prepared.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        prepared.emplace_back(lines[i]);
    const Tavro::BoxIndex index(indexBoxes);
    std::vector<int> candidates;
    acedSetStatusBarProgressMeter(QString::fromUtf8("正在进行拓扑分析"), 0, std::min(n, 100));
    MeterStep meter{n <= 100 ? 1.0 : 100.0 / n};
    for (int i = 0; i < n; ++i) {
        meter.advance(i);
        QList<int>& list = inside[i];
        // A ring can only lie in or on ring i when its box lies in i's box: the index lists
        // the boxes meeting i's, in ascending order as the plain pair loop met them.
        candidates.clear();
        index.querySorted(indexBoxes[static_cast<size_t>(i)].grown(Tavro::kTol), candidates);
        for (int j : candidates) {
            if (j == i ||
                !boxHolds(indexBoxes[static_cast<size_t>(i)], indexBoxes[static_cast<size_t>(j)]))
                continue;
            const int r =
                ringRelation(prepared[static_cast<size_t>(j)], prepared[static_cast<size_t>(i)],
                             AcGeContext::gTol.equalPoint());
            if (r >= Tavro::kRelationCoincide && r <= Tavro::kRelationInsideTouch) list.append(j);
        }
    }
    acedRestoreStatusBar();
    acedSetStatusBarProgressMeter(QString::fromUtf8("构建拓扑关系"), 0, inside.size() - 1);
    int step = 0;
    for (auto it = inside.begin(); it != inside.end(); ++it, ++step) {
        acedSetStatusBarProgressMeterPos(step);
        acedPumpMessages();
        const QList<int> direct = it.value();
        for (int j : direct)
            for (int deeper : inside.value(j))
                it.value().removeAll(deeper);
    }
    acedRestoreStatusBar();
    return inside;
}

bool CTavroGeoLine::isConcavePoint(const AcArray<AcGePoint2d>& ring, int index) {
    if (ring.length() <= 3 || index < 0 || index >= ring.length()) return false;
    AcArray<AcGePoint2d> rest = ring;
    rest.removeAt(index);
    return straightRingRelation(ring[index], rest) == Tavro::kRelationInside;
}

bool CTavroGeoLine::isConcavePoly(const AcArray<AcGePoint2d>& ring) {
    for (int i = 0; i < ring.length(); ++i)
        if (isConcavePoint(ring, i)) return true;
    return false;
}

bool CTavroGeoLine::isLineSegmentInPoly(const AcArray<AcGePoint2d>& polyline,
                                        const AcArray<AcGePoint2d>& ring) {
    if (polyline.isEmpty() || ring.isEmpty()) return false;
    AcArray<AcGePoint2d> samples;
    for (int i = 0; i + 1 < polyline.length(); ++i) {
        const AcGePoint2d& p = polyline[i];
        const double angle = acutAngle(p, polyline[i + 1]);
        const double third = p.distanceTo(polyline[i + 1]) / 3.0;
        AcGePoint2d oneThird, twoThirds;
        acutPolar(p, angle, third, oneThird);
        acutPolar(p, angle, 2.0 * third, twoThirds);
        samples.append(p);
        samples.append(oneThird);
        samples.append(twoThirds);
    }
    samples.append(polyline.last());
    return std::all_of(samples.begin(), samples.end(), [&](const AcGePoint2d& s) {
        return straightRingRelation(s, ring) == Tavro::kRelationBoundary;
    });
}

bool CTavroGeoLine::isPolyMatch(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b,
                                double tol) {
    if (a.length() < 3 || b.length() < 3) return false;
    if (CTavroGeoPoint::isPolygonSame(a, b)) return true;
    auto near = [tol](const AcArray<AcGePoint2d>& from, const AcArray<AcGePoint2d>& to) {
        return std::all_of(from.begin(), from.end(), [&](const AcGePoint2d& p) {
            const double d = geoPointDistPolyline(p, to);
            return d * d <= tol;
        });
    };
    return near(a, b) && near(b, a);
}

bool CTavroGeoLine::getRandomPointInNodesB(const AcArray<AcGePoint2d>& ring, AcGePoint2d& out) {
    AcArray<AcGePoint2d> pts = ring;
    CTavroGeoPoint::geoRemoveSame(pts);
    if (pts.length() < 3) return false;
    if (pts.length() == 3) {
        CTavroGeoPoint::GetNodesMiddlePoint(pts, out);
        return true;
    }
    for (int k = 2; k < pts.length(); ++k) {
        AcGePoint2d middle;
        CTavroGeoPoint::GetNodesMiddlePoint(AcArray<AcGePoint2d>{pts[0], pts[1], pts[k]}, middle);
        if (straightRingRelation(middle, pts) == Tavro::kRelationInside) {
            out = middle;
            return true;
        }
    }
    return false;
}
