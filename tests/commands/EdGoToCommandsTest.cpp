#include "EdCommandFixture.h"

#include "commands/EdGoToCommands.h"
#include "model/MnSheetMusic.h"

#include <vector>

namespace {

class EdGoToCommandsTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        sheet = new MnSheetMusic();
        sheet->setScore(makeScore(2, 4));
        ASSERT_TRUE(document.addWork(sheet));
        restartHistory();
        score = sheet->score();
        context.confirmDialogs = true;
        context.goToAnswer = 3;
    }

    MnMeasure* measure(int staff, int index) { return score->staff(staff)->measure(index); }

    MnSheetMusic* sheet = nullptr;
    MnScore* score = nullptr;
};

}

TEST_F(EdGoToCommandsTest, theSelectionOrTheCursorChoosesTheStaves)
{
    struct Case
    {
        const char* name;
        std::vector<MnElement*> selected;
        MnStaff* cursorStaff;
        std::vector<MnElement*> expected;
        MnStaff* cursorAfter;
    } cases[] = {
        {"a staff: its measure only", {score->staff(1)}, nullptr, {measure(1, 2)}, score->staff(1)},
        {"a score: every staff", {score}, nullptr, {measure(0, 2), measure(1, 2)}, score->staff(0)},
        {"a sheet music: every staff of its score", {sheet}, nullptr, {measure(0, 2), measure(1, 2)},
         score->staff(0)},
        {"other elements are passed over", {measure(0, 0)->voiceChords(0)[0], score->staff(1)}, nullptr,
         {measure(1, 2)}, score->staff(1)},
        {"nothing selected: the cursor's staff", {}, score->staff(1), {measure(1, 2)}, score->staff(1)},
        {"no cursor: the main score", {}, nullptr, {measure(0, 2), measure(1, 2)}, score->staff(0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        selection().clear();
        for (MnElement* element : c.selected)
            selection().add(element);
        EdCursor& cursor = context.view.cursor();
        cursor.staffSelection().clear();
        if (c.cursorStaff) {
            ASSERT_TRUE(cursor.setAtStaffStart(c.cursorStaff, 0));
        }
        context.noteInput().inputVoice = 1;

        EdGoToCommands::cmdGoTo();
        EXPECT_EQ(context.goToHighest, 4);
        EXPECT_EQ(context.goToInitial, 1);
        ASSERT_EQ(selection().count(), int(c.expected.size()));
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(selection().element(int(i)), c.expected[i]);
        EXPECT_EQ(cursor.staff(), c.cursorAfter);
        EXPECT_EQ(cursor.voice(), 1);
        EXPECT_EQ(cursor.time(), c.cursorAfter->measureStartTime(2));
        EXPECT_EQ(context.view.lastGoTo, c.cursorAfter->measure(2));
    }
    EXPECT_EQ(steps(), 0);
    EXPECT_TRUE(context.hints.empty());
}

TEST_F(EdGoToCommandsTest, nothingToGoToOrNoValidMeasureLeavesEverythingAlone)
{
    struct Case
    {
        const char* name;
        bool noScore;
        bool confirm;
        int answer;
        int dialogs;
        bool hint;
    } cases[] = {
        {"no selection, cursor or main score: hint, no dialog", true, true, 3, 0, true},
        {"cancel", false, false, 3, 1, false},
        {"a number below 1", false, true, 0, 1, false},
        {"a number above the highest", false, true, 5, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        context.hints.clear();
        context.goToDialogs = 0;
        ASSERT_TRUE(document.setMainScoreIndex(c.noScore ? -1 : 1));
        context.confirmDialogs = c.confirm;
        context.goToAnswer = c.answer;
        MnMeasure* kept = measure(0, 0);
        select({kept->voiceChords(0)[0]});
        ASSERT_TRUE(context.view.cursor().setAtMeasureStart(measure(0, 3), 0));
        context.view.cursor().setPosition(score->staff(0)->totalTicks(), 0, false);

        EdGoToCommands::cmdGoTo();
        EXPECT_EQ(context.goToDialogs, c.dialogs);
        EXPECT_EQ(context.hints, c.hint ? std::vector<unsigned>{33020} : std::vector<unsigned>{});
        ASSERT_EQ(selection().count(), 1);
        EXPECT_EQ(selection().element(0), kept->voiceChords(0)[0]);
        EXPECT_EQ(context.view.cursor().time(), score->staff(0)->totalTicks());
        EXPECT_EQ(context.view.lastGoTo, nullptr);
    }
}
