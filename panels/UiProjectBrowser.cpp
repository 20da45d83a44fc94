#include "panels/UiProjectBrowser.h"

#include "app/Quorvane.h"
#include "app/UiImages.h"
#include "app/UiMainFrame.h"
#include "app/UiMenus.h"
#include "app/UiQuorvaneView.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdView.h"
#include "model/MnChord.h"

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/settings.h>

namespace {

// The editing commands the pane's keys and menu reach.
constexpr unsigned deleteCommand = 57632;
constexpr unsigned copyCommand = 57634;
constexpr unsigned pasteCommand = 57637;
constexpr unsigned undoCommand = 57643;
constexpr unsigned redoCommand = 57644;

class IndexData : public wxTreeItemData
{
public:
    explicit IndexData(int index) : index(index) {}
    int index;
};

wxString toWx(const BcString& text)
{
    return wxString::FromUTF8(text.toNarrow(BcString::utf8CodePage));
}

BcString fromWx(const wxString& text)
{
    return BcString(text.utf8_str().data());
}

void runCommand(unsigned id)
{
    UiMainFrame* frame = Quorvane::exists() ? Quorvane::instance().mainFrame() : nullptr;
    if (frame)
        frame->runCommand(id);
}

}  // namespace

// The toolkit's tree as the browser's logic sees it. The toolkit's tree has
// one root: it is hidden, and its children are the top-level items.
class UiProjectBrowser::Tree : public UiBrowserTree
{
public:
    explicit Tree(wxTreeCtrl& tree) : tree(tree) {}

    void beginRebuild() override { tree.Freeze(); }
    void endRebuild() override
    {
        tree.Thaw();
        tree.Refresh(true);
        tree.Update();
    }
    void deleteAll() override
    {
        tree.DeleteAllItems();
        tree.AddRoot(wxString());
    }
    Item append(Item parent, const BcString& text, int image, int data) override
    {
        wxTreeItemId under = parent ? wxTreeItemId(parent) : root();
        wxTreeItemId item =
            tree.AppendItem(under, toWx(text), image, image, data >= 0 ? new IndexData(data) : nullptr);
        return item.GetID();
    }
    void setBold(Item item) override { tree.SetItemBold(wxTreeItemId(item), true); }
    void expand(Item item, bool expanded) override
    {
        if (expanded)
            tree.Expand(wxTreeItemId(item));
        else
            tree.Collapse(wxTreeItemId(item));
    }
    Item firstChild(Item parent) override
    {
        wxTreeItemId under = parent ? wxTreeItemId(parent) : root();
        if (!under.IsOk())
            return nullptr;
        wxTreeItemIdValue cookie;
        return tree.GetFirstChild(under, cookie).GetID();
    }
    Item nextSibling(Item item) override { return tree.GetNextSibling(wxTreeItemId(item)).GetID(); }
    int data(Item item) override
    {
        IndexData* held = static_cast<IndexData*>(tree.GetItemData(wxTreeItemId(item)));
        return held ? held->index : -1;
    }
    BcString text(Item item) override { return fromWx(tree.GetItemText(wxTreeItemId(item))); }
    void setText(Item item, const BcString& text) override { tree.SetItemText(wxTreeItemId(item), toWx(text)); }
    int image(Item item) override { return tree.GetItemImage(wxTreeItemId(item)); }
    void setImage(Item item, int image) override
    {
        tree.SetItemImage(wxTreeItemId(item), image, wxTreeItemIcon_Normal);
        tree.SetItemImage(wxTreeItemId(item), image, wxTreeItemIcon_Selected);
    }

private:
    wxTreeItemId root()
    {
        wxTreeItemId top = tree.GetRootItem();
        return top.IsOk() ? top : tree.AddRoot(wxString());
    }

    wxTreeCtrl& tree;
};

UiProjectBrowser::UiProjectBrowser(wxWindow* parent, wxWindowID id) : UiPanel(parent, id)
{
    tree = new wxTreeCtrl(this, 1, wxDefaultPosition, wxDefaultSize,
                          wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_EDIT_LABELS | wxTR_HIDE_ROOT | wxTR_SINGLE);
    tree->AddRoot(wxString());
    adapter = std::make_unique<Tree>(*tree);
    makeImages();
    tree->SetImageList(&images);

    Bind(wxEVT_SIZE, &UiProjectBrowser::onSize, this);
    Bind(wxEVT_SET_FOCUS, &UiProjectBrowser::onSetFocus, this);
    tree->Bind(wxEVT_TREE_ITEM_EXPANDED, &UiProjectBrowser::onExpanded, this);
    tree->Bind(wxEVT_TREE_ITEM_COLLAPSED, &UiProjectBrowser::onExpanded, this);
    tree->Bind(wxEVT_TREE_SEL_CHANGED, &UiProjectBrowser::onSelChanged, this);
    tree->Bind(wxEVT_LEFT_DOWN, &UiProjectBrowser::onLeftDown, this);
    tree->Bind(wxEVT_LEFT_DCLICK, &UiProjectBrowser::onLeftDoubleClick, this);
    tree->Bind(wxEVT_TREE_ITEM_ACTIVATED, &UiProjectBrowser::onActivated, this);
    tree->Bind(wxEVT_TREE_BEGIN_LABEL_EDIT, &UiProjectBrowser::onBeginLabelEdit, this);
    tree->Bind(wxEVT_TREE_END_LABEL_EDIT, &UiProjectBrowser::onEndLabelEdit, this);
    tree->Bind(wxEVT_KEY_DOWN, &UiProjectBrowser::onKeyDown, this);
    tree->Bind(wxEVT_CONTEXT_MENU, &UiProjectBrowser::onContextMenu, this);
    refresh();
}

UiProjectBrowser::~UiProjectBrowser()
{
    // The tree goes before its image list.
    tree->SetImageList(nullptr);
    tree->Destroy();
    tree = nullptr;
}

// Square icons of the small-icon size, 16 or 24 below 28 pixels. A picture
// that cannot be had leaves an empty square in its place, so the icons
// after it keep their indices.
void UiProjectBrowser::makeImages()
{
    const int small = wxSystemSettings::GetMetric(wxSYS_SMALLICON_X, this);
    iconSize = small <= 19 ? 16 : small <= 27 ? 24 : small;
    images.Create(iconSize, iconSize, true, UiBrowserModel::iconCount);
    for (unsigned resource : UiBrowserModel::iconResources) {
        wxBitmap picture = UiImages::iconBitmap(resource);
        wxImage image;
        if (picture.IsOk())
            image = picture.ConvertToImage();
        if (!image.IsOk()) {
            image.Create(iconSize, iconSize);
            image.InitAlpha();
            std::fill(image.GetAlpha(), image.GetAlpha() + iconSize * iconSize, 0);
        }
        if (image.GetWidth() != iconSize || image.GetHeight() != iconSize)
            image.Rescale(iconSize, iconSize, wxIMAGE_QUALITY_HIGH);
        images.Add(wxBitmap(image));
    }
}

void UiProjectBrowser::onSize(wxSizeEvent& event)
{
    event.Skip();
    tree->SetSize(GetClientSize());
}

void UiProjectBrowser::onSetFocus(wxFocusEvent& event)
{
    event.Skip();
    tree->SetFocus();
}

bool UiProjectBrowser::hasFocusInside() const
{
    for (wxWindow* window = wxWindow::FindFocus(); window; window = window->GetParent())
        if (window == this)
            return true;
    return false;
}

int UiProjectBrowser::itemData(const wxTreeItemId& item) const
{
    if (!item.IsOk())
        return -1;
    IndexData* held = static_cast<IndexData*>(tree->GetItemData(item));
    return held ? held->index : -1;
}

void UiProjectBrowser::refresh()
{
    EdContext& context = EdContext::current();
    if (EdView* view = context.activeView())
        if (view->hasPendingTool())
            return;
    content.refresh(context.activeDocument(), *adapter);
}

void UiProjectBrowser::onExpanded(wxTreeEvent& event)
{
    event.Skip();
    content.itemExpanded(EdContext::current().activeDocument(), itemData(event.GetItem()),
                         event.GetEventType() == wxEVT_TREE_ITEM_EXPANDED);
}

void UiProjectBrowser::selectItemElement(const wxTreeItemId& item)
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    if (!view)
        return;
    UiBrowserModel::selectElement(content.element(itemData(item)), *view, context.noteInput().inputVoice);
}

void UiProjectBrowser::onSelChanged(wxTreeEvent& event)
{
    event.Skip();
    if (content.isRebuilding())
        return;
    EdCommand edit;
    selectItemElement(event.GetItem());
}

// A click on the caret item changes no selection in the tree, so the tree
// says nothing: its elements are selected again here.
void UiProjectBrowser::onLeftDown(wxMouseEvent& event)
{
    event.Skip();
    int flags = 0;
    wxTreeItemId hit = tree->HitTest(event.GetPosition(), flags);
    if (!hit.IsOk() || hit != tree->GetSelection())
        return;
    if (!(flags & (wxTREE_HITTEST_ONITEMICON | wxTREE_HITTEST_ONITEMLABEL | wxTREE_HITTEST_ONITEMSTATEICON)))
        return;
    EdCommand edit;
    selectItemElement(hit);
}

void UiProjectBrowser::onLeftDoubleClick(wxMouseEvent& event)
{
    event.Skip();
    doubleClicked = true;
    doubleClickAt = event.GetPosition();
}

// The tree folds or unfolds an item on its activation unless the
// activation is handled: a double click that counts is.
void UiProjectBrowser::onActivated(wxTreeEvent& event)
{
    const bool fromMouse = doubleClicked;
    doubleClicked = false;
    if (!fromMouse || !activateAt(doubleClickAt))
        event.Skip();
}

bool UiProjectBrowser::activateAt(const wxPoint& point)
{
    EdCommand edit;
    int flags = 0;
    wxTreeItemId hit = tree->HitTest(point, flags);
    if (!hit.IsOk() ||
        !(flags & (wxTREE_HITTEST_ONITEMICON | wxTREE_HITTEST_ONITEMLABEL | wxTREE_HITTEST_ONITEMSTATEICON)))
        return false;
    const int index = itemData(hit);
    if (index < 0 || index >= content.elementCount())
        return false;
    selectItemElement(hit);
    MnElement* element = content.element(index);
    if (!element)
        return false;
    UiQuorvaneView* view = UiQuorvaneView::activeView();
    if (view && view->core()) {
        GePoint2d corner1;
        GePoint2d corner2;
        if (UiBrowserModel::itemBox(element, corner1, corner2))
            view->core()->view.flyTo(corner1, corner2, 1.1, true);
        edit.refreshViews = true;
    }
    return true;
}

void UiProjectBrowser::onBeginLabelEdit(wxTreeEvent& event)
{
    event.Skip();
    editing = true;
}

void UiProjectBrowser::onEndLabelEdit(wxTreeEvent& event)
{
    editing = false;
    if (event.IsEditCancelled()) {
        event.Skip();
        return;
    }
    renameItem(event.GetItem(), event.GetLabel());
    // The item shows the model's text, set when it changed, never what was
    // typed.
    event.Veto();
}

bool UiProjectBrowser::renameItem(const wxTreeItemId& item, const wxString& text)
{
    EdCommand edit;
    if (!UiBrowserModel::rename(content.element(itemData(item)), fromWx(text)))
        return false;
    edit.markModified();
    content.refreshItemText(*adapter, item.GetID());
    return true;
}

bool UiProjectBrowser::handleKey(int keyCode, bool ctrl)
{
    switch (keyCode) {
    case WXK_F2: {
        wxTreeItemId caret = tree->GetFocusedItem();
        if (caret.IsOk())
            tree->EditLabel(caret);
        return true;
    }
    case WXK_DELETE:
        if (!deleteSelectedVoice())
            runCommand(deleteCommand);
        return true;
    default:
        break;
    }
    if (!ctrl)
        return false;
    switch (keyCode) {
    case 'C':
        runCommand(copyCommand);
        return true;
    case 'V':
        runCommand(pasteCommand);
        return true;
    case 'X':
        runCommand(copyCommand);
        runCommand(deleteCommand);
        return true;
    case 'Y':
        runCommand(redoCommand);
        return true;
    case 'Z':
        runCommand(undoCommand);
        return true;
    default:
        return false;
    }
}

void UiProjectBrowser::onKeyDown(wxKeyEvent& event)
{
    // While a label is edited its own control has the keys: Enter commits,
    // Escape cancels.
    if (editing || !handleKey(event.GetKeyCode(), event.ControlDown()))
        event.Skip();
}

bool UiProjectBrowser::deleteSelectedVoice()
{
    EdCommand edit;
    MnElement* element = content.element(itemData(tree->GetFocusedItem()));
    if (!element || !element->isKindOf(MnChord::staticClass()))
        return false;
    if (!UiBrowserModel::deleteVoice(static_cast<MnChord*>(element)))
        return false;
    edit.markModified();
    return true;
}

void UiProjectBrowser::onContextMenu(wxContextMenuEvent& event)
{
    wxPoint at = event.GetPosition();
    tree->Freeze();
    if (at != wxDefaultPosition) {
        at = tree->ScreenToClient(at);
        int flags = 0;
        wxTreeItemId hit = tree->HitTest(at, flags);
        if (hit.IsOk()) {
            // Selecting the item in the tree selects its elements too
            // (when it is not the caret already); once is enough.
            if (hit != tree->GetSelection()) {
                tree->SelectItem(hit);
            } else {
                EdCommand edit;
                selectItemElement(hit);
            }
        }
    } else {
        wxTreeItemId caret = tree->GetFocusedItem();
        wxRect box;
        if (caret.IsOk() && tree->GetBoundingRect(caret, box, true))
            at = box.GetBottomLeft();
        else
            at = wxPoint(0, 0);
    }
    tree->Thaw();
    tree->Refresh();
    tree->SetFocus();
    if (!tree->GetFocusedItem().IsOk() || !Quorvane::exists())
        return;
    UiMainFrame* frame = Quorvane::instance().mainFrame();
    wxMenu* menu = UiMenus::buildPopup(contextMenuId, Quorvane::instance());
    const int chosen = tree->GetPopupMenuSelectionFromUser(*menu, at);
    delete menu;
    if (chosen != wxID_NONE && frame)
        frame->runCommand(UiMenus::commandId(chosen));
}
