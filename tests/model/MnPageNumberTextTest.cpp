#include "model/MnSheetMusic.h"

#include "common/TestPrinters.h"
#include "model/MnPageNumber.h"
#include "model/MnText.h"

#include <gtest/gtest.h>

TEST(MnPageNumberText, NumbersStandAtTheOuterCornerInTheTemplatesStyle)
{
    struct Row
    {
        const char* what;
        bool mirror;
        int page;
        const char* text;
        double x;
        int alignment;
    };
    // A4 portrait, left margin 10, right margin 20 (not linked), bottom 16:
    // numbers hang at y = -297 + 8.
    const Row rows[] = {
        {"page 1 is a right-hand page", true, 1, "2", 210.0 - 20.0, 8},
        {"page 2 is a left-hand page, mirrored", true, 2, "3", 20.0, 6},
        {"page 2 without mirroring", false, 2, "3", 210.0 - 20.0, 8},
        {"page 10", true, 9, "10", 210.0 - 20.0, 8},
    };
    for (const Row& row : rows) {
        MnSheetMusic sheet;
        sheet.setMargins(10, 20, 16, 16);
        sheet.setMarginLinks(false, true, false, row.mirror);
        MnPageNumber* style = sheet.pageNumberTemplate();
        style->setFont(6);
        style->setSize(9.0);
        style->setUnderline(true);
        MnText* number = sheet.pageNumberText(row.page);
        ASSERT_NE(number, nullptr) << row.what;
        EXPECT_NE(number, static_cast<MnText*>(style)) << row.what;
        EXPECT_EQ(number->text(), BcString(row.text)) << row.what;
        EXPECT_DOUBLE_EQ(number->position().x, row.x) << row.what;
        EXPECT_DOUBLE_EQ(number->position().y, -297.0 + 8.0) << row.what;
        EXPECT_EQ(number->alignment(), row.alignment) << row.what;
        EXPECT_EQ(number->font(), 6) << row.what;
        EXPECT_EQ(number->size(), 9.0) << row.what;
        EXPECT_TRUE(number->isUnderlined()) << row.what;
    }

    MnSheetMusic sheet;
    EXPECT_EQ(sheet.pageNumberText(-1), static_cast<MnText*>(sheet.pageNumberTemplate()));
    // The first page has no number.
    EXPECT_EQ(sheet.pageNumberText(0), nullptr);
}
