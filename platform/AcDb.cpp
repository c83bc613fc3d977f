#include "AcDb.h"

#include <algorithm>

const AcDbObjectId AcDbObjectId::kNull;

namespace {
const double kEmpty = 1e20;
}

AcDbExtents::AcDbExtents() : m_min(kEmpty, kEmpty, kEmpty), m_max(-kEmpty, -kEmpty, -kEmpty) {}

AcDbExtents::AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max) : m_min(min), m_max(max) {}

Acad::ErrorStatus AcDbExtents::set(const AcGePoint3d& min, const AcGePoint3d& max) {
    if (min.x > max.x || min.y > max.y || min.z > max.z) return Acad::eInvalidInput;
    m_min = min;
    m_max = max;
    return Acad::eOk;
}

void AcDbExtents::addPoint(const AcGePoint3d& pt) {
    m_min.x = std::min(m_min.x, pt.x);
    m_min.y = std::min(m_min.y, pt.y);
    m_min.z = std::min(m_min.z, pt.z);
    m_max.x = std::max(m_max.x, pt.x);
    m_max.y = std::max(m_max.y, pt.y);
    m_max.z = std::max(m_max.z, pt.z);
}

void AcDbExtents::addExt(const AcDbExtents& other) {
    // Empty extents hold no point; adding them must not stretch this box to the sentinels.
    if (other.m_min.x > other.m_max.x) return;
    addPoint(other.m_min);
    addPoint(other.m_max);
}
