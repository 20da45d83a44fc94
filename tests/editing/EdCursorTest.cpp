#include "EdTestScores.h"

#include "editing/EdCursor.h"
#include "foundation/BcClass.h"

#include <gtest/gtest.h>

TEST(EdCursor, StartsBehindTheGraceChordsThatOpenTheVoice)
{
    MnScore* score = makeScore(1, 2);
    MnStaff* staff = score->staff(0);
    addGraceChords(staff->measure(0), 0, 0, 2);
    struct Row
    {
        int voice;
        int graceIndex;
    };
    for (Row row : {Row{0, 2}, Row{1, 0}, Row{-1, 0}, Row{5, 0}}) {
        EdCursor cursor;
        cursor.setPosition(99, 3, false);
        EXPECT_TRUE(cursor.setAtStaffStart(staff, row.voice));
        EXPECT_EQ(cursor.staff(), staff);
        EXPECT_EQ(cursor.voice(), row.voice);
        EXPECT_EQ(cursor.time(), 0);
        EXPECT_EQ(cursor.graceIndex(), row.graceIndex) << row.voice;
        EXPECT_EQ(cursor.anchorTime(), 0);
        EXPECT_EQ(cursor.anchorGraceIndex(), row.graceIndex);
    }
    delete score;
}

TEST(EdCursor, AnExtendingMoveKeepsTheAnchor)
{
    EdCursor cursor;
    cursor.setPosition(60480, 0, false);
    cursor.setPosition(120960, 1, true);
    EXPECT_EQ(cursor.time(), 120960);
    EXPECT_EQ(cursor.graceIndex(), 1);
    EXPECT_EQ(cursor.anchorTime(), 60480);
    EXPECT_EQ(cursor.anchorGraceIndex(), 0);
    cursor.setPosition(0, 0, false);
    EXPECT_EQ(cursor.anchorTime(), 0);
}

TEST(EdCursor, LosesItsStaffWhenTheStaffDies)
{
    MnScore* score = makeScore(2, 1);
    EdCursor cursor;
    cursor.setAtStaffStart(score->staff(1), 0);
    ASSERT_EQ(cursor.staff(), score->staff(1));
    delete score;
    EXPECT_EQ(cursor.staff(), nullptr);

    EdCursor unplaced;
    EXPECT_EQ(unplaced.staff(), nullptr);
    EXPECT_EQ(unplaced.voice(), -1);
    BcObject* made = EdCursor::staticClass()->createObject();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->isKindOf(EdCursor::staticClass()));
    delete made;
}

struct CursorStep
{
    const char* name;
    bool next;
    int time;
    int graceIndex;
};

// Walks the cursor through the steps; each must land where the row says and
// answer the chord that stands there.
static void walk(EdCursor& cursor, std::initializer_list<CursorStep> steps)
{
    for (const CursorStep& step : steps) {
        MnChord* chord = step.next ? cursor.moveNext(false) : cursor.movePrevious(false);
        ASSERT_NE(chord, nullptr) << step.name;
        EXPECT_EQ(cursor.time(), step.time) << step.name;
        EXPECT_EQ(cursor.graceIndex(), step.graceIndex) << step.name;
        EXPECT_EQ(chord->measure()->startTime() + chord->time(), step.time) << step.name;
        EXPECT_EQ(chord->isGrace(), step.graceIndex > 0) << step.name;
    }
}

TEST(EdCursor, StepsThroughGraceChordsOnePositionAtATime)
{
    MnScore* score = makeScore(1, 2);
    MnStaff* staff = score->staff(0);
    addGraceChords(staff->measure(0), 0, 0, 2);
    EdCursor cursor;
    cursor.setAtStaffStart(staff, 0);
    ASSERT_EQ(cursor.graceIndex(), 2);
    walk(cursor, {
                     {"to the second grace chord", true, 0, 1},
                     {"to the main chord", true, 0, 0},
                     {"to the next chord", true, 60480, 0},
                     {"back to the main chord", false, 0, 0},
                     {"back to the grace chord before it", false, 0, 1},
                     {"back to the first grace chord", false, 0, 2},
                 });
    EXPECT_EQ(cursor.movePrevious(false), nullptr);
    EXPECT_EQ(cursor.time(), 0);
    EXPECT_EQ(cursor.graceIndex(), 2);
    delete score;
}

TEST(EdCursor, GraceChordsAtTheEndOfAMeasureBelongToTheNextMeasuresFirstChord)
{
    MnScore* score = makeScore(1, 2);
    MnStaff* staff = score->staff(0);
    MnMeasure* first = staff->measure(0);
    MnChord* grace = new MnChord(first, 0, first->length(), 15120);
    grace->setGrace(true);
    grace->addNote(4, 5, 3, false);
    first->voiceChords(0).add(grace);
    EdCursor cursor;
    ASSERT_TRUE(cursor.setAtChord(first->voiceChords(0)[3], 0, false));
    walk(cursor, {
                     {"onto the grace chord before the bar line", true, 241920, 1},
                     {"onto the next measure's first chord", true, 241920, 0},
                     {"back onto the grace chord", false, 241920, 1},
                     {"back to the last chord of the first measure", false, 181440, 0},
                 });
    delete score;
}

TEST(EdCursor, AllVoicesStepToTheNearestOnsetOfAnyVoice)
{
    MnScore* score = makeScore(1, 2);
    MnStaff* staff = score->staff(0);
    fillVoice(staff->measure(0), 1, 1, 30240);
    EdCursor cursor;
    cursor.setAtStaffStart(staff, -1);
    walk(cursor, {
                     {"voice 1's eighth", true, 30240, 0},
                     {"both voices at the second beat", true, 60480, 0},
                     {"back to the eighth", false, 30240, 0},
                 });
    cursor.setPosition(181440, 0, false);
    walk(cursor, {
                     {"voice 1's last eighth", true, 211680, 0},
                     {"over the bar line in voice 0", true, 241920, 0},
                     {"back over the bar line to the latest chord", false, 211680, 0},
                 });
    delete score;
}

TEST(EdCursor, MovesFromBeforeTheStaffAndStopsAtItsEnds)
{
    MnScore* score = makeScore(1, 2);
    MnStaff* staff = score->staff(0);
    EdCursor cursor;
    cursor.setAtStaffStart(staff, 0);
    cursor.setPosition(-30240, 0, false);
    walk(cursor, {{"a time before the first measure", true, 0, 0}});

    cursor.setPosition(2 * 241920 - 60480, 0, false);
    EXPECT_EQ(cursor.moveNext(false), nullptr);
    EXPECT_EQ(cursor.time(), 2 * 241920 - 60480);
    cursor.setPosition(2 * 241920, 0, false);
    EXPECT_EQ(cursor.moveNext(false), nullptr) << "past the last measure";
    EXPECT_EQ(cursor.movePrevious(false), nullptr);
    EXPECT_EQ(cursor.time(), 2 * 241920);

    delete score;
    EXPECT_EQ(cursor.staff(), nullptr);
    EXPECT_EQ(cursor.moveNext(false), nullptr);
    EXPECT_EQ(cursor.movePrevious(false), nullptr);
}

TEST(EdCursor, ExtendingMovesKeepTheAnchor)
{
    MnScore* score = makeScore(1, 1);
    EdCursor cursor;
    cursor.setAtStaffStart(score->staff(0), 0);
    ASSERT_NE(cursor.moveNext(true), nullptr);
    ASSERT_NE(cursor.moveNext(true), nullptr);
    EXPECT_EQ(cursor.time(), 120960);
    EXPECT_EQ(cursor.anchorTime(), 0);
    ASSERT_NE(cursor.movePrevious(false), nullptr);
    EXPECT_EQ(cursor.time(), 60480);
    EXPECT_EQ(cursor.anchorTime(), 60480);
    delete score;
}

TEST(EdCursor, SetAtChordAndAtMeasureStart)
{
    MnScore* score = makeScore(2, 2);
    MnMeasure* second = score->staff(0)->measure(1);
    addGraceChords(second, 0, 2, 2);
    EdCursor cursor;

    ASSERT_TRUE(cursor.setAtChord(second->voiceChords(0)[2], 0, false));
    EXPECT_EQ(cursor.time(), 241920 + 120960);
    EXPECT_EQ(cursor.graceIndex(), 2) << "the first of two grace chords";
    ASSERT_TRUE(cursor.setAtChord(second->voiceChords(0)[4], 0, true));
    EXPECT_EQ(cursor.graceIndex(), 0);
    EXPECT_EQ(cursor.anchorTime(), 241920 + 120960) << "same staff: the anchor stays";
    EXPECT_EQ(cursor.anchorGraceIndex(), 2);

    MnChord* other = score->staff(1)->measure(0)->voiceChords(0)[1];
    ASSERT_TRUE(cursor.setAtChord(other, 1, true));
    EXPECT_EQ(cursor.staff(), score->staff(1));
    EXPECT_EQ(cursor.voice(), 1);
    EXPECT_EQ(cursor.time(), 60480);
    EXPECT_EQ(cursor.anchorTime(), 60480) << "another staff: the anchor moves";
    EXPECT_FALSE(cursor.setAtChord(nullptr, 0, false));

    addGraceChords(second, 1, 0, 1);
    ASSERT_TRUE(cursor.setAtMeasureStart(second, 1));
    EXPECT_EQ(cursor.staff(), score->staff(0));
    EXPECT_EQ(cursor.time(), 241920);
    EXPECT_EQ(cursor.graceIndex(), 1);
    EXPECT_EQ(cursor.anchorGraceIndex(), 1);
    delete score;
}
