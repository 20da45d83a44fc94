#include "render/ReRenderer.h"

#include "model/EdGuideLine.h"
#include "model/EdHorizontalGuideLine.h"
#include "model/MnText.h"
#include "tests/common/RecordingRenderer.h"

#include <gtest/gtest.h>

static void expectBox(const GeBox2d& box, double left, double top, double right, double bottom)
{
    EXPECT_DOUBLE_EQ(box.a.x, left);
    EXPECT_DOUBLE_EQ(box.a.y, top);
    EXPECT_DOUBLE_EQ(box.b.x, right);
    EXPECT_DOUBLE_EQ(box.b.y, bottom);
}

TEST(ReRenderer, startsWithAFullyInitialisedState)
{
    RecordingRenderer renderer;
    EXPECT_EQ(renderer.transforms.count(), 1);
    EXPECT_EQ(renderer.viewWidth, 0.0);
    EXPECT_EQ(renderer.outputKind, 0);
    EXPECT_EQ(renderer.extrusionHeight, 0.0);
    EXPECT_EQ(renderer.guideLines, nullptr);
    EXPECT_EQ(renderer.mouseX, 0);
    for (int level = 0; level < 8; ++level)
        EXPECT_EQ(renderer.pickPath.values[level], -1);
    EXPECT_TRUE(renderer.isKindOf(ReRenderer::staticClass()));
    EXPECT_TRUE(renderer.isKindOf(EdSelection::staticClass()));
}

TEST(ReRenderer, viewHeightFollowsTheAspectOfThePixelFrame)
{
    struct Row {
        const char* name;
        double pixelWidth, pixelHeight, width, expectedHeight;
    };
    const Row rows[] = {
        {"square", 800, 800, 210, 210},
        {"2:1", 1000, 500, 300, 150},
        {"1:2", 400, 800, 100, 200},
        {"no width yet", 0, 600, 100, 0},
    };
    for (const Row& row : rows) {
        RecordingRenderer renderer;
        ASSERT_TRUE(renderer.render(nullptr, 50, -40, row.width, row.pixelWidth, row.pixelHeight, 3, 4)) << row.name;
        EXPECT_DOUBLE_EQ(renderer.viewWidth, row.width) << row.name;
        EXPECT_DOUBLE_EQ(renderer.viewHeight, row.expectedHeight) << row.name;
        expectBox(renderer.visibleBox, 50 - row.width / 2, -40 + row.expectedHeight / 2, 50 + row.width / 2,
                  -40 - row.expectedHeight / 2);
        EXPECT_EQ(renderer.mouseX, 3);
        EXPECT_EQ(renderer.mouseY, 4);
    }
}

TEST(ReRenderer, pushScaleAboutACentreHalvesTheVisibleBoxAndPopRestoresIt)
{
    RecordingRenderer renderer;
    renderer.setView(100, 50, 200, 1000, 500);  // box (0, 100) .. (200, 0)
    expectBox(renderer.visibleBox, 0, 100, 200, 0);

    renderer.pushScale(100, 50, 2);
    expectBox(renderer.visibleBox, 50, 75, 150, 25);
    const GeBox2d scaled = renderer.visibleBox;

    // Nested: a second scale about another point works in local coordinates.
    // Factor 3 about an off-grid point gives boxes that are not exact in
    // binary; each pop must still give back the earlier box bit for bit.
    renderer.pushScale(50, 25, 2);
    expectBox(renderer.visibleBox, 50, 50, 100, 25);
    renderer.pushScale(61.3, 37.7, 3);
    renderer.popTransform();
    expectBox(renderer.visibleBox, 50, 50, 100, 25);
    renderer.popTransform();
    EXPECT_EQ(renderer.visibleBox.a.x, scaled.a.x);
    EXPECT_EQ(renderer.visibleBox.a.y, scaled.a.y);
    EXPECT_EQ(renderer.visibleBox.b.x, scaled.b.x);
    EXPECT_EQ(renderer.visibleBox.b.y, scaled.b.y);

    renderer.popTransform();
    EXPECT_EQ(renderer.visibleBox.a.x, 0.0);
    EXPECT_EQ(renderer.visibleBox.a.y, 100.0);
    EXPECT_EQ(renderer.visibleBox.b.x, 200.0);
    EXPECT_EQ(renderer.visibleBox.b.y, 0.0);
    EXPECT_EQ(renderer.transforms.count(), 1);

    // A pop too many keeps the identity at the bottom of the stack.
    renderer.popTransform();
    EXPECT_EQ(renderer.transforms.count(), 1);
    expectBox(renderer.visibleBox, 0, 100, 200, 0);
}

TEST(ReRenderer, yRotationShiftsLocalXToThePivot)
{
    RecordingRenderer renderer;
    renderer.setView(100, 50, 200, 1000, 500);
    renderer.pushYRotation(30, 45);
    expectBox(renderer.visibleBox, -30, 100, 170, 0);
    renderer.popTransform();
    expectBox(renderer.visibleBox, 0, 100, 200, 0);
}

TEST(ReRenderer, visibilityCountsBoxesThatTouchTheBorder)
{
    RecordingRenderer renderer;
    renderer.setView(100, 50, 200, 1000, 500);  // box (0, 100) .. (200, 0)
    struct Row {
        const char* name;
        double x, y, width, height, margin;
        bool visible;
    };
    const Row rows[] = {
        {"inside", 10, 90, 5, 5, 0, true},
        {"touching the right border", 200, 50, 10, 10, 0, true},
        {"touching the left border", -10, 50, 10, 10, 0, true},
        {"touching the top border", 50, 110, 10, 10, 0, true},
        {"touching the bottom border", 50, 0, 10, 10, 0, true},
        {"just right of the box", 200.001, 50, 10, 10, 0, false},
        {"just below the box", 50, -0.001, 10, 10, 0, false},
        {"just above the box", 50, 110.001, 10, 10, 0, false},
        {"brought in by the margin", 205, 50, 10, 10, 5, true},
        {"covering the whole box", -100, 200, 400, 400, 0, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(renderer.isVisible(row.x, row.y, row.width, row.height, row.margin), row.visible) << row.name;
        EXPECT_EQ(renderer.isVisibleX(row.x, row.width, row.margin), row.x - row.margin <= 200 && row.x + row.width + row.margin >= 0)
            << row.name;
    }
}

TEST(ReRenderer, renderDrawsTheDragRectangleOnlyForDistinctCorners)
{
    struct Row {
        const char* name;
        GePoint2d start, end;
        int rectangles;
    };
    const Row rows[] = {
        {"equal corners", {5, 5}, {5, 5}, 0},
        {"within 1e-10", {5, 5}, {5 + 5e-11, 5}, 0},
        {"apart", {5, 5}, {5 + 1e-9, 5}, 1},
    };
    for (const Row& row : rows) {
        RecordingRenderer renderer;
        renderer.dragStart = row.start;
        renderer.dragEnd = row.end;
        ASSERT_TRUE(renderer.render(nullptr, 0, 0, 100, 100, 100, 0, 0));
        EXPECT_EQ(renderer.countOf("drawDashedRect"), row.rectangles) << row.name;
        EXPECT_EQ(renderer.calls.back().name, "end") << row.name;
    }
}

TEST(ReRenderer, guideLinesAreDrawnOnceAndLetGo)
{
    RecordingRenderer renderer;
    EdHorizontalGuideLine first(10, 2);
    EdHorizontalGuideLine second(20, 2);
    BcArray<EdGuideLine*> lines;
    lines.add(&first);
    lines.add(&second);
    renderer.guideLines = &lines;
    ASSERT_TRUE(renderer.render(nullptr, 0, 0, 100, 100, 100, 0, 0));
    auto drawn = renderer.callsNamed("drawGuideLine");
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0]->guide, &first);
    EXPECT_EQ(drawn[1]->guide, &second);
    EXPECT_EQ(renderer.guideLines, nullptr);
    EXPECT_EQ(lines.count(), 2);

    renderer.clear();
    ASSERT_TRUE(renderer.render(nullptr, 0, 0, 100, 100, 100, 0, 0));
    EXPECT_EQ(renderer.countOf("drawGuideLine"), 0);
}

TEST(ReRenderer, aFailingBeginSkipsTheFrameAndKeepsTheToolState)
{
    RecordingRenderer renderer;
    MnText text;
    renderer.add(&text);
    renderer.previewNotePath.scoreIndex = 2;
    BcArray<EdGuideLine*> lines;
    renderer.guideLines = &lines;
    renderer.dragEnd = GePoint2d(10, 10);
    renderer.beginResult = false;

    EXPECT_FALSE(renderer.render(nullptr, 0, 0, 100, 100, 100, 0, 0));
    EXPECT_EQ(renderer.countOf("end"), 0);
    EXPECT_EQ(renderer.countOf("drawDashedRect"), 0);
    EXPECT_EQ(renderer.guideLines, &lines);
    EXPECT_EQ(renderer.previewNotePath.scoreIndex, 2);
    EXPECT_EQ(renderer.count(), 1);

    EXPECT_FALSE(renderer.renderSheetPage(nullptr, 0, 0, 0, 0, 100, 100, 100));
    EXPECT_EQ(renderer.countOf("end"), 0);
}

TEST(ReRenderer, addingANewElementEndsTheNotePreview)
{
    RecordingRenderer renderer;
    MnText text;
    renderer.previewNotePath.scoreIndex = 1;
    EXPECT_TRUE(renderer.add(&text));
    EXPECT_EQ(renderer.previewNotePath.scoreIndex, -1);

    renderer.previewNotePath.scoreIndex = 1;
    EXPECT_FALSE(renderer.add(&text));
    EXPECT_EQ(renderer.previewNotePath.scoreIndex, 1);
    EXPECT_TRUE(renderer.remove(&text));
    EXPECT_FALSE(renderer.remove(&text));
}

// Each frame starts from the identity, no extrusion and no pick path; the
// selection and the drag corners carry over.
TEST(ReRenderer, frameResetsTransformsExtrusionAndPickPath)
{
    RecordingRenderer renderer;
    MnText text;
    renderer.add(&text);
    renderer.pushScale(0, 0, 3);
    renderer.extrusionHeight = 2;
    renderer.pickPath.values[0] = 3;
    renderer.dragStart = GePoint2d(1, 1);
    renderer.clear();
    ASSERT_TRUE(renderer.render(nullptr, 0, 0, 100, 100, 100, 0, 0));
    ASSERT_EQ(renderer.calls[0].name, "begin");
    EXPECT_EQ(renderer.calls[0].transform.m00, 1.0);
    EXPECT_EQ(renderer.calls[0].extrusionHeight, 0.0);
    EXPECT_EQ(renderer.transforms.count(), 1);
    EXPECT_TRUE(renderer.pickPath.isUnset());
    EXPECT_EQ(renderer.count(), 1);
    EXPECT_EQ(renderer.dragStart.x, 1.0);
}
