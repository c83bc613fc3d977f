#pragma once
// The host's temporary curve entities (never added to a database): the lightweight bulge
// polyline, the line and the ray. The library builds them to ask for curve parameters, closest
// points, derivatives and intersections.
//
// The polyline's curve parameter is the segment index plus the fraction along that segment (of
// the chord for a straight one, of the swept angle for an arc), so vertex i sits at parameter i.

#include "AcArray.h"
#include "AcDb.h"
#include "AcGe.h"

#include <vector>

namespace AcDb {
enum Intersect { kOnBothOperands = 0, kExtendThis = 1, kExtendArg = 2, kExtendBoth = 3 };
} // namespace AcDb

// One straight or circular piece of a curve, in the drawing plane, with its own parameter t
// running from 0 at its start to 1 at its end (a ray runs on without end).
struct TAVRO_API AcDbCurvePiece {
    AcGePoint2d start;
    AcGePoint2d end;
    bool isArc = false;
    bool unbounded = false; // a ray: t runs from 0 to infinity along end - start
    AcGePoint2d center;
    double radius = 0.0;
    double startAngle = 0.0;
    double sweep = 0.0; // signed: positive counterclockwise

    AcGePoint2d pointAt(double t) const;
    AcGeVector2d firstDeriv(double t) const;
    AcGeVector2d secondDeriv(double t) const;
    // Parameter of the piece's nearest point to pt, clamped to the piece.
    double closestParam(const AcGePoint2d& pt) const;
};

// A box that holds every point a question about a piece can report, rounding included.
struct AcDbPieceBounds {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
    bool bounded = false; // false when a non-finite number leaves the piece unbounded
};

class TAVRO_API AcDbEntity {
public:
    virtual ~AcDbEntity();
    // The entity as plane pieces; intersections are worked out piece by piece.
    virtual std::vector<AcDbCurvePiece> pieces() const = 0;
    // One piece at a time, with its box, so a question can pass over the pieces far from it
    // without building them; the defaults build them all.
    virtual int pieceCount() const;
    virtual AcDbCurvePiece piece(int index) const;
    virtual AcDbPieceBounds pieceBounds(int index) const;
    // Appends, ascending, the pieces whose boxes meet box (every piece when either is unbounded).
    virtual void piecesMeeting(const AcDbPieceBounds& box, std::vector<int>& out) const;
    virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
    // Points where this entity meets another, neither extended; other intersect kinds are
    // treated the same. Found points are appended.
    Acad::ErrorStatus intersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                    AcArray<AcGePoint3d>& points) const;
    // The same, the points projected on plane (the drawing plane, so nothing moves).
    Acad::ErrorStatus intersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                    const AcGePlane& plane, AcArray<AcGePoint3d>& points) const;
};

class TAVRO_API AcDbLine : public AcDbEntity {
public:
    AcDbLine() = default;
    AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : m_start(start), m_end(end) {}
    Acad::ErrorStatus setStartPoint(const AcGePoint3d& pt);
    Acad::ErrorStatus setEndPoint(const AcGePoint3d& pt);
    const AcGePoint3d& startPoint() const { return m_start; }
    const AcGePoint3d& endPoint() const { return m_end; }
    std::vector<AcDbCurvePiece> pieces() const override;

private:
    AcGePoint3d m_start;
    AcGePoint3d m_end;
};

class TAVRO_API AcDbRay : public AcDbEntity {
public:
    Acad::ErrorStatus setBasePoint(const AcGePoint3d& pt);
    // The direction is stored as a unit vector; a zero vector is refused.
    Acad::ErrorStatus setUnitDir(const AcGeVector3d& dir);
    const AcGePoint3d& basePoint() const { return m_base; }
    const AcGeVector3d& unitDir() const { return m_dir; }
    std::vector<AcDbCurvePiece> pieces() const override;

private:
    AcGePoint3d m_base;
    AcGeVector3d m_dir{1.0, 0.0, 0.0};
};

class TAVRO_API AcDbPolyline : public AcDbEntity {
public:
    AcDbPolyline() = default;
    explicit AcDbPolyline(unsigned int reserved) { m_vertices.reserve(reserved); }

    // Inserts a vertex before index (an index past the end appends). Widths are kept only so
    // the call has the host's shape; they do not change the curve.
    Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0.0,
                                  double startWidth = -1.0, double endWidth = -1.0);
    Acad::ErrorStatus removeVertexAt(unsigned int index);
    unsigned int numVerts() const { return static_cast<unsigned int>(m_vertices.size()); }
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;
    Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
    Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
    void setClosed(bool closed) {
        m_closed = closed;
        m_boundsReady = false;
    }
    bool isClosed() const { return m_closed; }
    void setPlinegen(bool on) { m_plinegen = on; }
    bool hasPlinegen() const { return m_plinegen; }

    // Start parameter 0; end parameter the segment count (vertex count when closed).
    Acad::ErrorStatus getStartParam(double& param) const;
    Acad::ErrorStatus getEndParam(double& param) const;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& pt) const;
    // Parameter of a point on the curve (within 1e-8 of it); eInvalidInput off the curve.
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& pt, double& param) const;
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& pt, AcGePoint3d& closest,
                                        bool extend = false) const;
    // Derivatives with respect to the curve parameter; at a vertex the segment leaving it
    // answers (the last segment at the end parameter).
    Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& deriv) const;
    Acad::ErrorStatus getSecondDeriv(double param, AcGeVector3d& deriv) const;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const;

    std::vector<AcDbCurvePiece> pieces() const override;
    int pieceCount() const override { return segmentCount(); }
    AcDbCurvePiece piece(int index) const override { return segment(index); }
    // From the vertices alone, without trigonometry.
    AcDbPieceBounds pieceBounds(int index) const override;
    void piecesMeeting(const AcDbPieceBounds& box, std::vector<int>& out) const override;

private:
    struct Vertex {
        AcGePoint2d point;
        double bulge = 0.0;
        mutable AcDbPieceBounds box; // of the piece leaving this vertex, once worked out
    };
    int segmentCount() const;
    AcDbCurvePiece segment(int index) const;
    const AcDbPieceBounds& boundsAt(int index) const;
    // The segment holding param and the fraction along it; false outside the curve.
    bool locate(double param, int& index, double& fraction) const;
    Acad::ErrorStatus derivative(double param, int order, AcGeVector3d& deriv) const;

    std::vector<Vertex> m_vertices;
    bool m_closed = false;
    bool m_plinegen = false;
    mutable bool m_boundsReady = false;
};

// The pieces of a bulge polyline, read from the caller's arrays without copying them, whose
// boxes come within reach of a ray's own box: all that a cast along that ray and the nearness of
// its base to the curve need. A long ring is thus asked about one point with one light pass
// over its vertices instead of a built polyline. Vertex and bulge arrays are read as the
// polyline would hold them (a missing bulge is 0; closed joins the last vertex to the first);
// the arrays must outlive the band.
class TAVRO_API AcDbPolylineBand : public AcDbEntity {
public:
    AcDbPolylineBand(const AcGePoint2d* points, int count, const double* bulges, int bulgeCount,
                     bool closed, const AcDbRay& ray, double reach);

    // False when a piece's box is unbounded (non-finite input): the band cannot vouch for its
    // answers then.
    bool isBounded() const { return m_bounded; }
    // Whether getParamAtPoint at pt answers as the whole polyline would: every piece that can
    // lie within the on-curve tolerance of pt is in the band.
    bool answersAt(const AcGePoint2d& pt) const;

    Acad::ErrorStatus getStartParam(double& param) const;
    Acad::ErrorStatus getEndParam(double& param) const;
    // As the polyline's, or eNotApplicable where the band cannot answer (answersAt).
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& pt, double& param) const;
    // The nearest point among the first vertex and the band's pieces: the whole curve's nearest
    // distance whenever that distance is below reach and pt is the ray's base.
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& pt, AcGePoint3d& closest,
                                        bool extend = false) const;
    Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& deriv) const;
    Acad::ErrorStatus getSecondDeriv(double param, AcGeVector3d& deriv) const;

    // The band's pieces; pieceCount and piece speak of the whole polyline.
    std::vector<AcDbCurvePiece> pieces() const override;
    int pieceCount() const override { return m_segments; }
    AcDbCurvePiece piece(int index) const override;
    AcDbPieceBounds pieceBounds(int index) const override;
    void piecesMeeting(const AcDbPieceBounds& box, std::vector<int>& out) const override;

private:
    const AcGePoint2d& point(int index) const { return m_points[index == m_count ? 0 : index]; }
    double bulge(int index) const { return index < m_bulgeCount ? m_bulges[index] : 0.0; }

    const AcGePoint2d* m_points;
    int m_count;
    const double* m_bulges;
    int m_bulgeCount;
    int m_segments;
    AcDbPieceBounds m_band;
    bool m_bounded = true;
    std::vector<int> m_near;              // ascending
    std::vector<AcDbPieceBounds> m_boxes; // of the pieces in m_near
};
