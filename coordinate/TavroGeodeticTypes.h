#pragma once
// The records that pass between the geodetic conversions and their callers.

#include "TavroTypes.h"

#include <QString>

// One side of a conversion. The defaults are those a fresh CTavroGeoCoorTrans holds.
struct CoordinateMap {
    // Read only by the validity rule of CTavroGeoCoorTrans::setCoordinateMap.
    double value = 0.0;
    // Decimal degrees.
    double centralMeridian = 0.0;
    // Read only by the validity rule of CTavroGeoCoorTrans::setCoordinateMap.
    int index = -1;
    Tavro::TavroCoorSystem coorSystem = Tavro::kCoorUnknown;
};

// The plane similarity X = dx + a*x - b*y, Y = dy + b*x + a*y with a = scale*cos(rotation),
// b = scale*sin(rotation); rotation in radians counterclockwise from x towards y.
struct TavroTransParam_4 {
    double dx = 0.0;
    double dy = 0.0;
    double scale = 1.0;
    double rotation = 0.0;
};

// The spatial 7-parameter model of CTavroPCoreKJ7: shifts in metres, scaleChange m (0 = none),
// small rotations in radians.
struct TavroTransParam_7 {
    double dx = 0.0;
    double dy = 0.0;
    double dz = 0.0;
    double scaleChange = 0.0;
    double rotationX = 0.0;
    double rotationY = 0.0;
    double rotationZ = 0.0;
};

// A latitude and a longitude split into degrees, minutes and seconds; the degree fields hold
// magnitudes, the signs travel separately.
struct TavroGeodeticCoordinate {
    int latDegree = 0;
    int latMinute = 0;
    double latSecond = 0.0;
    int lonDegree = 0;
    int lonMinute = 0;
    double lonSecond = 0.0;
};

// A geodetic position printed as two texts.
struct TavroTerraceJWD {
    QString longitude;
    QString latitude;
};
