#include "model/MnTablature.h"
#include "panels/UiMeasureDlg.h"
#include "tests/panels/PageFixture.h"

TEST(MeasurePageEndingsTest, endingsTextAndClosedClassifyTheVolta)
{
    struct Row
    {
        const char* name;
        std::vector<int> endings;  // the first endings; the rest are off
        const char* text;
        int closed;
        int kind;
    };
    const Row rows[] = {
        {"nothing", {}, "", 0, 0},
        {"first time closed", {1}, "", 1, 1},
        {"first time open is custom", {1}, "", 0, 4},
        {"second time open", {0, 1}, "", 0, 2},
        {"second time closed", {0, 1}, "", 1, 3},
        {"first and second", {1, 1}, "", 1, 4},
        {"third", {0, 0, 1}, "", 0, 4},
        {"closed without endings", {}, "", 1, 4},
        {"a custom text wins", {1}, "1.-3.", 1, 4},
        {"a mixed ending", {2}, "", 0, 4},
        {"a mixed closed state", {0, 1}, "", 2, 4},
    };
    for (const Row& row : rows) {
        int endings[10] = {};
        for (size_t i = 0; i < row.endings.size(); ++i)
            endings[i] = row.endings[i];
        EXPECT_EQ(UiMeasureDlg::classifyEndings(endings, row.text, row.closed), row.kind) << row.name;
    }
}

TEST_F(PageFixture, measureValuesReachThatMeasureNumberInEveryStaffButTheJoins)
{
    MnScore* score = addScore(makeScore(3, 6));
    MnMeasure* selected = score->staff(1)->measure(4);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiMeasureDlg>(controls);
    ASSERT_TRUE(load(*page, {selected}));
    EXPECT_FALSE(controls->isShown(1387)) << "a single bar line has no count";

    controls->click(1075);  // end repeat
    EXPECT_TRUE(controls->isShown(1387));
    EXPECT_TRUE(controls->isShown(1388));
    controls->click(1088);  // joins: this staff only
    controls->click(1224);  // system break
    for (int s = 0; s < 3; ++s) {
        MnMeasure* m = score->staff(s)->measure(4);
        EXPECT_EQ(m->barline(), 3) << s;
        EXPECT_EQ(m->systemBreak(), 1) << s;
        EXPECT_EQ(m->isToNextStaff(), s != 1) << s;
        EXPECT_EQ(score->staff(s)->measure(3)->barline(), 0) << "other numbers stay";
    }
    controls->clickUpDown(1388, 1);
    EXPECT_EQ(score->staff(2)->measure(4)->repeatCount(), 3);
    controls->type(1387, "51");
    EXPECT_EQ(score->staff(2)->measure(4)->repeatCount(), 5) << "51 is out of range";

    controls->click(1072);  // a single bar line hides the count, which stays
    EXPECT_FALSE(controls->isShown(1387));
    EXPECT_EQ(selected->repeatCount(), 5);
}

TEST_F(PageFixture, mixedEndingBoxesKeepEachMeasuresOwnBits)
{
    MnScore* score = addScore(makeScore(1, 3));
    MnMeasure* a = score->staff(0)->measure(0);
    MnMeasure* b = score->staff(0)->measure(1);
    ASSERT_TRUE(a->setVoltaMask(0x1));
    ASSERT_TRUE(b->setVoltaMask(0x2 | 0x4));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiMeasureDlg>(controls);
    ASSERT_TRUE(load(*page, {a, b}));
    EXPECT_EQ(controls->check(1258), 2);
    EXPECT_EQ(controls->check(1086), 2);
    EXPECT_EQ(controls->radioIndex(1007), 4) << "both custom";

    controls->click(1016);  // a repeat jump: the endings stay as they were
    EXPECT_EQ(a->voltaMask(), 0x1);
    EXPECT_EQ(b->voltaMask(), 0x6);
    controls->click(1086);  // ending 3, mixed, turns off in both
    EXPECT_EQ(a->voltaMask(), 0x1);
    EXPECT_EQ(b->voltaMask(), 0x2);
    controls->click(1087);  // ending 4 on in both
    EXPECT_EQ(a->voltaMask(), 0x9);
    EXPECT_EQ(b->voltaMask(), 0xA);
    controls->click(1007);  // none
    EXPECT_EQ(a->voltaMask(), 0);
    EXPECT_EQ(b->voltaMask(), 0);
}

TEST_F(PageFixture, aCustomVoltaTextLoadsAsCustomAndNoneKeepsIt)
{
    MnScore* score = addScore(makeScore(1, 2));
    MnMeasure* measure = score->staff(0)->measure(0);
    ASSERT_TRUE(measure->setVoltaMask(0x1));
    measure->setVoltaClosed(true);
    ASSERT_TRUE(measure->setVoltaText(BcString("1.-3.")));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiMeasureDlg>(controls);
    ASSERT_TRUE(load(*page, {measure}));
    EXPECT_EQ(controls->radioIndex(1007), 4);
    EXPECT_FALSE(controls->isEnabled(1008)) << "custom is never picked by hand";
    controls->click(1007);
    EXPECT_EQ(measure->voltaMask(), 0);
    EXPECT_EQ(measure->voltaText(true), BcString("1.-3."));
}

TEST_F(PageFixture, toTablatureShowsOnlyWithATablature)
{
    MnScore* score = addScore(makeScore(2, 1));
    MnStaff* plain = score->staff(0);
    MnStaff* withTab = score->staff(1);
    withTab->setTablature(new MnTablature(withTab));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiMeasureDlg>(controls);
    ASSERT_TRUE(load(*page, {plain->measure(0)}));
    EXPECT_FALSE(controls->isShown(1100));
    ASSERT_TRUE(load(*page, {plain->measure(0), withTab->measure(0)}));
    EXPECT_TRUE(controls->isShown(1100)) << "mixed";
    ASSERT_TRUE(load(*page, {withTab->measure(0)}));
    EXPECT_TRUE(controls->isShown(1100));
}
