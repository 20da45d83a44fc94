#pragma once

#include <wx/aui/framemanager.h>
#include <wx/aui/tabmdi.h>
#include <wx/docview.h>

#include <memory>
#include <string>

class PlConfigFile;
class UiFrameKeyboard;
class Quorvane;
class UiDocManager;
class UiStatusBar;
class UiToolBar;
class UiFretboard;
class UiPianoKeyboard;
class UiProjectBrowser;

// The program's one top-level window: the document windows as tabs, the
// menu bar and the status bar, and five docking panes. Its layout is kept
// in the section "Workspace" of the settings file, one value per pane.
class UiMainFrame : public wxDocParentFrameAny<wxAuiMDIParentFrame>
{
public:
    // The panes, in their creation order; each one's id is its window id,
    // its View command and the number of its saved entry.
    enum Pane { properties, projectBrowser, contextPalette, pianoKeyboard, fretboard, paneCount };
    static constexpr unsigned paneIds[paneCount] = {32806, 32836, 32831, 32808, 33097};
    // The bit of visiblePanes() that tells the status bar.
    static constexpr int statusBarBit = paneCount;
    static constexpr unsigned showAllId = 33089, hideAllId = 33090, resetLayoutId = 33091;
    static constexpr unsigned statusBarId = 59393, windowsDialogId = 131;

    UiMainFrame(UiDocManager* manager, Quorvane& app);
    ~UiMainFrame() override;

    wxAuiManager& layout() { return aui; }
    // The computer keyboard's notes and shortcuts.
    UiFrameKeyboard& keyboard() { return *keys; }
    wxWindow* paneWindow(Pane pane) const { return panes[pane]; }
    UiToolBar* toolBar() const { return toolbar; }
    UiStatusBar* statusPanes() const { return status; }
    UiPianoKeyboard* pianoKeyboardPane() const { return piano; }
    UiFretboard* fretboardPane() const { return neck; }
    UiProjectBrowser* projectBrowserPane() const { return browser; }
    static std::string paneKey(Pane pane);

    bool isPaneVisible(Pane pane);
    // One bit per pane, and statusBarBit for the status bar.
    unsigned visiblePanes();

    // The View commands.
    void togglePane(Pane pane);
    void showAll();
    void hideAll();
    void resetLayout();
    void toggleStatusBar();
    void showWindowsDialog();

    // The saved layout: discarded whole when the fretboard's entry is missing.
    void loadLayout(PlConfigFile& file);
    void saveLayout(PlConfigFile& file);

    // A document window's title or file changed, or it became active.
    void documentTitleChanged(wxWindow* childFrame);
    // The menu bars' recent-file entries, after the list changed.
    void recentFilesChanged();

    // Sends a command through the command table as a menu would.
    bool runCommand(unsigned id);

private:
    void createPanes();
    void applyDefaultLayout();
    void showToolBar();
    void onMenu(wxCommandEvent& event);
    void onUpdateUi(wxUpdateUIEvent& event);
    void onClose(wxCloseEvent& event);
    void onDropFiles(wxDropFilesEvent& event);
    void onTabRightUp(wxAuiNotebookEvent& event);

    Quorvane& app;
    wxAuiManager aui;
    wxWindow* panes[paneCount] = {};
    UiToolBar* toolbar = nullptr;
    UiStatusBar* status = nullptr;
    UiPianoKeyboard* piano = nullptr;
    UiFretboard* neck = nullptr;
    UiProjectBrowser* browser = nullptr;
    // Menu 128; while a document window is active its menu 130 is shown.
    wxMenuBar* documentlessMenuBar = nullptr;
    std::unique_ptr<UiFrameKeyboard> keys;
};
