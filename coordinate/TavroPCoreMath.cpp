#include "TavroPCoreMath.h"

#include "TavroGaussKrueger.h"
#include "TavroTolerance.h"

#include <cmath>

namespace TavroCoordInternal {
namespace {
// It settles in a handful of steps; the bound only stops input that never settles (NaN).
constexpr int kMaxLatitudeSteps = 100;

double primeVerticalRadius(const TavroEllipsoidShape& s, double latitude) {
    const double sinB = std::sin(latitude);
    return s.a / std::sqrt(1.0 - s.e2 * sinB * sinB);
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
    const TavroEllipsoidShape s = CTavroGaussKrueger::shapeOf(a, inverseFlattening);
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
    const TavroEllipsoidShape s = CTavroGaussKrueger::shapeOf(a, inverseFlattening);
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
        if (std::fabs(previous - latitude) < Tavro::kLatitudeTol) break;
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
    double offset = 0.0;
    CTavroGaussKrueger::forward(a, inverseFlattening, B, L - lambda0, offset, northing);
    easting =
        zone * CTavroGaussKrueger::kZonePrefixUnit + CTavroGaussKrueger::kFalseEasting + offset;
}

void planeToGeodetic(double a, double inverseFlattening, double lambda0, double easting,
                     double northing, double& B, double& L) {
    using GK = CTavroGaussKrueger;
    double longitude = 0.0;
    GK::planeToGeodetic(a, inverseFlattening, northing, easting, GK::kFootpointTruncated,
                        GK::kPrefixTowardZero, B, longitude);
    L = lambda0 + longitude;
}

} // namespace TavroCoordInternal
