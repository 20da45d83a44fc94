#include "EdCommandFixture.h"

#include "commands/EdClipboardCommands.h"
#include "editing/EdClipboard.h"
#include "model/MnSheetMusic.h"

namespace {

class EdClipboardCommandsTest : public EdCommandFixture
{
protected:
    MnChord* chord(int staff, int measure, int voice, int index)
    {
        return score->staff(staff)->measure(measure)->voiceChords(voice)[index];
    }

    MnScore* score = nullptr;
};

}

TEST_F(EdClipboardCommandsTest, copyWithNothingSelectedEmptiesTheClipboardAndRecordsNothing)
{
    score = addScore(makeScore(1, 2));
    select({chord(0, 0, 0, 0)->note(0)});
    EdClipboardCommands::cmdCopy();
    ASSERT_EQ(context.clipboard().notes().count(), 1);
    select({});
    EdClipboardCommands::cmdCopy();
    EXPECT_EQ(context.clipboard().notes().count(), 0);
    EXPECT_EQ(context.clipboard().cloneCount(), 0);
    EXPECT_EQ(steps(), 0);
    EXPECT_FALSE(document.IsModified());
}

TEST_F(EdClipboardCommandsTest, cutOfNotesAndAMeasureCopiesTheMeasureRangeAndDeletesBothInOneStep)
{
    score = addScore(makeScore(1, 4));
    MnChord* first = chord(0, 0, 0, 0);
    select({first->note(0), score->staff(0)->measure(2)});
    EdClipboardCommands::cmdCut();
    ASSERT_EQ(context.clipboard().cloneCount(), 1);
    EXPECT_EQ(context.clipboard().notes().count(), 0);
    const MnScore* clone = static_cast<const MnScore*>(context.clipboard().clone(0));
    EXPECT_EQ(clone->staff(0)->measureCount(), 1) << "the measure; notes beside other elements are not copied";
    EXPECT_EQ(score->staff(0)->measureCount(), 3);
    EXPECT_TRUE(chord(0, 0, 0, 0)->isRest());
    EXPECT_EQ(steps(), 1);
}

TEST_F(EdClipboardCommandsTest, notesPasteAtTheCursorInOneStepAndBecomeTheSelection)
{
    score = addScore(makeScore(1, 2));
    select({chord(0, 0, 0, 0)->note(0), chord(0, 0, 0, 1)->note(0)});
    EdClipboardCommands::cmdCopy();
    MnStaff* staff = score->staff(0);
    fillVoice(staff->measure(1), 0, 0);
    restartHistory();

    EdCursor& cursor = context.view.cursor();
    ASSERT_TRUE(cursor.setAtStaffStart(staff, 0));
    cursor.setPosition(staff->totalTicks(), 0, false);
    EdClipboardCommands::cmdPaste();
    EXPECT_EQ(steps(), 0) << "a cursor at the staff's end pastes nothing";
    EXPECT_EQ(selection().count(), 2);

    cursor.setPosition(staff->measureStartTime(1), 0, false);
    EdClipboardCommands::cmdPaste();
    EXPECT_EQ(steps(), 1);
    MnMeasure* target = staff->measure(1);
    ASSERT_EQ(selection().count(), 2);
    EXPECT_EQ(selection().element(0), chordAt(target, 0, 0)->note(0));
    EXPECT_EQ(selection().element(1), chordAt(target, 0, 60480)->note(0));
    EXPECT_EQ(context.view.pendingTool, nullptr);
}

TEST_F(EdClipboardCommandsTest, aCopiedScoreWritesItsMusicAtTheCursor)
{
    score = addScore(makeScore(1, 2));
    select({score->staff(0)->measure(0)});
    EdClipboardCommands::cmdCopy();
    MnStaff* staff = score->staff(0);
    fillVoice(staff->measure(1), 0, 0);
    restartHistory();
    ASSERT_TRUE(context.view.cursor().setAtMeasureStart(staff->measure(1), 0));
    EdClipboardCommands::cmdPaste();
    EXPECT_EQ(steps(), 1);
    EXPECT_EQ(document.works().count(), 2);
    EXPECT_FALSE(chordAt(staff->measure(1), 0, 0)->isRest());
}

// Without a usable cursor the score goes to the placing tool as a new work:
// cancelling the tool leaves the document as it was, a click records it.
TEST_F(EdClipboardCommandsTest, aCopiedScoreWithoutAUsableCursorIsPlacedAsANewWork)
{
    struct Case
    {
        const char* name;
        bool cursorInTuplet;
        bool confirm;
    } cases[] = {
        {"no cursor, cancelled", false, false},
        {"no cursor, placed", false, true},
        {"cursor inside a tuplet, placed", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(document.OnNewDocument());
        score = addScore(makeScore(1, 2));
        select({score->staff(0)->measure(0)});
        EdClipboardCommands::cmdCopy();
        MnMeasure* second = score->staff(0)->measure(1);
        context.view.cursor().staffSelection().clear();
        if (c.cursorInTuplet) {
            fillVoice(second, 0, 0);
            ASSERT_TRUE(second->makeTuplet(0, 0, 60480, 3, false));
            restartHistory();
            ASSERT_TRUE(context.view.cursor().setAtMeasureStart(second, 0));
            context.view.cursor().setPosition(second->startTime() + 20160, 0, false);
        }
        const BcArray<unsigned char> before = bytes();

        EdClipboardCommands::cmdPaste();
        ASSERT_NE(context.view.pendingTool, nullptr);
        ASSERT_EQ(document.works().count(), 3);
        MnScore* made = static_cast<MnScore*>(document.works()[2]);
        EXPECT_EQ(context.view.placedElement, made->staff(0)) << "a score is placed by its first staff";
        if (c.confirm) {
            ASSERT_TRUE(context.view.confirmPendingTool());
            EXPECT_EQ(steps(), 1);
            EXPECT_EQ(document.works().count(), 3);
        } else {
            ASSERT_TRUE(context.view.discardPendingTool());
            EXPECT_EQ(steps(), 0);
            EXPECT_TRUE(sameBytes(bytes(), before));
        }
    }
}

TEST_F(EdClipboardCommandsTest, aSheetMusicAlwaysBecomesANewWorkAndPastesAgain)
{
    MnSheetMusic* sheet = new MnSheetMusic();
    sheet->setScore(makeScore(1, 2));
    ASSERT_TRUE(document.addWork(sheet));
    restartHistory();
    select({sheet});
    EdClipboardCommands::cmdCopy();
    ASSERT_EQ(context.clipboard().cloneCount(), 1);
    ASSERT_TRUE(context.view.cursor().setAtStaffStart(sheet->score()->staff(0), 0));

    for (int paste = 1; paste <= 2; ++paste) {
        EdClipboardCommands::cmdPaste();
        ASSERT_TRUE(context.view.confirmPendingTool()) << paste;
        ASSERT_EQ(document.works().count(), 2 + paste);
        MnElement* made = document.works()[1 + paste];
        ASSERT_TRUE(made->isKindOf(MnSheetMusic::staticClass()));
        EXPECT_EQ(context.view.placedElement, made);
        EXPECT_NE(static_cast<MnSheetMusic*>(made)->score(), nullptr);
    }
    EXPECT_EQ(steps(), 2);
    EXPECT_EQ(context.clipboard().cloneCount(), 1);
}

TEST_F(EdClipboardCommandsTest, pasteItemsCopiesEveryCloneAndKeepsThem)
{
    score = addScore(makeScore(1, 1));
    EdClipboard clipboard;
    EdSelection made;
    EXPECT_FALSE(clipboard.pasteItems(&made)) << "empty";
    select({score->staff(0)});
    ASSERT_TRUE(clipboard.copy(selection()));
    EXPECT_FALSE(clipboard.pasteItems(nullptr)) << "no one would own the works";
    ASSERT_TRUE(clipboard.pasteItems(&made));
    ASSERT_TRUE(clipboard.pasteItems(&made));
    ASSERT_EQ(made.count(), 2);
    EXPECT_NE(made.element(0), made.element(1));
    EXPECT_EQ(static_cast<MnScore*>(made.element(0))->staff(0)->measureCount(), 1);
    delete made.element(1);
    delete made.element(0);
    EXPECT_EQ(clipboard.cloneCount(), 1);
}
