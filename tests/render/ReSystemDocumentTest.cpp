#include "model/MnPageNumber.h"
#include "model/MnWork.h"
#include "render/ReSystem.h"
#include "tests/common/EdFakeContext.h"
#include "tests/common/TestServices.h"
#include "tests/render/ComposeFixtures.h"
#include "tests/render/DrawnShapes.h"

#include <gtest/gtest.h>

// Whole documents and sheets: which works draw, in which order, with which
// index in the pick paths, and which pages.

TEST(ReSystemDocument, onlyTheWorkInformationDrawsNothing)
{
    QuorvaneDocument document;
    RecordingRenderer renderer;
    renderFrame(renderer, document, 0, 0);
    EXPECT_EQ(drawingCalls(renderer), 0);
    EXPECT_EQ(markingCalls(renderer), 0);
    EXPECT_TRUE(renderer.pickPath.isUnset());
}

// The kind-0 path marked on the header of a score's second staff.
static std::vector<EdPath> secondStaffHeaderPaths(const RecordingRenderer& renderer)
{
    std::vector<EdPath> paths;
    for (const RecordingRenderer::Call* call : renderer.callsNamed("markRect")) {
        if (call->pickPath.kind() == EdPath::KindStaff && call->pickPath.level(2) == 1)
            paths.push_back(call->pickPath);
    }
    return paths;
}

TEST(ReSystemDocument, pickPathsAndPreviewCountWorksInWorksOrder)
{
    // Works order: the work information, the lone score (0), then the
    // sheet (1); drawn the other way round.
    QuorvaneDocument document;
    document.addWork(new MnWork);
    MnScore* lone = new MnScore;
    lone->insertStaff(-1);
    lone->moveTo(GePoint2d(0, 400));
    document.addWork(lone);
    MnSheetMusic* sheet = new MnSheetMusic;
    sheet->score()->insertStaff(-1);
    document.addWork(sheet);
    ASSERT_TRUE(document.bringToFront(lone));
    ASSERT_EQ(document.displayOrder()[document.displayOrder().count() - 1], lone);

    RecordingRenderer renderer;
    renderer.render(&document, 0, 0, 4000, 1000, 1000, 0, 0);
    const std::vector<EdPath> paths = secondStaffHeaderPaths(renderer);
    ASSERT_EQ(paths.size(), 2u) << renderer.transcript();
    // The sheet is drawn first, with its works index 1; the score last, 0.
    EXPECT_EQ(paths[0], EdPath(EdPath::KindStaff, 1, 1, 0));
    EXPECT_EQ(paths[1], EdPath(EdPath::KindStaff, 0, 1, 0));

    // The preview of a note names the score by the same index.
    TestSettings settings;
    settings.set(BcSettings::selectionColor, 0x0000FF);  // red
    EdFakeContext context;
    context.noteInput().inputDuration = MnTicksQuarter;
    auto previewHeads = [&](int scoreIndex) {
        renderer.previewNotePath = EdNotePath(scoreIndex, 0, 0, 0, 0, 4, 5);
        renderer.clear();
        renderer.render(&document, 0, 0, 4000, 1000, 1000, 0, 0);
        std::vector<double> ys;
        for (const RecordingRenderer::Call* call : renderer.callsNamed("fillEllipse")) {
            if (call->color[0] == 255 && call->color[1] == 0)
                ys.push_back(call->transform.transform(GePoint2d(call->args[0], call->args[1])).y);
        }
        return ys;
    };
    const std::vector<double> onScore = previewHeads(0);
    ASSERT_EQ(onScore.size(), 1u);
    EXPECT_GT(onScore[0], 300.0);  // on the lone score, not on the sheet's page
    const std::vector<double> onSheet = previewHeads(1);
    ASSERT_EQ(onSheet.size(), 1u);
    EXPECT_LT(onSheet[0], 0.0);

    // Nothing is previewed while something is selected.
    renderer.add(sheet);
    EXPECT_TRUE(previewHeads(0).empty());
}

TEST(ReSystemDocument, aPageIsDrawnOnlyWhenItsBoxWidenedBy1Point8MeetsTheView)
{
    QuorvaneDocument document;
    MnSheetMusic* sheet = new MnSheetMusic;
    document.addWork(sheet);
    GePoint2d origin;
    ASSERT_TRUE(sheet->pageOrigin(0, origin, false));
    struct Row {
        const char* name;
        double gap;  // between the page's left edge and the view's right edge
        bool drawn;
    };
    const Row rows[] = {{"1.7 away", 1.7, true}, {"1.9 away", 1.9, false}};
    for (const Row& row : rows) {
        RecordingRenderer renderer;
        const double width = 100.0;
        renderer.render(&document, origin.x - row.gap - width / 2, origin.y - 50, width, 1000, 1000, 0, 0);
        EXPECT_EQ(drawingCalls(renderer) > 0, row.drawn) << row.name;
        EXPECT_EQ(markingCalls(renderer) > 0, row.drawn) << row.name;
    }
}

// The page numbers drawn, in order: the texts that the sheet's template
// reports to the picker.
static std::vector<std::string> pageNumbers(const RecordingRenderer& renderer, MnSheetMusic* sheet)
{
    std::vector<std::string> numbers;
    std::string lastText;
    for (const RecordingRenderer::Call& call : renderer.calls) {
        if (call.name == "drawText")
            lastText = call.text.toNarrow(BcString::utf8CodePage);
        else if (call.name == "markRect" && call.element == sheet->pageNumberTemplate())
            numbers.push_back(lastText);
    }
    return numbers;
}

TEST(ReSystemDocument, theTurningBookPageComesLastAfterTheHigherPages)
{
    QuorvaneDocument document;
    MnSheetMusic* sheet = new MnSheetMusic;
    document.addWork(sheet);
    while (sheet->score()->staff(0)->measureCount() < 400)
        sheet->score()->insertMeasure(-1);
    ASSERT_GE(sheet->pageCount(), 6);
    sheet->setPresentation(MnSheetMusic::Book);
    sheet->setCurrentPage(2);
    // The spread of pages 3 and 4 (numbered from 1) with page 4 turning
    // over to show its back, page 5, beside page 6.
    struct Row {
        double angle;
        std::vector<std::string> numbers;  // in drawing order
    };
    const Row rows[] = {{40.0, {"3", "6", "4"}}, {140.0, {"3", "6", "5"}}};
    for (const Row& row : rows) {
        sheet->setTurnAngle(row.angle);
        RecordingRenderer renderer;
        renderer.render(&document, 0, 0, 5000, 1000, 1000, 0, 0);
        EXPECT_EQ(pageNumbers(renderer, sheet), row.numbers) << row.angle;
        // Only the last page is framed inside its rotation.
        std::vector<bool> rotatedFrames;
        bool rotated = false;
        for (const RecordingRenderer::Call& call : renderer.calls) {
            if (call.name == "pushYRotation")
                rotated = true;
            else if (call.name == "markFrame")
                rotatedFrames.push_back(rotated);
        }
        EXPECT_EQ(rotatedFrames, (std::vector<bool>{false, false, true})) << row.angle;
    }
}

// The clefs and barlines of manuscript paper for the renderer's sheet page.
struct Manuscript
{
    explicit Manuscript(int staves)
    {
        sheet = new MnSheetMusic;
        for (int i = 1; i < staves; ++i)
            sheet->score()->insertStaff(-1);
        while (sheet->score()->staff(0)->measureCount() < 12)
            sheet->score()->insertMeasure(-1);
        document.addWork(sheet);
    }
    void render(RecordingRenderer& renderer, int clefMode, int measuresPerSystem)
    {
        GePoint2d origin;
        sheet->pageOrigin(0, origin, false);
        renderer.clear();
        renderer.renderSheetPage(sheet, clefMode, measuresPerSystem, origin.x + 105, origin.y - 148.5, 210, 210, 297);
    }
    QuorvaneDocument document;
    MnSheetMusic* sheet;
};

static int clefCount(const RecordingRenderer& renderer)
{
    int count = 0;
    for (const PlacedGlyph& glyph : placedGlyphs(renderer)) {
        if (glyph.name == "gClef" || glyph.name == "fClef" || glyph.name == "cClef")
            ++count;
    }
    return count;
}

TEST(ReSystemDocument, manuscriptClefModesAndBarlineCounts)
{
    Manuscript paper(4);
    MnScore* score = paper.sheet->score();
    MnPartGroup* grand = score->addPartGroup(2, 2);
    ASSERT_NE(grand, nullptr);
    grand->setBracketType(0);
    score->staff(3)->setClef(1);
    const int systems = paper.sheet->systemsOnPage(0);
    ASSERT_GE(systems, 2);

    RecordingRenderer renderer;
    struct Row {
        int clefMode;
        int clefs;
    };
    const Row rows[] = {{0, 0}, {1, 4 * systems}, {2, 4}, {3, 2 * systems}};
    for (const Row& row : rows) {
        paper.render(renderer, row.clefMode, 1);
        EXPECT_EQ(clefCount(renderer), row.clefs) << "clef mode " << row.clefMode;
    }

    // measuresPerSystem 0 draws the staves without any barline; more bars
    // add quads.
    paper.render(renderer, 0, 0);
    const int without = renderer.countOf("fillQuad");
    paper.render(renderer, 0, 2);
    const int twoBars = renderer.countOf("fillQuad");
    paper.render(renderer, 0, 3);
    const int threeBars = renderer.countOf("fillQuad");
    EXPECT_GT(twoBars, without);
    EXPECT_EQ(2 * (threeBars - twoBars), twoBars - without);
}
