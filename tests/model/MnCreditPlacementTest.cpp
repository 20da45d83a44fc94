#include "model/MnCredit.h"

#include "foundation/BcClass.h"
#include "model/EdGuideLine.h"
#include "model/EdHorizontalGuideLine.h"
#include "model/EdVerticalGuideLine.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include "common/TestPrinters.h"

#include <gtest/gtest.h>

// A credit whose text is a box of the given size hanging from its anchor,
// laid out on its page as the text composer does it: x from the page's left
// edge (the left margin plus its own x), y from the top edge (its y below
// the top margin).
class BoxedCredit : public MnCredit
{
public:
    BoxedCredit(MnSheetMusic* sheet, int page, double width, double height)
        : MnCredit(sheet, page), boxWidth(width), boxHeight(height)
    {
        setCreditAlignment(-1);
    }
    GeBox2d extents() const override
    {
        const MnSheetMusic* sheet = sheetMusic();
        const double x = sheet->leftMargin(page()) + position().x;
        const double y = -sheet->topMargin() + position().y;
        return GeBox2d(GePoint2d(x, y - boxHeight), GePoint2d(x + boxWidth, y));
    }

private:
    double boxWidth;
    double boxHeight;
};

TEST(MnCreditPlacement, DraggingKeepsTheBoxInsideThePrintableArea)
{
    struct Row
    {
        const char* what;
        int page;
        double width;
        GePoint2d to;
        GePoint2d at;
    };
    // Left margin 20 on page 0 and 10 on page 1 (mirrored, right margin 20,
    // not linked): the printable width is 180 on both, the height 265.
    const Row rows[] = {
        {"inside stays", 0, 40.0, {30.0, -40.0}, {30.0, -40.0}},
        {"across the left margin", 0, 40.0, {-5.0, -40.0}, {0.0, -40.0}},
        {"across the right margin", 0, 40.0, {170.0, -40.0}, {140.0, -40.0}},
        {"wider than the page: the left edge wins", 0, 300.0, {50.0, -40.0}, {0.0, -40.0}},
        {"above the top margin", 1, 40.0, {30.0, 4.0}, {30.0, 0.0}},
        {"below the bottom margin", 1, 40.0, {30.0, -300.0}, {30.0, -257.0}},
        {"page 1 across the right margin", 1, 40.0, {170.0, -40.0}, {140.0, -40.0}},
    };
    for (const Row& row : rows) {
        MnSheetMusic sheet;
        sheet.setMargins(10, 20, 16, 16);
        sheet.setMarginLinks(false, true, false, true);
        ASSERT_EQ(sheet.leftMargin(0), 20.0);
        ASSERT_EQ(sheet.leftMargin(1), 10.0);
        BoxedCredit credit(&sheet, row.page, row.width, 8.0);
        credit.moveTo(row.to);
        EXPECT_NEAR(credit.position().x, row.at.x, 1e-9) << row.what;
        EXPECT_NEAR(credit.position().y, row.at.y, 1e-9) << row.what;
        // Where it stands it stays.
        EXPECT_FALSE(credit.moveTo(credit.position())) << row.what;
    }
}

TEST(MnCreditPlacement, GuideLinesAtTheOtherCredits)
{
    MnSheetMusic sheet;
    sheet.moveTo(GePoint2d(100.0, 50.0));
    // The two default credits are justified; add two free ones.
    MnCredit* dragged = sheet.addCredit(0);
    dragged->setCreditAlignment(-1);
    MnCredit* other = sheet.addCredit(0);
    other->setCreditAlignment(-1);
    other->moveTo(GePoint2d(30.0, -60.0));
    ASSERT_EQ(sheet.creditCount(), 4);

    BcArray<EdGuideLine*> guides;
    EXPECT_TRUE(dragged->addGuideLines(guides, nullptr));
    // Page 0's printable area starts at (100 + 10, 50 - 16).
    int horizontal = 0;
    int vertical = 0;
    for (int i = 0; i < guides.count(); ++i) {
        EXPECT_EQ(guides[i]->tolerance, 2.0);
        if (guides[i]->isKindOf(EdVerticalGuideLine::staticClass())) {
            ++vertical;
            EXPECT_DOUBLE_EQ(guides[i]->position, 110.0 + other->position().x);
        } else {
            ASSERT_TRUE(guides[i]->isKindOf(EdHorizontalGuideLine::staticClass()));
            ++horizontal;
        }
    }
    // One height per other credit, one x for the other free credit only.
    EXPECT_EQ(horizontal, 3);
    EXPECT_EQ(vertical, 1);
    EXPECT_DOUBLE_EQ(guides[guides.count() - 2]->position, 34.0 + other->position().y);
    for (int i = 0; i < guides.count(); ++i)
        delete guides[i];
    guides.removeAll();

    // A justified credit snaps only to heights.
    dragged->setCreditAlignment(1);
    EXPECT_TRUE(dragged->addGuideLines(guides, nullptr));
    EXPECT_EQ(guides.count(), 3);
    for (int i = 0; i < guides.count(); ++i) {
        EXPECT_TRUE(guides[i]->isKindOf(EdHorizontalGuideLine::staticClass()));
        delete guides[i];
    }
    guides.removeAll();

    // In a book turned on to a later spread the first page is not shown.
    // Page breaks after the first three measures give the book four pages.
    for (int i = 0; i < 3; ++i)
        sheet.score()->staff(0)->measure(i)->setSystemBreak(2);
    sheet.setPresentation(MnSheetMusic::Book);
    sheet.setCurrentPage(2);
    EXPECT_TRUE(dragged->addGuideLines(guides, nullptr));
    EXPECT_EQ(guides.count(), 0);
    // A current page past the last page is first brought back to the last
    // spread, which shows the first page again.
    sheet.setCurrentPage(6);
    for (int i = 0; i < 3; ++i)
        sheet.score()->staff(0)->measure(i)->setSystemBreak(0);
    EXPECT_TRUE(dragged->addGuideLines(guides, nullptr));
    EXPECT_EQ(sheet.currentPage(), 0);
    EXPECT_EQ(guides.count(), 3);
    for (int i = 0; i < guides.count(); ++i)
        delete guides[i];
}
