#include "ShellFixture.h"

#include "app/UiDialog.h"
#include "app/UiDocument.h"
#include "app/UiMainFrame.h"
#include "common/EdFakeContext.h"
#include "commands/EdCommandTable.h"
#include "editing/EdCommand.h"
#include "platform/gui/UiScale.h"

#include <wx/modalhook.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace {

// The player's open sees the user's settings and the main window does not
// exist yet: the fake records both.
class WatchingPlayer : public FakePlayer
{
public:
    using FakePlayer::FakePlayer;
    bool open() override
    {
        bool settingsRead = Quorvane::instance().settings.chordThreshold == 150;
        bool noFrame = Quorvane::instance().mainFrame() == nullptr;
        log.push_back(std::string("player.open") + (settingsRead ? " after settings" : "") +
                      (noFrame ? " before frame" : ""));
        opened = true;
        return true;
    }
};

}

namespace {

using QuorvaneStartupTest = ShellTest;

// Ends every modal dialog at once with OK, keeping the text of the About
// dialog's version line.
class AnswerDialogs : public wxModalDialogHook
{
public:
    AnswerDialogs() { Register(); }
    ~AnswerDialogs() override { Unregister(); }
    int Enter(wxDialog* dialog) override
    {
        ++shown;
        if (wxStaticText* line = wxDynamicCast(dialog->FindWindow(1194), wxStaticText))
            versionLine = line->GetLabel().utf8_string();
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
    int shown = 0;
    std::string versionLine;
};

UiDocument* activeDocument(Quorvane& app)
{
    return wxDynamicCast(app.documentManager()->GetCurrentDocument(), UiDocument);
}

}

TEST_F(QuorvaneStartupTest, startsAndStopsInOrder)
{
    storeUser("Settings", "ChordThreshold", "150");
    storeUser("Toggles", "VolumeMute", "1");
    WatchingPlayer watching(log);
    playerService = &watching;
    ASSERT_TRUE(start());
    // Settings before the player, the player and the MIDI input before the
    // main window, whose creation applies the stored mute.
    EXPECT_EQ(log, (EventLog{"player.open after settings before frame", "midi.open", "player.mute"}));
    ASSERT_NE(app().mainFrame(), nullptr);
    EXPECT_TRUE(app().mainFrame()->IsShown());
    EXPECT_GT(app().strings().cachedCount(), 0);
    EXPECT_TRUE(boxes.texts.empty());

    log.clear();
    stop();
    EXPECT_EQ(log, (EventLog{"midi.close", "player.close"}));
}

TEST_F(QuorvaneStartupTest, aFailedPlayerOpenIsToldOnceAndStartGoesOn)
{
    player.opens = false;
    player.reason = "The audio device would not open: busy";
    ASSERT_TRUE(start());
    EXPECT_EQ(log, (EventLog{"player.open failed", "player.close", "midi.open"}));
    pump(10);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "The audio device would not open: busy");
    EXPECT_EQ(boxes.captions[0], "Quorvane");
    EXPECT_TRUE(app().mainFrame()->IsShown());
    ASSERT_NE(activeDocument(app()), nullptr);
}

TEST_F(QuorvaneStartupTest, noArgumentGivesOneNewDocument)
{
    ASSERT_TRUE(start());
    ASSERT_EQ(app().documentManager()->GetDocumentsVector().size(), 1u);
    UiDocument* document = activeDocument(app());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetUserReadableName().utf8_string(), "New 1");
    EXPECT_EQ(app().mainFrame()->GetTitle().utf8_string(), "New 1 - Quorvane");
    app().mainFrame()->runCommand(57600);
    pump();
    EXPECT_EQ(activeDocument(app())->GetUserReadableName().utf8_string(), "New 2");
}

TEST_F(QuorvaneStartupTest, aPathOnTheCommandLineOpensIt)
{
    std::string path = writeScore("Sonata.qrv");
    ASSERT_TRUE(start({path}));
    ASSERT_EQ(app().documentManager()->GetDocumentsVector().size(), 1u);
    EXPECT_EQ(activeDocument(app())->GetUserReadableName().utf8_string(), "Sonata.qrv");
    EXPECT_EQ(app().mainFrame()->GetTitle().utf8_string(), "Sonata.qrv - Quorvane");
    ASSERT_EQ(app().recentFiles().size(), 1u);
    EXPECT_EQ(app().recentFiles()[0].utf8_string(), path);
}

TEST_F(QuorvaneStartupTest, anUnreadablePathEndsTheStartWithAMessageNamingIt)
{
    std::string path = root + "/nowhere/missing.qrv";
    EXPECT_FALSE(start({path}));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find(path), std::string::npos) << boxes.texts[0];
    // The exit steps ran all the same.
    EXPECT_EQ(log.back(), "player.close");
}

TEST_F(QuorvaneStartupTest, aboutEndsAPendingToolAndShowsTheVersion)
{
    ASSERT_TRUE(start());
    AnswerDialogs dialogs;
    EdFakeContext context;
    context.view.pendingTool = new EdCommand;
    context.activeViewPresent = true;
    EXPECT_TRUE(app().mainFrame()->runCommand(32847));
    EXPECT_EQ(context.view.toolsDiscarded, 1);
    EXPECT_EQ(context.view.pendingTool, nullptr);
    EXPECT_EQ(dialogs.shown, 1);
    EXPECT_EQ(dialogs.versionLine, "Version 1.5.1.803");
}

TEST_F(QuorvaneStartupTest, pluggedInToolWindowsRunInsideAnEditAndAreGreyedWithout)
{
    ASSERT_TRUE(start());
    static int optionsShown = 0;
    EdCommandInputs inputs = EdCommandTable::gather();
    EXPECT_FALSE(EdCommandTable::state(32878, inputs).enabled);
    Quorvane::setOptionsDialog([](Quorvane&) { ++optionsShown; });
    EdFakeContext context;
    context.view.pendingTool = new EdCommand;
    context.activeViewPresent = true;
    EXPECT_TRUE(app().mainFrame()->runCommand(32878));
    EXPECT_EQ(optionsShown, 1);
    EXPECT_EQ(context.view.toolsDiscarded, 1);
    EXPECT_FALSE(app().mainFrame()->runCommand(32951));  // no update check plugged in
    Quorvane::setOptionsDialog(nullptr);
}

TEST_F(QuorvaneStartupTest, aScaledBitmapFillsItsControlTimesTheScale)
{
    ASSERT_TRUE(start());
    struct Case
    {
        double scale;
        wxSize expected;
    } cases[] = {{1.0, wxSize(100, 50)}, {1.5, wxSize(150, 75)}};
    for (const Case& c : cases) {
        UiScale::setForTests(c.scale);
        UiDialog dialog(app().mainFrame(), 100, "test");
        wxStaticBitmap* control = new wxStaticBitmap(&dialog, 1323, wxBitmap(), wxDefaultPosition, wxSize(100, 50));
        EXPECT_TRUE(dialog.loadScaledBitmap(1323, 231));
        EXPECT_EQ(control->GetBitmap().GetSize(), c.expected) << c.scale;
        EXPECT_FALSE(dialog.loadScaledBitmap(1323, 9999));  // no such picture: a white one
        EXPECT_FALSE(dialog.loadScaledBitmap(77, 231));     // no such control
    }
    UiScale::setForTests(0.0);
}
