// CTavroAutoDiv: the division engine and its chain joins.

#include "CTavroAutoDiv.h"

#include "CTavroGeoArc.h"
#include "CTavroGeoGlobal.h"
#include "CTavroGeoInternal.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "TavroBoxIndex.h"
#include "TavroTolerance.h"
#include "aced.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// Above this many polylines the status bar shows the cut's progress.
const int kMeterFrom = 400;

// The status-bar meter of a long cut: about a hundred steps, each letting the host's messages
// run once.
class CutMeter {
public:
    explicit CutMeter(int count) : m_count(count), m_step(count / 100.0) {
        if (shown()) acedSetStatusBarProgressMeter(title(), 0, m_count);
    }
    ~CutMeter() {
        if (shown()) acedRestoreStatusBar();
    }
    void before(int i) {
        if (!shown() || i < (m_counter + 1) * m_step) return;
        if (acedSetStatusBarProgressMeterPos(i) < 0) {
            acedSetStatusBarProgressMeter(title(), 0, m_count);
            acedSetStatusBarProgressMeterPos(i);
        }
        acedPumpMessages();
        ++m_counter;
    }

private:
    bool shown() const { return m_count > kMeterFrom; }
    static QString title() { return QString::fromUtf8("正在切割..."); }
    int m_count;
    double m_step;
    int m_counter = -1;
};

Tavro::IndexBox extentBox(const AcGePoint2d& lo, const AcGePoint2d& hi) {
    return {lo.x, lo.y, hi.x, hi.y};
}

// A box the index can hold: finite, with its corners in order. geoIsIntersection can hold for
// any other box too, so such extents are tried against every polyline.
bool ordinary(const Tavro::IndexBox& box) {
    return box.isFinite() && box.minX <= box.maxX && box.minY <= box.maxY;
}

AcArray<double> zeros(int count) {
    AcArray<double> values;
    for (int i = 0; i < count; ++i)
        values.append(0.0);
    return values;
}

bool near(const AcGePoint2d& a, const AcGePoint2d& b) {
    return a.distanceTo(b) < Tavro::kChainEndJoinTol;
}

AcArray<AcGePoint2d> reversed(const AcArray<AcGePoint2d>& pts) {
    AcArray<AcGePoint2d> copy = pts;
    copy.reverse();
    return copy;
}

// The chain with a piece joined before or after it; the chain's own end point gives way to
// the piece's, as joining through the reversed chain leaves it.
AcArray<AcGePoint2d> prepended(const AcArray<AcGePoint2d>& lead,
                               const AcArray<AcGePoint2d>& chain) {
    AcArray<AcGePoint2d> out = lead;
    for (int i = 1; i < chain.length(); ++i)
        out.append(chain[i]);
    return out;
}

AcArray<AcGePoint2d> appended(const AcArray<AcGePoint2d>& chain, const AcArray<AcGePoint2d>& tail) {
    AcArray<AcGePoint2d> out = chain;
    if (!out.isEmpty()) out.removeLast();
    out.append(tail);
    return out;
}

struct NodeOrder {
    bool operator()(const AcGePoint2d& a, const AcGePoint2d& b) const {
        return CTavroLine2P::CompareNode(a, b) == -1;
    }
};

} // namespace

CTavroAutoDiv::CTavroAutoDiv() : m_bRemoveShared(false), m_bSharedRemoved(false) {}

// A copy carries everything: inputs, pieces and outputs as well as the flags.
CTavroAutoDiv::CTavroAutoDiv(const CTavroAutoDiv& other) = default;
CTavroAutoDiv& CTavroAutoDiv::operator=(const CTavroAutoDiv& other) = default;
CTavroAutoDiv::~CTavroAutoDiv() = default;

void CTavroAutoDiv::addPolyline(const AcArray<AcGePoint2d>& pts, const AcArray<double>& bulges,
                                bool split, std::uint64_t id, bool arcExtents) {
    AcGePoint2d lo, hi;
    if (arcExtents) {
        const AcDbExtents box = CTavroGeoArc::GetBulgePolyExtent(pts, bulges, false, 0.0);
        lo = box.minPoint().convert2d();
        hi = box.maxPoint().convert2d();
    } else {
        CTavroGeoPoint::geoNodeExtents(pts, lo, hi, 0.0);
    }
    m_polylines.append(pts);
    m_bulges.append(bulges);
    m_extMins.append(lo);
    m_extMaxs.append(hi);
    m_splitFlags.push_back(split);
    m_owners.push_back({id});
}

void CTavroAutoDiv::AddNodeArr(const AcArray<AcGePoint2d>& pts, bool split, std::uint64_t id) {
    addPolyline(pts, zeros(pts.length()), split, id, false);
}

void CTavroAutoDiv::AddNodeArr(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b,
                               std::uint64_t id) {
    addPolyline(a, zeros(a.length()), true, id, false);
    addPolyline(b, zeros(b.length()), false, id, false);
}

void CTavroAutoDiv::AddNodeArr(const AcArray<AcGePoint2d>& pts, const AcArray<double>& bulges,
                               bool split, std::uint64_t id) {
    addPolyline(pts, bulges, split, id, true);
}

void CTavroAutoDiv::AddNodeArr(QVector<AcArray<AcGePoint2d>>& ps, QVector<AcArray<double>>& bulges,
                               bool split, std::uint64_t id) {
    for (int k = 0; k < ps.size(); ++k)
        addPolyline(ps[k], k < bulges.size() ? bulges[k] : AcArray<double>(), split, id, false);
}

void CTavroAutoDiv::AddNodeArr(QVector<AcArray<AcGePoint2d>>& as, QVector<AcArray<AcGePoint2d>>& bs,
                               std::uint64_t idA, std::uint64_t idB) {
    for (const AcArray<AcGePoint2d>& a : as)
        addPolyline(a, zeros(a.length()), true, idA, false);
    for (const AcArray<AcGePoint2d>& b : bs)
        addPolyline(b, zeros(b.length()), false, idB, false);
}

void CTavroAutoDiv::AddNodeArr(AcArray<AcGePoint2d>& a, AcArray<double>& ba,
                               AcArray<AcGePoint2d>& b, AcArray<double>& bb) {
    if (!a.isEmpty() && !ba.isEmpty()) addPolyline(a, ba, true, 0, true);
    if (!b.isEmpty() && !bb.isEmpty()) addPolyline(b, bb, false, 0, true);
}

void CTavroAutoDiv::gatherCuts(int i, const std::vector<int>& candidates, AcArray<AcGePoint2d>& pts,
                               AcArray<double>& params) {
    AcArray<AcGePoint2d> hits;
    AcArray<double> along;
    for (int j : candidates) {
        if (!CTavroGeoLine::geoIsIntersection(m_extMins[i], m_extMaxs[i], m_extMins[j],
                                              m_extMaxs[j]))
            continue;
        CTavroGeoArc::polylineArcInter(m_polylines[i], m_bulges[i], m_polylines[j], m_bulges[j],
                                       hits, along);
        pts.append(hits);
        params.append(along);
    }
}

void CTavroAutoDiv::cutPolyline(int i, const std::vector<int>& candidates) {
    AcArray<AcGePoint2d> pts;
    AcArray<double> params;
    gatherCuts(i, candidates, pts, params);
    for (int k = std::min(pts.length(), params.length()) - 1; k >= 0; --k) {
        if (std::isfinite(params[k])) continue;
        pts.removeAt(k);
        params.removeAt(k);
    }
    CTavroGeoGlobal::QuickSort(params, pts, 0, params.length() - 1);
    for (int k = params.length() - 2; k >= 0; --k) {
        if (std::fabs(params[k] - params[k + 1]) < Tavro::kSameParam &&
            pts[k].distanceTo(pts[k + 1]) < Tavro::kTol) {
            pts.removeAt(k + 1);
            params.removeAt(k + 1);
        }
    }
    const AcArray<double>& bulges = m_bulges[i];
    for (int k = 0; k + 1 < params.length(); ++k) {
        const double segment = std::trunc(params[k] + Tavro::kParamLift);
        if (segment < 0.0) continue;
        // A bulge array shorter than the polyline leaves the missing segments straight.
        const double b = segment < bulges.length() ? bulges[static_cast<int>(segment)] : 0.0;
        // A bulge below the general tolerance makes a straight piece.
        const double part = std::fabs(b) < Tavro::kTol
                                ? 0.0
                                : CTavroGeoInternal::partBulge(b, params[k + 1] - params[k]);
        storePiece(CTavroLine2P(pts[k], pts[k + 1], part), i);
    }
}

void CTavroAutoDiv::storePiece(const CTavroLine2P& piece, int owner) {
    const std::set<std::uint64_t>& owners = m_owners[static_cast<size_t>(owner)];
    if (m_bRemoveShared) {
        const auto found = m_pieces.find(piece);
        if (found != m_pieces.end()) {
            m_bSharedRemoved = true;
            m_pieces.erase(found);
            return;
        }
    }
    const auto stored = m_pieces.insert(piece).first;
    stored->m_owners.insert(owners.begin(), owners.end());
}

namespace {
// For each polyline to be cut, the polylines whose extents can meet its own, ascending.
template <class Visit>
void forEachSplit(const AcArray<AcGePoint2d>& mins, const AcArray<AcGePoint2d>& maxs,
                  const std::vector<bool>& split, Visit visit) {
    const int n = static_cast<int>(split.size());
    std::vector<Tavro::IndexBox> boxes(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const Tavro::IndexBox box = extentBox(mins[i], maxs[i]);
        // Boxes the index cannot order are listed by every query, as unbounded ones are.
        boxes[static_cast<size_t>(i)] = ordinary(box) ? box : Tavro::IndexBox{NAN, NAN, NAN, NAN};
    }
    const Tavro::BoxIndex index(boxes);
    std::vector<int> candidates;
    CutMeter meter(n);
    for (int i = 0; i < n; ++i) {
        meter.before(i);
        if (!split[static_cast<size_t>(i)]) continue;
        candidates.clear();
        if (ordinary(boxes[static_cast<size_t>(i)])) {
            index.querySorted(boxes[static_cast<size_t>(i)], candidates);
        } else {
            for (int j = 0; j < n; ++j)
                candidates.push_back(j);
        }
        visit(i, candidates);
    }
}
} // namespace

void CTavroAutoDiv::RunDiv(bool compareWithDirect) {
    CTavroLine2P::m_bCompareWithDirect = compareWithDirect;
    forEachSplit(m_extMins, m_extMaxs, m_splitFlags,
                 [&](int i, const std::vector<int>& candidates) { cutPolyline(i, candidates); });
}

void CTavroAutoDiv::GetInterPt() {
    forEachSplit(m_extMins, m_extMaxs, m_splitFlags,
                 [&](int i, const std::vector<int>& candidates) {
                     AcArray<AcGePoint2d> pts;
                     AcArray<double> params;
                     gatherCuts(i, candidates, pts, params);
                 });
}

void CTavroAutoDiv::ShowMePolyline() {
    for (const CTavroLine2P& piece : m_pieces) {
        m_outPolylines.append(AcArray<AcGePoint2d>{piece.m_start, piece.m_end});
        m_outBulges.append(AcArray<double>{piece.m_bulge, 0.0});
        m_outOwners.push_back(piece.m_owners);
    }
}

void CTavroAutoDiv::Parttion(AcArray<double>& keys, AcArray<AcGePoint2d>& points, int& low,
                             int high) {
    if (low < 0 || high >= std::min(keys.length(), points.length()) || low > high) return;
    const double pivot = keys[low];
    int j = high;
    auto swap = [&](int a, int b) {
        std::swap(keys[a], keys[b]);
        std::swap(points[a], points[b]);
    };
    while (low != j) {
        while (keys[j] >= pivot && low < j)
            --j;
        if (low < j) swap(low++, j);
        while (keys[low] <= pivot && low < j)
            ++low;
        if (low < j) swap(low, j--);
    }
}

void CTavroAutoDiv::ConnectNodes(QVector<AcArray<AcGePoint2d>>& in,
                                 QVector<AcArray<AcGePoint2d>>& out) {
    // How many piece ends meet at each node; a chain runs on only through nodes of two.
    std::map<AcGePoint2d, int, NodeOrder> ends;
    for (const AcArray<AcGePoint2d>& piece : in) {
        if (piece.isEmpty()) continue;
        ++ends[piece.first()];
        ++ends[piece.last()];
    }
    auto passThrough = [&](const AcGePoint2d& p) {
        const auto it = ends.find(p);
        return it != ends.end() && it->second == 2;
    };
    QVector<AcArray<AcGePoint2d>> remaining;
    for (const AcArray<AcGePoint2d>& piece : in)
        if (!piece.isEmpty()) remaining.append(piece);
    AcArray<AcGePoint2d> current;
    while (!remaining.isEmpty()) {
        if (current.isEmpty()) current = remaining.takeFirst();
        bool joinedOne = false;
        for (int k = 0; k < remaining.size() && !joinedOne; ++k) {
            const AcArray<AcGePoint2d>& piece = remaining[k];
            const AcGePoint2d first = current.first(), last = current.last();
            if (passThrough(first) && near(piece.first(), first)) {
                current = prepended(reversed(piece), current);
                joinedOne = true;
            } else if (passThrough(first) && near(piece.last(), first)) {
                current = prepended(piece, current);
                joinedOne = true;
            } else if (passThrough(last) && near(piece.first(), last)) {
                current = appended(current, piece);
                joinedOne = true;
            } else if (passThrough(last) && near(piece.last(), last)) {
                current = appended(current, reversed(piece));
                joinedOne = true;
            }
            if (joinedOne) remaining.removeAt(k);
        }
        if (!joinedOne || remaining.isEmpty()) {
            out.append(current);
            current.removeAll();
        }
    }
    if (!current.isEmpty()) out.append(current);
}

void CTavroAutoDiv::ConnectNodes(QVector<AcArray<AcGePoint2d>>& in,
                                 QVector<AcArray<double>>& inBulges,
                                 QVector<AcArray<AcGePoint2d>>& out,
                                 QVector<AcArray<double>>& outBulges) {
    struct Chain {
        AcArray<AcGePoint2d> pts;
        AcArray<double> bulges;
        void reverse() {
            CTavroGeoPoint::geoReverseBulge(bulges);
            pts.reverse();
        }
        // This chain followed by next, the shared point and the lead's last bulge once.
        void append(const Chain& next) {
            if (!pts.isEmpty()) pts.removeLast();
            if (!bulges.isEmpty()) bulges.removeLast();
            pts.append(next.pts);
            bulges.append(next.bulges);
        }
    };
    QVector<Chain> remaining;
    for (int k = 0; k < in.size(); ++k)
        if (!in[k].isEmpty())
            remaining.append({in[k], k < inBulges.size() ? inBulges[k] : zeros(in[k].length())});
    Chain current;
    while (!remaining.isEmpty()) {
        if (current.pts.isEmpty()) current = remaining.takeFirst();
        bool joinedOne = false;
        for (int k = 0; k < remaining.size() && !joinedOne; ++k) {
            Chain piece = remaining[k];
            const AcGePoint2d first = current.pts.first(), last = current.pts.last();
            if (near(piece.pts.first(), first)) { // first-first: the piece turned leads
                piece.reverse();
                piece.append(current);
                current = piece;
            } else if (near(piece.pts.last(), first)) { // first-last: the piece leads
                piece.append(current);
                current = piece;
            } else if (near(piece.pts.first(), last)) { // last-first: the piece follows
                current.append(piece);
            } else if (near(piece.pts.last(), last)) { // last-last: the piece turned follows
                piece.reverse();
                current.append(piece);
            } else {
                continue;
            }
            joinedOne = true;
            remaining.removeAt(k);
        }
        if (!joinedOne || remaining.isEmpty()) {
            out.append(current.pts);
            outBulges.append(current.bulges);
            current = Chain();
        }
    }
    if (!current.pts.isEmpty()) {
        out.append(current.pts);
        outBulges.append(current.bulges);
    }
}
