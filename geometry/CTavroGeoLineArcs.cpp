// Arcs to broken lines and back: cutting bulge arcs into chords by an angle or an arc-length
// step, and finding the runs of equal chords on one circle that were once an arc.

#include "CTavroGeoLine.h"

#include "CTavroGeoArc.h"
#include "CTavroGeoPoint.h"
#include "TavroTolerance.h"
#include "acut.h"

#include <algorithm>
#include <cmath>

namespace {

// Bounds the pieces of one arc, so that a vanishing step cannot exhaust memory or time; pieces
// this fine already lie far below any drawing precision.
constexpr long kMaxPiecesPerArc = 1L << 20;
constexpr double kDegree = Tavro::kPi / 180.0;

// ---- Cutting arcs ----

struct ArcCut {
    AcGePoint2d center;
    double radius = 0.0;
    double start = 0.0; // direction of the first vertex from the centre
    double sweep = 0.0; // never negative
    bool ccw = true;
};

// Centre and sweep of the arc p -> q from its sagitta s and radius (h^2 + s^2) / 2s; false when
// the chord gives no finite radius (zero length, NaN or infinite coordinates or bulge).
bool cutArc(const AcGePoint2d& p, const AcGePoint2d& q, double bulge, ArcCut& arc) {
    const double h = p.distanceTo(q) / 2.0;
    const double s = h * std::fabs(bulge);
    const double r = (h * h + s * s) / (2.0 * s);
    if (!(r > 0.0 && std::isfinite(r))) return false;
    arc.ccw = bulge > 0.0;
    const double side = arc.ccw ? -Tavro::kHalfPi : Tavro::kHalfPi;
    acutPolar(CTavroGeoPoint::getMiddlePoint(p, q), acutAngle(p, q) + side, s - r, arc.center);
    arc.radius = r;
    arc.start = acutAngle(arc.center, p);
    const double end = acutAngle(arc.center, q);
    arc.sweep = arc.ccw ? end - arc.start : arc.start - end;
    if (arc.sweep < 0.0) arc.sweep += Tavro::kTwoPi;
    return true;
}

long pieceCount(double sweep, double step) {
    const double ratio = sweep / step;
    if (!(ratio >= 0.0)) return 1;
    if (ratio >= kMaxPiecesPerArc - 1) return kMaxPiecesPerArc;
    return static_cast<long>(ratio) + 1;
}

// R1 is the radius at which a chord's triangle over the central angle delta has the area of
// the arc's sector over delta. The two end pieces keep one vertex on the arc, so the inner
// vertices go out by more than R1 - R to make up for them.
double keepAreaRadius(double radius, double delta, long pieces) {
    const double r1 = std::sqrt((radius * radius * delta / 2.0) / (std::sin(delta) / 2.0));
    const double rootDelta = std::sqrt(delta);
    const double f = pieces / (pieces - 2.0 * rootDelta / (std::sqrt(std::sin(delta)) + rootDelta));
    return radius + (r1 - radius) * f;
}

void appendInnerVertices(const ArcCut& arc, double step, Tavro::ZheXianHuaMethod method,
                         AcArray<AcGePoint2d>& out) {
    const long pieces = pieceCount(arc.sweep, step);
    if (pieces < 2) return;
    const double delta = arc.sweep / pieces;
    const double radius =
        method == Tavro::kKeepArea ? keepAreaRadius(arc.radius, delta, pieces) : arc.radius;
    for (long j = 1; j < pieces; ++j) {
        double theta = arc.ccw ? arc.start + j * delta : arc.start - j * delta;
        if (arc.ccw && theta > Tavro::kTwoPi) theta -= Tavro::kTwoPi;
        if (!arc.ccw && theta < 0.0) theta += Tavro::kTwoPi;
        AcGePoint2d vertex;
        acutPolar(arc.center, theta, radius, vertex);
        out.append(vertex);
    }
}

void endOnFirstVertex(AcArray<AcGePoint2d>& out) {
    const AcGePoint2d first = out.first();
    if (out.last().distanceTo(first) > Tavro::kClosingGap)
        out.append(first);
    else
        out.last() = first;
}

// ---- Finding runs ----

struct Circle {
    AcGePoint2d center;
    double radius = 0.0;
};

bool circleThrough(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c,
                   Circle& circle) {
    return CTavroGeoArc::Circle3Pt(a, b, c, circle.center, circle.radius);
}

bool sameCircle(const Circle& a, const Circle& b, double tol) {
    return a.center.distanceTo(b.center) < tol && std::fabs(a.radius - b.radius) < tol;
}

double chord(const AcArray<AcGePoint2d>& pts, long from, long to) {
    return pts[static_cast<int>(from)].distanceTo(pts[static_cast<int>(to)]);
}

const AcGePoint2d& at(const AcArray<AcGePoint2d>& pts, long index) {
    return pts[static_cast<int>(index)];
}

// Direction of the chord into via minus that of the chord out of it, taken into (-pi, pi] so
// that chords on either side of direction 0 turn by their real angle.
double turnAt(const AcArray<AcGePoint2d>& pts, long from, long via, long to) {
    double turn = acutAngle(at(pts, from), at(pts, via)) - acutAngle(at(pts, via), at(pts, to));
    if (turn > Tavro::kPi) turn -= Tavro::kTwoPi;
    if (turn <= -Tavro::kPi) turn += Tavro::kTwoPi;
    return turn;
}

// Less than 45 degrees either way: the tangent of the turn's magnitude is below 1.
bool gentleTurn(double turn) {
    return std::fabs(turn) < Tavro::kPi / 4.0;
}

void addBreak(QList<long>& breaks, long index) {
    if (breaks.isEmpty() || breaks.last() != index) breaks.append(index);
}

// Two equal chords from i, and the vertex after them on the circle through their three ends.
bool arcStartsAt(const AcArray<AcGePoint2d>& pts, long i, double tol, Circle& circle) {
    if (!(std::fabs(chord(pts, i, i + 1) - chord(pts, i + 1, i + 2)) < tol)) return false;
    Circle check;
    return circleThrough(at(pts, i), at(pts, i + 1), at(pts, i + 2), circle) &&
           circleThrough(at(pts, i), at(pts, i + 2), at(pts, i + 3), check) &&
           sameCircle(circle, check, tol);
}

// Vertex j joins the arc that starts at i: the chord that reaches it is as long as the arc's
// first chord, and it lies on the arc's circle.
bool arcReaches(const AcArray<AcGePoint2d>& pts, long i, long j, const Circle& circle, double tol) {
    if (!(std::fabs(chord(pts, j - 1, j) - chord(pts, i, i + 1)) < tol)) return false;
    Circle check;
    return circleThrough(at(pts, i), at(pts, i + 2), at(pts, j), check) &&
           sameCircle(circle, check, tol);
}

// The chords v-2 -> v-1 and v+1 -> v+2 are equal and a little shorter than the chord at v,
// and the line turns gently at v-1.
bool flanksInterpolated(const AcArray<AcGePoint2d>& pts, long v, double length) {
    const double before = chord(pts, v - 2, v - 1);
    if (!(std::fabs(before - chord(pts, v + 1, v + 2)) <= Tavro::kTol)) return false;
    if (!(before < length && length - before < length * Tavro::kShorterFlank)) return false;
    return gentleTurn(turnAt(pts, v - 2, v - 1, v));
}

// Positions in breaks (first .. last, one vertex apart) whose chord repeats the length kept
// from the chords before it and sits between interpolated flanks.
void collectInterpolated(const AcArray<AcGePoint2d>& pts, const QList<long>& breaks, int first,
                         int last, QList<int>& drops) {
    double kept = 0.0;
    for (int p = first; p < last; ++p) {
        const long v = breaks[p];
        const double length = chord(pts, v, v + 1);
        if (std::fabs(length - kept) > Tavro::kTol) {
            kept = length;
            continue;
        }
        if (p - 2 < first || p + 2 > last || !flanksInterpolated(pts, v, length)) continue;
        drops.append(p);
        ++p; // the break after a dropped one stays
    }
}

bool breaksIndexVertices(const QList<long>& breaks, long count) {
    for (long b : breaks)
        if (b < 0 || b >= count) return false;
    return true;
}

// ---- Rebuilding arcs ----

// Walks the breaks of a broken line and writes one vertex per break, with the bulge of the
// arc through the run to the next break.
class ArcRebuilder {
public:
    ArcRebuilder(const AcArray<AcGePoint2d>& pts, const AcArray<double>& bulges,
                 const QList<long>& breaks, double tol, AcArray<AcGePoint2d>& outPts,
                 AcArray<double>& outBulges)
        : m_pts(pts), m_bulges(bulges), m_breaks(breaks), m_tol(tol), m_outPts(outPts),
          m_outBulges(outBulges), m_count(pts.length()) {}

    void run() {
        int k = 0;
        while (k < m_breaks.size())
            k += emitRun(k);
    }

private:
    // Writes the run from break k; answers how many breaks it used.
    int emitRun(int k) {
        const bool wraps = k + 1 == m_breaks.size();
        const long b1 = m_breaks[k];
        const long b2 = m_breaks[wraps ? 0 : k + 1];
        m_outPts.append(at(m_pts, b1));
        double bulge = m_bulges[static_cast<int>(b1)];
        int used = 1;
        Circle circle;
        if (chordsBetween(b1, b2) > 1 &&
            circleThrough(at(m_pts, b1), vertex(b1 + 1), vertex(b1 + 2), circle)) {
            // A run that wraps ends at the first vertex; its middle is taken short of that.
            const long middle = wraps ? (b1 + m_count - 1) / 2 : (b1 + b2) / 2;
            bulge =
                CTavroGeoArc::geoArcBulgeAny3Point(at(m_pts, b1), at(m_pts, middle), at(m_pts, b2));
            if (!wraps && canWiden(k, circle)) {
                bulge = widen(b1, b2, circle);
                used = 2;
            }
        }
        m_outBulges.append(bulge);
        m_lastKeptVertex = used == 1 ? b1 : -1;
        return used;
    }

    // The run is counted within the working vertices, so the run after the last break ends at
    // the first vertex, whether or not the first vertex was listed again at the end.
    long chordsBetween(long b1, long b2) const { return b2 > b1 ? b2 - b1 : m_count - b1 + b2; }

    const AcGePoint2d& vertex(long index) const { return at(m_pts, index % m_count); }

    // A single chord on each side whose outer ends mirror each other about the arc's circle: the
    // chords were cut from the same arc, their inner vertices pushed off it.
    bool canWiden(int k, const Circle& circle) const {
        const long b1 = m_breaks[k];
        const long b2 = m_breaks[k + 1];
        if (m_lastKeptVertex < 0 || m_lastKeptVertex != b1 - 1) return false;
        if (k + 2 >= m_breaks.size() || m_breaks[k + 2] != b2 + 1) return false;
        const AcGePoint2d& p = at(m_pts, b1 - 1);
        const AcGePoint2d& q = at(m_pts, b2 + 1);
        const double toQ = circle.center.distanceTo(q);
        if (!(std::fabs(circle.center.distanceTo(p) - toQ) < m_tol)) return false;
        if (!(std::fabs(chord(m_pts, b1 - 1, b1) - chord(m_pts, b2, b2 + 1)) < m_tol)) return false;
        if (!(std::fabs(circle.radius - toQ) < Tavro::kWidenRadiusTol)) return false;
        const double turnIn = turnAt(m_pts, b1 - 1, b1, b1 + 1);
        const double turnOut = turnAt(m_pts, b2 - 1, b2, b2 + 1);
        return std::fabs(std::sin(turnIn) - std::sin(turnOut)) < Tavro::kMirrorSineTol &&
               gentleTurn(turnIn);
    }

    // Takes back vertex b1 and the chord before it; the arc runs from b1 - 1 to b2 + 1.
    double widen(long b1, long b2, const Circle& circle) {
        m_outPts.removeLast();
        m_outBulges.removeLast();
        const bool clockwise =
            CTavroGeoPoint::geoIsDeasil(at(m_pts, b1), at(m_pts, b1 + 1), at(m_pts, b2));
        return CTavroGeoArc::geoArcBulge(at(m_pts, b1 - 1), circle.center, at(m_pts, b2 + 1),
                                         clockwise);
    }

    const AcArray<AcGePoint2d>& m_pts;
    const AcArray<double>& m_bulges;
    const QList<long>& m_breaks;
    const double m_tol;
    AcArray<AcGePoint2d>& m_outPts;
    AcArray<double>& m_outBulges;
    const long m_count;
    // The vertex the previous run wrote, or -1 when a widened arc took its vertex back.
    long m_lastKeptVertex = -1;
};

} // namespace

// ---- Arc flattening and recovery ----

bool CTavroGeoLine::GetNodesHaveArc(const AcArray<AcGePoint2d>& pts, const AcArray<double>& bulges,
                                    AcArray<AcGePoint2d>& out, bool closed, double angleStep,
                                    Tavro::ZheXianHuaMethod method) {
    if (&out == &pts) {
        const AcArray<AcGePoint2d> copy = pts;
        return GetNodesHaveArc(copy, bulges, out, closed, angleStep, method);
    }
    const int n = pts.length();
    if (n == 0) return false;
    out.removeAll();
    const double step = angleStep * kDegree;
    const bool useBulges = bulges.length() == n;
    for (int i = 0; i < n; ++i) {
        out.append(pts[i]);
        if (!useBulges || (i == n - 1 && !closed)) continue;
        if (!(std::fabs(bulges[i]) > Tavro::kFlatBulge) || !(step > 0.0)) continue;
        ArcCut arc;
        if (cutArc(pts[i], pts[(i + 1) % n], bulges[i], arc))
            appendInnerVertices(arc, step, method, out);
    }
    if (closed) endOnFirstVertex(out);
    return true;
}

bool CTavroGeoLine::GetNodesHaveArc(AcArray<AcGePoint2d>& out, const AcArray<AcGePoint2d>& pts,
                                    const AcArray<double>& bulges, double arcStep,
                                    Tavro::ZheXianHuaMethod method) {
    if (!(std::fabs(arcStep) >= Tavro::kMinArcStep) || pts.isEmpty()) return false;
    if (&out == &pts) {
        const AcArray<AcGePoint2d> copy = pts;
        return GetNodesHaveArc(out, copy, bulges, arcStep, method);
    }
    const int n = pts.length();
    for (int i = 0; i < n; ++i) {
        const double bulge = i < bulges.length() ? bulges[i] : 0.0;
        // An open polyline has no segment after its last vertex for a bulge there to bend.
        if (std::fabs(bulge) < Tavro::kTol || i == n - 1) {
            out.append(pts[i]);
            continue;
        }
        const double radius = CTavroGeoArc::geoArcRadius(pts[i], pts[i + 1], bulge);
        AcArray<AcGePoint2d> arc;
        if (!GetNodesHaveArc(AcArray<AcGePoint2d>{pts[i], pts[i + 1]}, AcArray<double>{bulge, 0.0},
                             arc, false, arcStep / radius / kDegree, method))
            return false;
        CTavroGeoPoint::geoRemoveSame(arc);
        out.append(arc);
    }
    return true;
}

bool CTavroGeoLine::GetBreakPtofNodes(const AcArray<AcGePoint2d>& pts, QList<long>& breaks,
                                      double tol) {
    const long n = pts.length();
    if (n < 4) return false;
    long i = 0;
    bool arcToEnd = false;
    while (i < n - 4) {
        addBreak(breaks, i);
        arcToEnd = false;
        Circle circle;
        if (!arcStartsAt(pts, i, tol, circle)) {
            ++i;
            continue;
        }
        long j = i + 3;
        while (j < n - 1 && arcReaches(pts, i, j, circle, tol))
            ++j;
        if (j == n - 1) {
            arcToEnd = true;
            break;
        }
        addBreak(breaks, j - 1);
        i = j - 1;
    }
    // The tail is cut into single chords from where the scan stands, an arc's start included.
    if (!breaks.isEmpty())
        for (long k = std::max(i, n - 4); k < n; ++k)
            addBreak(breaks, k);
    return arcToEnd;
}

bool CTavroGeoLine::GetInterpolationBreakNodes(const AcArray<AcGePoint2d>& pts, QList<long>& breaks,
                                               int mode) {
    // Mode 4 looks at every second break only to report, and drops none.
    if (mode != 5 || !breaksIndexVertices(breaks, pts.length())) return false;
    QList<int> drops;
    int first = 0;
    while (first < breaks.size()) {
        int last = first;
        while (last + 1 < breaks.size() && breaks[last + 1] == breaks[last] + 1)
            ++last;
        collectInterpolated(pts, breaks, first, last, drops);
        first = last + 1;
    }
    std::sort(drops.begin(), drops.end());
    for (int k = drops.size() - 1; k >= 0; --k)
        breaks.removeAt(drops[k]);
    return !drops.isEmpty();
}

bool CTavroGeoLine::geoDeconvolution(AcArray<AcGePoint2d>& outPts, AcArray<double>& outBulges,
                                     const AcArray<AcGePoint2d>& pts, const AcArray<double>& bulges,
                                     bool closed, double tol) {
    const int n = pts.length();
    if (n < 4 || bulges.length() != n) return false;
    AcArray<AcGePoint2d> work = pts;
    AcArray<double> workBulges = bulges;
    outPts.removeAll();
    outBulges.removeAll();
    // With the first vertex listed again, the closing chord can end an arc like any other.
    const double lastChord = work[n - 2].distanceTo(work[n - 1]);
    if (closed &&
        std::fabs(lastChord - work[n - 1].distanceTo(work[0])) < Tavro::kClosingChordTol) {
        work.append(work[0]);
        workBulges.append(0.0);
    }
    QList<long> breaks;
    GetBreakPtofNodes(work, breaks, tol);
    GetInterpolationBreakNodes(work, breaks, 5);
    if (breaks.size() < 3) return false;
    ArcRebuilder(work, workBulges, breaks, tol, outPts, outBulges).run();
    if (!closed && outPts.length() > 1 && outPts.last().distanceTo(outPts.first()) < Tavro::kTol &&
        std::fabs(outBulges.last()) < Tavro::kTol) {
        outPts.removeLast();
        outBulges.removeLast();
    }
    return !outPts.isEmpty();
}
