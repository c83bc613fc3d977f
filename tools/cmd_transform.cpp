// tavro transform: points through a chain of datum and projection models.

#include "Commands.h"
#include "GeodesyTables.h"

#include "TavroGeometric142.h"

#include <cmath>
#include <memory>
#include <vector>

namespace tavro {

const char* const kTransformHelp =
    "usage: tavro transform --chain SPEC [--from KIND] [-o FILE] FILE\n\n"
    "Runs every point of FILE through a chain of models, in order.\n\n"
    "Input:\n"
    "  FILE: CSV whose header names the columns x, y and optionally z (0 when absent).\n"
    "  Geodetic points give x latitude, y longitude in decimal degrees; plane points put the\n"
    "  easting in x. A point a step cannot take (a latitude beyond 90 degrees, a Cartesian\n"
    "  point within 1000 km of the earth's centre, a plane point outside a Gauss zone for\n"
    "  pmdd) or a result that is not finite is an error naming FILE:LINE and the step.\n\n"
    "Output:\n"
    "  Every input column, then X, Y, Z: 9 decimals for a geodetic end (degrees), else 4.\n"
    "  Nothing is written unless every row converts.\n\n"
    "Options:\n"
    "  --chain SPEC   a comma-separated list of models, each NAME:ARG:ARG..., each taking the\n"
    "                 kind of points the one before it gives (a chain that does not connect\n"
    "                 is refused, naming the step):\n"
    "    pmdd:ELLIPSOID:DEG   plane -> geodetic; DEG the central meridian (-180 to 180); a\n"
    "                         zone prefix is removed\n"
    "    ddkj:ELLIPSOID       geodetic -> earth-centred Cartesian (X, Y, Z)\n"
    "    kj7:@FILE            Cartesian -> Cartesian, 7-parameter similarity, parameters from\n"
    "    kj7:DX:DY:DZ:M:EX:EY:EZ   tavro fit7's output, or given (metres, scale change, radians)\n"
    "    kjdd:ELLIPSOID       Cartesian -> geodetic\n"
    "    ddpm:ELLIPSOID:DEG   geodetic -> plane, false easting 500000, no zone prefix\n"
    "    pm4:@FILE | pm4:DX:DY:ROTATION:SCALE          plane -> plane (tavro fit4)\n"
    "    hf2:@FILE | hf2:X0:Y0:A0:A1:A2:A3:A4:A5        height surface, any kind (tavro\n"
    "                                                   fit-height)\n"
    "                 ELLIPSOID is wgs84, xian80, cgcs2000 or beijing54; @- reads a\n"
    "                 parameter file from standard input.\n"
    "  --from KIND    the kind of the input points: plane, geodetic or cartesian (default:\n"
    "                 the kind the first step takes)\n\n"
    "Example, Beijing 1954 plane to CGCS 2000 plane:\n"
    "  --chain pmdd:beijing54:117,ddkj:beijing54,kj7:@seven.csv,kjdd:cgcs2000,"
    "ddpm:cgcs2000:117\n";

const double kRadToDeg = 180.0 / Tavro::kPi;

namespace {

enum class Side { kPlane, kGeodetic, kCartesian, kAny };

// One model of a chain spec, with the kind of triple it takes and gives.
struct Step {
    std::unique_ptr<CTavroPCoreObject> model;
    Side in;
    Side out;
};

// Numbers given inline (NAME:N:N:...) or read from a parameter table (NAME:@FILE).
bool stepNumbers(const QStringList& parts, const char* model, const QStringList& names,
                 std::vector<double>& values, QString& usage, QStringList& errors) {
    if (parts.size() == 2 && parts[1].startsWith('@'))
        return readParameters(parts[1].mid(1), model, names, values, errors);
    if (parts.size() != names.size() + 1) {
        usage = QString("%1 takes @FILE or %2 numbers").arg(model).arg(names.size());
        return false;
    }
    values.clear();
    for (int i = 1; i < parts.size(); ++i) {
        double v = 0.0;
        if (!finiteNumber(parts[i], v)) {
            usage = QString("%1: \"%2\" is not a number").arg(shown(parts[0]), shown(parts[i]));
            return false;
        }
        values.push_back(v);
    }
    return true;
}

// The ellipsoid (and central meridian in radians, when wanted) of a projection step.
bool stepEllipsoid(const QStringList& parts, bool withMeridian, double& a, double& rf,
                   double& meridian, QString& usage) {
    Tavro::TavroCoorSystem system = Tavro::kCoorUnknown;
    const int expected = withMeridian ? 3 : 2;
    if (parts.size() != expected || !ellipsoidByName(parts[1], system)) {
        usage = QString("%1 takes %2")
                    .arg(shown(parts[0]), withMeridian ? "ELLIPSOID:DEG" : "ELLIPSOID");
        return false;
    }
    if (withMeridian && !readMeridian(parts[2], meridian)) {
        usage = QString("%1: \"%2\" is not a central meridian (degrees from -180 to 180)")
                    .arg(shown(parts[0]), shown(parts[2]));
        return false;
    }
    const CTavroEllipsoid ellipsoid(system);
    a = ellipsoid.m_semiMajor;
    rf = ellipsoid.m_inverseFlattening;
    meridian /= kRadToDeg;
    return true;
}

bool makeStep(const QString& text, Step& step, QString& usage, QStringList& errors) {
    const QStringList parts = text.split(':');
    const QString name = parts[0].trimmed().toLower();
    double a = 0, rf = 0, meridian = 0;
    std::vector<double> p;
    if (name == "pmdd" || name == "ddpm") {
        if (!stepEllipsoid(parts, true, a, rf, meridian, usage)) return false;
        if (name == "pmdd") {
            auto* m = new CTavroPCorePMDD;
            m->setParam(a, rf, meridian);
            step = {std::unique_ptr<CTavroPCoreObject>(m), Side::kPlane, Side::kGeodetic};
        } else {
            auto* m = new CTavroPCoreDDPM;
            m->setParam(a, rf, meridian);
            step = {std::unique_ptr<CTavroPCoreObject>(m), Side::kGeodetic, Side::kPlane};
        }
    } else if (name == "ddkj" || name == "kjdd") {
        if (!stepEllipsoid(parts, false, a, rf, meridian, usage)) return false;
        if (name == "ddkj") {
            auto* m = new CTavroPCoreDDKJ;
            m->setParam(a, rf);
            step = {std::unique_ptr<CTavroPCoreObject>(m), Side::kGeodetic, Side::kCartesian};
        } else {
            auto* m = new CTavroPCoreKJDD;
            m->setParam(a, rf);
            step = {std::unique_ptr<CTavroPCoreObject>(m), Side::kCartesian, Side::kGeodetic};
        }
    } else if (name == "kj7") {
        if (!stepNumbers(parts, "kj7", {"dx", "dy", "dz", "m", "ex", "ey", "ez"}, p, usage, errors))
            return false;
        auto* m = new CTavroPCoreKJ7;
        m->setParam(p[0], p[1], p[2], p[3], p[4], p[5], p[6]);
        step = {std::unique_ptr<CTavroPCoreObject>(m), Side::kCartesian, Side::kCartesian};
    } else if (name == "pm4") {
        if (!stepNumbers(parts, "pm4", {"dx", "dy", "rotation", "scale"}, p, usage, errors))
            return false;
        auto* m = new CTavroPCorePM4;
        m->setParam(p[0], p[1], p[2], p[3]);
        step = {std::unique_ptr<CTavroPCoreObject>(m), Side::kPlane, Side::kPlane};
    } else if (name == "hf2") {
        if (!stepNumbers(parts, "hf2", {"x0", "y0", "a0", "a1", "a2", "a3", "a4", "a5"}, p, usage,
                         errors))
            return false;
        auto* m = new CTavroPCoreHF2;
        m->setParam(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
        step = {std::unique_ptr<CTavroPCoreObject>(m), Side::kAny, Side::kAny};
    } else {
        usage = QString("unknown model \"%1\" (pmdd, ddkj, kj7, kjdd, ddpm, pm4, hf2)")
                    .arg(shown(name));
        return false;
    }
    return true;
}

const char* sideName(Side side) {
    switch (side) {
    case Side::kPlane:
        return "plane points (easting, northing)";
    case Side::kGeodetic:
        return "geodetic points (latitude, longitude in degrees)";
    case Side::kCartesian:
        return "earth-centred Cartesian points";
    default:
        return "any points";
    }
}

bool sideByName(const QString& name, Side& side) {
    if (name == "plane")
        side = Side::kPlane;
    else if (name == "geodetic")
        side = Side::kGeodetic;
    else if (name == "cartesian")
        side = Side::kCartesian;
    else
        return false;
    return true;
}

// Checks that each step takes the kind of points the one before it gives, the first the kind of
// the input; from is that kind (the first step's, when not given).
bool connectSteps(const std::vector<Step>& steps, const QStringList& texts, Side& from,
                  QString& usage) {
    Side current = from;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (current == Side::kAny) current = steps[i].in;
        if (steps[i].in != Side::kAny && steps[i].in != current) {
            const QString given =
                i == 0 ? QString("the input holds %1 (--from)").arg(sideName(current))
                       : QString("step %1 \"%2\" gives %3")
                             .arg(i)
                             .arg(shown(texts[int(i) - 1]))
                             .arg(sideName(current));
            usage = QString("step %1 \"%2\" takes %3, but %4")
                        .arg(i + 1)
                        .arg(shown(texts[int(i)]))
                        .arg(sideName(steps[i].in))
                        .arg(given);
            return false;
        }
        if (steps[i].out != Side::kAny) current = steps[i].out;
        if (from == Side::kAny) from = steps[i].in;
    }
    return true;
}

// The least distance from the earth's centre of a Cartesian point that goes to geodetic
// coordinates; nearer the centre the latitude iteration has no answer.
const double kLeastCartesianRadius = 1000000.0;

// Whether a point of the given kind (in the units the models work in: radians for geodetic
// points) can be handed on; reason says why not. Plane points are checked against the extent
// of a Gauss zone only when they go to the inverse projection (projected): a local plane for
// the 4-parameter model may have any coordinates.
bool pointInRange(Side side, bool projected, const double v[3], QString& reason) {
    for (int k = 0; k < 3; ++k)
        if (!std::isfinite(v[k])) {
            reason = "a coordinate is not finite";
            return false;
        }
    if (side == Side::kGeodetic && std::fabs(v[0]) > 0.5 * Tavro::kPi) {
        reason = QString("latitude %1 is not a latitude in degrees (-90 to 90)")
                     .arg(v[0] * kRadToDeg, 0, 'g', 12);
        return false;
    }
    if (side == Side::kGeodetic && std::fabs(v[1]) > 3.0 * Tavro::kPi) {
        reason =
            QString("longitude %1 is not a longitude in degrees").arg(v[1] * kRadToDeg, 0, 'g', 12);
        return false;
    }
    if (side == Side::kPlane && projected) return planeInRange(v[1], v[0], reason);
    if (side == Side::kCartesian &&
        std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]) < kLeastCartesianRadius) {
        reason = QString("(%1, %2, %3) lies less than %4 m from the earth's centre")
                     .arg(v[0], 0, 'g', 12)
                     .arg(v[1], 0, 'g', 12)
                     .arg(v[2], 0, 'g', 12)
                     .arg(kLeastCartesianRadius, 0, 'f', 0);
        return false;
    }
    return true;
}

// Runs one point through the steps, checking what each step takes and gives; reason names the
// step that fails.
bool runSteps(const std::vector<Step>& steps, const QStringList& texts, Side from, double v[3],
              QString& reason) {
    Side current = from;
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        const Side in = step.in == Side::kAny ? current : step.in;
        QString why;
        const bool projected = step.in == Side::kPlane && step.out == Side::kGeodetic;
        if (in != Side::kAny && !pointInRange(in, projected, v, why)) {
            reason = QString("step %1 \"%2\": %3").arg(i + 1).arg(shown(texts[int(i)]), why);
            return false;
        }
        double out[3];
        step.model->transform(v[0], v[1], v[2], out[0], out[1], out[2]);
        current = step.out == Side::kAny ? in : step.out;
        for (int k = 0; k < 3; ++k)
            v[k] = out[k];
        const bool finite = std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
        if (!finite || (current == Side::kGeodetic && !pointInRange(current, false, v, why))) {
            reason = QString("step %1 \"%2\" gives no usable result%3")
                         .arg(i + 1)
                         .arg(shown(texts[int(i)]))
                         .arg(finite ? QString(": ") + why : QString(" (not finite)"));
            return false;
        }
    }
    return true;
}

} // namespace

int runTransform(const QStringList& args) {
    const char* verb = "transform";
    ParsedArgs options;
    QString usage;
    if (!parseArgs(args, {{"--chain", nullptr, true}, {"--from", nullptr, true}, kOutputOption}, 1,
                   1, options, usage))
        return usageError(verb, usage);
    const QString spec = options.value("--chain");
    if (spec.trimmed().isEmpty()) return usageError(verb, "--chain needs a list of models");
    Side from = Side::kAny;
    if (options.values.contains("--from") && !sideByName(options.value("--from"), from))
        return usageError(verb, QString("--from is plane, geodetic or cartesian, got \"%1\"")
                                    .arg(shown(options.value("--from"))));

    // A parameter file and the points cannot both come from standard input.
    if (spec.count(":@-") + (options.files[0] == "-" ? 1 : 0) > 1)
        return usageError(verb, "standard input (\"-\") can be read only once");
    QStringList errors;
    std::vector<Step> steps;
    QStringList texts;
    for (const QString& text : spec.split(',')) {
        Step step;
        texts << text.trimmed();
        if (!makeStep(text.trimmed(), step, usage, errors))
            return errors.isEmpty() ? usageError(verb, usage) : dataError(verb, errors);
        steps.push_back(std::move(step));
    }
    if (!connectSteps(steps, texts, from, usage)) return usageError(verb, usage);

    CsvTable table;
    QVector<int> index;
    std::vector<std::vector<double>> values;
    if (!readCsvTable(options.files[0], table, errors)) return dataError(verb, errors);
    const bool hasZ = table.header.contains("z");
    QStringList columns{"x", "y"};
    if (hasZ) columns << "z";
    if (!findColumns(table, columns, index, errors) || !readNumbers(table, index, values, errors))
        return dataError(verb, errors);

    // Geodetic ends of the chain are read and written in degrees; the models work in radians.
    Side to = from;
    for (const Step& s : steps)
        if (s.out != Side::kAny) to = s.out;
    const double inScale = from == Side::kGeodetic ? 1.0 / kRadToDeg : 1.0;
    const double outScale = to == Side::kGeodetic ? kRadToDeg : 1.0;
    const int decimals = to == Side::kGeodetic ? 9 : 4;

    Output out;
    printCsvLine(out, table.header + QStringList{"X", "Y", "Z"});
    for (int r = 0; r < table.rows.size(); ++r) {
        const std::vector<double>& row = values[size_t(r)];
        double v[3] = {row[0] * inScale, row[1] * inScale, hasZ ? row[2] : 0.0};
        QString reason;
        if (!runSteps(steps, texts, from, v, reason)) {
            errors << QString("%1:%2: %3").arg(table.path).arg(table.lines[r]).arg(reason);
            continue;
        }
        printCsvLine(out,
                     table.rows[r] + QStringList{fixed(v[0] * outScale, decimals),
                                                 fixed(v[1] * outScale, decimals), fixed(v[2], 4)});
    }
    if (!errors.isEmpty()) return dataError(verb, errors);
    if (!out.commit(options.output(), usage)) return dataError(verb, usage);
    return kExitOk;
}

} // namespace tavro
