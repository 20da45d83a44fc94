#pragma once

#include <wx/window.h>

// A clickable colour swatch: the colour framed in black.
class UiColorCtrl : public wxWindow
{
public:
    UiColorCtrl(wxWindow* parent, int id, const wxPoint& position, const wxSize& size);

    // 0x00BBGGRR; the top byte is ignored.
    int color() const { return colour; }
    void setColor(int color);

    static wxColour toColour(int color);
    static int fromColour(const wxColour& colour);
    // The toolkit's colour dialog opened on the colour; false when cancelled.
    static bool pickWithToolkit(int& color);

private:
    void onPaint(wxPaintEvent& event);
    int colour = 0xFFFFFF;
};
