#pragma once
// The fits of the transformation models to control points, with what a surveyor checks before
// using them: the parameters, each point's residual (target minus what the fitted model makes
// of the source) and their root mean square. Records as for calcParamPM4, calcParamKJ7 and
// calcParamHF2 (TavroTransEstimate.h): n doubles, whole records only.

#include "TavroExport.h"

#include <vector>

struct TAVRO_API TavroFitReport {
    // In the order of the model's setParam: pm4 dx, dy, rotation, scale; kj7 dx, dy, dz, m, ex,
    // ey, ez; hf2 x0, y0, a0 ... a5.
    std::vector<double> parameters;
    // Residual components per point: 2 (X, Y), 3 (X, Y, Z) or 1 (the height).
    int axes = 0;
    // Point by point, axes values each.
    std::vector<double> residuals;
    // Per point the length of its residual (for the height its signed value).
    std::vector<double> misfits;
    // The root mean square of the misfits; 0 for no points.
    double rms = 0.0;

    // Whether every parameter and the rms are finite numbers.
    bool finite() const;
};

class TAVRO_API CTavroTransFit {
public:
    // Records x, y, X, Y, at least 2: calcParamPM4, then the residuals of CTavroPCorePM4.
    static bool fitPlaneFour(const double* data, int n, TavroFitReport& out);
    // Records x, y, z, X, Y, Z, at least 3: calcParamKJ7 refined by refineParamKJ7, then the
    // residuals of CTavroPCoreKJ7.
    static bool fitSevenParameter(const double* data, int n, TavroFitReport& out);
    // Records x, y, h, H, at least 6: calcParamHF2, then the residuals of CTavroPCoreHF2.
    static bool fitHeightSurface(const double* data, int n, TavroFitReport& out);
};
