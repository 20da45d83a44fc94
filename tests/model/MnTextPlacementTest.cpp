#include "model/MnCredit.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnTempo.h"
#include "tests/common/TestPrinters.h"
#include "tests/common/TestServices.h"

#include <gtest/gtest.h>

#include <algorithm>

// The laid-out boxes hold the text's position, so the clamps of the drags
// compare them with the printable area directly.

TEST(MnTextPlacement, aTempoMarkDraggedPastThePrintableAreaStopsAtItsEdge)
{
    MnSheetMusic sheet;
    MnScore* score = sheet.score();
    MnTempo* tempo = score->tempo(0);
    double usableWidth = sheet.pageWidth() - sheet.leftMargin(0) - sheet.rightMargin(0);
    GePoint2d origin = score->position();

    EXPECT_TRUE(tempo->moveTo(GePoint2d(1000, tempo->position().y)));
    GeBox2d box = tempo->extents();
    EXPECT_NEAR(origin.x + std::max(box.a.x, box.b.x), usableWidth, 1e-9);

    EXPECT_TRUE(tempo->moveTo(GePoint2d(-1000, tempo->position().y)));
    box = tempo->extents();
    EXPECT_NEAR(origin.x + std::min(box.a.x, box.b.x), 0.0, 1e-9);

    // Above the top of the printable area: down to it.
    EXPECT_TRUE(tempo->moveTo(GePoint2d(20, 500)));
    box = tempo->extents();
    EXPECT_NEAR(origin.y + std::max(box.a.y, box.b.y), 0.0, 1e-9);

    // A drag that ends where it started moves nothing.
    EXPECT_FALSE(tempo->moveTo(tempo->position()));
}

TEST(MnTextPlacement, aCreditDraggedPastAMarginStopsOnIt)
{
    MnSheetMusic sheet;
    MnCredit* credit = sheet.addCredit(0);
    credit->setCreditAlignment(-1);
    credit->setAlignment(0);
    double left = sheet.leftMargin(0);
    double right = sheet.pageWidth() - sheet.rightMargin(0);

    credit->moveTo(GePoint2d(-50, -40));
    GeBox2d box = credit->extents();
    EXPECT_NEAR(std::min(box.a.x, box.b.x), left, 1e-9);

    credit->moveTo(GePoint2d(500, -40));
    box = credit->extents();
    EXPECT_NEAR(std::max(box.a.x, box.b.x), right, 1e-9);

    credit->moveTo(GePoint2d(20, 30));
    box = credit->extents();
    EXPECT_NEAR(std::max(box.a.y, box.b.y), -sheet.topMargin(), 1e-9);

    credit->moveTo(GePoint2d(20, -1000));
    box = credit->extents();
    EXPECT_NEAR(std::min(box.a.y, box.b.y), -(sheet.pageHeight() - sheet.bottomMargin()), 1e-9);

    // Wider than the page: the left edge stays on the margin.
    credit->setText(BcString("A title far too long to fit between the margins of any page at all"));
    credit->setSize(40);
    credit->moveTo(GePoint2d(-50, -40));
    box = credit->extents();
    EXPECT_NEAR(std::min(box.a.x, box.b.x), left, 1e-9);
    EXPECT_GT(std::max(box.a.x, box.b.x), right);
}

TEST(MnTextPlacement, aNewSheetTakesItsPaperAndTextsFromTheApplication)
{
    TestSettings settings;
    settings.set(BcSettings::paperDefaultColor, 0x01E0F0FF);
    TestStringResources strings;
    strings.set(BcStringResources::untitled, "Sans titre");
    strings.set(BcStringResources::unknown, "Inconnu");
    strings.set(BcStringResources::newText, "Nouveau texte");
    MnSheetMusic sheet;
    EXPECT_EQ(sheet.paperColor(), 0x01E0F0FF);
    ASSERT_EQ(sheet.creditCount(), 2);
    EXPECT_EQ(sheet.credit(0)->text(), BcString("Sans titre"));
    EXPECT_EQ(sheet.credit(1)->text(), BcString("Inconnu"));
    EXPECT_EQ(sheet.addCredit(0)->text(), BcString("Nouveau texte"));
}
