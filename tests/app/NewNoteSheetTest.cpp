#include "ViewMouseFixture.h"

#include "app/UiNewNoteCmd.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnNote.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnStaffChange.h"

namespace {

// A free score and, drawn above it, a sheet music.
class NewNoteSheetTest : public ViewMouseFixture
{
protected:
    void SetUp() override
    {
        ViewMouseFixture::SetUp();
        context.noteInput().inputDuration = 60480;
        loose = makeScore(1, 1);
        ASSERT_TRUE(document.addWork(loose));
        sheet = new MnSheetMusic;
        fillVoice(sheet->score()->staff(0)->measure(0), 0, 1);
        show(sheet);
    }

    // Where an element is drawn, in drawing coordinates.
    GePoint2d drawn(const MnElement* element)
    {
        MarkFinder finder(element);
        MnCache cache;
        finder.render(&document, 0, 0, 300, 800, 600, -1, -1);
        EXPECT_TRUE(finder.found);
        return finder.centre;
    }
    EdNotePath aim(const GePoint2d& point)
    {
        core.view.setCamera(point.x, point.y, 10);
        core.view.drawFrame(-1, -1);
        UiNewNoteCmd tool(core);
        EdNotePath target;
        tool.hitTest(target, UiCommand::Point{400, 300});
        return target;
    }
    MnNote* firstNote(MnScore* score) { return score->staff(0)->measure(0)->voiceChords(0)[0]->note(0); }

    MnScore* loose = nullptr;
    MnSheetMusic* sheet = nullptr;
};

TEST_F(NewNoteSheetTest, ASheetSystemIsFoundWhereItIsDrawnAndItsPageHidesWhatLiesBelow)
{
    // The sheet's first chord, where the renderer drew it.
    EdNotePath target = aim(drawn(firstNote(sheet->score())));
    EXPECT_EQ(1, target.scoreIndex);  // works order: the free score, then the sheet
    EXPECT_EQ(0, target.staffIndex);
    EXPECT_EQ(0, target.measureIndex);
    EXPECT_EQ(0, target.chordIndex);

    // The free score moved so that its first chord lies in the page's margin.
    GePoint2d page;
    ASSERT_TRUE(sheet->pageOrigin(0, page, false));
    const GePoint2d margin(page.x + sheet->pageWidth() - 3, page.y - sheet->pageHeight() + 3);
    const GePoint2d at = drawn(firstNote(loose));
    const GePoint2d from = loose->position();
    ASSERT_TRUE(loose->moveTo(GePoint2d(from.x + margin.x - at.x, from.y + margin.y - at.y)));
    EXPECT_EQ(-1, aim(margin).scoreIndex);
    // Drawn on top, the score is searched first.
    ASSERT_TRUE(document.bringToFront(loose));
    target = aim(margin);
    EXPECT_EQ(0, target.scoreIndex);
    EXPECT_EQ(0, target.chordIndex);
}

}  // namespace

namespace {

TEST_F(NewNoteSheetTest, ChordsOfALaterSystemsFirstMeasureAreFoundPastItsKeyChange)
{
    MnScore* score = sheet->score();
    while (score->staff(0)->measureCount() < 40)
        ASSERT_TRUE(score->insertMeasure(-1));
    MnStaff* staff = score->staff(0);
    for (int m = 0; m < staff->measureCount(); ++m)
        fillVoice(staff->measure(m), 0, 1);
    double stretch = 1.0;
    int second = 0;
    {
        MnCache cache;
        second = sheet->fitSystem(0, stretch);
    }
    ASSERT_GT(second, 0);
    ASSERT_LT(second, staff->measureCount());
    ASSERT_TRUE(staff->insertStaffChange(staff->measureStartTime(second)));
    ASSERT_TRUE(staff->change(0)->setKey(4));
    {
        MnCache cache;
        ASSERT_EQ(second, sheet->fitSystem(0, stretch));
    }
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const EdNotePath target = aim(drawn(staff->measure(second)->voiceChords(0)[i]->note(0)));
        EXPECT_EQ(second, target.measureIndex);
        EXPECT_EQ(i, target.chordIndex);
    }
}

}  // namespace
