#include "app/Quorvane.h"

#include "app/UiAboutDialog.h"
#include "app/UiCommandStates.h"
#include "app/UiDocument.h"
#include "app/UiMainFrame.h"
#include "app/UiMenus.h"
#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "platform/PlLauncher.h"

// The shell's own rows of the command table: the document commands that
// the document manager carries out, Help, and the View commands of the
// main frame. The editing commands add theirs in the command layer.

namespace {

Quorvane::Hook optionsDialog = nullptr;
Quorvane::Hook updateCheck = nullptr;
Quorvane::Hook backSideCard = nullptr;

Quorvane& app()
{
    return Quorvane::instance();
}

UiDocManager* manager()
{
    return app().documentManager();
}

void sendToDocumentManager(int wxId)
{
    if (!manager())
        return;
    wxCommandEvent event(wxEVT_MENU, wxId);
    manager()->ProcessEvent(event);
}

int paneOf(unsigned id)
{
    for (int i = 0; i < UiMainFrame::paneCount; ++i)
        if (UiMainFrame::paneIds[i] == id)
            return i;
    return -1;
}

unsigned allPanes()
{
    return (1u << (UiMainFrame::paneCount + 1)) - 1;
}

EdCommandState paneState(unsigned id, const EdCommandInputs& inputs)
{
    int bit = id == UiMainFrame::statusBarId ? UiMainFrame::statusBarBit : paneOf(id);
    return EdCommandState{true, bit >= 0 && (inputs.visiblePanes & (1u << bit)) != 0};
}

EdCommandState showAllState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{(inputs.visiblePanes & allPanes()) != allPanes(), false};
}

EdCommandState hideAllState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{(inputs.visiblePanes & allPanes()) != 0, false};
}

EdCommandState saveState(unsigned, const EdCommandInputs& inputs)
{
    return EdCommandState{inputs.document && inputs.modified, false};
}

EdCommandState recentFileState(unsigned id, const EdCommandInputs&)
{
    return EdCommandState{id - UiMenus::firstRecentFile < app().recentFiles().size(), false};
}

Quorvane::Hook hookOf(unsigned id)
{
    return id == 32878 ? optionsDialog : id == 32951 ? updateCheck : id == 32853 ? backSideCard : nullptr;
}

EdCommandState hookState(unsigned id, const EdCommandInputs&)
{
    return EdCommandState{hookOf(id) != nullptr, false};
}

void runHook(unsigned id)
{
    Quorvane::Hook hook = hookOf(id);
    if (!hook)
        return;
    EdCommand edit;
    hook(app());
}

void viewCommand(unsigned id)
{
    UiMainFrame* frame = app().mainFrame();
    if (!frame)
        return;
    if (id == UiMainFrame::showAllId)
        frame->showAll();
    else if (id == UiMainFrame::hideAllId)
        frame->hideAll();
    else if (id == UiMainFrame::resetLayoutId)
        frame->resetLayout();
    else if (id == UiMainFrame::statusBarId)
        frame->toggleStatusBar();
    else if (id == UiMainFrame::windowsDialogId)
        frame->showWindowsDialog();
    else if (paneOf(id) >= 0)
        frame->togglePane(UiMainFrame::Pane(paneOf(id)));
}

}

void Quorvane::registerCommands()
{
    using T = EdCommandTable;
    T::add({57600, [](unsigned) { manager()->CreateDocument(wxEmptyString, wxDOC_NEW); }, nullptr});
    T::add({57601, [](unsigned) { manager()->CreateDocument(wxEmptyString, 0); }, nullptr});
    T::add({57602, [](unsigned) { sendToDocumentManager(wxID_CLOSE); }, &T::whenDocument});
    T::add({57603, [](unsigned) { sendToDocumentManager(wxID_SAVE); }, &saveState});
    T::add({57604, [](unsigned) { sendToDocumentManager(wxID_SAVEAS); }, &T::whenDocument});
    T::add({57606, [](unsigned) { sendToDocumentManager(wxID_PRINT_SETUP); }, nullptr});
    T::add({57665, [](unsigned) { if (app().mainFrame()) app().mainFrame()->Close(); }, nullptr});
    T::addRange(UiMenus::firstRecentFile, UiMenus::firstRecentFile + UiMenus::recentFileCount - 1,
                [](unsigned id) {
                    size_t index = id - UiMenus::firstRecentFile;
                    if (index >= app().recentFiles().size())
                        return;
                    wxString path = app().recentFiles()[index];
                    // A file that no longer opens leaves the list.
                    if (!manager()->CreateDocument(path, wxDOC_SILENT))
                        app().removeRecentFile(path);
                },
                &recentFileState);

    T::add({32847, [](unsigned) { app().cmdAbout(); }, nullptr});
    T::add({32878, [](unsigned) { app().cmdOptions(); }, &hookState});
    T::add({32951, [](unsigned) { app().OnCheckForUpdates(); }, &hookState});
    T::add({32853, [](unsigned) { app().cmdBackSide(); }, &hookState});
    T::add({32955, [](unsigned) { app().cmdUserGuide(); }, nullptr});
    T::add({32950, [](unsigned) { app().cmdTechnicalSupport(); }, nullptr});

    for (unsigned id : UiMainFrame::paneIds)
        T::add({id, &viewCommand, &paneState});
    T::add({UiMainFrame::statusBarId, &viewCommand, &paneState});
    T::add({UiMainFrame::showAllId, &viewCommand, &showAllState});
    T::add({UiMainFrame::hideAllId, &viewCommand, &hideAllState});
    T::add({UiMainFrame::resetLayoutId, &viewCommand, nullptr});
    T::add({UiMainFrame::windowsDialogId, &viewCommand, nullptr});
    UiCommandStates::addRows();
}

void Quorvane::setOptionsDialog(Hook hook)
{
    optionsDialog = hook;
}

void Quorvane::setUpdateCheck(Hook hook)
{
    updateCheck = hook;
}

bool Quorvane::updateCheckInstalled()
{
    return updateCheck != nullptr;
}

void Quorvane::setBackSideCard(Hook hook)
{
    backSideCard = hook;
}

void Quorvane::cmdOptions()
{
    runHook(32878);
}

void Quorvane::OnCheckForUpdates()
{
    runHook(32951);
}

void Quorvane::cmdBackSide()
{
    runHook(32853);
}

void Quorvane::cmdAbout()
{
    // An edit transaction of its own, so a running tool ends first; it
    // changes nothing.
    EdCommand edit;
    UiAboutDialog dialog(frame, *this);
    dialog.ShowModal();
}

void Quorvane::cmdUserGuide()
{
    PlLauncher::current().open(manualPage());
}

void Quorvane::cmdTechnicalSupport()
{
    PlLauncher::current().open(supportAddress());
}
