// The least-squares fit of the applied 7-parameter model, refined by Gauss-Newton from the
// linearised estimate.

#include "TestSupport.h"

#include <array>
#include <cmath>
#include <vector>

namespace {
using Params = std::array<double, 7>;

// The model of CTavroPCoreKJ7, written out here as a second route.
std::array<double, 3> applied(const Params& p, double x, double y, double z) {
    const double s = 1.0 + p[3];
    return {p[0] + s * (x - z * p[5] + y * p[6]), p[1] + s * (y + z * p[4] - x * p[6]),
            p[2] + s * (z - y * p[4] + x * p[5])};
}

// Six Beijing 1954 points (Krassovsky, geodetic to Cartesian) and their targets.
std::vector<double> pairs(const Params& truth, const std::vector<std::array<double, 3>>& noise) {
    const double geodetic[6][3] = {{39.9, 116.3, 50.0},  {40.2, 116.3, 80.0}, {39.9, 116.9, 20.0},
                                   {40.3, 117.0, 120.0}, {39.6, 116.0, 10.0}, {40.0, 116.6, 300.0}};
    CTavroPCoreDDKJ toCartesian;
    toCartesian.setParam(6378245.0, 298.3);
    std::vector<double> data;
    for (int i = 0; i < 6; ++i) {
        double X, Y, Z;
        toCartesian.transform(geodetic[i][0] * kDeg, geodetic[i][1] * kDeg, geodetic[i][2], X, Y,
                              Z);
        const auto t = applied(truth, X, Y, Z);
        data.insert(data.end(), {X, Y, Z, t[0] + noise[size_t(i)][0], t[1] + noise[size_t(i)][1],
                                 t[2] + noise[size_t(i)][2]});
    }
    return data;
}

bool fit(const std::vector<double>& data, Params& p, bool refine) {
    const int n = int(data.size());
    return calcParamKJ7(data.data(), n, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]) &&
           (!refine ||
            refineParamKJ7(data.data(), n, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]));
}

const Params kTruth = {-112.4, 87.9, 61.3, 2.5e-5, 3.1e-5, -2.7e-5, 4.4e-5};
} // namespace

TEST(CoordKJ7Refine, RecoversTheAppliedModelExactly) {
    // Targets made by the applied model without noise: the refined fit gives the model back,
    // while the linearised estimate misses the products of scale change and rotations.
    const std::vector<double> data = pairs(kTruth, std::vector<std::array<double, 3>>(6));
    Params linear{}, refined{};
    ASSERT_TRUE(fit(data, linear, false));
    ASSERT_TRUE(fit(data, refined, true));
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(refined[size_t(k)], kTruth[size_t(k)], 1e-6) << k;
    for (int k = 3; k < 7; ++k)
        EXPECT_NEAR(refined[size_t(k)], kTruth[size_t(k)], 1e-13) << k;
    double linearWorst = 0.0;
    for (size_t i = 0; i < data.size(); i += 6) {
        const auto r = applied(refined, data[i], data[i + 1], data[i + 2]);
        const auto l = applied(linear, data[i], data[i + 1], data[i + 2]);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(r[size_t(k)], data[i + 3 + size_t(k)], 1e-6);
            linearWorst = std::max(linearWorst, std::fabs(l[size_t(k)] - data[i + 3 + size_t(k)]));
        }
    }
    EXPECT_GT(linearWorst, 1e-3); // the fault the refinement mends: millimetres off
}

TEST(CoordKJ7Refine, MatchesAnIndependentLeastSquaresSolution) {
    // The pairs of the command-line test: millimetre noise, rounded to 0.1 mm. Reference values
    // from a separate Python program (Gauss-Newton with central-difference derivatives on the
    // uncentred model, plain Gaussian elimination).
    const std::vector<double> data = {
        -2171030.0658, 4392745.5323, 4069577.7776, -2170893.5716, 4393164.9367, 4069663.2588,
        -2161543.2237, 4373550.3658, 4095096.5182, -2161406.6518, 4373969.6700, 4095182.9723,
        -2216900.4970, 4369749.5924, 4069558.5341, -2216766.1629, 4370170.4427, 4069645.9672,
        -2211570.1623, 4340450.8343, 4103597.5325, -2211436.0711, 4340871.7707, 4103686.5790,
        -2157323.6482, 4423168.9635, 4043942.3518, -2157186.1668, 4423587.7297, 4044025.8759,
        -2190893.8538, 4375113.9286, 4078250.5853, -2190758.4028, 4375534.0391, 4078337.3683};
    const Params reference = {-112.5404708,    87.71241368,      61.48888252,    2.499374584e-05,
                              3.103574996e-05, -2.699695283e-05, 4.403175563e-05};
    Params p{};
    ASSERT_TRUE(fit(data, p, true));
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(p[size_t(k)], reference[size_t(k)], 1e-4) << k;
    for (int k = 3; k < 7; ++k)
        EXPECT_NEAR(p[size_t(k)], reference[size_t(k)], 1e-12) << k;
    // Least squares with free shifts: the residuals sum to zero on each axis; rms 3.633672 mm.
    double sum[3] = {0, 0, 0}, squares = 0.0;
    for (size_t i = 0; i < data.size(); i += 6) {
        const auto f = applied(p, data[i], data[i + 1], data[i + 2]);
        for (int k = 0; k < 3; ++k) {
            const double v = data[i + 3 + size_t(k)] - f[size_t(k)];
            sum[k] += v;
            squares += v * v;
        }
    }
    for (double s : sum)
        EXPECT_NEAR(s, 0.0, 1e-6);
    EXPECT_NEAR(std::sqrt(squares / 6.0), 0.003633672, 1e-8);
}

TEST(CoordKJ7Refine, RefusesWhatItCannotFit) {
    Params p = kTruth;
    const Params before = p;
    const std::vector<double> two = {1e6, 2e6, 3e6, 1e6, 2e6, 3e6, 2e6, 2e6, 3e6, 2e6, 2e6, 3e6};
    EXPECT_FALSE(refineParamKJ7(two.data(), int(two.size()), &p[0], &p[1], &p[2], &p[3], &p[4],
                                &p[5], &p[6]));
    // Three points on one line leave a rotation free.
    std::vector<double> line;
    for (int i = 0; i < 3; ++i)
        line.insert(line.end(), {1e6 * i, 2e6 * i, 3e6 * i, 1e6 * i, 2e6 * i, 3e6 * i});
    EXPECT_FALSE(refineParamKJ7(line.data(), int(line.size()), &p[0], &p[1], &p[2], &p[3], &p[4],
                                &p[5], &p[6]));
    std::vector<double> bad = pairs(kTruth, std::vector<std::array<double, 3>>(6));
    bad[4] = kNaN;
    EXPECT_FALSE(refineParamKJ7(bad.data(), int(bad.size()), &p[0], &p[1], &p[2], &p[3], &p[4],
                                &p[5], &p[6]));
    EXPECT_FALSE(refineParamKJ7(nullptr, 36, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]));
    EXPECT_FALSE(refineParamKJ7(bad.data(), int(bad.size()), nullptr, &p[1], &p[2], &p[3], &p[4],
                                &p[5], &p[6]));
    EXPECT_EQ(p, before);
}
