#pragma once
// Vector products of plane points and vectors. The three-point forms put the vertex in the
// middle: crossMultiply(A, B, C) = (B - A) x (B - C).

#include "AcGe.h"
#include "TavroExport.h"

class TAVRO_API CTavroGeoVector {
public:
    // a.x * b.y - a.y * b.x of two points taken as vectors; positive when b lies counterclockwise.
    static double crossMultiply(const AcGePoint2d& a, const AcGePoint2d& b);
    // a.x * b.y - a.y * b.x; positive when b lies counterclockwise of a.
    static double crossMultiply(const AcGeVector2d& a, const AcGeVector2d& b);
    // (B - A) x (B - C); positive when A -> B -> C turns clockwise.
    static double crossMultiply(const AcGePoint2d& A, const AcGePoint2d& B, const AcGePoint2d& C);
    // a.x * b.x + a.y * b.y of two points taken as vectors.
    static double dotMultiply(const AcGePoint2d& a, const AcGePoint2d& b);
    // a.x * b.x + a.y * b.y, the first operand a point taken as a vector.
    static double dotMultiply(const AcGePoint2d& a, const AcGeVector2d& b);
    // (B - A) . (B - C), the vertex B in the middle.
    static double dotMultiply(const AcGePoint2d& A, const AcGePoint2d& B, const AcGePoint2d& C);
    // +1 when v lies counterclockwise of u, -1 clockwise, 0 when |u x v| < 1e-6 (parallel or zero).
    static int directionVector(const AcGeVector2d& u, const AcGeVector2d& v);
    // directionVector(p2 - p1, p4 - p3).
    static int directionVector(const AcGePoint2d& p1, const AcGePoint2d& p2, const AcGePoint2d& p3,
                               const AcGePoint2d& p4);
};
