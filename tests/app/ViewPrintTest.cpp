#include "app/UiViewPrint.h"

#include "ShellFixture.h"
#include "app/UiQuorvaneViewCore.h"
#include "commands/EdCommandTable.h"
#include "common/EdFakeContext.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnChord.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class QuietWindow : public UiViewWindow
{
public:
    unsigned long long tickCount() override { return clock += 16; }
    void clientSize(int& w, int& h) override
    {
        w = 800;
        h = 600;
    }
    void pointer(int& x, int& y) override
    {
        x = -1;
        y = -1;
    }
    void present(const UiViewFrame&) override {}
    unsigned long long clock = 1000;
};

// The fake context with the view under test as the active one.
class PrintContext : public EdFakeContext
{
public:
    EdView* activeView() override { return shown; }
    EdView* shown = nullptr;
};

// The pages of a PDF file, as pdfinfo counts them; -1 without a file.
int pdfPages(const std::string& path)
{
    if (!std::filesystem::exists(path))
        return -1;
    std::string command = "pdfinfo '" + path + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    int pages = -1;
    char line[512];
    while (std::fgets(line, sizeof line, pipe))
        if (std::sscanf(line, "Pages: %d", &pages) == 1)
            break;
    ::pclose(pipe);
    return pages;
}

// Two sheet musics: the first of three pages, the second of one.
class ViewPrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qrv-print-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        runtime = pattern;
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ASSERT_TRUE(document.OnNewDocument());
        context.activate(&document);
        context.shown = &core;
        first = new MnSheetMusic;
        ASSERT_TRUE(document.addWork(first));
        // Four measures, a page break after each of the first two.
        MnStaff* staff = first->score()->staff(0);
        ASSERT_EQ(4, staff->measureCount());
        for (int i = 0; i < 2; ++i)
            staff->measure(i)->setSystemBreak(MnSystemBreakPage);
        second = new MnSheetMusic;
        ASSERT_TRUE(document.addWork(second));
        UiViewPrint::addRows();
    }
    void TearDown() override
    {
        std::filesystem::remove_all(runtime);
        ::unsetenv("XDG_RUNTIME_DIR");
    }

    bool print(unsigned id)
    {
        std::filesystem::remove(UiViewPrint::filePath());
        EdCommandInputs inputs = EdCommandTable::gather();
        return EdCommandTable::execute(id, inputs);
    }

    std::string runtime;
    PrintContext context;
    QuorvaneDocument document;
    MnSheetMusic* first = nullptr;
    MnSheetMusic* second = nullptr;
    QuietWindow window;
    UiViewCore core{window, &document};
    FakeLauncher launcher;
};

TEST_F(ViewPrintTest, PrintWritesTheChosenSheetsIntoAPrivateFileAndOpensIt)
{
    const std::string path = runtime + "/QuorvaneFilePrint.pdf";
    ASSERT_EQ(path, UiViewPrint::filePath());
    MnChord* chord = first->score()->staff(0)->measure(0)->voiceChords(0)[0];
    struct Case { const char* name; MnElement* selected; unsigned id; int pages; };
    const Case cases[] = {
        {"the second sheet selected", second, UiViewPrint::printId, 1},
        {"the first sheet selected", first, UiViewPrint::quickPrintId, 3},
        {"a chord selected: every sheet", chord, UiViewPrint::printId, 4},
        {"nothing selected: every sheet", nullptr, UiViewPrint::quickPrintId, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core.selection().clear();
        core.selection().add(c.selected);
        launcher.opened.clear();
        ASSERT_TRUE(print(c.id));
        EXPECT_EQ(c.pages, pdfPages(path));
        ASSERT_EQ(1u, launcher.opened.size());
        EXPECT_EQ(path, launcher.opened[0]);
    }
    EXPECT_TRUE(context.messageTexts.empty());
}

TEST_F(ViewPrintTest, AFileThatCannotBeWrittenIsToldAndNothingOpens)
{
    // A folder in the file's place: the export cannot replace it.
    const std::string path = UiViewPrint::filePath();
    std::filesystem::create_directory(path);
    EXPECT_FALSE(UiViewPrint::printPdf(&document, core.selection()));
    EXPECT_TRUE(launcher.opened.empty());
    ASSERT_EQ(1u, context.messageTexts.size());
    const std::string text = context.messageTexts[0].toNarrow(BcString::utf8CodePage);
    EXPECT_NE(std::string::npos, text.find(path)) << text;

    // Without sheet music there is nothing to print, and nothing to tell.
    QuorvaneDocument bare;
    ASSERT_TRUE(bare.OnNewDocument());
    std::filesystem::remove(path);
    EXPECT_FALSE(UiViewPrint::printPdf(&bare, core.selection()));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(launcher.opened.empty());
    EXPECT_EQ(1u, context.messageTexts.size());
}

TEST_F(ViewPrintTest, WithoutAPrivateRuntimeFolderTheFileGoesIntoOneOfOurOwn)
{
    // A runtime folder others may enter is not used.
    ::chmod(runtime.c_str(), 0777);
    const std::string folder = UiViewPrint::privateFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(runtime, folder);
    struct stat status;
    ASSERT_EQ(0, ::lstat(folder.c_str(), &status));
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(::getuid(), status.st_uid);
    EXPECT_EQ(0700u, status.st_mode & 0777);
    EXPECT_EQ(folder, UiViewPrint::privateFolder());  // made once
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(folder + "/QuorvaneFilePrint.pdf", UiViewPrint::filePath());
}

TEST_F(ViewPrintTest, PreviewCoversTheFirstSheetAndLeavesTheCameraOnTheLastPage)
{
    UiViewPrintout printout(core);
    int minimum = 0, maximum = 0, from = 0, to = 0;
    printout.GetPageInfo(&minimum, &maximum, &from, &to);
    EXPECT_EQ(1, minimum);
    EXPECT_EQ(3, maximum);
    EXPECT_TRUE(printout.HasPage(3));
    EXPECT_FALSE(printout.HasPage(4));

    // A4 at two pixels per millimetre.
    wxBitmap bitmap(420, 594, 24);
    wxMemoryDC dc(bitmap);
    printout.SetDC(&dc);
    printout.SetPPIScreen(51, 51);
    printout.SetPPIPrinter(51, 51);
    printout.SetPageSizePixels(420, 594);
    printout.SetPageSizeMM(210, 297);
    printout.SetPaperRectPixels(wxRect(0, 0, 420, 594));
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        ASSERT_TRUE(printout.OnPrintPage(page));
        GePoint2d origin;
        {
            MnCache cache;
            ASSERT_TRUE(first->pageOrigin(page - 1, origin, false));
        }
        EXPECT_DOUBLE_EQ(origin.x + first->pageWidth() / 2, core.view.scrollX);
        EXPECT_DOUBLE_EQ(origin.y - first->pageHeight() / 2, core.view.scrollY);
        EXPECT_DOUBLE_EQ(first->pageWidth(), core.view.zoom);
    }
    dc.SelectObject(wxNullBitmap);
    // The last page's music is drawn in black on the cleared page.
    wxImage image = bitmap.ConvertToImage();
    int dark = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            dark += image.GetRed(x, y) < 96 ? 1 : 0;
    EXPECT_GT(dark, 50);
}

}  // namespace
