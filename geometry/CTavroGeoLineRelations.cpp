// CTavroGeoLine: the relation engine. Everything stands on the relation of a point to a ring;
// segments sample it, rings tally it edge by edge, regions and sets combine it.

#include "CTavroGeoLine.h"

#include "AcDbCurves.h"
#include "CTavroGeoGlobal.h"
#include "CTavroGeoInternal.h"
#include "CTavroGeoPoint.h"
#include "TavroTolerance.h"
#include "aced.h"
#include "acut.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

using Tavro::Relation;

// The ray turns by 5 degrees whenever a cast meets the boundary where it cannot tell a crossing
// from a touch; 72 turns bring it back to where it started.
const double kRayTurn = 0.08726646259971647;
const int kRayCasts = 72;
// How far either side of a hit the curve's direction is sampled.
const double kSideStep = 2e-6;

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

// One ray cast from pt along dir: the number of boundary points met, touches counted again so
// that only crossings change the parity. False when a hit cannot be classified.
bool castRay(const AcDbPolyline& curve, const AcGePoint2d& pt, const AcGeVector3d& dir,
             int& count) {
    AcDbRay ray;
    ray.setBasePoint(AcGePoint3d(pt.x, pt.y, 0.0));
    ray.setUnitDir(dir);
    AcArray<AcGePoint3d> hits;
    curve.intersectWith(&ray, AcDb::kOnBothOperands, AcGePlane::kXYPlane, hits);
    double s = 0.0, e = 0.0;
    curve.getStartParam(s);
    curve.getEndParam(e);
    count = hits.length();
    for (const AcGePoint3d& hit : hits) {
        double p = 0.0;
        if (curve.getParamAtPoint(hit, p) != Acad::eOk) return false;
        double before = p - kSideStep;
        double after = p + kSideStep;
        if (before < s) before = e - kSideStep + (s - before);
        if (after > e) after = s + kSideStep + (e - after);
        const int sideBefore = CTavroGeoInternal::curveSide(curve, before, dir);
        const int sideAfter = CTavroGeoInternal::curveSide(curve, after, dir);
        if (sideBefore == 2 || sideAfter == 2) return false;
        if (sideBefore != sideAfter) ++count;
    }
    return true;
}

// Crossing parity against the straight ring, closed if it was not; boundary within gTol.
Relation straightRingRelation(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& ring) {
    const AcArray<AcGePoint2d> closed = closedCopy(ring);
    const int n = closed.length();
    for (int i = 0, j = n - 1; i < n; j = i++)
        if (CTavroGeoLine::geoPointInLine(pt, closed[j], closed[i], AcGeContext::gTol.equalPoint()))
            return Tavro::kRelationBoundary;
    return CTavroGeoInternal::rowCrossingParity(pt, closed, AcArray<double>())
               ? Tavro::kRelationInside
               : Tavro::kRelationOutside;
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
bool boxHolds(const AcDbExtents& outer, const AcDbExtents& inner) {
    const AcGePoint3d& lo = outer.minPoint();
    const AcGePoint3d& hi = outer.maxPoint();
    return inner.minPoint().x >= lo.x - Tavro::kTol && inner.minPoint().y >= lo.y - Tavro::kTol &&
           inner.maxPoint().x <= hi.x + Tavro::kTol && inner.maxPoint().y <= hi.y + Tavro::kTol;
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

int CTavroGeoInternal::rayCastRelation(const AcGePoint2d& pt, const AcArray<AcGePoint2d>& ring,
                                       const AcArray<double>& bulges) {
    AcDbPolyline curve;
    if (CTavroGeoInternal::buildPolyline(&curve, ring, bulges) != Acad::eOk)
        return Tavro::kRelationError;
    AcGePoint3d closest;
    const AcGePoint3d at(pt.x, pt.y, 0.0);
    if (curve.getClosestPointTo(at, closest, false) == Acad::eOk &&
        closest.distanceTo(at) < Tavro::kTol)
        return Tavro::kRelationBoundary;
    const AcGeVector3d first = AcGeVector3d::kZAxis.perpVector();
    AcGeVector3d dir = first;
    int count = 0;
    for (int cast = 0; cast < kRayCasts; ++cast) {
        if (castRay(curve, pt, dir, count)) break;
        dir.rotateBy(kRayTurn, AcGeVector3d::kZAxis);
    }
    return count % 2 == 1 ? Tavro::kRelationInside : Tavro::kRelationOutside;
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
    const AcArray<AcGePoint2d> closed = closedCopy(ring);
    const AcArray<double> none;
    AcArray<AcGePoint2d> hits;
    AcArray<double> params;
    polylineIntersection(closed, AcArray<AcGePoint2d>{a, b}, hits, params);
    QMap<int, int> tally;
    int expected = 2;
    ++tally[geoPointWithPolygonRelation(a, closed, none)];
    ++tally[geoPointWithPolygonRelation(b, closed, none)];
    if (hits.length() == 1) {
        const int r = geoPointWithPolygonRelation(hits.first(), closed, none);
        if (!(r & (Tavro::kRelationBoundary | Tavro::kRelationInside))) {
            ++tally[Tavro::kRelationCross];
            ++expected;
        }
    }
    for (int i = 0; hits.length() > 1 && i + 1 < hits.length(); ++i) {
        const AcGePoint2d mid =
            CTavroGeoPoint::geoCalculatePoint(hits[i], hits[i + 1], Tavro::kCenter);
        ++tally[geoPointWithPolygonRelation(mid, closed, none)];
        ++expected;
    }
    expected += hits.length();
    return relation(CTavroGeoInternal::tallyRule(tally, expected));
}

Tavro::Relation CTavroGeoLine::geoPolyWithPolyRelation(const AcArray<AcGePoint2d>& a,
                                                       const AcArray<AcGePoint2d>& b, double tol) {
    const int r = CTavroGeoInternal::edgeTally(a, b);
    if (r == Tavro::kRelationBoundary) {
        const double areaGap = std::fabs(CTavroGeoPoint::geoArea(a) - CTavroGeoPoint::geoArea(b));
        return areaGap < tol ? Tavro::kRelationCoincide : Tavro::kRelationInsideTouch;
    }
    if (r == Tavro::kRelationOutside && IsPolyInPoly(b, a, false)) return Tavro::kRelationContains;
    return relation(r);
}

bool CTavroGeoLine::IsPolyInPoly(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b,
                                 bool eitherWay) {
    if (a.isEmpty() || b.isEmpty()) return false;
    if (CTavroGeoInternal::edgeTally(a, b) < Tavro::kRelationOutside) return true;
    return eitherWay && CTavroGeoInternal::edgeTally(b, a) < Tavro::kRelationOutside;
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
    QVector<AcDbExtents> boxes(n);
    for (int i = 0; i < n; ++i) {
        Tavro::NodeBulge ring{rings[i], i < bulges.size() ? bulges[i] : AcArray<double>()};
        lines[i] = brokenLine(ring, true, 20.0);
        boxes[i] = CTavroGeoPoint::geoNodeExtents(lines[i], 0.0);
    }
    acedSetStatusBarProgressMeter(QString::fromUtf8("正在进行拓扑分析"), 0, std::min(n, 100));
    MeterStep meter{n <= 100 ? 1.0 : 100.0 / n};
    for (int i = 0; i < n; ++i) {
        meter.advance(i);
        QList<int>& list = inside[i];
        for (int j = 0; j < n; ++j) {
            // A ring can only lie in or on ring i when its box lies in i's box: others are
            // outside without asking.
            if (j == i || !boxHolds(boxes[i], boxes[j])) continue;
            const int r =
                geoPolyWithPolyRelation(lines[j], lines[i], AcGeContext::gTol.equalPoint());
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
