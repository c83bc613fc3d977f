#include "TavroTypes.h"

bool operator<=(const AcGePoint2d& a, const AcGePoint2d& b) {
    if (a.x > b.x) return false;
    if (a.y > b.y) return false;
    return true;
}

bool operator<(const AcGePoint2d& a, const AcGePoint2d& b) {
    return a <= b;
}

bool operator>=(const AcGePoint2d& a, const AcGePoint2d& b) {
    if (a.x < b.x) return false;
    if (a.y < b.y) return false;
    return true;
}

bool operator>(const AcGePoint2d& a, const AcGePoint2d& b) {
    return a >= b;
}
