#include "panels/UiContextMenu.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <vector>

namespace {

std::vector<int> sent;

void record(int command)
{
    sent.push_back(command);
}

// Lets the toolkit deliver what the display sent, until the condition
// holds or about two seconds have passed.
template <class Condition>
bool settle(Condition done)
{
    for (int i = 0; i < 200 && !done(); ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(10);
    }
    return done();
}

wxColour pixel(const wxBitmap& bitmap, int x, int y)
{
    wxMemoryDC dc;
    dc.SelectObjectAsSource(bitmap);
    wxColour c;
    dc.GetPixel(x, y, &c);
    return c;
}

}  // namespace

TEST(ContextMenuWindowTest, thePointerHighlightsAnEntryAndTheReleaseSendsIt)
{
    sent.clear();
    UiContextMenu::setCommandSink(&record);
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "list", wxPoint(50, 50), wxSize(240, 300));
    UiContextMenu* menu = new UiContextMenu(frame, 1);
    menu->SetSize(0, 0, 200, 200);
    for (int command : {32890, 32891, 32893})
        menu->list().addItem(new UiContextMenuItem(BcString("entry"), -1, command));
    menu->updateScroll(200, true);
    frame->Show();
    frame->Raise();
    ASSERT_TRUE(settle([&] { return menu->IsShownOnScreen(); }));

    const UiContextMenuList::Rect second = menu->list().entryRect(1, 200);
    const wxPoint inside((second.left + second.right) / 2, (second.top + second.bottom) / 2);
    // Tests running alongside share the display: a window of theirs can
    // stand over this one for a moment and take the pointer, so the frame is
    // raised and the pointer moved in again.
    wxUIActionSimulator simulator;
    auto pointAtTheSecond = [&] {
        for (int attempt = 0; attempt < 3; ++attempt) {
            frame->Raise();
            simulator.MouseMove(menu->ClientToScreen(inside));
            if (settle([&] { return menu->list().hovered() == 1; }))
                return true;
        }
        return false;
    };
    ASSERT_TRUE(pointAtTheSecond()) << "hovered " << menu->list().hovered();

    wxBitmap painted(200, 200, 24);
    {
        wxMemoryDC dc(painted);
        menu->paint(dc, wxSize(200, 200));
    }
    const UiContextMenuList::Rect first = menu->list().entryRect(0, 200);
    const wxColour frameEdge = pixel(painted, second.left, inside.y);
    const wxColour fill = pixel(painted, second.left + 3, inside.y);
    const wxColour plain = pixel(painted, first.left + 3, (first.top + first.bottom) / 2);
    EXPECT_EQ(frameEdge, wxColour(242, 149, 54));
    EXPECT_EQ(fill, wxColour(255, 227, 149));
    EXPECT_EQ(plain, wxColour(240, 240, 240));

    simulator.MouseClick();
    for (int attempt = 0; attempt < 2 && !settle([&] { return !sent.empty(); }); ++attempt) {
        if (pointAtTheSecond())
            simulator.MouseClick();
    }
    EXPECT_EQ(sent, std::vector<int>{32891});

    UiContextMenu::setCommandSink(nullptr);
    frame->Destroy();
    for (int i = 0; i < 5; ++i)
        wxTheApp->Yield(true);
}
