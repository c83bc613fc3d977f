#pragma once
// The second family of transformation models, the one process-wide chain that the pcore free
// functions drive, and the angle conversions. Triples as in TavroPCore.h.

#include "TavroExport.h"

class TAVRO_API QPcoreObject {
public:
    virtual ~QPcoreObject();
    virtual void transform(double x, double y, double z, double& X, double& Y, double& Z) = 0;
};

// Plane similarity, parameters as CTavroPCorePM4.
class TAVRO_API QPcorePM4 : public QPcoreObject {
public:
    void setParam(double xShift, double yShift, double rotation, double scale);
    void transform(double x, double y, double z, double& X, double& Y, double& Z) override;

    double m_xShift = 0.0, m_yShift = 0.0, m_rotation = 0.0, m_scale = 0.0;
};

// Height surface, parameters as CTavroPCoreHF2.
class TAVRO_API QPcoreHF2 : public QPcoreObject {
public:
    void setParam(double x0, double y0, double a0, double a1, double a2, double a3, double a4,
                  double a5);
    void transform(double x, double y, double h, double& X, double& Y, double& H) override;

    double m_x0 = 0.0, m_y0 = 0.0;
    double m_a0 = 0.0, m_a1 = 0.0, m_a2 = 0.0, m_a3 = 0.0, m_a4 = 0.0, m_a5 = 0.0;
};

// Gauss plane to geodetic, as CTavroPCorePMDD.
class TAVRO_API QPcorePMDD : public QPcoreObject {
public:
    void setParam(double a, double inverseFlattening, double centralMeridian);
    void transform(double easting, double northing, double h, double& B, double& L,
                   double& H) override;

    double m_a = 0.0, m_inverseFlattening = 0.0, m_centralMeridian = 0.0;
};

// Geodetic to Cartesian, as CTavroPCoreDDKJ.
class TAVRO_API QPcoreDDKJ : public QPcoreObject {
public:
    void setParam(double a, double inverseFlattening);
    void transform(double B, double L, double h, double& X, double& Y, double& Z) override;

    double m_a = 0.0, m_inverseFlattening = 0.0;
};

// 7-parameter similarity, as CTavroPCoreKJ7.
class TAVRO_API QPcoreKJ7 : public QPcoreObject {
public:
    void setParam(double dx, double dy, double dz, double m, double ex, double ey, double ez);
    void transform(double X, double Y, double Z, double& outX, double& outY, double& outZ) override;

    double m_dx = 0.0, m_dy = 0.0, m_dz = 0.0, m_m = 0.0, m_ex = 0.0, m_ey = 0.0, m_ez = 0.0;
};

// Cartesian to geodetic, as CTavroPCoreKJDD.
class TAVRO_API QPcoreKJDD : public QPcoreObject {
public:
    void setParam(double a, double inverseFlattening);
    void transform(double X, double Y, double Z, double& B, double& L, double& h) override;

    double m_a = 0.0, m_inverseFlattening = 0.0;
};

// Geodetic to Gauss plane, as CTavroPCoreDDPM but with the zone number set by pcoreSetZone.
class TAVRO_API QPcoreDDPM : public QPcoreObject {
public:
    void setParam(double a, double inverseFlattening, double centralMeridian);
    void transform(double B, double L, double h, double& easting, double& northing,
                   double& H) override;

    double m_a = 0.0, m_inverseFlattening = 0.0, m_centralMeridian = 0.0;
};

// The process-wide chain. Ellipsoid numbers here: 1 Krassovsky (6378245, 298.3), 2 IAG 1975
// (6378140, 298.257), 3 CGCS 2000 (6378137, 298.257222101), 4 WGS 84 (6378137, 298.257223563);
// another number, or a zone width other than 3 or 6, appends nothing. Central meridians are
// radians; a 3-degree zone k has its meridian at 3k degrees, a 6-degree zone at 6k - 3.

// Deletes the chain's models and sets the zone number to 0.
TAVRO_API void pcoreBegin();
// The same as pcoreBegin.
TAVRO_API void pcoreEnd();
// The zone number whose millions the forward projection puts in front of the easting.
TAVRO_API void pcoreSetZone(int zone);
TAVRO_API void pcoreAddPM4(double xShift, double yShift, double rotation, double scale);
TAVRO_API void pcoreAddHF2(double x0, double y0, double a0, double a1, double a2, double a3,
                           double a4, double a5);
TAVRO_API void pcoreAddKJ7(double dx, double dy, double dz, double m, double ex, double ey,
                           double ez);
TAVRO_API void pcoreAddDDKJ(double a, double inverseFlattening);
TAVRO_API void pcoreAddDDKJ(int ellipsoid);
TAVRO_API void pcoreAddKJDD(double a, double inverseFlattening);
TAVRO_API void pcoreAddKJDD(int ellipsoid);
TAVRO_API void pcoreAddPMDD(double a, double inverseFlattening, double centralMeridian);
TAVRO_API void pcoreAddPMDD(double a, double inverseFlattening, int zoneWidth, int zone);
TAVRO_API void pcoreAddPMDD(int ellipsoid, double centralMeridian);
TAVRO_API void pcoreAddPMDD(int ellipsoid, int zoneWidth, int zone);
TAVRO_API void pcoreAddDDPM(double a, double inverseFlattening, double centralMeridian);
TAVRO_API void pcoreAddDDPM(double a, double inverseFlattening, int zoneWidth, int zone);
TAVRO_API void pcoreAddDDPM(int ellipsoid, double centralMeridian);
TAVRO_API void pcoreAddDDPM(int ellipsoid, int zoneWidth, int zone);
// Runs the chain; then, for an input x below 10000000, removes zone * 1e6 from X.
TAVRO_API void pcoreTransform(double x, double y, double z, double& X, double& Y, double& Z);

// Angle conversions (pi = 3.141592653589793). Packed ddd.mmss keeps minutes and seconds as the
// decimal digits: 120.3015 is 120 degrees 30 minutes 15 seconds.
TAVRO_API double pcoreRadToDeg(double radians);
TAVRO_API double pcoreDegToRad(double degrees);
// Arc seconds to degrees.
TAVRO_API double pcoreSecToDeg(double seconds);
TAVRO_API double pcoreDegToSec(double degrees);
// Packed ddd.mmss to degrees; seconds digits within 1e-6 of 100 (a minute lost to binary
// rounding, as in 120.3) are carried into the minutes.
TAVRO_API double pcoreDmsToDeg(double packed);
// Degrees to packed ddd.mmss, carrying seconds within 1e-6 of 60, and 60 minutes.
TAVRO_API double pcoreDegToDms(double degrees);
TAVRO_API double pcoreRadToSec(double radians);
TAVRO_API double pcoreSecToRad(double seconds);
TAVRO_API double pcoreDmsToRad(double packed);
TAVRO_API double pcoreRadToDms(double radians);
TAVRO_API double pcoreDmsToSec(double packed);
TAVRO_API double pcoreSecToDms(double seconds);
