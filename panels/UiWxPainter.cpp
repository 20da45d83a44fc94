#include "panels/UiWxPainter.h"

#include <wx/dc.h>
#include <wx/settings.h>
#include <wx/window.h>

#include <algorithm>

namespace {

wxColour colourOf(unsigned color)
{
    return wxColour((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

}

UiWxPainter::UiWxPainter(wxWindow* window, wxDC* target) : target(target)
{
    wxSize size = window->GetClientSize();
    picture.Create(std::max(size.x, 1), std::max(size.y, 1), 24);
    memory.SelectObject(picture);
    memory.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    memory.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
}

UiWxPainter::~UiWxPainter()
{
    memory.SelectObject(wxNullBitmap);
}

void UiWxPainter::fill(const UiRect& rect, unsigned color)
{
    if (rect.isEmpty())
        return;
    memory.SetPen(*wxTRANSPARENT_PEN);
    memory.SetBrush(wxBrush(colourOf(color)));
    memory.DrawRectangle(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void UiWxPainter::frame(const UiRect& rect, unsigned color)
{
    if (rect.isEmpty())
        return;
    memory.SetPen(wxPen(colourOf(color), 1));
    memory.SetBrush(*wxTRANSPARENT_BRUSH);
    memory.DrawRectangle(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void UiWxPainter::measure(const std::string& text, int& width, int& height)
{
    wxCoord w = 0, h = 0;
    memory.GetTextExtent(wxString::FromUTF8(text), &w, &h);
    width = w;
    height = h;
}

void UiWxPainter::text(const std::string& text, int x, int baseline, Align align, unsigned color)
{
    const wxString shown = wxString::FromUTF8(text);
    wxCoord w = 0, h = 0, descent = 0;
    memory.GetTextExtent(shown, &w, &h, &descent);
    memory.SetTextForeground(colourOf(color));
    const int left = align == alignCenter ? x - w / 2 : x;
    memory.DrawText(shown, left, baseline - (h - descent));
}

void UiWxPainter::blit()
{
    if (target)
        target->Blit(0, 0, picture.GetWidth(), picture.GetHeight(), &memory, 0, 0);
}
