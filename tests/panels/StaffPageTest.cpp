#include "model/MnCodes.h"
#include "model/MnStaffChange.h"
#include "panels/UiStaffDlg.h"
#include "tests/panels/PageFixture.h"

namespace {

enum
{
    clefGroup = 1000,
    keyGroup = 1004,
    timeGroup = 1008,
    timeBox = 1057,
};

MnStaffChange* changeAt(MnStaff* staff, int time)
{
    EXPECT_TRUE(staff->insertStaffChange(time));
    MnStaffDefinition* made = staff->definitionAt(time, true);
    EXPECT_NE(made, nullptr);
    return made && made->isKindOf(MnStaffChange::staticClass()) ? static_cast<MnStaffChange*>(made) : nullptr;
}

}

TEST(StaffPageTimeTest, theRadiosStandForTheirCodesBothWays)
{
    const int codes[11] = {MnTimeCommon, MnTime4_4, MnTime2_4, MnTime2_2, MnTimeCut, MnTime3_4,
                           MnTime3_8,    MnTime6_4, MnTime6_8, MnTime9_8, MnTime12_8};
    for (int index = 0; index < 11; ++index) {
        EXPECT_EQ(UiStaffDlg::timeCodeOfIndex(index), codes[index]) << index;
        EXPECT_EQ(UiStaffDlg::timeIndexOfCode(codes[index]), index) << index;
    }
    for (int outside : {-1, 11, 99}) {
        EXPECT_EQ(UiStaffDlg::timeCodeOfIndex(outside), MnTimeCommon) << outside;
        EXPECT_EQ(UiStaffDlg::timeIndexOfCode(outside), 0) << outside;
    }
}

TEST_F(PageFixture, theStaffPageStoresClefKeyAndTimeFromItsPicturesAndRadios)
{
    MnScore* score = addScore(makeScore(2, 2));
    MnStaff* staff = score->staff(0);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiStaffDlg>(controls);
    ASSERT_TRUE(load(*page, {staff}));
    EXPECT_EQ(controls->radioIndex(clefGroup), MnClefTreble);
    EXPECT_EQ(controls->radioIndex(keyGroup), 7);
    EXPECT_EQ(controls->radioIndex(timeGroup), 0) << "the common-time sign";
    EXPECT_TRUE(controls->isEnabled(timeBox));

    struct Row
    {
        const char* name;
        int control;
        int clef, key, time;
    };
    const Row rows[] = {
        {"seven flats", 1004, MnClefTreble, -7, MnTimeCommon},
        {"no key", 1012, MnClefTreble, 0, MnTimeCommon},
        {"seven sharps", 1019, MnClefTreble, 7, MnTimeCommon},
        {"two flats by picture", 1036, MnClefTreble, -2, MnTimeCommon},
        {"bass clef", 1001, MnClefBass, -2, MnTimeCommon},
        {"tenor clef by picture", 1030, MnClefTenor, -2, MnTimeCommon},
        {"the second time picture", 1047, MnClefTenor, -2, MnTime4_4},
        {"the first time picture", 1046, MnClefTenor, -2, MnTimeCommon},
        {"cut time", 1023, MnClefTenor, -2, MnTimeCut},
        {"12/8", 1061, MnClefTenor, -2, MnTime12_8},
    };
    for (const Row& row : rows) {
        int before = steps();
        controls->click(row.control);
        EXPECT_EQ(staff->clef(), row.clef) << row.name;
        EXPECT_EQ(staff->key(), row.key) << row.name;
        EXPECT_EQ(staff->time(), row.time) << row.name;
        EXPECT_EQ(steps(), before + 1) << row.name;
    }
    EXPECT_EQ(score->staff(1)->time(), MnTime12_8) << "a time signature holds for the whole score";
    EXPECT_EQ(score->staff(1)->clef(), MnClefTreble);
}

TEST_F(PageFixture, aTimeSignatureGoesOnlyWhereItCanStart)
{
    MnScore* score = addScore(makeScore(1, 3));
    MnStaff* staff = score->staff(0);
    const int measure = staff->measure(0)->length();
    MnStaffChange* inside = changeAt(staff, measure + measure / 2);
    MnStaffChange* atStart = changeAt(staff, 2 * measure);
    ASSERT_NE(inside, nullptr);
    ASSERT_NE(atStart, nullptr);
    ASSERT_TRUE(inside->setClef(MnClefBass));
    EXPECT_TRUE(UiStaffDlg::canTakeTime(*staff));
    EXPECT_TRUE(UiStaffDlg::canTakeTime(*atStart));
    EXPECT_FALSE(UiStaffDlg::canTakeTime(*inside));
    restartHistory();

    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiStaffDlg>(controls);
    ASSERT_TRUE(load(*page, {inside}));
    EXPECT_FALSE(controls->isEnabled(timeBox));
    EXPECT_FALSE(controls->isEnabled(1046));
    EXPECT_FALSE(controls->isEnabled(1024));
    EXPECT_EQ(page->timeEditable, 0);

    ASSERT_TRUE(load(*page, {staff, inside}));
    EXPECT_EQ(page->timeEditable, 2);
    EXPECT_TRUE(controls->isEnabled(timeBox));
    EXPECT_EQ(controls->radioIndex(clefGroup), -1);
    EXPECT_EQ(controls->radioIndex(timeGroup), 0) << "both in common time";
    controls->click(1024);  // 3/4
    EXPECT_EQ(staff->time(), MnTime3_4);
    EXPECT_EQ(inside->startTime(), measure + measure / 2);
    EXPECT_EQ(staff->clef(), MnClefTreble) << "a mixed clef stays";
    EXPECT_EQ(inside->clef(), MnClefBass);
}

TEST_F(PageFixture, stavesOfDifferentTimesShowNoTimeButTheKeyTheyShare)
{
    MnScore* first = addScore(makeScore(1, 2));
    MnScore* second = addScore(makeScore(1, 2));
    ASSERT_TRUE(second->staff(0)->setTime(MnTime6_8));
    ASSERT_TRUE(first->staff(0)->setKey(2));
    ASSERT_TRUE(second->staff(0)->setKey(2));
    restartHistory();
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiStaffDlg>(controls);
    ASSERT_TRUE(load(*page, {first->staff(0), second->staff(0)}));
    EXPECT_EQ(controls->radioIndex(timeGroup), -1);
    EXPECT_EQ(controls->radioIndex(keyGroup), 9);

    controls->click(1002);  // alto clef
    EXPECT_EQ(first->staff(0)->clef(), MnClefAlto);
    EXPECT_EQ(second->staff(0)->clef(), MnClefAlto);
    EXPECT_EQ(first->staff(0)->time(), MnTimeCommon);
    EXPECT_EQ(second->staff(0)->time(), MnTime6_8);
}
