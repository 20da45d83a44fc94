#pragma once

#include "editing/EdSelectionObserver.h"

#include <wx/panel.h>

class UiTab;

// The properties pane: the property pages of the classes of the active
// view's selection, or the work's page when nothing is selected. It follows
// the view's selection and every committed edit.
class UiProperties : public wxPanel, public EdSelectionObserver
{
    wxDECLARE_CLASS(UiProperties);

public:
    explicit UiProperties(wxWindow* parent, wxWindowID id = wxID_ANY);

    // The pane's smallest size at 96 dpi, both ways.
    static constexpr int minimumSize = 350;

    void selectionChanged() override;
    UiTab& tabs() { return *tab; }

private:
    UiTab* tab = nullptr;
};
