#include "app/UiColorCtrl.h"

#include <wx/colordlg.h>
#include <wx/dcclient.h>

UiColorCtrl::UiColorCtrl(wxWindow* parent, int id, const wxPoint& position, const wxSize& size)
    : wxWindow(parent, id, position, size, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &UiColorCtrl::onPaint, this);
}

void UiColorCtrl::setColor(int color)
{
    colour = color & 0xFFFFFF;
    Refresh(true);
}

wxColour UiColorCtrl::toColour(int color)
{
    return wxColour((unsigned char)(color & 0xFF), (unsigned char)((color >> 8) & 0xFF),
                    (unsigned char)((color >> 16) & 0xFF));
}

int UiColorCtrl::fromColour(const wxColour& colour)
{
    return int(colour.Red()) | (int(colour.Green()) << 8) | (int(colour.Blue()) << 16);
}

void UiColorCtrl::onPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    wxSize size = GetClientSize();
    dc.SetBrush(wxBrush(toColour(colour)));
    dc.SetPen(*wxBLACK_PEN);
    dc.DrawRectangle(0, 0, size.x, size.y);
}

bool UiColorCtrl::pickWithToolkit(int& color)
{
    wxColourData data;
    data.SetColour(toColour(color));
    wxColourDialog dialog(nullptr, &data);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    color = fromColour(dialog.GetColourData().GetColour());
    return true;
}
