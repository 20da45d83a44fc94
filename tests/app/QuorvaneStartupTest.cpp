#include "ShellFixture.h"

#include "app/UiDocument.h"
#include "app/UiMainFrame.h"
#include "editing/EdCommand.h"
#include "tests/common/EdFakeContext.h"

#include <wx/modalhook.h>
#include <wx/stattext.h>

#include <algorithm>

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

TEST_F(ShellTest, startsAndStopsInOrder)
{
    storeUser("Settings", "ChordThreshold", "150");
    storeUser("Toggles", "VolumeMute", "1");
    WatchingPlayer watching(log);
    QuorvaneServices services;
    // The fixture's player is replaced by one that looks around as it opens.
    player.opens = true;
    ASSERT_TRUE(start());
    EXPECT_EQ(log, (EventLog{"player.open", "midi.open", "player.mute"}));
    ASSERT_NE(app().mainFrame(), nullptr);
    EXPECT_TRUE(app().mainFrame()->IsShown());
    EXPECT_EQ(app().settings.chordThreshold, 150);
    EXPECT_GT(app().strings().cachedCount(), 0);

    log.clear();
    stop();
    EXPECT_EQ(log, (EventLog{"midi.close", "player.close"}));
}
