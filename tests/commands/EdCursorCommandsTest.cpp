#include "EdCommandFixture.h"

#include "commands/EdCursorCommands.h"
#include "model/MnCache.h"
#include "model/MnSheetMusic.h"

#include <vector>

namespace {

class EdCursorCommandsTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        score = addScore(makeScore(1, 4));
        staff = score->staff(0);
    }

    MnChord* chord(int measure, int index) { return staff->measure(measure)->voiceChords(0)[index]; }

    void putCursorAt(MnChord* at)
    {
        ASSERT_TRUE(context.view.cursor().setAtChord(at, 0, false));
        select({});
    }

    std::vector<MnElement*> selected()
    {
        std::vector<MnElement*> out;
        for (int i = 0; i < selection().count(); ++i)
            out.push_back(selection().element(i));
        return out;
    }

    // The selected elements as a set, whatever their order.
    bool selects(std::initializer_list<MnElement*> expected)
    {
        if (selection().count() != int(expected.size()))
            return false;
        for (MnElement* element : expected) {
            if (!selection().contains(element))
                return false;
        }
        return true;
    }

    MnScore* score = nullptr;
    MnStaff* staff = nullptr;
};

}

TEST_F(EdCursorCommandsTest, rightAtTheEndLeavesTheSelectionAlone)
{
    putCursorAt(chord(3, 3));
    select({chord(0, 0)->note(0)});
    EdCursorCommands::moveCursorRight();
    EXPECT_EQ(selected(), std::vector<MnElement*>{chord(0, 0)->note(0)});
    EXPECT_EQ(context.view.cursor().time(), staff->measureStartTime(3) + chord(3, 3)->time());
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdCursorCommandsTest, shiftExtendsFromTheAnchorAndBackAgain)
{
    putCursorAt(chord(0, 1));
    EdCursorCommands::moveCursorRight();
    EXPECT_TRUE(selects({chord(0, 2)->note(0)}));

    context.shift = true;
    for (int i = 0; i < 3; ++i)
        EdCursorCommands::moveCursorRight();
    EXPECT_TRUE(selects({chord(0, 2)->note(0), chord(0, 3)->note(0), chord(1, 0)->note(0), chord(1, 1)->note(0)}));
    EdCursorCommands::moveCursorLeft();
    EXPECT_TRUE(selects({chord(0, 2)->note(0), chord(0, 3)->note(0), chord(1, 0)->note(0)}));
    // Back past the anchor the range lies before it.
    for (int i = 0; i < 3; ++i)
        EdCursorCommands::moveCursorLeft();
    EXPECT_TRUE(selects({chord(0, 1)->note(0), chord(0, 2)->note(0)}));
    EXPECT_EQ(steps(), 0);
}

TEST_F(EdCursorCommandsTest, aRestInTheRangeIsSelectedItselfAGraceRestIsNot)
{
    MnMeasure* measure = staff->measure(0);
    BcArray<MnChord*>& chords = measure->voiceChords(0);
    delete chords[1];
    chords[1] = new MnChord(measure, 0, 60480, 60480);
    MnChord* graceRest = new MnChord(measure, 0, 120960, 15120);
    graceRest->setGrace(true);
    chords.insertAt(2, graceRest);
    restartHistory();

    // Ctrl+Shift+Right: from the first chord to the next measure's first.
    putCursorAt(chords[0]);
    context.shift = true;
    context.ctrl = true;
    EdCursorCommands::moveCursorRight();
    EXPECT_TRUE(selects({chords[0]->note(0), chords[1], chords[3]->note(0), chords[4]->note(0), chord(1, 0)->note(0)}));
    EXPECT_FALSE(selection().contains(graceRest));
}

TEST_F(EdCursorCommandsTest, ctrlMovesByMeasure)
{
    EdCursor& cursor = context.view.cursor();
    struct Case
    {
        const char* name;
        MnChord* from;
        bool right;
        int presses;
        int expectedTime;
    } cases[] = {
        {"left mid measure: its first chord", chord(2, 2), false, 1, staff->measureStartTime(2)},
        {"left again: the previous measure's first", chord(2, 2), false, 2, staff->measureStartTime(1)},
        {"left in the first measure's start: no move", chord(0, 0), false, 1, 0},
        {"right: the next measure's first chord", chord(1, 2), true, 1, staff->measureStartTime(2)},
        {"right in the last measure: its last chord", chord(3, 1), true, 1,
         staff->measureStartTime(3) + chord(3, 3)->time()},
    };
    context.ctrl = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        putCursorAt(c.from);
        for (int i = 0; i < c.presses; ++i)
            c.right ? EdCursorCommands::moveCursorRight() : EdCursorCommands::moveCursorLeft();
        EXPECT_EQ(cursor.time(), c.expectedTime);
        EXPECT_EQ(cursor.voice(), 0);
    }

    // A cursor without a voice, or a voice empty in the target measure, stays.
    putCursorAt(chord(2, 2));
    cursor.setVoice(-1);
    EdCursorCommands::moveCursorLeft();
    EXPECT_EQ(cursor.time(), staff->measureStartTime(2) + chord(2, 2)->time());
    BcArray<MnChord*>& second = staff->measure(1)->voiceChords(0);
    for (int i = 0; i < second.count(); ++i)
        delete second[i];
    second.removeAll();
    putCursorAt(chord(0, 1));
    EdCursorCommands::moveCursorRight();
    EXPECT_EQ(cursor.time(), chord(0, 1)->time());
}

TEST_F(EdCursorCommandsTest, tabStepsThroughTheChordAndWraps)
{
    MnScore* triads = addScore(makeScore(1, 1, 3));
    MnChord* triad = triads->staff(0)->measure(0)->voiceChords(0)[0];
    ASSERT_EQ(triad->noteCount(), 3);
    struct Case
    {
        const char* name;
        int from;
        bool back;
        int to;
    } cases[] = {
        {"the top note wraps to the lowest", 2, false, 0},
        {"up one", 0, false, 1},
        {"back from the lowest wraps to the top", 0, true, 2},
        {"back one", 2, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        context.shift = c.back;
        select({chord(0, 0), triad->note(c.from)});
        EdCursorCommands::selectNextNoteInChord();
        EXPECT_EQ(selected(), std::vector<MnElement*>{triad->note(c.to)});
    }
    // A note alone in its chord is no place to step from.
    context.shift = false;
    select({chord(0, 0)->note(0)});
    EdCursorCommands::selectNextNoteInChord();
    EXPECT_EQ(selected(), std::vector<MnElement*>{chord(0, 0)->note(0)});
}

namespace {

// A long score in a sheet music shown as a book.
class EdPageTurnTest : public EdCommandFixture
{
protected:
    void SetUp() override
    {
        EdCommandFixture::SetUp();
        sheet = new MnSheetMusic();
        sheet->setScore(makeScore(2, 200));
        sheet->setPresentation(MnSheetMusic::Book);
        ASSERT_TRUE(document.addWork(sheet));
        restartHistory();
        MnCache layout;
        pages = sheet->pageCount();
        ASSERT_GE(pages, 6);
        context.view.onRedraw = [this] { angles.push_back(sheet->turnAngle()); };
    }

    MnSheetMusic* sheet = nullptr;
    int pages = 0;
    std::vector<double> angles;
};

}

TEST_F(EdPageTurnTest, theEdgesDoNothing)
{
    sheet->setCurrentPage(pages - 1);
    restartHistory();
    EdCursorCommands::cmdNextPage();
    EXPECT_EQ(sheet->currentPage(), pages - 1);
    sheet->setCurrentPage(0);
    restartHistory();
    EdCursorCommands::cmdPreviousPage();
    EXPECT_EQ(sheet->currentPage(), 0);
    EXPECT_EQ(steps(), 0);
    EXPECT_TRUE(angles.empty());
}

TEST_F(EdPageTurnTest, previousPageLandsOnTheFirstPageOfTheSpreadBefore)
{
    struct Case
    {
        bool firstPageRight;
        int from;
        int to;
    } cases[] = {{true, 3, 1}, {true, 5, 3}, {true, 1, 0}, {false, 4, 2}, {false, 2, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.firstPageRight << " " << c.from);
        sheet->setFirstPageRight(c.firstPageRight);
        sheet->setCurrentPage(c.from);
        restartHistory();
        EdCursorCommands::cmdPreviousPage();
        EXPECT_EQ(sheet->currentPage(), c.to);
        EXPECT_EQ(steps(), 1);
    }
}

TEST_F(EdPageTurnTest, withoutASheetTheCommandsHint)
{
    MnScore* plain = addScore(makeScore(1, 1));
    ASSERT_TRUE(document.setMainScoreIndex(document.works().indexOf(plain)));
    select({plain});
    EdCursorCommands::cmdPreviousPage();
    EdCursorCommands::cmdNextPage();
    EXPECT_EQ(context.hints, (std::vector<unsigned>{EdCursorCommands::previousPageId, EdCursorCommands::nextPageId}));
    // A selected sheet music is turned even so.
    select({sheet});
    EdCursorCommands::cmdNextPage();
    EXPECT_EQ(context.hints.size(), 2u);
    EXPECT_GT(sheet->currentPage(), 0);
}

TEST_F(EdPageTurnTest, theTurnIsDrawnOverHalfASecond)
{
    struct Case
    {
        const char* name;
        bool back;
        bool paused;
    } cases[] = {{"next page while playing", false, false}, {"previous page while paused", true, true}};
    MnScore* other = addScore(makeScore(1, 1));
    context.clockStep = 50;
    context.playing = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        angles.clear();
        context.paneRefreshes = 0;
        context.paused = c.paused;
        context.playerOpen = true;
        sheet->setCurrentPage(2);
        document.bringToFront(other);
        c.back ? EdCursorCommands::cmdPreviousPage() : EdCursorCommands::cmdNextPage();
        // 50 ms a pass: a tenth of the turn each time.
        // Then the closing edit draws the page at rest.
        ASSERT_GE(angles.size(), 10u) << testing::PrintToString(angles);
        EXPECT_EQ(angles.back(), 0.0);
        for (size_t i = 0; i < 9; ++i) {
            const double expected = c.back ? 180.0 - 18.0 * double(i + 1) : 18.0 * double(i + 1);
            EXPECT_NEAR(angles[i], expected, 1e-6);
        }
        EXPECT_EQ(sheet->turnAngle(), 0.0);
        EXPECT_EQ(context.paneRefreshes, c.paused ? 0 : 9);
        EXPECT_EQ(document.displayOrder()[document.displayOrder().count() - 1], sheet);
    }
}
