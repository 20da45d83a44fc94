#include "app/UiQuorvaneViewBoxes.h"

#include "editing/EdTestScores.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcString.h"
#include "model/MnCache.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "render/ReScorePass.h"

#include <gtest/gtest.h>

namespace {

struct Box
{
    GePoint2d a;
    GePoint2d b;
};

// A document with one score of two braced staves and three measures lying
// on the desk at (50, 40), laid out as the composer does.
class ElementBoxesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(document.OnNewDocument());
        score = makeScore(2, 3);
        score->addPartGroup(0, 2);
        score->part(0)->setName(BcString("Piano"));
        ASSERT_TRUE(document.addWork(score));
        score->moveTo(GePoint2d(50, 40));
        origin = score->position();
        MnCache cache;
        ReScorePass pass(nullptr, score, 0, 3, origin, 2.0, 0);
        header = pass.headerWidth;
        total = pass.systemEnd;
        for (int k = 0; k < 2; ++k) {
            top[k] = pass.staffY(k);
            ps[k] = pass.partScale[k];
        }
        double x = origin.x + header;
        for (int m = 0; m < 3; ++m) {
            left[m] = x;
            x += score->staff(0)->measure(m)->headerWidth() + score->staff(0)->measure(m)->contentWidth() * 2.0;
        }
        left[3] = x;
    }

    bool find(const GePoint2d& point, Box& box, MnMeasure* measure = nullptr)
    {
        return UiElementBoxes::findElementBox(&document, box.a, box.b, point, measure);
    }
    double bottom(int k) const { return top[k] - score->staff(k)->height(); }

    QuorvaneDocument document;
    MnScore* score = nullptr;
    GePoint2d origin;
    double header = 0;
    double total = 0;
    double top[2] = {};
    double ps[2] = {};
    double left[4] = {};
};

TEST_F(ElementBoxesTest, RegionsOfADeskScoreFromTheInnermostOut)
{
    struct Case { const char* name; GePoint2d point; double x1, y1, x2, y2; };
    const double systemBottom = origin.y - score->height() - 6 * ps[1];
    const Case cases[] = {
        {"a staff's measure, 6 ps above and below", {(left[1] + left[2]) / 2, top[0] - 2}, left[1],
         top[0] + 6 * ps[0], left[2], bottom(0) - 6 * ps[0]},
        {"the gap of the braced pair: both staves", {(left[0] + left[1]) / 2, (bottom(0) + top[1]) / 2}, left[0],
         top[0] + 6 * ps[0], left[1], bottom(1) - 6 * ps[1]},
        {"the lower staff's measure", {left[2] + 1, top[1] - 1}, left[2], top[1] + 6 * ps[1], left[3],
         bottom(1) - 6 * ps[1]},
        {"the header: the system", {origin.x + 1, top[0] - 1}, origin.x, origin.y + 6 * ps[0], origin.x + total,
         systemBottom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Box box;
        ASSERT_TRUE(find(c.point, box));
        EXPECT_NEAR(c.x1, box.a.x, 1e-9);
        EXPECT_NEAR(c.y1, box.a.y, 1e-9);
        EXPECT_NEAR(c.x2, box.b.x, 1e-9);
        EXPECT_NEAR(c.y2, box.b.y, 1e-9);
    }
}

TEST_F(ElementBoxesTest, PartNamesWidenTheSystemAndTheDeskIsTheLastResort)
{
    // The labels lie left of the origin.
    double names = -score->partsExtents(false).x;
    ASSERT_GT(names, 0.0);
    Box box;
    ASSERT_TRUE(find(GePoint2d(origin.x - names / 2, origin.y - 1), box));
    EXPECT_NEAR(origin.x - names, box.a.x, 1e-9);
    EXPECT_NEAR(origin.x + total, box.b.x, 1e-9);
    EXPECT_NEAR(origin.y + 6 * ps[0], box.a.y, 1e-9);
    // Far beside the score: every work on the desk.
    GePoint2d corner1;
    GePoint2d corner2;
    ASSERT_TRUE(document.worksExtents(corner1, corner2));
    ASSERT_TRUE(find(GePoint2d(origin.x + total + 500, origin.y + 500), box));
    EXPECT_EQ(corner1.x, box.a.x);
    EXPECT_EQ(corner2.y, box.b.y);

    QuorvaneDocument empty;
    ASSERT_TRUE(empty.OnNewDocument());
    EXPECT_FALSE(UiElementBoxes::findElementBox(&empty, box.a, box.b, GePoint2d(0, 0), nullptr));
    EXPECT_FALSE(UiElementBoxes::findElementBox(nullptr, box.a, box.b, GePoint2d(0, 0), nullptr));
}

TEST_F(ElementBoxesTest, AMeasureOfEitherStaffGivesItsSystem)
{
    Box first;
    Box second;
    ASSERT_TRUE(find(GePoint2d(-1000, -1000), first, score->staff(0)->measure(1)));
    ASSERT_TRUE(find(GePoint2d(-1000, -1000), second, score->staff(1)->measure(1)));
    EXPECT_EQ(origin.x, first.a.x);
    EXPECT_NEAR(origin.x + total, first.b.x, 1e-9);
    EXPECT_EQ(first.a.x, second.a.x);
    EXPECT_EQ(first.a.y, second.a.y);
    EXPECT_EQ(first.b.x, second.b.x);
    EXPECT_EQ(first.b.y, second.b.y);
}

// Every lookup must see the model as it is now, also after an edit made
// straight through the model's setters, outside any transaction.
TEST_F(ElementBoxesTest, ALookupSeesAnEditMadeSinceTheLastAndRepeatsItselfWithout)
{
    const GePoint2d point((left[1] + left[2]) / 2, top[0] - 2);
    MnMeasure* lower = score->staff(1)->measure(2);
    Box before;
    Box again;
    Box system;
    ASSERT_TRUE(find(point, before));
    ASSERT_TRUE(find(point, system, lower));
    ASSERT_TRUE(find(point, again));
    EXPECT_EQ(left[1], before.a.x);
    EXPECT_EQ(before.a.x, again.a.x);
    EXPECT_EQ(before.a.y, again.a.y);
    EXPECT_EQ(before.b.x, again.b.x);
    EXPECT_EQ(before.b.y, again.b.y);

    // The first measure widened past the point: the point now lies in it,
    // and the system reaches further right.
    MnMeasure* widened = score->staff(0)->measure(0);
    widened->setUserWidth(widened->userWidth() + (left[3] - left[0]));
    Box after;
    Box longer;
    ASSERT_TRUE(find(point, after));
    ASSERT_TRUE(find(point, longer, lower));
    EXPECT_EQ(left[0], after.a.x);
    EXPECT_GT(after.b.x, point.x);
    EXPECT_GT(longer.b.x, system.b.x + (left[3] - left[0]) - 1e-9);
}

TEST(ElementBoxesSheetTest, PageMarginGivesThePageAndABookItsSpread)
{
    for (int presentation : {int(MnSheetMusic::PagesInRows), int(MnSheetMusic::Book)}) {
        SCOPED_TRACE(presentation);
        QuorvaneDocument document;
        ASSERT_TRUE(document.OnNewDocument());
        MnSheetMusic* sheet = new MnSheetMusic;
        ASSERT_TRUE(document.addWork(sheet));
        sheet->setPresentation(presentation);
        GePoint2d page;
        ASSERT_TRUE(sheet->pageOrigin(0, page, false));
        GePoint2d corner1;
        GePoint2d corner2;
        // A few millimetres inside the bottom-right corner: margin, no system.
        GePoint2d point(page.x + sheet->pageWidth() - 3, page.y - sheet->pageHeight() + 3);
        ASSERT_TRUE(UiElementBoxes::findElementBox(&document, corner1, corner2, point, nullptr));
        const bool book = presentation == MnSheetMusic::Book;
        const GePoint2d start = book ? sheet->position() : page;
        EXPECT_EQ(start.x, corner1.x);
        EXPECT_EQ(start.y, corner1.y);
        EXPECT_DOUBLE_EQ(start.x + sheet->pageWidth() * (book ? 2 : 1), corner2.x);
        EXPECT_DOUBLE_EQ(start.y - sheet->pageHeight(), corner2.y);
        // The first measure of the first staff: the first system, inside the page.
        MnMeasure* measure = sheet->score()->staff(0)->measure(0);
        ASSERT_TRUE(UiElementBoxes::findElementBox(&document, corner1, corner2, point, measure));
        EXPECT_GT(corner1.x, page.x);
        EXPECT_LT(corner2.x, page.x + sheet->pageWidth());
        EXPECT_LT(corner1.y, page.y);
        EXPECT_GT(corner2.y, page.y - sheet->pageHeight());
    }
}

// A system break put in since the last lookup moves the measure after it
// to the next system.
TEST(ElementBoxesSheetTest, ASystemBreakSinceTheLastLookupMovesTheMeasureDown)
{
    QuorvaneDocument document;
    ASSERT_TRUE(document.OnNewDocument());
    MnSheetMusic* sheet = new MnSheetMusic;
    ASSERT_TRUE(document.addWork(sheet));
    MnStaff* staff = sheet->score()->staff(0);
    MnMeasure* measure = staff->measure(2);
    int slot = -1;
    sheet->locateMeasure(2, &slot, nullptr, nullptr);
    ASSERT_EQ(0, slot);
    GePoint2d before1;
    GePoint2d before2;
    GePoint2d again1;
    GePoint2d again2;
    ASSERT_TRUE(UiElementBoxes::findElementBox(&document, before1, before2, GePoint2d(), measure));
    ASSERT_TRUE(UiElementBoxes::findElementBox(&document, again1, again2, GePoint2d(), measure));
    EXPECT_EQ(before1.x, again1.x);
    EXPECT_EQ(before1.y, again1.y);
    EXPECT_EQ(before2.x, again2.x);
    EXPECT_EQ(before2.y, again2.y);

    ASSERT_TRUE(staff->measure(1)->setSystemBreak(MnSystemBreakSystem));
    sheet->locateMeasure(2, &slot, nullptr, nullptr);
    ASSERT_EQ(1, slot);
    GePoint2d after1;
    GePoint2d after2;
    ASSERT_TRUE(UiElementBoxes::findElementBox(&document, after1, after2, GePoint2d(), measure));
    EXPECT_NEAR(before1.y - sheet->systemDistance(0), after1.y, 1e-9);
    EXPECT_NEAR(before2.y - sheet->systemDistance(0), after2.y, 1e-9);
}

}  // namespace
