// The point-pair half of CTavroGeoCoorTrans and the flat estimators: all of them accumulate
// observation rows into normal equations and solve them by Gauss-Jordan elimination.

#include "TavroTransEstimate.h"
#include "TavroTolerance.h"

#include "TavroCommon.h"
#include "TavroGeoCoorTrans.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {
// The widest observation row of the flat estimators (the 7-parameter model).
constexpr int kMaxColumns = 8;

// Gauss-Jordan elimination with partial pivoting on n rows of m columns, in place. On ties the
// earlier row stays the pivot. Works on any matrix indexable as M[i][j].
template <class Matrix> bool eliminate(Matrix& M, int n, int m) {
    for (int k = 0; k < n; ++k) {
        int p = k;
        for (int i = k + 1; i < n; ++i)
            if (std::fabs(M[i][k]) > std::fabs(M[p][k])) p = i;
        if (!(std::fabs(M[p][k]) >= Tavro::kPivotTol)) return false;
        if (p != k)
            for (int j = 0; j < m; ++j)
                std::swap(M[p][j], M[k][j]);
        for (int i = 0; i < n; ++i) {
            if (i == k) continue;
            const double f = M[i][k] / M[k][k];
            for (int j = 0; j < m; ++j)
                M[i][j] -= f * M[k][j];
        }
        const double d = M[k][k];
        for (int j = 0; j < m; ++j)
            M[k][j] /= d;
    }
    return true;
}

// Whether the n x n coefficient block of normal equations A'A has full rank. The block is
// scaled to a unit diagonal first, so neither the units of the unknowns nor the size of the
// coordinates matter; Cholesky's pivots of the scaled block are then the 1 - R^2 above. The
// block itself is left as it is, so the solution of a full-rank system does not change.
template <class Matrix> bool hasFullRank(const Matrix& N, int n) {
    std::vector<double> scale(n), c(static_cast<size_t>(n) * n);
    for (int i = 0; i < n; ++i) {
        if (!(N[i][i] > 0.0)) return false;
        scale[i] = 1.0 / std::sqrt(N[i][i]);
    }
    auto at = [&c, n](int i, int j) -> double& { return c[static_cast<size_t>(i) * n + j]; };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j <= i; ++j)
            at(i, j) = N[i][j] * scale[i] * scale[j];
    for (int k = 0; k < n; ++k) {
        if (!(at(k, k) >= Tavro::kDependentColumnTol)) return false;
        const double root = std::sqrt(at(k, k));
        for (int i = k + 1; i < n; ++i)
            at(i, k) /= root;
        for (int i = k + 1; i < n; ++i)
            for (int j = k + 1; j <= i; ++j)
                at(i, j) -= at(i, k) * at(j, k);
    }
    return true;
}

// Adds one observation row of m columns to the (m - 1) x m normal matrix [A'A | A'c].
template <class Matrix, class Row> void accumulate(Matrix& N, const Row& r, int m) {
    for (int j = 0; j < m - 1; ++j)
        for (int l = 0; l < m; ++l)
            N[j][l] += r[j] * r[l];
}

// Normal equations of the flat estimators, held in a fixed block of row pointers.
class NormalSystem {
public:
    explicit NormalSystem(int m) : m_m(m) {
        for (int i = 0; i < kMaxColumns - 1; ++i) {
            m_rows[i] = m_storage[i];
            for (int j = 0; j < kMaxColumns; ++j)
                m_storage[i][j] = 0.0;
        }
    }
    void add(const double* row) { accumulate(m_rows, row, m_m); }
    // The m - 1 unknowns u with A*u ~ -c.
    bool solve(double* u) {
        if (!hasFullRank(m_rows, m_m - 1) || !eliminate(m_rows, m_m - 1, m_m)) return false;
        for (int i = 0; i < m_m - 1; ++i)
            u[i] = -m_rows[i][m_m - 1];
        return true;
    }

private:
    int m_m;
    double m_storage[kMaxColumns - 1][kMaxColumns];
    double* m_rows[kMaxColumns - 1];
};

// The mean of count values spaced stride apart, taken relative to the first so that equal
// values give exactly that value (and centred coordinates of exactly zero) at any magnitude.
double meanOf(const double* values, int count, int stride) {
    double sum = 0.0;
    for (int i = 1; i < count; ++i)
        sum += values[i * stride] - values[0];
    return values[0] + sum / count;
}

void put(double* target, double value) {
    if (target) *target = value;
}

// Number of whole records in n doubles; 0 for a missing array.
int recordCount(const double* data, int n, int recordLength) {
    return data && n > 0 ? n / recordLength : 0;
}

// The plane similarity fitted on points centred on their means, reduced by the first pair.
// Records are x, y, X, Y.
class PlaneFourFit {
public:
    PlaneFourFit(const double* data, int count)
        : m_x(meanOf(data, count, 4)), m_y(meanOf(data + 1, count, 4)),
          m_X(meanOf(data + 2, count, 4)), m_Y(meanOf(data + 3, count, 4)) {
        m_dx0 = (data[2] - m_X) - (data[0] - m_x);
        m_dy0 = (data[3] - m_Y) - (data[1] - m_y);
    }
    // The two observation rows of 5 columns of one record.
    void rows(const double* record, double xRow[5], double yRow[5]) const {
        const double x = record[0] - m_x, y = record[1] - m_y;
        const double X = record[2] - m_X, Y = record[3] - m_Y;
        const double r1[5] = {1.0, 0.0, x, -y, m_dx0 - (X - x)};
        const double r2[5] = {0.0, 1.0, y, x, m_dy0 - (Y - y)};
        for (int j = 0; j < 5; ++j) {
            xRow[j] = r1[j];
            yRow[j] = r2[j];
        }
    }
    // Carries the centred solution back to the shifts at the source origin.
    TavroTransParam_4 result(const double u[4]) const {
        const double a = u[2] + 1.0;
        const double b = u[3];
        TavroTransParam_4 p;
        p.dx = m_X + (u[0] + m_dx0) - (a * m_x - b * m_y);
        p.dy = m_Y + (u[1] + m_dy0) - (b * m_x + a * m_y);
        p.rotation = std::atan2(b, a);
        p.scale = std::sqrt(a * a + b * b);
        return p;
    }

private:
    double m_x, m_y, m_X, m_Y;
    double m_dx0 = 0.0, m_dy0 = 0.0;
};

void appendRow(AcArray<AcArray<double>>& rows, const double* row, int m) {
    AcArray<double> r(m);
    for (int j = 0; j < m; ++j)
        r.append(row[j]);
    rows.append(r);
}

void reportError(const char* text) {
    CTavroMessage::errorMsg(QString::fromUtf8(text), nullptr, QString::fromUtf8("错误"));
}
} // namespace

bool CTavroGeoCoorTrans::setPointPair(const AcArray<AcGePoint3d>& points) {
    const int count = points.length();
    if (count < 4) {
        reportError("输入的点对少于2对");
        return false;
    }
    if (count % 2 != 0)
        CTavroMessage::warnMsg(QString::fromUtf8("输入点的个数为奇数，将\n会自动舍弃最后一个点。"),
                               nullptr, QString::fromUtf8("警告"));
    for (int i = 0; i < count / 2; ++i) {
        m_pointsBefore.append(points[2 * i]);
        m_pointsAfter.append(points[2 * i + 1]);
    }
    return true;
}

bool CTavroGeoCoorTrans::setPointPair(const AcArray<AcGePoint3d>& before,
                                      const AcArray<AcGePoint3d>& after) {
    if (before.length() < 2 || after.length() < 2) {
        reportError("输入的点对少于2对");
        return false;
    }
    if (before.length() != after.length()) {
        reportError("转换前的点和转换后的点个数不一致。");
        return false;
    }
    m_pointsBefore = before;
    m_pointsAfter = after;
    return true;
}

bool CTavroGeoCoorTrans::calcTransformParam(TavroTransParam_4& out) const {
    // The arrays are public: a caller may have made them differ, so only common pairs count.
    const int count = std::min(m_pointsBefore.length(), m_pointsAfter.length());
    if (count < 2) return false;
    std::vector<double> data;
    data.reserve(static_cast<size_t>(count) * 4);
    for (int i = 0; i < count; ++i) {
        data.insert(data.end(), {m_pointsBefore[i].x, m_pointsBefore[i].y, m_pointsAfter[i].x,
                                 m_pointsAfter[i].y});
    }
    const PlaneFourFit fit(data.data(), count);
    AcArray<AcArray<double>> rows(2 * count);
    for (int i = 0; i < count; ++i) {
        double xRow[5], yRow[5];
        fit.rows(&data[static_cast<size_t>(i) * 4], xRow, yRow);
        appendRow(rows, xRow, 5);
        appendRow(rows, yRow, 5);
    }
    AcArray<double> u;
    if (!calcLeastSquares(rows, 5, u) || u.length() != 4) return false;
    const double solution[4] = {u[0], u[1], u[2], u[3]};
    out = fit.result(solution);
    return true;
}

bool CTavroGeoCoorTrans::calcTransformParam(TavroTransParam_7& /*out*/) const {
    return false;
}

bool CTavroGeoCoorTrans::calcLeastSquares(const AcArray<AcArray<double>>& rows, int m,
                                          AcArray<double>& out) const {
    if (m < 2) return false;
    AcArray<AcArray<double>> normal(m - 1);
    for (int j = 0; j < m - 1; ++j) {
        AcArray<double> zeros(m);
        zeros.setLogicalLength(m); // value-initialised: all 0.0
        normal.append(zeros);
    }
    for (const AcArray<double>& row : rows) {
        if (row.length() < m) return false;
        accumulate(normal, row, m);
    }
    return hasFullRank(normal, m - 1) && calcEquation(normal, m, out);
}

bool CTavroGeoCoorTrans::calcEquation(AcArray<AcArray<double>>& matrix, int m,
                                      AcArray<double>& out) const {
    const int n = matrix.length();
    // Every row must hold m columns and every pivot column must exist.
    if (m < 1 || n > m) return false;
    for (const AcArray<double>& row : matrix)
        if (row.length() < m) return false;
    if (!eliminate(matrix, n, m)) return false;
    out.removeAll();
    for (int i = 0; i < n; ++i)
        out.append(-matrix[i][m - 1]);
    return true;
}

bool calcParamPM4(const double* data, int n, double* xShift, double* yShift, double* rotation,
                  double* scale) {
    const int count = recordCount(data, n, 4);
    if (count < 2) return false;
    const PlaneFourFit fit(data, count);
    NormalSystem normal(5);
    for (int i = 0; i < count; ++i) {
        double xRow[5], yRow[5];
        fit.rows(data + 4 * i, xRow, yRow);
        normal.add(xRow);
        normal.add(yRow);
    }
    double u[4];
    if (!normal.solve(u)) return false;
    const TavroTransParam_4 p = fit.result(u);
    put(xShift, p.dx);
    put(yShift, p.dy);
    put(rotation, p.rotation);
    put(scale, p.scale);
    return true;
}

bool calcParamPM3(const double* data, int n, double* xShift, double* yShift, double* rotation) {
    const int count = recordCount(data, n, 4);
    if (count < 2) return false;
    double sumTheta = 0.0, sumX = 0.0, sumY = 0.0;
    for (int i = 0; i + 1 < count; ++i) {
        const double* p = data + 4 * i;
        const double* q = p + 4;
        const double alpha = std::atan((q[1] - p[1]) / (q[0] - p[0]));
        const double theta = std::atan((q[3] - p[3]) / (q[2] - p[2])) - alpha;
        const double c = std::cos(theta), s = std::sin(theta);
        const double px = p[0] * c - p[1] * s, py = p[0] * s + p[1] * c;
        const double qx = q[0] * c - q[1] * s, qy = q[0] * s + q[1] * c;
        sumTheta += theta;
        sumX += ((p[2] - px) + (q[2] - qx)) / 2.0;
        sumY += ((p[3] - py) + (q[3] - qy)) / 2.0;
    }
    const int pairs = count - 1;
    put(xShift, sumX / pairs);
    put(yShift, sumY / pairs);
    put(rotation, sumTheta / pairs);
    return true;
}

bool calcParamHF2(const double* data, int n, double* meanX, double* meanY, double* a0, double* a1,
                  double* a2, double* a3, double* a4, double* a5) {
    const int count = recordCount(data, n, 4);
    if (count < 6) return false;
    const double mx = meanOf(data, count, 4);
    const double my = meanOf(data + 1, count, 4);
    NormalSystem normal(7);
    for (int i = 0; i < count; ++i) {
        const double* r = data + 4 * i;
        const double dx = r[0] - mx, dy = r[1] - my;
        const double row[7] = {1.0, dx, dy, dx * dx, dx * dy, dy * dy, r[2] - r[3]};
        normal.add(row);
    }
    double u[6];
    if (!normal.solve(u)) return false;
    put(meanX, mx);
    put(meanY, my);
    double* outputs[6] = {a0, a1, a2, a3, a4, a5};
    for (int i = 0; i < 6; ++i)
        put(outputs[i], u[i]);
    return true;
}

bool calcParamKJ7(const double* data, int n, double* dx, double* dy, double* dz, double* m,
                  double* ex, double* ey, double* ez) {
    const int count = recordCount(data, n, 6);
    if (count < 3) return false;
    double mean[6];
    for (int k = 0; k < 6; ++k)
        mean[k] = meanOf(data + k, count, 6);
    NormalSystem normal(8);
    for (int i = 0; i < count; ++i) {
        const double* r = data + 6 * i;
        const double X = r[0] - mean[0], Y = r[1] - mean[1], Z = r[2] - mean[2];
        const double X2 = r[3] - mean[3], Y2 = r[4] - mean[4], Z2 = r[5] - mean[5];
        const double rows[3][8] = {{1, 0, 0, X, 0, -Z, Y, X - X2},
                                   {0, 1, 0, Y, Z, 0, -X, Y - Y2},
                                   {0, 0, 1, Z, -Y, X, 0, Z - Z2}};
        for (const double* row : rows)
            normal.add(row);
    }
    double u[7];
    if (!normal.solve(u)) return false;
    // Back from the centred frame: the shifts absorb the model applied to the source mean.
    const double sm = u[3], rx = u[4], ry = u[5], rz = u[6];
    const double mX = mean[0], mY = mean[1], mZ = mean[2];
    put(dx, u[0] + (mean[3] - mX) - (sm * mX - mZ * ry + mY * rz));
    put(dy, u[1] + (mean[4] - mY) - (sm * mY + mZ * rx - mX * rz));
    put(dz, u[2] + (mean[5] - mZ) - (sm * mZ - mY * rx + mX * ry));
    put(m, sm);
    put(ex, rx);
    put(ey, ry);
    put(ez, rz);
    return true;
}

namespace {

constexpr int kMostRefineSteps = 20;

// The rotation part of CTavroPCoreKJ7 applied to p: (X - Z*ey + Y*ez, Y + Z*ex - X*ez,
// Z - Y*ex + X*ey).
void rotateKJ7(const double p[3], double ex, double ey, double ez, double out[3]) {
    out[0] = p[0] - p[2] * ey + p[1] * ez;
    out[1] = p[1] + p[2] * ex - p[0] * ez;
    out[2] = p[2] - p[1] * ex + p[0] * ey;
}

} // namespace

bool refineParamKJ7(const double* data, int n, double* dx, double* dy, double* dz, double* m,
                    double* ex, double* ey, double* ez) {
    const int count = recordCount(data, n, 6);
    if (count < 3 || !dx || !dy || !dz || !m || !ex || !ey || !ez) return false;
    double mean[6];
    for (int k = 0; k < 6; ++k)
        mean[k] = meanOf(data + k, count, 6);
    // Centred on the means, the model is target = t + (1 + m) * rotated(source), where the
    // shift t = d + (1 + m) * rotated(source mean) - target mean.
    double p[7] = {0.0, 0.0, 0.0, *m, *ex, *ey, *ez};
    double meanTurned[3];
    rotateKJ7(mean, p[4], p[5], p[6], meanTurned);
    const double d[3] = {*dx, *dy, *dz};
    for (int k = 0; k < 3; ++k)
        p[k] = d[k] + (1.0 + p[3]) * meanTurned[k] - mean[3 + k];
    bool converged = false;
    for (int step = 0; step < kMostRefineSteps && !converged; ++step) {
        NormalSystem normal(8);
        for (int i = 0; i < count; ++i) {
            const double* r = data + 6 * i;
            const double x[3] = {r[0] - mean[0], r[1] - mean[1], r[2] - mean[2]};
            double turned[3];
            rotateKJ7(x, p[4], p[5], p[6], turned);
            const double s = 1.0 + p[3];
            double residual[3];
            for (int k = 0; k < 3; ++k)
                residual[k] = (r[3 + k] - mean[3 + k]) - (p[k] + s * turned[k]);
            // Derivatives of the model by t, m, ex, ey, ez; the last column is minus the residual.
            const double rows[3][8] = {{1, 0, 0, turned[0], 0, -s * x[2], s * x[1], -residual[0]},
                                       {0, 1, 0, turned[1], s * x[2], 0, -s * x[0], -residual[1]},
                                       {0, 0, 1, turned[2], -s * x[1], s * x[0], 0, -residual[2]}};
            for (const double* row : rows)
                normal.add(row);
        }
        double delta[7];
        if (!normal.solve(delta)) return false;
        converged = true;
        for (int k = 0; k < 7; ++k) {
            p[k] += delta[k];
            converged = converged && std::fabs(delta[k]) <=
                                         (k < 3 ? Tavro::kShiftStepTol : Tavro::kRatioStepTol);
        }
    }
    rotateKJ7(mean, p[4], p[5], p[6], meanTurned);
    double out[7];
    for (int k = 0; k < 3; ++k)
        out[k] = p[k] + mean[3 + k] - (1.0 + p[3]) * meanTurned[k];
    for (int k = 3; k < 7; ++k)
        out[k] = p[k];
    for (double v : out)
        if (!std::isfinite(v)) return false;
    *dx = out[0];
    *dy = out[1];
    *dz = out[2];
    *m = out[3];
    *ex = out[4];
    *ey = out[5];
    *ez = out[6];
    return true;
}
