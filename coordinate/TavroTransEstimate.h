#pragma once
// Parameter estimators over flat arrays of doubles, giving the parameters of the chain models.
// n is the number of doubles in data; the number of points is n divided by the record length,
// surplus doubles ignored. Each answers false for too few points or singular normal equations
// and writes its outputs (null outputs are skipped) only on success. Points are centred on their
// means before the least-squares rows are formed, and the rank of the normal equations is judged
// on their unit-diagonal form, so a set that does not fix every parameter (coincident points,
// three collinear points for the 7 parameters, heights on one line or conic) is refused at any
// size.

#include "TavroExport.h"

// Records x, y, X, Y (source, target), at least 2: the plane similarity of CTavroPCorePM4,
// X = xShift + scale*(x*cos(rotation) - y*sin(rotation)), Y = yShift + scale*(x*sin + y*cos).
TAVRO_API bool calcParamPM4(const double* data, int n, double* xShift, double* yShift,
                            double* rotation, double* scale);
// Records x, y, X, Y, at least 2: rotation and shifts averaged over consecutive point pairs
// (directions taken modulo pi); always true for 2 points or more.
TAVRO_API bool calcParamPM3(const double* data, int n, double* xShift, double* yShift,
                            double* rotation);
// Records x, y, h, H, at least 6: the height surface of CTavroPCoreHF2,
// H = h + a0 + a1*u + a2*v + a3*u^2 + a4*u*v + a5*v^2 with u = x - meanX, v = y - meanY.
TAVRO_API bool calcParamHF2(const double* data, int n, double* meanX, double* meanY, double* a0,
                            double* a1, double* a2, double* a3, double* a4, double* a5);
// Records X, Y, Z, X', Y', Z', at least 3: the 7 parameters of CTavroPCoreKJ7, linearised for
// small rotations (radians); m is the scale change (0 = none).
TAVRO_API bool calcParamKJ7(const double* data, int n, double* dx, double* dy, double* dz,
                            double* m, double* ex, double* ey, double* ez);
// Records as calcParamKJ7: the least-squares fit of the model CTavroPCoreKJ7 applies (the scale
// change multiplying the rotations), by Gauss-Newton from the parameters given (calcParamKJ7's
// estimate, say) until no step moves a shift by 1e-9 m or a ratio by 1e-15, 20 steps at most.
// Every output must be given; they change only on success (singular equations or a non-finite
// result give false). The residuals of the refined parameters sum to zero on each axis.
TAVRO_API bool refineParamKJ7(const double* data, int n, double* dx, double* dy, double* dz,
                              double* m, double* ex, double* ey, double* ez);
