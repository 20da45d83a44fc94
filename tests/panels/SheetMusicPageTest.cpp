#include "model/MnSheetMusic.h"
#include "panels/UiSheetMusicDlg.h"
#include "tests/panels/PageFixture.h"

namespace {

class SheetPageFixture : public PageFixture
{
protected:
    MnSheetMusic* addSheet(int width, int height)
    {
        auto* sheet = new MnSheetMusic();
        EXPECT_TRUE(sheet->setPaperSize(width, height));
        EXPECT_TRUE(document.addWork(sheet));
        restartHistory();
        return sheet;
    }
};

int pickedColor = 0;
bool pickFixed(int& color)
{
    color = pickedColor;
    return true;
}

}

TEST_F(SheetPageFixture, thePaperSizeFollowsWidthAndHeightInEitherOrientation)
{
    MnSheetMusic* sheet = addSheet(297, 210);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiSheetMusicDlg>(controls);
    ASSERT_TRUE(load(*page, {sheet}));
    EXPECT_EQ(controls->selection(1113), 1) << "A4 on its side";

    ASSERT_TRUE(sheet->setPaperSize(200, 300));
    ASSERT_TRUE(load(*page, {sheet}));
    EXPECT_EQ(controls->itemCount(1113), 4);
    EXPECT_EQ(controls->selection(1113), 3) << "Custom";

    controls->choose(1113, 2);  // A5
    EXPECT_EQ(sheet->paperWidth(), 148);
    EXPECT_EQ(sheet->paperHeight(), 210);
    EXPECT_EQ(controls->itemCount(1113), 4) << "Custom stays until the next load";
    ASSERT_TRUE(load(*page, {sheet}));
    EXPECT_EQ(controls->itemCount(1113), 3);

    controls->type(1119, "0");
    EXPECT_EQ(sheet->paperWidth(), 148) << "a width of 0 is not stored";
    EXPECT_EQ(controls->selection(1113), 3);
}

TEST_F(SheetPageFixture, mixedSizesAndColoursStayUntilChosen)
{
    MnSheetMusic* a4 = addSheet(210, 297);
    MnSheetMusic* a3 = addSheet(297, 420);
    a4->setPaperColor(0x00FFEEDD);
    a3->setPaperColor(0x01112233);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiSheetMusicDlg>(controls);
    ASSERT_TRUE(load(*page, {a4, a3}));
    EXPECT_EQ(controls->text(1119), "*Various*");
    EXPECT_EQ(controls->text(1087), "*Various*");
    EXPECT_EQ(controls->selection(1113), -1);
    EXPECT_EQ(controls->check(1084), 2) << "texture flags differ";

    controls->click(1136);  // mirroring: nothing else changes
    EXPECT_EQ(a4->paperColor(), 0x00FFEEDD);
    EXPECT_EQ(a3->paperColor(), 0x01112233);
    EXPECT_EQ(a3->paperWidth(), 297);

    controls->choose(1113, 1);
    EXPECT_EQ(a3->paperWidth(), 210);
    EXPECT_EQ(a3->paperHeight(), 297);

    pickedColor = 0x00ABCDEF;
    UiSheetMusicDlg::ColorPicker old = UiSheetMusicDlg::setColorPicker(&pickFixed);
    controls->click(1125);
    UiSheetMusicDlg::setColorPicker(old);
    EXPECT_EQ(a4->paperColor(), 0x00ABCDEF);
    EXPECT_EQ(a3->paperColor(), 0x01ABCDEF) << "each keeps its texture flag";
}

TEST_F(SheetPageFixture, spinningTheWidthUpTurnsTheSheetOnceButTypingDoesNot)
{
    MnSheetMusic* sheet = addSheet(210, 297);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiSheetMusicDlg>(controls);
    ASSERT_TRUE(load(*page, {sheet}));
    controls->type(1119, "296");
    EXPECT_FALSE(sheet->isLandscape());
    int before = steps();
    controls->clickUpDown(1115, 1);
    EXPECT_EQ(sheet->paperWidth(), 297);
    EXPECT_TRUE(sheet->isLandscape()) << "equal sides count as turned over";
    EXPECT_EQ(steps(), before + 2) << "the buddy's change and the up-down's";
    controls->clickUpDown(1115, -1);
    EXPECT_EQ(sheet->paperWidth(), 296);
    EXPECT_TRUE(sheet->isLandscape()) << "back below square, it stays";

    ASSERT_TRUE(sheet->setPaperSize(210, 297));
    sheet->setLandscape(false);
    ASSERT_TRUE(load(*page, {sheet}));
    controls->type(1119, "297");
    EXPECT_FALSE(sheet->isLandscape());
}

TEST_F(SheetPageFixture, linkedMarginsShowWhatTheyFollowGreyed)
{
    MnSheetMusic* sheet = addSheet(210, 297);
    sheet->setMargins(12, 20, 16, 16);
    sheet->setMarginLinks(true, false, false, true);
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiSheetMusicDlg>(controls);
    ASSERT_TRUE(load(*page, {sheet}));
    EXPECT_EQ(controls->text(1130), "12");
    EXPECT_FALSE(controls->isEnabled(1130));
    controls->click(1147);
    EXPECT_TRUE(controls->isEnabled(1130));
    EXPECT_EQ(controls->text(1130), "20") << "its own stored margin";
    EXPECT_FALSE(sheet->rightEqualsLeft());
}

TEST_F(SheetPageFixture, bookBoxesHighlightAndTheFirstPageRightMovesTheCurrentPage)
{
    MnSheetMusic* sheet = addSheet(210, 297);
    FakePageWindow window(*UiDialogTemplates::find(UiSheetMusicDlg::pageTemplateId));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiSheetMusicDlg>(controls, &window);
    ASSERT_TRUE(load(*page, {sheet}));
    controls->click(1138);  // three pages per row
    EXPECT_EQ(sheet->pagesPerRow(), 3);
    EXPECT_EQ(window.frames[1138], UiSheetMusicDlg::highlightColor);
    EXPECT_EQ(window.frames[1139], 0);

    sheet->setCurrentPage(2);
    controls->click(1131);  // book
    EXPECT_FALSE(controls->isShown(1124));
    EXPECT_FALSE(controls->isShown(1139));
    EXPECT_TRUE(page->highlighted[1] && page->highlighted[2]);
    EXPECT_FALSE(page->highlighted[4]);
    controls->click(1140);
    EXPECT_TRUE(sheet->isFirstPageRight());
    EXPECT_TRUE(page->highlighted[4]);
    EXPECT_EQ(sheet->currentPage(), 1);
    EXPECT_EQ(UiSheetMusicDlg::highlightColor, 16765572);
}
