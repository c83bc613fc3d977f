#pragma once
// The arithmetic of the transformation models, shared by the CTavroPCore and QPcore families.
// Exported for the model templates, which callers instantiate; not part of the umbrella header.

#include "TavroExport.h"

namespace TavroCoordInternal {

// Plane similarity: X = xShift + scale*(x*cos - y*sin), Y = yShift + scale*(x*sin + y*cos).
TAVRO_API void planeSimilarity(const double param[4], double x, double y, double& X, double& Y);
// param = x0, y0, a0 ... a5: the height plus the quadratic surface at (x - x0, y - y0).
TAVRO_API double heightSurface(const double param[8], double x, double y, double h);
// Geodetic (radians, metres) to earth-centred Cartesian.
TAVRO_API void geodeticToCartesian(double a, double inverseFlattening, double B, double L, double h,
                                   double& X, double& Y, double& Z);
// param = dx, dy, dz, m, ex, ey, ez: the linearised 7-parameter similarity.
TAVRO_API void sevenParameter(const double param[7], double X, double Y, double Z, double& outX,
                              double& outY, double& outZ);
// Cartesian to geodetic; on the polar axis B = +-pi/2 and h = |Z| - b, at the origin B and h
// are NaN (no nearest surface point).
TAVRO_API void cartesianToGeodetic(double a, double inverseFlattening, double X, double Y, double Z,
                                   double& B, double& L, double& h);
// Forward Gauss-Krueger (CTavroGaussKrueger::forward) on the central meridian lambda0 (radians);
// the easting gets zone * 1e6 + 500000 in front.
TAVRO_API void geodeticToPlane(double a, double inverseFlattening, double lambda0, int zone,
                               double B, double L, double& easting, double& northing);
// Inverse Gauss-Krueger (CTavroGaussKrueger::inverse) with the truncated footpoint series; the
// zone prefix and false easting are removed by truncating easting / 1e6.
TAVRO_API void planeToGeodetic(double a, double inverseFlattening, double lambda0, double easting,
                               double northing, double& B, double& L);

} // namespace TavroCoordInternal
