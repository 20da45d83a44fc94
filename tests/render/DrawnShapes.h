#pragma once

#include "render/ReGlyph.h"
#include "tests/common/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// Composer tests read the recorded calls as shapes: the box of a quad, and
// a glyph by its name with its place and scales.

// Extent of a recorded quad: left, bottom, right, top.
inline std::vector<double> quadBox(const RecordingRenderer::Call& quad)
{
    const std::vector<double>& a = quad.args;
    return {std::min({a[0], a[2], a[4], a[6]}), std::min({a[1], a[3], a[5], a[7]}),
            std::max({a[0], a[2], a[4], a[6]}), std::max({a[1], a[3], a[5], a[7]})};
}

// The middle of the last rectangle marked for an element, in world units;
// false when there is none.
inline bool markMiddle(const RecordingRenderer& renderer, const MnElement* element, GePoint2d* middle)
{
    const RecordingRenderer::Call* mark = nullptr;
    for (const RecordingRenderer::Call* call : renderer.callsNamed("markRect")) {
        if (call->element == element)
            mark = call;
    }
    if (!mark)
        return false;
    const std::vector<double>& a = mark->args;
    *middle = mark->transform.transform(GePoint2d(a[0] + a[2] / 2, a[1] + a[3] / 2));
    return true;
}

// The boxes of every recorded call of the quad operation, in order.
inline std::vector<std::vector<double>> quadBoxes(const RecordingRenderer& renderer,
                                                  const std::string& operation = "fillQuad")
{
    std::vector<std::vector<double>> boxes;
    for (const RecordingRenderer::Call* call : renderer.callsNamed(operation))
        boxes.push_back(quadBox(*call));
    return boxes;
}

inline void expectNear(const std::vector<double>& actual, const std::vector<double>& expected, double tolerance = 1e-9)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "value " << i;
}

inline void expectBoxes(const std::vector<std::vector<double>>& actual,
                        const std::vector<std::vector<double>>& expected, double tolerance = 1e-9)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE("box " + std::to_string(i));
        expectNear(actual[i], expected[i], tolerance);
    }
}

// A glyph as drawn: its name in ReGlyph and the arguments of fillMesh.
struct PlacedGlyph {
    std::string name;
    double x, y, sx, sy;
};

inline std::string glyphName(const RecordingRenderer::Call& mesh)
{
    for (int i = 0; i < ReGlyph::count(); ++i) {
        if (ReGlyph::at(i)->triangles == mesh.triangles)
            return ReGlyph::nameAt(i);
    }
    return "";
}

inline std::vector<PlacedGlyph> placedGlyphs(const RecordingRenderer& renderer)
{
    std::vector<PlacedGlyph> glyphs;
    for (const RecordingRenderer::Call* mesh : renderer.callsNamed("fillMesh"))
        glyphs.push_back({glyphName(*mesh), mesh->args[2], mesh->args[3], mesh->args[4], mesh->args[5]});
    return glyphs;
}

inline void expectGlyphs(const RecordingRenderer& renderer, const std::vector<PlacedGlyph>& expected,
                         double tolerance = 1e-9)
{
    const std::vector<PlacedGlyph> actual = placedGlyphs(renderer);
    ASSERT_EQ(actual.size(), expected.size()) << renderer.transcript();
    for (size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE("glyph " + std::to_string(i) + " " + expected[i].name);
        EXPECT_EQ(actual[i].name, expected[i].name);
        EXPECT_NEAR(actual[i].x, expected[i].x, tolerance);
        EXPECT_NEAR(actual[i].y, expected[i].y, tolerance);
        EXPECT_NEAR(actual[i].sx, expected[i].sx, tolerance);
        EXPECT_NEAR(actual[i].sy, expected[i].sy, tolerance);
    }
}

// Every call drawn at the 3-D height of staff furniture (2.0), and the
// renderer's height of symbols (3.0) back in force afterwards.
inline void expectDrawnAsStaffFurniture(const RecordingRenderer& renderer)
{
    ASSERT_FALSE(renderer.calls.empty());
    for (const RecordingRenderer::Call& call : renderer.calls)
        EXPECT_EQ(call.extrusionHeight, 2.0) << call.name;
    EXPECT_EQ(renderer.extrusionHeight, 3.0);
}
