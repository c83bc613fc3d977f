#pragma once
// The reference ellipsoids of the geodetic conversions.

#include "TavroExport.h"
#include "TavroTypes.h"

#include <QString>

// One row of the library's ellipsoid table: the constants of a known coordinate system with the
// other keys it is looked up by.
struct TavroEllipsoidConstants {
    Tavro::TavroCoorSystem system;
    // The number the pcoreAdd... functions take: 1 Krassovsky, 2 IAG 1975, 3 CGCS 2000, 4 WGS 84.
    int legacyNumber;
    // The lower-case name the tavro program takes: wgs84, xian80, cgcs2000, beijing54.
    const char* name;
    double semiMajor;
    // CGCS 2000 keeps b = 6356752.0 as the application has always carried it; the projections
    // take a and 1/f, which are exact for every row.
    double semiMinor;
    double inverseFlattening;
};

class TAVRO_API CTavroEllipsoid {
public:
    // The table constants of a known system; any other value gives the placeholder a = b = 1/f = 1.
    explicit CTavroEllipsoid(Tavro::TavroCoorSystem system);
    // Given numbers; the system is the first table entry within 1e-6 on all three, else 5 for
    // the GRS 80 size class, else 0 (unknown).
    CTavroEllipsoid(double semiMajor, double semiMinor, double inverseFlattening);
    virtual ~CTavroEllipsoid();

    // The system three numbers belong to, by the rule of the three-number constructor.
    static Tavro::TavroCoorSystem classify(double semiMajor, double semiMinor,
                                           double inverseFlattening);

    // The table row of a coordinate system, of a legacy number or of a name (any letter case);
    // null when the table has none. Every ellipsoid of the library comes from this one table.
    static const TavroEllipsoidConstants* constantsOf(Tavro::TavroCoorSystem system);
    static const TavroEllipsoidConstants* constantsOfNumber(int legacyNumber);
    static const TavroEllipsoidConstants* constantsOfName(const QString& name);
    // a and 1/f as the system constructor sets them, without working out the derived fields
    // (for per-point projections).
    static void axesOf(Tavro::TavroCoorSystem system, double& semiMajor, double& inverseFlattening);

    double m_semiMajor = 1.0;
    double m_semiMinor = 1.0;
    double m_flattening = 1.0;
    double m_inverseFlattening = 1.0;
    double m_eccentricity = 0.0;
    double m_secondEccentricity = 0.0;
    double m_eccentricity2 = 0.0;
    double m_secondEccentricity2 = 0.0;
    Tavro::TavroCoorSystem m_coorSystem = Tavro::kCoorUnknown;

private:
    void deriveFields();
};
