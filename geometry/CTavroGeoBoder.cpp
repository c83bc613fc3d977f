#include "CTavroGeoBoder.h"

#include "CTavroAutoDiv.h"
#include "CTavroAutoLoop.h"
#include "CTavroGeoInternal.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "CTavroLine2P.h"
#include "TavroTolerance.h"

#include <cmath>
#include <set>

namespace {

// The angle step of the broken line a region is measured by, in degrees.
const double kAreaStep = 20.0;

bool shortChords(const AcArray<AcGePoint2d>& pts) {
    for (int k = 0; k + 1 < pts.length(); ++k)
        if (!(pts[k].distanceTo(pts[k + 1]) <= Tavro::kShortChord)) return false;
    return true;
}

bool anyArc(const AcArray<double>& bulges) {
    for (double b : bulges)
        if (std::fabs(b) > Tavro::kTol) return true;
    return false;
}

// Arcs drawn as short chords recovered.
void recoverArcs(AcArray<AcGePoint2d>& pts, AcArray<double>& bulges) {
    if (pts.isEmpty()) return;
    const bool closed = pts.last().distanceTo(pts.first()) < Tavro::kTol;
    if (anyArc(bulges) && shortChords(pts)) {
        AcArray<AcGePoint2d> outPts;
        AcArray<double> outBulges;
        if (CTavroGeoLine::geoDeconvolution(outPts, outBulges, pts, bulges, closed,
                                            Tavro::kBorderRecoveryTol) &&
            !outPts.isEmpty()) {
            pts = outPts;
            bulges = outBulges;
        }
    }
}

// The loop's area as its broken line measures it, or -1 when it is too thin to be a region.
double regionArea(AcArray<AcGePoint2d>& loop, AcArray<double>& bulges) {
    CTavroGeoPoint::geoRemoveSameNodes(loop, bulges, Tavro::kLoopSameTol);
    if (loop.length() <= 2 && !anyArc(bulges)) return -1.0;
    AcArray<AcGePoint2d> line;
    CTavroGeoLine::GetNodesHaveArc(loop, bulges, line, true, kAreaStep, Tavro::kVerticesOnArc);
    return CTavroGeoPoint::geoArea(line);
}

} // namespace

CTavroGeoBoder::CTavroGeoBoder() = default;
CTavroGeoBoder::CTavroGeoBoder(const CTavroGeoBoder&) = default;
CTavroGeoBoder& CTavroGeoBoder::operator=(const CTavroGeoBoder&) = default;
CTavroGeoBoder::~CTavroGeoBoder() = default;

void CTavroGeoBoder::geoGetBoders(QVector<AcArray<AcGePoint2d>>& outPts,
                                  QVector<AcArray<double>>& outBulges,
                                  const QVector<AcArray<AcGePoint2d>>& pts,
                                  const QVector<AcArray<double>>& bulges, bool clockwiseLoops,
                                  double minArea) {
    // Arcs recovered polyline by polyline, then every vertex snapped to the ones before it, and
    // every segment kept once, whichever way it was drawn.
    QVector<AcArray<AcGePoint2d>> prepared = pts;
    QVector<AcArray<double>> preparedBulges(pts.size());
    for (int i = 0; i < pts.size(); ++i) {
        if (i < bulges.size()) preparedBulges[i] = bulges[i];
        recoverArcs(prepared[i], preparedBulges[i]);
    }
    CTavroGeoInternal::snapVertices(prepared);
    CTavroLine2P::m_bCompareWithDirect = false;
    std::set<CTavroLine2P> pieces;
    for (int i = 0; i < prepared.size(); ++i) {
        const AcArray<AcGePoint2d>& p = prepared[i];
        const AcArray<double>& b = preparedBulges[i];
        for (int k = 0; k + 1 < p.length(); ++k)
            pieces.insert(CTavroLine2P(p[k], p[k + 1], k < b.length() ? b[k] : 0.0));
    }

    CTavroAutoDiv div;
    AcArray<AcGePoint2d> none;
    AcArray<double> noBulges;
    for (const CTavroLine2P& piece : pieces) {
        AcArray<AcGePoint2d> ends{piece.m_start, piece.m_end};
        AcArray<double> endBulges{piece.m_bulge, 0.0};
        div.AddNodeArr(ends, endBulges, none, noBulges);
    }
    div.RunDiv(false);
    div.ShowMePolyline();

    CTavroAutoLoop loops;
    for (int k = 0; k < div.m_outPolylines.size(); ++k)
        loops.AddEdge(div.m_outPolylines[k], div.m_outBulges[k], true, 0);
    loops.GetBulgesDoubleLoops(clockwiseLoops ? 1 : 0);

    for (int k = 0; k < loops.m_loops.size(); ++k) {
        AcArray<AcGePoint2d> loop = loops.m_loops[k];
        AcArray<double> loopBulges;
        if (k < loops.m_loopBulges.size())
            loopBulges = loops.m_loopBulges[k];
        else
            for (int v = 0; v < loop.length(); ++v)
                loopBulges.append(0.0);
        if (regionArea(loop, loopBulges) > minArea) {
            outPts.append(loop);
            outBulges.append(loopBulges);
        }
    }
}
