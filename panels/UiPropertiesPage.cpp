#include "panels/UiPropertiesPage.h"

#include "app/Quorvane.h"
#include "app/UiImages.h"
#include "app/UiWxControlHost.h"
#include "panels/UiSheetCtrl.h"
#include "platform/gui/UiScale.h"

#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/statbmp.h>

#include <algorithm>

namespace {

wxString translate(const char* context, const char* english)
{
    return Quorvane::exists() ? Quorvane::instance().shellText(context, english) : wxString::FromUTF8(english);
}

}

UiPropertiesPage::UiPropertiesPage(wxWindow* parent, std::unique_ptr<UiPropertiesDlg> page)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxVSCROLL),
      dialog(std::move(page))
{
    SetBackgroundColour(*wxWHITE);
    const UiDialogTemplate* layout = UiDialogTemplates::find(dialog->templateId());
    if (!layout)
        return;
    // The controls are made, anchored and measured at the template's size.
    SetClientSize(ConvertDialogToPixels(wxSize(layout->width, layout->height)));
    auto made = std::make_unique<UiWxControlHost>(this, *layout, &translate);
    host = made.get();
    SetScrollbar(wxVERTICAL, 0, 0, 0);
    dialog->create(std::move(made), this, UiScale::s());
    wxSize client = GetClientSize();
    dialog->anchorList().setInitialSize(client.x, client.y);
    Bind(wxEVT_SIZE, &UiPropertiesPage::onSize, this);
    Bind(wxEVT_SCROLLWIN_TOP, &UiPropertiesPage::onScroll, this);
    Bind(wxEVT_SCROLLWIN_BOTTOM, &UiPropertiesPage::onScroll, this);
    Bind(wxEVT_SCROLLWIN_LINEUP, &UiPropertiesPage::onScroll, this);
    Bind(wxEVT_SCROLLWIN_LINEDOWN, &UiPropertiesPage::onScroll, this);
    Bind(wxEVT_SCROLLWIN_PAGEUP, &UiPropertiesPage::onScroll, this);
    Bind(wxEVT_SCROLLWIN_PAGEDOWN, &UiPropertiesPage::onScroll, this);
    Bind(wxEVT_SCROLLWIN_THUMBTRACK, &UiPropertiesPage::onScroll, this);
    Bind(wxEVT_SCROLLWIN_THUMBRELEASE, &UiPropertiesPage::onScroll, this);
    Bind(wxEVT_MOUSEWHEEL, &UiPropertiesPage::onWheel, this);
}

// The controls go before the page that answers their notifications.
UiPropertiesPage::~UiPropertiesPage()
{
    if (host)
        host->setHandler(nullptr);
    DestroyChildren();
}

bool UiPropertiesPage::controlRect(int controlId, UiAnchorRect& rect)
{
    wxWindow* control = host ? host->window(controlId) : nullptr;
    if (!control)
        return false;
    wxRect r = control->GetRect();
    rect = {r.x, r.y, r.x + r.width, r.y + r.height};
    return true;
}

void UiPropertiesPage::placeControl(int controlId, const UiAnchorPlacement& p)
{
    if (wxWindow* control = host ? host->window(controlId) : nullptr) {
        control->SetSize(p.x, p.y, p.width, p.height);
        control->Refresh();
    }
}

int UiPropertiesPage::lowestShownBottom()
{
    int lowest = 0;
    for (wxWindow* child : GetChildren())
        if (child->IsShown())
            lowest = std::max(lowest, child->GetRect().GetBottom() + 1);
    return lowest;
}

void UiPropertiesPage::scrollContent(int dy)
{
    if (dy != 0)
        ScrollWindow(0, dy);
}

void UiPropertiesPage::showScrollBar(bool shown)
{
    barShown = shown;
    if (!shown)
        SetScrollbar(wxVERTICAL, 0, 0, 0);
}

void UiPropertiesPage::setScrollBar(int maximum, int page, int position)
{
    if (barShown)
        SetScrollbar(wxVERTICAL, position, page, maximum);
}

void UiPropertiesPage::setScaledBitmap(int controlId, int bitmapId)
{
    wxStaticBitmap* control = host ? wxDynamicCast(host->window(controlId), wxStaticBitmap) : nullptr;
    if (!control)
        return;
    wxSize size = control->GetSize();
    wxBitmap picture = UiImages::bitmap(unsigned(bitmapId));
    int sourceWidth = picture.IsOk() ? picture.GetWidth() : 0;
    int sourceHeight = picture.IsOk() ? picture.GetHeight() : 0;
    UiPropertiesDlg::BitmapLayout layout =
        UiPropertiesDlg::bitmapLayout(size.x, size.y, sourceWidth, sourceHeight, UiScale::s());
    if (layout.width <= 0 || layout.height <= 0)
        return;
    wxBitmap target(layout.width, layout.height, 24);
    {
        wxMemoryDC dc(target);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        if (picture.IsOk()) {
            wxImage image = picture.ConvertToImage();
            if (layout.stretched)
                image.Rescale(layout.drawnWidth, layout.drawnHeight, wxIMAGE_QUALITY_HIGH);
            dc.DrawBitmap(wxBitmap(image), layout.x, layout.y, true);
        }
    }
    control->SetBitmap(target);
    // The control keeps its own size.
    control->SetSize(size);
}

void UiPropertiesPage::frameControl(int controlId, int color)
{
    if (wxStaticBitmap* control = host ? wxDynamicCast(host->window(controlId), wxStaticBitmap) : nullptr)
        UiSheetCtrl::draw(*control, color);
}

void UiPropertiesPage::setButtonIcon(int controlId, int iconId)
{
    wxButton* button = host ? wxDynamicCast(host->window(controlId), wxButton) : nullptr;
    wxBitmap picture = UiImages::bitmap(unsigned(iconId));
    if (!button || !picture.IsOk())
        return;
    // The small icon's size: 16 pixels at 96 dpi.
    int side = UiScale::pixels(16);
    wxImage image = picture.ConvertToImage();
    image.Rescale(side, side, wxIMAGE_QUALITY_HIGH);
    wxSize size = button->GetSize();
    button->SetBitmap(wxBitmap(image));
    // The button keeps the template's size.
    button->SetSize(size);
}

void UiPropertiesPage::onSize(wxSizeEvent& event)
{
    event.Skip();
    wxSize client = GetClientSize();
    dialog->resized(client.x, client.y);
}

void UiPropertiesPage::onScroll(wxScrollWinEvent& event)
{
    if (event.GetOrientation() != wxVERTICAL)
        return;
    wxEventType type = event.GetEventType();
    using P = UiPropertiesDlg;
    P::ScrollRequest request = type == wxEVT_SCROLLWIN_TOP          ? P::top
                               : type == wxEVT_SCROLLWIN_BOTTOM     ? P::bottom
                               : type == wxEVT_SCROLLWIN_LINEUP     ? P::lineUp
                               : type == wxEVT_SCROLLWIN_LINEDOWN   ? P::lineDown
                               : type == wxEVT_SCROLLWIN_PAGEUP     ? P::pageUp
                               : type == wxEVT_SCROLLWIN_PAGEDOWN   ? P::pageDown
                               : type == wxEVT_SCROLLWIN_THUMBTRACK ? P::thumbTrack
                                                                    : P::thumbPosition;
    dialog->scroll(request, event.GetPosition());
}

void UiPropertiesPage::onWheel(wxMouseEvent& event)
{
    dialog->wheel(event.GetWheelRotation());
}
