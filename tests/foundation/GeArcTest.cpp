#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "foundation/GeArc.h"

static constexpr double kPi = std::numbers::pi;

struct ArcCase {
    const char* name;
    GePoint2d p1;
    GePoint2d p2;
    double bulge;
    GePoint2d centre;
    double radius;
    double startAngle;
    double endAngle;
};

TEST(GeArcTest, BuildsCentreRadiusAndAnglesFromAChordAndABulge)
{
    const double bulgeHalfAngle = std::atan2(0.75, 1.0); // end point angle of the 0.5 arcs
    const ArcCase cases[] = {
        // A sweep of exactly -pi stays as it is: the arc runs clockwise over the top.
        {"half circle above", {0, 0}, {2, 0}, 1.0, {1, 0}, 1.0, kPi, 0.0},
        // The same half circle below runs counter-clockwise through 3 pi / 2.
        {"half circle below", {0, 0}, {2, 0}, -1.0, {1, 0}, 1.0, -kPi, 0.0},
        {"flat arc above", {0, 0}, {2, 0}, 0.5, {1, -0.75}, 1.25, kPi - bulgeHalfAngle, bulgeHalfAngle},
        {"flat arc above, ends swapped", {2, 0}, {0, 0}, 0.5, {1, -0.75}, 1.25, bulgeHalfAngle,
         kPi - bulgeHalfAngle},
        {"flat arc below", {0, 0}, {2, 0}, -0.5, {1, 0.75}, 1.25, kPi + bulgeHalfAngle,
         2 * kPi - bulgeHalfAngle},
        {"vertical chord bulging left", {0, 0}, {0, 2}, 1.0, {0, 1}, 1.0, 1.5 * kPi, kPi / 2},
        // More than a half circle: the centre moves to the bulge's side and
        // the sweep takes the long way round.
        {"three quarters of a circle above", {-1, 0}, {1, 0}, 1.0 + std::sqrt(2.0), {0, 1},
         std::sqrt(2.0), 3.25 * kPi, 1.75 * kPi},
    };
    for (const ArcCase& c : cases) {
        const GeArc arc(c.p1, c.p2, c.bulge);
        EXPECT_NEAR(arc.centre.x, c.centre.x, 1e-12) << c.name;
        EXPECT_NEAR(arc.centre.y, c.centre.y, 1e-12) << c.name;
        EXPECT_NEAR(arc.radius, c.radius, 1e-12) << c.name;
        EXPECT_NEAR(arc.startAngle, c.startAngle, 1e-12) << c.name;
        EXPECT_NEAR(arc.endAngle, c.endAngle, 1e-12) << c.name;
        EXPECT_GE(arc.endAngle, 0.0) << c.name;
        EXPECT_LT(arc.endAngle, 2 * kPi) << c.name;
    }
}

// The height of the arc's middle over the chord, measured towards the side
// that a positive bulge names: above a chord that is not vertical, left of
// a vertical one in its direction.
static double heightOfMiddle(const GeArc& arc, const GePoint2d& p1, const GePoint2d& p2)
{
    const GePoint2d middle = arc.pointAtAngle((arc.startAngle + arc.endAngle) / 2);
    const double dx = p2.x - p1.x;
    const double dy = p2.y - p1.y;
    const double length = std::hypot(dx, dy);
    const double up = dx >= 0.0 ? 1.0 : -1.0;
    return up * (dx * (middle.y - p1.y) - dy * (middle.x - p1.x)) / length;
}

static void expectArcThrough(const GeArc& arc, const GePoint2d& p1, const GePoint2d& p2, double bulge,
                             double scale, const char* what)
{
    const double length = std::hypot(p2.x - p1.x, p2.y - p1.y);
    ASSERT_TRUE(std::isfinite(arc.centre.x) && std::isfinite(arc.centre.y)) << what;
    ASSERT_TRUE(std::isfinite(arc.radius) && std::isfinite(arc.startAngle) && std::isfinite(arc.endAngle))
        << what;
    const GePoint2d start = arc.pointAtAngle(arc.startAngle);
    const GePoint2d end = arc.pointAtAngle(arc.endAngle);
    const double tolerance = 1e-9 * scale;
    EXPECT_NEAR(start.x, p1.x, tolerance) << what;
    EXPECT_NEAR(start.y, p1.y, tolerance) << what;
    EXPECT_NEAR(end.x, p2.x, tolerance) << what;
    EXPECT_NEAR(end.y, p2.y, tolerance) << what;
    EXPECT_NEAR(heightOfMiddle(arc, p1, p2), bulge * length / 2, tolerance) << what;
}

TEST(GeArcTest, HalfCirclesStayFiniteAndOnTheirSideAtAnyScale)
{
    std::mt19937 random(17);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (double scale = 1e-12; scale <= 1e12; scale *= 10.0) {
        for (int i = 0; i < 200; ++i) {
            const GePoint2d p1(unit(random) * scale, unit(random) * scale);
            GePoint2d p2(p1.x + unit(random) * scale, p1.y + unit(random) * scale);
            if (i % 4 == 0)
                p2.y = p1.y; // horizontal chords put the end points on the centre's axis
            if (i % 4 == 1)
                p2.x = p1.x;
            const double bulge = i % 2 == 0 ? 1.0 : -1.0;
            const GeArc arc(p1, p2, bulge);
            expectArcThrough(arc, p1, p2, bulge, scale, "half circle");
            EXPECT_NEAR(std::fabs(arc.endAngle - arc.startAngle), kPi, 1e-9) << "scale " << scale;
        }
    }
}

TEST(GeArcTest, EveryBulgeReachesItsHeightOnItsSide)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_real_distribution<double> magnitude(0.01, 6.0);
    for (int i = 0; i < 2000; ++i) {
        const GePoint2d p1(unit(random) * 100, unit(random) * 100);
        const GePoint2d p2(unit(random) * 100, unit(random) * 100);
        const double bulge = (i % 2 == 0 ? 1.0 : -1.0) * magnitude(random);
        const GeArc arc(p1, p2, bulge);
        expectArcThrough(arc, p1, p2, bulge, 100, "random arc");
        // Up to a half circle the sweep is the short way, beyond it the long way.
        const double sweep = std::fabs(arc.endAngle - arc.startAngle);
        EXPECT_EQ(sweep > kPi, std::fabs(bulge) > 1.0) << "bulge " << bulge;
    }
}

TEST(GeArcTest, ChordsShorterThanTheNormalThresholdKeepTheirShape)
{
    const GePoint2d p1(0, 0);
    const GePoint2d p2(2e-12, 0);
    const GeArc arc(p1, p2, 0.5);
    EXPECT_NEAR(arc.centre.x, 1e-12, 1e-24);
    EXPECT_NEAR(arc.centre.y, -0.75e-12, 1e-24);
    EXPECT_NEAR(arc.radius, 1.25e-12, 1e-24);
    expectArcThrough(arc, p1, p2, 0.5, 1e-12, "tiny chord");
}

TEST(GeArcTest, DegenerateInputGivesAFiniteArc)
{
    // A zero bulge is drawn as a nearly straight arc between the end points.
    const GePoint2d p1(1, 1);
    const GePoint2d p2(5, 4);
    const GeArc straight(p1, p2, 0.0);
    ASSERT_TRUE(std::isfinite(straight.radius));
    for (double angle : {straight.startAngle, straight.endAngle}) {
        const GePoint2d end = straight.pointAtAngle(angle);
        EXPECT_NEAR(std::hypot(end.x - p1.x, end.y - p1.y) * std::hypot(end.x - p2.x, end.y - p2.y), 0.0, 1e-6);
    }
    EXPECT_NEAR(heightOfMiddle(straight, p1, p2), 0.0, 1e-5);

    const GeArc huge(p1, p2, 1e300);
    EXPECT_TRUE(std::isfinite(huge.radius) && std::isfinite(huge.startAngle));

    const GeArc point(p1, p1, 0.5);
    EXPECT_EQ(point.centre.x, 1.0);
    EXPECT_EQ(point.centre.y, 1.0);
    EXPECT_EQ(point.radius, 0.0);
    EXPECT_EQ(point.startAngle, point.endAngle);

    const GeArc nanBulge(p1, p2, std::nan(""));
    EXPECT_EQ(nanBulge.radius, 0.0);
}
