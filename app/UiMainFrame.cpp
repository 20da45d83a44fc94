#include "app/UiMainFrame.h"
#include "app/UiQuorvaneView.h"

#include "app/Quorvane.h"
#include "app/UiCommandStates.h"
#include "app/UiDocument.h"
#include "app/UiLook.h"
#include "app/UiFrameKeyboard.h"
#include "app/UiMenus.h"
#include "app/UiStatusBar.h"
#include "app/UiTexts.h"
#include "app/UiToolBar.h"
#include "app/UiWindowsDialog.h"
#include "commands/EdCommandTable.h"
#include "panels/UiProperties.h"
#include "panels/UiContextPalette.h"
#include "panels/UiFretboard.h"
#include "panels/UiPianoKeyboard.h"
#include "panels/UiProjectBrowser.h"
#include "platform/PlConfigFile.h"
#include "platform/gui/UiScale.h"

#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/statusbr.h>

#include <set>
#include <vector>

namespace {

const char* const workspace = "Workspace";
const char* const documentsPane = "Documents";
const char* const toolBarPane = "Toolbar";

struct PaneSpec
{
    unsigned caption;  // string id
    int direction;     // wxAUI_DOCK_*
    int position;      // within its dock
    bool wide;         // sized by width (left, right) rather than height
    bool dockAnywhere;
};

// Properties at the right; project browser at the left with the context
// palette below it; piano keyboard at the top; fretboard at the bottom.
const PaneSpec paneSpecs[UiMainFrame::paneCount] = {
    {158, wxAUI_DOCK_RIGHT, 0, true, false},
    {159, wxAUI_DOCK_LEFT, 0, true, true},
    {156, wxAUI_DOCK_LEFT, 1, true, true},
    {157, wxAUI_DOCK_TOP, 0, false, false},
    {10114, wxAUI_DOCK_BOTTOM, 0, false, false},
};

// Default sizes at 96 dpi: the width of a side pane, the height of a top
// or bottom one.
constexpr int sidePaneSize = 200;
constexpr int bandPaneSize = 100;

std::set<int> menuIds()
{
    std::set<int> ids;
    for (unsigned menu : {128u, 130u})
        for (const UiMenuItem* item = UiTexts::menu(menu); item->kind != UiMenuItem::menuEnd; ++item)
            if (item->id)
                ids.insert(UiMenus::itemId(item->id));
    for (unsigned i = 0; i < unsigned(UiMenus::recentFileCount); ++i)
        ids.insert(UiMenus::itemId(UiMenus::firstRecentFile + i));
    for (unsigned id : UiToolBar::buttons)
        if (id)
            ids.insert(UiMenus::itemId(id));
    return ids;
}

wxString paneName(const wxString& part)
{
    if (!part.StartsWith("name="))
        return wxString();
    return part.Mid(5).BeforeFirst(';');
}

}

constexpr unsigned UiMainFrame::paneIds[];

UiMainFrame::UiMainFrame(UiDocManager* manager, Quorvane& app) : app(app)
{
    Create(manager, nullptr, wxID_ANY, wxString(app.loadString(128)), wxDefaultPosition, wxSize(1024, 768));
    // The document windows have no Window menu: Windows... lives on the tabs.
    SetWindowMenu(nullptr);
    UiLook::installMenuStyle();
    documentlessMenuBar = UiMenus::build(128, app);
    SetMenuBar(documentlessMenuBar);
    status = new UiStatusBar(this, app);
    SetStatusBar(status);
    GetNotebook()->SetWindowStyleFlag(GetNotebook()->GetWindowStyleFlag() | wxAUI_NB_WINDOWLIST_BUTTON |
                                      wxAUI_NB_CLOSE_ON_ACTIVE_TAB);
    aui.SetManagedWindow(this);
    aui.AddPane(GetClientWindow(), wxAuiPaneInfo().Name(documentsPane).CenterPane().PaneBorder(false));
    toolbar = new UiToolBar(this, app);
    aui.AddPane(toolbar, wxAuiPaneInfo().Name(toolBarPane).Caption(toolbar->GetName()).ToolbarPane().Top());
    createPanes();
    applyDefaultLayout();
    // The fretboard's tuning and capo of the last run, and its caption.
    neck->loadSettings();

    DragAcceptFiles(true);
    Bind(wxEVT_MENU, &UiMainFrame::onMenu, this);
    Bind(wxEVT_UPDATE_UI, &UiMainFrame::onUpdateUi, this);
    Bind(wxEVT_CLOSE_WINDOW, &UiMainFrame::onClose, this);
    Bind(wxEVT_DROP_FILES, &UiMainFrame::onDropFiles, this);
    GetNotebook()->Bind(wxEVT_AUINOTEBOOK_TAB_RIGHT_UP, &UiMainFrame::onTabRightUp, this);
    toolbar->setCreated();
    keys = std::make_unique<UiFrameKeyboard>(app);
    Bind(wxEVT_KEY_DOWN, &UiFrameKeyboard::onKey, keys.get());
    Bind(wxEVT_KEY_UP, &UiFrameKeyboard::onKey, keys.get());
    Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& event) {
        if (!event.GetActive())
            keys->releaseAll();
        event.Skip();
    });
}

UiMainFrame::~UiMainFrame()
{
    neck->saveSettings();
    aui.UnInit();
    // The views are gone: the context they shared goes last.
    UiQuorvaneView::releaseSharedContext();
    app.frameDestroyed(this);
}

std::string UiMainFrame::paneKey(Pane pane)
{
    return "BasePane-" + std::to_string(paneIds[pane]);
}

void UiMainFrame::createPanes()
{
    for (int i = 0; i < paneCount; ++i) {
        const PaneSpec& spec = paneSpecs[i];
        const wxWindowID id = UiMenus::itemId(paneIds[i]);
        if (i == properties)
            panes[i] = new UiProperties(this, id);
        else if (i == contextPalette)
            panes[i] = new UiContextPalette(this, id);
        else if (i == pianoKeyboard)
            panes[i] = piano = new UiPianoKeyboard(this, id);
        else if (i == fretboard)
            panes[i] = neck = new UiFretboard(this, id);
        else
            panes[i] = browser = new UiProjectBrowser(this, id);
        wxAuiPaneInfo info;
        info.Name(paneKey(Pane(i))).Caption(wxString(app.loadString(spec.caption)));
        info.CloseButton(true).Floatable(true).Movable(true).DestroyOnClose(false);
        // The pane keeps the smallest size its window asks for.
        if (panes[i]->GetMinSize().IsFullySpecified())
            info.MinSize(panes[i]->GetMinSize());
        if (!spec.dockAnywhere) {
            info.TopDockable(!spec.wide).BottomDockable(!spec.wide);
            info.LeftDockable(spec.wide).RightDockable(spec.wide);
        }
        aui.AddPane(panes[i], info);
    }
}

// Every pane back at its side and at its default size (at least the pane's
// minimum), shown.
void UiMainFrame::applyDefaultLayout()
{
    int side = UiScale::pixels(sidePaneSize);
    int band = UiScale::pixels(bandPaneSize);
    int border = aui.GetArtProvider()->GetMetric(wxAUI_DOCKART_PANE_BORDER_SIZE);
    int caption = aui.GetArtProvider()->GetMetric(wxAUI_DOCKART_CAPTION_SIZE);
    for (int i = 0; i < paneCount; ++i) {
        const PaneSpec& spec = paneSpecs[i];
        wxAuiPaneInfo& info = aui.GetPane(panes[i]);
        wxSize minimum = panes[i]->GetMinSize();
        int size = spec.wide ? side : band;
        info.Dock().Direction(spec.direction).Layer(0).Row(0).Position(spec.position);
        info.BestSize(std::max(size, minimum.x), std::max(size, minimum.y)).Show();
        info.FloatingPosition(wxDefaultPosition);
    }
    // The docks take the sizes: a side dock the pane's width, a band the
    // pane's height with its caption.
    wxString perspective = aui.SavePerspective();
    wxArrayString parts = wxSplit(perspective, '|', 0);
    wxString rebuilt;
    for (const wxString& part : parts)
        if (!part.empty() && !part.StartsWith("dock_size"))
            rebuilt << part << "|";
    rebuilt << wxString::Format("dock_size(%d,0,0)=%d|", wxAUI_DOCK_RIGHT, side + 2 * border);
    rebuilt << wxString::Format("dock_size(%d,0,0)=%d|", wxAUI_DOCK_LEFT, side + 2 * border);
    rebuilt << wxString::Format("dock_size(%d,0,0)=%d|", wxAUI_DOCK_TOP, band + caption + 2 * border);
    rebuilt << wxString::Format("dock_size(%d,0,0)=%d|", wxAUI_DOCK_BOTTOM, band + caption + 2 * border);
    aui.LoadPerspective(rebuilt, true);
    showToolBar();
    aui.Update();
}

// The toolbar is not part of a saved layout: it comes back at the top
// whatever the layout held.
void UiMainFrame::showToolBar()
{
    if (!toolbar)
        return;
    aui.GetPane(toolbar).Show().Dock().Top().Layer(10).Row(0).Position(0);
}

bool UiMainFrame::isPaneVisible(Pane pane)
{
    return aui.GetPane(panes[pane]).IsShown();
}

unsigned UiMainFrame::visiblePanes()
{
    unsigned bits = 0;
    for (int i = 0; i < paneCount; ++i)
        if (isPaneVisible(Pane(i)))
            bits |= 1u << i;
    if (GetStatusBar() && GetStatusBar()->IsShown())
        bits |= 1u << statusBarBit;
    return bits;
}

void UiMainFrame::togglePane(Pane pane)
{
    wxAuiPaneInfo& info = aui.GetPane(panes[pane]);
    info.Show(!info.IsShown());
    aui.Update();
}

void UiMainFrame::showAll()
{
    if (GetStatusBar() && !GetStatusBar()->IsShown()) {
        GetStatusBar()->Show();
        SendSizeEvent();
    }
    for (int i = 0; i < paneCount; ++i)
        aui.GetPane(panes[i]).Show();
    aui.Update();
}

void UiMainFrame::hideAll()
{
    for (int i = paneCount - 1; i >= 0; --i)
        aui.GetPane(panes[i]).Hide();
    if (GetStatusBar() && GetStatusBar()->IsShown()) {
        GetStatusBar()->Hide();
        SendSizeEvent();
    }
    aui.Update();
}

void UiMainFrame::resetLayout()
{
    showAll();
    applyDefaultLayout();
}

void UiMainFrame::toggleStatusBar()
{
    if (wxStatusBar* bar = GetStatusBar()) {
        bar->Show(!bar->IsShown());
        SendSizeEvent();
        aui.Update();
    }
}

void UiMainFrame::showWindowsDialog()
{
    UiWindowsDialog dialog(this, app);
    dialog.ShowModal();
}

void UiMainFrame::loadLayout(PlConfigFile& file)
{
    std::string fretboardEntry;
    if (!file.value(workspace, paneKey(fretboard), fretboardEntry)) {
        // A layout saved without the fretboard would leave it nowhere: the
        // whole layout goes, and the defaults apply.
        file.removeSection(workspace);
        return;
    }
    wxString perspective = "layout2|";
    std::string entry;
    if (file.value(workspace, documentsPane, entry))
        perspective << wxString::FromUTF8(entry) << "|";
    for (int i = 0; i < paneCount; ++i)
        if (file.value(workspace, paneKey(Pane(i)), entry))
            perspective << wxString::FromUTF8(entry) << "|";
    if (file.value(workspace, "Docks", entry))
        perspective << wxString::FromUTF8(entry) << "|";
    aui.LoadPerspective(perspective, false);
    // Captions follow the language of this run, not of the saved layout.
    for (int i = 0; i < paneCount; ++i)
        aui.GetPane(panes[i]).Caption(wxString(app.loadString(paneSpecs[i].caption)));
    int statusBar = 1;
    if (file.intValue(workspace, "StatusBar", statusBar) && GetStatusBar())
        GetStatusBar()->Show(statusBar != 0);
    showToolBar();
    aui.Update();
}

void UiMainFrame::saveLayout(PlConfigFile& file)
{
    file.removeSection(workspace);
    wxArrayString parts = wxSplit(aui.SavePerspective(), '|', 0);
    wxString docks;
    for (const wxString& part : parts) {
        if (part.StartsWith("dock_size")) {
            docks << (docks.empty() ? "" : "|") << part;
            continue;
        }
        wxString name = paneName(part);
        if (!name.empty() && name != toolBarPane)
            file.setValue(workspace, name.utf8_string(), part.utf8_string());
    }
    file.setValue(workspace, "Docks", docks.utf8_string());
    file.setIntValue(workspace, "StatusBar", GetStatusBar() && GetStatusBar()->IsShown() ? 1 : 0);
}

void UiMainFrame::documentTitleChanged(wxWindow* childFrame)
{
    wxAuiMDIChildFrame* child = wxDynamicCast(childFrame, wxAuiMDIChildFrame);
    UiChildFrame* docChild = dynamic_cast<UiChildFrame*>(childFrame);
    if (child && docChild && docChild->GetDocument()) {
        wxDocument* document = docChild->GetDocument();
        child->SetTitle(document->GetUserReadableName());
        int page = GetNotebook()->GetPageIndex(child);
        if (page != wxNOT_FOUND) {
            // The full path, once the document has a file.
            wxString path = document->GetDocumentSaved() ? document->GetFilename() : wxString();
            GetNotebook()->SetPageToolTip(size_t(page), path);
        }
    }
    UiChildFrame* activeChild = dynamic_cast<UiChildFrame*>(GetActiveChild());
    wxDocument* active = activeChild ? activeChild->GetDocument() : nullptr;
    SetTitle(GetDocumentManager() ? GetDocumentManager()->MakeFrameTitle(active) : wxString("Quorvane"));
}

void UiMainFrame::recentFilesChanged()
{
    UiMenus::updateRecentFiles(documentlessMenuBar, app.recentFiles(), app);
    for (size_t i = 0; i < GetNotebook()->GetPageCount(); ++i) {
        wxAuiMDIChildFrame* child = wxDynamicCast(GetNotebook()->GetPage(i), wxAuiMDIChildFrame);
        if (child)
            UiMenus::updateRecentFiles(child->GetMenuBar(), app.recentFiles(), app);
    }
}

bool UiMainFrame::runCommand(unsigned id)
{
    bool done = EdCommandTable::execute(id, UiCommandStates::gather(this));
    UiCommandStates::invalidate();
    return done;
}

void UiMainFrame::onMenu(wxCommandEvent& event)
{
    unsigned id = UiMenus::commandId(event.GetId());
    if (!EdCommandTable::find(id)) {
        event.Skip();
        return;
    }
    runCommand(id);
}

void UiMainFrame::onUpdateUi(wxUpdateUIEvent& event)
{
    static const std::set<int> ids = menuIds();
    if (!ids.count(event.GetId())) {
        event.Skip();
        return;
    }
    EdCommandState state = UiCommandStates::state(this, UiMenus::commandId(event.GetId()));
    event.Enable(state.enabled);
    if (event.IsCheckable())
        event.Check(state.checked);
}

void UiMainFrame::onClose(wxCloseEvent& event)
{
    if (GetDocumentManager() && !GetDocumentManager()->Clear(!event.CanVeto())) {
        event.Veto();
        return;
    }
    app.saveCustomState();
    Destroy();
}

void UiMainFrame::onDropFiles(wxDropFilesEvent& event)
{
    wxArrayString paths;
    for (int i = 0; i < event.GetNumberOfFiles(); ++i)
        paths.push_back(event.GetFiles()[i]);
    app.openFiles(paths);
}

void UiMainFrame::onTabRightUp(wxAuiNotebookEvent& event)
{
    wxMenu menu;
    menu.Append(UiMenus::itemId(windowsDialogId), wxString(app.loadString(131)));
    PopupMenu(&menu);
}
