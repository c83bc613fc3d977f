#pragma once
// The reference ellipsoids of the geodetic conversions.

#include "TavroExport.h"
#include "TavroTypes.h"

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
