#pragma once
// The Gauss-Krueger projection: transverse Mercator with scale 1 on the central meridian, a
// false easting of 500000 m and, optionally, the zone number in the millions in front of the
// easting (38500000 is easting 500000 in zone 38). Every projection formula of the library lives
// here; CTavroGeoCoorTrans::gaussUncompute and the chain models (CTavroPCorePMDD/DDPM and their
// QPcore twins) call these and nothing else. Angles are radians, lengths metres; the ellipsoid is
// given by its semi-major axis a and inverse flattening rf.
//
// Methods and accuracy (against the exact transverse Mercator of PROJ and GeographicLib, within 1.5
// degrees of the central meridian, i.e. a 3-degree zone, latitudes 60 S to 85 N):
// - forward: the classical series in A = (L - L0) cos B (Snyder, "Map Projections - A Working
//   Manual", USGS 1987, eqs. 8-9 and 8-10): easting to A^5, northing to A^6, the meridian arc
//   as its series in e^2 to e^6. Error below 1 mm.
// - inverse: the series about the footpoint latitude Bf in u = y / N(Bf) (Snyder eqs. 8-17 and
//   8-18 in other letters): latitude to u^6, longitude to u^5. Error below 1e-10 degrees
//   (0.01 mm) with the Krueger footpoint, below 2.5e-9 degrees (0.25 mm) with the truncated one.
// - footpoint latitude (the latitude whose meridian arc is the northing), two named methods:
//   kFootpointKrueger: the rectifying latitude plus Krueger's sine series in the third
//   flattening n to n^5; the first neglected term is of order n^6 (2e-17 rad), so the result is
//   exact to rounding. kFootpointTruncated: the rectifying radius as its series in e^2 to e^6
//   and the sine series to n^4 only, the chain models' method, kept for their answers; it is off
//   by up to 4e-11 rad (0.25 mm) at high latitude.
// - the meridian arc by numerical integration of the meridian radius (Simpson's rule on ever
//   halved steps) and its inverse by a fixed-slope iteration: to any tolerance asked for, at the
//   cost of hundreds of radius evaluations per call.

#include "TavroExport.h"

// a, b and the squared eccentricities of an ellipsoid given by a and rf (b = a (1 - 1/rf)).
struct TavroEllipsoidShape {
    double a;
    double b;
    double e2;  // first eccentricity squared, 1 - (b/a)^2
    double ep2; // second eccentricity squared, (a/b)^2 - 1
};

class TAVRO_API CTavroGaussKrueger {
public:
    // The footpoint latitude methods described above.
    enum Footpoint { kFootpointKrueger, kFootpointTruncated };
    // How the zone number is taken off an easting: kPrefixOfPositive removes whole millions from
    // an easting of 1e6 or more and leaves others alone (gaussUncompute); kPrefixTowardZero
    // removes the millions of trunc(easting / 1e6) of either sign (the chain models).
    enum ZonePrefix { kPrefixOfPositive, kPrefixTowardZero };

    static constexpr double kFalseEasting = 500000.0;
    // The zone number counts millions of metres in front of the easting.
    static constexpr double kZonePrefixUnit = 1000000.0;
    // The farthest a plane point can lie from the equator (a quarter meridian, about 10002 km,
    // with room) and from its central meridian (about 9 degrees at the equator) and still be a
    // point of a zone; beyond them the series give nonsense.
    static constexpr double kMostNorthing = 10010000.0;
    static constexpr double kMostMeridianOffset = 1000000.0;

    static TavroEllipsoidShape shapeOf(double a, double rf);

    // The signed distance of an easting from the central meridian: the zone prefix and the false
    // easting taken off.
    static double meridianOffset(double easting, ZonePrefix rule);
    // The zone number in front of an easting, trunc(easting / 1e6); 0 when it is not a number or
    // too large for an int.
    static int zoneNumber(double easting);
    // Whether a plane point (northing, easting with or without its prefix) lies where the inverse
    // series hold: within kMostNorthing of the equator, the easting not negative and within
    // kMostMeridianOffset of the central meridian. Not a number is in no zone.
    static bool northingInZone(double northing);
    static bool eastingInZone(double easting);

    // Latitude and longitude from the central meridian of the plane point whose northing has
    // the given footpoint latitude and whose easting lies offset from the central meridian.
    static void inverse(double a, double rf, double footpoint, double offset, double& latitude,
                        double& longitude);
    // The inverse of a plane point (northing, easting with or without its zone prefix): its
    // footpoint by method, its distance from the central meridian by rule.
    static void planeToGeodetic(double a, double rf, double northing, double easting,
                                Footpoint method, ZonePrefix rule, double& latitude,
                                double& longitude);
    // The latitude whose meridian arc from the equator is northing, by the given method.
    static double footpointLatitude(double a, double rf, double northing, Footpoint method);
    // The distance from the central meridian and the northing of a latitude and a longitude
    // from the central meridian.
    static void forward(double a, double rf, double latitude, double longitude, double& offset,
                        double& northing);
    // The meridian arc from the equator to latitude by its series in e^2 (to e^6).
    static double meridianArc(const TavroEllipsoidShape& shape, double latitude);

    // The meridian arc by numerical integration until two steps agree within tolerance metres;
    // exactly 0 below 4.5e-15 rad, odd in the latitude.
    static double meridianArcIntegral(double latitude, double tolerance, double a, double rf);
    // The latitude whose integrated meridian arc is arcLength, within tolerance metres.
    static double latitudeOfArcIntegral(double arcLength, double tolerance, double a, double rf);
};
