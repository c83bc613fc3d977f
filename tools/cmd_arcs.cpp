// tavro flatten and tavro recover-arcs: bulge arcs to chords and chords back to bulge arcs,
// polylines read and written in the CSV format of tavro measure.

#include "CliSupport.h"
#include "Commands.h"
#include "PolylineCsv.h"

#include "CTavroGeoArc.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "CTavroGeoReports.h"
#include "TavroTolerance.h"

#include <cmath>
#include <cstdio>

namespace tavro {

const char* const kFlattenHelp =
    "usage: tavro flatten [--angle DEGREES | --arc-step LENGTH] [--method on-arc|keep-area]\n"
    "                     [--open] [-o FILE] FILE\n\n"
    "Cuts every bulge arc of the polylines into chords (all bulges 0).\n\n"
    "Input:\n"
    "  FILE: bulge polylines as CSV (see tavro --help for the columns).\n\n"
    "Output:\n"
    "  The polylines in the same CSV format: a header row (id,x,y,bulge, or x,y,bulge when no\n"
    "  polyline has an id), one row per vertex, numbers in their shortest exact form, a blank\n"
    "  line between polylines.\n\n"
    "Options:\n"
    "  --angle DEGREES     cut each arc into trunc(sweep / DEGREES) + 1 equal pieces, so no\n"
    "                      piece spans more than DEGREES of the arc (default: --angle 5)\n"
    "  --arc-step LENGTH   cut each arc into pieces of about LENGTH of arc, in drawing units\n"
    "                      (at least 0.001)\n"
    "  --method on-arc     put the new vertices on the arc (the default)\n"
    "  --method keep-area  push them outwards so that the chords enclose each arc's area\n"
    "  --open              take each polyline as open: a bulge on its last vertex is ignored\n\n"
    "Without --open each polyline is a ring closed back to its first vertex, as tavro measure\n"
    "reads it: the bulge on its last vertex bends the closing segment, and the written ring\n"
    "ends on its first vertex again. Arcs whose bulge is 0.001 or less stay single chords.\n"
    "A request that would cut one arc into more than 1048576 pieces, or write more than\n"
    "10000000 vertices in all, is refused as bad usage (status 2) naming the option.\n";

const char* const kRecoverArcsHelp =
    "usage: tavro recover-arcs [--tol TOL] [--min-chords N] [--open] [-o FILE] FILE\n\n"
    "Turns each run of equal chords that follows one circle back into one vertex with a bulge.\n\n"
    "Input:\n"
    "  FILE: polylines drawn as short chords, CSV (see tavro --help for the columns).\n\n"
    "Output:\n"
    "  The polylines in the CSV format of tavro flatten. Other vertices keep their bulges; a\n"
    "  polyline with no such run (or fewer than 5 vertices) is written as read.\n\n"
    "Options:\n"
    "  --tol TOL       how far chord lengths, circle centres and radii may differ within one\n"
    "                  run, in drawing units (default 0.001)\n"
    "  --min-chords N  how many equal chords a run needs before it is taken for an arc\n"
    "                  (default 13, so regular polygons of up to 12 sides stay polygons;\n"
    "                  at least 2); a shorter run keeps its vertices as drawn\n"
    "  --open          take each polyline as open\n\n"
    "Without --open each polyline is a ring closed back to its first vertex, whose closing\n"
    "chord may end an arc, and a ring listed with its first vertex again keeps it. An arc that\n"
    "runs to the end of a listing keeps its last three chords. Chords cut by tavro flatten\n"
    "at 5 degrees or finer come back as the arcs they were cut from:\n"
    "  tavro flatten --angle 5 parcels.csv | tavro recover-arcs -\n";

namespace {

// A run needs this many equal chords to be taken for an arc: a regular polygon of up to 12
// sides stays a polygon.
const int kDefaultMinChords = 13;

// The option's value as a finite number of at least minimum (or above 0 when minimum is 0).
bool readNumber(const ParsedArgs& args, const QString& name, double minimum, double& value,
                QString& error) {
    if (!args.values.contains(name)) return true;
    bool ok = false;
    value = args.value(name).toDouble(&ok);
    if (ok && std::isfinite(value) && (minimum > 0.0 ? value >= minimum : value > 0.0)) return true;
    error =
        minimum > 0.0
            ? QString("%1 needs a number of at least %2, got \"%3\"")
                  .arg(name)
                  .arg(minimum)
                  .arg(shown(args.value(name)))
            : QString("%1 needs a number above 0, got \"%2\"").arg(name, shown(args.value(name)));
    return false;
}

AcArray<double> zeros(int n) {
    AcArray<double> out;
    for (int i = 0; i < n; ++i)
        out.append(0.0);
    return out;
}

// ---- flatten ----

struct FlattenSettings {
    double angle = 5.0;
    double arcStep = 0.0; // cut by arc length when set
    Tavro::ZheXianHuaMethod method = Tavro::kVerticesOnArc;
    bool open = false;
};

bool readFlattenSettings(const ParsedArgs& args, FlattenSettings& s, QString& error) {
    if (args.values.contains("--angle") && args.values.contains("--arc-step")) {
        error = "give --angle or --arc-step, not both";
        return false;
    }
    if (!readNumber(args, "--angle", 0.0, s.angle, error) ||
        !readNumber(args, "--arc-step", Tavro::kDefaultArcStep, s.arcStep, error))
        return false;
    const QString method = args.value("--method", "on-arc");
    if (method == "on-arc" || method == "0")
        s.method = Tavro::kVerticesOnArc;
    else if (method == "keep-area" || method == "1")
        s.method = Tavro::kKeepArea;
    else {
        error = QString("--method is on-arc or keep-area, got \"%1\"").arg(shown(method));
        return false;
    }
    s.open = args.flags.contains("--open");
    return true;
}

// The most pieces one arc may be cut into, and the most vertices one run may write.
const double kMostPiecesPerArc = 1048576.0;
const double kMostVerticesWritten = 10000000.0;

// The number of pieces the library cuts the arc from vertex i into.
double piecesOfArc(const Tavro::NodeBulge& shape, int i, const FlattenSettings& s) {
    return CTavroGeoReports::flattenedPieces(shape, i, s.open, s.angle * Tavro::kPi / 180.0,
                                             s.arcStep);
}

// Refuses settings that would cut an arc into more pieces than the library makes or write more
// vertices than any drawing needs; the message names the option that asked for them.
bool withinBounds(const QVector<CsvPolyline>& polylines, const FlattenSettings& s, QString& error) {
    const QString option = s.arcStep > 0.0 ? QString("--arc-step %1").arg(s.arcStep)
                                           : QString("--angle %1").arg(s.angle);
    double total = 0.0;
    for (int p = 0; p < polylines.size(); ++p) {
        const Tavro::NodeBulge& shape = polylines[p].shape;
        for (int i = 0; i < shape.nodes.length(); ++i) {
            const double pieces = piecesOfArc(shape, i, s);
            if (pieces > kMostPiecesPerArc) {
                error = QString("%1 would cut the arc at polyline %2 vertex %3 into %4 pieces, "
                                "more than the %5 one arc may have; give a larger value")
                            .arg(option)
                            .arg(p + 1)
                            .arg(i + 1)
                            .arg(pieces, 0, 'f', 0)
                            .arg(kMostPiecesPerArc, 0, 'f', 0);
                return false;
            }
            total += pieces;
        }
    }
    if (total <= kMostVerticesWritten) return true;
    error = QString("%1 would write %2 vertices, more than %3; give a larger value")
                .arg(option)
                .arg(total, 0, 'f', 0)
                .arg(kMostVerticesWritten, 0, 'f', 0);
    return false;
}

// The arc-length cut reads an open listing, so a ring gets its first vertex again at the end
// to make its closing segment an ordinary one; the cut repeats every arc's end vertex.
bool flattenByArcLength(const Tavro::NodeBulge& in, const FlattenSettings& s,
                        AcArray<AcGePoint2d>& out) {
    AcArray<AcGePoint2d> nodes = in.nodes;
    AcArray<double> bulges = in.bulges;
    if (!s.open && nodes.last().distanceTo(nodes.first()) >= Tavro::kTol) {
        nodes.append(nodes.first());
        bulges.append(0.0);
    }
    if (!CTavroGeoLine::GetNodesHaveArc(out, nodes, bulges, s.arcStep, s.method)) return false;
    CTavroGeoPoint::geoRemoveSame(out);
    return true;
}

bool flatten(Tavro::NodeBulge& shape, const FlattenSettings& s) {
    AcArray<AcGePoint2d> out;
    const bool done = s.arcStep > 0.0
                          ? flattenByArcLength(shape, s, out)
                          : CTavroGeoLine::GetNodesHaveArc(shape.nodes, shape.bulges, out, !s.open,
                                                           s.angle, s.method);
    if (!done) return false;
    shape.nodes = out;
    shape.bulges = zeros(out.length());
    return true;
}

// ---- recover-arcs ----

} // namespace

int runFlatten(const QStringList& argList) {
    ParsedArgs args;
    FlattenSettings settings;
    QString error;
    if (!parseArgs(argList,
                   {{"--angle", nullptr, true},
                    {"--arc-step", nullptr, true},
                    {"--method", nullptr, true},
                    {"--open", nullptr, false},
                    kOutputOption},
                   1, 1, args, error) ||
        !readFlattenSettings(args, settings, error))
        return usageError("flatten", error);
    QVector<CsvPolyline> polylines;
    if (!readPolylines(args.files[0], polylines, error)) return dataError("flatten", error);
    if (!withinBounds(polylines, settings, error)) return usageError("flatten", error);
    for (int i = 0; i < polylines.size(); ++i)
        if (!flatten(polylines[i].shape, settings))
            return dataError("flatten", QString("polyline %1 could not be flattened").arg(i + 1));
    if (!writePolylines(args.output(), polylines, error)) return dataError("flatten", error);
    return kExitOk;
}

int runRecoverArcs(const QStringList& argList) {
    ParsedArgs args;
    QString error;
    double tol = Tavro::kDefaultRecoveryTol;
    double minChords = kDefaultMinChords;
    if (!parseArgs(argList,
                   {{"--tol", nullptr, true},
                    {"--min-chords", nullptr, true},
                    {"--open", nullptr, false},
                    kOutputOption},
                   1, 1, args, error) ||
        !readNumber(args, "--tol", 0.0, tol, error) ||
        !readNumber(args, "--min-chords", 2.0, minChords, error))
        return usageError("recover-arcs", error);
    if (minChords != std::floor(minChords) || minChords > 1e6)
        return usageError("recover-arcs",
                          QString("--min-chords needs a whole number from 2 to 1000000, got \"%1\"")
                              .arg(shown(args.value("--min-chords"))));
    const bool closed = !args.flags.contains("--open");
    QVector<CsvPolyline> polylines;
    if (!readPolylines(args.files[0], polylines, error)) return dataError("recover-arcs", error);
    for (CsvPolyline& line : polylines) {
        Tavro::NodeBulge recovered;
        if (!CTavroGeoLine::geoDeconvolution(recovered.nodes, recovered.bulges, line.shape.nodes,
                                             line.shape.bulges, closed, tol))
            continue; // no run found: the polyline stays as read
        CTavroGeoReports::keepShortArcRunsAsDrawn(line.shape, closed, int(minChords), recovered);
        line.shape = recovered;
    }
    if (!writePolylines(args.output(), polylines, error)) return dataError("recover-arcs", error);
    return kExitOk;
}

} // namespace tavro
