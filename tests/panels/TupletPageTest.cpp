#include "model/MnTicks.h"
#include "model/MnTuplet.h"
#include "panels/UiTupletDlg.h"
#include "tests/panels/PageFixture.h"

namespace {

// The tuplet a new run of count at the start of the measure makes, or null.
MnTuplet* makeTuplet(MnMeasure* measure, int span, int count, bool alternative)
{
    if (!measure->makeTuplet(0, 0, span, count, alternative))
        return nullptr;
    return measure->voiceChords(0)[0]->tuplet();
}

std::vector<MnChord*> chordsOf(MnMeasure* measure)
{
    std::vector<MnChord*> chords;
    for (int i = 0; i < measure->voiceChords(0).count(); ++i)
        chords.push_back(measure->voiceChords(0)[i]);
    return chords;
}

}

TEST(TupletPageRatioTest, theRatioTableGoesBothWays)
{
    struct Row
    {
        int index;
        int number;
        bool alternative;
    };
    const Row rows[] = {
        {0, 2, true}, {1, 3, false}, {2, 4, true}, {3, 5, false}, {4, 5, true}, {5, 6, false},
        {6, 7, false}, {7, 7, true}, {8, 8, true}, {9, 9, false}, {10, 9, true},
    };
    for (const Row& row : rows) {
        int number = 0;
        bool alternative = false;
        ASSERT_TRUE(UiTupletDlg::ratioOf(row.index, number, alternative)) << row.index;
        EXPECT_EQ(number, row.number) << row.index;
        EXPECT_EQ(alternative, row.alternative) << row.index;
        EXPECT_EQ(UiTupletDlg::ratioIndex(row.number, row.alternative), row.index) << row.index;
    }
    // Numbers with one ratio load as it whatever their flag.
    EXPECT_EQ(UiTupletDlg::ratioIndex(2, false), 0);
    EXPECT_EQ(UiTupletDlg::ratioIndex(3, true), 1);
    EXPECT_EQ(UiTupletDlg::ratioIndex(8, false), 8);
    for (int number : {1, 10, 15})
        EXPECT_EQ(UiTupletDlg::ratioIndex(number, false), -1) << number << " shows no ratio";
    int number = 0;
    bool alternative = false;
    EXPECT_FALSE(UiTupletDlg::ratioOf(-1, number, alternative));
    EXPECT_FALSE(UiTupletDlg::ratioOf(11, number, alternative));
}

TEST_F(PageFixture, anotherRatioRebuildsTheRunAndItsOwnRatioNothing)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnMeasure* measure = score->staff(0)->measure(0);
    // Over a dotted quarter, 5:4 and 5:3 divide differently.
    MnTuplet* tuplet = makeTuplet(measure, MnTicksQuarter * 3 / 2, 5, false);
    ASSERT_NE(tuplet, nullptr);
    ASSERT_EQ(measure->voiceChords(0)[0]->normal(), 4);
    restartHistory();
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiTupletDlg>(controls);
    ASSERT_TRUE(load(*page, {tuplet}));
    EXPECT_EQ(controls->radioIndex(1000), 3) << "5:4";
    EXPECT_EQ(controls->radioIndex(1106), 0);
    EXPECT_EQ(controls->radioIndex(1113), 0);

    std::vector<MnChord*> before = chordsOf(measure);
    controls->click(1004);  // 5:4, as it is
    EXPECT_EQ(chordsOf(measure), before) << "nothing rebuilt";
    EXPECT_EQ(steps(), 0) << "nothing changed, no undo step";

    controls->click(1002);  // 5:3
    EXPECT_EQ(tuplet->number(), 5);
    EXPECT_TRUE(tuplet->isAlternative());
    EXPECT_EQ(measure->voiceChords(0)[0]->tuplet(), tuplet) << "the tuplet stays with its first chord";
    EXPECT_EQ(measure->voiceChords(0)[0]->normal(), 3);
    EXPECT_EQ(controls->radioIndex(1000), 4);
    EXPECT_EQ(steps(), 1) << "one step for the click that changed the ratio";
}

TEST_F(PageFixture, bracketAndDirectionPicturesSetTheirValues)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnTuplet* tuplet = makeTuplet(score->staff(0)->measure(0), MnTicksQuarter, 3, false);
    ASSERT_NE(tuplet, nullptr);
    ASSERT_TRUE(tuplet->setDirection(-1));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiTupletDlg>(controls);
    ASSERT_TRUE(load(*page, {tuplet}));
    EXPECT_EQ(controls->radioIndex(1113), 2) << "below";
    EXPECT_EQ(controls->radioIndex(1000), 1) << "3:2";

    const struct
    {
        int control;
        int bracket;
        int direction;
    } clicks[] = {
        {1104, 2, -1}, {1107, 1, -1}, {1102, 0, -1}, {1208, 0, 1}, {1209, 0, -1}, {1113, 0, 0}, {1210, 0, 1},
    };
    for (const auto& click : clicks) {
        controls->click(click.control);
        EXPECT_EQ(tuplet->bracket(), click.bracket) << click.control;
        EXPECT_EQ(tuplet->direction(), click.direction) << click.control;
        EXPECT_EQ(tuplet->number(), 3) << click.control;
    }
}

TEST_F(PageFixture, mixedRatiosAndFlaglessRatiosAreLeftAsTheyAre)
{
    MnScore* score = addScore(makeScore(1, 3));
    MnTuplet* quintuplet = makeTuplet(score->staff(0)->measure(0), MnTicksQuarter, 5, false);
    // A duplet stored without the alternative flag still shows as "2:3".
    MnTuplet* duplet = makeTuplet(score->staff(0)->measure(1), MnTicksQuarter * 3 / 2, 2, false);
    ASSERT_TRUE(quintuplet && duplet);
    quintuplet->setBracket(1);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiTupletDlg>(controls);
    ASSERT_TRUE(load(*page, {quintuplet, duplet}));
    EXPECT_EQ(controls->radioIndex(1000), -1);
    EXPECT_EQ(controls->radioIndex(1106), -1);
    EXPECT_EQ(controls->radioIndex(1113), 0);

    std::vector<MnChord*> dupletChords = chordsOf(score->staff(0)->measure(1));
    controls->click(1111);  // below, in both
    EXPECT_EQ(quintuplet->direction(), -1);
    EXPECT_EQ(duplet->direction(), -1);
    EXPECT_EQ(quintuplet->number(), 5);
    EXPECT_EQ(quintuplet->bracket(), 1) << "a mixed bracket stays";
    EXPECT_EQ(duplet->bracket(), 0);

    ASSERT_TRUE(load(*page, {duplet}));
    EXPECT_EQ(controls->radioIndex(1000), 0);
    controls->click(1108);  // a bracket: the run is not made again
    EXPECT_EQ(duplet->bracket(), 2);
    EXPECT_FALSE(duplet->isAlternative());
    EXPECT_EQ(chordsOf(score->staff(0)->measure(1)), dupletChords);
}

TEST_F(PageFixture, aRatioTheMeasureRefusesShowsTheRatioKept)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnMeasure* measure = score->staff(0)->measure(0);
    // Nine in the time of eight sixteenths would need 128ths.
    MnTuplet* tuplet = makeTuplet(measure, MnTicksSixteenth, 3, false);
    ASSERT_NE(tuplet, nullptr);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiTupletDlg>(controls);
    ASSERT_TRUE(load(*page, {tuplet}));
    controls->click(1009);  // 9:8
    EXPECT_EQ(tuplet->number(), 3);
    EXPECT_EQ(controls->radioIndex(1000), 1);
}

TEST_F(PageFixture, theTupletPageLaysOutItsPicturesAndAnchors)
{
    FakePageWindow window(*UiDialogTemplates::find(UiTupletDlg::pageTemplateId));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiTupletDlg>(controls, &window);
    EXPECT_EQ(page->anchorList().count(), 38) << "39 entries, two for the direction box";
    EXPECT_EQ(window.bitmaps.size(), 5u);
    EXPECT_EQ(window.bitmaps[1103], 297);
    EXPECT_EQ(window.bitmaps[1209], 299);
    const UiDialogTemplate& layout = *UiDialogTemplates::find(UiTupletDlg::pageTemplateId);
    int ids[16];
    EXPECT_EQ(layout.radioGroup(1106, ids, 16), 3);
    EXPECT_EQ(layout.radioGroup(1113, ids, 16), 3);
    ASSERT_EQ(layout.radioGroup(1000, ids, 16), 11);
    EXPECT_EQ(ids[4], 1002) << "5:3 is the fifth ratio";

    page->anchorList().setInitialSize(420, 788);
    page->resized(520, 788);
    EXPECT_EQ(window.placed[1110].width, 2 * 120 + 60);
    EXPECT_EQ(window.placed[1112].x, 2 * 128 + 60);
    EXPECT_EQ(window.placed[1112].width, 2 * 78 + 40);
    EXPECT_EQ(window.placed[1009].x, 2 * 80 + 38);
    EXPECT_EQ(window.placed[1010].x, 2 * 140 + 68);
}
