// tavro gauss-inverse: Gauss-Krueger plane points to longitude and latitude.

#include "Commands.h"
#include "GeodesyTables.h"

#include "TavroGeometric142.h"

#include <QSet>

#include <cmath>

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

namespace {

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
    const int zone = CTavroGaussKrueger::zoneNumber(easting);
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

    CsvTable table;
    QStringList errors;
    QVector<int> index;
    std::vector<std::vector<double>> values;
    if (!readCsvTable(options.files[0], table, errors) ||
        !findColumns(table, {"northing", "easting"}, index, errors) ||
        !readNumbers(table, index, values, errors))
        return dataError(verb, errors);

    const CTavroGeoCoorTrans trans;
    CoordinateMap map;
    map.centralMeridian = meridian;
    map.coorSystem = system;
    Output out;
    printCsvLine(out, table.header + QStringList{"longitude", "latitude"});
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
        printCsvLine(out, fields);
    }
    if (!errors.isEmpty()) return dataError(verb, errors);
    if (!out.commit(options.output(), error)) return dataError(verb, error);
    return kExitOk;
}
} // namespace tavro
