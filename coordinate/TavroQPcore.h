#pragma once
// The second family of transformation models, the one process-wide chain that the pcore free
// functions drive, and the angle conversions. Triples as in TavroPCore.h.

#include "TavroExport.h"
#include "TavroPCoreModels.h"

class TAVRO_API QPcoreObject {
public:
    virtual ~QPcoreObject();
    virtual void transform(double x, double y, double z, double& X, double& Y, double& Z) = 0;
};

// The same seven models over QPcoreObject (see TavroPCoreModels.h); the forward projection
// puts the zone number set by pcoreSetZone in front of the easting.
class TAVRO_API QPcorePM4 : public TavroCoordInternal::PlaneSimilarity<QPcoreObject> {};
class TAVRO_API QPcoreHF2 : public TavroCoordInternal::HeightSurface<QPcoreObject> {};
class TAVRO_API QPcorePMDD : public TavroCoordInternal::PlaneToGeodetic<QPcoreObject> {};
class TAVRO_API QPcoreDDKJ : public TavroCoordInternal::GeodeticToCartesian<QPcoreObject> {};
class TAVRO_API QPcoreKJ7 : public TavroCoordInternal::SevenParameter<QPcoreObject> {};
class TAVRO_API QPcoreKJDD : public TavroCoordInternal::CartesianToGeodetic<QPcoreObject> {};
class TAVRO_API QPcoreDDPM : public TavroCoordInternal::GeodeticToPlane<QPcoreObject> {
public:
    int zoneNumber() const override;
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
