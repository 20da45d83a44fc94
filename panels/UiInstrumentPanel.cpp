#include "panels/UiInstrumentPanel.h"

#include "app/Quorvane.h"
#include "app/UiMainFrame.h"
#include "panels/UiHeldKeys.h"
#include "panels/UiWxPainter.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/toplevel.h>

#include <algorithm>

std::vector<UiInstrumentPanel*> UiInstrumentPanel::live;

UiInstrumentPanel::UiInstrumentPanel(wxWindow* parent, wxWindowID id)
    : UiPanel(parent, id, wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetCursor(wxCursor(wxCURSOR_HAND));
    UiHeldKeys::clearAll();
    live.push_back(this);
    Bind(wxEVT_PAINT, &UiInstrumentPanel::onPaint, this);
    Bind(wxEVT_SIZE, &UiInstrumentPanel::onSize, this);
    Bind(wxEVT_KEY_DOWN, &UiInstrumentPanel::onKey, this);
    Bind(wxEVT_KEY_UP, &UiInstrumentPanel::onKey, this);
}

UiInstrumentPanel::~UiInstrumentPanel()
{
    auto found = std::find(live.begin(), live.end(), this);
    if (found != live.end())
        live.erase(found);
}

void UiInstrumentPanel::selectionChanged()
{
    Refresh();
}

const std::vector<UiInstrumentPanel*>& UiInstrumentPanel::panels()
{
    return live;
}

bool UiInstrumentPanel::isPanel(const wxWindow* window)
{
    return std::find(live.begin(), live.end(), window) != live.end();
}

void UiInstrumentPanel::invalidateAll()
{
    for (UiInstrumentPanel* panel : live)
        panel->Refresh();
}

void UiInstrumentPanel::refreshAll(bool updateNow)
{
    // A copy: a refresh may not change the list, but nothing here relies on it.
    const std::vector<UiInstrumentPanel*> current = live;
    for (UiInstrumentPanel* panel : current)
        panel->refreshKeys(updateNow);
}

bool UiInstrumentPanel::releaseMidiInputKeys()
{
    const bool any = UiHeldKeys::clearMidiInput();
    if (any)
        invalidateAll();
    return any;
}

bool UiInstrumentPanel::isShowing() const
{
    return IsShownOnScreen();
}

void UiInstrumentPanel::onPaint(wxPaintEvent&)
{
    wxPaintDC target(this);
    UiWxPainter painter(this, &target);
    const wxSize size = GetClientSize();
    paint(painter, size.x, size.y);
}

void UiInstrumentPanel::onSize(wxSizeEvent& event)
{
    event.Skip();
    wxTopLevelWindow* top = wxDynamicCast(wxGetTopLevelParent(this), wxTopLevelWindow);
    if (top && top->IsIconized())
        return;
    Refresh();
    Update();
}

void UiInstrumentPanel::onKey(wxKeyEvent& event)
{
    // A floating pane's top-level parent is its own small frame: the keys
    // go to the main window all the same.
    wxWindow* top = Quorvane::exists() && Quorvane::instance().mainFrame()
                        ? static_cast<wxWindow*>(Quorvane::instance().mainFrame())
                        : wxGetTopLevelParent(this);
    if (!top || top == this) {
        event.Skip();
        return;
    }
    wxKeyEvent copy(event);
    copy.SetEventObject(top);
    copy.SetId(top->GetId());
    top->GetEventHandler()->ProcessEvent(copy);
}

bool UiInstrumentPanel::containsClientPoint(int x, int y) const
{
    const wxSize size = GetClientSize();
    return x >= 0 && y >= 0 && x < size.x && y < size.y;
}

bool UiInstrumentPanel::capturePress(wxMouseEvent& event)
{
    if (!HasCapture())
        CaptureMouse();
    if (containsClientPoint(event.GetX(), event.GetY()))
        return true;
    event.Skip();
    return false;
}
