#include "model/MnCodes.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"
#include "model/MnTicks.h"
#include "render/ReSystem.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/model/ModelBuilders.h"
#include "tests/render/DrawnShapes.h"

#include <gtest/gtest.h>

namespace {

const double t = 0.2;  // the staff-line thickness of every composer

// A staff of three measures in A major and 4/4 with a change at the second
// measure; the test sets what the change changes.
struct ChangeFixture {
    ChangeFixture() : staffFixture(3)
    {
        staff = staffFixture.staff;
        staff->setKey(3);
        staff->insertStaffChange(changeTime);
        change = staff->change(0);
    }
    StaffFixture staffFixture;
    MnStaff* staff = nullptr;
    MnStaffChange* change = nullptr;
    MnScore& score() { return staffFixture.score; }
    static constexpr int changeTime = MnTicksPerWhole;
};

} // namespace

TEST(ReSystemStaffChanges, clefChangeColumnAndKeyAfterIt)
{
    ChangeFixture fixture;
    fixture.change->setClef(MnClefBass);
    fixture.change->setKey(-2);
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    system.horizontalScale = 0.5;
    system.horizontalPivot = 100;
    system.drawStaffChange(fixture.change, 120, 0, 4);

    // h = compensated x - offset = 106; the clef at 0.75 in the middle of
    // its 6-wide column, then the flats from h + 6 + 1.
    expectGlyphs(renderer, {{"fClef", 109.5, -2, 0.75, 0.75}, {"flat", 114, -6, 1, 1.1}, {"flat", 116, -3, 1, 1.1}});
    auto marks = renderer.callsNamed("markRect");
    ASSERT_EQ(marks.size(), 2u);
    expectNear(marks[0]->args, {106, 0, 6, -8});
    EXPECT_EQ(marks[0]->element, fixture.change);
    const double keyWidth = fixture.score().keySignatureWidth(ChangeFixture::changeTime, true, 2);
    expectNear(marks[1]->args, {112, 0, keyWidth, -8});
    EXPECT_EQ(marks[1]->element, fixture.change);
}

TEST(ReSystemStaffChanges, aChangeToNoKeyCancelsTheKeyBefore)
{
    ChangeFixture fixture;
    fixture.change->setKey(0);
    RecordingRenderer renderer;
    ReSystem(&renderer).drawStaffChange(fixture.change, 50, 0, 0);
    // Only the key changes: no clef column; three naturals where the sharps
    // of A major stood.
    expectGlyphs(renderer, {{"natural", 52, 0, 1, 1}, {"natural", 54, -3, 1, 1}, {"natural", 56, 1, 1, 1}});
    ASSERT_EQ(renderer.countOf("markRect"), 1);
}

TEST(ReSystemStaffChanges, colourBySelection)
{
    ChangeFixture fixture;
    fixture.change->setClef(MnClefAlto);
    for (bool selected : {false, true}) {
        RecordingRenderer renderer;
        if (selected)
            renderer.add(fixture.change);
        ReSystem(&renderer).drawStaffChange(fixture.change, 50, 0, 0);
        auto meshes = renderer.callsNamed("fillMesh");
        ASSERT_EQ(meshes.size(), 1u);
        const int expected[3] = {0, selected ? 127 : 0, selected ? 255 : 0};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(meshes[0]->color[i], expected[i]) << selected;
    }
}

TEST(ReSystemStaffChanges, keyAndTimeChangeInTheirRoom)
{
    ChangeFixture fixture;
    fixture.change->setKey(-2);
    fixture.change->setTimeType(MnTime3_4);
    const int time = ChangeFixture::changeTime;
    MnScore& score = fixture.score();
    const double key0 = score.keySignatureWidth(time, true, 0), key2 = score.keySignatureWidth(time, true, 2);
    const double time0 = score.timeSignatureWidth(time, 0), time2 = score.timeSignatureWidth(time, 2);

    RecordingRenderer renderer;
    ReSystem(&renderer).drawKeyTimeChange(fixture.change, GePoint2d(100, -20), 30);
    const double keyX = 30 + 100 + (key2 - key0);
    const double timeX = 30 + 100 + key2 + (time2 - time0) + time0 / 2;
    expectGlyphs(renderer, {{"flat", keyX + 1, -24, 1, 1.1},
                            {"flat", keyX + 3, -21, 1, 1.1},
                            {"figure3", timeX, -22, 1, 1},
                            {"figure4", timeX, -26 - t / 2, 1, 0.95}});
    auto spans = renderer.callsNamed("markSpan");
    ASSERT_EQ(spans.size(), 1u);
    expectNear(spans[0]->args, {100, -20, 100 + key2 + 30 + time2, -28});
    EXPECT_EQ(spans[0]->element, fixture.change);
}

TEST(ReSystemStaffChanges, aTimeChangeAloneDrawsNoKey)
{
    ChangeFixture fixture;
    fixture.change->setTimeType(MnTime6_8);
    RecordingRenderer renderer;
    ReSystem(&renderer).drawKeyTimeChange(fixture.change, GePoint2d(0, 0), 0);
    auto glyphs = placedGlyphs(renderer);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].name, "figure6");
    EXPECT_EQ(glyphs[1].name, "figure8");
    // The staff itself is no change.
    RecordingRenderer staffRenderer;
    ReSystem(&staffRenderer).drawKeyTimeChange(fixture.staff, GePoint2d(0, 0), 0);
    EXPECT_TRUE(staffRenderer.calls.empty());
}

TEST(ReSystemStaffChanges, clefChangeBeforeTheBarline)
{
    ChangeFixture fixture;
    fixture.change->setClef(MnClefTenor);
    fixture.score().part(0)->setScale(0.5);
    const double d = 6 * 0.5;
    for (bool selected : {false, true}) {
        SCOPED_TRACE(selected ? "selected: selection-coloured staff lines under it" : "not selected");
        RecordingRenderer renderer;
        if (selected)
            renderer.add(fixture.change);
        ReSystem(&renderer).drawClefChange(fixture.change, 80, -10, 2);
        const double left = 80 - 2 - d;
        auto lines = quadBoxes(renderer);
        if (selected) {
            ASSERT_EQ(lines.size(), 5u);
            EXPECT_DOUBLE_EQ(lines[0][0], left);
            EXPECT_DOUBLE_EQ(lines[0][2], left + d + 2);
            for (const auto* line : renderer.callsNamed("fillQuad"))
                EXPECT_EQ(line->color[2], 255);
        } else {
            EXPECT_TRUE(lines.empty());
        }
        expectGlyphs(renderer, {{"cClef", left + d / 2, -12, 0.75, 0.75}});
        auto mesh = renderer.callsNamed("fillMesh");
        EXPECT_EQ(mesh[0]->color[2], selected ? 255 : 0);
        auto spans = renderer.callsNamed("markSpan");
        ASSERT_EQ(spans.size(), 1u);
        expectNear(spans[0]->args, {left, -10, left + d, -18});
    }
    // A change that keeps its clef has no clef change to draw.
    fixture.change->setClef(MnClefTreble);
    fixture.change->setKey(1);
    RecordingRenderer renderer;
    ReSystem(&renderer).drawClefChange(fixture.change, 80, -10, 2);
    EXPECT_TRUE(renderer.calls.empty());
}

TEST(ReSystemStaffChanges, elementSpansAreCompensated)
{
    RecordingRenderer renderer;
    ReSystem system(&renderer);
    system.horizontalScale = 0.5;
    system.horizontalPivot = 100;
    MnScore score;
    system.markElementSpan(GePoint2d(120, 5), 40, -8, &score);
    auto spans = renderer.callsNamed("markSpan");
    ASSERT_EQ(spans.size(), 1u);
    expectNear(spans[0]->args, {110, 5, 130, -3});
    EXPECT_EQ(spans[0]->element, &score);
}
