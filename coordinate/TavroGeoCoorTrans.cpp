#include "TavroGeoCoorTrans.h"

#include "TavroCommon.h"
#include "TavroEllipsoid.h"
#include "TavroGaussKrueger.h"
#include "TavroTolerance.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
// Decimals of the seconds (or of the decimal degrees) in the position texts.
constexpr int kTextDecimals = 2;

struct DegreesMinutesSeconds {
    int degrees = 0;
    int minutes = 0;
    double seconds = 0.0;
};

// Splits decimal degrees; seconds carry a 1e-6 nudge so that 30.5 does not print as 29'59.99".
// A value that is not finite or too large for the int degree field splits into 0, 0 and NaN.
DegreesMinutesSeconds splitDegrees(double value) {
    const int sign = value < 0 ? -1 : 1;
    const double v = std::fabs(value);
    DegreesMinutesSeconds dms;
    if (!(v < 1e9)) {
        dms.seconds = std::nan("");
        return dms;
    }
    dms.degrees = static_cast<int>(v);
    dms.minutes = static_cast<int>((v - dms.degrees) * 60.0);
    dms.seconds = ((v - dms.degrees) - dms.minutes / 60.0) * 3600.0 + Tavro::kDmsRoundingSeconds;
    while (dms.seconds >= 60.0) {
        dms.seconds -= 60.0;
        dms.minutes += 1;
    }
    while (dms.minutes >= 60) {
        dms.minutes -= 60;
        dms.degrees += 1;
    }
    dms.degrees *= sign;
    return dms;
}

// Rounds seconds to the printed decimals by printing them and reading the text back, then
// carries a seconds value of 60 into the minutes and 60 minutes into the degrees, once each.
void roundForPrinting(int& degrees, int& minutes, double& seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", kTextDecimals, seconds);
    seconds = std::strtod(text, nullptr);
    if (seconds >= 60.0) {
        seconds -= 60.0;
        minutes += 1;
        if (minutes >= 60) {
            minutes -= 60;
            degrees += 1;
        }
    }
}

// out.x longitude, out.y latitude in decimal degrees from radians about the central meridian.
void toDegrees(AcGePoint2d& out, double latitude, double longitude, double centralMeridian) {
    out.x = longitude * 180.0 / Tavro::kPi + centralMeridian;
    out.y = latitude * 180.0 / Tavro::kPi;
}

QString positionText(int degrees, int minutes, double seconds, int sign, bool dms) {
    const QString minus = sign < 0 ? QStringLiteral("-") : QString();
    if (dms)
        return minus +
               QString::asprintf("%02d°%02d'%02.*f\"", degrees, minutes, kTextDecimals, seconds);
    const double decimal = degrees + minutes / 60.0 + seconds / 3600.0;
    return minus + QString::asprintf("%.*f°", kTextDecimals, decimal);
}
} // namespace

CTavroGeoCoorTrans::CTavroGeoCoorTrans() = default;
CTavroGeoCoorTrans::CTavroGeoCoorTrans(const CTavroGeoCoorTrans& other) = default;
CTavroGeoCoorTrans& CTavroGeoCoorTrans::operator=(const CTavroGeoCoorTrans& other) = default;
CTavroGeoCoorTrans::~CTavroGeoCoorTrans() = default;

bool CTavroGeoCoorTrans::setCoordinateMap(const CoordinateMap& before, const CoordinateMap& after) {
    const bool refused = (before.index < 0 && before.centralMeridian <= 0) ||
                         (before.centralMeridian <= 0 && before.value <= 0);
    if (refused) {
        CTavroMessage::errorMsg(QString::fromUtf8("请输入正确的转换前中央子午线值"), nullptr,
                                QString::fromUtf8("错误"));
        return false;
    }
    m_mapBefore = before;
    m_mapAfter = after;
    return true;
}

double CTavroGeoCoorTrans::ARC_S(double latitude, double tolerance, double a,
                                 double inverseFlattening) const {
    return CTavroGaussKrueger::meridianArcIntegral(latitude, tolerance, a, inverseFlattening);
}

double CTavroGeoCoorTrans::ARC_B(double arcLength, double tolerance, double a,
                                 double inverseFlattening) const {
    return CTavroGaussKrueger::latitudeOfArcIntegral(arcLength, tolerance, a, inverseFlattening);
}

void CTavroGeoCoorTrans::gaussUncompute(AcGePoint2d& out, const AcGePoint2d& in,
                                        double centralMeridian,
                                        Tavro::TavroCoorSystem system) const {
    // The ellipsoid's own inverse flattening: the table's b of CGCS 2000 is rounded to the
    // metre, and a / (a - b) from it would be 298.2528 instead of 298.257222101.
    double a = 1.0, r = 1.0;
    CTavroEllipsoid::axesOf(system, a, r);
    double latitude = 0.0, longitude = 0.0;
    CTavroGaussKrueger::planeToGeodetic(a, r, in.x, in.y, CTavroGaussKrueger::kFootpointKrueger,
                                        CTavroGaussKrueger::kPrefixOfPositive, latitude, longitude);
    toDegrees(out, latitude, longitude, centralMeridian);
}

void CTavroGeoCoorTrans::gaussFromFootpoint(AcGePoint2d& out, const AcGePoint2d& in,
                                            double centralMeridian, double a,
                                            double inverseFlattening, double footpoint) const {
    const double offset =
        CTavroGaussKrueger::meridianOffset(in.y, CTavroGaussKrueger::kPrefixOfPositive);
    double latitude = 0.0, longitude = 0.0;
    CTavroGaussKrueger::inverse(a, inverseFlattening, footpoint, offset, latitude, longitude);
    toDegrees(out, latitude, longitude, centralMeridian);
}

void CTavroGeoCoorTrans::getGeodeticCoordinates(TavroGeodeticCoordinate& out, int& lonSign,
                                                int& latSign, const AcGePoint2d& in,
                                                Tavro::TavroCoorSystem system,
                                                double centralMeridian) const {
    AcGePoint2d position;
    gaussUncompute(position, in, centralMeridian, system);
    double lon = position.x;
    double lat = position.y;
    if (lat < 0) {
        lat = -lat;
        latSign = -1;
    }
    if (lon < 0) {
        lon = -lon;
        lonSign = -1;
    }
    const DegreesMinutesSeconds latParts = splitDegrees(lat);
    const DegreesMinutesSeconds lonParts = splitDegrees(lon);
    out.latDegree = latParts.degrees;
    out.latMinute = latParts.minutes;
    out.latSecond = latParts.seconds;
    out.lonDegree = lonParts.degrees;
    out.lonMinute = lonParts.minutes;
    out.lonSecond = lonParts.seconds;
}

bool CTavroGeoCoorTrans::gaussUncompute(TavroTerraceJWD& out, const AcGePoint2d& in,
                                        const CoordinateMap& map, TavroTransParam_7 /*param*/,
                                        bool dms) const {
    int lonSign = 1;
    int latSign = 1;
    TavroGeodeticCoordinate g;
    getGeodeticCoordinates(g, lonSign, latSign, in, map.coorSystem, map.centralMeridian);
    roundForPrinting(g.latDegree, g.latMinute, g.latSecond);
    roundForPrinting(g.lonDegree, g.lonMinute, g.lonSecond);
    out.longitude = positionText(g.lonDegree, g.lonMinute, g.lonSecond, lonSign, dms);
    out.latitude = positionText(g.latDegree, g.latMinute, g.latSecond, latSign, dms);
    return true;
}
