// tavro fit-height: the quadratic height-anomaly surface from points in two height systems.

#include "Commands.h"
#include "GeodesyTables.h"

#include "TavroGeometric142.h"

namespace tavro {

const char* const kFitHeightHelp =
    "usage: tavro fit-height [-o FILE] POINTS\n\n"
    "Fits the quadratic height-anomaly surface\n"
    "  H = h + a0 + a1*u + a2*v + a3*u^2 + a4*u*v + a5*v^2,  u = x - x0, v = y - y0\n"
    "(x0, y0 the mean position) to points known in both height systems.\n\n"
    "Input:\n"
    "  POINTS: CSV whose header names the columns x, y, h, H; at least 6 points, spread over\n"
    "  an area.\n\n"
    "Output:\n"
    "  A parameter table (model hf2, x0, y0, a0 ... a5, points, rms), a blank line, and the\n"
    "  points with their residual vH. Hand it to tavro transform as hf2:@FILE.\n\n"
    "Options:\n"
    "  none besides -o.\n";

int runFitHeight(const QStringList& args) {
    static const FitVerb verb = {"fit-height",
                                 {"x", "y", "h", "H"},
                                 6,
                                 CTavroTransFit::fitHeightSurface,
                                 "hf2",
                                 {"x0", "y0", "a0", "a1", "a2", "a3", "a4", "a5"},
                                 {"vH"},
                                 nullptr};
    return runFitVerb(verb, args);
}

} // namespace tavro
