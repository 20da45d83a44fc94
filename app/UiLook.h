#pragma once

#include <wx/aui/auibar.h>

// The program's own touches on the toolkit's look: highlighted menu items
// and status panes in a warm yellow with an orange frame, and shorter
// separators on the main toolbar.
class UiLook
{
public:
    static wxColour highlightFill() { return wxColour(255, 228, 149); }
    static wxColour highlightFrame() { return wxColour(242, 149, 54); }

    // The style sheet of the menus' highlighted items, for the whole
    // program; once, after the toolkit has started. False when it could not
    // be installed (no display).
    static bool installMenuStyle();
    static const char* menuStyleSheet();

    // A toolbar separator's rectangle shortened by a fifteenth of its length
    // at each end: across a horizontal bar its top and bottom move in.
    static wxRect shortenedSeparator(const wxRect& rect, bool horizontalBar);
};

// The main toolbar's art: the toolkit's, with the shorter separators.
class UiToolBarArt : public wxAuiDefaultToolBarArt
{
public:
    wxAuiToolBarArt* Clone() override { return new UiToolBarArt(*this); }
    void DrawSeparator(wxDC& dc, wxWindow* window, const wxRect& rect) override;
};
