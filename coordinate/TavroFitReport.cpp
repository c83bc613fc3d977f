#include "TavroFitReport.h"

#include "TavroPCore.h"
#include "TavroTransEstimate.h"

#include <cmath>

namespace {
// Runs every record's source through the fitted model and keeps target minus result.
// Records are recordLength doubles: the source triple's used part, then the target's.
template <class Model>
void addResiduals(Model& model, const double* data, int count, int recordLength, int axes,
                  TavroFitReport& out) {
    const int sourceLength = recordLength - axes;
    for (int i = 0; i < count; ++i) {
        const double* r = data + static_cast<size_t>(i) * recordLength;
        double source[3] = {0.0, 0.0, 0.0};
        for (int k = 0; k < sourceLength; ++k)
            source[k] = r[k];
        double result[3];
        model.transform(source[0], source[1], source[2], result[0], result[1], result[2]);
        // The height model changes only the third value; the plane and spatial models all.
        const int first = axes == 1 ? 2 : 0;
        double sum = 0.0;
        for (int k = 0; k < axes; ++k) {
            const double v = r[sourceLength + k] - result[first + k];
            out.residuals.push_back(v);
            sum += v * v;
        }
        const double* v = &out.residuals[out.residuals.size() - static_cast<size_t>(axes)];
        out.misfits.push_back(axes == 1   ? v[0]
                              : axes == 2 ? std::hypot(v[0], v[1])
                                          : std::sqrt(sum));
    }
}

void finish(TavroFitReport& out) {
    double sum = 0.0;
    for (double m : out.misfits)
        sum += m * m;
    out.rms = out.misfits.empty() ? 0.0 : std::sqrt(sum / out.misfits.size());
}

void start(TavroFitReport& out, const double* parameters, int count, int axes) {
    out = TavroFitReport();
    out.parameters.assign(parameters, parameters + count);
    out.axes = axes;
}

int records(const double* data, int n, int recordLength) {
    return data && n > 0 ? n / recordLength : 0;
}
} // namespace

bool TavroFitReport::finite() const {
    for (double v : parameters)
        if (!std::isfinite(v)) return false;
    return std::isfinite(rms);
}

bool CTavroTransFit::fitPlaneFour(const double* data, int n, TavroFitReport& out) {
    double p[4];
    if (!calcParamPM4(data, n, &p[0], &p[1], &p[2], &p[3])) return false;
    start(out, p, 4, 2);
    CTavroPCorePM4 model;
    model.setParam(p[0], p[1], p[2], p[3]);
    addResiduals(model, data, records(data, n, 4), 4, 2, out);
    finish(out);
    return true;
}

bool CTavroTransFit::fitSevenParameter(const double* data, int n, TavroFitReport& out) {
    double p[7];
    if (!calcParamKJ7(data, n, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]) ||
        !refineParamKJ7(data, n, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]))
        return false;
    start(out, p, 7, 3);
    CTavroPCoreKJ7 model;
    model.setParam(p[0], p[1], p[2], p[3], p[4], p[5], p[6]);
    addResiduals(model, data, records(data, n, 6), 6, 3, out);
    finish(out);
    return true;
}

bool CTavroTransFit::fitHeightSurface(const double* data, int n, TavroFitReport& out) {
    double p[8];
    if (!calcParamHF2(data, n, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6], &p[7]))
        return false;
    start(out, p, 8, 1);
    CTavroPCoreHF2 model;
    model.setParam(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
    addResiduals(model, data, records(data, n, 4), 4, 1, out);
    finish(out);
    return true;
}
