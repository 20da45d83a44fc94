#include "panels/UiContextMenu.h"

#include "app/Quorvane.h"
#include "app/UiImages.h"
#include "app/UiMainFrame.h"
#include "app/UiMenus.h"
#include "platform/gui/UiScale.h"

#include <wx/dcbuffer.h>
#include <wx/image.h>
#include <wx/settings.h>

constexpr unsigned char UiContextMenu::background[3];
constexpr unsigned char UiContextMenu::highlightFill[3];
constexpr unsigned char UiContextMenu::highlightFrame[3];

namespace {

void postToMainFrame(int command)
{
    if (!Quorvane::exists())
        return;
    UiMainFrame* frame = Quorvane::instance().mainFrame();
    if (!frame)
        return;
    frame->GetEventHandler()->QueueEvent(new wxCommandEvent(wxEVT_MENU, UiMenus::itemId(unsigned(command))));
}

void (*commandSink)(int) = &postToMainFrame;

wxColour colour(const unsigned char (&rgb)[3])
{
    return wxColour(rgb[0], rgb[1], rgb[2]);
}

wxRect rectOf(const UiContextMenuList::Rect& r)
{
    return wxRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

void UiContextMenu::setCommandSink(void (*sink)(int))
{
    commandSink = sink ? sink : &postToMainFrame;
}

UiContextMenu::UiContextMenu(wxWindow* parent, wxWindowID id)
    : wxWindow(parent, id, wxPoint(0, 0), wxSize(100, 100), wxVSCROLL | wxFULL_REPAINT_ON_RESIZE | wxBORDER_NONE)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    entries.setIconSize(UiContextMenuList::iconSizeFor(int(32 * UiScale::s())));
    loadIcons();
    SetCursor(wxCursor(wxCURSOR_ARROW));
    Bind(wxEVT_PAINT, &UiContextMenu::onPaint, this);
    Bind(wxEVT_SIZE, &UiContextMenu::onSize, this);
    Bind(wxEVT_MOTION, &UiContextMenu::onMouseMove, this);
    Bind(wxEVT_MOUSEWHEEL, &UiContextMenu::onWheel, this);
    Bind(wxEVT_LEFT_UP, &UiContextMenu::onLeftUp, this);
    Bind(wxEVT_SCROLLWIN_TOP, &UiContextMenu::onScroll, this);
    Bind(wxEVT_SCROLLWIN_BOTTOM, &UiContextMenu::onScroll, this);
    Bind(wxEVT_SCROLLWIN_LINEUP, &UiContextMenu::onScroll, this);
    Bind(wxEVT_SCROLLWIN_LINEDOWN, &UiContextMenu::onScroll, this);
    Bind(wxEVT_SCROLLWIN_PAGEUP, &UiContextMenu::onScroll, this);
    Bind(wxEVT_SCROLLWIN_PAGEDOWN, &UiContextMenu::onScroll, this);
    Bind(wxEVT_SCROLLWIN_THUMBTRACK, &UiContextMenu::onScroll, this);
    Bind(wxEVT_SCROLLWIN_THUMBRELEASE, &UiContextMenu::onScroll, this);
    showScroll();
}

void UiContextMenu::loadIcons()
{
    const int size = entries.iconSize();
    icons.clear();
    for (unsigned id : UiContextMenuList::iconIds) {
        wxBitmap picture = UiImages::bitmap(id);
        if (picture.IsOk() && (picture.GetWidth() != size || picture.GetHeight() != size))
            picture = wxBitmap(picture.ConvertToImage().Scale(size, size, wxIMAGE_QUALITY_HIGH));
        icons.push_back(picture);
    }
}

void UiContextMenu::updateScroll(int clientHeight, bool recount)
{
    entries.updateScroll(clientHeight, recount);
    showScroll();
}

void UiContextMenu::showScroll()
{
    if (entries.scrollBarShown())
        SetScrollbar(wxVERTICAL, entries.scrollPosition(), entries.clientHeight(), entries.contentHeight());
    else
        SetScrollbar(wxVERTICAL, 0, 0, 0);
}

void UiContextMenu::onPaint(wxPaintEvent&)
{
    wxBufferedPaintDC dc(this);
    paint(dc, GetClientSize());
}

void UiContextMenu::paint(wxDC& dc, const wxSize& size)
{
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(colour(background)));
    dc.DrawRectangle(0, 0, size.x, size.y);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(*wxBLACK);
    dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    const int frame = entries.metrics().frame;
    for (int i = 0; i < entries.count(); ++i) {
        const UiContextMenuItem* item = entries.item(i);
        const wxRect rect = rectOf(entries.entryRect(i, size.x));
        if (rect.GetBottom() < 0 || rect.GetTop() > size.y)
            continue;
        if (i == entries.hovered()) {
            dc.SetBrush(wxBrush(colour(highlightFrame)));
            dc.DrawRectangle(rect);
            dc.SetBrush(wxBrush(colour(highlightFill)));
            dc.DrawRectangle(wxRect(rect).Deflate(frame));
        }
        if (item->icon >= 0 && item->icon < int(icons.size()) && icons[size_t(item->icon)].IsOk()) {
            const UiContextMenuList::Rect at = entries.iconRect(i, size.x);
            dc.DrawBitmap(icons[size_t(item->icon)], at.left, at.top, true);
        }
        const wxRect text = rectOf(entries.textRect(i, size.x));
        dc.SetClippingRegion(text);
        dc.DrawLabel(wxString::FromUTF8(item->text.toNarrow(BcString::utf8CodePage)), text, wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL);
        dc.DestroyClippingRegion();
    }
}

void UiContextMenu::onSize(wxSizeEvent& event)
{
    event.Skip();
    if (Quorvane::exists() && Quorvane::instance().mainFrame() && Quorvane::instance().mainFrame()->IsIconized())
        return;
    updateScroll(GetClientSize().y, false);
    Refresh(false);
}

void UiContextMenu::onMouseMove(wxMouseEvent& event)
{
    event.Skip();
    if (entries.pointerMoved(event.GetX(), event.GetY(), GetClientSize().x))
        Refresh(false);
}

void UiContextMenu::onWheel(wxMouseEvent& event)
{
    if (entries.wheel(event.GetWheelRotation())) {
        showScroll();
        Refresh(false);
    }
}

void UiContextMenu::onScroll(wxScrollWinEvent& event)
{
    const wxEventType type = event.GetEventType();
    UiContextMenuList::ScrollRequest request = UiContextMenuList::thumb;
    if (type == wxEVT_SCROLLWIN_TOP)
        request = UiContextMenuList::top;
    else if (type == wxEVT_SCROLLWIN_BOTTOM)
        request = UiContextMenuList::bottom;
    else if (type == wxEVT_SCROLLWIN_LINEUP)
        request = UiContextMenuList::lineUp;
    else if (type == wxEVT_SCROLLWIN_LINEDOWN)
        request = UiContextMenuList::lineDown;
    else if (type == wxEVT_SCROLLWIN_PAGEUP)
        request = UiContextMenuList::pageUp;
    else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
        request = UiContextMenuList::pageDown;
    entries.scroll(request, event.GetPosition());
    showScroll();
    Refresh(false);
}

void UiContextMenu::onLeftUp(wxMouseEvent& event)
{
    const wxSize size = GetClientSize();
    // No move may have come between the last one and the release.
    if (entries.pointerMoved(event.GetX(), event.GetY(), size.x))
        Refresh(false);
    const int command = entries.releasedAt(event.GetX(), event.GetY(), size.x, size.y);
    if (command < 0) {
        event.Skip();
        return;
    }
    commandSink(command);
}
