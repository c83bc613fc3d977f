// tavro fit7: the spatial 7-parameter transformation from Cartesian point pairs.

#include "Commands.h"
#include "GeodesyTables.h"

#include "TavroGeometric142.h"

namespace tavro {

const char* const kFit7Help =
    "usage: tavro fit7 [-o FILE] PAIRS\n\n"
    "Estimates by least squares the spatial 7-parameter transformation that tavro transform's\n"
    "kj7 applies\n"
    "  X' = dx + (1 + m)*(X - Z*ey + Y*ez)\n"
    "  Y' = dy + (1 + m)*(Y + Z*ex - X*ez)\n"
    "  Z' = dz + (1 + m)*(Z - Y*ex + X*ey)\n"
    "from earth-centred Cartesian point pairs: the linearised estimate (small rotations, no\n"
    "product of m and the rotations) refined by Gauss-Newton on the model above, so the\n"
    "residuals are those of a least-squares fit and sum to zero on each axis.\n\n"
    "Input:\n"
    "  PAIRS: CSV whose header names the source columns x, y, z and the target columns X, Y,\n"
    "  Z; at least 3 pairs, not on one line.\n\n"
    "Output:\n"
    "  A parameter table (model kj7, dx, dy, dz in metres, m, ex, ey, ez in radians, then\n"
    "  m_ppm and ex_arcsec, ey_arcsec, ez_arcsec for reading, points, rms), a blank line, and\n"
    "  the pairs with residuals vX, vY, vZ and their length v. Hand it to tavro transform as\n"
    "  kj7:@FILE.\n\n"
    "Options:\n"
    "  none besides -o.\n";

namespace {

const double kRadToArcSec = 180.0 / Tavro::kPi * 3600.0;

// The scale change in parts per million and the rotations in arc seconds.
std::vector<Parameter> readable(const std::vector<double>& p) {
    return {{"m_ppm", p[3] * 1e6},
            {"ex_arcsec", p[4] * kRadToArcSec},
            {"ey_arcsec", p[5] * kRadToArcSec},
            {"ez_arcsec", p[6] * kRadToArcSec}};
}

} // namespace

int runFit7(const QStringList& args) {
    static const FitVerb verb = {"fit7",
                                 {"x", "y", "z", "X", "Y", "Z"},
                                 3,
                                 CTavroTransFit::fitSevenParameter,
                                 "kj7",
                                 {"dx", "dy", "dz", "m", "ex", "ey", "ez"},
                                 {"vX", "vY", "vZ", "v"},
                                 readable};
    return runFitVerb(verb, args);
}

} // namespace tavro
