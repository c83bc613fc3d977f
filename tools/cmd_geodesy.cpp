// tavro gauss-inverse, fit4, fit7, fit-height and transform: the geodetic conversions and the
// parameter estimators over CSV tables whose header row names the columns.

#include "CliSupport.h"
#include "Commands.h"

#include "TavroGeometric142.h"

#include <cmath>
#include <memory>
#include <vector>

namespace tavro {

const char* const kGaussInverseHelp =
    "usage: tavro gauss-inverse --ellipsoid NAME --central-meridian DEG [--dms] [-o FILE] FILE\n\n"
    "Converts Gauss-Krueger plane points to longitude and latitude (inverse projection, scale 1\n"
    "on the central meridian, false easting 500000).\n\n"
    "Input:\n"
    "  FILE: CSV whose header row names at least the columns\n"
    "    northing   metres, at most 10010000 from the equator\n"
    "    easting    metres, with or without the zone number in front (38500000 = zone 38),\n"
    "               at most 1000000 from the central meridian\n"
    "  A row outside these bounds, or whose result is not a position on the ellipsoid, is an\n"
    "  error naming FILE:LINE. A zone number that belongs to neither the 6-degree nor the\n"
    "  3-degree zone of DEG gives a warning.\n\n"
    "Output:\n"
    "  Every input column, followed by longitude and latitude in decimal degrees (9 decimals),\n"
    "  or with --dms as d°m's\" texts (seconds to 2 decimals). Nothing is written unless every\n"
    "  row converts.\n\n"
    "Options:\n"
    "  --ellipsoid NAME         wgs84, xian80, cgcs2000 or beijing54\n"
    "  --central-meridian DEG   the central meridian in degrees, -180 to 180\n"
    "  --dms                    degrees, minutes and seconds instead of decimal degrees\n\n"
    "The projection takes each ellipsoid's semi-minor axis from the library's table; for\n"
    "cgcs2000 that is b = 6356752.0 m, a flattening of 1/298.2505 rather than the official\n"
    "1/298.257222101, which moves latitudes by up to 0.37 m (transform's pmdd:cgcs2000 uses\n"
    "the official flattening).\n";

const char* const kFit4Help =
    "usage: tavro fit4 [-o FILE] PAIRS\n\n"
    "Estimates by least squares the plane 4-parameter transformation\n"
    "  X = dx + scale*(x*cos(rotation) - y*sin(rotation))\n"
    "  Y = dy + scale*(x*sin(rotation) + y*cos(rotation))\n"
    "from control point pairs.\n\n"
    "Input:\n"
    "  PAIRS: CSV whose header names the source columns x, y and the target columns X, Y\n"
    "  (other columns are copied along); at least 2 pairs.\n\n"
    "Output:\n"
    "  A parameter table (parameter,value rows: model pm4, dx, dy, rotation in radians, scale,\n"
    "  points, rms), a blank line, and the pairs with their residuals vX, vY and v = the\n"
    "  length of (vX, vY), target minus model, 4 decimals. rms is the root mean square of v.\n"
    "  Hand it to tavro transform as pm4:@FILE.\n\n"
    "Options:\n"
    "  none besides -o.\n";

const char* const kFit7Help =
    "usage: tavro fit7 [-o FILE] PAIRS\n\n"
    "Estimates by least squares the spatial 7-parameter transformation that tavro transform's\n"
    "kj7 applies\n"
    "  X' = dx + (1 + m)*(X - Z*ey + Y*ez)\n"
    "  Y' = dy + (1 + m)*(Y + Z*ex - X*ez)\n"
    "  Z' = dz + (1 + m)*(Z - Y*ex + X*ey)\n"
    "from earth-centred Cartesian point pairs: the linearised estimate (small rotations, no\n"
    "product of m and the rotations) refined by Gauss-Newton on the model above, so the\n"
    "residuals are those of a least-squares fit and sum to zero on each axis.\n\n"
    "Input:\n"
    "  PAIRS: CSV whose header names the source columns x, y, z and the target columns X, Y,\n"
    "  Z; at least 3 pairs, not on one line.\n\n"
    "Output:\n"
    "  A parameter table (model kj7, dx, dy, dz in metres, m, ex, ey, ez in radians, then\n"
    "  m_ppm and ex_arcsec, ey_arcsec, ez_arcsec for reading, points, rms), a blank line, and\n"
    "  the pairs with residuals vX, vY, vZ and their length v. Hand it to tavro transform as\n"
    "  kj7:@FILE.\n\n"
    "Options:\n"
    "  none besides -o.\n";

const char* const kFitHeightHelp =
    "usage: tavro fit-height [-o FILE] POINTS\n\n"
    "Fits the quadratic height-anomaly surface\n"
    "  H = h + a0 + a1*u + a2*v + a3*u^2 + a4*u*v + a5*v^2,  u = x - x0, v = y - y0\n"
    "(x0, y0 the mean position) to points known in both height systems.\n\n"
    "Input:\n"
    "  POINTS: CSV whose header names the columns x, y, h, H; at least 6 points, spread over\n"
    "  an area.\n\n"
    "Output:\n"
    "  A parameter table (model hf2, x0, y0, a0 ... a5, points, rms), a blank line, and the\n"
    "  points with their residual vH. Hand it to tavro transform as hf2:@FILE.\n\n"
    "Options:\n"
    "  none besides -o.\n";

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

namespace {

const double kRadToDeg = 180.0 / Tavro::kPi;
const double kRadToArcSec = kRadToDeg * 3600.0;

// A CSV table: the header row, then the data rows with their line numbers in the file.
struct Table {
    QString path;
    QStringList header;
    QVector<QStringList> rows;
    QVector<int> lines;
};

QStringList splitFields(const QString& line) {
    QStringList fields = line.split(',');
    for (QString& f : fields)
        f = f.trimmed();
    return fields;
}

// Reads a table; '#' lines and blank lines are skipped. Rows are kept as they are: their field
// count is checked with their numbers. False only when there is no table at all.
bool readTable(const QString& path, Table& table, QStringList& errors) {
    QByteArray bytes;
    QString error;
    if (!readInput(path, bytes, error)) {
        errors << error;
        return false;
    }
    table.path = shown(path);
    const QStringList lines = QString::fromUtf8(bytes).split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        if (table.header.isEmpty()) {
            table.header = splitFields(line);
            continue;
        }
        table.rows << splitFields(line);
        table.lines << n + 1;
    }
    if (!table.header.isEmpty()) return true;
    errors << QString("%1: no header row found").arg(path);
    return false;
}

// The indices of the named columns (names are case-sensitive: x and X differ).
bool findColumns(const Table& table, const QStringList& names, QVector<int>& index,
                 QStringList& errors) {
    index.clear();
    for (const QString& name : names) {
        index << table.header.indexOf(name);
        if (index.last() < 0)
            errors << QString("%1: the header has no column \"%2\" (it has: %3)")
                          .arg(table.path, name, shown(table.header.join(", ")));
    }
    return errors.isEmpty();
}

// Reads the given columns of every row as finite numbers. Each row with the wrong number of
// fields and each bad field is reported, in the order of the file.
bool readNumbers(const Table& table, const QVector<int>& columns,
                 std::vector<std::vector<double>>& values, QStringList& errors) {
    values.assign(static_cast<size_t>(table.rows.size()), {});
    const QString where = QString("%1:%2: ").arg(table.path);
    for (int r = 0; r < table.rows.size(); ++r) {
        const QStringList& row = table.rows[r];
        if (row.size() != table.header.size()) {
            errors << where.arg(table.lines[r]) + QString("expected %1 fields, found %2")
                                                      .arg(table.header.size())
                                                      .arg(row.size());
            continue;
        }
        for (int c : columns) {
            bool ok = false;
            const double v = row[c].toDouble(&ok);
            if (!ok || !std::isfinite(v))
                errors << where.arg(table.lines[r]) +
                              QString("column \"%1\": \"%2\" is not a "
                                      "finite number")
                                  .arg(shown(table.header[c]), shown(row[c]));
            values[static_cast<size_t>(r)].push_back(v);
        }
    }
    return errors.isEmpty();
}

QString csvField(const QString& text) {
    if (!text.contains(',') && !text.contains('"')) return text;
    QString quoted = text;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

// Fixed decimals; a value that rounds to zero prints without a minus sign.
QString fixed(double value, int decimals) {
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0.0;
    return QString::number(value, 'f', decimals);
}

QString exact(double value) {
    return QString::number(value, 'g', 15);
}

void printLine(Output& out, const QStringList& fields) {
    QStringList quoted;
    for (const QString& f : fields)
        quoted << csvField(f);
    out.append(quoted.join(',') + '\n');
}

int reportErrors(const char* verb, const QStringList& errors) {
    return dataError(verb, errors);
}

bool ellipsoidByName(const QString& name, Tavro::TavroCoorSystem& system) {
    static const struct {
        const char* name;
        Tavro::TavroCoorSystem system;
    } kNames[] = {{"wgs84", Tavro::kCoorWGS84},
                  {"xian80", Tavro::kCoorXian80},
                  {"cgcs2000", Tavro::kCoorCGCS2000},
                  {"beijing54", Tavro::kCoorBeijing54}};
    for (const auto& e : kNames) {
        if (name.toLower() != e.name) continue;
        system = e.system;
        return true;
    }
    return false;
}

bool finiteNumber(const QString& text, double& value) {
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value);
}

// ---- parameter tables -------------------------------------------------------------------

struct Parameter {
    QString name;
    double value;
};

void printParameters(Output& out, const char* model, const std::vector<Parameter>& parameters) {
    printLine(out, {"parameter", "value"});
    printLine(out, {"model", model});
    for (const Parameter& p : parameters)
        printLine(out, {p.name, exact(p.value)});
}

// Reads the named parameters of a model from a parameter table (the first block of a fit
// verb's output: rows parameter,value up to the first blank line).
bool readParameters(const QString& path, const char* model, const QStringList& names,
                    std::vector<double>& values, QStringList& errors) {
    QByteArray bytes;
    QString error;
    if (!readInput(path, bytes, error)) {
        errors << error;
        return false;
    }
    QMap<QString, double> found;
    QString foundModel;
    const QString name = shown(path);
    const QStringList lines = QString::fromUtf8(bytes).split('\n');
    bool started = false;
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.startsWith('#')) continue;
        if (line.isEmpty()) {
            if (started) break;
            continue;
        }
        started = true;
        const QStringList fields = splitFields(line);
        if (fields.size() != 2) {
            errors << QString("%1:%2: expected parameter,value").arg(name).arg(n + 1);
            return false;
        }
        if (fields[0] == "parameter") continue;
        if (fields[0] == "model") {
            foundModel = fields[1];
            continue;
        }
        double v = 0.0;
        if (names.contains(fields[0]) && !finiteNumber(fields[1], v)) {
            errors << QString("%1:%2: \"%3\" is not a finite number")
                          .arg(name)
                          .arg(n + 1)
                          .arg(shown(fields[1]));
            return false;
        }
        found[fields[0]] = v;
    }
    if (foundModel != model) {
        errors << QString("%1: holds parameters of model \"%2\", not %3")
                      .arg(name, shown(foundModel), model);
        return false;
    }
    values.clear();
    for (const QString& wanted : names) {
        if (!found.contains(wanted)) {
            errors << QString("%1: parameter %2 is missing").arg(name, wanted);
            return false;
        }
        values.push_back(found[wanted]);
    }
    return true;
}

// ---- the fit verbs ----------------------------------------------------------------------

// Reads a pair table with the given columns; flattens the numbers row by row. The output path
// (-o) comes back in output.
bool readPairs(const char* verb, const QStringList& args, const QStringList& columns, Table& table,
               std::vector<double>& flat, QString& output, int& status) {
    ParsedArgs parsed;
    QString error;
    if (!parseArgs(args, {kOutputOption}, 1, 1, parsed, error)) {
        status = usageError(verb, error);
        return false;
    }
    output = parsed.output();
    QStringList errors;
    QVector<int> index;
    std::vector<std::vector<double>> values;
    if (!readTable(parsed.files[0], table, errors) || !findColumns(table, columns, index, errors) ||
        !readNumbers(table, index, values, errors)) {
        status = reportErrors(verb, errors);
        return false;
    }
    flat.clear();
    for (const std::vector<double>& row : values)
        flat.insert(flat.end(), row.begin(), row.end());
    return true;
}

bool enoughPoints(const char* verb, const Table& table, int minimum, int& status) {
    if (table.rows.size() >= minimum) return true;
    status = reportErrors(verb, {QString("%1: needs at least %2 points, found %3")
                                     .arg(table.path)
                                     .arg(minimum)
                                     .arg(table.rows.size())});
    return false;
}

int degenerate(const char* verb, const Table& table) {
    return reportErrors(verb, {QString("%1: the points do not determine the parameters (the "
                                       "normal equations are singular)")
                                   .arg(table.path)});
}

// Appends the input rows followed by their residual columns.
void printResiduals(Output& out, const Table& table, const QStringList& residualNames,
                    const std::vector<std::vector<double>>& residuals) {
    out.append("\n");
    printLine(out, table.header + residualNames);
    for (int r = 0; r < table.rows.size(); ++r) {
        QStringList fields = table.rows[r];
        for (double v : residuals[static_cast<size_t>(r)])
            fields << fixed(v, 4);
        printLine(out, fields);
    }
}

double rootMeanSquare(const std::vector<std::vector<double>>& residuals) {
    double sum = 0.0;
    for (const std::vector<double>& r : residuals)
        sum += r.back() * r.back();
    return residuals.empty() ? 0.0 : std::sqrt(sum / residuals.size());
}

// Writes a fit's answer, refusing one with a number that is not finite.
int commitFit(const char* verb, const std::vector<double>& parameters, const Output& out,
              const QString& output) {
    for (double v : parameters)
        if (!std::isfinite(v))
            return dataError(verb, "the fit gives a parameter that is not finite; nothing written");
    QString error;
    if (!out.commit(output, error)) return dataError(verb, error);
    return kExitOk;
}

} // namespace

int runFit4(const QStringList& args) {
    Table table;
    std::vector<double> d;
    QString output;
    int status = kExitOk;
    if (!readPairs("fit4", args, {"x", "y", "X", "Y"}, table, d, output, status)) return status;
    if (!enoughPoints("fit4", table, 2, status)) return status;
    double dx, dy, rotation, scale;
    if (!calcParamPM4(d.data(), static_cast<int>(d.size()), &dx, &dy, &rotation, &scale))
        return degenerate("fit4", table);
    CTavroPCorePM4 model;
    model.setParam(dx, dy, rotation, scale);
    std::vector<std::vector<double>> residuals;
    for (size_t i = 0; i < d.size(); i += 4) {
        double X, Y, Z;
        model.transform(d[i], d[i + 1], 0.0, X, Y, Z);
        const double vx = d[i + 2] - X, vy = d[i + 3] - Y;
        residuals.push_back({vx, vy, std::hypot(vx, vy)});
    }
    const double rms = rootMeanSquare(residuals);
    Output out;
    printParameters(out, "pm4",
                    {{"dx", dx},
                     {"dy", dy},
                     {"rotation", rotation},
                     {"scale", scale},
                     {"points", double(table.rows.size())},
                     {"rms", rms}});
    printResiduals(out, table, {"vX", "vY", "v"}, residuals);
    return commitFit("fit4", {dx, dy, rotation, scale, rms}, out, output);
}

int runFit7(const QStringList& args) {
    Table table;
    std::vector<double> d;
    QString output;
    int status = kExitOk;
    if (!readPairs("fit7", args, {"x", "y", "z", "X", "Y", "Z"}, table, d, output, status))
        return status;
    if (!enoughPoints("fit7", table, 3, status)) return status;
    double p[7];
    const int n = static_cast<int>(d.size());
    if (!calcParamKJ7(d.data(), n, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]) ||
        !refineParamKJ7(d.data(), n, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]))
        return degenerate("fit7", table);
    CTavroPCoreKJ7 model;
    model.setParam(p[0], p[1], p[2], p[3], p[4], p[5], p[6]);
    std::vector<std::vector<double>> residuals;
    for (size_t i = 0; i < d.size(); i += 6) {
        double X, Y, Z;
        model.transform(d[i], d[i + 1], d[i + 2], X, Y, Z);
        const double vx = d[i + 3] - X, vy = d[i + 4] - Y, vz = d[i + 5] - Z;
        residuals.push_back({vx, vy, vz, std::sqrt(vx * vx + vy * vy + vz * vz)});
    }
    const double rms = rootMeanSquare(residuals);
    Output out;
    printParameters(out, "kj7",
                    {{"dx", p[0]},
                     {"dy", p[1]},
                     {"dz", p[2]},
                     {"m", p[3]},
                     {"ex", p[4]},
                     {"ey", p[5]},
                     {"ez", p[6]},
                     {"m_ppm", p[3] * 1e6},
                     {"ex_arcsec", p[4] * kRadToArcSec},
                     {"ey_arcsec", p[5] * kRadToArcSec},
                     {"ez_arcsec", p[6] * kRadToArcSec},
                     {"points", double(table.rows.size())},
                     {"rms", rms}});
    printResiduals(out, table, {"vX", "vY", "vZ", "v"}, residuals);
    return commitFit("fit7", {p[0], p[1], p[2], p[3], p[4], p[5], p[6], rms}, out, output);
}

int runFitHeight(const QStringList& args) {
    Table table;
    std::vector<double> d;
    QString output;
    int status = kExitOk;
    if (!readPairs("fit-height", args, {"x", "y", "h", "H"}, table, d, output, status))
        return status;
    if (!enoughPoints("fit-height", table, 6, status)) return status;
    double p[8];
    if (!calcParamHF2(d.data(), static_cast<int>(d.size()), &p[0], &p[1], &p[2], &p[3], &p[4],
                      &p[5], &p[6], &p[7]))
        return degenerate("fit-height", table);
    CTavroPCoreHF2 model;
    model.setParam(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
    std::vector<std::vector<double>> residuals;
    for (size_t i = 0; i < d.size(); i += 4) {
        double X, Y, H;
        model.transform(d[i], d[i + 1], d[i + 2], X, Y, H);
        residuals.push_back({d[i + 3] - H});
    }
    const double rms = rootMeanSquare(residuals);
    Output out;
    printParameters(out, "hf2",
                    {{"x0", p[0]},
                     {"y0", p[1]},
                     {"a0", p[2]},
                     {"a1", p[3]},
                     {"a2", p[4]},
                     {"a3", p[5]},
                     {"a4", p[6]},
                     {"a5", p[7]},
                     {"points", double(table.rows.size())},
                     {"rms", rms}});
    printResiduals(out, table, {"vH"}, residuals);
    return commitFit("fit-height", {p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], rms}, out,
                     output);
}

// ---- gauss-inverse ----------------------------------------------------------------------

namespace {

// The farthest a Gauss plane point can lie from the equator (a quarter meridian, about
// 10002 km, with room) and from its central meridian (about 9 degrees at the equator) and
// still be a point of a zone; beyond them the series give nonsense.
const double kMostNorthing = 10010000.0;
const double kMostEastingOffset = 1000000.0;

// A central meridian in degrees, -180 to 180.
bool readMeridian(const QString& text, double& meridian) {
    return finiteNumber(text, meridian) && std::fabs(meridian) <= 180.0;
}

// Whether a plane point (northing, easting with or without a zone prefix) lies where the
// inverse projection holds; reason says why not.
bool planeInRange(double northing, double easting, QString& reason) {
    const double offset = easting - (1000000.0 * std::trunc(easting / 1000000.0) + 500000.0);
    if (std::fabs(northing) > kMostNorthing) {
        reason = QString("northing %1 lies beyond the pole (at most %2 m)")
                     .arg(northing, 0, 'g', 12)
                     .arg(kMostNorthing, 0, 'f', 0);
        return false;
    }
    if (std::fabs(offset) > kMostEastingOffset || easting < 0.0) {
        reason = QString("easting %1 lies %2 m from the central meridian (at most %3 m)")
                     .arg(easting, 0, 'g', 12)
                     .arg(std::fabs(offset), 0, 'f', 0)
                     .arg(kMostEastingOffset, 0, 'f', 0);
        return false;
    }
    return true;
}

// Whether a longitude and latitude in degrees are finite and in range.
bool geodeticInRange(double longitude, double latitude, QString& reason) {
    if (std::isfinite(longitude) && std::isfinite(latitude) && std::fabs(latitude) <= 90.0 &&
        std::fabs(longitude) <= 540.0)
        return true;
    reason = QString("the result (longitude %1, latitude %2) is not a position on the ellipsoid")
                 .arg(longitude, 0, 'g', 12)
                 .arg(latitude, 0, 'g', 12);
    return false;
}

// A zone number in front of the easting that belongs to neither the 6-degree zone nor the
// 3-degree zone of the central meridian; 0 when there is none or it matches.
int foreignZone(double easting, double meridian) {
    const int zone = int(std::trunc(easting / 1000000.0));
    if (zone <= 0) return 0;
    if (6.0 * zone - 3.0 == meridian || 3.0 * zone == meridian) return 0;
    return zone;
}

} // namespace

int runGaussInverse(const QStringList& args) {
    const char* verb = "gauss-inverse";
    ParsedArgs options;
    QString error;
    if (!parseArgs(args,
                   {{"--ellipsoid", nullptr, true},
                    {"--central-meridian", nullptr, true},
                    {"--dms", nullptr, false},
                    kOutputOption},
                   1, 1, options, error))
        return usageError(verb, error);
    Tavro::TavroCoorSystem system = Tavro::kCoorUnknown;
    if (!ellipsoidByName(options.value("--ellipsoid"), system))
        return usageError(verb, "--ellipsoid must be wgs84, xian80, cgcs2000 or beijing54");
    double meridian = 0.0;
    if (!readMeridian(options.value("--central-meridian"), meridian))
        return usageError(verb, QString("--central-meridian needs a number of degrees from -180 "
                                        "to 180, got \"%1\"")
                                    .arg(shown(options.value("--central-meridian"))));
    const bool dms = options.flags.contains("--dms");

    Table table;
    QStringList errors;
    QVector<int> index;
    std::vector<std::vector<double>> values;
    if (!readTable(options.files[0], table, errors) ||
        !findColumns(table, {"northing", "easting"}, index, errors) ||
        !readNumbers(table, index, values, errors))
        return reportErrors(verb, errors);

    const CTavroGeoCoorTrans trans;
    CoordinateMap map;
    map.centralMeridian = meridian;
    map.coorSystem = system;
    Output out;
    printLine(out, table.header + QStringList{"longitude", "latitude"});
    QSet<int> warnedZones;
    for (int r = 0; r < table.rows.size(); ++r) {
        const AcGePoint2d plane(values[size_t(r)][0], values[size_t(r)][1]);
        const QString where = QString("%1:%2: ").arg(table.path).arg(table.lines[r]);
        QString reason;
        AcGePoint2d geodetic;
        if (planeInRange(plane.x, plane.y, reason)) {
            trans.gaussUncompute(geodetic, plane, meridian, system);
            geodeticInRange(geodetic.x, geodetic.y, reason);
        }
        if (!reason.isEmpty()) {
            errors << where + reason;
            continue;
        }
        const int zone = foreignZone(plane.y, meridian);
        if (zone && !warnedZones.contains(zone)) {
            warnedZones.insert(zone);
            warn(where + QString("easting %1 carries zone %2, whose central meridian is %3 "
                                 "(6-degree zones) or %4 (3-degree zones), not %5")
                             .arg(plane.y, 0, 'f', 3)
                             .arg(zone)
                             .arg(6 * zone - 3)
                             .arg(3 * zone)
                             .arg(meridian));
        }
        QStringList fields = table.rows[r];
        if (dms) {
            TavroTerraceJWD text;
            trans.gaussUncompute(text, plane, map, TavroTransParam_7(), true);
            fields << text.longitude << text.latitude;
        } else {
            fields << fixed(geodetic.x, 9) << fixed(geodetic.y, 9);
        }
        printLine(out, fields);
    }
    if (!errors.isEmpty()) return reportErrors(verb, errors);
    if (!out.commit(options.output(), error)) return dataError(verb, error);
    return kExitOk;
}
// ---- transform --------------------------------------------------------------------------

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
            return errors.isEmpty() ? usageError(verb, usage) : reportErrors(verb, errors);
        steps.push_back(std::move(step));
    }
    if (!connectSteps(steps, texts, from, usage)) return usageError(verb, usage);

    Table table;
    QVector<int> index;
    std::vector<std::vector<double>> values;
    if (!readTable(options.files[0], table, errors)) return reportErrors(verb, errors);
    const bool hasZ = table.header.contains("z");
    QStringList columns{"x", "y"};
    if (hasZ) columns << "z";
    if (!findColumns(table, columns, index, errors) || !readNumbers(table, index, values, errors))
        return reportErrors(verb, errors);

    // Geodetic ends of the chain are read and written in degrees; the models work in radians.
    Side to = from;
    for (const Step& s : steps)
        if (s.out != Side::kAny) to = s.out;
    const double inScale = from == Side::kGeodetic ? 1.0 / kRadToDeg : 1.0;
    const double outScale = to == Side::kGeodetic ? kRadToDeg : 1.0;
    const int decimals = to == Side::kGeodetic ? 9 : 4;

    Output out;
    printLine(out, table.header + QStringList{"X", "Y", "Z"});
    for (int r = 0; r < table.rows.size(); ++r) {
        const std::vector<double>& row = values[size_t(r)];
        double v[3] = {row[0] * inScale, row[1] * inScale, hasZ ? row[2] : 0.0};
        QString reason;
        if (!runSteps(steps, texts, from, v, reason)) {
            errors << QString("%1:%2: %3").arg(table.path).arg(table.lines[r]).arg(reason);
            continue;
        }
        printLine(out,
                  table.rows[r] + QStringList{fixed(v[0] * outScale, decimals),
                                              fixed(v[1] * outScale, decimals), fixed(v[2], 4)});
    }
    if (!errors.isEmpty()) return reportErrors(verb, errors);
    if (!out.commit(options.output(), usage)) return dataError(verb, usage);
    return kExitOk;
}

} // namespace tavro
