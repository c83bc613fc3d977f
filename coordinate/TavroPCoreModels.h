#pragma once
// The seven transformation models, written once for both model families: CTavroPCorePM4 and
// QPcorePM4 are the same plane similarity over different base classes, and so on. Each template
// keeps its parameters as public members and hands the arithmetic to TavroPCoreMath.

#include "TavroExport.h"
#include "TavroPCoreMath.h"

namespace TavroCoordInternal {

// Plane similarity: X = xShift + scale*(x*cos - y*sin), Y = yShift + scale*(x*sin + y*cos).
template <class Base> class TAVRO_API PlaneSimilarity : public Base {
public:
    void setParam(double xShift, double yShift, double rotation, double scale) {
        m_xShift = xShift;
        m_yShift = yShift;
        m_rotation = rotation;
        m_scale = scale;
    }
    void transform(double x, double y, double z, double& X, double& Y, double& Z) override {
        const double param[4] = {m_xShift, m_yShift, m_rotation, m_scale};
        planeSimilarity(param, x, y, X, Y);
        Z = z;
    }

    double m_xShift = 0.0, m_yShift = 0.0, m_rotation = 0.0, m_scale = 0.0;
};

// Height surface: H = h + a0 + a1*u + a2*v + a3*u^2 + a4*u*v + a5*v^2, u = x - x0, v = y - y0.
template <class Base> class TAVRO_API HeightSurface : public Base {
public:
    void setParam(double x0, double y0, double a0, double a1, double a2, double a3, double a4,
                  double a5) {
        m_x0 = x0;
        m_y0 = y0;
        m_a0 = a0;
        m_a1 = a1;
        m_a2 = a2;
        m_a3 = a3;
        m_a4 = a4;
        m_a5 = a5;
    }
    void transform(double x, double y, double h, double& X, double& Y, double& H) override {
        const double param[8] = {m_x0, m_y0, m_a0, m_a1, m_a2, m_a3, m_a4, m_a5};
        H = heightSurface(param, x, y, h);
        X = x;
        Y = y;
    }

    double m_x0 = 0.0, m_y0 = 0.0;
    double m_a0 = 0.0, m_a1 = 0.0, m_a2 = 0.0, m_a3 = 0.0, m_a4 = 0.0, m_a5 = 0.0;
};

// The parameters of the models that need an ellipsoid (and for projections a central meridian
// in radians).
template <class Base> class TAVRO_API EllipsoidModel : public Base {
public:
    void setParam(double a, double inverseFlattening) {
        m_a = a;
        m_inverseFlattening = inverseFlattening;
    }

    double m_a = 0.0, m_inverseFlattening = 0.0;
};

template <class Base> class TAVRO_API ProjectionModel : public EllipsoidModel<Base> {
public:
    // Hides the two-number form: a projection always needs its central meridian.
    void setParam(double a, double inverseFlattening, double centralMeridian) {
        EllipsoidModel<Base>::setParam(a, inverseFlattening);
        m_centralMeridian = centralMeridian;
    }

    double m_centralMeridian = 0.0;
};

// Gauss plane (easting, northing, h) to geodetic (B, L, h).
template <class Base> class TAVRO_API PlaneToGeodetic : public ProjectionModel<Base> {
public:
    void transform(double easting, double northing, double h, double& B, double& L,
                   double& H) override {
        planeToGeodetic(this->m_a, this->m_inverseFlattening, this->m_centralMeridian, easting,
                        northing, B, L);
        H = h;
    }
};

// Geodetic (B, L, h) to Gauss plane; the easting carries zoneNumber() millions and 500000.
template <class Base> class TAVRO_API GeodeticToPlane : public ProjectionModel<Base> {
public:
    void transform(double B, double L, double h, double& easting, double& northing,
                   double& H) override {
        geodeticToPlane(this->m_a, this->m_inverseFlattening, this->m_centralMeridian, zoneNumber(),
                        B, L, easting, northing);
        H = h;
    }
    virtual int zoneNumber() const { return 0; }
};

// Geodetic (B, L, h) to earth-centred Cartesian (X, Y, Z).
template <class Base> class TAVRO_API GeodeticToCartesian : public EllipsoidModel<Base> {
public:
    void transform(double B, double L, double h, double& X, double& Y, double& Z) override {
        geodeticToCartesian(this->m_a, this->m_inverseFlattening, B, L, h, X, Y, Z);
    }
};

// Earth-centred Cartesian to geodetic (B, L, h).
template <class Base> class TAVRO_API CartesianToGeodetic : public EllipsoidModel<Base> {
public:
    void transform(double X, double Y, double Z, double& B, double& L, double& h) override {
        cartesianToGeodetic(this->m_a, this->m_inverseFlattening, X, Y, Z, B, L, h);
    }
};

// Linearised 7-parameter similarity: X' = dx + (1 + m)*(X - Z*ey + Y*ez),
// Y' = dy + (1 + m)*(Y + Z*ex - X*ez), Z' = dz + (1 + m)*(Z - Y*ex + X*ey); rotations radians.
template <class Base> class TAVRO_API SevenParameter : public Base {
public:
    void setParam(double dx, double dy, double dz, double m, double ex, double ey, double ez) {
        m_dx = dx;
        m_dy = dy;
        m_dz = dz;
        m_m = m;
        m_ex = ex;
        m_ey = ey;
        m_ez = ez;
    }
    void transform(double X, double Y, double Z, double& outX, double& outY,
                   double& outZ) override {
        const double param[7] = {m_dx, m_dy, m_dz, m_m, m_ex, m_ey, m_ez};
        sevenParameter(param, X, Y, Z, outX, outY, outZ);
    }

    double m_dx = 0.0, m_dy = 0.0, m_dz = 0.0, m_m = 0.0, m_ex = 0.0, m_ey = 0.0, m_ez = 0.0;
};

} // namespace TavroCoordInternal
