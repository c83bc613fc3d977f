// tavro flatten and tavro recover-arcs: bulge arcs to chords and chords back to bulge arcs,
// polylines read and written in the CSV format of tavro measure.

#include "Commands.h"
#include "PolylineCsv.h"

#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "TavroTolerance.h"

#include <QMap>

#include <cmath>
#include <cstdio>

namespace tavro {

const char* const kFlattenHelp =
    "usage: tavro flatten [--angle DEGREES | --arc-step LENGTH] [--method on-arc|keep-area]\n"
    "                     [--open] [--output FILE] FILE\n\n"
    "Reads bulge polylines from FILE (CSV, see tavro --help; '-' reads standard input) and\n"
    "writes them back in the same CSV format with every arc cut into chords (all bulges 0).\n\n"
    "  --angle DEGREES     cut each arc into trunc(sweep / DEGREES) + 1 equal pieces, so no\n"
    "                      piece spans more than DEGREES of the arc (default: --angle 5)\n"
    "  --arc-step LENGTH   cut each arc into pieces of about LENGTH of arc, in drawing units\n"
    "                      (at least 0.001)\n"
    "  --method on-arc     put the new vertices on the arc (the default)\n"
    "  --method keep-area  push them outwards so that the chords enclose each arc's area\n"
    "  --open              take each polyline as open: a bulge on its last vertex is ignored\n"
    "  --output FILE       write to FILE instead of standard output\n\n"
    "Without --open each polyline is a ring closed back to its first vertex, as tavro measure\n"
    "reads it: the bulge on its last vertex bends the closing segment, and the written ring\n"
    "ends on its first vertex again. Arcs whose bulge is 0.001 or less stay single chords.\n\n"
    "Exit status: 0 on success, 1 on a bad file (reported as FILE:LINE:COLUMN), 2 on\n"
    "bad usage.\n";

const char* const kRecoverArcsHelp =
    "usage: tavro recover-arcs [--tol TOL] [--open] [--output FILE] FILE\n\n"
    "Reads polylines drawn as short chords from FILE (CSV, see tavro --help; '-' reads\n"
    "standard input) and writes them back in the same CSV format, each run of equal chords\n"
    "that follows one circle turned back into one vertex with a bulge. Other vertices keep\n"
    "their bulges; a polyline with no such run (or fewer than 5 vertices) is written as read.\n\n"
    "  --tol TOL      how far chord lengths, circle centres and radii may differ within one\n"
    "                 run, in drawing units (default 0.001)\n"
    "  --open         take each polyline as open\n"
    "  --output FILE  write to FILE instead of standard output\n\n"
    "Without --open each polyline is a ring closed back to its first vertex, whose closing\n"
    "chord may end an arc, and a ring listed with its first vertex again keeps it. An arc that\n"
    "runs to the end of a listing keeps its last three chords. Chords cut by tavro flatten\n"
    "come back as the arcs they were cut from:\n"
    "  tavro flatten --angle 5 parcels.csv | tavro recover-arcs -\n\n"
    "Exit status: 0 on success, 1 on a bad file (reported as FILE:LINE:COLUMN), 2 on\n"
    "bad usage.\n";

namespace {

struct Args {
    QMap<QString, QString> values; // option -> value; a flag maps to an empty value
    QStringList files;
};

// Splits "--name value", "--name=value", flags and file names; "-o" is "--output". false with
// a message for an unknown option, a missing value or anything but one file.
bool splitArgs(const QStringList& args, const QStringList& valueOptions, const QStringList& flags,
               Args& out, QString& error) {
    for (int i = 0; i < args.size(); ++i) {
        QString name = args[i] == "-o" ? "--output" : args[i];
        if (!name.startsWith("-") || name == "-") {
            out.files << name;
            continue;
        }
        QString value;
        const int equals = name.indexOf('=');
        if (equals > 0) {
            value = name.mid(equals + 1);
            name = name.left(equals);
        } else if (valueOptions.contains(name)) {
            if (i + 1 >= args.size()) {
                error = QString("%1 needs a value").arg(name);
                return false;
            }
            value = args[++i];
        }
        if (!valueOptions.contains(name) && !(flags.contains(name) && equals < 0)) {
            error = QString("unknown option \"%1\"").arg(args[i]);
            return false;
        }
        out.values[name] = value;
    }
    if (out.files.size() != 1) {
        error = out.files.isEmpty()
                    ? "no input FILE given"
                    : QString("one input FILE expected, got %1").arg(out.files.size());
        return false;
    }
    return true;
}

// The option's value as a finite number of at least minimum (or above 0 when minimum is 0).
bool readNumber(const Args& args, const QString& name, double minimum, double& value,
                QString& error) {
    if (!args.values.contains(name)) return true;
    bool ok = false;
    value = args.values[name].toDouble(&ok);
    if (ok && std::isfinite(value) && (minimum > 0.0 ? value >= minimum : value > 0.0)) return true;
    error = minimum > 0.0
                ? QString("%1 needs a number of at least %2, got \"%3\"")
                      .arg(name)
                      .arg(minimum)
                      .arg(args.values[name])
                : QString("%1 needs a number above 0, got \"%2\"").arg(name, args.values[name]);
    return false;
}

int usageError(const char* verb, const QString& error) {
    std::fprintf(stderr, "tavro %s: %s (see tavro %s --help)\n", verb, error.toUtf8().constData(),
                 verb);
    return kExitUsage;
}

int dataError(const char* verb, const QString& error) {
    std::fprintf(stderr, "tavro %s: %s\n", verb, error.toUtf8().constData());
    return kExitDataError;
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

bool readFlattenSettings(const Args& args, FlattenSettings& s, QString& error) {
    if (args.values.contains("--angle") && args.values.contains("--arc-step")) {
        error = "give --angle or --arc-step, not both";
        return false;
    }
    if (!readNumber(args, "--angle", 0.0, s.angle, error) ||
        !readNumber(args, "--arc-step", 0.001, s.arcStep, error))
        return false;
    const QString method = args.values.value("--method", "on-arc");
    if (method == "on-arc" || method == "0")
        s.method = Tavro::kVerticesOnArc;
    else if (method == "keep-area" || method == "1")
        s.method = Tavro::kKeepArea;
    else {
        error = QString("--method is on-arc or keep-area, got \"%1\"").arg(method);
        return false;
    }
    s.open = args.values.contains("--open");
    return true;
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

} // namespace

int runFlatten(const QStringList& argList) {
    Args args;
    FlattenSettings settings;
    QString error;
    if (!splitArgs(argList, {"--angle", "--arc-step", "--method", "--output"}, {"--open"}, args,
                   error) ||
        !readFlattenSettings(args, settings, error))
        return usageError("flatten", error);
    QVector<CsvPolyline> polylines;
    if (!readPolylines(args.files[0], polylines, error)) return dataError("flatten", error);
    for (int i = 0; i < polylines.size(); ++i)
        if (!flatten(polylines[i].shape, settings))
            return dataError("flatten", QString("polyline %1 could not be flattened").arg(i + 1));
    if (!writePolylines(args.values.value("--output", "-"), polylines, error))
        return dataError("flatten", error);
    return kExitOk;
}

int runRecoverArcs(const QStringList& argList) {
    Args args;
    QString error;
    double tol = 0.001;
    if (!splitArgs(argList, {"--tol", "--output"}, {"--open"}, args, error) ||
        !readNumber(args, "--tol", 0.0, tol, error))
        return usageError("recover-arcs", error);
    const bool closed = !args.values.contains("--open");
    QVector<CsvPolyline> polylines;
    if (!readPolylines(args.files[0], polylines, error)) return dataError("recover-arcs", error);
    for (CsvPolyline& line : polylines) {
        AcArray<AcGePoint2d> nodes;
        AcArray<double> bulges;
        if (!CTavroGeoLine::geoDeconvolution(nodes, bulges, line.shape.nodes, line.shape.bulges,
                                             closed, tol))
            continue; // no run found: the polyline stays as read
        line.shape.nodes = nodes;
        line.shape.bulges = bulges;
    }
    if (!writePolylines(args.values.value("--output", "-"), polylines, error))
        return dataError("recover-arcs", error);
    return kExitOk;
}

} // namespace tavro
