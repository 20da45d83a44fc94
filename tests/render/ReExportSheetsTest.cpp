#include "render/ReExportSheets.h"

#include "editing/EdSelection.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include "tests/render/ExportTestSheets.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(ReExportSheets, EveryPageOfTheSheetsSpreadOutInRows)
{
    QuorvaneDocument document;
    MnSheetMusic* single = addSheet(document);
    MnSheetMusic* book = addSheet(document);
    book->moveTo(GePoint2d(500.0, -20.0));
    MnScore* score = book->score();
    for (int i = 0; i < 3; ++i)
        score->staff(0)->measure(i)->setSystemBreak(MnSystemBreakPage);
    book->setPresentation(MnSheetMusic::Book);

    EdSelection none;
    ReExportSheets sheets(none, &document);
    MnCache scope;
    ASSERT_EQ(sheets.count(), 2);
    EXPECT_EQ(sheets.totalPages(), 1 + 4);

    // The book is spread out while it is exported, and a book again after.
    std::vector<std::pair<const MnSheetMusic*, double>> pages;
    sheets.forEachPage([&](MnSheetMusic* sheet, const GePoint2d& origin) {
        pages.push_back({sheet, origin.x});
        EXPECT_EQ(origin.y, sheet->position().y);
    });
    const double width = book->pageWidth();
    EXPECT_EQ(pages, (std::vector<std::pair<const MnSheetMusic*, double>>{
                         {single, 0.0}, {book, 500.0}, {book, 500.0 + width}, {book, 500.0 + 2 * width},
                         {book, 500.0 + 3 * width}}));
    EXPECT_EQ(book->presentation(), MnSheetMusic::Book);
}
