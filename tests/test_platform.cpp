// The host layer: value types, arrays, curves, extents and the observable host calls.

#include "TestSupport.h"

TEST(PlatformPoint, EqualityFollowsTheGlobalToleranceAndArithmetic) {
    const AcGePoint2d p(10, 20);
    EXPECT_TRUE(p == P(10 + 0.9e-10, 20));
    EXPECT_FALSE(p == P(10 + 1.1e-10, 20));
    AcGeTol loose;
    loose.setEqualPoint(1e-3);
    EXPECT_TRUE(p.isEqualTo(P(10.0009, 20), loose));
    const AcGeTol saved = AcGeContext::gTol;
    AcGeContext::gTol.setEqualPoint(0.5);
    EXPECT_TRUE(p == P(10.4, 20));
    AcGeContext::gTol = saved;
    EXPECT_EQ(AcGeContext::gTol.equalPoint(), 1e-10);
    EXPECT_EQ(AcGeContext::gTol.equalVector(), 1e-12);

    // The 3-4-5 triangle; the one-line operators of the value types are left to their users.
    const AcGePoint2d q(3, 4);
    EXPECT_DOUBLE_EQ((q - AcGePoint2d::kOrigin).length(), 5.0);
    EXPECT_DOUBLE_EQ(q.distanceTo(P(0, 0)), 5.0);
    EXPECT_EQ(q + AcGeVector2d(1, 1), P(4, 5));
}

TEST(PlatformVector, AngleNormalDirectionAndSpace) {
    // The angle lies in the half-open circle [0, 2 pi).
    EXPECT_DOUBLE_EQ(AcGeVector2d(1, 0).angle(), 0.0);
    EXPECT_DOUBLE_EQ(AcGeVector2d(0, 1).angle(), kPi / 2);
    EXPECT_DOUBLE_EQ(AcGeVector2d(-1, 0).angle(), kPi);
    EXPECT_DOUBLE_EQ(AcGeVector2d(0, -1).angle(), 3 * kPi / 2);
    EXPECT_DOUBLE_EQ(AcGeVector2d(1, -1).angle(), 7 * kPi / 4);
    const double tiny = AcGeVector2d(1, -1e-300).angle();
    EXPECT_TRUE(tiny >= 0.0 && tiny < 2 * kPi) << tiny;

    const AcGeVector2d n = AcGeVector2d(3, 4).normal();
    EXPECT_DOUBLE_EQ(n.x, 0.6);
    EXPECT_DOUBLE_EQ(n.y, 0.8);
    const AcGeVector2d zero = AcGeVector2d(0, 0).normal();
    EXPECT_TRUE(zero.x == 0.0 && zero.y == 0.0);
    EXPECT_TRUE(AcGeVector2d(1, 1).isCodirectionalTo(AcGeVector2d(5, 5)));
    EXPECT_FALSE(AcGeVector2d(1, 1).isCodirectionalTo(AcGeVector2d(-5, -5)));
    EXPECT_FALSE(AcGeVector2d(1, 1).isCodirectionalTo(AcGeVector2d(0, 0)));
    EXPECT_TRUE(AcGeVector2d(1, 1).isParallelTo(AcGeVector2d(-5, -5)));

    EXPECT_TRUE(
        AcGeVector3d::kXAxis.crossProduct(AcGeVector3d::kYAxis).isEqualTo(AcGeVector3d::kZAxis));
    const AcGeVector3d perp = AcGeVector3d::kZAxis.perpVector();
    EXPECT_NEAR(perp.dotProduct(AcGeVector3d::kZAxis), 0.0, 1e-15);
    EXPECT_NEAR(perp.length(), 1.0, 1e-15);
    AcGeVector3d v = AcGeVector3d::kXAxis;
    v.rotateBy(kPi / 2, AcGeVector3d::kZAxis);
    expectNear(P3(v.x, v.y), 0.0, 1.0, 1e-15);
    EXPECT_TRUE(AcGeVector3d(2, 0, 0).isParallelTo(AcGeVector3d(-1, 0, 0)));
    EXPECT_TRUE(AcGeVector3d(0, 0, 0).isZeroLength());
}

TEST(PlatformArray, AppendInsertRemoveSearchAndCArray) {
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
    EXPECT_TRUE(a.first() == 9 && a.last() == 8);
    a.append(AcArray<int>{1, 2});
    EXPECT_EQ(a, (AcArray<int>{9, 8, 1, 2}));
    a.setLogicalLength(1);
    EXPECT_EQ(a.logicalLength(), 1);
    a.removeAll();
    a.removeLast();
    EXPECT_TRUE(a.isEmpty());

    // Points are found within the global tolerance.
    EXPECT_TRUE(Pts({P(0, 0), P(1, 1)}).find(P(1, 1 + 1e-11), at));
    EXPECT_EQ(at, 1);

    CArray<int, int> c;
    c.Add(1);
    c.Add(3);
    c.InsertAt(1, 2);
    c.InsertAt(-4, 0);
    ASSERT_EQ(c.GetSize(), 4);
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

TEST(PlatformExtents, EmptyExtentsTakeTheFirstPointAsBothCornersAndIdsHoldTheirValue) {
    AcDbExtents e;
    EXPECT_TRUE(e.minPoint().x == 1e20 && e.maxPoint().y == -1e20);
    e.addExt(AcDbExtents());
    EXPECT_EQ(e.minPoint().x, 1e20);
    e.addPoint(P3(2, 3));
    EXPECT_TRUE(e.minPoint() == P3(2, 3) && e.maxPoint() == P3(2, 3));
    e.addExt(AcDbExtents(P3(-1, 5), P3(0, 6, 1)));
    EXPECT_EQ(e.minPoint(), P3(-1, 3));
    EXPECT_EQ(e.maxPoint(), P3(2, 6, 1));
    EXPECT_EQ(e.set(P3(1, 1, 1), P3(0, 0, 0)), Acad::eInvalidInput);
    EXPECT_EQ(e.set(P3(0, 0, 0), P3(1, 1, 1)), Acad::eOk);

    AcDbObjectId id, other;
    EXPECT_TRUE(id.isNull());
    id.setFromOldId(0xFFFFFFFFFFFFFFFFull);
    EXPECT_EQ(id.asOldId(), 0xFFFFFFFFFFFFFFFFull);
    other.setFromOldId(3);
    EXPECT_TRUE(other < id);
    EXPECT_NE(other, id);
}

TEST(PlatformCircArc, CircleThroughThreePointsAndDegenerateInput) {
    AcGeCircArc2d arc;
    AcGe::ErrorCondition err = AcGe::kOk;
    arc.set(P(0, 0), P(1, 1), P(2, 0), err);
    EXPECT_EQ(err, AcGe::kOk);
    expectNear(arc.center(), 1.0, 0.0, 1e-15);
    EXPECT_NEAR(arc.radius(), 1.0, 1e-15);
    // Degenerate input is an error and leaves the arc as it was.
    arc.set(P(0, 0), P(1, 1), P(2, 2), err);
    EXPECT_EQ(err, AcGe::kLinearlyDependentArg1Arg2Arg3);
    EXPECT_NEAR(arc.radius(), 1.0, 1e-15);
    arc.set(P(0, 0), P(0, 0), P(2, 2), err);
    EXPECT_EQ(err, AcGe::kEqualArg1Arg2);
    arc.set(P(0, 0), P(1, 1), P(0, 0), err);
    EXPECT_EQ(err, AcGe::kEqualArg1Arg3);
    arc.set(P(kNaN, 0), P(1, 1), P(2, 0), err);
    EXPECT_NE(err, AcGe::kOk);

    // Far from the origin the centre keeps sub-millimetre precision.
    const double e0 = 500000.0, n0 = 3500000.0;
    arc.set(P(e0 + 3, n0), P(e0, n0 + 3), P(e0 - 3, n0), err);
    EXPECT_EQ(err, AcGe::kOk);
    expectNear(arc.center(), e0, n0, 1e-9);
    EXPECT_NEAR(arc.radius(), 3.0, 1e-9);
}

TEST(PlatformLineSeg, ClosestPointParameterIntersectionAndOverlap) {
    const AcGeLineSeg2d seg(P(0, 0), P(4, 0));
    EXPECT_EQ(seg.closestPointTo(P(1, 3)), P(1, 0));
    EXPECT_EQ(seg.closestPointTo(P(-2, 3)), P(0, 0));
    EXPECT_EQ(seg.closestPointTo(P(9, -1)), P(4, 0));
    EXPECT_DOUBLE_EQ(seg.paramOf(P(1, 3)), 0.25);
    EXPECT_DOUBLE_EQ(seg.paramOf(P(8, 0)), 2.0);
    EXPECT_EQ(AcGeLineSeg2d(P(1, 1), P(1, 1)).closestPointTo(P(5, 5)), P(1, 1));

    // Intersection is bounded; the overlap is the common part.
    const AcGeLineSeg2d a(P(0, 0), P(2, 2));
    AcGePoint2d hit;
    EXPECT_TRUE(a.intersectWith(AcGeLineSeg2d(P(0, 2), P(2, 0)), hit));
    EXPECT_EQ(hit, P(1, 1));
    EXPECT_TRUE(a.intersectWith(AcGeLineSeg2d(P(2, 2), P(3, 0)), hit));
    EXPECT_EQ(hit, P(2, 2));
    EXPECT_FALSE(a.intersectWith(AcGeLineSeg2d(P(3, 0), P(3, 5)), hit));
    EXPECT_FALSE(a.intersectWith(AcGeLineSeg2d(P(1, 0), P(3, 2)), hit));
    AcGeLineSeg2d common;
    EXPECT_TRUE(a.overlap(AcGeLineSeg2d(P(3, 3), P(1, 1)), common));
    EXPECT_TRUE(common.startPoint() == P(1, 1) && common.endPoint() == P(2, 2));
    EXPECT_FALSE(a.overlap(AcGeLineSeg2d(P(2, 2), P(3, 3)), common));
    EXPECT_FALSE(a.overlap(AcGeLineSeg2d(P(0, 1), P(1, 2)), common));
}

TEST(PlatformUtil, AngleAndPolar) {
    EXPECT_DOUBLE_EQ(acutAngle(P3(1, 1), P3(0, 0, 5)), 5 * kPi / 4);
    AcGePoint3d out;
    acutPolar(P3(1, 2, 3), kPi / 2, 2.0, out);
    expectNear(out, 1.0, 4.0, 1e-15);
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
    CTavroMessage::errorMsg(u8("坐标系错误"));
    CTavroMessage::warnMsg("w");
    acedSetStatusBarProgressMeter(u8("构建拓扑关系"), 0, 10);
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(3), 0);
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(6), -1);
    acedPumpMessages();
    acedRestoreStatusBar();
    TavroHost::setHandlers({});

    const QStringList expected{u8("cmd:3 个点"), u8("错误:坐标系错误"),
                               u8("警告:w"),     u8("start:构建拓扑关系:0:10"),
                               "pos:3",          "pos:6",
                               "pump",           "end"};
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
    EXPECT_TRUE(first.isEmpty() && second.isEmpty());
    EXPECT_EQ(third, 0);
}

TEST(SharedTypes, PointOrderingIsADominanceTest) {
    const AcGePoint2d a(0, 5), b(1, 0);
    EXPECT_TRUE(a < a && a > a);
    EXPECT_FALSE(a < b);
    EXPECT_FALSE(a > b);
    EXPECT_FALSE(b < a);
    EXPECT_TRUE(P(0, 0) < P(1, 1));
    EXPECT_TRUE(P(0, 0) <= P(0, 1));
    EXPECT_TRUE(P(1, 1) >= P(1, 0));
    EXPECT_FALSE(P(1, 1) > P(2, 0));
    EXPECT_TRUE(P(kNaN, 0) < P(0, 0));
    EXPECT_FALSE(P(0, kNaN) > P(1, 0));
}
