#include "model/MnStaffDefinition.h"
#include "render/RePicker.h"
#include "tests/render/ComposeFixtures.h"
#include "tests/render/ShowcaseSheet.h"

#include <gtest/gtest.h>

// Picking through a whole frame: the point at the middle of a mark the
// composers make answers that mark's element and pick path.

static GePoint2d middleOf(const RecordingRenderer::Call& mark)
{
    return mark.transform.transform(GePoint2d(mark.args[0] + mark.args[2] / 2, mark.args[1] + mark.args[3] / 2));
}

TEST(ReSystemPicking, aPointAnswersTheElementAndPathDrawnThere)
{
    // Another work, out of view, first in works order: the score is work 1.
    QuorvaneDocument document;
    MnScore* other = new MnScore;
    other->moveTo(GePoint2d(5000.0, 5000.0));
    document.addWork(other);
    MnScore* score = new MnScore;
    while (score->staffCount() < 2)
        score->insertStaff(-1);
    while (score->staff(0)->measureCount() < 2)
        score->insertMeasure(-1);
    score->moveTo(GePoint2d(0.0, 0.0));
    document.addWork(score);
    MnStaff* staff = score->staff(0);
    for (int i = 0; i < 4; ++i)
        writeNote(staff->measure(0), 0, i * MnTicksQuarter, 6, 4, MnTicksQuarter);
    MnChord* chord = staff->measure(0)->voiceChords(0)[0];
    ASSERT_FALSE(chord->isRest());
    MnDynamic* hairpin =
        addLine<MnDynamic>(staff, MnDynamicCrescendoHairpin, MnTicksQuarter, 2 * MnTicksQuarter, -14.0);
    ASSERT_NE(hairpin, nullptr);
    MnLyric* lyric = staff->addLyric(0, 0);
    ASSERT_NE(lyric, nullptr);
    ASSERT_TRUE(lyric->setText(BcString("la li lo")));
    lyric->moveTo(GePoint2d(0.0, -24.0));

    RecordingRenderer recorder;
    const double cx = 40, cy = -20, width = 200;
    renderFrame(recorder, document, cx, cy, width);

    struct Row {
        const char* name;
        const RecordingRenderer::Call* mark;
        GePoint2d nudge;  // from the mark's middle
        const MnElement* element;
        std::vector<int> path;
    };
    std::vector<Row> rows;
    const auto head = marksOf(recorder, chord->note(0));
    ASSERT_FALSE(head.empty());
    rows.push_back({"notehead", head[0], GePoint2d(), chord->note(0), {}});
    const MnStaffDefinition* definition = score->staff(1)->definitionAt(0, false);
    for (const auto* mark : marksOf(recorder, definition)) {
        if (mark->pickPath.kind() == 0) {
            // Left in the header, clear of the clef drawn over its middle.
            const double left = mark->args[2] / 2 - 0.5;
            rows.push_back({"header of staff 1", mark, GePoint2d(-left, 0), definition, {0, 1, 1, 0, -1, -1, -1, -1}});
        }
    }
    for (const auto* mark : marksOf(recorder, hairpin)) {
        if (mark->pickPath.level(6) == 1)
            rows.push_back({"hairpin end", mark, GePoint2d(), hairpin, {1, 1, 0, 0, 0, 2, 1, -1}});
    }
    for (const auto* mark : marksOf(recorder, lyric)) {
        if (mark->pickPath.level(6) == 1)
            rows.push_back({"second syllable", mark, GePoint2d(), lyric, {2, 1, 0, 0, 0, 2, 1, -1}});
    }
    ASSERT_EQ(rows.size(), 4u);

    for (const Row& row : rows) {
        // The recorded path is the one the composer set.
        for (size_t i = 0; i < row.path.size(); ++i)
            EXPECT_EQ(row.mark->pickPath.level(int(i)), row.path[i]) << row.name << " level " << i;
        RePicker picker;
        const GePoint2d middle = middleOf(*row.mark);
        picker.setPickPoint(GePoint2d(middle.x + row.nudge.x, middle.y + row.nudge.y));
        picker.render(&document, cx, cy, width, 1000.0, 1000.0, 0, 0);
        EXPECT_EQ(picker.hitElement, row.element) << row.name;
        for (size_t i = 0; i < row.path.size(); ++i)
            EXPECT_EQ(picker.hitPath.level(int(i)), row.path[i]) << row.name << " level " << i;
    }
}
