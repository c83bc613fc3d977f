#pragma once
// Plane and space value types of the CAD host's geometry kernel, in double precision and copied
// by value. Only what the library relies on is here.

#include "TavroExport.h"
#include "TavroTolerance.h"

class TAVRO_API AcGeTol {
public:
    double equalPoint() const { return m_equalPoint; }
    double equalVector() const { return m_equalVector; }
    void setEqualPoint(double tol) { m_equalPoint = tol; }
    void setEqualVector(double tol) { m_equalVector = tol; }

private:
    double m_equalPoint = Tavro::kEqualPointDefault;
    double m_equalVector = Tavro::kEqualVectorDefault;
};

struct TAVRO_API AcGeContext {
    // The process-wide tolerance that point equality uses.
    static AcGeTol gTol;
};

namespace AcGe {
enum ErrorCondition {
    kOk = 0,
    k0This,
    k0Arg1,
    k0Arg2,
    kPerpendicularArg1Arg2,
    kEqualArg1Arg2,
    kEqualArg1Arg3,
    kEqualArg2Arg3,
    kLinearlyDependentArg1Arg2Arg3,
    kArg1TooBig,
    kArg1OnThis,
    kArg1InsideThis
};
} // namespace AcGe

class TAVRO_API AcGeVector2d {
public:
    AcGeVector2d() = default;
    AcGeVector2d(double vx, double vy) : x(vx), y(vy) {}

    double length() const;
    double lengthSqrd() const { return x * x + y * y; }
    // Direction angle counterclockwise from +x, in [0, 2pi).
    double angle() const;
    double dotProduct(const AcGeVector2d& v) const { return x * v.x + y * v.y; }
    double crossProduct(const AcGeVector2d& v) const { return x * v.y - y * v.x; }
    // Unit vector in this direction; a vector shorter than tol.equalVector() comes back unchanged.
    AcGeVector2d normal(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeVector2d& normalize(const AcGeTol& tol = AcGeContext::gTol);
    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;
    // Same direction: both non-zero and the angle between them within tol.equalVector().
    bool isCodirectionalTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isParallelTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isEqualTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;

    AcGeVector2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    AcGeVector2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    AcGeVector2d operator-() const { return {-x, -y}; }
    AcGeVector2d operator*(double s) const { return {x * s, y * s}; }
    AcGeVector2d operator/(double s) const { return {x / s, y / s}; }
    bool operator==(const AcGeVector2d& v) const { return isEqualTo(v); }
    bool operator!=(const AcGeVector2d& v) const { return !isEqualTo(v); }

    static const AcGeVector2d kXAxis;
    static const AcGeVector2d kYAxis;

    double x = 0.0;
    double y = 0.0;
};

inline AcGeVector2d operator*(double s, const AcGeVector2d& v) {
    return v * s;
}

class TAVRO_API AcGePoint2d {
public:
    AcGePoint2d() = default;
    AcGePoint2d(double px, double py) : x(px), y(py) {}

    double distanceTo(const AcGePoint2d& p) const;
    // Equal when the distance is within tol.equalPoint().
    bool isEqualTo(const AcGePoint2d& p, const AcGeTol& tol = AcGeContext::gTol) const;
    AcGePoint2d& set(double px, double py);
    AcGeVector2d asVector() const { return {x, y}; }

    // Indexing outside 0 and 1 answers y, so no read leaves the point.
    double operator[](int i) const { return i == 0 ? x : y; }
    double& operator[](int i) { return i == 0 ? x : y; }

    AcGeVector2d operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
    AcGePoint2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    AcGePoint2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    AcGePoint2d& operator+=(const AcGeVector2d& v);
    AcGePoint2d& operator-=(const AcGeVector2d& v);
    bool operator==(const AcGePoint2d& p) const { return isEqualTo(p); }
    bool operator!=(const AcGePoint2d& p) const { return !isEqualTo(p); }

    static const AcGePoint2d kOrigin;

    double x = 0.0;
    double y = 0.0;
};

class TAVRO_API AcGeVector3d {
public:
    AcGeVector3d() = default;
    AcGeVector3d(double vx, double vy, double vz) : x(vx), y(vy), z(vz) {}

    double length() const;
    double lengthSqrd() const { return x * x + y * y + z * z; }
    double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    AcGeVector3d crossProduct(const AcGeVector3d& v) const;
    AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const;
    // A vector perpendicular to this one; for the z axis it is the x axis.
    AcGeVector3d perpVector() const;
    // Rotates counterclockwise by angle about axis (right-hand rule).
    AcGeVector3d& rotateBy(double angle, const AcGeVector3d& axis);
    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isParallelTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;

    AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    AcGeVector3d operator-() const { return {-x, -y, -z}; }
    AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }

    static const AcGeVector3d kXAxis;
    static const AcGeVector3d kYAxis;
    static const AcGeVector3d kZAxis;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

class TAVRO_API AcGePoint3d {
public:
    AcGePoint3d() = default;
    AcGePoint3d(double px, double py, double pz) : x(px), y(py), z(pz) {}

    double distanceTo(const AcGePoint3d& p) const;
    bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeContext::gTol) const;
    AcGePoint2d convert2d() const { return {x, y}; }

    double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }

    AcGeVector3d operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    AcGePoint3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    AcGePoint3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    bool operator==(const AcGePoint3d& p) const { return isEqualTo(p); }
    bool operator!=(const AcGePoint3d& p) const { return !isEqualTo(p); }

    static const AcGePoint3d kOrigin;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// The plane z = 0 with its normal; used to project space intersections onto the drawing plane.
class TAVRO_API AcGePlane {
public:
    AcGePlane() = default;
    AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& normal)
        : m_origin(origin), m_normal(normal) {}
    const AcGePoint3d& pointOnPlane() const { return m_origin; }
    const AcGeVector3d& normal() const { return m_normal; }

    static const AcGePlane kXYPlane;

private:
    AcGePoint3d m_origin;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
};
