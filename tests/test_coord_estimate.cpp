// Control point pairs and the least-squares estimators of the transformation parameters.

#include "TestSupport.h"

#include <array>
#include <cmath>
#include <vector>

// Reaches the private solver members of the conversion.
class CTavroGeoCoorTransProbe {
public:
    static bool equation(AcArray<AcArray<double>>& matrix, int m, AcArray<double>& out) {
        return CTavroGeoCoorTrans().calcEquation(matrix, m, out);
    }
    static bool leastSquares(const AcArray<AcArray<double>>& rows, int m, AcArray<double>& out) {
        return CTavroGeoCoorTrans().calcLeastSquares(rows, m, out);
    }
};
using Probe = CTavroGeoCoorTransProbe;

namespace {
using Xyz = std::array<double, 3>;

// A deterministic noise source, uniform in [-1, 1).
class Noise {
public:
    double next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(m_state >> 11) / 4503599627370496.0 - 1.0;
    }

private:
    unsigned long long m_state = 12345;
};

struct Similarity {
    double dx, dy, rotation, scale;
    void apply(double x, double y, double& X, double& Y) const {
        X = dx + scale * (x * std::cos(rotation) - y * std::sin(rotation));
        Y = dy + scale * (x * std::sin(rotation) + y * std::cos(rotation));
    }
    // The largest miss, in x or y, of this model at the flat x, y, X, Y records.
    double worstMiss(const std::vector<double>& data) const {
        double worst = 0.0, X, Y;
        for (size_t i = 0; i + 3 < data.size(); i += 4) {
            apply(data[i], data[i + 1], X, Y);
            worst = std::max({worst, std::fabs(X - data[i + 2]), std::fabs(Y - data[i + 3])});
        }
        return worst;
    }
};

// A 2 km patch of control points of a Gauss plane (northing, easting with zone prefix 39),
// as flat records x, y, X, Y, with target noise of the given amplitude.
std::vector<double> planePairs(const Similarity& s, double x0, double y0, int count,
                               double noise = 0.0) {
    Noise random;
    std::vector<double> data;
    for (int i = 0; i < count; ++i) {
        const double x = x0 + 2000.0 * (i % 5) / 4.0 + 37.0 * (i % 3);
        const double y = y0 + 2000.0 * (i / 5) / 3.0 - 11.0 * (i % 4);
        double X, Y;
        s.apply(x, y, X, Y);
        data.insert(data.end(), {x, y, X + noise * random.next(), Y + noise * random.next()});
    }
    return data;
}

bool fitFour(const std::vector<double>& data, Similarity& s) {
    return calcParamPM4(data.data(), static_cast<int>(data.size()), &s.dx, &s.dy, &s.rotation,
                        &s.scale);
}

void expectParams(const TavroTransParam_4& p, const Similarity& s, double shiftTol, double tol) {
    EXPECT_NEAR(p.dx, s.dx, shiftTol);
    EXPECT_NEAR(p.dy, s.dy, shiftTol);
    EXPECT_NEAR(p.rotation, s.rotation, tol);
    EXPECT_NEAR(p.scale, s.scale, tol);
}

AcArray<AcArray<double>> matrixOf(std::initializer_list<std::initializer_list<double>> rows) {
    AcArray<AcArray<double>> m;
    for (const auto& r : rows)
        m.append(AcArray<double>(r));
    return m;
}

// Loads flat x, y, X, Y records into a conversion's pairs.
void loadPairs(CTavroGeoCoorTrans& trans, const std::vector<double>& data) {
    trans.m_pointsBefore.removeAll();
    trans.m_pointsAfter.removeAll();
    for (size_t i = 0; i + 3 < data.size(); i += 4) {
        trans.m_pointsBefore.append(P3(data[i], data[i + 1]));
        trans.m_pointsAfter.append(P3(data[i + 2], data[i + 3]));
    }
}
} // namespace

TEST(CoordPairs, LoadingWithMessages) {
    MessageRecorder recorder;
    CTavroGeoCoorTrans trans;
    const AcArray<AcGePoint3d> five = {P3(0, 0), P3(10, 0), P3(1, 1), P3(11, 1), P3(9, 9, 9)};
    AcArray<AcGePoint3d> three = five, four = five;
    three.setLogicalLength(3);
    four.setLogicalLength(4);
    EXPECT_FALSE(trans.setPointPair(three));
    EXPECT_EQ(trans.m_pointsBefore.length(), 0);
    // An odd count warns and drops the last point.
    EXPECT_TRUE(trans.setPointPair(five));
    EXPECT_EQ(trans.m_pointsBefore, (AcArray<AcGePoint3d>{P3(0, 0), P3(1, 1)}));
    EXPECT_EQ(trans.m_pointsAfter, (AcArray<AcGePoint3d>{P3(10, 0), P3(11, 1)}));
    // The one-array form appends, silently for an even count; the two-array form replaces.
    EXPECT_TRUE(trans.setPointPair(four));
    EXPECT_EQ(trans.m_pointsAfter.length(), 4);
    const AcArray<AcGePoint3d> before = {P3(5, 5), P3(6, 6)}, after = {P3(7, 7), P3(8, 8)};
    EXPECT_TRUE(trans.setPointPair(before, after));
    EXPECT_EQ(trans.m_pointsAfter, after);
    // Too short, then of different lengths: refused, pairs kept.
    EXPECT_FALSE(trans.setPointPair({P3(5, 5)}, after));
    EXPECT_FALSE(trans.setPointPair(before, four));
    EXPECT_EQ(trans.m_pointsBefore, before);
    EXPECT_EQ(trans.m_pointsAfter, after);

    const QString error = u8("错误"), few = u8("输入的点对少于2对");
    EXPECT_EQ(recorder.captions, (QStringList{error, u8("警告"), error, error}));
    EXPECT_EQ(recorder.texts,
              (QStringList{few, u8("输入点的个数为奇数，将\n会自动舍弃最后一个点。"), few,
                           u8("转换前的点和转换后的点个数不一致。")}));
}

TEST(CoordPlaneFour, MemberRecoversHandMadeSimilarities) {
    CTavroGeoCoorTrans trans;
    TavroTransParam_4 p;
    // A pure shift X = x + 10, Y = y - 5.
    const AcArray<AcGePoint3d> src = {P3(0, 0), P3(100, 50)};
    EXPECT_TRUE(trans.setPointPair(src, {P3(10, -5), P3(110, 45)}));
    ASSERT_TRUE(trans.calcTransformParam(p));
    expectParams(p, {10.0, -5.0, 0.0, 1.0}, 1e-9, 1e-12);
    // 90 degrees about the origin with scale 2: X = -2y, Y = 2x (X = a*x - b*y, b > 0).
    EXPECT_TRUE(trans.setPointPair(src, {P3(0, 0), P3(-100, 200)}));
    ASSERT_TRUE(trans.calcTransformParam(p));
    expectParams(p, {0.0, 0.0, kPi / 2, 2.0}, 1e-9, 1e-12);

    // Fewer than 2 pairs, and the 7-parameter record: false, nothing written.
    CTavroGeoCoorTrans single;
    loadPairs(single, {1, 1, 2, 2});
    TavroTransParam_4 untouched{1.5, 2.5, 3.5, 4.5};
    EXPECT_FALSE(single.calcTransformParam(untouched));
    EXPECT_TRUE(untouched.dx == 1.5 && untouched.rotation == 4.5);
    TavroTransParam_7 seven;
    seven.dz = 9.0;
    EXPECT_FALSE(trans.calcTransformParam(seven));
    EXPECT_EQ(seven.dz, 9.0);

    // Public arrays a caller made unequal: only the common pairs count.
    trans.m_pointsAfter.append(P3(kNaN, kNaN));
    ASSERT_TRUE(trans.calcTransformParam(p));
    EXPECT_NEAR(p.scale, 2.0, 1e-12);
}

TEST(CoordPlaneFour, GaussSizedCoordinatesExactAndWithNoise) {
    // Zone-prefixed eastings near 3.9e7: entries of 1e15 in the raw normal equations.
    const Similarity truth{123.456, -78.9, 2.5e-5, 1.0000123};
    const std::vector<double> exact = planePairs(truth, 3874000.0, 39500000.0, 20);
    Similarity fit;
    ASSERT_TRUE(fitFour(exact, fit));
    // The targets themselves are rounded to 7e-9 m, which bounds the rotation to about 1e-12
    // over the 2 km patch and so the shifts, carried to an origin 39000 km away, to about
    // 0.05 mm: still sub-millimetre. At the control points the model is exact.
    TavroTransParam_4 p{fit.dx, fit.dy, fit.scale, fit.rotation};
    expectParams(p, truth, 1e-4, 5e-12);
    EXPECT_LT(fit.worstMiss(exact), 1e-6);

    // The member gives the same answer.
    CTavroGeoCoorTrans trans;
    loadPairs(trans, exact);
    ASSERT_TRUE(trans.calcTransformParam(p));
    expectParams(p, fit, 1e-6, 1e-14);

    // Targets with +-1 cm noise: the fitted model reproduces the true targets at the control
    // points to within the noise, and rotation and scale to noise / patch size.
    const double sigma = 0.01;
    ASSERT_TRUE(fitFour(planePairs(truth, 3874000.0, 39500000.0, 20, sigma), fit));
    EXPECT_NEAR(fit.rotation, truth.rotation, sigma / 2000.0);
    EXPECT_NEAR(fit.scale, truth.scale, sigma / 2000.0);
    EXPECT_LT(fit.worstMiss(exact), sigma);
}

TEST(CoordPlaneFour, CoincidentSourcePointsAreRefusedAtAnySize) {
    for (double size : {0.0, 1.0, 1e3, 3.9e7, 1e12, 1e15, 1e100}) {
        std::vector<double> data;
        for (int i = 0; i < 7; ++i)
            data.insert(data.end(), {size, 0.3 * size, size + i, 5.0 * i});
        double dx = 11.0;
        EXPECT_FALSE(calcParamPM4(data.data(), static_cast<int>(data.size()), &dx, nullptr, nullptr,
                                  nullptr))
            << size;
        EXPECT_EQ(dx, 11.0);
        CTavroGeoCoorTrans trans;
        loadPairs(trans, data);
        TavroTransParam_4 p{1.0, 2.0, 3.0, 4.0};
        EXPECT_FALSE(trans.calcTransformParam(p)) << size;
        EXPECT_TRUE(p.dx == 1.0 && p.rotation == 4.0) << size;
    }
    // Two distinct source points at a large size are enough.
    const std::vector<double> two = {1e12,       1e12, 1e12 + 5,   1e12,
                                     1e12 + 100, 1e12, 1e12 + 105, 1e12};
    double dx = 0, scale = 0;
    ASSERT_TRUE(calcParamPM4(two.data(), 8, &dx, nullptr, nullptr, &scale));
    EXPECT_NEAR(scale, 1.0, 1e-12);
    EXPECT_NEAR(dx, 5.0, 1e-3);
}

TEST(CoordPlaneThree, AveragesOverConsecutivePairs) {
    double dx = 0, dy = 0, rotation = 0;
    // One pair: rotation 30 degrees about the first point, then a shift of (5, 5).
    const double c = std::cos(kPi / 6), s = std::sin(kPi / 6);
    const double two[] = {0, 0, 5, 5, 10, 0, 5 + 10 * c, 5 + 10 * s};
    ASSERT_TRUE(calcParamPM3(two, 8, &dx, &dy, &rotation));
    EXPECT_NEAR(rotation, kPi / 6, 1e-15);
    expectNear(P(dx, dy), 5.0, 5.0);

    // Two pairs, worked by hand: rotations 0 and 0, shifts (1, 2) and (1, 2.25).
    const double three[] = {0, 0, 1, 2, 10, 0, 11, 2, 10, 10, 11, 12.5};
    ASSERT_TRUE(calcParamPM3(three, 12, &dx, &dy, &rotation));
    EXPECT_NEAR(rotation, 0.0, 1e-15);
    expectNear(P(dx, dy), 1.0, 2.125);

    // Directions are taken modulo pi: a vertical source direction is pi/2, and a target turned
    // by 30 degrees to 120 reads as -60, so the rotation is -150 degrees.
    const double vertical[] = {0, 0, 0, 0, 0, 10, -10 * s, 10 * c};
    ASSERT_TRUE(calcParamPM3(vertical, 8, &dx, &dy, &rotation));
    EXPECT_NEAR(rotation, -5 * kPi / 6, 1e-12);

    // One whole record plus surplus doubles is one point: refused, outputs untouched.
    rotation = 7.0;
    EXPECT_FALSE(calcParamPM3(two, 7, &dx, &dy, &rotation));
    EXPECT_FALSE(calcParamPM3(nullptr, 8, &dx, &dy, &rotation));
    EXPECT_FALSE(calcParamPM3(two, -8, &dx, &dy, &rotation));
    EXPECT_EQ(rotation, 7.0);
}

TEST(CoordHeightFit, QuadraticSurfaceExactAndWithNoise) {
    const double a[6] = {1.25, 2e-4, -3e-4, 1e-8, -2e-8, 3e-8};
    auto surface = [&](double u, double v) {
        return a[0] + a[1] * u + a[2] * v + a[3] * u * u + a[4] * u * v + a[5] * v * v;
    };
    // The means of the points below, by hand: x 3874000 + 1500 * 1.5 + 13 * 5.5 and
    // y 39500000 + 1000 * 1 - 7 * 1.
    const double mx = 3876321.5, my = 39500993.0;
    Noise random;
    for (double noise : {0.0, 0.005}) {
        std::vector<double> data;
        for (int i = 0; i < 12; ++i) {
            const double x = 3874000.0 + 1500.0 * (i % 4) + 13.0 * i;
            const double y = 39500000.0 + 1000.0 * (i / 4) - 7.0 * (i % 3), h = 40.0 + i;
            data.insert(data.end(), {x, y, h, h + surface(x - mx, y - my) + noise * random.next()});
        }
        double out[8];
        ASSERT_TRUE(calcParamHF2(data.data(), static_cast<int>(data.size()), &out[0], &out[1],
                                 &out[2], &out[3], &out[4], &out[5], &out[6], &out[7]));
        expectNear(P(out[0], out[1]), mx, my, 1e-6);
        CTavroPCoreHF2 model;
        model.setParam(out[0], out[1], out[2], out[3], out[4], out[5], out[6], out[7]);
        for (size_t i = 0; i < data.size(); i += 4) {
            double X, Y, H;
            model.transform(data[i], data[i + 1], data[i + 2], X, Y, H);
            EXPECT_NEAR(H, data[i + 2] + surface(data[i] - mx, data[i + 1] - my),
                        noise > 0 ? noise : 1e-9);
        }
        for (int k = 0; k < 6 && noise == 0.0; ++k)
            EXPECT_NEAR(out[2 + k], a[k], 1e-9 * std::fabs(a[k]) + 1e-14);
    }

    // Five points are too few; eight equal points make the equations singular at any size.
    double a0 = 99.0;
    const std::vector<double> five(20, 1.0);
    EXPECT_FALSE(calcParamHF2(five.data(), 20, nullptr, nullptr, &a0, nullptr, nullptr, nullptr,
                              nullptr, nullptr));
    for (double size : {0.0, 3.9e7, 1e15}) {
        std::vector<double> equal;
        for (int i = 0; i < 8; ++i)
            equal.insert(equal.end(), {size, size, 1.0, 2.0 + i});
        EXPECT_FALSE(calcParamHF2(equal.data(), 32, nullptr, nullptr, &a0, nullptr, nullptr,
                                  nullptr, nullptr, nullptr));
    }
    EXPECT_EQ(a0, 99.0);
}

namespace {
// Cartesian points on the Krassovsky ellipsoid around (35 N, 117 E), 50 km apart.
std::vector<double> cartesianPoints(int count) {
    CTavroPCoreDDKJ toCartesian;
    toCartesian.setParam(6378245.0, 298.3);
    std::vector<double> points(3 * count);
    for (int i = 0; i < count; ++i)
        toCartesian.transform((35.0 + 0.45 * (i % 3)) * kDeg, (117.0 + 0.6 * (i / 3)) * kDeg,
                              50.0 * i, points[3 * i], points[3 * i + 1], points[3 * i + 2]);
    return points;
}

// Source and target records X, Y, Z, X', Y', Z' of the estimator's own (linearised) model.
std::vector<double> linearSevenPairs(const double* p, const std::vector<double>& source) {
    std::vector<double> data;
    for (size_t i = 0; i < source.size(); i += 3) {
        const double X = source[i], Y = source[i + 1], Z = source[i + 2];
        data.insert(data.end(), {X, Y, Z, p[0] + X + p[3] * X - Z * p[5] + Y * p[6],
                                 p[1] + Y + p[3] * Y + Z * p[4] - X * p[6],
                                 p[2] + Z + p[3] * Z - Y * p[4] + X * p[5]});
    }
    return data;
}

bool fitSeven(const std::vector<double>& data, double* p) {
    return calcParamKJ7(data.data(), static_cast<int>(data.size()), &p[0], &p[1], &p[2], &p[3],
                        &p[4], &p[5], &p[6]);
}
} // namespace

TEST(CoordSevenParam, RecoversParametersExactlyAndToTheNoise) {
    const double truth[7] = {-15.4, 120.7, 84.2, 3.2e-6, 1.5e-6, -2.2e-6, 4.1e-6};
    const std::vector<double> source = cartesianPoints(9);
    const std::vector<double> data = linearSevenPairs(truth, source);
    double p[7];
    ASSERT_TRUE(fitSeven(data, p));
    for (int k = 0; k < 7; ++k)
        EXPECT_NEAR(p[k], truth[k], k < 3 ? 1e-5 : 1e-12) << k;

    // Targets made by the chain model itself differ from the linearised one by m * eps * R
    // (below 0.2 mm here); with +-2 cm noise the fit reproduces them to the noise.
    CTavroPCoreKJ7 model, fitted;
    model.setParam(truth[0], truth[1], truth[2], truth[3], truth[4], truth[5], truth[6]);
    Noise random;
    const double sigma = 0.02;
    std::vector<double> noisy, clean(source.size());
    for (size_t i = 0; i < source.size(); i += 3) {
        model.transform(source[i], source[i + 1], source[i + 2], clean[i], clean[i + 1],
                        clean[i + 2]);
        noisy.insert(noisy.end(),
                     {source[i], source[i + 1], source[i + 2], clean[i] + sigma * random.next(),
                      clean[i + 1] + sigma * random.next(), clean[i + 2] + sigma * random.next()});
    }
    ASSERT_TRUE(fitSeven(noisy, p));
    fitted.setParam(p[0], p[1], p[2], p[3], p[4], p[5], p[6]);
    for (size_t i = 0; i < source.size(); i += 3) {
        double X, Y, Z;
        fitted.transform(source[i], source[i + 1], source[i + 2], X, Y, Z);
        EXPECT_LE(std::max({std::fabs(X - clean[i]), std::fabs(Y - clean[i + 1]),
                            std::fabs(Z - clean[i + 2])}),
                  sigma);
    }

    // Two points are too few; equal source points are singular at any size.
    double untouched[7] = {7, 7, 7, 7, 7, 7, 7};
    EXPECT_FALSE(fitSeven(std::vector<double>(data.begin(), data.begin() + 12), untouched));
    for (double size : {0.0, 6.4e6, 1e15}) {
        std::vector<double> equal;
        for (int i = 0; i < 5; ++i)
            equal.insert(equal.end(), {size, -size, size, 1.0 * i, 2, 3});
        EXPECT_FALSE(fitSeven(equal, untouched)) << size;
    }
    EXPECT_TRUE(untouched[0] == 7.0 && untouched[6] == 7.0);
}

TEST(CoordDegenerateSets, RefusedAtEarthCentredAndLocalScales) {
    // count points along a line through o, t metres apart, the third moved by off metres
    // across the line, rounded to the millimetre as surveyed coordinates are; the targets
    // through a datum-sized 7-parameter set, rounded alike.
    const double truth[7] = {-15.4, 120.7, 84.2, 3.2e-6, 1.5e-6, -2.2e-6, 4.1e-6};
    auto sevenLine = [&](const Xyz& o, double t, double off, int count) {
        std::vector<double> source;
        for (int i = 0; i < count; ++i) {
            const double across = i == 2 ? off : 0.0;
            source.insert(source.end(), {o[0] + 0.37 * t * i, o[1] - 0.81 * t * i + 0.49 * across,
                                         o[2] + 0.45 * t * i + 0.87 * across});
        }
        std::vector<double> data = linearSevenPairs(truth, source);
        for (double& v : data)
            v = std::round(v * 1000.0) / 1000.0;
        return data;
    };
    double p[7], untouched[7] = {7, 7, 7, 7, 7, 7, 7};
    // Earth-centred (a point near 35 N, 117 E) and local origins.
    for (const Xyz& o : {Xyz{-2.3e6, 4.6e6, 3.6e6}, Xyz{0, 0, 0}, Xyz{12.5, -3, 40}}) {
        for (double t : {2.0, 100.0, 5000.0, 20000.0, 300000.0}) {
            SCOPED_TRACE(testing::Message() << o[0] << " spacing " << t);
            // Three collinear points leave the rotation about the line free; so do two
            // distinct points, each given twice.
            EXPECT_FALSE(fitSeven(sevenLine(o, t, 0.0, 3), untouched));
            std::vector<double> two = sevenLine(o, t, 0.0, 2);
            two.insert(two.end(), two.begin(), two.end());
            EXPECT_FALSE(fitSeven(two, untouched));
            // A third point a tenth of the spacing off the line fixes every parameter.
            EXPECT_TRUE(fitSeven(sevenLine(o, t, 0.1 * t, 3), p));
        }
    }
    EXPECT_TRUE(untouched[0] == 7.0 && untouched[6] == 7.0);

    // Seven points on a circle about their mean: 1 = (u^2 + v^2) / r^2 makes the height
    // surface's design rank 5; on a straight line it is rank 3. Gauss-plane and local sizes.
    auto heights = [](double x0, double y0, double r, bool circle) {
        std::vector<double> data;
        for (int i = 0; i < 7; ++i) {
            const double angle = 0.3 + 2 * kPi * i / 7;
            const double u = circle ? r * std::cos(angle) : r * (i - 3);
            const double v = circle ? r * std::sin(angle) : 0.5 * r * (i - 3);
            data.insert(data.end(), {x0 + u, y0 + v, 40.0 + i, 41.5 + i + 0.001 * u});
        }
        return data;
    };
    for (const auto& [x0, y0] : {std::pair(3874000.0, 39500000.0), std::pair(0.0, 0.0)}) {
        for (double r : {2.0, 800.0, 50000.0}) {
            SCOPED_TRACE(testing::Message() << x0 << " radius " << r);
            for (bool circle : {true, false}) {
                const std::vector<double> data = heights(x0, y0, r, circle);
                double a0 = 99.0;
                EXPECT_FALSE(calcParamHF2(data.data(), 28, nullptr, nullptr, &a0, nullptr, nullptr,
                                          nullptr, nullptr, nullptr));
                EXPECT_EQ(a0, 99.0);
            }
            // One point moved off the circle by 1e-3 of the radius: a full-rank design.
            std::vector<double> off = heights(x0, y0, r, true);
            off[0] += 1e-3 * r;
            EXPECT_TRUE(calcParamHF2(off.data(), 28, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr));
        }
    }
}

TEST(CoordSolver, GaussJordanAndNormalEquations) {
    AcArray<double> out;
    // 2u + 4 = 0.
    AcArray<AcArray<double>> m = matrixOf({{2, 4}});
    ASSERT_TRUE(Probe::equation(m, 2, out));
    EXPECT_EQ(out, Doubles{-2.0});

    // A zero first pivot needs the row swap: v - 2 = 0, u - 3 = 0.
    m = matrixOf({{0, 1, -2}, {1, 0, -3}});
    ASSERT_TRUE(Probe::equation(m, 3, out));
    EXPECT_EQ(out, (Doubles{3.0, 2.0}));

    // The pivot bound 1e-10: just below is singular (out kept), exactly at it is not.
    m = matrixOf({{0.9e-10, 1}});
    EXPECT_FALSE(Probe::equation(m, 2, out));
    EXPECT_EQ(out, (Doubles{3.0, 2.0}));
    m = matrixOf({{1e-10, 1}});
    ASSERT_TRUE(Probe::equation(m, 2, out));
    EXPECT_NEAR(out[0], -1e10, 1e-3);

    // Not a number is no pivot; short rows and missing pivot columns are refused.
    for (auto bad :
         {matrixOf({{kNaN, 1}}), matrixOf({{1, 2}, {3}}), matrixOf({{1, 2}, {3, 4}, {5, 6}})})
        EXPECT_FALSE(Probe::equation(bad, 2, out));

    // Least squares of u - 3 = 0 and u - 5 = 0: the mean, 4.
    const AcArray<AcArray<double>> rows = matrixOf({{1, -3}, {1, -5}});
    ASSERT_TRUE(Probe::leastSquares(rows, 2, out));
    ASSERT_EQ(out.length(), 1);
    EXPECT_DOUBLE_EQ(out[0], 4.0);
    EXPECT_FALSE(Probe::leastSquares(rows, 3, out));
    EXPECT_FALSE(Probe::leastSquares(rows, 1, out));
    EXPECT_FALSE(Probe::leastSquares(matrixOf({{0, 1}, {0, 2}}), 2, out));
}
