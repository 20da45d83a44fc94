#include "app/UiIdleWork.h"

#include "common/EdFakeContext.h"
#include "editing/EdCommand.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnCache.h"
#include "model/MnCodes.h"
#include "model/MnMeasure.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnStaff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FakeHost : public UiIdleWork::Host
{
public:
    bool mainWindowExists() override { return window; }
    bool playerIsPlaying() override { return playing; }
    bool playerIsPaused() override { return paused; }
    void refreshPanels() override { log.push_back("panels"); }
    void autoSavePass() override { log.push_back("autosave"); }
    void hotPlug() override { log.push_back("hotplug"); }
    void updatePickUp() override { log.push_back("update"); }

    bool window = true;
    bool playing = false;
    bool paused = false;
    std::vector<std::string> log;
};

// Records the look-ahead that tracking asks the player for.
class TrackingContext : public EdFakeContext
{
public:
    bool playerPosition(int lookAheadMilliseconds, EdNotePath& position) override
    {
        lookAheads.push_back(lookAheadMilliseconds);
        return EdFakeContext::playerPosition(lookAheadMilliseconds, position);
    }
    std::vector<int> lookAheads;
};

// A document with a sheet music of four measures, each on a page of its own.
class IdleWorkTest : public ::testing::Test
{
protected:
    IdleWorkTest()
    {
        document.OnNewDocument();
        sheet = new MnSheetMusic;
        document.addWork(sheet);
        MnStaff* staff = sheet->score()->staff(0);
        while (staff->measureCount() < 4)
            sheet->score()->insertMeasure(-1);
        for (int i = 0; i < 4; ++i)
            staff->measure(i)->setSystemBreak(MnSystemBreakPage);
        context.activate(&document);
        context.clock = 100000;
    }

    MnMeasure* measure(int index) { return sheet->score()->staff(0)->measure(index); }
    EdNotePath pathOf(int index) { return EdNotePath(measure(index), document.works()); }
    void play(int measureIndex)
    {
        host.playing = true;
        context.playing = true;
        context.playedDocument = &document;
        context.playerReports = pathOf(measureIndex);
    }
    void stopPlaying()
    {
        host.playing = false;
        context.playing = false;
    }
    bool idle() { return work.run(false, tracking); }

    TrackingContext context;
    QuorvaneDocument document;
    MnSheetMusic* sheet = nullptr;
    FakeHost host;
    UiIdleWork work{host};
    bool tracking = true;
};

}

TEST_F(IdleWorkTest, trackingFollowsPlaybackAndEndsWithOneRedraw)
{
    EXPECT_FALSE(idle());
    EXPECT_EQ(host.log, (std::vector<std::string>{"autosave", "hotplug", "update"}));
    EXPECT_FALSE(work.trackingActive);

    play(1);
    host.log.clear();
    EXPECT_TRUE(idle());
    EXPECT_TRUE(work.trackingActive);
    EXPECT_EQ(work.trackedDocument, &document);
    EXPECT_EQ(context.view.lastGoTo, measure(1));
    EXPECT_EQ(context.view.lastGoToEdit, nullptr);  // no transaction
    // The MIDI poll and the update answer wait while playback is tracked.
    EXPECT_EQ(host.log, (std::vector<std::string>{"autosave", "panels"}));

    // The same position: a redraw, paced to one per 15 ms.
    int redraws = context.view.redraws;
    EXPECT_TRUE(idle());
    EXPECT_EQ(context.view.redraws, redraws);
    context.clock += 15;
    EXPECT_TRUE(idle());
    EXPECT_EQ(context.view.redraws, redraws + 1);
    EXPECT_TRUE(idle());
    EXPECT_EQ(context.view.redraws, redraws + 1);
    context.clock += 15;
    EXPECT_TRUE(idle());
    EXPECT_EQ(context.view.redraws, redraws + 2);

    // Paused counts as stopped: one final redraw, then the usual idle work.
    for (bool pausing : {true, false}) {
        SCOPED_TRACE(pausing);
        play(1);
        idle();
        if (pausing)
            host.paused = true;
        else
            stopPlaying();
        redraws = context.view.redraws;
        EXPECT_TRUE(idle());
        EXPECT_EQ(context.view.redraws, redraws + 1);
        EXPECT_FALSE(work.trackingActive);
        EXPECT_TRUE(work.lastPlayingPosition.isUnset());
        host.log.clear();
        EXPECT_FALSE(idle());
        EXPECT_EQ(context.view.redraws, redraws + 1);
        EXPECT_EQ(host.log, (std::vector<std::string>{"autosave", "hotplug", "update"}));
        host.paused = false;
    }
}

TEST_F(IdleWorkTest, theViewMovesOnlyWhenTrackingIsOnAndTheUserLeftItAlone)
{
    struct Case
    {
        const char* name;
        bool tracking;
        unsigned long long activityAgo;  // 0: never
        bool moves;
    };
    const Case cases[] = {
        {"on, untouched", true, 0, true},
        {"on, touched 6 s ago", true, 6000, true},
        {"on, touched 4 s ago", true, 4000, false},
        {"off", false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        work.lastPlayingPosition = EdNotePath();
        tracking = c.tracking;
        context.view.activityTick = c.activityAgo ? context.clock - c.activityAgo : 0;
        context.view.goTos = 0;
        context.clock += 100;
        int redraws = context.view.redraws;
        play(2);
        EXPECT_TRUE(idle());
        EXPECT_EQ(context.view.goTos, c.moves ? 1 : 0);
        // Without a move the playing notes are still redrawn.
        EXPECT_EQ(context.view.redraws, redraws + (c.moves ? 0 : 1));
        if (c.moves) {
            EXPECT_EQ(context.view.activityTick, 0u);
        }
        stopPlaying();
        idle();
    }
}

TEST_F(IdleWorkTest, aRightHandPageBeforeATurnLooksFurtherAhead)
{
    sheet->setPresentation(1);
    struct Case
    {
        const char* name;
        bool firstPageRight;
        int currentPage;
        int measure;
        int lookAhead;
    };
    const Case cases[] = {
        {"left-hand page", false, 0, 0, 250},
        {"right-hand page, next on a later one", false, 0, 1, 1000},
        {"first page on the right", true, 0, 0, 1000},
        {"last measure", false, 2, 3, 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sheet->setFirstPageRight(c.firstPageRight);
        sheet->setCurrentPage(c.currentPage);
        // Tracking decides from the position it showed last.
        work.lastPlayingPosition = pathOf(c.measure);
        work.trackingActive = true;
        play(c.measure);
        context.lookAheads.clear();
        idle();
        ASSERT_EQ(context.lookAheads.size(), 1u);
        EXPECT_EQ(context.lookAheads[0], c.lookAhead);
    }
    // Spread out, never.
    sheet->setPresentation(0);
    sheet->setCurrentPage(0);
    work.lastPlayingPosition = pathOf(1);
    context.lookAheads.clear();
    idle();
    EXPECT_EQ(context.lookAheads, std::vector<int>{250});
}

TEST_F(IdleWorkTest, turningPagesLeavesUndoModifiedFlagAndToolAlone)
{
    document.SetModifiedFlag(false);
    int undo = document.undoIndex();
    int snapshots = document.snapshotCount();
    context.view.pendingTool = new EdCommand;
    play(3);
    EXPECT_TRUE(idle());
    EXPECT_EQ(context.view.lastGoTo, measure(3));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.undoIndex(), undo);
    EXPECT_EQ(document.snapshotCount(), snapshots);
    EXPECT_NE(context.view.pendingTool, nullptr);
    EXPECT_EQ(context.view.toolsDiscarded, 0);
    context.view.discardPendingTool();
}

TEST_F(IdleWorkTest, anotherDocumentWindowIsNeitherMovedNorRedrawn)
{
    QuorvaneDocument other;
    other.OnNewDocument();
    play(1);
    context.activate(&other);
    host.log.clear();
    EXPECT_TRUE(idle());
    EXPECT_TRUE(work.trackingActive);
    EXPECT_EQ(context.view.goTos, 0);
    EXPECT_EQ(context.view.redraws, 0);
    EXPECT_EQ(host.log, (std::vector<std::string>{"autosave", "panels"}));
}
