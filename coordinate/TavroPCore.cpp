#include "TavroPCore.h"

CTavroPCoreObject::~CTavroPCoreObject() = default;

CTavroPCoreTransform::CTavroPCoreTransform() = default;
CTavroPCoreTransform::CTavroPCoreTransform(const CTavroPCoreTransform& other) = default;
CTavroPCoreTransform& CTavroPCoreTransform::operator=(const CTavroPCoreTransform& other) = default;
CTavroPCoreTransform::~CTavroPCoreTransform() = default;

void CTavroPCoreTransform::beginTransform() {
    m_chain.removeAll();
}

void CTavroPCoreTransform::addPCCoreObject(CTavroPCoreObject* model) {
    if (!model) return;
    // A model some chain already holds keeps its one owner group; a fresh one gets its own.
    std::shared_ptr<CTavroPCoreObject> held = model->weak_from_this().lock();
    if (!held) held.reset(model);
    m_chain.append(held);
}

void CTavroPCoreTransform::transform(double x, double y, double z, double& X, double& Y,
                                     double& Z) {
    bool first = true;
    for (const std::shared_ptr<CTavroPCoreObject>& model : m_chain) {
        if (first)
            model->transform(x, y, z, X, Y, Z);
        else
            model->transform(X, Y, Z, X, Y, Z);
        first = false;
    }
}

void CTavroPCoreTransform::endTransform() {
    beginTransform();
}

int CTavroPCoreTransform::objectCount() const {
    return m_chain.length();
}

CTavroProjectTrans::CTavroProjectTrans(Tavro::TavroCoorSystem system) : m_ellipsoid(system) {}

CTavroProjectTrans::~CTavroProjectTrans() = default;
