#pragma once
// The two plane curves of the host's geometry kernel that the library asks questions of: the
// circle through three points and the bounded straight segment.

#include "AcGe.h"

class TAVRO_API AcGeCircArc2d {
public:
    AcGeCircArc2d() = default;
    // The arc from p1 through p2 to p3. Coincident or collinear points (and non-finite input)
    // leave the arc unchanged and set err to the reason; otherwise err is kOk.
    AcGeCircArc2d& set(const AcGePoint2d& p1, const AcGePoint2d& p2, const AcGePoint2d& p3,
                       AcGe::ErrorCondition& err);
    const AcGePoint2d& center() const { return m_center; }
    double radius() const { return m_radius; }
    const AcGePoint2d& startPoint() const { return m_start; }
    const AcGePoint2d& endPoint() const { return m_end; }

private:
    AcGePoint2d m_center;
    double m_radius = 0.0;
    AcGePoint2d m_start;
    AcGePoint2d m_end;
};

class TAVRO_API AcGeLineSeg2d {
public:
    AcGeLineSeg2d() = default;
    AcGeLineSeg2d(const AcGePoint2d& start, const AcGePoint2d& end) : m_start(start), m_end(end) {}
    AcGeLineSeg2d& set(const AcGePoint2d& start, const AcGePoint2d& end);

    const AcGePoint2d& startPoint() const { return m_start; }
    const AcGePoint2d& endPoint() const { return m_end; }
    double length() const { return m_start.distanceTo(m_end); }

    // Nearest point of the bounded segment to pt.
    AcGePoint2d closestPointTo(const AcGePoint2d& pt, const AcGeTol& tol = AcGeContext::gTol) const;
    // Parameter of pt's projection on the segment's line: 0 at the start, 1 at the end.
    double paramOf(const AcGePoint2d& pt, const AcGeTol& tol = AcGeContext::gTol) const;
    // The one point where two non-parallel segments cross, both taken bounded (within
    // tol.equalPoint() of either segment's ends). False for parallel or disjoint segments.
    bool intersectWith(const AcGeLineSeg2d& other, AcGePoint2d& pt,
                       const AcGeTol& tol = AcGeContext::gTol) const;
    // The common part of two collinear segments that share more than a point.
    bool overlap(const AcGeLineSeg2d& other, AcGeLineSeg2d& common,
                 const AcGeTol& tol = AcGeContext::gTol) const;

private:
    AcGePoint2d m_start;
    AcGePoint2d m_end{1.0, 0.0};
};
