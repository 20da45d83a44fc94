#pragma once

#include "panels/UiContextMenuList.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/window.h>

#include <vector>

// The context palette's command list as a window: it paints its entries
// itself into a buffer, so the list never flickers, and sends the command
// of the entry under a left-button release to the main frame as a menu
// would. Everything it shows and does is decided by its UiContextMenuList.
class UiContextMenu : public wxWindow
{
public:
    UiContextMenu(wxWindow* parent, wxWindowID id);

    UiContextMenuList& list() { return entries; }
    // After a change of the entries or the size: the scroll bar follows.
    void updateScroll(int clientHeight, bool recount);

    static constexpr unsigned char background[3] = {240, 240, 240};
    static constexpr unsigned char highlightFill[3] = {255, 227, 149};
    static constexpr unsigned char highlightFrame[3] = {242, 149, 54};

    // The command a release sends, as the main frame receives it; tests
    // replace it. By default a menu event queued to the main frame.
    static void setCommandSink(void (*sink)(int command));

    // Everything the window shows, drawn on any device of its client size.
    void paint(wxDC& dc, const wxSize& size);

private:
    void onPaint(wxPaintEvent& event);
    void onSize(wxSizeEvent& event);
    void onMouseMove(wxMouseEvent& event);
    void onWheel(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onScroll(wxScrollWinEvent& event);
    void showScroll();
    void loadIcons();

    UiContextMenuList entries;
    std::vector<wxBitmap> icons;
};
