#include <gtest/gtest.h>

#include "foundation/BcClass.h"
#include "foundation/GeArc.h"
#include "foundation/GeBox2d.h"
#include "foundation/GeMatrix2d.h"
#include "foundation/GePoint2d.h"
#include "foundation/GePoint3d.h"
#include "foundation/GeRegion.h"
#include "foundation/GeSpline2d.h"
#include "foundation/GeUtil.h"
#include "foundation/GeVector2d.h"
#include "foundation/GeVector3d.h"

TEST(GeRegistrationTest, FactoriesMakeDefaultValuesOfTheirOwnClass)
{
    BcObject* point = GePoint2d::staticClass()->createObject();
    ASSERT_NE(point, nullptr);
    ASSERT_TRUE(point->isKindOf(GePoint2d::staticClass()));
    EXPECT_EQ(static_cast<GePoint2d*>(point)->x, 0.0);
    EXPECT_EQ(static_cast<GePoint2d*>(point)->y, 0.0);
    delete point;

    BcObject* matrix = GeMatrix2d::staticClass()->createObject();
    ASSERT_NE(matrix, nullptr);
    ASSERT_TRUE(matrix->isKindOf(GeMatrix2d::staticClass()));
    EXPECT_EQ(static_cast<GeMatrix2d*>(matrix)->m00, 1.0);
    EXPECT_EQ(static_cast<GeMatrix2d*>(matrix)->m22, 1.0);
    delete matrix;

    BcObject* curve = GeSpline2d::staticClass()->createObject();
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(static_cast<GeSpline2d*>(curve)->points.count(), 0);
    delete curve;

    BcObject* arc = GeArc::staticClass()->createObject();
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(static_cast<GeArc*>(arc)->radius, 0.0);
    delete arc;

    EXPECT_EQ(GeRegion::staticClass()->createObject(), nullptr);
    EXPECT_EQ(GeUtil::staticClass()->createObject(), nullptr);
}

TEST(GeRegistrationTest, ValuesAnswerTheirClassAndDeriveFromTheRoot)
{
    const GeBox2d box;
    const GePoint3d point;
    const GeVector2d vector;
    const GeVector3d normal;
    EXPECT_EQ(box.dynamicClass(), GeBox2d::staticClass());
    EXPECT_EQ(point.dynamicClass(), GePoint3d::staticClass());
    EXPECT_EQ(vector.dynamicClass(), GeVector2d::staticClass());
    EXPECT_EQ(normal.dynamicClass(), GeVector3d::staticClass());
    EXPECT_TRUE(box.isKindOf(BcObject::staticClass()));
    EXPECT_FALSE(box.isKindOf(GePoint2d::staticClass()));
    EXPECT_EQ(GeUtil::staticClass()->baseClass(), BcObject::staticClass());
}

TEST(GeRegistrationTest, ClassConstantsHoldTheirValues)
{
    struct ConstantCase {
        const char* name;
        double x, y, z;
        double expectedX, expectedY, expectedZ;
    };
    const ConstantCase cases[] = {
        {"GePoint2d::origin", GePoint2d::origin.x, GePoint2d::origin.y, 0, 0, 0, 0},
        {"GePoint3d::origin", GePoint3d::origin.x, GePoint3d::origin.y, GePoint3d::origin.z, 0, 0, 0},
        {"GeVector2d::zero", GeVector2d::zero.x, GeVector2d::zero.y, 0, 0, 0, 0},
        {"GeVector2d::xAxis", GeVector2d::xAxis.x, GeVector2d::xAxis.y, 0, 1, 0, 0},
        {"GeVector2d::yAxis", GeVector2d::yAxis.x, GeVector2d::yAxis.y, 0, 0, 1, 0},
        {"GeVector3d::zero", GeVector3d::zero.x, GeVector3d::zero.y, GeVector3d::zero.z, 0, 0, 0},
        {"GeVector3d::xAxis", GeVector3d::xAxis.x, GeVector3d::xAxis.y, GeVector3d::xAxis.z, 1, 0, 0},
        {"GeVector3d::yAxis", GeVector3d::yAxis.x, GeVector3d::yAxis.y, GeVector3d::yAxis.z, 0, 1, 0},
        {"GeVector3d::zAxis", GeVector3d::zAxis.x, GeVector3d::zAxis.y, GeVector3d::zAxis.z, 0, 0, 1},
    };
    for (const ConstantCase& c : cases) {
        EXPECT_EQ(c.x, c.expectedX) << c.name;
        EXPECT_EQ(c.y, c.expectedY) << c.name;
        EXPECT_EQ(c.z, c.expectedZ) << c.name;
    }
    const GeMatrix2d& identity = GeMatrix2d::identity;
    const double entries[] = {identity.m00, identity.m01, identity.m02, identity.m10, identity.m11,
                              identity.m12, identity.m20, identity.m21, identity.m22};
    const double expected[] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(entries[i], expected[i]) << "GeMatrix2d::identity entry " << i;
}
