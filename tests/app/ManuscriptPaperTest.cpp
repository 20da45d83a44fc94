#include "GLFrame.h"
#include "ShellFixture.h"

#include "app/UiGLPane.h"
#include "app/UiMainFrame.h"
#include "app/UiManuscriptPaper.h"
#include "app/UiManuscriptPaperViewport.h"
#include "app/UiQuorvaneView.h"
#include "app/UiViewPrint.h"
#include "commands/EdToolCommands.h"
#include "editing/QuorvaneDocument.h"
#include "foundation/BcMemoryFiler.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnPartGroup.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "render/ReGLHost.h"


#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

using ManuscriptPaperTest = ShellTest;

// A4 portrait with a score of `staves` staves.
std::unique_ptr<MnSheetMusic> sheetWith(int staves)
{
    auto sheet = std::make_unique<MnSheetMusic>();
    while (sheet->score()->staffCount() < staves)
        sheet->score()->insertStaff(-1);
    return sheet;
}

int systemsOf(const MnSheetMusic* paper)
{
    return paper->score()->staff(0)->measureCount();
}

// Every staff's measures each end a system.
bool oneMeasureSystems(const MnSheetMusic* paper)
{
    const MnScore* score = paper->score();
    for (int s = 0; s < score->staffCount(); ++s)
        for (int m = 0; m < score->staff(s)->measureCount(); ++m)
            if (score->staff(s)->measure(m)->systemBreak() != 1)
                return false;
    return true;
}

// How many dark pixels a render of the page shows.
int darkPixels(MnSheetMusic* paper, int clefMode, int bars)
{
    const int width = 840, height = 1188;
    std::unique_ptr<ReGLHost> host(ReGLHost::newOffscreen(width, height));
    if (!host)
        return -1;
    UiManuscriptPaperViewport viewport;
    if (!viewport.createContext(host.get()))
        return -1;
    viewport.fitPage(paper, width, height);
    if (!viewport.redraw(paper, clefMode, bars, width, height))
        return -1;
    const std::vector<unsigned char> pixels = readFrame(width, height);
    int dark = 0;
    for (size_t i = 0; i < pixels.size(); i += 3)
        if (pixels[i] < 100 && pixels[i + 1] < 100 && pixels[i + 2] < 100)
            ++dark;
    return dark;
}

// The page count pdfinfo reads from the file; -1 when it reads none.
int pdfPages(const std::string& path)
{
    std::string command = "pdfinfo '" + path + "' 2>/dev/null | grep '^Pages:'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char line[128] = {};
    int pages = -1;
    if (fgets(line, sizeof line, pipe))
        std::sscanf(line, "Pages: %d", &pages);
    pclose(pipe);
    return pages;
}

std::string chosenPath;
bool chooseGiven(std::string& path)
{
    path = chosenPath;
    return true;
}

}

TEST_F(ManuscriptPaperTest, aPageOfIdenticalOneMeasureSystemsFewerForMoreStaves)
{
    auto three = sheetWith(3);
    std::unique_ptr<MnSheetMusic> paper(UiManuscriptPaper::buildPage(three->score()));
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(paper->pageCount(), 1);
    EXPECT_EQ(paper->creditCount(), 0);
    EXPECT_EQ(paper->score()->staffCount(), 3);
    EXPECT_GE(systemsOf(paper.get()), 2);
    EXPECT_TRUE(oneMeasureSystems(paper.get()));
    EXPECT_EQ(paper->systemCount(), systemsOf(paper.get()));
    // The source keeps its four measures and its credits.
    EXPECT_EQ(three->score()->staff(0)->measureCount(), 4);
    EXPECT_EQ(three->creditCount(), 2);

    // One staff more, fewer systems.
    auto two = sheetWith(2);
    std::unique_ptr<MnSheetMusic> more(UiManuscriptPaper::buildPage(two->score()));
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->pageCount(), 1);
    EXPECT_GT(systemsOf(more.get()), systemsOf(paper.get()));

    // So tall that one measure takes two pages: the one measure stays.
    auto tall = sheetWith(60);
    std::unique_ptr<MnSheetMusic> single(UiManuscriptPaper::buildPage(tall->score()));
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(systemsOf(single.get()), 1);

    // A score on no sheet gets a sheet of its own.
    MnScore loose;
    std::unique_ptr<MnSheetMusic> own(UiManuscriptPaper::buildPage(&loose));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->pageCount(), 1);
    EXPECT_GT(systemsOf(own.get()), 2);
    EXPECT_EQ(UiManuscriptPaper::buildPage(nullptr), nullptr);
}

TEST_F(ManuscriptPaperTest, aPageThatNeverFillsStopsAtAThousandSystems)
{
    auto sheet = sheetWith(1);
    ASSERT_TRUE(sheet->setPaperSize(210, 10000));
    ASSERT_TRUE(sheet->setSystemSpacing(0));
    ASSERT_TRUE(sheet->score()->setScale(0.05));
    std::unique_ptr<MnSheetMusic> paper(UiManuscriptPaper::buildPage(sheet->score()));
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(systemsOf(paper.get()), UiManuscriptPaper::maxSystems);
}

TEST_F(ManuscriptPaperTest, clefModesAndBarsShowOnTheOffscreenPreview)
{
    auto sheet = sheetWith(3);
    MnScore* score = sheet->score();
    // A piano pair under a brace below a violin staff.
    score->staff(1)->setClef(MnClefTreble);
    score->staff(2)->setClef(MnClefBass);
    MnPartGroup* piano = score->addPartGroup(1, 2);
    ASSERT_NE(piano, nullptr);
    piano->setBracketType(0);
    std::unique_ptr<MnSheetMusic> paper(UiManuscriptPaper::buildPage(score));
    ASSERT_NE(paper, nullptr);

    int plain = darkPixels(paper.get(), 0, 0);
    ASSERT_GT(plain, 0);
    int grand = darkPixels(paper.get(), 3, 0);
    int first = darkPixels(paper.get(), 2, 0);
    int all = darkPixels(paper.get(), 1, 0);
    EXPECT_GT(first, plain);
    EXPECT_GT(grand, first);
    EXPECT_GT(all, grand);
    // One bar is the system's own end line; each more adds its lines.
    int bars = darkPixels(paper.get(), 0, 1);
    EXPECT_GE(bars, plain);
    for (int count = 2; count <= 5; ++count)
        EXPECT_GT(darkPixels(paper.get(), 0, count), bars) << count;
}

TEST_F(ManuscriptPaperTest, saveAsPdfAndPrintWriteOnePageAndLeaveTheDocumentAlone)
{
    std::string sample = root + "/sample.qrv";
    ASSERT_EQ(0, std::system((std::string(QRV_SAMPLE_TOOL) + " " + sample + " > /dev/null").c_str()));
    ASSERT_TRUE(start({sample}));
    pump(5);
    UiQuorvaneView* view = UiQuorvaneView::activeView();
    ASSERT_NE(view, nullptr);
    QuorvaneDocument* document = view->core()->document();
    MnSheetMusic* source = nullptr;
    for (int i = 0; i < document->works().count() && !source; ++i)
        source = dynamic_cast<MnSheetMusic*>(document->works()[i]);
    ASSERT_NE(source, nullptr);
    BcMemoryFiler before;
    ASSERT_TRUE(source->write(before));

    UiManuscriptPaper::Chooser previous = UiManuscriptPaper::setChooser(&chooseGiven);
    {
        UiManuscriptPaper dialog(app().mainFrame(), source->score());
        ASSERT_NE(dialog.sheet(), nullptr);
        struct Case
        {
            const char* chosen;
            const char* written;
        } cases[] = {{"x.PDF", "x.PDF"}, {"y", "y.pdf"}, {"z.txt", nullptr}};
        for (const Case& c : cases) {
            chosenPath = root + "/" + c.chosen;
            dialog.onExportPdf();
            if (c.written)
                EXPECT_EQ(pdfPages(root + "/" + c.written), 1) << c.chosen;
            else
                EXPECT_FALSE(std::filesystem::exists(chosenPath)) << c.chosen;
        }
        EXPECT_TRUE(boxes.texts.empty());
        // A folder that is not there: the user hears which file failed.
        chosenPath = root + "/missing/w.pdf";
        dialog.onExportPdf();
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_NE(boxes.texts[0].find(chosenPath), std::string::npos);

        EXPECT_TRUE(dialog.onPrintPaper());
        ASSERT_EQ(launcher.opened.size(), 1u);
        EXPECT_EQ(launcher.opened[0], UiViewPrint::filePath());
        EXPECT_EQ(pdfPages(launcher.opened[0]), 1);
    }
    UiManuscriptPaper::setChooser(previous);
    std::remove(UiViewPrint::filePath().c_str());

    BcMemoryFiler after;
    ASSERT_TRUE(source->write(after));
    ASSERT_EQ(before.bytes().count(), after.bytes().count());
    bool same = true;
    for (int i = 0; i < before.bytes().count(); ++i)
        same = same && before.bytes()[i] == after.bytes()[i];
    EXPECT_TRUE(same);
    stop();
}

TEST_F(ManuscriptPaperTest, theCommandOpensAPreviewThatDrawsThePage)
{
    std::string sample = root + "/sample.qrv";
    ASSERT_EQ(0, std::system((std::string(QRV_SAMPLE_TOOL) + " " + sample + " > /dev/null").c_str()));
    ASSERT_TRUE(start({sample}));
    pump(5);
    bool opened = false;
    bool varied = false;
    UiManuscriptPaper::setOpenedHook([&](UiManuscriptPaper& dialog) {
        opened = true;
        for (int round = 0; round < 20 && !dialog.canvas()->IsShownOnScreen(); ++round)
            wxYield();
        wxSize size = dialog.canvas()->GetClientSize();
        if (dialog.redraw() && size.x > 0 && size.y > 0)
            varied = frameVaries(readWindowFrame(size.x, size.y));
        dialog.EndModal(wxID_CANCEL);
    });
    EdToolCommands::cmdManuscriptPaper();
    UiManuscriptPaper::setOpenedHook(nullptr);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(varied);
    stop();
}
