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
