#include "TavroGaussKrueger.h"
#include "TavroTolerance.h"

#include <climits>
#include <cmath>

namespace {
// Bounds that only absurd input reaches (latitudes of millions of radians, a non-finite or zero
// tolerance): real latitudes settle with a few hundred samples and a dozen footpoint steps.
constexpr int kMaxArcSamples = 1 << 16;
constexpr int kMaxFootpointSteps = 32;

// The meridian radius of curvature M(phi) of the ellipsoid given by a and 1/f.
class MeridianRadius {
public:
    MeridianRadius(double a, double rf) {
        const double b = a * (1.0 - 1.0 / rf);
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

// The arc divided by the rectifying radius is the rectifying latitude mu; the latitude is mu
// plus a sine series in 2 mu whose coefficients are Krueger's series in n = f / (2 - f).
class KruegerFootpoint {
public:
    KruegerFootpoint(double a, double rf) {
        const double f = 1.0 / rf;
        const double n = f / (2.0 - f);
        const double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n;
        m_rectifyingRadius = a / (1.0 + n) * (1.0 + n2 / 4.0 + n4 / 64.0);
        m_sine[0] = 3.0 * n / 2.0 - 27.0 * n3 / 32.0 + 269.0 * n5 / 512.0;
        m_sine[1] = 21.0 * n2 / 16.0 - 55.0 * n4 / 32.0;
        m_sine[2] = 151.0 * n3 / 96.0 - 417.0 * n5 / 128.0;
        m_sine[3] = 1097.0 * n4 / 512.0;
        m_sine[4] = 8011.0 * n5 / 2560.0;
    }
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

// The factor of the latitude term of the meridian arc series in e^2.
double meridianFactor(double e2) {
    return 1.0 - e2 / 4.0 - 3.0 * e2 * e2 / 64.0 - 5.0 * e2 * e2 * e2 / 256.0;
}

// The footpoint of the chain models: mu from the meridian factor, the sine series to n^4.
double truncatedFootpoint(const TavroEllipsoidShape& s, double northing) {
    const double n = (s.a - s.b) / (s.a + s.b);
    const double n2 = n * n, n3 = n2 * n, n4 = n3 * n;
    const double mu = northing / (s.a * meridianFactor(s.e2));
    return mu + (3.0 * n / 2.0 - 27.0 * n3 / 32.0) * std::sin(2.0 * mu) +
           (21.0 * n2 / 16.0 - 55.0 * n4 / 32.0) * std::sin(4.0 * mu) +
           (151.0 * n3 / 96.0) * std::sin(6.0 * mu);
}

inline double footpointOf(double a, double rf, double northing,
                          CTavroGaussKrueger::Footpoint method) {
    if (method == CTavroGaussKrueger::kFootpointTruncated)
        return truncatedFootpoint(CTavroGaussKrueger::shapeOf(a, rf), northing);
    return KruegerFootpoint(a, rf).latitude(northing);
}

// The inverse series about the footpoint (see CTavroGaussKrueger::inverse).
inline void inverseSeries(double a, double rf, double footpoint, double offset, double& latitude,
                          double& longitude) {
    const double b = a * (1.0 - 1.0 / rf);
    const double c = a * a / b;
    const double ep = std::sqrt((a * a - b * b) / (b * b));

    const double cosBf = std::cos(footpoint);
    const double t = std::sin(footpoint) / cosBf;
    const double t2 = t * t;
    const double eta2 = (ep * cosBf) * (ep * cosBf);
    const double v2 = 1.0 + eta2;
    const double u = offset / (c / std::sqrt(v2));
    const double u2 = u * u;

    latitude = footpoint -
               (v2 * t / 2.0) * (u2 - (5.0 + 3.0 * t2 + eta2 - 9.0 * eta2 * t2) * u2 * u2 / 12.0 +
                                 (61.0 + 90.0 * t2 + 45.0 * t2 * t2) * u2 * u2 * u2 / 360.0);
    longitude =
        (u - (1.0 + 2.0 * t2 + eta2) * u2 * u / 6.0 +
         (5.0 + 28.0 * t2 + 24.0 * t2 * t2 + 6.0 * eta2 + 8.0 * eta2 * t2) * u2 * u2 * u / 120.0) /
        cosBf;
}
} // namespace

TavroEllipsoidShape CTavroGaussKrueger::shapeOf(double a, double rf) {
    const double f = 1.0 / rf;
    const double b = a * (1.0 - f);
    return {a, b, 1.0 - (b / a) * (b / a), (a / b) * (a / b) - 1.0};
}

double CTavroGaussKrueger::meridianOffset(double easting, ZonePrefix rule) {
    // The remainder is exact: it gives what repeated subtraction of 1e6 gives, without looping
    // on an enormous or infinite easting.
    const bool prefixed = rule == kPrefixTowardZero || easting >= kZonePrefixUnit;
    return (prefixed ? std::fmod(easting, kZonePrefixUnit) : easting) - kFalseEasting;
}

int CTavroGaussKrueger::zoneNumber(double easting) {
    const double zone = std::trunc(easting / kZonePrefixUnit);
    return std::fabs(zone) < INT_MAX ? static_cast<int>(zone) : 0;
}

bool CTavroGaussKrueger::northingInZone(double northing) {
    return std::fabs(northing) <= kMostNorthing;
}

bool CTavroGaussKrueger::eastingInZone(double easting) {
    const double offset = meridianOffset(easting, kPrefixTowardZero);
    return std::fabs(offset) <= kMostMeridianOffset && easting >= 0.0;
}

void CTavroGaussKrueger::inverse(double a, double rf, double footpoint, double offset,
                                 double& latitude, double& longitude) {
    inverseSeries(a, rf, footpoint, offset, latitude, longitude);
}

void CTavroGaussKrueger::planeToGeodetic(double a, double rf, double northing, double easting,
                                         Footpoint method, ZonePrefix rule, double& latitude,
                                         double& longitude) {
    // Each method gets its own straight run of code: the projection is called per point.
    const double offset = meridianOffset(easting, rule);
    if (method == kFootpointTruncated)
        inverseSeries(a, rf, footpointOf(a, rf, northing, kFootpointTruncated), offset, latitude,
                      longitude);
    else
        inverseSeries(a, rf, footpointOf(a, rf, northing, kFootpointKrueger), offset, latitude,
                      longitude);
}

double CTavroGaussKrueger::footpointLatitude(double a, double rf, double northing,
                                             Footpoint method) {
    return footpointOf(a, rf, northing, method);
}

void CTavroGaussKrueger::forward(double a, double rf, double latitude, double longitude,
                                 double& offset, double& northing) {
    const TavroEllipsoidShape s = shapeOf(a, rf);
    const double tanB = std::tan(latitude), cosB = std::cos(latitude), sinB = std::sin(latitude);
    const double T = tanB * tanB;
    const double C = s.ep2 * cosB * cosB;
    const double A = longitude * cosB;
    const double N = s.a / std::sqrt(1.0 - s.e2 * sinB * sinB);
    const double A2 = A * A;
    offset = N * (A + (1.0 - T + C) * A2 * A / 6.0 +
                  (5.0 - 18.0 * T + T * T + 14.0 * C - 58.0 * T * C) * A2 * A2 * A / 120.0);
    northing = meridianArc(s, latitude) +
               N * tanB *
                   (A2 / 2.0 + (5.0 - T + 9.0 * C + 4.0 * C * C) * A2 * A2 / 24.0 +
                    (61.0 - 58.0 * T + T * T + 270.0 * C - 330.0 * T * C) * A2 * A2 * A2 / 720.0);
}

double CTavroGaussKrueger::meridianArc(const TavroEllipsoidShape& s, double B) {
    const double e2 = s.e2, e4 = e2 * e2, e6 = e4 * e2;
    return s.a * (meridianFactor(e2) * B -
                  (3.0 * e2 / 8.0 + 3.0 * e4 / 32.0 + 45.0 * e6 / 1024.0) * std::sin(2.0 * B) +
                  (15.0 * e4 / 256.0 + 45.0 * e6 / 1024.0) * std::sin(4.0 * B) -
                  (35.0 * e6 / 3072.0) * std::sin(6.0 * B));
}

double CTavroGaussKrueger::meridianArcIntegral(double latitude, double tolerance, double a,
                                               double rf) {
    if (std::fabs(latitude) < Tavro::kZeroArcLatitude) return 0.0;
    const MeridianRadius radius(a, rf);
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

double CTavroGaussKrueger::latitudeOfArcIntegral(double arcLength, double tolerance, double a,
                                                 double rf) {
    // A fixed slope: the radius at the latitude arcLength / a.
    const double slope = MeridianRadius(a, rf)(arcLength / a);
    double latitude = arcLength / slope;
    double miss = tolerance + Tavro::kArcInversionStartMiss;
    for (int step = 0; std::fabs(miss) >= tolerance && step < kMaxFootpointSteps; ++step) {
        latitude += miss / slope;
        miss = arcLength - meridianArcIntegral(latitude, tolerance, a, rf);
    }
    return latitude;
}
