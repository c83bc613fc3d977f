#pragma once
// What the benchmarks share: a small deterministic generator, so every run and every library
// sees the same input, and the flattening of bulge polylines into chords for GEOS.

#include "TavroGeometric142.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace bench {

using Pts = AcArray<AcGePoint2d>;
using Doubles = AcArray<double>;
const double kPi = 3.14159265358979323846;

struct Random {
    std::uint64_t state;
    double next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    }
};

// The inner chord points of the arc a -> b, at most 5 degrees apart.
inline std::vector<AcGePoint2d> chordPoints(const AcGePoint2d& a, const AcGePoint2d& b,
                                            double bulge) {
    std::vector<AcGePoint2d> pts;
    const double sweep = 4.0 * std::atan(bulge);
    const int steps = static_cast<int>(std::ceil(std::fabs(sweep) / (5.0 * kPi / 180.0)));
    const double k = (1.0 / bulge - bulge) / 2.0;
    const AcGePoint2d c((a.x + b.x) / 2 - (b.y - a.y) * k / 2,
                        (a.y + b.y) / 2 + (b.x - a.x) * k / 2);
    const double r = a.distanceTo(c), start = std::atan2(a.y - c.y, a.x - c.x);
    for (int s = 1; s < steps; ++s)
        pts.emplace_back(c.x + r * std::cos(start + sweep * s / steps),
                         c.y + r * std::sin(start + sweep * s / steps));
    return pts;
}

// The bulge polyline as a broken line, arcs as chords of at most 5 degrees; with wrap the
// piece from the last vertex back to the first is included. A shared arc is flattened from
// its lower end whichever way it is drawn, so neighbours share their chords exactly.
inline std::vector<AcGePoint2d> flattened(const Pts& pts, const Doubles& bulges, bool wrap) {
    std::vector<AcGePoint2d> out;
    const int n = pts.length();
    const int pieces = wrap ? n : n - 1;
    for (int i = 0; i < pieces; ++i) {
        const AcGePoint2d a = pts[i], b = pts[(i + 1) % n];
        const double bulge = i < bulges.length() ? bulges[i] : 0.0;
        out.push_back(a);
        if (bulge == 0.0) continue;
        const bool forward = a.x < b.x || (a.x == b.x && a.y < b.y);
        std::vector<AcGePoint2d> inner =
            forward ? chordPoints(a, b, bulge) : chordPoints(b, a, -bulge);
        if (!forward) std::reverse(inner.begin(), inner.end());
        out.insert(out.end(), inner.begin(), inner.end());
    }
    out.push_back(wrap ? pts.first() : pts.last());
    return out;
}

} // namespace bench
