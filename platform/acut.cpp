#include "acut.h"

#include "TavroHost.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

double acutAngle(const AcGePoint3d& p1, const AcGePoint3d& p2) {
    return AcGeVector2d(p2.x - p1.x, p2.y - p1.y).angle();
}

double acutAngle(const AcGePoint2d& p1, const AcGePoint2d& p2) {
    return (p2 - p1).angle();
}

void acutPolar(const AcGePoint3d& base, double angle, double distance, AcGePoint3d& out) {
    out = AcGePoint3d(base.x + distance * std::cos(angle), base.y + distance * std::sin(angle),
                      base.z);
}

void acutPolar(const AcGePoint2d& base, double angle, double distance, AcGePoint2d& out) {
    out = AcGePoint2d(base.x + distance * std::cos(angle), base.y + distance * std::sin(angle));
}

int acutPrintf(const char* format, ...) {
    if (!format) return 0;
    va_list args;
    va_start(args, format);
    va_list sizing;
    va_copy(sizing, args);
    const int needed = std::vsnprintf(nullptr, 0, format, sizing);
    va_end(sizing);
    if (needed < 0) {
        va_end(args);
        return 0;
    }
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    TavroHost::printCommandLine(QString::fromUtf8(buffer.data(), needed));
    return needed;
}
