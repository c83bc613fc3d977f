#include <TavroGeometric142/TavroGeometric142.h>

#include <cstdio>

int main() {
    Tavro::NodeBulge ring;
    ring.nodes.append(AcGePoint2d(0, 0));
    ring.nodes.append(AcGePoint2d(1, 0));
    std::printf("api 0x%x, %d nodes, registered %d\n", acrxGetApiVersion(), ring.nodes.length(),
                CTavroVersionManager::registrationCount());
    return CTavroVersionManager::registrationCount() == 1 ? 0 : 1;
}
