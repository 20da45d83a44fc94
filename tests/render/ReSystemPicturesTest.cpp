#include "render/RePicker.h"
#include "tests/common/RecordingRenderer.h"
#include "tests/common/TestCanvas.h"
#include "tests/render/ShowcaseSheet.h"

#include <gtest/gtest.h>

#include <string>

// Pictures to look at: the pages of a sheet that holds every kind of symbol,
// and a page of manuscript paper, painted from the recorded calls.

static void paintPage(const RecordingRenderer& renderer, const GePoint2d& origin, double width, double height,
                      const std::string& name)
{
    TestCanvas canvas(int(width * 6), int(height * 6));
    renderer.paint(canvas, origin.x, origin.y, origin.x + width, origin.y - height);
    ASSERT_TRUE(canvas.writePng(std::string(QRV_TEST_OUTPUT_DIR) + "/" + name));
}

TEST(ReSystemPictures, showcasePagesAndManuscriptPaper)
{
    QuorvaneDocument document;
    std::unique_ptr<MnSheetMusic> owned = makeShowcaseSheet();
    MnSheetMusic* sheet = owned.release();
    document.addWork(sheet);
    ASSERT_GE(sheet->pageCount(), 2);

    const double width = sheet->pageWidth();
    const double height = sheet->pageHeight();
    for (int page = 0; page < 2; ++page) {
        GePoint2d origin;
        ASSERT_TRUE(sheet->pageOrigin(page, origin, false));
        RecordingRenderer renderer;
        renderer.outputKind = 1;
        renderer.render(&document, origin.x + width / 2, origin.y - height / 2, width, width, height, 0, 0);
        EXPECT_GT(renderer.countOf("fillMesh"), 50) << "page " << page;
        EXPECT_GT(renderer.countOf("strokeCurve"), 0) << "page " << page;
        EXPECT_GT(renderer.countOf("drawText"), 10) << "page " << page;
        paintPage(renderer, origin, width, height, "showcase-page" + std::to_string(page + 1) + ".png");
    }

    GePoint2d origin;
    ASSERT_TRUE(sheet->pageOrigin(0, origin, false));
    RecordingRenderer renderer;
    renderer.outputKind = 1;
    renderer.renderSheetPage(sheet, 3, 2, origin.x + width / 2, origin.y - height / 2, width, width, height);
    EXPECT_GT(renderer.countOf("fillQuad"), 50);
    paintPage(renderer, origin, width, height, "manuscript-page.png");
}
