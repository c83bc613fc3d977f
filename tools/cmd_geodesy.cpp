// tavro gauss-inverse, fit4, fit7, fit-height and transform: the geodetic conversions and the
// parameter estimators over CSV tables whose header row names the columns.

#include "Commands.h"

#include "TavroGeometric142.h"

#include <QFile>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace tavro {

const char* const kGaussInverseHelp =
    "usage: tavro gauss-inverse --ellipsoid NAME --central-meridian DEG [--dms] FILE\n\n"
    "Converts Gauss-Krueger plane points to longitude and latitude (inverse projection,\n"
    "scale 1 on the central meridian, false easting 500000). FILE is CSV ('-' reads standard\n"
    "input) whose header row names at least the columns\n"
    "  northing   metres\n"
    "  easting    metres, with or without the zone number in front (38500000 = zone 38)\n"
    "Every input column is copied to the output, followed by longitude and latitude in\n"
    "decimal degrees (9 decimals), or with --dms as d°m's\" texts (seconds to 2 decimals).\n"
    "NAME is wgs84, xian80, cgcs2000 or beijing54; DEG is the central meridian in degrees.\n"
    "The projection takes each ellipsoid's semi-minor axis from the library's table; for\n"
    "cgcs2000 that is b = 6356752.0 m, a flattening of 1/298.2505 rather than the official\n"
    "1/298.257222101, which moves latitudes by up to 0.37 m (transform's pmdd:cgcs2000 uses\n"
    "the official flattening).\n\n"
    "Exit status: 0 on success, 1 on bad data (each bad row reported as FILE:LINE), 2 on bad\n"
    "usage. Nothing is printed to standard output unless every row converts.\n";

const char* const kFit4Help =
    "usage: tavro fit4 PAIRS\n\n"
    "Estimates by least squares the plane 4-parameter transformation\n"
    "  X = dx + scale*(x*cos(rotation) - y*sin(rotation))\n"
    "  Y = dy + scale*(x*sin(rotation) + y*cos(rotation))\n"
    "from control point pairs (at least 2). PAIRS is CSV whose header names the source\n"
    "columns x, y and the target columns X, Y (other columns are copied along).\n\n"
    "Prints a parameter table (parameter,value: model, dx, dy, rotation in radians, scale,\n"
    "points, rms), a blank line, and the pairs with their residuals vX, vY and v = the\n"
    "length of (vX, vY), target minus model. rms is the root mean square of v. The output\n"
    "can be saved and handed to tavro transform as pm4:@FILE.\n\n"
    "Exit status: 0 on success, 1 on bad data, too few or degenerate pairs, 2 on bad usage.\n";

const char* const kFit7Help =
    "usage: tavro fit7 PAIRS\n\n"
    "Estimates the spatial 7-parameter transformation (linearised for small rotations)\n"
    "  X' = dx + (1 + m)*(X - Z*ey + Y*ez)\n"
    "  Y' = dy + (1 + m)*(Y + Z*ex - X*ez)\n"
    "  Z' = dz + (1 + m)*(Z - Y*ex + X*ey)\n"
    "from earth-centred Cartesian point pairs (at least 3, not on one line). PAIRS is CSV\n"
    "whose header names the source columns x, y, z and the target columns X, Y, Z.\n\n"
    "Prints a parameter table (model, dx, dy, dz in metres, m, ex, ey, ez in radians, then\n"
    "m_ppm and the rotations in arc seconds for reading, points, rms), a blank line, and the\n"
    "pairs with residuals vX, vY, vZ and their length v. Hand it to tavro transform as\n"
    "kj7:@FILE.\n\n"
    "Exit status: 0 on success, 1 on bad data, too few or degenerate pairs, 2 on bad usage.\n";

const char* const kFitHeightHelp =
    "usage: tavro fit-height POINTS\n\n"
    "Fits the quadratic height-anomaly surface\n"
    "  H = h + a0 + a1*u + a2*v + a3*u^2 + a4*u*v + a5*v^2,  u = x - x0, v = y - y0\n"
    "(x0, y0 the mean position) to points known in both height systems (at least 6, spread\n"
    "over an area). POINTS is CSV whose header names the columns x, y, h, H.\n\n"
    "Prints a parameter table (model, x0, y0, a0 ... a5, points, rms), a blank line, and the\n"
    "points with their residual vH. Hand it to tavro transform as hf2:@FILE.\n\n"
    "Exit status: 0 on success, 1 on bad data, too few or degenerate points, 2 on bad usage.\n";

const char* const kTransformHelp =
    "usage: tavro transform --chain SPEC FILE\n\n"
    "Runs every point of FILE through a chain of models, in order. FILE is CSV whose header\n"
    "names the columns x, y and optionally z (0 when absent); the output copies every input\n"
    "column and adds X, Y, Z.\n\n"
    "SPEC is a comma-separated list of models, each NAME:ARG:ARG...\n"
    "  pmdd:ELLIPSOID:DEG   Gauss plane (easting, northing, h) to geodetic (B, L, h);\n"
    "                       DEG is the central meridian; a zone prefix is removed\n"
    "  ddkj:ELLIPSOID       geodetic to earth-centred Cartesian (X, Y, Z)\n"
    "  kj7:@FILE            7-parameter similarity, parameters from tavro fit7's output,\n"
    "  kj7:DX:DY:DZ:M:EX:EY:EZ  or given (metres, scale change, radians)\n"
    "  kjdd:ELLIPSOID       Cartesian to geodetic\n"
    "  ddpm:ELLIPSOID:DEG   geodetic to Gauss plane, false easting 500000, no zone prefix\n"
    "  pm4:@FILE | pm4:DX:DY:ROTATION:SCALE          plane 4-parameter (tavro fit4)\n"
    "  hf2:@FILE | hf2:X0:Y0:A0:A1:A2:A3:A4:A5        height surface (tavro fit-height)\n"
    "ELLIPSOID is wgs84, xian80, cgcs2000 or beijing54. Geodetic values at either end of the\n"
    "chain are decimal degrees (x latitude, y longitude); plane points put the easting in x.\n"
    "Example, Beijing 1954 plane to CGCS 2000 plane:\n"
    "  --chain pmdd:beijing54:117,ddkj:beijing54,kj7:@seven.csv,kjdd:cgcs2000,"
    "ddpm:cgcs2000:117\n\n"
    "Exit status: 0 on success, 1 on bad data or parameter files (each bad row reported as\n"
    "FILE:LINE), 2 on bad usage. Nothing is printed unless every row converts.\n";

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
    QFile file;
    const bool opened = path == "-" ? file.open(stdin, QIODevice::ReadOnly)
                                    : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        errors << QString("%1: cannot open: %2").arg(path, file.errorString());
        return false;
    }
    table.path = path;
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
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
                          .arg(table.path, name, table.header.join(", "));
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
                errors << where.arg(table.lines[r]) + QString("column \"%1\": \"%2\" is not a "
                                                              "finite number")
                                                          .arg(table.header[c], row[c]);
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

void printLine(const QStringList& fields) {
    QStringList out;
    for (const QString& f : fields)
        out << csvField(f);
    std::printf("%s\n", out.join(',').toUtf8().constData());
}

int reportErrors(const char* verb, const QStringList& errors, int status = kExitDataError) {
    for (const QString& e : errors)
        std::fprintf(stderr, "tavro %s: %s\n", verb, e.toUtf8().constData());
    return status;
}

int usageError(const char* verb, const QString& message) {
    std::fprintf(stderr, "tavro %s: %s (try tavro %s --help)\n", verb, message.toUtf8().constData(),
                 verb);
    return kExitUsage;
}

// Options of the form --name VALUE (or --name=VALUE), flags, and exactly one file.
struct Options {
    QMap<QString, QString> values;
    QStringList flags;
    QStringList files;
};

bool parseOptions(const QStringList& args, const QStringList& valued, const QStringList& flags,
                  Options& out, QString& error) {
    for (int i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        if (!arg.startsWith("--") || arg == "-") {
            out.files << arg;
            continue;
        }
        QString value;
        const int eq = arg.indexOf('=');
        if (eq > 0) {
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
        }
        if (flags.contains(arg) && eq < 0) {
            out.flags << arg;
        } else if (valued.contains(arg)) {
            if (eq < 0) {
                if (i + 1 >= args.size()) {
                    error = QString("%1 needs a value").arg(arg);
                    return false;
                }
                value = args[++i];
            }
            out.values[arg] = value;
        } else {
            error = QString("unknown option %1").arg(arg);
            return false;
        }
    }
    if (out.files.size() != 1) {
        error = "expected exactly one input file";
        return false;
    }
    return true;
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

void printParameters(const char* model, const std::vector<Parameter>& parameters) {
    printLine({"parameter", "value"});
    printLine({"model", model});
    for (const Parameter& p : parameters)
        printLine({p.name, exact(p.value)});
}

// Reads the named parameters of a model from a parameter table (the first block of a fit
// verb's output: rows parameter,value up to the first blank line).
bool readParameters(const QString& path, const char* model, const QStringList& names,
                    std::vector<double>& values, QStringList& errors) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errors << QString("%1: cannot open: %2").arg(path, file.errorString());
        return false;
    }
    QMap<QString, double> found;
    QString foundModel;
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
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
            errors << QString("%1:%2: expected parameter,value").arg(path).arg(n + 1);
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
                          .arg(path)
                          .arg(n + 1)
                          .arg(fields[1]);
            return false;
        }
        found[fields[0]] = v;
    }
    if (foundModel != model) {
        errors
            << QString("%1: holds parameters of model \"%2\", not %3").arg(path, foundModel, model);
        return false;
    }
    values.clear();
    for (const QString& name : names) {
        if (!found.contains(name)) {
            errors << QString("%1: parameter %2 is missing").arg(path, name);
            return false;
        }
        values.push_back(found[name]);
    }
    return true;
}

// ---- the fit verbs ----------------------------------------------------------------------

// Reads a pair table with the given columns; flattens the numbers row by row.
bool readPairs(const char* verb, const QStringList& args, const QStringList& columns, Table& table,
               std::vector<double>& flat, int& status) {
    if (args.size() != 1 || args[0].startsWith("--")) {
        status = usageError(verb, "expected one input file");
        return false;
    }
    QStringList errors;
    QVector<int> index;
    std::vector<std::vector<double>> values;
    if (!readTable(args[0], table, errors) || !findColumns(table, columns, index, errors) ||
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

// Prints the input rows followed by their residual columns.
void printResiduals(const Table& table, const QStringList& residualNames,
                    const std::vector<std::vector<double>>& residuals) {
    std::printf("\n");
    printLine(table.header + residualNames);
    for (int r = 0; r < table.rows.size(); ++r) {
        QStringList fields = table.rows[r];
        for (double v : residuals[static_cast<size_t>(r)])
            fields << fixed(v, 4);
        printLine(fields);
    }
}

double rootMeanSquare(const std::vector<std::vector<double>>& residuals) {
    double sum = 0.0;
    for (const std::vector<double>& r : residuals)
        sum += r.back() * r.back();
    return residuals.empty() ? 0.0 : std::sqrt(sum / residuals.size());
}

} // namespace

int runFit4(const QStringList& args) {
    Table table;
    std::vector<double> d;
    int status = kExitOk;
    if (!readPairs("fit4", args, {"x", "y", "X", "Y"}, table, d, status)) return status;
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
    printParameters("pm4", {{"dx", dx},
                            {"dy", dy},
                            {"rotation", rotation},
                            {"scale", scale},
                            {"points", double(table.rows.size())},
                            {"rms", rootMeanSquare(residuals)}});
    printResiduals(table, {"vX", "vY", "v"}, residuals);
    return kExitOk;
}

int runFit7(const QStringList& args) {
    Table table;
    std::vector<double> d;
    int status = kExitOk;
    if (!readPairs("fit7", args, {"x", "y", "z", "X", "Y", "Z"}, table, d, status)) return status;
    if (!enoughPoints("fit7", table, 3, status)) return status;
    double p[7];
    if (!calcParamKJ7(d.data(), static_cast<int>(d.size()), &p[0], &p[1], &p[2], &p[3], &p[4],
                      &p[5], &p[6]))
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
    printParameters("kj7", {{"dx", p[0]},
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
                            {"rms", rootMeanSquare(residuals)}});
    printResiduals(table, {"vX", "vY", "vZ", "v"}, residuals);
    return kExitOk;
}

int runFitHeight(const QStringList& args) {
    Table table;
    std::vector<double> d;
    int status = kExitOk;
    if (!readPairs("fit-height", args, {"x", "y", "h", "H"}, table, d, status)) return status;
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
    printParameters("hf2", {{"x0", p[0]},
                            {"y0", p[1]},
                            {"a0", p[2]},
                            {"a1", p[3]},
                            {"a2", p[4]},
                            {"a3", p[5]},
                            {"a4", p[6]},
                            {"a5", p[7]},
                            {"points", double(table.rows.size())},
                            {"rms", rootMeanSquare(residuals)}});
    printResiduals(table, {"vH"}, residuals);
    return kExitOk;
}

// ---- gauss-inverse ----------------------------------------------------------------------

int runGaussInverse(const QStringList& args) {
    const char* verb = "gauss-inverse";
    Options options;
    QString error;
    if (!parseOptions(args, {"--ellipsoid", "--central-meridian"}, {"--dms"}, options, error))
        return usageError(verb, error);
    Tavro::TavroCoorSystem system = Tavro::kCoorUnknown;
    if (!ellipsoidByName(options.values.value("--ellipsoid"), system))
        return usageError(verb, "--ellipsoid must be wgs84, xian80, cgcs2000 or beijing54");
    double meridian = 0.0;
    if (!finiteNumber(options.values.value("--central-meridian"), meridian))
        return usageError(verb, "--central-meridian needs a number of degrees");
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
    printLine(table.header + QStringList{"longitude", "latitude"});
    for (int r = 0; r < table.rows.size(); ++r) {
        const AcGePoint2d plane(values[size_t(r)][0], values[size_t(r)][1]);
        QStringList fields = table.rows[r];
        if (dms) {
            TavroTerraceJWD text;
            trans.gaussUncompute(text, plane, map, TavroTransParam_7(), true);
            fields << text.longitude << text.latitude;
        } else {
            AcGePoint2d geodetic;
            trans.gaussUncompute(geodetic, plane, meridian, system);
            fields << fixed(geodetic.x, 9) << fixed(geodetic.y, 9);
        }
        printLine(fields);
    }
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
            usage = QString("%1: \"%2\" is not a number").arg(parts[0], parts[i]);
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
        usage = QString("%1 takes %2").arg(parts[0], withMeridian ? "ELLIPSOID:DEG" : "ELLIPSOID");
        return false;
    }
    if (withMeridian && !finiteNumber(parts[2], meridian)) {
        usage = QString("%1: \"%2\" is not a central meridian").arg(parts[0], parts[2]);
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
        usage = QString("unknown model \"%1\" (pmdd, ddkj, kj7, kjdd, ddpm, pm4, hf2)").arg(name);
        return false;
    }
    return true;
}

// The side the chain takes its points on: that of its first model that names one.
Side firstSide(const std::vector<Step>& steps) {
    for (const Step& s : steps)
        if (s.in != Side::kAny) return s.in;
    return Side::kAny;
}

// The side the chain gives its points on: that of its last model that names one.
Side lastSide(const std::vector<Step>& steps) {
    for (auto s = steps.rbegin(); s != steps.rend(); ++s)
        if (s->out != Side::kAny) return s->out;
    return Side::kAny;
}

} // namespace

int runTransform(const QStringList& args) {
    const char* verb = "transform";
    Options options;
    QString usage;
    if (!parseOptions(args, {"--chain"}, {}, options, usage)) return usageError(verb, usage);
    const QString spec = options.values.value("--chain");
    if (spec.trimmed().isEmpty()) return usageError(verb, "--chain needs a list of models");

    QStringList errors;
    std::vector<Step> steps;
    for (const QString& text : spec.split(',')) {
        Step step;
        if (!makeStep(text.trimmed(), step, usage, errors))
            return errors.isEmpty() ? usageError(verb, usage) : reportErrors(verb, errors);
        steps.push_back(std::move(step));
    }

    Table table;
    QVector<int> index;
    std::vector<std::vector<double>> values;
    if (!readTable(options.files[0], table, errors)) return reportErrors(verb, errors);
    const bool hasZ = table.header.contains("z");
    QStringList columns{"x", "y"};
    if (hasZ) columns << "z";
    if (!findColumns(table, columns, index, errors) || !readNumbers(table, index, values, errors))
        return reportErrors(verb, errors);

    CTavroPCoreTransform chain;
    chain.beginTransform();
    for (Step& s : steps)
        chain.addPCCoreObject(s.model.release());
    // Geodetic ends of the chain are read and written in degrees; the models work in radians.
    const bool degreesIn = firstSide(steps) == Side::kGeodetic;
    const bool degreesOut = lastSide(steps) == Side::kGeodetic;
    const double inScale = degreesIn ? 1.0 / kRadToDeg : 1.0;
    const double outScale = degreesOut ? kRadToDeg : 1.0;
    const int decimals = degreesOut ? 9 : 4;

    printLine(table.header + QStringList{"X", "Y", "Z"});
    for (int r = 0; r < table.rows.size(); ++r) {
        const std::vector<double>& v = values[size_t(r)];
        double X = 0, Y = 0, Z = 0;
        chain.transform(v[0] * inScale, v[1] * inScale, hasZ ? v[2] : 0.0, X, Y, Z);
        printLine(table.rows[r] + QStringList{fixed(X * outScale, decimals),
                                              fixed(Y * outScale, decimals), fixed(Z, 4)});
    }
    chain.endTransform();
    return kExitOk;
}

} // namespace tavro
