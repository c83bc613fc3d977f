#pragma once
// What the geodetic verbs of tavro share: their numbers as text, the ellipsoid and central
// meridian arguments, the check of a Gauss plane point, and the parameter tables that the fit
// verbs write and transform reads back.

#include "CliSupport.h"
#include "CsvTable.h"

#include "TavroFitReport.h"
#include "TavroTypes.h"

#include <vector>

namespace tavro {

// Fixed decimals; a value that rounds to zero prints without a minus sign.
QString fixed(double value, int decimals);
// 15 significant digits, as the parameter tables hold their numbers.
QString exact(double value);
bool finiteNumber(const QString& text, double& value);

// wgs84, xian80, cgcs2000 or beijing54 (any case) from the library's ellipsoid table.
bool ellipsoidByName(const QString& name, Tavro::TavroCoorSystem& system);
// A central meridian in degrees, -180 to 180.
bool readMeridian(const QString& text, double& meridian);
// Whether a plane point (northing, easting with or without a zone prefix) lies where the
// inverse projection holds; reason says why not.
bool planeInRange(double northing, double easting, QString& reason);

struct Parameter {
    QString name;
    double value;
};

// Reads the named parameters of a model from a parameter table (the first block of a fit
// verb's output: rows parameter,value up to the first blank line).
bool readParameters(const QString& path, const char* model, const QStringList& names,
                    std::vector<double>& values, QStringList& errors);

// One fit verb: the columns it reads, the least number of points, the library's fit, and how
// its answer is named.
struct FitVerb {
    const char* verb;
    QStringList columns;
    int minimum;
    bool (*fit)(const double* data, int n, TavroFitReport& out);
    const char* model;
    QStringList parameterNames;
    QStringList residualNames;
    // Further rows of the parameter table that restate parameters in reading units; may be null.
    std::vector<Parameter> (*readable)(const std::vector<double>& parameters);
};

// Parses the arguments, reads the points, fits, and writes the parameter table, a blank line and
// the points with their residuals; the exit status.
int runFitVerb(const FitVerb& verb, const QStringList& args);

} // namespace tavro
