#include "TavroEllipsoid.h"
#include "TavroTolerance.h"

#include <cmath>

namespace {
// The one ellipsoid table, in the order of the coordinate systems (the order classify tries).
const TavroEllipsoidConstants kEllipsoids[] = {
    {Tavro::kCoorWGS84, 4, "wgs84", 6378137.0, 6356752.3142, 298.257223563},
    {Tavro::kCoorXian80, 2, "xian80", 6378140.0, 6356755.2882, 298.257},
    {Tavro::kCoorCGCS2000, 3, "cgcs2000", 6378137.0, 6356752.0, 298.257222101},
    {Tavro::kCoorBeijing54, 1, "beijing54", 6378245.0, 6356863.0188, 298.3},
};

bool within(double value, double reference) {
    return std::fabs(value - reference) < Tavro::kEllipsoidMatchTol;
}

template <class Matches> const TavroEllipsoidConstants* findRow(Matches matches) {
    for (const TavroEllipsoidConstants& e : kEllipsoids)
        if (matches(e)) return &e;
    return nullptr;
}
} // namespace

CTavroEllipsoid::CTavroEllipsoid(Tavro::TavroCoorSystem system) : m_coorSystem(system) {
    if (const TavroEllipsoidConstants* e = constantsOf(system)) {
        m_semiMajor = e->semiMajor;
        m_semiMinor = e->semiMinor;
        m_inverseFlattening = e->inverseFlattening;
    }
    deriveFields();
}

CTavroEllipsoid::CTavroEllipsoid(double semiMajor, double semiMinor, double inverseFlattening)
    : m_semiMajor(semiMajor), m_semiMinor(semiMinor), m_inverseFlattening(inverseFlattening),
      m_coorSystem(classify(semiMajor, semiMinor, inverseFlattening)) {
    deriveFields();
}

CTavroEllipsoid::~CTavroEllipsoid() = default;

Tavro::TavroCoorSystem CTavroEllipsoid::classify(double a, double b, double inverseFlattening) {
    const TavroEllipsoidConstants* known = findRow([&](const TavroEllipsoidConstants& e) {
        return within(a, e.semiMajor) && within(b, e.semiMinor) &&
               within(inverseFlattening, e.inverseFlattening);
    });
    if (known) return known->system;
    // The size class of GRS 80 / WGS 84; the tests on a and 1/f are one-sided on purpose.
    if (a - 6378100.0 < 50.0 && std::fabs(b - 6356752.0) < 150.0 && inverseFlattening - 298.0 < 1.0)
        return Tavro::kCoorUserGRS80;
    return Tavro::kCoorUnknown;
}

const TavroEllipsoidConstants* CTavroEllipsoid::constantsOf(Tavro::TavroCoorSystem system) {
    return findRow([system](const TavroEllipsoidConstants& e) { return e.system == system; });
}

const TavroEllipsoidConstants* CTavroEllipsoid::constantsOfNumber(int legacyNumber) {
    return findRow([legacyNumber](const TavroEllipsoidConstants& e) {
        return e.legacyNumber == legacyNumber;
    });
}

const TavroEllipsoidConstants* CTavroEllipsoid::constantsOfName(const QString& name) {
    const QString lower = name.toLower();
    return findRow([&lower](const TavroEllipsoidConstants& e) { return lower == e.name; });
}

void CTavroEllipsoid::axesOf(Tavro::TavroCoorSystem system, double& semiMajor,
                             double& inverseFlattening) {
    const TavroEllipsoidConstants* e = constantsOf(system);
    // The placeholder of a system without constants, as the members start.
    semiMajor = e ? e->semiMajor : 1.0;
    inverseFlattening = e ? e->inverseFlattening : 1.0;
}

void CTavroEllipsoid::deriveFields() {
    const double a2 = m_semiMajor * m_semiMajor;
    const double b2 = m_semiMinor * m_semiMinor;
    m_flattening = 1.0 / m_inverseFlattening;
    m_eccentricity2 = (a2 - b2) / a2;
    m_secondEccentricity2 = (a2 - b2) / b2;
    m_eccentricity = std::sqrt(m_eccentricity2);
    m_secondEccentricity = std::sqrt(m_secondEccentricity2);
}
