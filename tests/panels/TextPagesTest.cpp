#include "model/MnCredit.h"
#include "model/MnLyric.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "model/MnTempo.h"
#include "model/MnWork.h"
#include "panels/UiCreditDlg.h"
#include "panels/UiLyricDlg.h"
#include "panels/UiTempoDlg.h"
#include "panels/UiTextDlg.h"
#include "tests/panels/PageFixture.h"

namespace {

// Control ids.
constexpr int fontList = 1093;
constexpr int heightEdit = 1088;
constexpr int boldCheck = 1097;
constexpr int underlineCheck = 1099;
constexpr int creditText = 1094;
constexpr int typeList = 1170;
constexpr int lyricText = 1094;
constexpr int passList = 1292;

class TextPages : public PageFixture
{
protected:
    MnSheetMusic* addSheet()
    {
        auto* sheet = new MnSheetMusic();
        EXPECT_TRUE(document.addWork(sheet));
        return sheet;
    }
    MnCredit* addCredit(MnSheetMusic* sheet, const char* text)
    {
        MnCredit* credit = sheet->addCredit(0);
        EXPECT_NE(credit, nullptr);
        EXPECT_TRUE(credit->setText(BcString(text)));
        return credit;
    }
};

}

TEST_F(TextPages, theFontIsTheFamilyTimesFourPlusItalicAndBold)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnText* text = score->tempo(0);
    text->setFont(7);  // bold italic Arial
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiTextDlg>(controls);
    ASSERT_EQ(controls->items(fontList), (std::vector<std::string>{"Times New Roman", "Arial", "Courier New"}));
    ASSERT_TRUE(load(*page, {text}));
    EXPECT_EQ(controls->selection(fontList), 1);
    EXPECT_EQ(controls->check(boldCheck), 1);
    EXPECT_EQ(controls->check(1098), 1);

    controls->click(boldCheck);
    EXPECT_EQ(text->font(), 6);
    controls->choose(fontList, 2);
    EXPECT_EQ(text->font(), 10);
    controls->click(underlineCheck);
    EXPECT_TRUE(text->isUnderlined());
    EXPECT_EQ(steps(), 3);
}

TEST_F(TextPages, mixedHeightsShowVariousUntilAHeightIsTyped)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnText* a = score->tempo(0);
    auto* b = new MnTempo(score);
    score->tempoArray().add(b);
    ASSERT_TRUE(a->setSize(12.0));
    ASSERT_TRUE(b->setSize(14.0));
    b->setFont(4);  // Arial
    restartHistory();
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiTextDlg>(controls);
    ASSERT_TRUE(load(*page, {a, b}));
    EXPECT_EQ(controls->text(heightEdit), "*Various*");
    EXPECT_EQ(controls->selection(fontList), -1);

    controls->click(boldCheck);
    EXPECT_EQ(a->font(), 1);
    EXPECT_EQ(b->font(), 5) << "each keeps its family";
    EXPECT_DOUBLE_EQ(a->size(), 12.0);
    EXPECT_DOUBLE_EQ(b->size(), 14.0);

    controls->type(heightEdit, "16");
    EXPECT_DOUBLE_EQ(a->size(), 16.0);
    EXPECT_DOUBLE_EQ(b->size(), 16.0);

    // A height of 0 is not stored; three digits do not fit.
    controls->type(heightEdit, "0");
    EXPECT_DOUBLE_EQ(a->size(), 16.0);
    controls->type(heightEdit, "123");
    EXPECT_EQ(controls->text(heightEdit), "12");
    EXPECT_DOUBLE_EQ(b->size(), 12.0);
}

TEST_F(TextPages, aSizeBetweenWholePointsSurvivesOtherChanges)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnText* text = score->tempo(0);
    ASSERT_TRUE(text->setSize(10.5));
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiTextDlg>(controls);
    ASSERT_TRUE(load(*page, {text}));
    EXPECT_EQ(controls->text(heightEdit), "10");
    controls->click(boldCheck);
    EXPECT_DOUBLE_EQ(text->size(), 10.5);
    controls->type(heightEdit, "11");
    EXPECT_DOUBLE_EQ(text->size(), 11.0);
}

TEST_F(TextPages, aCreditTypeFillsTheWorksTextAndTypingMakesItACreditOfItsOwn)
{
    MnWork* work = static_cast<MnWork*>(document.works()[0]);
    work->composer = BcString("Clara Schumann");
    MnSheetMusic* sheet = addSheet();
    MnCredit* credit = addCredit(sheet, "Some text");
    restartHistory();
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiCreditDlg>(controls);
    ASSERT_EQ(controls->itemCount(typeList), 7);
    EXPECT_EQ(controls->items(typeList)[3], "Composer");
    ASSERT_TRUE(load(*page, {credit}));
    EXPECT_EQ(controls->selection(typeList), 0);

    controls->choose(typeList, 3);
    EXPECT_EQ(credit->text(), BcString("Clara Schumann"));
    EXPECT_EQ(credit->type(), MnCreditComposer);
    EXPECT_EQ(controls->text(creditText), "Clara Schumann");
    EXPECT_EQ(steps(), 1);

    controls->type(creditText, "Robert");
    EXPECT_EQ(credit->text(), BcString("Robert"));
    EXPECT_EQ(credit->type(), MnCreditNone);
    EXPECT_EQ(controls->selection(typeList), 0);

    // An emptied box leaves the credit's text.
    controls->type(creditText, "");
    EXPECT_EQ(credit->text(), BcString("Robert"));
    EXPECT_EQ(controls->text(creditText), "");
}

TEST_F(TextPages, aCreditsAlignmentSetsItsTextsAlignmentUnlessItStandsFree)
{
    MnSheetMusic* sheet = addSheet();
    MnCredit* a = addCredit(sheet, "a");
    MnCredit* b = addCredit(sheet, "b");
    a->setAlignment(4);
    b->setCreditAlignment(2);
    restartHistory();
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiCreditDlg>(controls);
    ASSERT_TRUE(load(*page, {a, b}));
    EXPECT_EQ(controls->radioIndex(1000), -1);
    EXPECT_EQ(controls->text(creditText), "*Various*");

    GePoint2d at = a->position();
    controls->click(1092);  // none
    EXPECT_EQ(a->creditAlignment(), -1);
    EXPECT_EQ(b->creditAlignment(), -1);
    EXPECT_EQ(a->alignment(), 4) << "a free credit keeps how its text hangs";
    EXPECT_EQ(a->position().x, at.x);
    EXPECT_EQ(a->text(), BcString("a")) << "a mixed text is not written";

    const int radios[3] = {1000, 1070, 1091};
    for (int k = 0; k < 3; ++k) {
        controls->click(radios[k]);
        EXPECT_EQ(a->creditAlignment(), k);
        EXPECT_EQ(b->creditAlignment(), k);
        EXPECT_EQ(a->alignment(), k);
        EXPECT_EQ(b->alignment(), k);
    }
}

TEST_F(TextPages, aLyricsPassIsItsListIndexAndAnEmptyTextIsNotStored)
{
    MnScore* score = addScore(makeScore(1, 1));
    MnLyric* lyric = score->staff(0)->addLyric(0, 0);
    ASSERT_NE(lyric, nullptr);
    ASSERT_TRUE(lyric->setText(BcString("la la")));
    restartHistory();
    UiMemoryControlHost* controls = nullptr;
    auto page = makePage<UiLyricDlg>(controls);
    ASSERT_EQ(controls->itemCount(passList), 11);
    EXPECT_EQ(controls->items(passList)[3], "3. Third");
    ASSERT_TRUE(load(*page, {lyric}));
    EXPECT_EQ(controls->selection(passList), 1);

    controls->choose(passList, 0);
    EXPECT_EQ(lyric->passThrough(), 0);
    controls->choose(passList, 3);
    EXPECT_EQ(lyric->passThrough(), 3);

    controls->type(lyricText, "");
    EXPECT_EQ(lyric->text(), BcString("la la"));
    EXPECT_EQ(lyric->syllableCount(), 2);
    controls->type(lyricText, "Ky-ri-e");
    EXPECT_EQ(lyric->text(), BcString("Ky-ri-e"));
    EXPECT_EQ(lyric->syllableCount(), 3);
    EXPECT_EQ(lyric->passThrough(), 3);
}

TEST_F(PageFixture, theTextPagesAnchorEveryControlOfTheirTablesAndDrawTheBeatUnits)
{
    struct Row
    {
        const char* name;
        unsigned templateId;
        int anchored;  // controls, two entries of one control making one anchor
    };
    const Row rows[] = {
        {"tempo", UiTempoDlg::pageTemplateId, 39},
        {"text", UiTextDlg::pageTemplateId, 8},
        {"credit", UiCreditDlg::pageTemplateId, 7},
        {"lyric", UiLyricDlg::pageTemplateId, 3},
    };
    for (const Row& row : rows) {
        FakePageWindow window(*UiDialogTemplates::find(row.templateId));
        UiMemoryControlHost* controls = nullptr;
        std::unique_ptr<UiPropertiesDlg> page;
        switch (row.templateId) {
        case UiTempoDlg::pageTemplateId: page = makePage<UiTempoDlg>(controls, &window); break;
        case UiTextDlg::pageTemplateId: page = makePage<UiTextDlg>(controls, &window); break;
        case UiCreditDlg::pageTemplateId: page = makePage<UiCreditDlg>(controls, &window); break;
        default: page = makePage<UiLyricDlg>(controls, &window); break;
        }
        EXPECT_EQ(page->anchorList().count(), row.anchored) << row.name;
        if (row.templateId == UiTempoDlg::pageTemplateId)
            EXPECT_EQ(window.bitmaps, (std::map<int, int>{{1153, 282}, {1154, 284}, {1155, 286}, {1156, 281},
                                                          {1157, 283}, {1158, 285}}));
        else
            EXPECT_TRUE(window.bitmaps.empty()) << row.name;
    }
}
