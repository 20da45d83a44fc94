#pragma once

#include "app/UiStatusPanes.h"

#include <wx/dc.h>
#include <wx/statusbr.h>

class Quorvane;
class UiMainFrame;

// The status bar: the eleven panes of UiStatusPanes painted by the bar
// itself, with the highlight of the modes that are on, tool tips per pane,
// clicks and the mouse wheel over the volume.
class UiStatusBar : public wxStatusBar
{
public:
    UiStatusBar(UiMainFrame* frame, Quorvane& app);

    // The pane states anew from the program; at every idle pass.
    void refresh();
    // The panes' rectangles in the bar now.
    void paneRects(UiStatusPanes::Rect rects[UiStatusPanes::paneCount]) const;
    // Paints the whole bar; the paint handler draws through a buffer.
    void draw(wxDC& dc);
    const UiStatusPanes::State& paneState(int pane) const { return states[pane]; }

    void OnInternalIdle() override;

private:
    void onPaint(wxPaintEvent& event);
    void onClick(wxMouseEvent& event);
    void onWheel(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);
    void onSize(wxSizeEvent& event);

    UiMainFrame* frame;
    Quorvane& app;
    UiStatusPanes::State states[UiStatusPanes::paneCount];
    int tipPane = -2;
};
