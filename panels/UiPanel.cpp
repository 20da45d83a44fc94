#include "panels/UiPanel.h"

UiPanel::UiPanel(wxWindow* parent, wxWindowID id, long style)
    : wxPanel(parent, id, wxDefaultPosition, wxDefaultSize, style)
{
}
