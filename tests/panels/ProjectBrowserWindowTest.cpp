#include "app/ShellFixture.h"

#include "app/UiMainFrame.h"
#include "app/UiQuorvaneView.h"
#include "app/UiQuorvaneViewCore.h"
#include "common/EdFakeContext.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnChord.h"
#include "model/MnMeasure.h"
#include "model/MnPart.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"
#include "panels/UiProjectBrowser.h"
#include "platform/gui/UiScale.h"

#include <wx/evtloop.h>
#include <wx/frame.h>

#include <memory>
#include <string>

namespace {

constexpr int quarter = 60480;

void pumpEvents()
{
    ShellTest::pump(3);
}

// The pane in a shown frame over a document of one free score "Duet" of two
// staves, the second with music in both voices.
class ProjectBrowserWindowTest : public ::testing::Test
{
protected:
    ProjectBrowserWindowTest()
    {
        UiScale::setForTests(1.0);
        EXPECT_TRUE(document.OnNewDocument());
        score = new MnScore();
        score->setName("Duet");
        score->insertStaff(-1);
        score->part(0)->setName("Flute");
        score->part(1)->setName("Cello");
        MnMeasure* measure = score->staff(1)->measure(0);
        EXPECT_TRUE(measure->addNote(1, 0, 0, 3, 0, quarter, false));
        EXPECT_TRUE(document.addWork(score));
        EXPECT_TRUE(document.setMainScoreIndex(1));
        document.clearUndo();
        EXPECT_TRUE(document.pushUndoSnapshot());
        context.activate(&document);

        frame = new wxFrame(nullptr, wxID_ANY, "browser", wxDefaultPosition, wxSize(400, 500));
        browser = new UiProjectBrowser(frame, wxID_ANY);
        frame->Show();
        browser->SetSize(0, 0, 300, 400);
        pumpEvents();
        tree = browser->treeControl();
    }
    ~ProjectBrowserWindowTest() override
    {
        frame->Destroy();
        pumpEvents();
        UiScale::setForTests(0);
    }

    wxTreeItemId find(const wxString& text, wxTreeItemId under = wxTreeItemId())
    {
        if (!under.IsOk())
            under = tree->GetRootItem();
        wxTreeItemIdValue cookie;
        for (wxTreeItemId child = tree->GetFirstChild(under, cookie); child.IsOk();
             child = tree->GetNextChild(under, cookie)) {
            if (tree->GetItemText(child) == text)
                return child;
            wxTreeItemId found = find(text, child);
            if (found.IsOk())
                return found;
        }
        return wxTreeItemId();
    }

    // Sends the tree a mouse event at a point, as the toolkit would.
    void mouse(wxEventType type, const wxPoint& at)
    {
        wxMouseEvent event(type);
        event.SetPosition(at);
        event.m_leftDown = type == wxEVT_LEFT_DOWN || type == wxEVT_LEFT_DCLICK;
        event.SetEventObject(tree);
        tree->ProcessWindowEvent(event);
    }

    wxPoint labelPoint(const wxTreeItemId& item)
    {
        wxRect box;
        EXPECT_TRUE(tree->GetBoundingRect(item, box, true));
        return wxPoint(box.x + box.width / 2, box.y + box.height / 2);
    }

    EdFakeContext context;
    QuorvaneDocument document;
    MnScore* score = nullptr;
    wxFrame* frame = nullptr;
    UiProjectBrowser* browser = nullptr;
    wxTreeCtrl* tree = nullptr;
};

}  // namespace

TEST_F(ProjectBrowserWindowTest, theTreeShowsTheDocumentWithItsIcons)
{
    wxTreeItemId duet = find("Duet");
    ASSERT_TRUE(duet.IsOk());
    EXPECT_TRUE(tree->IsBold(duet));
    EXPECT_EQ(tree->GetItemImage(duet), UiBrowserModel::scoreIcon);
    wxTreeItemId cello = find("Cello");
    ASSERT_TRUE(cello.IsOk());
    EXPECT_EQ(tree->GetChildrenCount(cello, false), 2u);
    EXPECT_TRUE(tree->IsExpanded(cello));
    EXPECT_TRUE(find("Voice 2").IsOk());
    EXPECT_EQ(tree->GetChildrenCount(find("Flute"), false), 0u);
    ASSERT_NE(tree->GetImageList(), nullptr);
    EXPECT_EQ(tree->GetImageList()->GetImageCount(), int(UiBrowserModel::iconCount));
    int width = 0;
    int height = 0;
    tree->GetImageList()->GetSize(0, width, height);
    EXPECT_EQ(width, browser->imageSize());
    EXPECT_TRUE(browser->imageSize() == 16 || browser->imageSize() >= 24);
}

TEST_F(ProjectBrowserWindowTest, choosingAnItemSelectsItsMusic)
{
    tree->SelectItem(find("Flute"));
    pumpEvents();
    EXPECT_TRUE(context.view.selection().contains(score->part(0)));
    EXPECT_TRUE(context.view.selection().contains(score->staff(0)));
    // A click on the caret item selects its music again.
    context.view.selection().clear();
    mouse(wxEVT_LEFT_DOWN, labelPoint(find("Flute")));
    mouse(wxEVT_LEFT_UP, labelPoint(find("Flute")));
    EXPECT_TRUE(context.view.selection().contains(score->part(0)));
}

// The tree folds an item on a double click of its own unless the browser
// takes it: on the label it selects and does not fold; beside it, it folds.
TEST_F(ProjectBrowserWindowTest, aDoubleClickOnALabelSelectsWithoutFolding)
{
    wxTreeItemId cello = find("Cello");
    const wxPoint label = labelPoint(cello);
    mouse(wxEVT_LEFT_DOWN, label);
    mouse(wxEVT_LEFT_UP, label);
    mouse(wxEVT_LEFT_DCLICK, label);
    mouse(wxEVT_LEFT_UP, label);
    pumpEvents();
    EXPECT_TRUE(tree->IsExpanded(cello));
    EXPECT_TRUE(context.view.selection().contains(score->part(1)));
    EXPECT_FALSE(document.isCollapsed(score->part(1)));

    wxRect box;
    ASSERT_TRUE(tree->GetBoundingRect(cello, box, true));
    const wxPoint beside(box.GetRight() + 40, label.y);
    EXPECT_FALSE(browser->activateAt(beside));
    mouse(wxEVT_LEFT_DCLICK, beside);
    pumpEvents();
    EXPECT_FALSE(tree->IsExpanded(cello));
    // The user's folding is the document's, with no edit.
    EXPECT_TRUE(document.isCollapsed(score->part(1)));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.snapshotCount(), 1);
}

TEST_F(ProjectBrowserWindowTest, aLabelEditRenamesAndTheItemShowsTheModelsText)
{
    wxTreeItemId flute = find("Flute");
    auto endEdit = [&](const wxString& text, bool cancelled) {
        wxTreeEvent event(wxEVT_TREE_END_LABEL_EDIT, tree, flute);
        event.SetLabel(text);
        event.SetEditCanceled(cancelled);
        tree->ProcessWindowEvent(event);
        return event.IsAllowed();
    };
    EXPECT_TRUE(endEdit("Piccolo", true));
    EXPECT_EQ(tree->GetItemText(flute), "Flute");
    EXPECT_EQ(document.snapshotCount(), 1);

    EXPECT_FALSE(endEdit("Piccolo", false));
    EXPECT_EQ(tree->GetItemText(flute), "Piccolo");
    EXPECT_EQ(document.snapshotCount(), 2);
    // An empty text falls back to the part's name.
    EXPECT_FALSE(endEdit("", false));
    EXPECT_EQ(tree->GetItemText(flute), "Flute");

    // While a label is edited the pane keeps the focus.
    EXPECT_TRUE(browser->canReleaseFocus());
    wxTreeEvent begin(wxEVT_TREE_BEGIN_LABEL_EDIT, tree, flute);
    tree->ProcessWindowEvent(begin);
    EXPECT_FALSE(browser->canReleaseFocus());
    endEdit("Flute", true);
    EXPECT_TRUE(browser->canReleaseFocus());
}

TEST_F(ProjectBrowserWindowTest, deleteOnAVoiceItemEmptiesThatVoice)
{
    tree->SelectItem(find("Voice 2"));
    pumpEvents();
    EXPECT_TRUE(browser->handleKey(WXK_DELETE, false));
    EXPECT_EQ(score->staff(1)->voiceCount(), 1);
    EXPECT_EQ(document.snapshotCount(), 2);
    browser->refresh();
    EXPECT_FALSE(find("Voice 2").IsOk());
    // Not a voice: nothing deleted here.
    tree->SelectItem(find("Cello"));
    EXPECT_FALSE(browser->deleteSelectedVoice());
    EXPECT_FALSE(browser->handleKey('C', false));
}

namespace {

class ProjectBrowserShellTest : public ShellTest
{
protected:
    UiProjectBrowser* pane() { return app().mainFrame()->projectBrowserPane(); }
    wxTreeItemId child(const wxTreeItemId& parent, int index)
    {
        wxTreeCtrl* tree = pane()->treeControl();
        wxTreeItemIdValue cookie;
        wxTreeItemId item = tree->GetFirstChild(parent, cookie);
        for (int i = 0; i < index && item.IsOk(); ++i)
            item = tree->GetNextChild(parent, cookie);
        return item;
    }
};

}  // namespace

TEST_F(ProjectBrowserShellTest, thePaneFollowsEditsUndoAndTheDeleteCommand)
{
    ASSERT_TRUE(start({writeScore("Browser.qrv")}));
    pump();
    ASSERT_NE(pane(), nullptr);
    EXPECT_EQ(app().mainFrame()->paneWindow(UiMainFrame::projectBrowser), pane());
    UiQuorvaneView* view = UiQuorvaneView::activeView();
    ASSERT_NE(view, nullptr);
    QuorvaneDocument* document = view->core()->document();
    MnSheetMusic* sheet = static_cast<MnSheetMusic*>(document->works()[1]);
    MnScore* score = sheet->score();
    {
        EdCommand edit;
        score->insertStaff(-1);
        score->part(1)->setName("Bass");
        edit.markModified();
    }
    wxTreeCtrl* tree = pane()->treeControl();
    wxTreeItemId sheetItem = child(tree->GetRootItem(), 0);
    ASSERT_TRUE(sheetItem.IsOk());
    EXPECT_EQ(tree->GetItemText(sheetItem), "Sheet music");
    wxTreeItemId bass = child(sheetItem, 1);
    ASSERT_TRUE(bass.IsOk());
    EXPECT_EQ(tree->GetItemText(bass), "Bass");

    // A rename is a text refresh: the same items stay.
    ASSERT_TRUE(pane()->renameItem(bass, "Tuba"));
    EXPECT_EQ(child(sheetItem, 1), bass);
    EXPECT_EQ(tree->GetItemText(bass), "Tuba");
    // Undo replaces the elements: the tree is built again.
    ASSERT_TRUE(app().mainFrame()->runCommand(57643));
    sheetItem = child(tree->GetRootItem(), 0);
    EXPECT_EQ(tree->GetItemText(child(sheetItem, 1)), "Bass");

    // Delete on a part item deletes what choosing the item selected.
    tree->SelectItem(child(sheetItem, 1));
    pump();
    score = static_cast<MnSheetMusic*>(document->works()[1])->score();
    ASSERT_TRUE(view->core()->selection().contains(score->part(1)));
    EXPECT_TRUE(pane()->handleKey(WXK_DELETE, false));
    score = static_cast<MnSheetMusic*>(document->works()[1])->score();
    EXPECT_EQ(score->staffCount(), 1);
    // Ctrl+Z in the pane is the application's Undo.
    EXPECT_TRUE(pane()->handleKey('Z', true));
    score = static_cast<MnSheetMusic*>(document->works()[1])->score();
    EXPECT_EQ(score->staffCount(), 2);

    // A double click on an item of a sheet music frames the sheet music.
    sheetItem = child(tree->GetRootItem(), 0);
    wxRect box;
    ASSERT_TRUE(tree->GetBoundingRect(child(sheetItem, 0), box, true));
    ASSERT_TRUE(pane()->activateAt(wxPoint(box.x + box.width / 2, box.y + box.height / 2)));
    MnSheetMusic* shown = static_cast<MnSheetMusic*>(document->works()[1]);
    const UiViewCamera& camera = view->core()->view;
    EXPECT_NEAR(camera.scrollX, shown->position().x + shown->width() / 2, 1e-6);
    EXPECT_NEAR(camera.scrollY, shown->position().y - shown->height() / 2, 1e-6);
    EXPECT_TRUE(view->core()->selection().contains(shown->score()->part(0)));

    // Rename edits the caret item's label; the pane then keeps the focus.
    // The edit ends when its field loses the focus, which a window of a test
    // running alongside on the shared display can take: the frame is then
    // raised and the command tried again.
    sheetItem = child(tree->GetRootItem(), 0);
    tree->SelectItem(child(sheetItem, 1));
    pump();
    for (int attempt = 0; attempt < 3 && !tree->GetEditControl(); ++attempt) {
        app().mainFrame()->Raise();
        pump();
        EXPECT_TRUE(app().mainFrame()->runCommand(33083));
        pump();
    }
    EXPECT_NE(tree->GetEditControl(), nullptr);
    EXPECT_FALSE(pane()->canReleaseFocus());
    tree->EndEditLabel(tree->GetFocusedItem(), true);
    pump();
    EXPECT_TRUE(pane()->canReleaseFocus());
    stop();
}
