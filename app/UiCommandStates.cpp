#include "app/UiCommandStates.h"

#include "app/Quorvane.h"
#include "app/UiMainFrame.h"
#include "app/UiViewInput.h"

#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

namespace {

EdCommandInputs kept;
bool fresh = false;

// The tree of the project browser pane, whatever panel holds it.
wxTreeCtrl* treeIn(wxWindow* window)
{
    if (!window)
        return nullptr;
    if (window->IsKindOf(wxCLASSINFO(wxTreeCtrl)))
        return static_cast<wxTreeCtrl*>(window);
    for (wxWindow* child : window->GetChildren())
        if (wxTreeCtrl* tree = treeIn(child))
            return tree;
    return nullptr;
}

void startRename(unsigned)
{
    UiMainFrame* frame = Quorvane::exists() ? Quorvane::instance().mainFrame() : nullptr;
    wxTreeCtrl* tree = frame ? treeIn(frame->paneWindow(UiMainFrame::projectBrowser)) : nullptr;
    if (!tree)
        return;
    wxTreeItemId item = tree->GetFocusedItem();
    if (item.IsOk())
        tree->EditLabel(item);
}

}

void UiCommandStates::addRows()
{
    EdCommandTable::add({renameId, &startRename, &EdCommandTable::whenSelection});
    // The picture button stands before the tempo box and does nothing; the
    // box acts through its text. Both are there only for a score.
    EdCommandTable::add({pictureButtonId, [](unsigned) {}, &EdCommandTable::whenScore});
    EdCommandTable::add({tempoBoxId, [](unsigned) {}, &EdCommandTable::whenScore});
}

EdCommandInputs UiCommandStates::gather(UiMainFrame* frame)
{
    EdCommandInputs inputs = EdCommandTable::gather();
    if (frame) {
        inputs.visiblePanes = frame->visiblePanes();
        inputs.paneCount = UiMainFrame::paneCount + 1;
    }
    const UiViewKeys& keys = UiViewKeys::shared();
    inputs.ctrlDown = keys.isDown(UiViewKeys::leftControl) || keys.isDown(UiViewKeys::rightControl);
    inputs.shiftDown = keys.isDown(UiViewKeys::leftShift) || keys.isDown(UiViewKeys::rightShift);
    return inputs;
}

const EdCommandInputs& UiCommandStates::inputs(UiMainFrame* frame)
{
    if (!fresh) {
        kept = gather(frame);
        fresh = true;
    }
    return kept;
}

EdCommandState UiCommandStates::state(UiMainFrame* frame, unsigned id)
{
    return EdCommandTable::state(id, inputs(frame));
}

void UiCommandStates::invalidate()
{
    fresh = false;
}

void UiCommandStates::noteEvent(const wxEvent& event)
{
    wxEventType type = event.GetEventType();
    if (type == wxEVT_UPDATE_UI)
        return;
    // An idle pass starts with the application's own idle event; the
    // windows' idle calls after it belong to the same pass.
    if (type == wxEVT_IDLE && event.GetEventObject() != wxTheApp)
        return;
    fresh = false;
}

bool UiCommandStates::textFieldHasFocus(wxWindow* focus)
{
    for (wxWindow* window = focus; window; window = window->GetParent()) {
        if (window->IsKindOf(wxCLASSINFO(wxTextCtrl)) || window->IsKindOf(wxCLASSINFO(wxSpinCtrl)) ||
            window->IsKindOf(wxCLASSINFO(wxComboBox)))
            return true;
        if (window->IsTopLevel())
            break;
    }
    return false;
}

bool UiCommandStates::isPlainKey(int keyCode, bool ctrl, bool alt)
{
    if (ctrl || alt)
        return false;
    return !(keyCode >= WXK_F1 && keyCode <= WXK_F24);
}
