#pragma once
// One geodetic conversion: its two coordinate maps, its control point pairs, the inverse
// Gauss-Krueger projection and the plane 4-parameter estimation.

#include "AcArray.h"
#include "AcGe.h"
#include "TavroExport.h"
#include "TavroGeodeticTypes.h"

class TAVRO_API CTavroGeoCoorTrans {
public:
    CTavroGeoCoorTrans();
    CTavroGeoCoorTrans(const CTavroGeoCoorTrans& other);
    CTavroGeoCoorTrans& operator=(const CTavroGeoCoorTrans& other);
    virtual ~CTavroGeoCoorTrans();

    // Stores both maps when the first is usable (central meridian > 0, or index >= 0 and
    // value > 0); otherwise shows an error box and keeps the stored maps.
    bool setCoordinateMap(const CoordinateMap& before, const CoordinateMap& after);

    // Gauss plane (x northing, y easting with or without zone prefix) to out.x longitude and
    // out.y latitude in decimal degrees; central meridian in decimal degrees. On the
    // ellipsoid's own a and 1/f; within 1.5 degrees of the meridian the sixth-order series
    // stays within 1e-10 degrees (0.01 mm) of the exact transverse Mercator.
    void gaussUncompute(AcGePoint2d& out, const AcGePoint2d& in, double centralMeridian,
                        Tavro::TavroCoorSystem system) const;
    // The same position as two texts with 2 decimals: d°m's" when dms, else decimal degrees;
    // a minus sign leads south and west. param is not used. Always true.
    bool gaussUncompute(TavroTerraceJWD& out, const AcGePoint2d& in, const CoordinateMap& map,
                        TavroTransParam_7 param, bool dms) const;

    // Appends pairs from an array alternating before, after, ...; fewer than 4 points are
    // refused with an error box, an odd last point is dropped with a warning box.
    bool setPointPair(const AcArray<AcGePoint3d>& points);
    // Replaces the pairs; arrays shorter than 2 or of different lengths are refused with an
    // error box.
    bool setPointPair(const AcArray<AcGePoint3d>& before, const AcArray<AcGePoint3d>& after);

    // Least-squares plane similarity from the held pairs (x and y only); false for fewer than
    // 2 pairs or a singular set, out untouched then.
    bool calcTransformParam(TavroTransParam_4& out) const;
    // Not estimated here (calcParamKJ7 gives these parameters): always false, out untouched.
    bool calcTransformParam(TavroTransParam_7& out) const;

    CoordinateMap m_mapBefore;
    CoordinateMap m_mapAfter;
    AcArray<AcGePoint3d> m_pointsBefore;
    AcArray<AcGePoint3d> m_pointsAfter;

private:
    friend class CTavroGeoCoorTransProbe;

    // Meridian arc from the equator to latitude (radians), metres; odd in the latitude.
    double ARC_S(double latitude, double tolerance, double a, double inverseFlattening) const;
    // The latitude (radians) whose meridian arc is arcLength metres.
    double ARC_B(double arcLength, double tolerance, double a, double inverseFlattening) const;
    // The inverse projection of in (as gaussUncompute) on the ellipsoid a, 1/f, given the
    // footpoint latitude (radians) of its northing.
    void gaussFromFootpoint(AcGePoint2d& out, const AcGePoint2d& in, double centralMeridian,
                            double a, double inverseFlattening, double footpoint) const;
    // Inverse projection of in, split into degrees, minutes and seconds; sets a sign to -1 for a
    // negative value and leaves it alone otherwise.
    void getGeodeticCoordinates(TavroGeodeticCoordinate& out, int& lonSign, int& latSign,
                                const AcGePoint2d& in, Tavro::TavroCoorSystem system,
                                double centralMeridian) const;
    // Normal equations of observation rows of m columns (m - 1 coefficients, one constant),
    // solved; out gets the m - 1 unknowns u with A*u ~ -c. False when the rows do not fix
    // every unknown, judged independently of the unknowns' scales.
    bool calcLeastSquares(const AcArray<AcArray<double>>& rows, int m, AcArray<double>& out) const;
    // Gauss-Jordan with partial pivoting on an n x m augmented matrix, in place; a pivot below
    // 1e-10 is singular (false, out unchanged); out gets the negated last column.
    bool calcEquation(AcArray<AcArray<double>>& matrix, int m, AcArray<double>& out) const;
};
