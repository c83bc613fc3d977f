// Bulge arcs and lines: centre, sweep, fractions of the sweep, line crossings.

#include "TavroKernel.h"

#include "TavroTolerance.h"

#include <cmath>
#include <utility>

namespace TavroKernel {

AcGePoint2d arcCenter(const AcGePoint2d& a, const AcGePoint2d& b, double bulge) {
    const double k = (1.0 / bulge - bulge) / 2.0;
    return AcGePoint2d((a.x + b.x - (b.y - a.y) * k) / 2.0, (a.y + b.y + (b.x - a.x) * k) / 2.0);
}

AcGeVector2d ChordFrame::toFrame(const AcGeVector2d& w) const {
    return AcGeVector2d(w.dotProduct(u), w.dotProduct(v));
}

AcGePoint2d ChordFrame::toWorld(const AcGePoint2d& local) const {
    return mid + u * local.x + v * local.y;
}

ChordFrame chordFrame(const AcGePoint2d& start, const AcGePoint2d& end, const AcGePoint2d& center) {
    ChordFrame f;
    f.mid = AcGePoint2d((start.x + end.x) / 2.0, (start.y + end.y) / 2.0);
    const AcGeVector2d chord = end - start;
    f.h = chord.length() / 2.0;
    f.u = chord / (2.0 * f.h);
    f.v = AcGeVector2d(-f.u.y, f.u.x);
    f.yc = (center - f.mid).dotProduct(f.v);
    return f;
}

Quadratic lineOnChordCircle(const ChordFrame& f, const AcGePoint2d& p, const AcGeVector2d& d) {
    const AcGeVector2d pl = f.toFrame(p - f.mid);
    const AcGeVector2d dl = f.toFrame(d);
    return {dl.lengthSqrd(), pl.dotProduct(dl) - f.yc * dl.y,
            (pl.x - f.h) * (pl.x + f.h) + pl.y * (pl.y - 2.0 * f.yc)};
}

int quadraticRoots(const Quadratic& q, double disc, double t[2]) {
    if (!(q.a > 0.0) || !(disc >= 0.0)) return 0;
    if (disc == 0.0) {
        t[0] = -q.b / q.a;
        return 1;
    }
    const double big = -(q.b + std::copysign(std::sqrt(disc), q.b));
    t[0] = big / q.a;
    t[1] = q.c / big;
    if (t[1] < t[0]) std::swap(t[0], t[1]);
    return 2;
}

double arcSweep(double bulge) {
    return 4.0 * std::atan(bulge);
}

bool bulgeArc(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, BulgeArc& arc) {
    if (bulge == 0.0 || !std::isfinite(bulge) || !(a.distanceTo(b) > 0.0)) return false;
    arc.center = arcCenter(a, b, bulge);
    arc.radius = a.distanceTo(arc.center);
    arc.startAngle = (a - arc.center).angle();
    arc.sweep = arcSweep(bulge);
    return true;
}

double sweepFraction(double startAngle, double sweep, double angle) {
    const double turn = sweep >= 0.0 ? angle - startAngle : startAngle - angle;
    double u = std::fmod(turn, Tavro::kTwoPi);
    if (u < 0.0) u += Tavro::kTwoPi;
    const double span = std::fabs(sweep);
    // A direction in the gap nearer the start gets a negative fraction.
    if (u > span / 2.0 + Tavro::kPi) u -= Tavro::kTwoPi;
    return u / span;
}

// Area between chord and arc for the included angle theta: r^2 (theta - sin theta) / 2, which
// is the sector less the centre-chord triangle up to a half circle and the sector plus it
// beyond. Small angles use the series, where the difference would cancel.
double chordArcArea(double chord, double theta) {
    const double radius = chord / (2.0 * std::sin(theta / 2.0));
    double excess = theta - std::sin(theta);
    if (theta < Tavro::kAreaSeriesAngle) {
        const double t2 = theta * theta;
        excess = theta * t2 / 6.0 * (1.0 - t2 / 20.0 * (1.0 - t2 / 42.0));
    }
    return radius * radius * excess / 2.0;
}

double partBulge(double bulge, double fraction) {
    return std::tan(std::atan(bulge) * fraction);
}

LineCross lineCross(const AcGePoint2d& p, const AcGeVector2d& r, const AcGePoint2d& q,
                    const AcGeVector2d& s) {
    const double denom = r.crossProduct(s);
    const AcGeVector2d e = q - p;
    return {denom, e.crossProduct(s) / denom, e.crossProduct(r) / denom};
}

} // namespace TavroKernel
