#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

#include "foundation/GeBox2d.h"
#include "foundation/GeMatrix2d.h"
#include "foundation/GePoint2d.h"

static constexpr double kPi = std::numbers::pi;
static constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct RotateCase {
    const char* name;
    GePoint2d point;
    double angle;
    GePoint2d expected;
};

TEST(GePoint2dTest, RotatesCounterClockwiseAboutTheOrigin)
{
    const RotateCase cases[] = {
        {"quarter turn takes x onto y", {1, 0}, kPi / 2, {0, 1}},
        {"half turn mirrors through the origin", {1, 1}, kPi, {-1, -1}},
        {"negative angle turns clockwise", {2, 0}, -kPi / 2, {0, -2}},
        {"eighth turn", {1, 0}, kPi / 4, {std::sqrt(0.5), std::sqrt(0.5)}},
    };
    for (const RotateCase& c : cases) {
        GePoint2d p = c.point;
        GePoint2d& answer = p.rotate(c.angle);
        EXPECT_EQ(&answer, &p) << c.name;
        EXPECT_NEAR(p.x, c.expected.x, 1e-15) << c.name;
        EXPECT_NEAR(p.y, c.expected.y, 1e-15) << c.name;
    }
}

TEST(GePoint2dTest, ZeroRotationLeavesThePointBitForBit)
{
    const GePoint2d samples[] = {{0.1, 0.7}, {-3e-300, 1e300}, {1.0 / 3.0, -2.0 / 7.0}};
    for (const GePoint2d& sample : samples) {
        GePoint2d p = sample;
        p.rotate(0.0);
        EXPECT_EQ(std::memcmp(&p.x, &sample.x, sizeof(double)), 0);
        EXPECT_EQ(std::memcmp(&p.y, &sample.y, sizeof(double)), 0);
    }
}

struct RectCase {
    const char* name;
    GePoint2d point;
    GePoint2d corner;
    double width;
    double height;
    bool inside;
};

TEST(GePoint2dTest, IsInRectCountsBordersAndAcceptsNegativeSizes)
{
    const RectCase cases[] = {
        {"border corner of a rectangle spanned backwards", {5, 5}, {10, 10}, -5, -5, true},
        {"just left of a rectangle spanned backwards", {4, 5}, {10, 10}, -5, -5, false},
        {"inside a forward rectangle", {1, 2}, {0, 0}, 3, 4, true},
        {"on the far border of a forward rectangle", {3, 4}, {0, 0}, 3, 4, true},
        {"beyond the far border", {3.0001, 4}, {0, 0}, 3, 4, false},
        {"below a forward rectangle", {1, -0.5}, {0, 0}, 3, 4, false},
        {"a line of width 0 holds its own x", {2, 1}, {2, 0}, 0, 4, true},
        {"a line of width 0 holds nothing beside it", {2.5, 1}, {2, 0}, 0, 4, false},
        {"mixed signs: right and down", {1, -1}, {0, 0}, 2, -2, true},
        {"mixed signs: the other quadrant", {-1, 1}, {0, 0}, 2, -2, false},
        {"a NaN coordinate is never inside", {kNaN, 1}, {0, 0}, 3, 4, false},
    };
    for (const RectCase& c : cases)
        EXPECT_EQ(c.point.isInRect(c.corner, c.width, c.height), c.inside) << c.name;
}

struct ContainsCase {
    const char* name;
    GeBox2d box;
    GePoint2d point;
    bool inside;
};

TEST(GeBox2dTest, ContainsWithCornersInAnyOrder)
{
    const ContainsCase cases[] = {
        {"inside, corners ascending", {{0, 0}, {10, 5}}, {3, 3}, true},
        {"inside, corners descending", {{10, 5}, {0, 0}}, {3, 3}, true},
        {"inside, corners crossed", {{0, 5}, {10, 0}}, {3, 3}, true},
        {"on a corner", {{10, 5}, {0, 0}}, {0, 5}, true},
        {"outside", {{0, 0}, {10, 5}}, {3, 6}, false},
    };
    for (const ContainsCase& c : cases)
        EXPECT_EQ(c.box.contains(c.point), c.inside) << c.name;
}

struct IntersectCase {
    const char* name;
    GeBox2d first;
    GeBox2d second;
    bool intersects;
};

TEST(GeBox2dTest, IntersectsCountsTouchingAndEnclosing)
{
    const GeBox2d unit({0, 0}, {10, 10});
    const IntersectCase cases[] = {
        {"touching at a corner", unit, {{10, 10}, {20, 20}}, true},
        {"enclosing", unit, {{-5, -5}, {15, 15}}, true},
        {"enclosed", unit, {{2, 2}, {3, 3}}, true},
        {"beside, not touching", unit, {{11, 0}, {12, 10}}, false},
        {"overlapping in x only", unit, {{5, 11}, {15, 20}}, false},
        {"crossing strips", {{-5, 4}, {15, 6}}, {{4, -5}, {6, 15}}, true},
        {"corners given backwards", {{10, 10}, {0, 0}}, {{20, 20}, {5, 5}}, true},
        {"a NaN corner", unit, {{kNaN, 0}, {5, 5}}, false},
        {"a NaN corner as the second point", unit, {{5, 5}, {kNaN, 0}}, false},
    };
    for (const IntersectCase& c : cases) {
        EXPECT_EQ(c.first.intersects(c.second), c.intersects) << c.name;
        EXPECT_EQ(c.second.intersects(c.first), c.intersects) << c.name << " (swapped)";
    }
}

struct ExtendCase {
    const char* name;
    GeBox2d box;
    GePoint2d point;
    GeBox2d expected;
};

TEST(GeBox2dTest, ExtendMovesTheCornerThatHoldsTheSideReached)
{
    const ExtendCase cases[] = {
        {"b holds the minimum x and the maximum y", {{10, 0}, {0, 10}}, {-1, 11}, {{10, 0}, {-1, 11}}},
        {"a holds both minima", {{0, 0}, {10, 10}}, {12, -3}, {{0, -3}, {12, 10}}},
        {"a point inside changes nothing", {{0, 0}, {10, 10}}, {5, 5}, {{0, 0}, {10, 10}}},
        {"equal corners: b takes the minimum", {{2, 2}, {2, 2}}, {1, 1}, {{2, 2}, {1, 1}}},
        {"equal corners: a takes the maximum", {{2, 2}, {2, 2}}, {3, 3}, {{3, 3}, {2, 2}}},
        {"a NaN point changes nothing", {{0, 0}, {10, 10}}, {kNaN, kNaN}, {{0, 0}, {10, 10}}},
    };
    for (const ExtendCase& c : cases) {
        GeBox2d box = c.box;
        box.extend(c.point);
        EXPECT_EQ(box.a.x, c.expected.a.x) << c.name;
        EXPECT_EQ(box.a.y, c.expected.a.y) << c.name;
        EXPECT_EQ(box.b.x, c.expected.b.x) << c.name;
        EXPECT_EQ(box.b.y, c.expected.b.y) << c.name;
    }
}

static void expectMatrixNear(const GeMatrix2d& actual, const GeMatrix2d& expected, double tolerance,
                             const char* name)
{
    const double a[] = {actual.m00, actual.m01, actual.m02, actual.m10, actual.m11,
                        actual.m12, actual.m20, actual.m21, actual.m22};
    const double e[] = {expected.m00, expected.m01, expected.m02, expected.m10, expected.m11,
                        expected.m12, expected.m20, expected.m21, expected.m22};
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(a[i], e[i], tolerance) << name << ", entry " << i / 3 << i % 3;
}

TEST(GeMatrix2dTest, DefaultIsTheIdentity)
{
    expectMatrixNear(GeMatrix2d(), GeMatrix2d(1, 0, 0, 0, 1, 0, 0, 0, 1), 0.0, "default");
}

struct MapCase {
    const char* name;
    GeMatrix2d matrix;
    GePoint2d point;
    GePoint2d expected;
};

TEST(GeMatrix2dTest, ProductAppliesTheRightOperandFirst)
{
    const GeMatrix2d translate = GeMatrix2d::translation(2, 3);
    const GeMatrix2d scale = GeMatrix2d::scaling(0, 0, 2);
    const MapCase cases[] = {
        {"translate after scale", translate * scale, {1, 1}, {4, 5}},
        {"scale after translate", scale * translate, {1, 1}, {6, 8}},
        {"scale about a point keeps that point", GeMatrix2d::scaling(1, 1, 3), {1, 1}, {1, 1}},
        {"scale about a point", GeMatrix2d::scaling(1, 1, 2), {2, 2}, {3, 3}},
        {"homogeneous division", GeMatrix2d(1, 0, 0, 0, 1, 0, 0, 0, 2), {4, 6}, {2, 3}},
        {"inverse of a scale about (1, 1)", GeMatrix2d::scaling(1, 1, 2).inverse(), {3, 3}, {2, 2}},
        {"inverse of a translation", GeMatrix2d::translation(2, 3).inverse(), {2, 3}, {0, 0}},
    };
    for (const MapCase& c : cases) {
        const GePoint2d image = c.matrix.transform(c.point);
        EXPECT_NEAR(image.x, c.expected.x, 1e-12) << c.name;
        EXPECT_NEAR(image.y, c.expected.y, 1e-12) << c.name;
    }
}

TEST(GeMatrix2dTest, ProductOfNonAffineOperandsIsTheFullProduct)
{
    const GeMatrix2d affine(1, 2, 3, 4, 5, 6, 0, 0, 1);
    const GeMatrix2d lastRowTwo(1, 0, 5, 0, 1, 7, 0, 0, 2);
    const GeMatrix2d projective(2, 1, 0, 1, 3, 1, 0.5, 0.25, 1);

    struct ProductCase {
        const char* name;
        GeMatrix2d left;
        GeMatrix2d right;
        GeMatrix2d expected;
    };
    const ProductCase cases[] = {
        // The right operand's factor 2 reaches the translation column.
        {"affine x last row (0, 0, 2)", affine, lastRowTwo, GeMatrix2d(1, 2, 25, 4, 5, 67, 0, 0, 2)},
        {"last row (0, 0, 2) x affine", lastRowTwo, affine, GeMatrix2d(1, 2, 8, 4, 5, 13, 0, 0, 2)},
        {"projective x projective", projective, projective,
         GeMatrix2d(5, 5, 1, 5.5, 10.25, 4, 1.75, 1.5, 1.25)},
    };
    for (const ProductCase& c : cases)
        expectMatrixNear(c.left * c.right, c.expected, 1e-12, c.name);
}

TEST(GeMatrix2dTest, ProductTreatsANearlyAffineRowAsExact)
{
    // A rounding residue in the last row of an affine operand must not leak
    // into the product: the renderers build such matrices by inverting.
    const GeMatrix2d nearlyAffine(2, 0, 1, 0, 2, 1, 1e-12, -1e-12, 1 + 1e-12);
    const GeMatrix2d product = nearlyAffine * GeMatrix2d::translation(1000, 1000);
    expectMatrixNear(product, GeMatrix2d(2, 0, 2001, 0, 2, 2001, 0, 0, 1), 0.0, "nearly affine");
}

TEST(GeMatrix2dTest, InverseUndoesAndSingularMatricesGiveNearZero)
{
    const GeMatrix2d samples[] = {
        GeMatrix2d::translation(-4, 9),
        GeMatrix2d::scaling(3, -2, 0.25) * GeMatrix2d::translation(1, 1),
        GeMatrix2d(2, 1, 0, 1, 3, 1, 0.5, 0.25, 1),
    };
    for (const GeMatrix2d& m : samples) {
        expectMatrixNear(m * m.inverse(), GeMatrix2d(), 1e-12, "m x inverse");
        expectMatrixNear(m.inverse() * m, GeMatrix2d(), 1e-12, "inverse x m");
    }

    const GeMatrix2d zero(0, 0, 0, 0, 0, 0, 0, 0, 0);
    expectMatrixNear(zero.inverse(), zero, 0.0, "zero matrix");

    // A scale by 1e-6 has determinant 1e-12: no division, and no entry
    // grows beyond the original ones.
    const GeMatrix2d tiny = GeMatrix2d::scaling(0, 0, 1e-6);
    const GeMatrix2d tinyInverse = tiny.inverse();
    for (double entry : {tinyInverse.m00, tinyInverse.m11, tinyInverse.m22}) {
        EXPECT_TRUE(std::isfinite(entry));
        EXPECT_LE(std::fabs(entry), 1e-11);
    }
    const GePoint2d mapped = zero.inverse().transform(GePoint2d(3, 4));
    EXPECT_TRUE(std::isfinite(mapped.x) && std::isfinite(mapped.y));
}
