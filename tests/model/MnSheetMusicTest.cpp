#include "model/MnSheetMusic.h"

#include "common/TestPrinters.h"
#include "common/TestServices.h"
#include "foundation/BcClass.h"
#include "model/MnCredit.h"
#include "model/MnMeasure.h"
#include "model/MnPageLayout.h"
#include "model/MnPageNumber.h"
#include "model/MnScore.h"
#include "model/MnStaff.h"
#include "model/RecordBytes.h"
#include "model/TextRecord.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(MnSheetMusic, NewSheet)
{
    BcObject* made = MnSheetMusic::staticClass()->createObject();
    ASSERT_NE(made, nullptr);
    ASSERT_TRUE(made->isKindOf(MnSheetMusic::staticClass()));
    MnSheetMusic& sheet = *static_cast<MnSheetMusic*>(made);
    EXPECT_EQ(sheet.parent(), nullptr);
    EXPECT_EQ(sheet.pageWidth(), 210.0);
    EXPECT_EQ(sheet.pageHeight(), 297.0);
    EXPECT_EQ(sheet.leftMargin(0), 10.0);
    EXPECT_EQ(sheet.rightMargin(0), 10.0);
    EXPECT_EQ(sheet.topMargin(), 16.0);
    EXPECT_EQ(sheet.bottomMargin(), 16.0);
    EXPECT_EQ(sheet.paperColor(), 0xFFFFFF);
    EXPECT_EQ(sheet.pagesPerRow(), 5);
    EXPECT_EQ(sheet.systemSpacing(), 20.0);

    ASSERT_NE(sheet.score(), nullptr);
    EXPECT_TRUE(sheet.ownsScore());
    EXPECT_EQ(sheet.score()->parent(), &sheet);
    EXPECT_GE(sheet.score()->position().x, 10.0);
    EXPECT_EQ(sheet.score()->position().y, -80.0);
    ASSERT_EQ(sheet.score()->staffCount(), 1);
    EXPECT_EQ(sheet.score()->staff(0)->measureCount(), 4);

    ASSERT_EQ(sheet.creditCount(), 2);
    EXPECT_EQ(sheet.credit(0)->text(), BcString("Untitled"));
    EXPECT_EQ(sheet.credit(0)->creditAlignment(), 1);
    EXPECT_EQ(sheet.credit(0)->alignment(), 1);
    EXPECT_EQ(sheet.credit(0)->size(), 16.0);
    EXPECT_EQ(sheet.credit(0)->type(), MnCreditNone);
    EXPECT_EQ(sheet.credit(1)->text(), BcString("Unknown"));
    EXPECT_EQ(sheet.credit(1)->creditAlignment(), 2);
    EXPECT_EQ(sheet.credit(1)->size(), 8.0);
    EXPECT_EQ(sheet.credit(1)->position().y, -25.0);

    MnPageNumber* pageNumber = sheet.pageNumberTemplate();
    EXPECT_EQ(pageNumber->text(), BcString("@page"));
    EXPECT_EQ(pageNumber->alignment(), 8);
    EXPECT_EQ(pageNumber->size(), 10.0);
    delete made;
}

TEST(MnSheetMusic, NewSheetTakesItsTextsAndPaperFromTheApplication)
{
    MnSheetMusic sheet;
    {
        TestSettings settings;
        settings.set(BcSettings::paperDefaultColor, 0x01C0D0E0);
        TestStringResources strings;
        strings.set(BcStringResources::untitled, "Sans titre");
        strings.set(BcStringResources::unknown, "Inconnu");
        strings.set(BcStringResources::newText, "Nouveau texte");
        MnSheetMusic localized;
        MnCredit* added = localized.addCredit(0);
        EXPECT_EQ(localized.paperColor(), 0x01C0D0E0);
        EXPECT_EQ(localized.credit(0)->text(), BcString("Sans titre"));
        EXPECT_EQ(localized.credit(1)->text(), BcString("Inconnu"));
        EXPECT_EQ(added->text(), BcString("Nouveau texte"));
    }
    EXPECT_EQ(sheet.paperColor(), 0xFFFFFF);
    EXPECT_EQ(sheet.credit(0)->text(), BcString("Untitled"));
}


TEST(MnSheetMusic, PageSizeAndMargins)
{
    MnSheetMusic sheet;
    sheet.setLandscape(true);
    EXPECT_EQ(sheet.pageWidth(), 297.0);
    EXPECT_EQ(sheet.pageHeight(), 210.0);
    sheet.setLandscape(false);
    EXPECT_FALSE(sheet.setPaperSize(0, 297));
    ASSERT_TRUE(sheet.setPaperSize(297, 210));
    EXPECT_EQ(sheet.pageWidth(), 210.0);

    struct Row
    {
        const char* what;
        bool rightEqualsLeft;
        bool bottomEqualsTop;
        bool topEqualsRight;
        bool mirror;
        bool firstPageRight;
        int page;
        double left;
        double right;
        double top;
        double bottom;
    };
    // Stored margins: left 10, right 20, top 16, bottom 30.
    const Row rows[] = {
        {"linked right ignores the right margin", true, false, false, true, false, 0, 10, 10, 16, 30},
        {"mirrored left-hand page", false, false, false, true, false, 0, 20, 10, 16, 30},
        {"mirrored right-hand page", false, false, false, true, false, 1, 10, 20, 16, 30},
        {"first page right", false, false, false, true, true, 0, 10, 20, 16, 30},
        {"not mirrored", false, false, false, false, false, 0, 10, 20, 16, 30},
        {"bottom follows top", false, true, false, false, false, 0, 10, 20, 16, 16},
        {"top follows right", false, true, true, false, false, 0, 10, 20, 20, 20},
        {"top follows the linked right", true, false, true, false, false, 0, 10, 10, 10, 30},
    };
    for (const Row& row : rows) {
        sheet.setMargins(10, 20, 16, 30);
        sheet.setMarginLinks(row.rightEqualsLeft, row.bottomEqualsTop, row.topEqualsRight, row.mirror);
        sheet.setFirstPageRight(row.firstPageRight);
        EXPECT_EQ(sheet.leftMargin(row.page), row.left) << row.what;
        EXPECT_EQ(sheet.rightMargin(row.page), row.right) << row.what;
        EXPECT_EQ(sheet.topMargin(), row.top) << row.what;
        EXPECT_EQ(sheet.bottomMargin(), row.bottom) << row.what;
    }
}

TEST(MnSheetMusic, PageNumbers)
{
    MnSheetMusic sheet;
    EXPECT_EQ(sheet.pageNumberText(-1), static_cast<MnText*>(sheet.pageNumberTemplate()));
    EXPECT_EQ(sheet.pageNumberText(0), nullptr);
    sheet.pageNumberTemplate()->setFont(5);
    sheet.pageNumberTemplate()->setUnderline(true);

    // Page 1 is a right-hand page: its number hangs at the right margin.
    MnText* second = sheet.pageNumberText(1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->text(), BcString("2"));
    EXPECT_EQ(second->font(), 5);
    EXPECT_EQ(second->size(), 10.0);
    EXPECT_TRUE(second->isUnderlined());
    EXPECT_EQ(second->alignment(), 8);
    EXPECT_EQ(second->position().x, 200.0);
    EXPECT_EQ(second->position().y, -297.0 + 8.0);

    // Page 2 is a mirrored left-hand page: at the left margin.
    MnText* third = sheet.pageNumberText(2);
    EXPECT_EQ(third->text(), BcString("3"));
    EXPECT_EQ(third->alignment(), 6);
    EXPECT_EQ(third->position().x, 10.0);
}

TEST(MnSheetMusic, CreditsAndPageLayoutsAreChildren)
{
    MnSheetMusic sheet;
    EXPECT_EQ(sheet.pageLayout(2, false), nullptr);
    MnPageLayout* layout = sheet.pageLayout(2, true);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->parent(), &sheet);
    EXPECT_EQ(layout->page(), 2);
    EXPECT_EQ(layout->systemSpacing(), 20.0);
    EXPECT_EQ(sheet.pageLayout(2, true), layout);
    EXPECT_EQ(sheet.pageLayoutCount(), 1);

    MnCredit* credit = sheet.addCredit(1);
    EXPECT_TRUE(sheet.removeChild(credit));
    EXPECT_EQ(sheet.creditCount(), 2);
    EXPECT_TRUE(sheet.removeChild(layout));
    EXPECT_EQ(sheet.pageLayoutCount(), 0);
    EXPECT_FALSE(sheet.removeChild(sheet.score()));
    MnCredit stranger;
    EXPECT_FALSE(sheet.removeChild(&stranger));
}

TEST(MnSheetMusic, SharedScoreIsNotOwned)
{
    MnSheetMusic owner;
    MnSheetMusic viewer;
    viewer.setScore(owner.score());
    EXPECT_FALSE(viewer.ownsScore());
    EXPECT_TRUE(owner.ownsScore());
    // Written without its score, and read back keeping the score it shows.
    Bytes record = recordOf(viewer);
    MnSheetMusic copy;
    copy.setScore(owner.score());
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(copy.score(), owner.score());
    EXPECT_EQ(recordOf(copy), record);
    copy.setScore(nullptr);
    viewer.setScore(nullptr);
}

TEST(MnSheetMusic, RecordRoundTrips)
{
    MnSheetMusic sheet;
    sheet.moveTo(GePoint2d(-5.0, 7.5));
    sheet.addCredit(1)->setText(BcString("Rights"));
    MnPageLayout* layout = sheet.pageLayout(1, true);
    layout->moveTo(GePoint2d(0.0, -40.0));
    layout->setSystemSpacing(12.5);
    sheet.setPresentation(MnSheetMusic::Book);
    sheet.setPagesPerRow(3);
    sheet.setFirstPageRight(true);
    sheet.setCurrentPage(2);
    sheet.setTurnAngle(45.0);
    sheet.setLandscape(true);
    sheet.setPaperColor(0x00F0F0F0);
    sheet.setMargins(12, 14, 18, 20);
    sheet.setMarginLinks(false, false, true, false);
    sheet.setSystemSpacing(25.0);
    Bytes record = recordOf(sheet);

    MnSheetMusic copy;
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(copy.creditCount(), 3);
    EXPECT_EQ(copy.credit(2)->text(), BcString("Rights"));
    EXPECT_EQ(copy.credit(2)->parent(), &copy);
    ASSERT_EQ(copy.pageLayoutCount(), 1);
    EXPECT_EQ(copy.pageLayoutAt(0)->parent(), &copy);
    EXPECT_EQ(copy.pageLayoutAt(0)->position().y, -40.0);
    EXPECT_EQ(copy.presentation(), MnSheetMusic::Book);
    EXPECT_EQ(copy.currentPage(), 2);
    // The turn of a page is view state and not filed.
    EXPECT_EQ(copy.turnAngle(), 0.0);
    EXPECT_TRUE(copy.isLandscape());
    EXPECT_EQ(copy.topMargin(), 14.0);
    EXPECT_EQ(copy.score()->parent(), &copy);
    EXPECT_EQ(recordOf(copy), record);

    for (size_t length = 0; length < record.size(); ++length) {
        MnSheetMusic partial;
        EXPECT_FALSE(readRecord(partial, Bytes(record.begin(), record.begin() + length))) << length;
    }
}

TEST(MnSheetMusic, VersionZeroHasNoTemplateAndNoPageLayouts)
{
    MnSheetMusic sheet;
    sheet.pageNumberTemplate()->setSize(14.0);
    RecordBuilder builder(0);
    builder.real(1.0).real(2.0).boolean(false).integer(1);
    builder.bytes(defaultTextRecord(0)).integer(0).integer(-1).integer(0);
    builder.integer(0).integer(2).boolean(false).integer(0).integer(216).integer(279).integer(0)
        .integer(0xFFFFFF).integer(10).integer(10).integer(16).integer(16)
        .boolean(true).boolean(true).boolean(false).boolean(true).real(20.0);
    ASSERT_TRUE(readRecord(sheet, builder.done(), 0));
    EXPECT_EQ(sheet.position().x, 1.0);
    EXPECT_EQ(sheet.creditCount(), 1);
    EXPECT_EQ(sheet.pageNumberTemplate()->size(), 14.0);
    EXPECT_EQ(sheet.pagesPerRow(), 2);
    EXPECT_EQ(sheet.paperWidth(), 216);
    EXPECT_EQ(sheet.pageHeight(), 279.0);
}

TEST(MnSheetMusic, ReadingRefusesWhatWouldBreakTheLayout)
{
    MnSheetMusic model;
    Bytes good = recordOf(model);
    // The fields behind the page layouts, from the end of the record back:
    // the spacing, four link flags, four margins, then paper colour,
    // landscape, height and width, current page, first page right and pages
    // per row.
    const size_t marginsAt = good.size() - 8 - 4 - 4 * 4;
    const size_t paperHeightAt = marginsAt - 3 * 4;
    const size_t paperWidthAt = marginsAt - 4 * 4;
    const size_t pagesPerRowAt = paperWidthAt - 4 - 1 - 4;
    auto patchInt = [](Bytes bytes, size_t at, int value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = (unsigned char)(unsigned(value) >> (8 * i));
        return bytes;
    };
    MnSheetMusic check;
    ASSERT_TRUE(readRecord(check, patchInt(good, paperWidthAt, 216)));
    EXPECT_EQ(check.paperWidth(), 216);
    ASSERT_TRUE(readRecord(check, patchInt(good, pagesPerRowAt, 3)));
    EXPECT_EQ(check.pagesPerRow(), 3);

    struct Row
    {
        const char* what;
        size_t at;
        int value;
    };
    const Row rows[] = {
        {"no pages per row", pagesPerRowAt, 0},
        {"negative pages per row", pagesPerRowAt, -2},
        {"paper without width", paperWidthAt, 0},
        {"paper of negative height", paperHeightAt, -297},
    };
    for (const Row& row : rows) {
        MnSheetMusic sheet;
        EXPECT_FALSE(readRecord(sheet, patchInt(good, row.at, row.value))) << row.what;
    }

    // A credit count near 2^31 stops at the first credit that runs out.
    RecordBuilder builder;
    builder.real(0.0).real(0.0).boolean(false).integer(0x7FFFFFFF).record(MnCredit());
    MnSheetMusic sheet;
    EXPECT_FALSE(readRecord(sheet, builder.done()));
    MnSheetMusic negative;
    EXPECT_FALSE(readRecord(negative, RecordBuilder().real(0.0).real(0.0).boolean(false).integer(-1).done()));
    EXPECT_EQ(negative.creditCount(), 2);
}

TEST(MnPageLayout, RecordAndDrag)
{
    MnSheetMusic sheet;
    MnPageLayout* layout = sheet.pageLayout(3, true);
    EXPECT_EQ(layout->scale(), sheet.score()->scale());
    EXPECT_EQ(layout->width(), 0.0);

    // Only y moves, and only down to where the score still fits the page.
    EXPECT_TRUE(layout->moveTo(GePoint2d(30.0, -50.0)));
    EXPECT_EQ(layout->position().x, 0.0);
    EXPECT_EQ(layout->position().y, -50.0);
    EXPECT_TRUE(layout->moveTo(GePoint2d(0.0, 10.0)));
    EXPECT_EQ(layout->position().y, 0.0);
    EXPECT_FALSE(layout->moveTo(GePoint2d(0.0, 5.0)));
    double usableHeight = 297.0 - 32.0;
    double lowest = sheet.score()->height() * sheet.score()->scale() - usableHeight;
    EXPECT_TRUE(layout->moveTo(GePoint2d(0.0, -1000.0)));
    EXPECT_DOUBLE_EQ(layout->position().y, lowest);

    Bytes record = recordOf(*layout);
    EXPECT_EQ(record, RecordBuilder().integer(3).real(0.0).real(lowest).real(20.0).done());
    MnPageLayout copy(&sheet, 0);
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(copy.page(), 3);
    EXPECT_EQ(recordOf(copy), record);

    MnPageLayout bad(&sheet, 0);
    EXPECT_FALSE(readRecord(bad, RecordBuilder().integer(-1).real(0.0).real(0.0).real(20.0).done()));
    EXPECT_FALSE(readRecord(bad, RecordBuilder().integer(1).real(0.0).real(std::nan("")).real(20.0).done()));
    EXPECT_FALSE(readRecord(bad, RecordBuilder().integer(1).real(0.0).real(0.0).real(HUGE_VAL).done()));
    EXPECT_EQ(bad.page(), 0);
    for (size_t length = 0; length < record.size(); ++length) {
        MnPageLayout partial(&sheet, 0);
        EXPECT_FALSE(readRecord(partial, Bytes(record.begin(), record.begin() + length))) << length;
    }
}
