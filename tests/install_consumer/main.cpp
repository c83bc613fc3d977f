#include <TavroGeometric142/TavroGeometric142.h>

#include <cstdio>

int main() {
    AcArray<AcGePoint2d> square{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    // A model used by value runs the library's arithmetic from the caller's own code.
    CTavroPCorePM4 shift;
    shift.setParam(10.0, 20.0, 0.0, 1.0);
    double x = 0, y = 0, z = 0;
    shift.transform(1.0, 2.0, 3.0, x, y, z);
    std::printf("api 0x%x, area %.1f, shifted (%.0f, %.0f), registered %d\n", acrxGetApiVersion(),
                CTavroGeoPoint::geoArea(square, AcArray<double>()), x, y,
                CTavroVersionManager::registrationCount());
    return CTavroVersionManager::registrationCount() == 1 && x == 11.0 && y == 22.0 ? 0 : 1;
}
