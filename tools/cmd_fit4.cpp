// tavro fit4: the plane 4-parameter transformation from control point pairs.

#include "Commands.h"
#include "GeodesyTables.h"

#include "TavroGeometric142.h"

namespace tavro {

const char* const kFit4Help =
    "usage: tavro fit4 [-o FILE] PAIRS\n\n"
    "Estimates by least squares the plane 4-parameter transformation\n"
    "  X = dx + scale*(x*cos(rotation) - y*sin(rotation))\n"
    "  Y = dy + scale*(x*sin(rotation) + y*cos(rotation))\n"
    "from control point pairs.\n\n"
    "Input:\n"
    "  PAIRS: CSV whose header names the source columns x, y and the target columns X, Y\n"
    "  (other columns are copied along); at least 2 pairs.\n\n"
    "Output:\n"
    "  A parameter table (parameter,value rows: model pm4, dx, dy, rotation in radians, scale,\n"
    "  points, rms), a blank line, and the pairs with their residuals vX, vY and v = the\n"
    "  length of (vX, vY), target minus model, 4 decimals. rms is the root mean square of v.\n"
    "  Hand it to tavro transform as pm4:@FILE.\n\n"
    "Options:\n"
    "  none besides -o.\n";

int runFit4(const QStringList& args) {
    static const FitVerb verb = {"fit4",
                                 {"x", "y", "X", "Y"},
                                 2,
                                 CTavroTransFit::fitPlaneFour,
                                 "pm4",
                                 {"dx", "dy", "rotation", "scale"},
                                 {"vX", "vY", "v"},
                                 nullptr};
    return runFitVerb(verb, args);
}

} // namespace tavro
