#pragma once

#include "app/UiQuorvaneViewCore.h"
#include "panels/UiBrowserModel.h"
#include "panels/UiPanel.h"

#include <wx/imaglist.h>
#include <wx/treectrl.h>

#include <memory>

class wxTreeEvent;

// The docking pane that shows the active document's works, part groups,
// parts, voices and tablatures as a tree. Choosing an item selects its
// music in the score view; the tree is rebuilt only when the document's
// structure changed, else its texts are refreshed. Folding is kept in the
// document; labels rename their elements; the pane's keys and context menu
// reach the editing commands.
class UiProjectBrowser : public UiPanel, public UiFocusPane
{
public:
    static constexpr unsigned contextMenuId = 131;

    UiProjectBrowser(wxWindow* parent, wxWindowID id);
    ~UiProjectBrowser() override;

    // Follows the active document; nothing while the view runs a tool.
    void refresh();
    // Selects the item's element in the active view inside an edit (the
    // caller's or its own).
    void selectItemElement(const wxTreeItemId& item);
    // The caret item is a voice: its music goes, in one edit.
    bool deleteSelectedVoice();
    // Whether the keyboard focus lies in the pane.
    bool hasFocusInside() const;

    // The label of an item is being edited: the pane keeps the focus.
    bool canReleaseFocus() override { return !editing; }

    wxTreeCtrl* treeControl() const { return tree; }
    const UiBrowserModel& model() const { return content; }
    int imageSize() const { return iconSize; }

    // The double-click of the tree at a point: a hit on an item's icon or
    // label selects it and flies the view to its box; false (the tree then
    // folds or unfolds the item) otherwise.
    bool activateAt(const wxPoint& point);
    // The keys of the pane while no label is edited; true when handled.
    bool handleKey(int keyCode, bool ctrl);
    // Ends a label edit as the tree reports it: the model's text stays on
    // the item (an empty name shows the default text); false when the edit
    // did not rename anything.
    bool renameItem(const wxTreeItemId& item, const wxString& text);

private:
    class Tree;

    void makeImages();
    void onSize(wxSizeEvent& event);
    void onSetFocus(wxFocusEvent& event);
    void onExpanded(wxTreeEvent& event);
    void onSelChanged(wxTreeEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onLeftDoubleClick(wxMouseEvent& event);
    void onActivated(wxTreeEvent& event);
    void onBeginLabelEdit(wxTreeEvent& event);
    void onEndLabelEdit(wxTreeEvent& event);
    void onKeyDown(wxKeyEvent& event);
    void onContextMenu(wxContextMenuEvent& event);
    int itemData(const wxTreeItemId& item) const;

    UiBrowserModel content;
    wxTreeCtrl* tree = nullptr;
    wxImageList images;
    std::unique_ptr<Tree> adapter;
    int iconSize = 16;
    bool editing = false;
    // The double click that the tree's activation comes from.
    bool doubleClicked = false;
    wxPoint doubleClickAt;
};
