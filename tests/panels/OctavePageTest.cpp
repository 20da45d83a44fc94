#include "model/MnOctave.h"
#include "model/MnTicks.h"
#include "panels/UiOctaveDlg.h"
#include "tests/panels/PageFixture.h"

TEST(OctavePageSignTest, kindsAndRadiosMapBothWays)
{
    // Two down, one down, one up, two up, then loco.
    const int kinds[] = {-2, -1, 1, 2, 0};
    for (int index = 0; index < 5; ++index) {
        EXPECT_EQ(UiOctaveDlg::kindOf(index), kinds[index]) << index;
        EXPECT_EQ(UiOctaveDlg::signIndex(kinds[index]), index) << index;
    }
}

TEST_F(PageFixture, anOctaveLineLoadsAsItsPictureAndLocoStoresZero)
{
    MnScore* score = addScore(makeScore(1, 2));
    MnStaff* staff = score->staff(0);
    MnOctave* up = new MnOctave(staff);
    ASSERT_TRUE(up->setKind(MnOctaveOneUp));
    ASSERT_TRUE(staff->insertLine(up, 0));
    MnOctave* down = new MnOctave(staff);
    ASSERT_TRUE(down->setKind(MnOctaveTwoDown));
    ASSERT_TRUE(staff->insertLine(down, MnTicksHalf * 2));
    restartHistory();
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiOctaveDlg>(controls);
    ASSERT_TRUE(load(*page, {up}));
    EXPECT_EQ(controls->radioIndex(1264), 2) << "the third picture";
    controls->click(1070);  // loco
    EXPECT_EQ(up->kind(), MnOctaveLoco);
    EXPECT_EQ(steps(), 1);

    ASSERT_TRUE(load(*page, {up, down}));
    EXPECT_EQ(controls->radioIndex(1264), -1);
    const struct
    {
        int control;
        int kind;
    } clicks[] = {{1263, 2}, {1260, -2}, {1265, -1}, {1262, 1}, {1267, 2}, {1264, -2}, {1261, -1}, {1266, 1}};
    for (const auto& click : clicks) {
        controls->click(click.control);
        EXPECT_EQ(up->kind(), click.kind) << click.control;
        EXPECT_EQ(down->kind(), click.kind) << click.control;
    }
}

TEST_F(PageFixture, theOctavePageLaysOutItsPicturesAndAnchors)
{
    FakePageWindow window(*UiDialogTemplates::find(UiOctaveDlg::pageTemplateId));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiOctaveDlg>(controls, &window);
    EXPECT_EQ(page->anchorList().count(), 10);
    EXPECT_EQ(window.bitmaps.size(), 4u);
    EXPECT_EQ(window.bitmaps[1260], 319);
    EXPECT_EQ(window.bitmaps[1262], 316);
    int ids[8];
    EXPECT_EQ(UiDialogTemplates::find(UiOctaveDlg::pageTemplateId)->radioGroup(1264, ids, 8), 5);
    page->anchorList().setInitialSize(420, 788);
    page->resized(520, 788);
    EXPECT_EQ(window.placed[1263].x, 2 * 170 + 89);
    EXPECT_EQ(window.placed[1070].x, 2 * 87 + 50);
}
