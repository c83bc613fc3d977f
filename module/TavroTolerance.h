#pragma once
// The library's shared absolute tolerances (drawing units or radians). Tolerances that belong to
// one algorithm stay beside it; these are the ones many functions agree on.

namespace Tavro {
// A coordinate difference, chord, distance, bulge, triangle area, cross or dot product that
// counts as zero.
constexpr double kTol = 1e-6;
// A bulge that counts as zero where a point on the arc is computed; an x extent or running area
// that counts as zero in the centroid.
constexpr double kArcTol = 1e-10;
// A squared distance that counts as zero (a ring already closed).
constexpr double kSquaredTol = 1e-12;
// The accepted range of an arc or segment parameter.
constexpr double kParamLow = -1e-7;
constexpr double kParamHigh = 1.0000001;

constexpr double kPi = 3.14159265358979323846264338327950288;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kHalfPi = 0.5 * kPi;
} // namespace Tavro
