#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "foundation/GeRegion.h"

static std::vector<std::vector<int>> contoursOf(const GeRegion& region)
{
    std::vector<std::vector<int>> result;
    for (int c = 0; c < region.contours.count(); ++c) {
        const BcArray<int>& contour = *region.contours[c];
        result.emplace_back(contour.data(), contour.data() + contour.count());
    }
    return result;
}

// Twice the signed area of a contour: positive when it runs counter-clockwise.
static double signedArea(const double* vertices, const std::vector<int>& contour)
{
    double area = 0.0;
    for (size_t i = 0; i < contour.size(); ++i) {
        const int from = contour[i];
        const int to = contour[(i + 1) % contour.size()];
        area += vertices[2 * from] * vertices[2 * to + 1] - vertices[2 * to] * vertices[2 * from + 1];
    }
    return area;
}

// A square 0..3 (counter-clockwise) with a square hole 4..7 (counter-clockwise
// too), filled by eight counter-clockwise triangles.
static const double ringVertices[] = {0, 0, 10, 0, 10, 10, 0, 10, 3, 3, 7, 3, 7, 7, 3, 7};
static const int ringTriangles[] = {0, 1, 5, 0, 5, 4, 1, 2, 6, 1, 6, 5,
                                    2, 3, 7, 2, 7, 6, 3, 0, 4, 3, 4, 7};

static const double squareVertices[] = {0, 0, 1, 0, 1, 1, 0, 1};

TEST(GeRegionTest, BuildsTheBoundaryOutlinesOfAMesh)
{
    static const int square[] = {0, 1, 2, 0, 2, 3};
    static const int single[] = {0, 1, 2};
    static const int apart[] = {0, 1, 2, 3, 4, 5};
    static const int clockwiseSquare[] = {0, 2, 1, 0, 3, 2};
    // Two triangles meeting at vertex 0 only: the outline passes through 0
    // twice and keeps going along the first free edge.
    static const int bowTie[] = {0, 1, 2, 0, 3, 4};
    // A triangle with a repeated corner shares no edge with itself.
    static const int degenerate[] = {0, 0, 1};

    struct OutlineCase {
        const char* name;
        const int* triangles;
        int triangleCount;
        std::vector<std::vector<int>> expected;
    };
    const OutlineCase cases[] = {
        {"square of two triangles", square, 2, {{0, 1, 2, 3}}},
        {"single triangle", single, 1, {{0, 1, 2}}},
        {"two separate triangles, in triangle order", apart, 2, {{0, 1, 2}, {3, 4, 5}}},
        {"clockwise square runs clockwise", clockwiseSquare, 2, {{2, 1, 0, 3}}},
        {"bow tie through a shared corner", bowTie, 2, {{0, 1, 2, 0, 3, 4}}},
        {"degenerate triangle", degenerate, 1, {{0, 0, 1}}},
        {"no triangles", square, 0, {}},
        {"no triangle array", nullptr, 2, {}},
    };
    for (const OutlineCase& c : cases) {
        const GeRegion region(squareVertices, 4, c.triangles, c.triangleCount, false);
        EXPECT_EQ(contoursOf(region), c.expected) << c.name;
    }
}

TEST(GeRegionTest, ARingGivesAnOuterAndAHoleOutlineOfOppositeSense)
{
    const GeRegion ring(ringVertices, 8, ringTriangles, 8, false);
    const std::vector<std::vector<int>> outlines = contoursOf(ring);
    ASSERT_EQ(outlines.size(), 2u);
    EXPECT_EQ(outlines[0], (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(outlines[1], (std::vector<int>{5, 4, 7, 6}));
    EXPECT_GT(signedArea(ringVertices, outlines[0]), 0.0) << "outer outline counter-clockwise";
    EXPECT_LT(signedArea(ringVertices, outlines[1]), 0.0) << "hole outline clockwise";
}

TEST(GeRegionTest, OwnedArraysAreFreedWithTheRegion)
{
    // The leak checker of the sanitizer build fails this test if the region
    // forgets its arrays or its contours.
    double* vertices = new double[16];
    std::copy(std::begin(ringVertices), std::end(ringVertices), vertices);
    int* triangles = new int[24];
    std::copy(std::begin(ringTriangles), std::end(ringTriangles), triangles);
    GeRegion* region = new GeRegion(vertices, 8, triangles, 8, true);
    EXPECT_EQ(region->contours.count(), 2);
    delete region;
}

// The outline rule written out the plain way: every edge against every
// triangle, and a scan of the whole edge list for each step of a chain.
static std::vector<std::vector<int>> referenceOutlines(const std::vector<int>& triangles)
{
    const int triangleCount = static_cast<int>(triangles.size() / 3);
    std::vector<std::pair<int, int>> edges;
    for (int t = 0; t < triangleCount; ++t) {
        for (int e = 0; e < 3; ++e) {
            const int a = triangles[3 * t + e];
            const int b = triangles[3 * t + (e + 1) % 3];
            bool shared = false;
            for (int o = 0; o < triangleCount && !shared; ++o) {
                if (o == t)
                    continue;
                for (int f = 0; f < 3; ++f) {
                    const int c = triangles[3 * o + f];
                    const int d = triangles[3 * o + (f + 1) % 3];
                    if ((a == c && b == d) || (a == d && b == c))
                        shared = true;
                }
            }
            if (!shared)
                edges.emplace_back(a, b);
        }
    }
    std::vector<bool> taken(edges.size(), false);
    std::vector<std::vector<int>> outlines;
    for (size_t start = 0; start < edges.size(); ++start) {
        if (taken[start])
            continue;
        taken[start] = true;
        std::vector<int> outline{edges[start].first};
        int end = edges[start].second;
        for (bool found = true; found;) {
            found = false;
            for (size_t e = 0; e < edges.size(); ++e) {
                if (taken[e] || (edges[e].first != end && edges[e].second != end))
                    continue;
                taken[e] = true;
                outline.push_back(end);
                end = edges[e].first == end ? edges[e].second : edges[e].first;
                found = true;
                break;
            }
        }
        outlines.push_back(outline);
    }
    return outlines;
}

TEST(GeRegionTest, AgreesWithThePlainRuleOnIrregularMeshes)
{
    // Few vertices for many triangles makes shared edges, corners where
    // several outlines meet, repeated triangles and repeated corners.
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round) {
        std::uniform_int_distribution<int> vertex(0, 3 + round % 12);
        const int triangleCount = 1 + round % 25;
        std::vector<int> triangles;
        for (int i = 0; i < 3 * triangleCount; ++i)
            triangles.push_back(vertex(random));
        const GeRegion region(nullptr, 0, triangles.data(), triangleCount, false);
        EXPECT_EQ(contoursOf(region), referenceOutlines(triangles)) << "round " << round;
    }
}
