#pragma once
// The transformation models and the chain that runs points through them. Plane triples put the
// easting first and the northing second (the easting may carry a zone prefix in millions);
// geodetic triples are (B, L, h) in radians and metres.

#include "AcArray.h"
#include "TavroEllipsoid.h"
#include "TavroExport.h"

#include <memory>

// One model: maps a triple to a triple. Chains share models, so a model knows its owners.
class TAVRO_API CTavroPCoreObject : public std::enable_shared_from_this<CTavroPCoreObject> {
public:
    virtual ~CTavroPCoreObject();
    virtual void transform(double x, double y, double z, double& X, double& Y, double& Z) = 0;
};

// Plane similarity: X = xShift + scale*(x*cos - y*sin), Y = yShift + scale*(x*sin + y*cos).
class TAVRO_API CTavroPCorePM4 : public CTavroPCoreObject {
public:
    void setParam(double xShift, double yShift, double rotation, double scale);
    void transform(double x, double y, double z, double& X, double& Y, double& Z) override;

    double m_xShift = 0.0;
    double m_yShift = 0.0;
    double m_rotation = 0.0;
    double m_scale = 0.0;
};

// Height surface: H = h + a0 + a1*u + a2*v + a3*u^2 + a4*u*v + a5*v^2, u = x - x0, v = y - y0.
class TAVRO_API CTavroPCoreHF2 : public CTavroPCoreObject {
public:
    void setParam(double x0, double y0, double a0, double a1, double a2, double a3, double a4,
                  double a5);
    void transform(double x, double y, double h, double& X, double& Y, double& H) override;

    double m_x0 = 0.0, m_y0 = 0.0;
    double m_a0 = 0.0, m_a1 = 0.0, m_a2 = 0.0, m_a3 = 0.0, m_a4 = 0.0, m_a5 = 0.0;
};

// Gauss plane (easting, northing, h) to geodetic (B, L, h); central meridian in radians.
class TAVRO_API CTavroPCorePMDD : public CTavroPCoreObject {
public:
    void setParam(double a, double inverseFlattening, double centralMeridian);
    void transform(double easting, double northing, double h, double& B, double& L,
                   double& H) override;

    double m_a = 0.0;
    double m_inverseFlattening = 0.0;
    double m_centralMeridian = 0.0;
};

// Geodetic (B, L, h) to earth-centred Cartesian (X, Y, Z).
class TAVRO_API CTavroPCoreDDKJ : public CTavroPCoreObject {
public:
    void setParam(double a, double inverseFlattening);
    void transform(double B, double L, double h, double& X, double& Y, double& Z) override;

    double m_a = 0.0;
    double m_inverseFlattening = 0.0;
};

// Linearised 7-parameter similarity: X' = dx + (1 + m)*(X - Z*ey + Y*ez),
// Y' = dy + (1 + m)*(Y + Z*ex - X*ez), Z' = dz + (1 + m)*(Z - Y*ex + X*ey); rotations radians.
class TAVRO_API CTavroPCoreKJ7 : public CTavroPCoreObject {
public:
    void setParam(double dx, double dy, double dz, double m, double ex, double ey, double ez);
    void transform(double X, double Y, double Z, double& outX, double& outY, double& outZ) override;

    double m_dx = 0.0, m_dy = 0.0, m_dz = 0.0;
    double m_m = 0.0;
    double m_ex = 0.0, m_ey = 0.0, m_ez = 0.0;
};

// Earth-centred Cartesian to geodetic (B, L, h); latitude iterated to 1e-10 rad. On the polar
// axis B = +-pi/2, h = |Z| - b; at the origin B and h are NaN.
class TAVRO_API CTavroPCoreKJDD : public CTavroPCoreObject {
public:
    void setParam(double a, double inverseFlattening);
    void transform(double X, double Y, double Z, double& B, double& L, double& h) override;

    double m_a = 0.0;
    double m_inverseFlattening = 0.0;
};

// Geodetic (B, L, h) to Gauss plane (easting, northing, h), scale 1 on the central meridian
// (radians); the easting carries the chain's zone number (always 0 here) and 500000.
class TAVRO_API CTavroPCoreDDPM : public CTavroPCoreObject {
public:
    void setParam(double a, double inverseFlattening, double centralMeridian);
    void transform(double B, double L, double h, double& easting, double& northing,
                   double& H) override;

    double m_a = 0.0;
    double m_inverseFlattening = 0.0;
    double m_centralMeridian = 0.0;
};

// An ordered chain of models. Copies share the models; a model lives while any chain (or any
// other shared owner) holds it, so copies neither double-delete nor leak.
class TAVRO_API CTavroPCoreTransform {
public:
    CTavroPCoreTransform();
    CTavroPCoreTransform(const CTavroPCoreTransform& other);
    CTavroPCoreTransform& operator=(const CTavroPCoreTransform& other);
    virtual ~CTavroPCoreTransform();

    // Lets go of every model (deleting those no other chain holds) and sets the zone number to 0.
    void beginTransform();
    // Appends a heap model; the chain owns it from now on. Null is ignored; a model already held
    // by a chain is shared, not owned twice.
    void addPCCoreObject(CTavroPCoreObject* model);
    // Runs (x, y, z) through the models in order; an empty chain leaves X, Y, Z untouched.
    void transform(double x, double y, double z, double& X, double& Y, double& Z);
    // The same as beginTransform.
    void endTransform();
    // The number of models in the chain.
    int objectCount() const;

private:
    AcArray<std::shared_ptr<CTavroPCoreObject>> m_chain;
};

// An ellipsoid chosen by its coordinate system, kept for the projections.
class TAVRO_API CTavroProjectTrans {
public:
    explicit CTavroProjectTrans(Tavro::TavroCoorSystem system);
    virtual ~CTavroProjectTrans();

    CTavroEllipsoid m_ellipsoid;
};
