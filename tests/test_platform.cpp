// The host layer: value types, arrays, curves, extents and the observable host calls.

#include "TavroGeometric142.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>
#include <limits>

namespace {
const double kPi = 3.14159265358979323846;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(PlatformPoint, EqualityFollowsTheGlobalTolerance) {
    const AcGePoint2d p(10, 20);
    EXPECT_TRUE(p == AcGePoint2d(10 + 0.9e-10, 20));
    EXPECT_FALSE(p == AcGePoint2d(10 + 1.1e-10, 20));
    AcGeTol loose;
    loose.setEqualPoint(1e-3);
    EXPECT_TRUE(p.isEqualTo(AcGePoint2d(10.0009, 20), loose));

    const AcGeTol saved = AcGeContext::gTol;
    AcGeContext::gTol.setEqualPoint(0.5);
    EXPECT_TRUE(p == AcGePoint2d(10.4, 20));
    AcGeContext::gTol = saved;
    EXPECT_EQ(AcGeContext::gTol.equalPoint(), 1e-10);
    EXPECT_EQ(AcGeContext::gTol.equalVector(), 1e-12);
}

TEST(PlatformPoint, ArithmeticAndIndexing) {
    const AcGePoint2d p(3, 4);
    const AcGeVector2d v = p - AcGePoint2d::kOrigin;
    EXPECT_DOUBLE_EQ(v.length(), 5.0);
    EXPECT_DOUBLE_EQ(v.lengthSqrd(), 25.0);
    EXPECT_DOUBLE_EQ(p.distanceTo(AcGePoint2d(0, 0)), 5.0);
    EXPECT_EQ(p + AcGeVector2d(1, 1), AcGePoint2d(4, 5));
    EXPECT_EQ(p - AcGeVector2d(1, 1), AcGePoint2d(2, 3));
    EXPECT_EQ(p[0], 3.0);
    EXPECT_EQ(p[1], 4.0);
    EXPECT_EQ((-v).x, -3.0);
    EXPECT_EQ((v * 2.0).y, 8.0);
    EXPECT_DOUBLE_EQ(v.dotProduct(AcGeVector2d(1, 0)), 3.0);
}

TEST(PlatformVector, AngleLiesInTheHalfOpenCircle) {
    EXPECT_DOUBLE_EQ(AcGeVector2d(1, 0).angle(), 0.0);
    EXPECT_DOUBLE_EQ(AcGeVector2d(0, 1).angle(), kPi / 2);
    EXPECT_DOUBLE_EQ(AcGeVector2d(-1, 0).angle(), kPi);
    EXPECT_DOUBLE_EQ(AcGeVector2d(0, -1).angle(), 3 * kPi / 2);
    EXPECT_DOUBLE_EQ(AcGeVector2d(1, -1).angle(), 7 * kPi / 4);
    const double tiny = AcGeVector2d(1, -1e-300).angle();
    EXPECT_GE(tiny, 0.0);
    EXPECT_LT(tiny, 2 * kPi);
}

TEST(PlatformVector, NormalAndDirectionTests) {
    const AcGeVector2d n = AcGeVector2d(3, 4).normal();
    EXPECT_DOUBLE_EQ(n.x, 0.6);
    EXPECT_DOUBLE_EQ(n.y, 0.8);
    EXPECT_TRUE(AcGeVector2d(1, 1).isCodirectionalTo(AcGeVector2d(5, 5)));
    EXPECT_FALSE(AcGeVector2d(1, 1).isCodirectionalTo(AcGeVector2d(-5, -5)));
    EXPECT_FALSE(AcGeVector2d(1, 1).isCodirectionalTo(AcGeVector2d(0, 0)));
    EXPECT_TRUE(AcGeVector2d(1, 1).isParallelTo(AcGeVector2d(-5, -5)));
    const AcGeVector2d zero = AcGeVector2d(0, 0).normal();
    EXPECT_EQ(zero.x, 0.0);
    EXPECT_EQ(zero.y, 0.0);
}

TEST(PlatformVector3d, CrossPerpAndRotation) {
    const AcGeVector3d z = AcGeVector3d::kXAxis.crossProduct(AcGeVector3d::kYAxis);
    EXPECT_TRUE(z.isEqualTo(AcGeVector3d::kZAxis));
    const AcGeVector3d perp = AcGeVector3d::kZAxis.perpVector();
    EXPECT_NEAR(perp.dotProduct(AcGeVector3d::kZAxis), 0.0, 1e-15);
    EXPECT_NEAR(perp.length(), 1.0, 1e-15);
    AcGeVector3d v = AcGeVector3d::kXAxis;
    v.rotateBy(kPi / 2, AcGeVector3d::kZAxis);
    EXPECT_NEAR(v.x, 0.0, 1e-15);
    EXPECT_NEAR(v.y, 1.0, 1e-15);
    EXPECT_TRUE(AcGeVector3d(2, 0, 0).isParallelTo(AcGeVector3d(-1, 0, 0)));
    EXPECT_TRUE(AcGeVector3d(0, 0, 0).isZeroLength());
}

TEST(PlatformArray, AppendInsertRemoveAndSearch) {
    AcArray<int> a;
    EXPECT_TRUE(a.isEmpty());
    EXPECT_EQ(a.append(7), 0);
    EXPECT_EQ(a.append(9), 1);
    a.insertAt(1, 8);
    a.insertAt(99, 10);
    EXPECT_EQ(a, (AcArray<int>{7, 8, 9, 10}));
    a.removeFirst();
    a.removeLast();
    a.removeAt(5);
    a.removeAt(-1);
    EXPECT_EQ(a, (AcArray<int>{8, 9}));
    int at = -1;
    EXPECT_TRUE(a.find(9, at));
    EXPECT_EQ(at, 1);
    EXPECT_FALSE(a.contains(7));
    a.reverse();
    EXPECT_EQ(a.first(), 9);
    EXPECT_EQ(a.last(), 8);
    a.append(AcArray<int>{1, 2});
    EXPECT_EQ(a.length(), 4);
    int sum = 0;
    for (int v : a)
        sum += v;
    EXPECT_EQ(sum, 20);
    a.setLogicalLength(1);
    EXPECT_EQ(a.logicalLength(), 1);
    a.removeAll();
    a.removeLast();
    EXPECT_TRUE(a.isEmpty());
}

TEST(PlatformArray, PointSearchUsesToleranceAndCArrayKeepsOrder) {
    AcArray<AcGePoint2d> pts{AcGePoint2d(0, 0), AcGePoint2d(1, 1)};
    int at = -1;
    EXPECT_TRUE(pts.find(AcGePoint2d(1, 1 + 1e-11), at));
    EXPECT_EQ(at, 1);

    CArray<int, int> c;
    c.Add(1);
    c.Add(3);
    c.InsertAt(1, 2);
    c.InsertAt(-4, 0);
    EXPECT_EQ(c.GetSize(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(c[i], i);
    c.RemoveAt(1, 10);
    EXPECT_EQ(c.GetSize(), 1);
    c.RemoveAt(3);
    c.ElementAt(0) = 5;
    EXPECT_EQ(c.GetAt(0), 5);
    c.RemoveAll();
    EXPECT_EQ(c.GetSize(), 0);
}

TEST(PlatformExtents, EmptyExtentsTakeTheFirstPointAsBothCorners) {
    AcDbExtents e;
    EXPECT_EQ(e.minPoint().x, 1e20);
    EXPECT_EQ(e.maxPoint().y, -1e20);
    e.addExt(AcDbExtents());
    EXPECT_EQ(e.minPoint().x, 1e20);
    e.addPoint(AcGePoint3d(2, 3, 0));
    EXPECT_EQ(e.minPoint(), AcGePoint3d(2, 3, 0));
    EXPECT_EQ(e.maxPoint(), AcGePoint3d(2, 3, 0));
    e.addExt(AcDbExtents(AcGePoint3d(-1, 5, 0), AcGePoint3d(0, 6, 1)));
    EXPECT_EQ(e.minPoint(), AcGePoint3d(-1, 3, 0));
    EXPECT_EQ(e.maxPoint(), AcGePoint3d(2, 6, 1));
    EXPECT_EQ(e.set(AcGePoint3d(1, 1, 1), AcGePoint3d(0, 0, 0)), Acad::eInvalidInput);
    EXPECT_EQ(e.set(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 1)), Acad::eOk);
}

TEST(PlatformObjectId, HoldsItsValue) {
    AcDbObjectId id;
    EXPECT_TRUE(id.isNull());
    id.setFromOldId(0xFFFFFFFFFFFFFFFFull);
    EXPECT_EQ(id.asOldId(), 0xFFFFFFFFFFFFFFFFull);
    AcDbObjectId other;
    other.setFromOldId(3);
    EXPECT_TRUE(other < id);
    EXPECT_NE(other, id);
}

TEST(PlatformCircArc, CircleThroughThreePoints) {
    AcGeCircArc2d arc;
    AcGe::ErrorCondition err = AcGe::kOk;
    arc.set(AcGePoint2d(0, 0), AcGePoint2d(1, 1), AcGePoint2d(2, 0), err);
    EXPECT_EQ(err, AcGe::kOk);
    EXPECT_NEAR(arc.center().x, 1.0, 1e-15);
    EXPECT_NEAR(arc.center().y, 0.0, 1e-15);
    EXPECT_NEAR(arc.radius(), 1.0, 1e-15);

    // Far from the origin the centre keeps sub-millimetre precision.
    const double e0 = 500000.0, n0 = 3500000.0;
    arc.set(AcGePoint2d(e0 + 3, n0), AcGePoint2d(e0, n0 + 3), AcGePoint2d(e0 - 3, n0), err);
    EXPECT_EQ(err, AcGe::kOk);
    EXPECT_NEAR(arc.center().x, e0, 1e-9);
    EXPECT_NEAR(arc.center().y, n0, 1e-9);
    EXPECT_NEAR(arc.radius(), 3.0, 1e-9);
}

TEST(PlatformCircArc, DegenerateInputIsAnErrorAndLeavesTheArc) {
    AcGeCircArc2d arc;
    AcGe::ErrorCondition err = AcGe::kOk;
    arc.set(AcGePoint2d(0, 0), AcGePoint2d(1, 1), AcGePoint2d(2, 0), err);
    arc.set(AcGePoint2d(0, 0), AcGePoint2d(1, 1), AcGePoint2d(2, 2), err);
    EXPECT_EQ(err, AcGe::kLinearlyDependentArg1Arg2Arg3);
    EXPECT_NEAR(arc.radius(), 1.0, 1e-15);
    arc.set(AcGePoint2d(0, 0), AcGePoint2d(0, 0), AcGePoint2d(2, 2), err);
    EXPECT_EQ(err, AcGe::kEqualArg1Arg2);
    arc.set(AcGePoint2d(0, 0), AcGePoint2d(1, 1), AcGePoint2d(0, 0), err);
    EXPECT_EQ(err, AcGe::kEqualArg1Arg3);
    arc.set(AcGePoint2d(kNaN, 0), AcGePoint2d(1, 1), AcGePoint2d(2, 0), err);
    EXPECT_NE(err, AcGe::kOk);
}

TEST(PlatformLineSeg, ClosestPointAndParameter) {
    const AcGeLineSeg2d seg(AcGePoint2d(0, 0), AcGePoint2d(4, 0));
    EXPECT_EQ(seg.closestPointTo(AcGePoint2d(1, 3)), AcGePoint2d(1, 0));
    EXPECT_EQ(seg.closestPointTo(AcGePoint2d(-2, 3)), AcGePoint2d(0, 0));
    EXPECT_EQ(seg.closestPointTo(AcGePoint2d(9, -1)), AcGePoint2d(4, 0));
    EXPECT_DOUBLE_EQ(seg.paramOf(AcGePoint2d(1, 3)), 0.25);
    EXPECT_DOUBLE_EQ(seg.paramOf(AcGePoint2d(8, 0)), 2.0);
    const AcGeLineSeg2d point(AcGePoint2d(1, 1), AcGePoint2d(1, 1));
    EXPECT_EQ(point.closestPointTo(AcGePoint2d(5, 5)), AcGePoint2d(1, 1));
}

TEST(PlatformLineSeg, IntersectionIsBoundedAndOverlapIsTheCommonPart) {
    const AcGeLineSeg2d a(AcGePoint2d(0, 0), AcGePoint2d(2, 2));
    AcGePoint2d hit;
    EXPECT_TRUE(a.intersectWith(AcGeLineSeg2d(AcGePoint2d(0, 2), AcGePoint2d(2, 0)), hit));
    EXPECT_EQ(hit, AcGePoint2d(1, 1));
    EXPECT_TRUE(a.intersectWith(AcGeLineSeg2d(AcGePoint2d(2, 2), AcGePoint2d(3, 0)), hit));
    EXPECT_EQ(hit, AcGePoint2d(2, 2));
    EXPECT_FALSE(a.intersectWith(AcGeLineSeg2d(AcGePoint2d(3, 0), AcGePoint2d(3, 5)), hit));
    EXPECT_FALSE(a.intersectWith(AcGeLineSeg2d(AcGePoint2d(1, 0), AcGePoint2d(3, 2)), hit));

    AcGeLineSeg2d common;
    EXPECT_TRUE(a.overlap(AcGeLineSeg2d(AcGePoint2d(3, 3), AcGePoint2d(1, 1)), common));
    EXPECT_EQ(common.startPoint(), AcGePoint2d(1, 1));
    EXPECT_EQ(common.endPoint(), AcGePoint2d(2, 2));
    EXPECT_FALSE(a.overlap(AcGeLineSeg2d(AcGePoint2d(2, 2), AcGePoint2d(3, 3)), common));
    EXPECT_FALSE(a.overlap(AcGeLineSeg2d(AcGePoint2d(0, 1), AcGePoint2d(1, 2)), common));
}

TEST(PlatformUtil, AngleAndPolar) {
    EXPECT_DOUBLE_EQ(acutAngle(AcGePoint3d(1, 1, 0), AcGePoint3d(0, 0, 5)), 5 * kPi / 4);
    AcGePoint3d out;
    acutPolar(AcGePoint3d(1, 2, 3), kPi / 2, 2.0, out);
    EXPECT_NEAR(out.x, 1.0, 1e-15);
    EXPECT_NEAR(out.y, 4.0, 1e-15);
    EXPECT_EQ(out.z, 3.0);
}

TEST(PlatformHost, HandlersSeeEveryUserFacingCall) {
    QStringList seen;
    TavroHost::Handlers h;
    h.commandLine = [&](const QString& t) { seen << "cmd:" + t; };
    h.message = [&](const QString& c, const QString& t) { seen << c + ":" + t; };
    h.progressStart = [&](const QString& l, int a, int b) {
        seen << QString("start:%1:%2:%3").arg(l).arg(a).arg(b);
    };
    h.progressPos = [&](int p) {
        seen << QString("pos:%1").arg(p);
        return p > 5 ? -1 : 0;
    };
    h.progressEnd = [&] { seen << "end"; };
    h.pumpMessages = [&] { seen << "pump"; };
    TavroHost::setHandlers(h);

    EXPECT_EQ(acutPrintf("%d 个点", 3), 8); // bytes of UTF-8
    CTavroMessage::errorMsg(QString::fromUtf8("坐标系错误"));
    CTavroMessage::warnMsg("w");
    acedSetStatusBarProgressMeter(QString::fromUtf8("构建拓扑关系"), 0, 10);
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(3), 0);
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(6), -1);
    acedPumpMessages();
    acedRestoreStatusBar();
    TavroHost::setHandlers({});

    const QStringList expected{QString::fromUtf8("cmd:3 个点"),
                               QString::fromUtf8("错误:坐标系错误"),
                               QString::fromUtf8("警告:w"),
                               QString::fromUtf8("start:构建拓扑关系:0:10"),
                               "pos:3",
                               "pos:6",
                               "pump",
                               "end"};
    EXPECT_EQ(seen, expected);
    // With the defaults restored the meter is silent and reports itself present.
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(1), 0);
}

TEST(PlatformModule, LoadRegistersOnceAndAnswersTheApiVersion) {
    EXPECT_EQ(acrxGetApiVersion(), 0x180000);
    EXPECT_EQ(CTavroVersionManager::registrationCount(), 1);
    QString first("x"), second("y");
    long third = 7;
    ASSERT_TRUE(CTavroVersionManager::lastRegistration(first, second, third));
    EXPECT_TRUE(first.isEmpty());
    EXPECT_TRUE(second.isEmpty());
    EXPECT_EQ(third, 0);
}

TEST(SharedTypes, PointOrderingIsADominanceTest) {
    const AcGePoint2d a(0, 5), b(1, 0);
    EXPECT_TRUE(a < a);
    EXPECT_TRUE(a > a);
    EXPECT_FALSE(a < b);
    EXPECT_FALSE(a > b);
    EXPECT_FALSE(b < a);
    EXPECT_TRUE(AcGePoint2d(0, 0) < AcGePoint2d(1, 1));
    EXPECT_TRUE(AcGePoint2d(0, 0) <= AcGePoint2d(0, 1));
    EXPECT_TRUE(AcGePoint2d(1, 1) >= AcGePoint2d(1, 0));
    EXPECT_FALSE(AcGePoint2d(1, 1) > AcGePoint2d(2, 0));
    EXPECT_TRUE(AcGePoint2d(kNaN, 0) < AcGePoint2d(0, 0));
    EXPECT_FALSE(AcGePoint2d(0, kNaN) > AcGePoint2d(1, 0));
    const TavroLine line;
    EXPECT_EQ(line.a, 1.0);
    EXPECT_EQ(line.b, -1.0);
    EXPECT_EQ(line.c, 0.0);
}
