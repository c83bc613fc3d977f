#include "GeodesyTables.h"

#include "Commands.h"

#include "TavroEllipsoid.h"
#include "TavroGaussKrueger.h"

#include <QMap>

#include <cmath>

namespace tavro {

QString fixed(double value, int decimals) {
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0.0;
    return QString::number(value, 'f', decimals);
}

QString exact(double value) {
    return QString::number(value, 'g', 15);
}

bool finiteNumber(const QString& text, double& value) {
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value);
}

bool ellipsoidByName(const QString& name, Tavro::TavroCoorSystem& system) {
    const TavroEllipsoidConstants* e = CTavroEllipsoid::constantsOfName(name);
    if (e) system = e->system;
    return e != nullptr;
}

bool readMeridian(const QString& text, double& meridian) {
    return finiteNumber(text, meridian) && std::fabs(meridian) <= 180.0;
}

bool planeInRange(double northing, double easting, QString& reason) {
    using GK = CTavroGaussKrueger;
    if (!GK::northingInZone(northing)) {
        reason = QString("northing %1 lies beyond the pole (at most %2 m)")
                     .arg(northing, 0, 'g', 12)
                     .arg(GK::kMostNorthing, 0, 'f', 0);
        return false;
    }
    if (!GK::eastingInZone(easting)) {
        reason = QString("easting %1 lies %2 m from the central meridian (at most %3 m)")
                     .arg(easting, 0, 'g', 12)
                     .arg(std::fabs(GK::meridianOffset(easting, GK::kPrefixTowardZero)), 0, 'f', 0)
                     .arg(GK::kMostMeridianOffset, 0, 'f', 0);
        return false;
    }
    return true;
}

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
    bool started = false;
    for (const CsvRow& row : splitCsv(QString::fromUtf8(bytes))) {
        if (row.blank()) {
            if (started) break;
            continue;
        }
        started = true;
        const QStringList& fields = row.fields;
        if (fields.size() != 2) {
            errors << QString("%1:%2: expected parameter,value").arg(name).arg(row.line);
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
                          .arg(row.line)
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

namespace {

// Reads the point table of a fit verb and flattens its numbers row by row.
bool readFitPoints(const FitVerb& v, const QString& path, CsvTable& table,
                   std::vector<double>& flat, int& status) {
    QStringList errors;
    QVector<int> index;
    std::vector<std::vector<double>> values;
    if (!readCsvTable(path, table, errors) || !findColumns(table, v.columns, index, errors) ||
        !readNumbers(table, index, values, errors)) {
        status = dataError(v.verb, errors);
        return false;
    }
    if (table.rows.size() < v.minimum) {
        status = dataError(v.verb, QStringList{QString("%1: needs at least %2 points, found %3")
                                                   .arg(table.path)
                                                   .arg(v.minimum)
                                                   .arg(table.rows.size())});
        return false;
    }
    for (const std::vector<double>& row : values)
        flat.insert(flat.end(), row.begin(), row.end());
    return true;
}

void printParameters(Output& out, const FitVerb& v, const TavroFitReport& report, int points) {
    std::vector<Parameter> rows;
    for (int i = 0; i < v.parameterNames.size(); ++i)
        rows.push_back({v.parameterNames[i], report.parameters[size_t(i)]});
    if (v.readable)
        for (const Parameter& p : v.readable(report.parameters))
            rows.push_back(p);
    rows.push_back({"points", double(points)});
    rows.push_back({"rms", report.rms});
    printCsvLine(out, {"parameter", "value"});
    printCsvLine(out, {"model", v.model});
    for (const Parameter& p : rows)
        printCsvLine(out, {p.name, exact(p.value)});
}

// The input rows followed by their residual columns: the components, then the misfit when the
// residual has more than one.
void printResiduals(Output& out, const FitVerb& v, const CsvTable& table,
                    const TavroFitReport& report) {
    out.append("\n");
    printCsvLine(out, table.header + v.residualNames);
    const size_t axes = size_t(report.axes);
    for (int r = 0; r < table.rows.size(); ++r) {
        QStringList fields = table.rows[r];
        for (size_t k = 0; k < axes; ++k)
            fields << fixed(report.residuals[size_t(r) * axes + k], 4);
        if (axes > 1) fields << fixed(report.misfits[size_t(r)], 4);
        printCsvLine(out, fields);
    }
}

} // namespace

int runFitVerb(const FitVerb& v, const QStringList& args) {
    ParsedArgs parsed;
    QString error;
    if (!parseArgs(args, {kOutputOption}, 1, 1, parsed, error)) return usageError(v.verb, error);
    CsvTable table;
    std::vector<double> data;
    int status = kExitOk;
    if (!readFitPoints(v, parsed.files[0], table, data, status)) return status;
    TavroFitReport report;
    if (!v.fit(data.data(), static_cast<int>(data.size()), report))
        return dataError(v.verb, QStringList{QString("%1: the points do not determine the "
                                                     "parameters (the normal equations are "
                                                     "singular)")
                                                 .arg(table.path)});
    Output out;
    printParameters(out, v, report, table.rows.size());
    printResiduals(out, v, table, report);
    if (!report.finite())
        return dataError(v.verb, "the fit gives a parameter that is not finite; nothing written");
    if (!out.commit(parsed.output(), error)) return dataError(v.verb, error);
    return kExitOk;
}

} // namespace tavro
