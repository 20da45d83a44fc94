#include "app/ShellFixture.h"

#include "app/UiMainFrame.h"
#include "app/UiQuorvaneView.h"
#include "app/UiQuorvaneViewCore.h"
#include "app/UiWxControlHost.h"
#include "editing/EdSelection.h"
#include "editing/EdTestScores.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCredit.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"
#include "panels/UiProperties.h"
#include "panels/UiPropertiesPage.h"
#include "panels/UiTab.h"
#include "platform/gui/UiScale.h"

#include <wx/statbmp.h>
#include <wx/textctrl.h>

namespace {

class PropertiesPaneShellTest : public ShellTest
{
protected:
    UiProperties* pane()
    {
        return wxDynamicCast(app().mainFrame()->paneWindow(UiMainFrame::properties), UiProperties);
    }
};

}

TEST_F(PropertiesPaneShellTest, thePaneFollowsTheViewAndItsPagesEditTheDocument)
{
    std::string path = writeScore("Pane.qrv");
    ASSERT_TRUE(start({path}));
    pump();
    ASSERT_NE(pane(), nullptr);
    wxAuiPaneInfo& info = app().mainFrame()->layout().GetPane(pane());
    EXPECT_EQ(info.min_size, wxSize(UiScale::pixels(350), UiScale::pixels(350)));
    UiQuorvaneView* view = UiQuorvaneView::activeView();
    ASSERT_NE(view, nullptr);
    QuorvaneDocument* document = view->core()->document();
    ASSERT_NE(document, nullptr);
    MnSheetMusic* sheet = nullptr;
    for (int i = 0; i < document->works().count(); ++i)
        if (document->works()[i]->isKindOf(MnSheetMusic::staticClass()))
            sheet = static_cast<MnSheetMusic*>(document->works()[i]);
    ASSERT_NE(sheet, nullptr);
    MnCredit* titleCredit = sheet->addCredit(0);
    ASSERT_NE(titleCredit, nullptr);
    titleCredit->setType(MnCreditTitle);

    // A note clicked: its page, with its pictures at the display's scale.
    MnNote* note = putNote(sheet->score()->staff(0)->measure(0), 0, 0, 60480, 2, 4);
    ASSERT_NE(note, nullptr);
    EdSelection& selection = view->core()->selection();
    selection.clear();
    selection.add(note);
    pane()->selectionChanged();
    UiTab& tabs = pane()->tabs();
    ASSERT_EQ(tabs.tabCount(), 1);
    EXPECT_EQ(tabs.tabTitle(0).utf8_string(), "Note");
    UiPropertiesPage* notePage = tabs.tabPage(0);
    auto* sharp = wxDynamicCast(notePage->controls()->window(1067), wxStaticBitmap);
    ASSERT_NE(sharp, nullptr);
    EXPECT_EQ(sharp->GetBitmap().GetWidth(), int(sharp->GetSize().x * UiScale::s()));

    // Nothing selected: the work, whose title the title credits follow.
    selection.clear();
    pane()->selectionChanged();
    ASSERT_EQ(tabs.tabCount(), 1);
    EXPECT_EQ(tabs.tabTitle(0).utf8_string(), "Project");
    auto* title = wxDynamicCast(tabs.tabPage(0)->controls()->window(1171), wxTextCtrl);
    ASSERT_NE(title, nullptr);
    title->SetValue("Fugue");
    pump();
    MnWork* work = static_cast<MnWork*>(document->works()[0]);
    EXPECT_EQ(work->title, BcString("Fugue"));
    EXPECT_EQ(titleCredit->text(), BcString("Fugue"));
    stop();
}

TEST_F(PropertiesPaneShellTest, panesDockedWithThePropertiesPaneKeepTheirDockAtLeast320Square)
{
    ASSERT_TRUE(start({}));
    pump();
    UiMainFrame* frame = app().mainFrame();
    wxAuiManager& layout = frame->layout();
    wxWindow* browser = frame->paneWindow(UiMainFrame::projectBrowser);
    ASSERT_NE(pane(), nullptr);
    ASSERT_NE(browser, nullptr);
    // The browser docked below the properties pane, in its dock.
    wxAuiPaneInfo& properties = layout.GetPane(pane());
    layout.GetPane(browser).Show().Dock().Direction(properties.dock_direction).Layer(properties.dock_layer)
        .Row(properties.dock_row).Position(properties.dock_pos + 1).BestSize(100, 100);
    layout.Update();
    pump();
    ASSERT_TRUE(browser->IsShown());
    wxRect dock = pane()->GetScreenRect().Union(browser->GetScreenRect());
    EXPECT_GE(dock.width, 320);
    EXPECT_GE(dock.height, 320);
    EXPECT_GE(pane()->GetSize().x, UiScale::pixels(350));
    stop();
}
