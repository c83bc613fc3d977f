// The estimators on fuzzed control points, the model chain built from fuzzed parameters, and
// the Gauss projection helpers of CTavroGeoCoorTrans.

#include "FuzzInput.h"

#include "TavroGeoCoorTrans.h"
#include "TavroPCore.h"
#include "TavroQPcore.h"
#include "TavroTransEstimate.h"

#include <vector>

namespace {
std::vector<double> numbers(fuzz::Input& in, int limit) {
    std::vector<double> out(in.count(limit));
    for (double& v : out)
        v = in.number(1000.0);
    return out;
}

void estimate(fuzz::Input& in) {
    const std::vector<double> d = numbers(in, 120);
    const int n = static_cast<int>(d.size());
    double p[9] = {};
    switch (in.byte() % 5) {
    case 0:
        calcParamPM4(d.data(), n, &p[0], &p[1], &p[2], &p[3]);
        break;
    case 1:
        calcParamPM3(d.data(), n, &p[0], &p[1], nullptr);
        break;
    case 2:
        calcParamHF2(d.data(), n, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6], &p[7]);
        break;
    case 3:
        calcParamKJ7(d.data(), n, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]);
        break;
    default:
        for (double& v : p)
            v = in.number(1.0 / 1024);
        refineParamKJ7(d.data(), n, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]);
        break;
    }
}

// One model on the process-wide chain, its parameters from the input.
void addModel(fuzz::Input& in) {
    const std::uint8_t which = in.byte();
    double v[8];
    for (double& x : v)
        x = in.number();
    const int i = which >> 4, j = in.byte();
    switch (which % 14) {
    case 0:
        pcoreAddPM4(v[0], v[1], v[2], v[3]);
        break;
    case 1:
        pcoreAddHF2(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
        break;
    case 2:
        pcoreAddKJ7(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
        break;
    case 3:
        pcoreAddDDKJ(v[0], v[1]);
        break;
    case 4:
        pcoreAddDDKJ(i);
        break;
    case 5:
        pcoreAddKJDD(v[0], v[1]);
        break;
    case 6:
        pcoreAddKJDD(i);
        break;
    case 7:
        pcoreAddPMDD(v[0], v[1], v[2]);
        break;
    case 8:
        pcoreAddPMDD(v[0], v[1], i, j);
        break;
    case 9:
        pcoreAddPMDD(i, v[2]);
        break;
    case 10:
        pcoreAddDDPM(v[0], v[1], v[2]);
        break;
    case 11:
        pcoreAddDDPM(v[0], v[1], i, j);
        break;
    case 12:
        pcoreAddDDPM(i, v[2]);
        break;
    default:
        pcoreAddPMDD(i, j % 8, j);
        break;
    }
}

void chain(fuzz::Input& in) {
    pcoreBegin();
    pcoreSetZone(in.byte() - 64);
    const int models = in.count(6);
    for (int k = 0; k < models; ++k)
        addModel(in);
    const int points = in.count(4);
    for (int k = 0; k < points; ++k) {
        const double x = in.number(1000.0), y = in.number(1000.0), z = in.number();
        double X = 0, Y = 0, Z = 0;
        pcoreTransform(x, y, z, X, Y, Z);
    }
    const double a = in.number();
    pcoreDmsToDeg(a);
    pcoreDegToDms(a);
    pcoreRadToDms(a);
    pcoreSecToDms(a);
    pcoreEnd();
}

void projection(fuzz::Input& in) {
    CTavroGeoCoorTrans trans;
    const AcGePoint2d p(in.number(1000.0), in.number(1000.0));
    const double meridian = in.number();
    const auto system = Tavro::TavroCoorSystem(in.byte() % 7);
    AcGePoint2d out;
    trans.gaussUncompute(out, p, meridian, system);
    CoordinateMap map;
    map.value = in.number();
    map.centralMeridian = meridian;
    map.index = in.byte() % 8 - 2;
    map.coorSystem = system;
    TavroTerraceJWD text;
    trans.gaussUncompute(text, p, map, TavroTransParam_7(), in.byte() & 1);
    AcArray<AcGePoint3d> before, after;
    const int n = in.count(12);
    for (int k = 0; k < n; ++k) {
        before.append(AcGePoint3d(in.number(1000.0), in.number(1000.0), in.number()));
        after.append(AcGePoint3d(in.number(1000.0), in.number(1000.0), in.number()));
    }
    trans.setPointPair(before, after);
    TavroTransParam_4 four;
    trans.calcTransformParam(four);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quietHost();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    switch (in.byte() % 3) {
    case 0:
        estimate(in);
        break;
    case 1:
        chain(in);
        break;
    default:
        projection(in);
        break;
    }
    return 0;
}
