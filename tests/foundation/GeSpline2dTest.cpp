#include <gtest/gtest.h>

#include "foundation/GeSpline2d.h"

TEST(GeSpline2dTest, ComputesThePowerBasisFromTheControlPoints)
{
    const GeSpline2d curve({0, 0}, {1, 2}, {3, 2}, {4, 0});
    EXPECT_EQ(curve.points.count(), 4);
    EXPECT_EQ(curve.points.capacity(), 4);
    EXPECT_EQ(curve.cx, 3.0);
    EXPECT_EQ(curve.bx, 3.0);
    EXPECT_EQ(curve.ax, -2.0);
    EXPECT_EQ(curve.cy, 6.0);
    EXPECT_EQ(curve.by, -6.0);
    EXPECT_EQ(curve.ay, 0.0);

    // de Casteljau and the power basis describe the same curve.
    for (double t : {0.0, 0.25, 0.5, 0.8, 1.0}) {
        const GePoint2d onCurve = GeSpline2d::pointAt(curve.points, t);
        EXPECT_NEAR(onCurve.x, ((curve.ax * t + curve.bx) * t + curve.cx) * t + curve.points[0].x, 1e-12) << t;
        EXPECT_NEAR(onCurve.y, ((curve.ay * t + curve.by) * t + curve.cy) * t + curve.points[0].y, 1e-12) << t;
    }
    const GePoint2d middle = GeSpline2d::pointAt(curve.points, 0.5);
    EXPECT_EQ(middle.x, 2.0);
    EXPECT_EQ(middle.y, 1.5);
}

TEST(GeSpline2dTest, PointAtHandlesAnyNumberOfControlPoints)
{
    struct PointAtCase {
        const char* name;
        int count;
        GePoint2d points[3];
        double t;
        GePoint2d expected;
    };
    const PointAtCase cases[] = {
        {"no points answer the origin", 0, {}, 0.5, {0, 0}},
        {"one point at t = 0", 1, {{3, -4}}, 0.0, {3, -4}},
        {"one point at t = 0.7", 1, {{3, -4}}, 0.7, {3, -4}},
        {"a line interpolates", 2, {{0, 0}, {10, 20}}, 0.25, {2.5, 5}},
        {"a quadratic at its middle", 3, {{0, 0}, {1, 2}, {2, 0}}, 0.5, {1, 1}},
        {"a quadratic at its end", 3, {{0, 0}, {1, 2}, {2, 0}}, 1.0, {2, 0}},
    };
    for (const PointAtCase& c : cases) {
        BcArray<GePoint2d> points;
        for (int i = 0; i < c.count; ++i)
            points.add(c.points[i]);
        const GePoint2d answer = GeSpline2d::pointAt(points, c.t);
        EXPECT_NEAR(answer.x, c.expected.x, 1e-12) << c.name;
        EXPECT_NEAR(answer.y, c.expected.y, 1e-12) << c.name;
        EXPECT_EQ(points.count(), c.count) << c.name << ": the caller's points are left alone";
    }
}

TEST(GeSpline2dTest, CopiesOwnTheirPoints)
{
    GeSpline2d original({0, 0}, {1, 1}, {2, 1}, {3, 0});
    GeSpline2d copy = original;
    original.points[0].x = 99;
    EXPECT_EQ(copy.points[0].x, 0.0);
    EXPECT_EQ(copy.points.count(), 4);
    EXPECT_EQ(copy.ax, original.ax);
}
