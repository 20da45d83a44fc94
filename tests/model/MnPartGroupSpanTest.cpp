#include "model/MnPartGroup.h"

#include "model/EdPath.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/MnTablature.h"

#include <gtest/gtest.h>

// Three staves at scale 1 with the default spacing stand at y 0, -20 and
// -40; staff 2 has a tablature of six strings 12 below its bottom line, from
// -60 down to -75. The bands of the staves part at -14 and -34, and staff
// 2's band gives way to its tablature at -54.
static MnScore* threeStavesWithTablature(int staves = 3)
{
    MnScore* score = new MnScore;
    while (score->staffCount() < staves)
        score->insertStaff(-1);
    score->staff(2)->setTablature(new MnTablature(score->staff(2)));
    return score;
}

static EdPath handle(const MnPartGroup* group, int half)
{
    return EdPath(EdPath::KindPartGroup, 0, 0, group->firstStaff(), group->staffCount(), half);
}

TEST(MnPartGroupSpan, HeightAndHandles)
{
    MnScore* score = threeStavesWithTablature();
    MnPartGroup* group = score->addPartGroup(0, 3);
    ASSERT_NE(group, nullptr);
    EXPECT_DOUBLE_EQ(group->height(), 75.0);
    group->setCoversTablature(false);
    EXPECT_DOUBLE_EQ(group->height(), 48.0);

    const EdPath top = handle(group, 0);
    const EdPath bottom = handle(group, 1);
    EXPECT_DOUBLE_EQ(group->dragPosition(&top).y, 0.0);
    EXPECT_DOUBLE_EQ(group->dragPosition(&bottom).y, -48.0);
    // Without a group path the group answers its position, the score's.
    EXPECT_DOUBLE_EQ(group->dragPosition(nullptr).y, score->position().y);
    EXPECT_FALSE(group->dragTo(GePoint2d(0.0, -56.0), nullptr));
    const EdPath staffPath(EdPath::KindStaff, 0, 0, 0);
    EXPECT_FALSE(group->dragTo(GePoint2d(0.0, -56.0), &staffPath));
    EXPECT_EQ(group->staffCount(), 3);
    delete score;
}

TEST(MnPartGroupSpan, DraggingAHandleFromStaffToStaff)
{
    struct Row
    {
        const char* what;
        int staves;
        int first;
        int count;
        bool covers;
        int half;
        double y;
        bool changed;
        int firstAfter;
        int countAfter;
        bool coversAfter;
    };
    const Row rows[] = {
        {"bottom into the tablature of staff 2", 3, 0, 2, false, 1, -56.0, true, 0, 3, true},
        {"bottom onto staff 2 itself", 3, 0, 2, false, 1, -45.0, true, 0, 3, false},
        {"bottom far below the last staff", 3, 0, 2, false, 1, -200.0, true, 0, 3, true},
        {"bottom back up to staff 1", 3, 0, 3, true, 1, -22.0, true, 0, 2, false},
        {"bottom onto the first staff only clears the flag", 3, 0, 2, true, 1, -5.0, true, 0, 2, false},
        {"bottom onto the first staff with the flag clear", 3, 0, 2, false, 1, -5.0, false, 0, 2, false},
        {"bottom out of the tablature of its own last staff", 3, 1, 2, true, 1, -45.0, true, 1, 2, false},
        {"top up to staff 0", 3, 1, 2, true, 0, 10.0, true, 0, 3, true},
        {"top down to staff 1", 3, 0, 3, true, 0, -25.0, true, 1, 2, true},
        {"top down to the last staff and its tablature", 3, 1, 2, true, 0, -56.0, true, 2, 1, true},
        {"top onto its own first staff", 3, 1, 2, true, 0, -25.0, false, 1, 2, true},
    };
    for (const Row& row : rows) {
        MnScore* score = threeStavesWithTablature(row.staves);
        MnPartGroup* group = score->addPartGroup(row.first, row.count);
        ASSERT_NE(group, nullptr) << row.what;
        group->setCoversTablature(row.covers);
        const EdPath path = handle(group, row.half);
        EXPECT_EQ(group->dragTo(GePoint2d(3.0, row.y), &path), row.changed) << row.what;
        EXPECT_EQ(group->firstStaff(), row.firstAfter) << row.what;
        EXPECT_EQ(group->staffCount(), row.countAfter) << row.what;
        EXPECT_EQ(group->coversTablature(), row.coversAfter) << row.what;
        delete score;
    }
}

TEST(MnPartGroupSpan, AHandleStopsShortOfACrossingGroup)
{
    // Four staves: the dragged group (0, 2) cannot reach staff 2, which would
    // cross the group (2, 2); it stays as it is.
    MnScore* score = threeStavesWithTablature(4);
    MnPartGroup* dragged = score->addPartGroup(0, 2);
    ASSERT_NE(score->addPartGroup(2, 2), nullptr);
    dragged->setCoversTablature(false);
    const EdPath bottom = handle(dragged, 1);
    EXPECT_FALSE(dragged->dragTo(GePoint2d(0.0, -45.0), &bottom));
    EXPECT_EQ(dragged->staffCount(), 2);
    // Staff 3 stands at -87, below the tablature of staff 2: past the whole
    // lower group the bracket may reach around it.
    EXPECT_TRUE(dragged->dragTo(GePoint2d(0.0, -90.0), &bottom));
    EXPECT_EQ(dragged->staffCount(), 4);
    EXPECT_FALSE(dragged->coversTablature());
    delete score;
}
