#include "ShellFixture.h"

#include "app/UiCommandStates.h"
#include "app/UiDocument.h"
#include "app/UiLook.h"
#include "app/UiMainFrame.h"
#include "app/UiStatusBar.h"
#include "editing/EdContext.h"

#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/imagpng.h>

namespace {

int backSideCards = 0;

class StatusBarTest : public ShellTest
{
protected:
    ~StatusBarTest() override { Quorvane::setBackSideCard(nullptr); }
    UiMainFrame& frame() { return *app().mainFrame(); }
    UiStatusBar& bar() { return *frame().statusPanes(); }
    UiStatusPanes::Rect rect(int pane)
    {
        UiStatusPanes::Rect rects[UiStatusPanes::paneCount];
        bar().paneRects(rects);
        return rects[pane];
    }
    bool mouse(wxEventType type, int pane, int rotation = 0)
    {
        UiStatusPanes::Rect r = rect(pane);
        wxMouseEvent event(type);
        event.SetPosition(wxPoint(r.x + r.width / 2, r.y + r.height / 2));
        event.SetEventObject(&bar());
        event.m_wheelRotation = rotation;
        event.m_wheelDelta = 120;
        bool processed = bar().GetEventHandler()->ProcessEvent(event);
        pump();
        return processed;
    }
    void refresh()
    {
        UiCommandStates::invalidate();
        bar().refresh();
    }
    void closeAll()
    {
        while (app().documentManager()->GetCurrentDocument()) {
            frame().runCommand(57602);
            pump();
        }
    }
};

}

TEST_F(StatusBarTest, clicksAndTheWheel)
{
    Quorvane::setBackSideCard([](Quorvane&) { ++backSideCards; });
    ASSERT_TRUE(start({writeScore("Score.qrv")}));
    frame().SetSize(1400, 700);
    pump();
    EdContext::Toggles& toggles = EdContext::current().toggles();

    bool tracking = toggles.playbackTracking;
    mouse(wxEVT_LEFT_DOWN, UiStatusPanes::tracking);
    EXPECT_NE(toggles.playbackTracking, tracking);
    mouse(wxEVT_RIGHT_DOWN, UiStatusPanes::tracking);
    EXPECT_EQ(toggles.playbackTracking, tracking);

    backSideCards = 0;
    mouse(wxEVT_LEFT_DOWN, UiStatusPanes::turn);
    EXPECT_EQ(backSideCards, 1);

    bool ortho = toggles.orthoMode;
    mouse(wxEVT_LEFT_DOWN, UiStatusPanes::ortho);
    EXPECT_NE(toggles.orthoMode, ortho);
    toggles.orthoMode = ortho;

    // SNAP toggles with no document too, and shows nothing then.
    closeAll();
    bool snap = toggles.snapGuideLines;
    mouse(wxEVT_LEFT_DOWN, UiStatusPanes::snap);
    EXPECT_NE(toggles.snapGuideLines, snap);
    refresh();
    EXPECT_EQ(bar().paneState(UiStatusPanes::snap).text, L"");
    toggles.snapGuideLines = snap;

    // The player is closed here: the wheel over the volume is not taken,
    // and the pane is greyed.
    EXPECT_FALSE(mouse(wxEVT_MOUSEWHEEL, UiStatusPanes::volume, 120));
    EXPECT_FALSE(bar().paneState(UiStatusPanes::volume).enabled);
    EXPECT_FALSE(mouse(wxEVT_MOUSEWHEEL, UiStatusPanes::undo, 120));
}

TEST_F(StatusBarTest, aPictureOfTheBarShowsSnapHighlighted)
{
    ASSERT_TRUE(start());
    EdContext::current().toggles().snapGuideLines = true;
    EdContext::current().toggles().orthoMode = false;
    pump(10);
    refresh();
    bar().Refresh();
    bar().Update();
    pump(10);
    ASSERT_TRUE(bar().paneState(UiStatusPanes::snap).highlighted);
    EXPECT_FALSE(bar().paneState(UiStatusPanes::ortho).highlighted);

    // Drawn into a bitmap: a grab of the shared test display can catch the
    // bar before it is shown or under another test's window.
    wxSize area = bar().GetClientSize();
    wxBitmap picture(area.x, area.y);
    {
        wxMemoryDC memory(picture);
        bar().draw(memory);
    }
    wxImage image = picture.ConvertToImage();
    UiStatusPanes::Rect snap = rect(UiStatusPanes::snap);
    UiStatusPanes::Rect ortho = rect(UiStatusPanes::ortho);
    auto rgb = [](const wxColour& c) { return (unsigned(c.Red()) << 16) | (unsigned(c.Green()) << 8) | c.Blue(); };
    auto colourAt = [&](int x, int y) {
        return rgb(wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)));
    };
    EXPECT_EQ(colourAt(snap.x + 2, snap.y + snap.height / 2), rgb(UiLook::highlightFill()));
    EXPECT_EQ(colourAt(snap.x, snap.y + snap.height / 2), rgb(UiLook::highlightFrame()));
    EXPECT_NE(colourAt(ortho.x + 2, ortho.y + ortho.height / 2), rgb(UiLook::highlightFill()));

    std::filesystem::create_directories(QRV_TEST_OUTPUT_DIR);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    EXPECT_TRUE(picture.SaveFile(QRV_TEST_OUTPUT_DIR "/status-bar.png", wxBITMAP_TYPE_PNG));
}

TEST_F(StatusBarTest, theMenusStyleLoadsAndSeparatorsAreShorter)
{
    ASSERT_TRUE(start());
    // The frame installed it; asking again finds it there.
    EXPECT_TRUE(UiLook::installMenuStyle());
    EXPECT_NE(std::string(UiLook::menuStyleSheet()).find("rgb(255, 228, 149)"), std::string::npos);
    EXPECT_NE(std::string(UiLook::menuStyleSheet()).find("rgb(242, 149, 54)"), std::string::npos);

    struct Row
    {
        wxRect rect;
        bool horizontalBar;
        wxRect shortened;
    };
    const Row rows[] = {
        {wxRect(100, 0, 8, 30), true, wxRect(100, 2, 8, 26)},
        {wxRect(100, 4, 8, 14), true, wxRect(100, 4, 8, 14)},
        {wxRect(0, 50, 45, 6), false, wxRect(3, 50, 39, 6)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(UiLook::shortenedSeparator(row.rect, row.horizontalBar), row.shortened);
}
