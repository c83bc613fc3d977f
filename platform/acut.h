#pragma once
// The host's utility calls: direction angle, polar point and the command line.

#include "AcGe.h"

// Direction angle from p1 to p2, counterclockwise from +x, in [0, 2pi).
TAVRO_API double acutAngle(const AcGePoint3d& p1, const AcGePoint3d& p2);
TAVRO_API double acutAngle(const AcGePoint2d& p1, const AcGePoint2d& p2);
// out = base + distance * (cos angle, sin angle); z is kept.
TAVRO_API void acutPolar(const AcGePoint3d& base, double angle, double distance, AcGePoint3d& out);
TAVRO_API void acutPolar(const AcGePoint2d& base, double angle, double distance, AcGePoint2d& out);
// printf-style text (UTF-8) to the command line; returns the number of bytes written.
TAVRO_API int acutPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
