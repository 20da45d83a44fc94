#include "model/MnDynamic.h"
#include "model/MnTicks.h"
#include "panels/UiDynamicDlg.h"
#include "tests/panels/PageFixture.h"

namespace {

// A dynamic of that kind in the staff at a time.
MnDynamic* addDynamic(MnStaff* staff, int kind, int time)
{
    MnDynamic* dynamic = new MnDynamic(staff);
    EXPECT_TRUE(dynamic->setKind(kind));
    EXPECT_TRUE(staff->insertLine(dynamic, time));
    return dynamic;
}

}

TEST(DynamicPageKindTest, everyKindSplitsIntoMarkingAndQualifierAndBack)
{
    MnDynamic probe;
    int valid = 0;
    for (int kind = -1; kind <= 40; ++kind) {
        if (!probe.isValidKind(kind))
            continue;
        ++valid;
        int marking = UiDynamicDlg::markingOf(kind);
        EXPECT_GE(marking, 0) << kind;
        EXPECT_LE(marking, 13) << kind;
        EXPECT_EQ(UiDynamicDlg::composeKind(marking, UiDynamicDlg::isMolto(kind), UiDynamicDlg::isPoco(kind)), kind)
            << kind;
    }
    EXPECT_EQ(valid, 22);
    // Only words take a qualifier, and molto wins.
    EXPECT_EQ(UiDynamicDlg::composeKind(4, true, false), 4);
    EXPECT_EQ(UiDynamicDlg::composeKind(8, false, true), 8);
    EXPECT_EQ(UiDynamicDlg::composeKind(12, true, true), 22);
    EXPECT_EQ(UiDynamicDlg::composeKind(13, false, true), 33);
}

TEST_F(PageFixture, aQualifierReachesOnlyTheWordsOfAMixedSelection)
{
    MnScore* score = addScore(makeScore(1, 2));
    MnStaff* staff = score->staff(0);
    MnDynamic* piano = addDynamic(staff, MnDynamicP, 0);
    MnDynamic* word = addDynamic(staff, MnDynamicCrescMolto, MnTicksHalf);
    restartHistory();
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiDynamicDlg>(controls);
    ASSERT_TRUE(load(*page, {piano, word}));
    EXPECT_EQ(controls->radioIndex(1218), -1);
    EXPECT_EQ(controls->check(1279), 2) << "molto mixed";
    EXPECT_EQ(controls->check(1278), 0);
    EXPECT_TRUE(controls->isEnabled(1279));
    EXPECT_TRUE(controls->isEnabled(1278));

    controls->click(1278);  // poco
    EXPECT_EQ(word->kind(), MnDynamicPocoCresc);
    EXPECT_EQ(piano->kind(), MnDynamicP);
    EXPECT_EQ(controls->check(1279), 0) << "poco turns molto off";
    controls->click(1279);  // molto: poco goes
    EXPECT_EQ(word->kind(), MnDynamicCrescMolto);
    EXPECT_EQ(piano->kind(), MnDynamicP);
    EXPECT_EQ(controls->check(1278), 0);
    controls->click(1279);  // molto off
    EXPECT_EQ(word->kind(), MnDynamicCresc);
    EXPECT_EQ(steps(), 3);
}

TEST_F(PageFixture, moltoWaitsDisabledThroughAMarkForTheNextWord)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnDynamic* dynamic = addDynamic(score->staff(0), MnDynamicDim, 0);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiDynamicDlg>(controls);
    ASSERT_TRUE(load(*page, {dynamic}));
    EXPECT_EQ(controls->radioIndex(1218), 12);
    controls->click(1279);
    EXPECT_EQ(dynamic->kind(), MnDynamicDimMolto);

    controls->click(1093);  // the mezzo-forte picture
    EXPECT_EQ(dynamic->kind(), MnDynamicMF);
    EXPECT_EQ(controls->radioIndex(1218), 4);
    EXPECT_EQ(controls->check(1279), 1);
    EXPECT_FALSE(controls->isEnabled(1279));
    EXPECT_FALSE(controls->isEnabled(1278));
    controls->click(1274);  // "Crescendo"
    EXPECT_EQ(dynamic->kind(), MnDynamicCrescMolto);
    EXPECT_TRUE(controls->isEnabled(1279));
}

TEST_F(PageFixture, aHairpinClearsPocoAndEveryPictureAndRadioPicksItsMarking)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnDynamic* dynamic = addDynamic(score->staff(0), MnDynamicPocoDecresc, 0);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiDynamicDlg>(controls);
    ASSERT_TRUE(load(*page, {dynamic}));
    EXPECT_EQ(controls->radioIndex(1218), 11);
    EXPECT_EQ(controls->check(1278), 1);
    controls->click(1280);  // the crescendo hairpin
    EXPECT_EQ(dynamic->kind(), MnDynamicCrescendoHairpin);
    EXPECT_EQ(controls->check(1278), 0);
    controls->click(1275);
    EXPECT_EQ(dynamic->kind(), MnDynamicDecresc) << "poco went with the hairpin";

    const int pictures[] = {1212, 1213, 1214, 1083, 1093, 1215, 1216, 1217, 1280, 1281};
    const int radios[] = {1218, 1219, 1220, 1090, 1094, 1221, 1222, 1223, 1272, 1273, 1274, 1275, 1276, 1277};
    for (int i = 0; i < 14; ++i) {
        if (i < 10) {
            controls->click(pictures[i]);
            EXPECT_EQ(dynamic->kind(), i) << "picture " << i;
            controls->click(1218);
        }
        controls->click(radios[i]);
        EXPECT_EQ(dynamic->kind(), i) << "radio " << i;
    }
}

TEST_F(PageFixture, theDynamicPageLaysOutItsPicturesAndAnchors)
{
    FakePageWindow window(*UiDialogTemplates::find(UiDynamicDlg::pageTemplateId));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiDynamicDlg>(controls, &window);
    EXPECT_EQ(page->anchorList().count(), 28);
    EXPECT_EQ(window.bitmaps.size(), 10u);
    EXPECT_EQ(window.bitmaps[1083], 305);
    EXPECT_EQ(window.bitmaps[1281], 321);
    int ids[16];
    EXPECT_EQ(UiDialogTemplates::find(UiDynamicDlg::pageTemplateId)->radioGroup(1218, ids, 16), 14);
    page->anchorList().setInitialSize(420, 788);
    page->resized(520, 788);
    EXPECT_EQ(window.placed[1271].width, 2 * 202 + 100);
    EXPECT_EQ(window.placed[1223].x, 2 * 184 + 92);
    EXPECT_EQ(window.placed[1276].x, 2 * 112 + 59);
    EXPECT_EQ(window.placed[1278].x, 2 * 80 + 40);
}
