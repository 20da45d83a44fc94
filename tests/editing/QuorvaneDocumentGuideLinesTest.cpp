#include "editing/QuorvaneDocument.h"
#include "model/EdHorizontalGuideLine.h"
#include "model/EdVerticalGuideLine.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include <gtest/gtest.h>

#include <vector>

struct Guide
{
    bool vertical;
    double position;
};

// The document's guide lines for the dragged element, checked against the
// expected ones in order, with their tolerance; every line starts hidden.
static void expectGuides(QuorvaneDocument& document, MnElement* dragged, const std::vector<Guide>& expected,
                         double tolerance)
{
    BcArray<EdGuideLine*> lines;
    EXPECT_TRUE(document.addGuideLines(lines, dragged));
    ASSERT_EQ(lines.count(), int(expected.size()));
    for (int i = 0; i < lines.count(); ++i) {
        const EdGuideLine* line = lines[i];
        EXPECT_EQ(line->isKindOf(EdVerticalGuideLine::staticClass()), expected[size_t(i)].vertical) << i;
        EXPECT_EQ(line->position, expected[size_t(i)].position) << i;
        EXPECT_EQ(line->tolerance, tolerance) << i;
        EXPECT_FALSE(line->visible);
        EXPECT_FALSE(line->snapped);
    }
    for (int i = 0; i < lines.count(); ++i)
        delete lines[i];
}

TEST(QuorvaneDocumentGuideLines, ADraggedSheetSnapsToTheOtherSheetsPageEdges)
{
    QuorvaneDocument document;
    ASSERT_TRUE(document.OnNewDocument());
    // Two pages side by side: a page break after the first measure.
    MnSheetMusic* twoPages = new MnSheetMusic();
    for (int s = 0; s < twoPages->score()->staffCount(); ++s)
        ASSERT_TRUE(twoPages->score()->staff(s)->measure(0)->setSystemBreak(MnSystemBreakPage));
    ASSERT_EQ(twoPages->pageCount(), 2);
    const double width = twoPages->pageWidth();
    const double height = twoPages->pageHeight();
    // A one-page sheet right of them shares an edge with the second page.
    MnSheetMusic* beside = new MnSheetMusic();
    ASSERT_TRUE(beside->moveTo(GePoint2d(2 * width, 0)));
    MnSheetMusic* dragged = new MnSheetMusic();
    ASSERT_TRUE(dragged->moveTo(GePoint2d(500, -400)));
    document.addWork(twoPages);
    document.addWork(dragged);
    document.addWork(new MnScore());
    document.addWork(beside);
    expectGuides(document, dragged,
                 {{true, 0}, {true, width}, {true, 2 * width}, {true, 3 * width}, {false, 0}, {false, -height}}, 5);
}

TEST(QuorvaneDocumentGuideLines, AStaffOfAFreeScoreSnapsToTheOtherFreeScores)
{
    QuorvaneDocument document;
    ASSERT_TRUE(document.OnNewDocument());
    MnScore* dragged = new MnScore();
    dragged->insertStaff(-1);
    ASSERT_TRUE(dragged->setScale(2));
    ASSERT_TRUE(dragged->part(1)->setScale(1.5));
    MnScore* near = new MnScore();
    ASSERT_TRUE(near->moveTo(GePoint2d(10, -20)));
    MnScore* far = new MnScore();
    ASSERT_TRUE(far->moveTo(GePoint2d(40, -20)));
    MnSheetMusic* sheet = new MnSheetMusic();
    document.addWork(near);
    document.addWork(sheet);
    document.addWork(dragged);
    document.addWork(far);
    expectGuides(document, dragged->staff(1), {{true, 10}, {true, 40}, {false, -20}}, 5 * 1.5 * 2);

    // A staff on a sheet music and any other element get none.
    expectGuides(document, sheet->score()->staff(0), {}, 0);
    expectGuides(document, near, {}, 0);
    expectGuides(document, nullptr, {}, 0);
}
