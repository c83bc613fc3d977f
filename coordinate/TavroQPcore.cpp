#include "TavroQPcore.h"
#include "TavroTolerance.h"

#include "TavroEllipsoid.h"
#include "TavroPCoreMath.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using namespace TavroCoordInternal;

namespace {
using Tavro::kPi;

// The process-wide chain: empty at load, its models deleted at unload.
std::vector<std::unique_ptr<QPcoreObject>>& chain() {
    static std::vector<std::unique_ptr<QPcoreObject>> models;
    return models;
}

int g_zone = 0;

// The central meridian (radians) of a 3- or 6-degree zone; false for another width.
bool zoneMeridian(int width, int zone, double& lambda0) {
    double degrees = 0.0;
    if (width == 3)
        degrees = 3.0 * zone;
    else if (width == 6)
        degrees = 6.0 * zone - 3.0;
    else
        return false;
    lambda0 = kPi * degrees / 180.0;
    return true;
}

template <class Model, class... Args> void append(Args... args) {
    auto model = std::make_unique<Model>();
    model->setParam(args...);
    chain().push_back(std::move(model));
}

// A model on a numbered ellipsoid, with its further parameters; nothing for an unknown number.
template <class Model, class... Args> void appendNumbered(int ellipsoid, Args... args) {
    if (const TavroEllipsoidConstants* e = CTavroEllipsoid::constantsOfNumber(ellipsoid))
        append<Model>(e->semiMajor, e->inverseFlattening, args...);
}

// A projection on the meridian of a zone; nothing for a width other than 3 or 6.
template <class Model> void appendZoned(double a, double rf, int width, int zone) {
    double lambda0 = 0.0;
    if (zoneMeridian(width, zone, lambda0)) append<Model>(a, rf, lambda0);
}

template <class Model> void appendZonedNumbered(int ellipsoid, int width, int zone) {
    if (const TavroEllipsoidConstants* e = CTavroEllipsoid::constantsOfNumber(ellipsoid))
        appendZoned<Model>(e->semiMajor, e->inverseFlattening, width, zone);
}
} // namespace

QPcoreObject::~QPcoreObject() = default;

int QPcoreDDPM::zoneNumber() const {
    return g_zone;
}

void pcoreBegin() {
    chain().clear();
    g_zone = 0;
}

void pcoreEnd() {
    pcoreBegin();
}

void pcoreSetZone(int zone) {
    g_zone = zone;
}

void pcoreAddPM4(double xShift, double yShift, double rotation, double scale) {
    append<QPcorePM4>(xShift, yShift, rotation, scale);
}

void pcoreAddHF2(double x0, double y0, double a0, double a1, double a2, double a3, double a4,
                 double a5) {
    append<QPcoreHF2>(x0, y0, a0, a1, a2, a3, a4, a5);
}

void pcoreAddKJ7(double dx, double dy, double dz, double m, double ex, double ey, double ez) {
    append<QPcoreKJ7>(dx, dy, dz, m, ex, ey, ez);
}

void pcoreAddDDKJ(double a, double inverseFlattening) {
    append<QPcoreDDKJ>(a, inverseFlattening);
}

void pcoreAddDDKJ(int ellipsoid) {
    appendNumbered<QPcoreDDKJ>(ellipsoid);
}

void pcoreAddKJDD(double a, double inverseFlattening) {
    append<QPcoreKJDD>(a, inverseFlattening);
}

void pcoreAddKJDD(int ellipsoid) {
    appendNumbered<QPcoreKJDD>(ellipsoid);
}

void pcoreAddPMDD(double a, double inverseFlattening, double centralMeridian) {
    append<QPcorePMDD>(a, inverseFlattening, centralMeridian);
}

void pcoreAddPMDD(double a, double inverseFlattening, int zoneWidth, int zone) {
    appendZoned<QPcorePMDD>(a, inverseFlattening, zoneWidth, zone);
}

void pcoreAddPMDD(int ellipsoid, double centralMeridian) {
    appendNumbered<QPcorePMDD>(ellipsoid, centralMeridian);
}

void pcoreAddPMDD(int ellipsoid, int zoneWidth, int zone) {
    appendZonedNumbered<QPcorePMDD>(ellipsoid, zoneWidth, zone);
}

void pcoreAddDDPM(double a, double inverseFlattening, double centralMeridian) {
    append<QPcoreDDPM>(a, inverseFlattening, centralMeridian);
}

void pcoreAddDDPM(double a, double inverseFlattening, int zoneWidth, int zone) {
    appendZoned<QPcoreDDPM>(a, inverseFlattening, zoneWidth, zone);
}

void pcoreAddDDPM(int ellipsoid, double centralMeridian) {
    appendNumbered<QPcoreDDPM>(ellipsoid, centralMeridian);
}

void pcoreAddDDPM(int ellipsoid, int zoneWidth, int zone) {
    appendZonedNumbered<QPcoreDDPM>(ellipsoid, zoneWidth, zone);
}

void pcoreTransform(double x, double y, double z, double& X, double& Y, double& Z) {
    bool first = true;
    for (const std::unique_ptr<QPcoreObject>& model : chain()) {
        if (first)
            model->transform(x, y, z, X, Y, Z);
        else
            model->transform(X, Y, Z, X, Y, Z);
        first = false;
    }
    if (x < 10000000.0) X -= g_zone * 1000000.0;
}

double pcoreRadToDeg(double radians) {
    return 180.0 * radians / kPi;
}

double pcoreDegToRad(double degrees) {
    return kPi * degrees / 180.0;
}

double pcoreSecToDeg(double seconds) {
    return seconds / 3600.0;
}

double pcoreDegToSec(double degrees) {
    return degrees * 3600.0;
}

double pcoreDmsToDeg(double packed) {
    if (packed == 0.0) return 0.0;
    const double sign = packed < 0 ? -1.0 : 1.0;
    const double v = std::fabs(packed);
    const double d = std::trunc(v);
    const double t = (v - d) * 100.0;
    double m = std::trunc(t);
    double seconds = (t - m) * 100.0;
    if (seconds >= 100.0 - Tavro::kCarryTolSeconds) {
        m += 1.0;
        seconds = 0.0;
    }
    return sign * (d + m / 60.0 + seconds / 3600.0);
}

double pcoreDegToDms(double degrees) {
    if (degrees == 0.0) return 0.0;
    const double sign = degrees < 0 ? -1.0 : 1.0;
    const double v = std::fabs(degrees);
    double d = std::trunc(v);
    const double t = (v - d) * 60.0;
    double m = std::trunc(t);
    double seconds = (t - m) * 60.0;
    if (seconds >= 60.0 - Tavro::kCarryTolSeconds) {
        m += 1.0;
        seconds = std::max(0.0, seconds - 60.0);
    }
    if (m >= 60.0) {
        d += 1.0;
        m -= 60.0;
    }
    return sign * (d + m / 100.0 + seconds / 10000.0);
}

double pcoreRadToSec(double radians) {
    return pcoreDegToSec(pcoreRadToDeg(radians));
}

double pcoreSecToRad(double seconds) {
    return pcoreDegToRad(pcoreSecToDeg(seconds));
}

double pcoreDmsToRad(double packed) {
    return pcoreDegToRad(pcoreDmsToDeg(packed));
}

double pcoreRadToDms(double radians) {
    return pcoreDegToDms(pcoreRadToDeg(radians));
}

double pcoreDmsToSec(double packed) {
    return pcoreDegToSec(pcoreDmsToDeg(packed));
}

double pcoreSecToDms(double seconds) {
    return pcoreDegToDms(pcoreSecToDeg(seconds));
}
