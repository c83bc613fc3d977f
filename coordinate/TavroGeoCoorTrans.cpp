#include "TavroGeoCoorTrans.h"

#include "TavroCommon.h"
#include "TavroEllipsoid.h"
#include "TavroTolerance.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
// Bounds that only absurd input reaches (latitudes of millions of radians, a non-finite or zero
// tolerance): real latitudes settle with a few hundred samples and a dozen footpoint steps.
constexpr int kMaxArcSamples = 1 << 16;
constexpr int kMaxFootpointSteps = 32;
// Decimals of the seconds (or of the decimal degrees) in the position texts.
constexpr int kTextDecimals = 2;

// The meridian radius of curvature M(phi) of the ellipsoid given by a and 1/f.
class MeridianRadius {
public:
    MeridianRadius(double a, double inverseFlattening) {
        const double b = a * (1.0 - 1.0 / inverseFlattening);
        m_c = a * a / b;
        m_secondEccentricity = std::sqrt((a * a - b * b) / (b * b));
    }
    double operator()(double latitude) const {
        const double t = m_secondEccentricity * std::cos(latitude);
        const double v = std::sqrt(1.0 + t * t);
        return m_c / (v * v * v);
    }

private:
    double m_c = 0.0;
    double m_secondEccentricity = 0.0;
};

// The latitude whose meridian arc is a given length, in closed form: the arc divided by the
// rectifying radius is the rectifying latitude mu, and the latitude is mu plus a sine series in
// 2*mu whose coefficients are Krueger's series in the third flattening n = f/(2 - f). Terms to
// n^5 are kept; the first neglected one is of order n^6 (2e-17 for the earth), so the result
// is exact to rounding, against the 2e-12 rad of the numerical inversion at 1e-5 m.
class FootpointSeries {
public:
    FootpointSeries(double a, double inverseFlattening) {
        const double f = 1.0 / inverseFlattening;
        const double n = f / (2.0 - f);
        const double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n;
        m_rectifyingRadius = a / (1.0 + n) * (1.0 + n2 / 4.0 + n4 / 64.0);
        m_sine[0] = 3.0 * n / 2.0 - 27.0 * n3 / 32.0 + 269.0 * n5 / 512.0;
        m_sine[1] = 21.0 * n2 / 16.0 - 55.0 * n4 / 32.0;
        m_sine[2] = 151.0 * n3 / 96.0 - 417.0 * n5 / 128.0;
        m_sine[3] = 1097.0 * n4 / 512.0;
        m_sine[4] = 8011.0 * n5 / 2560.0;
    }
    // The latitude (radians) whose meridian arc from the equator is arcLength metres.
    double latitude(double arcLength) const {
        const double mu = arcLength / m_rectifyingRadius;
        // Clenshaw's sum of m_sine[k] * sin(2 (k + 1) mu): one sine and one cosine in all.
        const double twoCos = 2.0 * std::cos(2.0 * mu);
        double next = 0.0, afterNext = 0.0;
        for (int k = kTerms - 1; k >= 0; --k) {
            const double current = m_sine[k] + twoCos * next - afterNext;
            afterNext = next;
            next = current;
        }
        return mu + next * std::sin(2.0 * mu);
    }

private:
    static constexpr int kTerms = 5;
    double m_rectifyingRadius = 0.0;
    double m_sine[kTerms] = {};
};

// Removes the zone prefix (whole millions) from an easting. Taking the remainder gives exactly
// what repeated subtraction of 1e6 gives, without looping on an enormous or infinite easting.
double withoutZonePrefix(double easting) {
    return easting >= 1000000.0 ? std::fmod(easting, 1000000.0) : easting;
}

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
    dms.seconds = ((v - dms.degrees) - dms.minutes / 60.0) * 3600.0 + 1e-6;
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
    if (std::fabs(latitude) < 4.5e-15) return 0.0;
    const MeridianRadius radius(a, inverseFlattening);
    // Trapezoid halving with one Richardson step: Simpson's rule on ever finer steps.
    double h = latitude;
    double trapezoid = h * 0.5 * (radius(latitude) + radius(0.0));
    double previous = trapezoid;
    double simpson = trapezoid;
    double change = tolerance + 1.0;
    for (int n = 1; change >= tolerance && n <= kMaxArcSamples; n *= 2) {
        double midpoints = 0.0;
        for (int j = 0; j < n; ++j)
            midpoints += radius((j + 0.5) * h);
        const double refined = (trapezoid + h * midpoints) * 0.5;
        simpson = (4.0 * refined - trapezoid) / 3.0;
        change = std::fabs(simpson - previous);
        trapezoid = refined;
        previous = simpson;
        h *= 0.5;
    }
    return simpson;
}

double CTavroGeoCoorTrans::ARC_B(double arcLength, double tolerance, double a,
                                 double inverseFlattening) const {
    // A fixed slope: the radius at the latitude arcLength / a.
    const double slope = MeridianRadius(a, inverseFlattening)(arcLength / a);
    double latitude = arcLength / slope;
    double miss = tolerance + 0.0001;
    for (int step = 0; std::fabs(miss) >= tolerance && step < kMaxFootpointSteps; ++step) {
        latitude += miss / slope;
        miss = arcLength - ARC_S(latitude, tolerance, a, inverseFlattening);
    }
    return latitude;
}

void CTavroGeoCoorTrans::gaussUncompute(AcGePoint2d& out, const AcGePoint2d& in,
                                        double centralMeridian,
                                        Tavro::TavroCoorSystem system) const {
    // The ellipsoid's own inverse flattening: the table's b of CGCS 2000 is rounded to the
    // metre, and a / (a - b) from it would be 298.2528 instead of 298.257222101.
    const CTavroEllipsoid ellipsoid(system);
    const double a = ellipsoid.m_semiMajor;
    const double r = ellipsoid.m_inverseFlattening;
    gaussFromFootpoint(out, in, centralMeridian, a, r, FootpointSeries(a, r).latitude(in.x));
}

void CTavroGeoCoorTrans::gaussFromFootpoint(AcGePoint2d& out, const AcGePoint2d& in,
                                            double centralMeridian, double a,
                                            double inverseFlattening, double footpoint) const {
    const double y = withoutZonePrefix(in.y) - 500000.0;
    const double b = a * (1.0 - 1.0 / inverseFlattening);
    const double c = a * a / b;
    const double ep = std::sqrt((a * a - b * b) / (b * b));

    const double bf = footpoint;
    const double cosBf = std::cos(bf);
    const double t = std::sin(bf) / cosBf;
    const double t2 = t * t;
    const double eta2 = (ep * cosBf) * (ep * cosBf);
    const double v2 = 1.0 + eta2;
    const double u = y / (c / std::sqrt(v2));
    const double u2 = u * u;

    const double latitude =
        bf - (v2 * t / 2.0) * (u2 - (5.0 + 3.0 * t2 + eta2 - 9.0 * eta2 * t2) * u2 * u2 / 12.0 +
                               (61.0 + 90.0 * t2 + 45.0 * t2 * t2) * u2 * u2 * u2 / 360.0);
    const double longitude =
        (u - (1.0 + 2.0 * t2 + eta2) * u2 * u / 6.0 +
         (5.0 + 28.0 * t2 + 24.0 * t2 * t2 + 6.0 * eta2 + 8.0 * eta2 * t2) * u2 * u2 * u / 120.0) /
        cosBf;

    out.x = longitude * 180.0 / Tavro::kPi + centralMeridian;
    out.y = latitude * 180.0 / Tavro::kPi;
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
