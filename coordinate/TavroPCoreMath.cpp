#include "TavroPCoreMath.h"

#include "TavroTolerance.h"

#include <cmath>

namespace TavroCoordInternal {
namespace {
// The latitude iteration stops when two values agree this closely (radians).
constexpr double kLatitudeTol = 1e-10;
// It settles in a handful of steps; the bound only stops input that never settles (NaN).
constexpr int kMaxLatitudeSteps = 100;

struct Shape {
    double a;
    double b;
    double e2;  // first eccentricity squared
    double ep2; // second eccentricity squared
};

Shape shapeOf(double a, double inverseFlattening) {
    const double f = 1.0 / inverseFlattening;
    const double b = a * (1.0 - f);
    return {a, b, 1.0 - (b / a) * (b / a), (a / b) * (a / b) - 1.0};
}

double primeVerticalRadius(const Shape& s, double latitude) {
    const double sinB = std::sin(latitude);
    return s.a / std::sqrt(1.0 - s.e2 * sinB * sinB);
}

// The factor of the latitude term of the meridian arc series.
double meridianFactor(double e2) {
    return 1.0 - e2 / 4.0 - 3.0 * e2 * e2 / 64.0 - 5.0 * e2 * e2 * e2 / 256.0;
}

double meridianArc(const Shape& s, double B) {
    const double e2 = s.e2, e4 = e2 * e2, e6 = e4 * e2;
    return s.a * (meridianFactor(e2) * B -
                  (3.0 * e2 / 8.0 + 3.0 * e4 / 32.0 + 45.0 * e6 / 1024.0) * std::sin(2.0 * B) +
                  (15.0 * e4 / 256.0 + 45.0 * e6 / 1024.0) * std::sin(4.0 * B) -
                  (35.0 * e6 / 3072.0) * std::sin(6.0 * B));
}
} // namespace

void planeSimilarity(const double param[4], double x, double y, double& X, double& Y) {
    const double c = std::cos(param[2]), s = std::sin(param[2]), k = param[3];
    X = param[0] + k * (x * c - y * s);
    Y = param[1] + k * (x * s + y * c);
}

double heightSurface(const double param[8], double x, double y, double h) {
    const double u = x - param[0], v = y - param[1];
    return h + param[2] + param[3] * u + param[4] * v + param[5] * u * u + param[6] * u * v +
           param[7] * v * v;
}

void geodeticToCartesian(double a, double inverseFlattening, double B, double L, double h,
                         double& X, double& Y, double& Z) {
    const Shape s = shapeOf(a, inverseFlattening);
    const double N = primeVerticalRadius(s, B);
    X = (N + h) * std::cos(B) * std::cos(L);
    Y = (N + h) * std::cos(B) * std::sin(L);
    Z = (N * (1.0 - s.e2) + h) * std::sin(B);
}

void sevenParameter(const double p[7], double X, double Y, double Z, double& outX, double& outY,
                    double& outZ) {
    const double k = 1.0 + p[3];
    outX = p[0] + k * (X - Z * p[5] + Y * p[6]);
    outY = p[1] + k * (Y + Z * p[4] - X * p[6]);
    outZ = p[2] + k * (Z - Y * p[4] + X * p[5]);
}

void cartesianToGeodetic(double a, double inverseFlattening, double X, double Y, double Z,
                         double& B, double& L, double& h) {
    const Shape s = shapeOf(a, inverseFlattening);
    const double p = std::sqrt(X * X + Y * Y);
    L = std::atan2(Y, X);
    if (p == 0.0) {
        // The iteration has no footing on the axis: the poles answer directly, the centre not.
        const bool centre = Z == 0.0;
        B = centre ? std::nan("") : std::copysign(Tavro::kHalfPi, Z);
        h = centre ? std::nan("") : std::fabs(Z) - s.b;
        return;
    }
    double latitude = std::atan(Z / p);
    double previous = latitude;
    for (int step = 0; step < kMaxLatitudeSteps; ++step) {
        previous = latitude;
        const double N = primeVerticalRadius(s, latitude);
        latitude = std::atan((Z + s.e2 * N * std::sin(latitude)) / p);
        if (std::fabs(previous - latitude) < kLatitudeTol) break;
    }
    // The earlier of the last two values is the answer.
    B = previous;
    // The distance along the normal, p cos B + Z sin B - a^2/N: unlike p / cos B - N it does
    // not divide by cos B, so it keeps its precision up to the pole, and an error in B changes
    // it only to second order.
    const double sinB = std::sin(previous);
    h = p * std::cos(previous) + Z * sinB - s.a * std::sqrt(1.0 - s.e2 * sinB * sinB);
}

void geodeticToPlane(double a, double inverseFlattening, double lambda0, int zone, double B,
                     double L, double& easting, double& northing) {
    const Shape s = shapeOf(a, inverseFlattening);
    const double tanB = std::tan(B), cosB = std::cos(B);
    const double T = tanB * tanB;
    const double C = s.ep2 * cosB * cosB;
    const double A = (L - lambda0) * cosB;
    const double N = primeVerticalRadius(s, B);
    const double A2 = A * A;
    easting = zone * 1000000.0 + 500000.0 +
              N * (A + (1.0 - T + C) * A2 * A / 6.0 +
                   (5.0 - 18.0 * T + T * T + 14.0 * C - 58.0 * T * C) * A2 * A2 * A / 120.0);
    northing = meridianArc(s, B) +
               N * tanB *
                   (A2 / 2.0 + (5.0 - T + 9.0 * C + 4.0 * C * C) * A2 * A2 / 24.0 +
                    (61.0 - 58.0 * T + T * T + 270.0 * C - 330.0 * T * C) * A2 * A2 * A2 / 720.0);
}

void planeToGeodetic(double a, double inverseFlattening, double lambda0, double easting,
                     double northing, double& B, double& L) {
    const Shape s = shapeOf(a, inverseFlattening);
    const double n = (s.a - s.b) / (s.a + s.b);
    const double n2 = n * n, n3 = n2 * n, n4 = n3 * n;
    const double mu = northing / (s.a * meridianFactor(s.e2));
    const double phi1 = mu + (3.0 * n / 2.0 - 27.0 * n3 / 32.0) * std::sin(2.0 * mu) +
                        (21.0 * n2 / 16.0 - 55.0 * n4 / 32.0) * std::sin(4.0 * mu) +
                        (151.0 * n3 / 96.0) * std::sin(6.0 * mu);
    const double sin1 = std::sin(phi1), cos1 = std::cos(phi1), tan1 = std::tan(phi1);
    const double w = 1.0 - s.e2 * sin1 * sin1;
    const double N1 = s.a / std::sqrt(w);
    const double R1 = s.a * (1.0 - s.e2) / (w * std::sqrt(w));
    const double T1 = tan1 * tan1;
    const double C1 = s.ep2 * cos1 * cos1;
    const double D = (easting - (1000000.0 * std::trunc(easting / 1000000.0) + 500000.0)) / N1;
    const double D2 = D * D;
    B = phi1 -
        (N1 * tan1 / R1) * (D2 / 2.0 - (5.0 + 3.0 * T1 + C1 - 9.0 * T1 * C1) * D2 * D2 / 24.0 +
                            (61.0 + 90.0 * T1 + 45.0 * T1 * T1) * D2 * D2 * D2 / 720.0);
    L = lambda0 +
        (D - (1.0 + 2.0 * T1 + C1) * D2 * D / 6.0 +
         (5.0 + 28.0 * T1 + 6.0 * C1 + 8.0 * T1 * C1 + 24.0 * T1 * T1) * D2 * D2 * D / 120.0) /
            cos1;
}

} // namespace TavroCoordInternal
