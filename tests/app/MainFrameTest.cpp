#include "ShellFixture.h"

#include "app/UiAboutDialog.h"
#include "app/UiCommandStates.h"
#include "app/UiDocument.h"
#include "app/UiMainFrame.h"
#include "app/UiMenus.h"
#include "app/UiWindowsDialog.h"
#include "common/ReadOnlyFolder.h"
#include "platform/gui/UiScale.h"

#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/imagpng.h>
#include <wx/statusbr.h>

namespace {

class MainFrameTest : public ShellTest
{
protected:
    UiMainFrame& frame() { return *app().mainFrame(); }
    wxAuiPaneInfo& pane(UiMainFrame::Pane which) { return frame().layout().GetPane(frame().paneWindow(which)); }

    // The state the menus would show for a command, as the toolkit asks it.
    wxMenuItem* updatedItem(unsigned commandId)
    {
        // A new update pass: what changed since the last one shows.
        UiCommandStates::invalidate();
        wxMenuBar* bar = frame().GetMenuBar();
        for (size_t i = 0; i < bar->GetMenuCount(); ++i)
            bar->GetMenu(i)->UpdateUI(&frame());
        return bar->FindItem(UiMenus::itemId(commandId));
    }
    size_t documentCount() { return app().documentManager()->GetDocumentsVector().size(); }
    void activeDocumentModify(bool modified) { app().documentManager()->GetCurrentDocument()->Modify(modified); }
};

constexpr unsigned allPanes = (1u << (UiMainFrame::paneCount + 1)) - 1;

}

TEST_F(MainFrameTest, theFirstStartDocksThePanesAtTheirSides)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(frame().visiblePanes(), allPanes);
    EXPECT_EQ(pane(UiMainFrame::properties).dock_direction, wxAUI_DOCK_RIGHT);
    EXPECT_EQ(pane(UiMainFrame::projectBrowser).dock_direction, wxAUI_DOCK_LEFT);
    EXPECT_EQ(pane(UiMainFrame::contextPalette).dock_direction, wxAUI_DOCK_LEFT);
    // Below the project browser, in the same dock.
    EXPECT_EQ(pane(UiMainFrame::contextPalette).dock_row, pane(UiMainFrame::projectBrowser).dock_row);
    EXPECT_GT(pane(UiMainFrame::contextPalette).dock_pos, pane(UiMainFrame::projectBrowser).dock_pos);
    EXPECT_GT(frame().paneWindow(UiMainFrame::contextPalette)->GetPosition().y,
              frame().paneWindow(UiMainFrame::projectBrowser)->GetPosition().y);
    EXPECT_EQ(pane(UiMainFrame::pianoKeyboard).dock_direction, wxAUI_DOCK_TOP);
    EXPECT_EQ(pane(UiMainFrame::fretboard).dock_direction, wxAUI_DOCK_BOTTOM);
    EXPECT_EQ(pane(UiMainFrame::properties).caption.utf8_string(), "Properties");
    EXPECT_EQ(pane(UiMainFrame::fretboard).caption.utf8_string(), "Fretboard");
}

TEST_F(MainFrameTest, aSavedLayoutComesBackAndOneWithoutTheFretboardIsDiscarded)
{
    ASSERT_TRUE(start());
    pane(UiMainFrame::properties).Direction(wxAUI_DOCK_LEFT).Row(1);
    frame().layout().Update();
    stop();
    ASSERT_TRUE(readUser().hasSection("Workspace"));

    ASSERT_TRUE(start());
    EXPECT_EQ(pane(UiMainFrame::properties).dock_direction, wxAUI_DOCK_LEFT);
    stop();

    PlConfigFile file = readUser();
    file.removeValue("Workspace", UiMainFrame::paneKey(UiMainFrame::fretboard));
    ASSERT_TRUE(file.save(userFile()));
    ASSERT_TRUE(start());
    EXPECT_EQ(pane(UiMainFrame::properties).dock_direction, wxAUI_DOCK_RIGHT);
    EXPECT_FALSE(readUser().hasSection("Workspace"));
}

TEST_F(MainFrameTest, showAllHideAllAndResetLayout)
{
    ASSERT_TRUE(start());
    EXPECT_FALSE(updatedItem(UiMainFrame::showAllId)->IsEnabled());
    frame().runCommand(UiMainFrame::hideAllId);
    EXPECT_EQ(frame().visiblePanes(), 0u);
    EXPECT_FALSE(frame().GetStatusBar()->IsShown());
    EXPECT_TRUE(updatedItem(UiMainFrame::showAllId)->IsEnabled());
    EXPECT_FALSE(updatedItem(UiMainFrame::hideAllId)->IsEnabled());
    EXPECT_FALSE(updatedItem(32806)->IsChecked());

    frame().runCommand(32806);  // View/Properties
    EXPECT_EQ(frame().visiblePanes(), 1u);
    EXPECT_TRUE(updatedItem(32806)->IsChecked());
    frame().runCommand(UiMainFrame::showAllId);
    EXPECT_EQ(frame().visiblePanes(), allPanes);

    UiScale::setForTests(2.0);
    frame().SetSize(1600, 1200);
    frame().runCommand(UiMainFrame::hideAllId);
    frame().runCommand(UiMainFrame::resetLayoutId);
    pump();
    EXPECT_EQ(frame().visiblePanes(), allPanes);
    EXPECT_GE(frame().paneWindow(UiMainFrame::properties)->GetSize().x, 400);
    EXPECT_GE(frame().paneWindow(UiMainFrame::projectBrowser)->GetSize().x, 400);
    EXPECT_GE(frame().paneWindow(UiMainFrame::pianoKeyboard)->GetSize().y, 200);
    EXPECT_GE(frame().paneWindow(UiMainFrame::fretboard)->GetSize().y, 200);
    EXPECT_EQ(pane(UiMainFrame::properties).dock_direction, wxAUI_DOCK_RIGHT);
    UiScale::setForTests(0.0);
}

TEST_F(MainFrameTest, menusSwapWithTheActiveDocumentWindow)
{
    ASSERT_TRUE(start());
    wxMenuBar* documentMenu = frame().GetMenuBar();
    EXPECT_EQ(documentMenu->GetMenuCount(), 10u);
    wxMenuItem* newItem = documentMenu->FindItem(UiMenus::itemId(57600));
    ASSERT_NE(newItem, nullptr);
    EXPECT_EQ(newItem->GetItemLabel().utf8_string(), "&New\tCtrl+N");
    EXPECT_FALSE(updatedItem(57603)->IsEnabled());  // Save: nothing changed
    activeDocumentModify(true);
    EXPECT_TRUE(updatedItem(57603)->IsEnabled());
    activeDocumentModify(false);
    // Record stays greyed: no row yet, as every editing command until it has one.
    EXPECT_FALSE(updatedItem(33025)->IsEnabled());

    frame().runCommand(57602);  // File/Close
    pump();
    EXPECT_EQ(documentCount(), 0u);
    EXPECT_EQ(frame().GetMenuBar()->GetMenuCount(), 5u);
    EXPECT_EQ(frame().GetTitle().utf8_string(), "Quorvane");
}

TEST_F(MainFrameTest, recentFilesSurviveARestart)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 5; ++i)
        paths.push_back(writeScore("Piece" + std::to_string(i) + ".qrv"));
    ASSERT_TRUE(start());
    for (const std::string& path : paths) {
        wxArrayString one;
        one.Add(wxString::FromUTF8(path));
        app().openFiles(one);
    }
    stop();

    ASSERT_TRUE(start());
    ASSERT_EQ(app().recentFiles().size(), 4u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(app().recentFiles()[i].utf8_string(), paths[4 - i]);
    wxMenuItem* first = frame().GetMenuBar()->FindItem(UiMenus::itemId(UiMenus::firstRecentFile));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetItemLabel().utf8_string(), "&1 " + paths[4]);
    // Opening a recent file from the menu.
    frame().runCommand(UiMenus::firstRecentFile + 3);
    EXPECT_EQ(documentCount(), 2u);
}

TEST_F(MainFrameTest, aDroppedScoreOpens)
{
    std::string path = writeScore("Dropped.qrv");
    ASSERT_TRUE(start());
    // The event owns the list of files.
    wxString* files = new wxString[1]{wxString::FromUTF8(path)};
    wxDropFilesEvent drop(wxEVT_DROP_FILES, 1, files);
    frame().GetEventHandler()->ProcessEvent(drop);
    pump();
    ASSERT_EQ(documentCount(), 2u);
    EXPECT_EQ(app().documentManager()->GetCurrentDocument()->GetUserReadableName().utf8_string(), "Dropped.qrv");
}

TEST_F(MainFrameTest, helpCommandsHandTheLauncherTheirAddresses)
{
    storeUser("Settings", "Language", "1");
    ASSERT_TRUE(start());
    frame().runCommand(32955);
    frame().runCommand(32950);
    for (int language : {0, 1, 2, 3}) {
        app().settings.language = language;
        UiAboutDialog dialog(&frame(), app());
        dialog.openHomePage();
    }
    EXPECT_EQ(launcher.opened,
              (std::vector<std::string>{"https://quorvane.invalid/manual", "mailto:support@quorvane.invalid",
                                        "https://quorvane.invalid", "https://quorvane.invalid/fr",
                                        "https://quorvane.invalid/es", "https://quorvane.invalid/ca"}));
}

TEST_F(MainFrameTest, theWindowsDialogListsTheOpenDocuments)
{
    ASSERT_TRUE(start());
    frame().runCommand(57600);
    pump();
    UiWindowsDialog dialog(&frame(), app());
    ASSERT_EQ(dialog.list()->GetCount(), 2u);
    EXPECT_EQ(dialog.list()->GetString(0).utf8_string(), "New 1");
    dialog.list()->SetSelection(0);
    dialog.closeSelected();
    pump();
    EXPECT_EQ(documentCount(), 1u);
    EXPECT_EQ(dialog.list()->GetCount(), 1u);
}

TEST_F(MainFrameTest, closingAModifiedDocumentAsksFirst)
{
    ASSERT_TRUE(start());
    activeDocumentModify(true);
    pump();
    EXPECT_EQ(frame().GetTitle().utf8_string(), "New 1* - Quorvane");
    boxes.answer = UiMessageBoxes::cancel;
    frame().runCommand(57602);
    pump();
    EXPECT_EQ(documentCount(), 1u);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Save changes to New 1?");
    EXPECT_EQ(app().documentManager()->GetCurrentDocument()->GetUserReadableName().utf8_string(), "New 1*");

    boxes.answer = UiMessageBoxes::no;
    frame().runCommand(57602);
    pump();
    EXPECT_EQ(documentCount(), 0u);
}

TEST_F(MainFrameTest, aFailedSaveSaysSoAndKeepsTheDocumentModified)
{
    ASSERT_TRUE(start());
    wxDocument* document = app().documentManager()->GetCurrentDocument();
    document->Modify(true);
    std::string folder = root + "/locked";
    std::filesystem::create_directories(folder);
    ReadOnlyFolder locked(folder);
    if (!locked.works())
        GTEST_SKIP() << "this file system lets the folder be written";
    EXPECT_FALSE(document->OnSaveDocument(wxString::FromUTF8(folder + "/Song.qrv")));
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(document->GetUserReadableName().utf8_string(), "New 1*");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Unable to save the file " + folder + "/Song.qrv.");
}

TEST_F(MainFrameTest, keysGoToTheMainFrameWhileNoDocumentWindowIsActive)
{
    ASSERT_TRUE(start());
    int received = 0;
    frame().Bind(wxEVT_KEY_DOWN, [&received](wxKeyEvent& event) {
        ++received;
        event.Skip();
    });
    auto press = [](wxWindow* window) {
        wxKeyEvent key(wxEVT_KEY_DOWN);
        key.SetEventObject(window);
        key.m_keyCode = 'A';
        window->GetEventHandler()->ProcessEvent(key);
    };
    wxWindow* browser = frame().paneWindow(UiMainFrame::projectBrowser);
    press(browser);
    EXPECT_EQ(received, 0);  // the document window takes its own keys

    frame().runCommand(57602);
    pump();
    press(browser);
    EXPECT_EQ(received, 1);
    // The instrument panes pass their keys on themselves: once, not twice.
    press(frame().paneWindow(UiMainFrame::pianoKeyboard));
    EXPECT_EQ(received, 2);
    press(frame().paneWindow(UiMainFrame::fretboard));
    EXPECT_EQ(received, 3);
}

TEST_F(MainFrameTest, aPictureOfTheWindowForAPersonToLookAt)
{
    std::string path = writeScore("Sonata.qrv");
    ASSERT_TRUE(start({path}));
    frame().SetSize(1000, 700);
    pump(10);
    wxScreenDC screen;
    wxRect area = frame().GetScreenRect();
    wxBitmap picture(area.width, area.height);
    {
        wxMemoryDC memory(picture);
        memory.Blit(0, 0, area.width, area.height, &screen, area.x, area.y);
    }
    std::filesystem::create_directories(QRV_TEST_OUTPUT_DIR);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    EXPECT_TRUE(picture.SaveFile(QRV_TEST_OUTPUT_DIR "/main-frame.png", wxBITMAP_TYPE_PNG));
}
