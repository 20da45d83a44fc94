#include "app/UiDCPageDevice.h"

#include "foundation/BcString.h"

#include <wx/dc.h>
#include <wx/font.h>

#include <algorithm>

void UiDCPageDevice::setWindowOrigin(int x, int y)
{
    originX = x;
    originY = y;
}

void UiDCPageDevice::fillTriangles(const Point* points, int pointCount, const int* triangles, int triangleCount)
{
    if (!points || !triangles || pointCount <= 0 || triangleCount <= 0)
        return;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(*wxBLACK_BRUSH);
    wxPoint corners[3];
    for (int t = 0; t < triangleCount; ++t) {
        bool inside = true;
        for (int k = 0; k < 3; ++k) {
            const int index = triangles[3 * t + k];
            if (index < 0 || index >= pointCount) {
                inside = false;
                break;
            }
            corners[k] = wxPoint(points[index].x - originX, originY - points[index].y);
        }
        if (inside)
            dc.DrawPolygon(3, corners);
    }
}

void UiDCPageDevice::drawText(const BcString& text, int left, int top, int right, int bottom, int cellHeight,
                              bool underline)
{
    if (cellHeight <= 0 || text.isEmpty())
        return;
    wxFont font(wxFontInfo(wxSize(0, cellHeight)).FaceName("Times New Roman").Underlined(underline));
    dc.SetFont(font);
    dc.SetTextForeground(*wxBLACK);
    const int x1 = left - originX;
    const int y1 = originY - top;
    const int x2 = right - originX;
    const int y2 = originY - bottom;
    dc.SetClippingRegion(
        wxRect(wxPoint(std::min(x1, x2), std::min(y1, y2)), wxPoint(std::max(x1, x2), std::max(y1, y2))));
    dc.DrawText(wxString::FromUTF8(text.toNarrow(BcString::utf8CodePage)), x1, y1);
    dc.DestroyClippingRegion();
}
