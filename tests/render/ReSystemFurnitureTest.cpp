#include "render/ReGlyph.h"
#include "render/ReSystem.h"
#include "tests/common/RecordingRenderer.h"

#include <gtest/gtest.h>

// Extent of the quads of a recording: left, bottom, right, top.
static std::vector<double> quadBox(const RecordingRenderer::Call& quad)
{
    const std::vector<double>& a = quad.args;
    return {std::min({a[0], a[2], a[4], a[6]}), std::min({a[1], a[3], a[5], a[7]}),
            std::max({a[0], a[2], a[4], a[6]}), std::max({a[1], a[3], a[5], a[7]})};
}

static void expectNear(const std::vector<double>& actual, const std::vector<double>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-12) << "value " << i;
}

TEST(ReSystemFurniture, groupBracketsByType)
{
    const double x = 20, y = 50, h = 30, endX = 40;
    {
        SCOPED_TRACE("brace: the upper half and its mirror image");
        RecordingRenderer renderer;
        ReSystem(&renderer).drawGroupBracket(x, y, h, 0, endX);
        auto meshes = renderer.callsNamed("fillMesh");
        ASSERT_EQ(meshes.size(), 2u);
        EXPECT_EQ(meshes[0]->triangles, ReGlyph::braceHalf.triangles);
        expectNear({meshes[0]->args[2], meshes[0]->args[3], meshes[0]->args[4], meshes[0]->args[5]},
                   {x - 3, y - h / 2, 1, h / 28});
        expectNear({meshes[1]->args[2], meshes[1]->args[3], meshes[1]->args[4], meshes[1]->args[5]},
                   {x - 3, y - h / 2, 1, -h / 28});
        EXPECT_EQ(renderer.countOf("fillQuad"), 0);
    }
    {
        SCOPED_TRACE("bracket: two ends and a bar");
        RecordingRenderer renderer;
        ReSystem(&renderer).drawGroupBracket(x, y, h, 1, endX);
        auto meshes = renderer.callsNamed("fillMesh");
        ASSERT_EQ(meshes.size(), 2u);
        EXPECT_EQ(meshes[0]->triangles, ReGlyph::bracketEnd.triangles);
        expectNear({meshes[0]->args[2], meshes[0]->args[3], meshes[0]->args[4], meshes[0]->args[5]},
                   {x - 1.5, y + 1.5, 0.75, 0.75});
        expectNear({meshes[1]->args[2], meshes[1]->args[3], meshes[1]->args[4], meshes[1]->args[5]},
                   {x - 1.5, y + 1.5 - (h + 3), 0.75, -0.75});
        auto quads = renderer.callsNamed("fillQuad");
        ASSERT_EQ(quads.size(), 1u);
        expectNear(quadBox(*quads[0]), {x - 1.5, y + 1.5 - (h + 3), x - 0.75, y + 1.5});
    }
    {
        SCOPED_TRACE("square bracket: a bar and two hooks to the end x");
        RecordingRenderer renderer;
        ReSystem(&renderer).drawGroupBracket(x, y, h, 2, endX);
        auto quads = renderer.callsNamed("fillQuad");
        ASSERT_EQ(quads.size(), 3u);
        double t = 0.2, left = x - t / 2 - 1.5, top = y + t / 2, bottom = top - (h + t);
        expectNear(quadBox(*quads[0]), {left, bottom, left + t, top});
        expectNear(quadBox(*quads[1]), {left, top - t, endX, top});
        expectNear(quadBox(*quads[2]), {left, bottom, endX, bottom + t});
        EXPECT_EQ(renderer.countOf("fillMesh"), 0);
    }
    {
        SCOPED_TRACE("line");
        RecordingRenderer renderer;
        ReSystem(&renderer).drawGroupBracket(x, y, h, 3, endX);
        auto quads = renderer.callsNamed("fillQuad");
        ASSERT_EQ(quads.size(), 1u);
        expectNear(quadBox(*quads[0]), {x - 1.75, y - h - 0.5, x - 1.25, y + 0.5});
    }
    for (int type : {-1, 4}) {
        RecordingRenderer renderer;
        ReSystem(&renderer).drawGroupBracket(x, y, h, type, endX);
        EXPECT_EQ(renderer.calls.size(), 0u) << type;
    }
}

TEST(ReSystemFurniture, bracketsAreStaffFurnitureInTheThreeDMesh)
{
    RecordingRenderer renderer;
    renderer.extrusionHeight = 3.0;
    ReSystem system(&renderer);
    for (int type = 0; type < 4; ++type)
        system.drawGroupBracket(0, 0, 10, type, 5);
    for (const auto& call : renderer.calls)
        EXPECT_EQ(call.extrusionHeight, 2.0) << call.name;
    EXPECT_EQ(renderer.extrusionHeight, 3.0);
}

// Quads of straight strokes run left top, left bottom, right bottom, right top.
TEST(ReSystemFurniture, strokesAreQuadsInTheCommonCornerOrder)
{
    RecordingRenderer renderer;
    ReSystem(&renderer).drawGroupBracket(10, 5, 4, 3, 0);
    auto quads = renderer.callsNamed("fillQuad");
    ASSERT_EQ(quads.size(), 1u);
    expectNear(quads[0]->args, {8.25, 5.5, 8.25, 0.5, 8.75, 0.5, 8.75, 5.5});
}
