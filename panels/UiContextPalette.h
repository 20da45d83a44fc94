#pragma once

#include "editing/EdSelectionObserver.h"
#include "panels/UiContextPaletteBuilder.h"

#include <wx/panel.h>

class UiContextMenu;

// The docking pane that lists the commands that make sense for the
// selection of the active score view, refilled whenever the selection
// changes. Choosing an entry sends its command to the main frame, where it
// acts on the selection as from the menus.
class UiContextPalette : public wxPanel, public EdSelectionObserver
{
public:
    UiContextPalette(wxWindow* parent, wxWindowID id);
    ~UiContextPalette() override;

    // Rebuilds the list, unless a tool runs in the active view.
    void selectionChanged() override;

    UiContextMenu* list() { return menu; }

    // The observer a score view registers on its selection: it reaches the
    // palette while there is one, so a view never calls a palette that is
    // gone (the frame's panes and its document windows die in no fixed
    // order).
    static EdSelectionObserver* viewObserver();

private:
    void onSize(wxSizeEvent& event);
    void onLeave(wxMouseEvent& event);

    UiContextMenu* menu = nullptr;
    UiContextPaletteBuilder builder;
};
