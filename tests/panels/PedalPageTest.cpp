#include "model/MnPedal.h"
#include "model/MnTicks.h"
#include "panels/UiPedalDlg.h"
#include "tests/panels/PageFixture.h"

namespace {

// Per kind: its radio and its picture.
const int forms[9][2] = {
    {1286, 1284}, {1287, 1282}, {1290, 1292}, {1294, 1296}, {1298, 1299},
    {1288, 1285}, {1289, 1283}, {1291, 1293}, {1295, 1297},
};

}

TEST_F(PageFixture, aPedalsKindIsItsRadioIndex)
{
    MnScore* score = addScore(makeScore(1, 2));
    MnStaff* staff = score->staff(0);
    MnPedal* first = new MnPedal(staff);
    ASSERT_TRUE(staff->insertLine(first, 0));
    MnPedal* second = new MnPedal(staff);
    ASSERT_TRUE(staff->insertLine(second, MnTicksHalf * 2));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiPedalDlg>(controls);
    for (int kind = 0; kind < 9; ++kind) {
        ASSERT_TRUE(first->setKind(kind));
        ASSERT_TRUE(load(*page, {first}));
        EXPECT_EQ(controls->radioIndex(1286), kind) << kind;
        ASSERT_TRUE(load(*page, {first, second}));
        controls->click(forms[kind][1]);
        EXPECT_EQ(second->kind(), kind) << "picture " << kind;
        controls->click(forms[(kind + 1) % 9][0]);
        EXPECT_EQ(second->kind(), (kind + 1) % 9) << "radio " << kind;
        EXPECT_EQ(first->kind(), (kind + 1) % 9) << "radio " << kind;
    }

    ASSERT_TRUE(first->setKind(MnPedalSign));
    ASSERT_TRUE(second->setKind(MnPedalSignRelease));
    ASSERT_TRUE(load(*page, {first, second}));
    EXPECT_EQ(controls->radioIndex(1286), -1) << "mixed";
}

TEST_F(PageFixture, thePedalPageLaysOutItsPicturesAndAnchors)
{
    FakePageWindow window(*UiDialogTemplates::find(UiPedalDlg::pageTemplateId));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiPedalDlg>(controls, &window);
    EXPECT_EQ(page->anchorList().count(), 19);
    EXPECT_EQ(window.bitmaps.size(), 9u);
    EXPECT_EQ(window.bitmaps[1284], 324);
    EXPECT_EQ(window.bitmaps[1299], 330);
    EXPECT_EQ(window.bitmaps[1297], 329);
    int ids[16];
    ASSERT_EQ(UiDialogTemplates::find(UiPedalDlg::pageTemplateId)->radioGroup(1286, ids, 16), 9);
    for (int kind = 0; kind < 9; ++kind)
        EXPECT_EQ(ids[kind], forms[kind][0]) << kind;
    page->anchorList().setInitialSize(420, 788);
    page->resized(520, 788);
    EXPECT_EQ(window.placed[1298].x, 2 * 10 + 5);
    EXPECT_EQ(window.placed[1297].x, 2 * 126 + 59);
}
