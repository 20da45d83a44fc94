#include "app/UiQuorvaneViewCore.h"

#include "common/EdFakeContext.h"
#include "editing/EdCommand.h"
#include "editing/EdTestScores.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A window of 800 x 600 whose clock moves 16 ms at every reading; it
// records the sheet's turn angle at every frame.
class TurnWindow : public UiViewWindow
{
public:
    unsigned long long tickCount() override { return clock += 16; }
    void clientSize(int& w, int& h) override
    {
        w = 800;
        h = 600;
    }
    void pointer(int& x, int& y) override
    {
        x = -1;
        y = -1;
    }
    void present(const UiViewFrame&) override
    {
        ++frames;
        if (sheet)
            angles.push_back(sheet->turnAngle());
    }
    unsigned long long clock = 1000;
    int frames = 0;
    MnSheetMusic* sheet = nullptr;
    std::vector<double> angles;
};

MnSheetMusic* sheetOf(QuorvaneDocument& document)
{
    for (int i = 0; i < document.works().count(); ++i) {
        MnElement* work = document.works()[i];
        if (work && work->isKindOf(MnSheetMusic::staticClass()))
            return static_cast<MnSheetMusic*>(work);
    }
    return nullptr;
}

// A book of one page per measure, twelve measures.
class ViewGoToTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(document.OnNewDocument());
        sheet = new MnSheetMusic;
        ASSERT_TRUE(document.addWork(sheet));
        MnStaff* staff = sheet->score()->staff(0);
        while (staff->measureCount() < 12)
            sheet->score()->insertMeasure(-1);
        for (int i = 0; i < 12; ++i)
            staff->measure(i)->setSystemBreak(MnSystemBreakPage);
        sheet->setPresentation(MnSheetMusic::Book);
        sheet->setCurrentPage(0);
        context.activate(&document);
        document.clearUndo();
        ASSERT_TRUE(document.pushUndoSnapshot());
        document.SetModifiedFlag(false);
        window.sheet = sheet;
    }
    MnMeasure* measure(int index) { return sheet->score()->staff(0)->measure(index); }

    EdFakeContext context;
    QuorvaneDocument document;
    MnSheetMusic* sheet = nullptr;
    TurnWindow window;
    UiViewCore core{window, &document};
};

TEST_F(ViewGoToTest, PagesTurnOneSpreadAtATimeAndAreRecordedAsAsked)
{
    const int firstSpread = sheet->spreadFirstPage();
    const int target = sheet->locateMeasure(7, nullptr, nullptr, nullptr);
    ASSERT_GT(target, firstSpread + 1);
    struct Case { const char* name; bool withEdit; bool modified; };
    for (const Case& c : {Case{"an edit", true, true}, Case{"tracking", false, false}}) {
        SCOPED_TRACE(c.name);
        // A cancelled edit reads the document back: new elements.
        sheet = sheetOf(document);
        ASSERT_NE(sheet, nullptr);
        window.sheet = sheet;
        sheet->setCurrentPage(0);
        window.angles.clear();
        EdCommand edit;
        core.goTo(measure(7), c.withEdit ? &edit : nullptr, false);
        const int spread = sheet->spreadFirstPage();
        EXPECT_TRUE(target == spread || target == spread + 1);
        // Every turn is half a second: 0.5 s / 16 ms frames, about 31 each.
        int turnFrames = 0;
        for (double angle : window.angles)
            turnFrames += angle != 0;
        const int turns = (spread - firstSpread) / 2;
        EXPECT_GE(turns, 1);
        EXPECT_NEAR(turns * 31, turnFrames, turns * 2);
        EXPECT_EQ(0.0, sheet->turnAngle());
        EXPECT_EQ(c.modified, edit.modified);
        edit.cancel = true;
        EXPECT_FALSE(document.IsModified());
    }
}

TEST_F(ViewGoToTest, AMeasureOnTheShownSpreadIsOneFlightWithoutTurning)
{
    EdCommand edit;
    core.goTo(measure(0), &edit, true);
    for (double angle : window.angles)
        EXPECT_EQ(0.0, angle);
    EXPECT_FALSE(edit.modified);
    EXPECT_EQ(0, sheet->currentPage());
    EXPECT_NE(0u, core.lastActivityTick());
    // The camera ends on the measure's system.
    GePoint2d corner1;
    GePoint2d corner2;
    ASSERT_TRUE(core.findElementBox(corner1, corner2, GePoint2d(), measure(0)));
    EXPECT_DOUBLE_EQ((corner1.x + corner2.x) / 2, core.view.scrollX);
    EXPECT_DOUBLE_EQ((corner1.y + corner2.y) / 2, core.view.scrollY);
    edit.cancel = true;
}

TEST(ViewGoToDeskTest, ADeskScoreIsShownWithThreeTimesItsHeight)
{
    EdFakeContext context;
    QuorvaneDocument document;
    ASSERT_TRUE(document.OnNewDocument());
    MnScore* score = makeScore(2, 4);
    ASSERT_TRUE(document.addWork(score));
    context.activate(&document);
    TurnWindow window;
    UiViewCore core(window, &document);
    core.goTo(score->staff(1)->measure(2), nullptr, false);
    const double height = score->height() * score->scale();
    EXPECT_NEAR(score->position().y - height / 2, core.view.scrollY, 1e-9);
    // Height fit: 3 heights tall, or wider when the measures are.
    EXPECT_GE(core.view.zoom * 600 / 800, 3 * height - 1e-9);
    EXPECT_EQ(0u, core.lastActivityTick());
    // No measure: only a frame.
    const int frames = window.frames;
    core.goTo(nullptr, nullptr, false);
    EXPECT_EQ(frames + 1, window.frames);
}

}  // namespace
