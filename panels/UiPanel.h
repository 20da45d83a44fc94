#pragma once

#include <wx/panel.h>

// The base of the main frame's docking panes. A pane may keep the keyboard
// focus when the score view would take it (the project browser while a
// label is edited).
class UiPanel : public wxPanel
{
public:
    UiPanel(wxWindow* parent, wxWindowID id, long style = wxTAB_TRAVERSAL);

    virtual bool canReleaseFocus() { return true; }
};
