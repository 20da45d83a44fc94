#include "model/MnCredit.h"
#include "model/MnSheetMusic.h"

#include "common/TestPrinters.h"
#include "foundation/BcClass.h"
#include "model/RecordBytes.h"
#include "model/TextRecord.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(MnCredit, NewCreditOfASheet)
{
    MnSheetMusic sheet;
    MnCredit* credit = sheet.addCredit(2);
    ASSERT_NE(credit, nullptr);
    EXPECT_EQ(sheet.creditCount(), 3);
    EXPECT_EQ(sheet.credit(2), credit);
    EXPECT_EQ(credit->parent(), &sheet);
    EXPECT_EQ(credit->page(), 2);
    EXPECT_EQ(credit->type(), MnCreditNone);
    EXPECT_EQ(credit->creditAlignment(), 0);
    EXPECT_EQ(credit->text(), BcString("New text"));
    EXPECT_EQ(credit->width(), 0.0);
}

TEST(MnCredit, EmptyTextIsRefused)
{
    MnCredit credit;
    ASSERT_TRUE(credit.setText(BcString("Sonata")));
    EXPECT_FALSE(credit.setText(BcString()));
    EXPECT_EQ(credit.text(), BcString("Sonata"));
}

TEST(MnCredit, DragStaysInsideThePrintableArea)
{
    // An A4 portrait page with 10 mm side margins and 16 mm top and bottom
    // margins: the printable area runs from x = 10 to 200 and from y = -16
    // to -281 on the page. A free credit's measured box is kept inside it.
    MnSheetMusic sheet;
    MnCredit* credit = sheet.addCredit(0);
    credit->setCreditAlignment(-1);
    enum Edge { None, Left, Right, Top, Bottom };
    struct Row
    {
        const char* what;
        GePoint2d to;
        Edge edge;
        double at;
    };
    const Row rows[] = {
        {"inside", GePoint2d(50.0, -30.0), None, 0.0},
        {"left of the left margin", GePoint2d(-7.0, -30.0), Left, 10.0},
        {"right of the right margin", GePoint2d(200.0, -30.0), Right, 200.0},
        {"above the top margin", GePoint2d(20.0, 5.0), Top, -16.0},
        {"below the bottom margin", GePoint2d(20.0, -300.0), Bottom, -281.0},
    };
    for (const Row& row : rows) {
        credit->moveTo(row.to);
        GeBox2d box = credit->extents();
        switch (row.edge) {
        case None:
            EXPECT_DOUBLE_EQ(credit->position().x, row.to.x) << row.what;
            EXPECT_DOUBLE_EQ(credit->position().y, row.to.y) << row.what;
            break;
        case Left: EXPECT_NEAR(std::min(box.a.x, box.b.x), row.at, 1e-9) << row.what; break;
        case Right: EXPECT_NEAR(std::max(box.a.x, box.b.x), row.at, 1e-9) << row.what; break;
        case Top: EXPECT_NEAR(std::max(box.a.y, box.b.y), row.at, 1e-9) << row.what; break;
        case Bottom: EXPECT_NEAR(std::min(box.a.y, box.b.y), row.at, 1e-9) << row.what; break;
        }
    }
    // A drag that clamps back onto the place it started from moves nothing.
    EXPECT_FALSE(credit->moveTo(GePoint2d(20.0, -300.0)));
}

TEST(MnCredit, PageCoordinatesStartAtTheFirstPagesPrintableArea)
{
    MnSheetMusic sheet;
    sheet.moveTo(GePoint2d(100.0, 50.0));
    MnCredit* credit = sheet.addCredit(3);
    GePoint2d page = credit->toPageCoordinates(GePoint2d(5.0, -7.0), nullptr);
    EXPECT_DOUBLE_EQ(page.x, 100.0 + 10.0 + 5.0);
    EXPECT_DOUBLE_EQ(page.y, 50.0 - 16.0 - 7.0);
}

TEST(MnCredit, Record)
{
    MnCredit credit;
    credit.setText(BcString("Composer"));
    credit.setPage(1);
    credit.setType(MnCreditComposer);
    credit.setCreditAlignment(2);
    Bytes record = recordOf(credit);
    Bytes text = textRecordOf(credit);
    EXPECT_EQ(record, RecordBuilder().bytes(text).integer(1).integer(2).integer(2).done());

    MnCredit copy;
    ASSERT_TRUE(readRecord(copy, record));
    EXPECT_EQ(copy.page(), 1);
    EXPECT_EQ(copy.type(), MnCreditComposer);
    EXPECT_EQ(copy.creditAlignment(), 2);
    EXPECT_EQ(recordOf(copy), record);

    for (size_t length = 0; length < record.size(); ++length) {
        MnCredit partial;
        EXPECT_FALSE(readRecord(partial, Bytes(record.begin(), record.begin() + length))) << length;
    }
}

TEST(MnCredit, ReadingChecksPageTypeAndAlignment)
{
    Bytes text = defaultTextRecord(5);
    struct Row
    {
        const char* what;
        int page;
        int type;
        int alignment;
        bool ok;
        int readType;
        int readAlignment;
    };
    const Row rows[] = {
        {"negative page", -1, 0, 0, false, MnCreditNone, 0},
        {"unknown type becomes a text of its own", 0, 6, 1, true, MnCreditNone, 1},
        {"type below none", 0, -2, 1, true, MnCreditNone, 1},
        {"unknown alignment becomes free", 0, 5, 3, true, MnCreditRights, -1},
        {"free credit", 4, 0, -1, true, MnCreditTitle, -1},
    };
    for (const Row& row : rows) {
        MnCredit credit;
        Bytes record = RecordBuilder().bytes(text).integer(row.page).integer(row.type).integer(row.alignment).done();
        EXPECT_EQ(readRecord(credit, record), row.ok) << row.what;
        EXPECT_EQ(credit.type(), row.readType) << row.what;
        EXPECT_EQ(credit.creditAlignment(), row.readAlignment) << row.what;
    }
}
