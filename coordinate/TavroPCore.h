#pragma once
// The transformation models and the chain that runs points through them. Plane triples put the
// easting first and the northing second (the easting may carry a zone prefix in millions);
// geodetic triples are (B, L, h) in radians and metres.

#include "AcArray.h"
#include "TavroEllipsoid.h"
#include "TavroExport.h"
#include "TavroPCoreModels.h"

#include <memory>

// One model: maps a triple to a triple. Chains share models, so a model knows its owners.
class TAVRO_API CTavroPCoreObject : public std::enable_shared_from_this<CTavroPCoreObject> {
public:
    virtual ~CTavroPCoreObject();
    virtual void transform(double x, double y, double z, double& X, double& Y, double& Z) = 0;
};

// The seven models (parameters and formulas in TavroPCoreModels.h). The chain's forward
// projection puts zone number 0 in front of the easting.
class TAVRO_API CTavroPCorePM4 : public TavroCoordInternal::PlaneSimilarity<CTavroPCoreObject> {};
class TAVRO_API CTavroPCoreHF2 : public TavroCoordInternal::HeightSurface<CTavroPCoreObject> {};
class TAVRO_API CTavroPCorePMDD : public TavroCoordInternal::PlaneToGeodetic<CTavroPCoreObject> {};
class TAVRO_API CTavroPCoreDDKJ
    : public TavroCoordInternal::GeodeticToCartesian<CTavroPCoreObject> {};
class TAVRO_API CTavroPCoreKJ7 : public TavroCoordInternal::SevenParameter<CTavroPCoreObject> {};
// On the polar axis B = +-pi/2, h = |Z| - b; at the origin B and h are NaN.
class TAVRO_API CTavroPCoreKJDD
    : public TavroCoordInternal::CartesianToGeodetic<CTavroPCoreObject> {};
class TAVRO_API CTavroPCoreDDPM : public TavroCoordInternal::GeodeticToPlane<CTavroPCoreObject> {};

// An ordered chain of models. Copies share the models; a model lives while any chain (or any
// other shared owner) holds it, so copies neither double-delete nor leak.
class TAVRO_API CTavroPCoreTransform {
public:
    CTavroPCoreTransform();
    CTavroPCoreTransform(const CTavroPCoreTransform& other);
    CTavroPCoreTransform& operator=(const CTavroPCoreTransform& other);
    virtual ~CTavroPCoreTransform();

    // Lets go of every model, deleting those no other chain holds.
    void beginTransform();
    // Appends a heap model; the chain owns it from now on. Null is ignored; a model already held
    // by a chain is shared, not owned twice.
    void addPCCoreObject(CTavroPCoreObject* model);
    // Runs (x, y, z) through the models in order; an empty chain leaves X, Y, Z untouched.
    void transform(double x, double y, double z, double& X, double& Y, double& Z);
    // The same as beginTransform.
    void endTransform();
    // The number of models in the chain.
    int objectCount() const;

private:
    AcArray<std::shared_ptr<CTavroPCoreObject>> m_chain;
};

// An ellipsoid chosen by its coordinate system, kept for the projections.
class TAVRO_API CTavroProjectTrans {
public:
    explicit CTavroProjectTrans(Tavro::TavroCoorSystem system);
    virtual ~CTavroProjectTrans();

    CTavroEllipsoid m_ellipsoid;
};
