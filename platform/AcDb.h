#pragma once
// The host database's value types that the library uses without a database: extents, object
// identifiers and the status codes of entity calls.

#include "AcGe.h"

#include <cstdint>

namespace Acad {
enum ErrorStatus { eOk = 0, eInvalidInput = 3, eNotApplicable = 5, eDegenerateGeometry = 76 };
} // namespace Acad

class TAVRO_API AcDbExtents {
public:
    // Empty extents: minimum (1e20, 1e20, 1e20) above maximum (-1e20, -1e20, -1e20).
    AcDbExtents();
    AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max);

    const AcGePoint3d& minPoint() const { return m_min; }
    const AcGePoint3d& maxPoint() const { return m_max; }
    Acad::ErrorStatus set(const AcGePoint3d& min, const AcGePoint3d& max);
    // Grows the box to hold pt; the first point added to empty extents becomes both corners.
    void addPoint(const AcGePoint3d& pt);
    void addExt(const AcDbExtents& other);

private:
    AcGePoint3d m_min;
    AcGePoint3d m_max;
};

class TAVRO_API AcDbObjectId {
public:
    AcDbObjectId() = default;
    AcDbObjectId& setFromOldId(std::uint64_t id) {
        m_id = id;
        return *this;
    }
    std::uint64_t asOldId() const { return m_id; }
    bool isNull() const { return m_id == 0; }
    bool operator==(const AcDbObjectId& o) const { return m_id == o.m_id; }
    bool operator!=(const AcDbObjectId& o) const { return m_id != o.m_id; }
    bool operator<(const AcDbObjectId& o) const { return m_id < o.m_id; }

    static const AcDbObjectId kNull;

private:
    std::uint64_t m_id = 0;
};
