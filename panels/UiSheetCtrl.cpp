#include "panels/UiSheetCtrl.h"

#include "app/UiColorCtrl.h"

#include <wx/dcmemory.h>
#include <wx/statbmp.h>

void UiSheetCtrl::draw(wxStaticBitmap& control, int color)
{
    wxSize size = control.GetSize();
    if (size.x <= 0 || size.y <= 0)
        return;
    wxBitmap outline(size.x, size.y, 24);
    {
        wxMemoryDC dc(outline);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        dc.SetPen(wxPen(UiColorCtrl::toColour(color), 2));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(1, 1, size.x - 1, size.y - 1);
    }
    control.SetBitmap(outline);
    control.SetSize(size);
}
