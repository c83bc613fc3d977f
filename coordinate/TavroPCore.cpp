#include "TavroPCore.h"

#include "TavroPCoreMath.h"

using namespace TavroCoordInternal;

namespace {
// The zone number of the class family's forward projection. Nothing sets it but to 0: the
// QPcore family has its own, which callers can set.
int g_chainZone = 0;
} // namespace

CTavroPCoreObject::~CTavroPCoreObject() = default;

void CTavroPCorePM4::setParam(double xShift, double yShift, double rotation, double scale) {
    m_xShift = xShift;
    m_yShift = yShift;
    m_rotation = rotation;
    m_scale = scale;
}

void CTavroPCorePM4::transform(double x, double y, double z, double& X, double& Y, double& Z) {
    const double param[4] = {m_xShift, m_yShift, m_rotation, m_scale};
    planeSimilarity(param, x, y, X, Y);
    Z = z;
}

void CTavroPCoreHF2::setParam(double x0, double y0, double a0, double a1, double a2, double a3,
                              double a4, double a5) {
    m_x0 = x0;
    m_y0 = y0;
    m_a0 = a0;
    m_a1 = a1;
    m_a2 = a2;
    m_a3 = a3;
    m_a4 = a4;
    m_a5 = a5;
}

void CTavroPCoreHF2::transform(double x, double y, double h, double& X, double& Y, double& H) {
    const double param[8] = {m_x0, m_y0, m_a0, m_a1, m_a2, m_a3, m_a4, m_a5};
    H = heightSurface(param, x, y, h);
    X = x;
    Y = y;
}

void CTavroPCorePMDD::setParam(double a, double inverseFlattening, double centralMeridian) {
    m_a = a;
    m_inverseFlattening = inverseFlattening;
    m_centralMeridian = centralMeridian;
}

void CTavroPCorePMDD::transform(double easting, double northing, double h, double& B, double& L,
                                double& H) {
    planeToGeodetic(m_a, m_inverseFlattening, m_centralMeridian, easting, northing, B, L);
    H = h;
}

void CTavroPCoreDDKJ::setParam(double a, double inverseFlattening) {
    m_a = a;
    m_inverseFlattening = inverseFlattening;
}

void CTavroPCoreDDKJ::transform(double B, double L, double h, double& X, double& Y, double& Z) {
    geodeticToCartesian(m_a, m_inverseFlattening, B, L, h, X, Y, Z);
}

void CTavroPCoreKJ7::setParam(double dx, double dy, double dz, double m, double ex, double ey,
                              double ez) {
    m_dx = dx;
    m_dy = dy;
    m_dz = dz;
    m_m = m;
    m_ex = ex;
    m_ey = ey;
    m_ez = ez;
}

void CTavroPCoreKJ7::transform(double X, double Y, double Z, double& outX, double& outY,
                               double& outZ) {
    const double param[7] = {m_dx, m_dy, m_dz, m_m, m_ex, m_ey, m_ez};
    sevenParameter(param, X, Y, Z, outX, outY, outZ);
}

void CTavroPCoreKJDD::setParam(double a, double inverseFlattening) {
    m_a = a;
    m_inverseFlattening = inverseFlattening;
}

void CTavroPCoreKJDD::transform(double X, double Y, double Z, double& B, double& L, double& h) {
    cartesianToGeodetic(m_a, m_inverseFlattening, X, Y, Z, B, L, h);
}

void CTavroPCoreDDPM::setParam(double a, double inverseFlattening, double centralMeridian) {
    m_a = a;
    m_inverseFlattening = inverseFlattening;
    m_centralMeridian = centralMeridian;
}

void CTavroPCoreDDPM::transform(double B, double L, double h, double& easting, double& northing,
                                double& H) {
    geodeticToPlane(m_a, m_inverseFlattening, m_centralMeridian, g_chainZone, B, L, easting,
                    northing);
    H = h;
}

CTavroPCoreTransform::CTavroPCoreTransform() = default;
CTavroPCoreTransform::CTavroPCoreTransform(const CTavroPCoreTransform& other) = default;
CTavroPCoreTransform& CTavroPCoreTransform::operator=(const CTavroPCoreTransform& other) = default;
CTavroPCoreTransform::~CTavroPCoreTransform() = default;

void CTavroPCoreTransform::beginTransform() {
    m_chain.removeAll();
    g_chainZone = 0;
}

void CTavroPCoreTransform::addPCCoreObject(CTavroPCoreObject* model) {
    if (!model) return;
    // A model some chain already holds keeps its one owner group; a fresh one gets its own.
    std::shared_ptr<CTavroPCoreObject> held = model->weak_from_this().lock();
    if (!held) held.reset(model);
    m_chain.append(held);
}

void CTavroPCoreTransform::transform(double x, double y, double z, double& X, double& Y,
                                     double& Z) {
    bool first = true;
    for (const std::shared_ptr<CTavroPCoreObject>& model : m_chain) {
        if (first)
            model->transform(x, y, z, X, Y, Z);
        else
            model->transform(X, Y, Z, X, Y, Z);
        first = false;
    }
}

void CTavroPCoreTransform::endTransform() {
    beginTransform();
}

int CTavroPCoreTransform::objectCount() const {
    return m_chain.length();
}

CTavroProjectTrans::CTavroProjectTrans(Tavro::TavroCoorSystem system) : m_ellipsoid(system) {}

CTavroProjectTrans::~CTavroProjectTrans() = default;
